// MainWindow, the main window: layout, menus, tool bar, the screen-mode machine, the painted
// centre (level lists and result pages), paging, mouse handling, start-up and shutdown.
#include "shell/MainWindow.h"

#include "editing/RecordCommands.h"
#include "editing/SlideEntryCommands.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Launcher.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "shell/ClientArea.h"
#include "store/FileUtil.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

namespace lumo {

namespace geo {
int RowFromY(int y) {
    int row = 1;
    if (y > FirstRowY)
        row = static_cast<int>(std::lround((y - 46) / 17.0));
    return std::clamp(row, 1, 17);
}
} // namespace geo

namespace {

const QColor kLime(0, 255, 0);
const QColor kAqua(0, 255, 255);
const QColor kFuchsia(255, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::string Pad6(std::string s) {
    if (s.size() < 6)
        s.append(6 - s.size(), ' ');
    return s;
}

// "007" -> "7"; text that is not a number is kept as it is (trimmed).
std::string NumberText(std::string_view field) {
    size_t b = field.find_first_not_of(' ');
    size_t e = field.find_last_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    field = field.substr(b, e - b + 1);
    long value = 0;
    auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || ptr != field.data() + field.size())
        return std::string(field);
    return std::to_string(value);
}

int32_t ToInt(const std::string& s) {
    int32_t v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// The grey of the tool bar and the bottom panel, with black text; set role by role so
// the panels do not take the black and lime of the list area.
QPalette PanelPalette() {
    QPalette pal = QApplication::palette();
    const QColor face(212, 208, 200);
    pal.setColor(QPalette::Window, face);
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::Button, face);
    pal.setColor(QPalette::ButtonText, Qt::black);
    return pal;
}

// A key cursor label: reports presses to the main window.
class LevelCursorLabel : public QLabel {
public:
    LevelCursorLabel(QWidget* parent, std::function<void(Qt::MouseButton, QPoint)> onPress)
        : QLabel(parent), onPress_(std::move(onPress)) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        onPress_(e->button(), mapToParent(e->position().toPoint()));
    }

private:
    std::function<void(Qt::MouseButton, QPoint)> onPress_;
};

// The tool-button glyphs, drawn here so the program needs no image files for them.
QIcon MakeIcon(int n) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    auto slide = [&p](int x, int y) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(x, y, 12, 12);
        p.setBrush(QColor(70, 130, 210));
        p.drawRect(x + 3, y + 3, 6, 6);
    };
    auto magnifier = [&p](int x, int y) {
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(x, y, 8, 8);
        p.drawLine(x + 7, y + 7, x + 11, y + 11);
    };
    QFont f(QStringLiteral("Liberation Sans"));
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    switch (n) {
    case 1: // new slide
        slide(1, 1);
        p.setPen(QPen(QColor(0, 150, 0), 3));
        p.drawLine(15, 10, 15, 19);
        p.drawLine(11, 15, 19, 15);
        break;
    case 2: // edit a slide
        slide(1, 1);
        p.setPen(QPen(QColor(200, 120, 0), 3));
        p.drawLine(9, 18, 18, 9);
        break;
    case 3: // delete slides
        slide(1, 1);
        p.setPen(QPen(Qt::red, 3));
        p.drawLine(10, 10, 18, 18);
        p.drawLine(18, 10, 10, 18);
        break;
    case 4: // new keyword
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 12, 14), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(QPen(QColor(0, 150, 0), 3));
        p.drawLine(15, 10, 15, 19);
        p.drawLine(11, 15, 19, 15);
        break;
    case 5: // search by keys
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 12, 12), Qt::AlignCenter, QStringLiteral("A"));
        magnifier(8, 7);
        break;
    case 6: // search by info text
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 12, 12), Qt::AlignCenter, QStringLiteral("T"));
        magnifier(8, 7);
        break;
    case 7: // search by box number
        p.setPen(QPen(QColor(120, 70, 20), 1));
        p.setBrush(QColor(210, 160, 90));
        p.drawRect(1, 2, 11, 9);
        magnifier(8, 7);
        break;
    case 8: // search by memo
        p.setPen(Qt::black);
        p.setBrush(QColor(255, 255, 190));
        p.drawRect(1, 1, 10, 13);
        p.drawLine(3, 5, 9, 5);
        p.drawLine(3, 8, 9, 8);
        magnifier(8, 7);
        break;
    case 9: // backup: a disk
        p.setPen(Qt::black);
        p.setBrush(QColor(60, 60, 160));
        p.drawRect(2, 2, 16, 16);
        p.setBrush(Qt::white);
        p.drawRect(5, 3, 10, 6);
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(6, 12, 8, 5);
        break;
    case 10: { // settings: sliders
        p.setPen(QPen(Qt::black, 2));
        for (int i = 0; i < 3; ++i)
            p.drawLine(3, 4 + 6 * i, 17, 4 + 6 * i);
        p.setBrush(QColor(220, 60, 60));
        p.setPen(Qt::black);
        p.drawRect(5, 2, 4, 5);
        p.drawRect(11, 8, 4, 5);
        p.drawRect(7, 14, 4, 5);
        break;
    }
    case 11: // printer
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(5, 1, 10, 7);
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(1, 7, 18, 8);
        p.setBrush(Qt::white);
        p.drawRect(5, 12, 10, 7);
        break;
    case 13: // help
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        p.drawEllipse(1, 1, 18, 18);
        p.setPen(Qt::white);
        f.setPixelSize(14);
        p.setFont(f);
        p.drawText(QRect(1, 1, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pm);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Construction and layout

MainWindow::MainWindow(AppState& state, MessageCatalog& messages, SoundCue& sound,
                       Launcher& launcher, HelpViewer& help, QWidget* parent)
    : QMainWindow(parent), state_(state), messages_(messages), sound_(sound), launcher_(launcher),
      help_(help) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    listFont_ = QFont(QStringLiteral("Liberation Sans"));
    listFont_.setPixelSize(13);
    listFont_.setBold(true);
    canvas_ = QPixmap(geo::ClientWidth, geo::ClientHeight);
    canvas_.fill(Qt::black);
    buildUi();
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowTitle(ProgramTitle() + Q(" - letzte Änderung am ") + ReleaseDate());
}

MainWindow::~MainWindow() {
    if (busyCursor_)
        QApplication::restoreOverrideCursor();
}

void MainWindow::buildUi() {
    client_ = new ClientArea(*this, this);
    client_->setFont(listFont_);
    QPalette pal = client_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, kLime);
    client_->setPalette(pal);
    setCentralWidget(client_);

    // The background picture with the three title labels.
    backgroundPicture_ = new QLabel(client_);
    backgroundPicture_->setObjectName(QStringLiteral("backgroundPicture"));
    backgroundPicture_->setGeometry(0, geo::ToolBarHeight, geo::ClientWidth,
                                    geo::BottomPanelY - geo::ToolBarHeight);
    backgroundPicture_->setScaledContents(true);
    backgroundPicture_->setAutoFillBackground(true);

    QFont f1(QStringLiteral("Liberation Serif"));
    f1.setPixelSize(64);
    f1.setBold(true);
    f1.setItalic(true);
    auto* label1 = new QLabel(QStringLiteral("Lumoretta"), client_);
    label1->setObjectName(QStringLiteral("titleLabel"));
    label1->setFont(f1);
    label1->setGeometry(0, 70, geo::ClientWidth, 80);
    label1->setAlignment(Qt::AlignCenter);
    QFont f2(QStringLiteral("Liberation Serif"));
    f2.setPixelSize(48);
    f2.setBold(true);
    auto* label2 = new QLabel(QStringLiteral("Version 3.0"), client_);
    label2->setObjectName(QStringLiteral("versionLabel"));
    label2->setFont(f2);
    label2->setGeometry(0, 160, geo::ClientWidth, 60);
    label2->setAlignment(Qt::AlignCenter);
    setLabelColours(label2, QColor(), kRed);
    auto* label3 = new QLabel(QStringLiteral("Dia-Archivverwaltung"), client_);
    label3->setObjectName(QStringLiteral("subtitleLabel"));
    label3->setGeometry(0, 250, geo::ClientWidth, 24);
    label3->setAlignment(Qt::AlignCenter);
    QFont f3 = listFont_;
    f3.setPixelSize(18);
    label3->setFont(f3);
    setLabelColours(label3, QColor(), Qt::white);
    titleLabels_ = {label1, label2, label3};

    for (int l = 0; l < 3; ++l) {
        auto* h = new QLabel(QStringLiteral("Stichwortebene <%1>").arg(l + 1), client_);
        h->setObjectName(QStringLiteral("levelHeading%1").arg(l + 1));
        h->move(geo::LevelX[l], geo::HeadingY);
        h->adjustSize();
        h->hide();
        setLabelColours(h, QColor(), Qt::white);
        levelHeadings_[l] = h;

        const int level = l + 1;
        auto* k = new LevelCursorLabel(client_, [this, level](Qt::MouseButton b, QPoint pos) {
            onLevelCursorPress(level, b, pos);
        });
        static const char* names[] = {"levelCursor1", "levelCursor2", "levelCursor3"};
        k->setObjectName(QString::fromUtf8(names[l]));
        k->setAutoFillBackground(true);
        k->hide();
        levelCursors_[l] = k;
    }

    scrollBar_ = new QScrollBar(Qt::Vertical, client_);
    scrollBar_->setObjectName(QStringLiteral("resultScrollBar"));
    scrollBar_->setGeometry(624, 32, 16, 321);
    scrollBar_->setSingleStep(17);
    scrollBar_->setPageStep(17);
    scrollBar_->setRange(0, 0);
    scrollBar_->hide();
    connect(scrollBar_, &QAbstractSlider::actionTriggered, this, [this](int action) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
        case QAbstractSlider::SliderSingleStepSub:
        case QAbstractSlider::SliderPageStepAdd:
        case QAbstractSlider::SliderPageStepSub:
            // The handler places the thumb itself; keep Qt from moving it.
            scrollBar_->setSliderPosition(scrollBar_->value());
            onResultScroll(action, scrollBar_->value());
            break;
        case QAbstractSlider::SliderToMinimum:
        case QAbstractSlider::SliderToMaximum:
            scrollBar_->setSliderPosition(scrollBar_->value());
            break;
        case QAbstractSlider::SliderMove:
            // Dragging moves the thumb; the wheel does not page, so it leaves it where it is.
            if (!scrollBar_->isSliderDown())
                scrollBar_->setSliderPosition(scrollBar_->value());
            break;
        default:
            break;
        }
    });
    connect(scrollBar_, &QAbstractSlider::sliderReleased, this,
            [this] { onResultScroll(ScrollThumbReleased, scrollBar_->sliderPosition()); });

    buildToolBar();

    // The bottom panel: status line, soft buttons, status bar.
    auto* bottomPanel = new QFrame(client_);
    bottomPanel->setObjectName(QStringLiteral("bottomPanel"));
    bottomPanel->setGeometry(0, geo::BottomPanelY, geo::ClientWidth, 87);
    bottomPanel->setPalette(PanelPalette());
    bottomPanel->setAutoFillBackground(true);
    statusLine_ = new QLabel(Q("Lade Dateien ..."), bottomPanel);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusLine_->setGeometry(0, 1, 640, 27);
    statusLine_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusLine_->setAlignment(Qt::AlignVCenter | Qt::AlignHCenter);
    statusLine_->setFont(listFont_);
    setLabelColours(statusLine_, QColor(), kBlue);

    QFont buttonFont = QApplication::font();
    buttonFont.setBold(true);
    static const int buttonX[] = {23, 143, 263, 383, 503};
    static const char* captions0[] = {"BEARBEITEN", "AUSWERTUNG", "DIENSTE", "HILFE", "FEIERABEND"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions0[i]), bottomPanel);
        b->setObjectName(QStringLiteral("softButton%1").arg(i + 1));
        b->setGeometry(buttonX[i], 33, 110, 30);
        b->setFont(buttonFont);
        b->setFocusPolicy(Qt::TabFocus);
        // Blue captions while usable; the disabled ones (caption set 9) stay grey.
        QPalette bp = b->palette();
        bp.setColor(QPalette::Active, QPalette::ButtonText, kBlue);
        bp.setColor(QPalette::Inactive, QPalette::ButtonText, kBlue);
        bp.setColor(QPalette::Disabled, QPalette::ButtonText, Qt::gray);
        b->setPalette(bp);
        softButtons_[i] = b;
    }
    connect(softButtons_[0], &QPushButton::clicked, this, [this] { onSoftButton1(); });
    connect(softButtons_[1], &QPushButton::clicked, this, [this] { onSoftButton2(); });
    connect(softButtons_[2], &QPushButton::clicked, this, [this] { onSoftButton3(); });
    connect(softButtons_[3], &QPushButton::clicked, this, [this] { onSoftButton4(); });
    connect(softButtons_[4], &QPushButton::clicked, this, [this] { onSoftButton5(); });

    auto* statusBar = new QFrame(bottomPanel);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    statusBar->setGeometry(0, 67, geo::ClientWidth, 20);
    statusBar->setFrameStyle(QFrame::NoFrame);
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(statusBar);
        l->setGeometry(80 * i + 1, 1, 79, 18);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        statusPanels_[i] = l;
    }
    statusBar_ = statusBar;
}

void MainWindow::buildToolBar() {
    auto* toolBar = new QFrame(client_);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setGeometry(0, 0, geo::ClientWidth, geo::ToolBarHeight);
    toolBar->setPalette(PanelPalette());
    toolBar->setAutoFillBackground(true);
    toolBar->setFrameStyle(QFrame::Panel | QFrame::Raised);

    static const char* hints[] = {"Neues Dia erfassen",
                                  "Dias editieren",
                                  "Dias löschen",
                                  "Neue Schlüssel eingeben",
                                  "Dias über Schlüssel suchen",
                                  "Dias über Informationstext suchen",
                                  "Dias über Kastennummer suchen",
                                  "Dias über Memo suchen",
                                  "Backup erstellen",
                                  "Systemeinstellungen ändern",
                                  "Druckereinrichtung",
                                  "",
                                  "Hilfe anzeigen"};
    // Groups: slides | searches | services | help, with a gap between groups.
    static const int xs[] = {4, 30, 56, 82, 116, 142, 168, 194, 228, 254, 280, 0, 314};
    const std::array<std::function<void()>, 13> handlers{
        [this] { onNewSlides(); },       [this] { onEditSlides(); },
        [this] { onDeleteSlides(); },    [this] { onNewKeywords(); },
        [this] { onKeySearch(); },       [this] { onInfoTextSearch(); },
        [this] { onBoxNumberSearch(); }, [this] { onMemoSearch(); },
        [this] { onBackup(); },          [this] { onPreferences(); },
        [this] { onPrinterSetup(); },    [] {},
        [this] { onHelpIntroduction(); }};
    for (int i = 0; i < 13; ++i) {
        auto* b = new QToolButton(toolBar);
        b->setObjectName(QStringLiteral("toolButton%1").arg(i + 1));
        b->setGeometry(xs[i], 3, 25, 25);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        toolButtons_[i] = b;
        if (i == 11) { // there is no twelfth tool button
            b->hide();
            continue;
        }
        b->setToolTip(QString::fromUtf8(hints[i]));
        b->setIcon(MakeIcon(i + 1));
        b->setIconSize(QSize(20, 20));
        connect(b, &QToolButton::clicked, this, handlers[i]);
    }

    progress_ = new QProgressBar(toolBar);
    progress_->setObjectName(QStringLiteral("progressBar"));
    progress_->setGeometry(425, 7, 203, 16);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const char* caption, std::function<void()> fn) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
        return a;
    };
    QMenu* fileMenu = bar->addMenu(Q("&Datei"));
    add(fileMenu, "Archiv &öffnen...", [this] { NotYetAvailable(); });
    add(fileMenu, "&Neues Archiv erstellen...", [this] { NotYetAvailable(); });
    fileMenu->addSeparator();
    add(fileMenu, "&Ini-Datei Einstellungen anzeigen", [this] { onShowIniFile(); });
    fileMenu->addSeparator();
    add(fileMenu, "&Analyse-Dateien anzeigen...", [this] {
        if (search_)
            search_->ShowReportFiles();
    });
    fileMenu->addSeparator();
    add(fileMenu, "&Beenden", [this] { onQuit(); });

    QMenu* editMenu = bar->addMenu(Q("&Bearbeiten"));
    add(editMenu, "&Neue Dias eingeben...", [this] { onNewSlides(); });
    add(editMenu, "Neue &Schlüssel  eingeben...", [this] { onNewKeywords(); });
    editMenu->addSeparator();
    add(editMenu, "Dias &editieren...", [this] { onEditSlides(); });
    add(editMenu, "Dias &löschen...", [this] { onDeleteSlides(); });
    editMenu->addSeparator();
    add(editMenu, "&Kastenbezeichnungen eingeben...", [this] {
        if (search_)
            search_->EnterBoxLabels();
    });
    add(editMenu, "&Memos eingeben...", [this] {
        if (search_)
            search_->EnterMemos();
    });
    add(editMenu, "Kopfdaten&felder ändern...", [this] {
        if (records_)
            records_->ChangeHeaderFieldNames();
    });
    add(editMenu, "Kopf&daten eingeben...", [this] {
        if (search_)
            search_->EnterHeaderData();
    });

    QMenu* evaluationMenu = bar->addMenu(Q("&Auswertung"));
    add(evaluationMenu, "Dias über &Schlüssel suchen...", [this] { onKeySearch(); });
    add(evaluationMenu, "Dias über &Informationstext suchen...", [this] { onInfoTextSearch(); });
    add(evaluationMenu, "Dias über &Kastennummer suchen...", [this] { onBoxNumberSearch(); });
    add(evaluationMenu, "Dias über &Memo suchen...", [this] { onMemoSearch(); });
    add(evaluationMenu, "Dias über Kopfdaten&felder suchen...", [this] {
        if (search_)
            search_->HeaderDataSearch();
    });
    evaluationMenu->addSeparator();
    fastModeAction_ = add(evaluationMenu, "&Fenster bei Suche minimieren (FastModus)",
                          [this] { onToggleFastMode(); });
    evaluationMenu->addSeparator();
    add(evaluationMenu, "&1 - Liste der Kastenbezeichnungen erstellen...", [this] {
        if (search_)
            search_->WriteBoxList();
    });
    add(evaluationMenu, "&2 - Liste der verwendeten Schlüssel erstellen...", [this] {
        if (search_)
            search_->WriteKeyList();
    });

    QMenu* servicesMenu = bar->addMenu(Q("Dien&ste"));
    add(servicesMenu, "&Backup erstellen...", [this] { onBackup(); });
    add(servicesMenu, "&Update History anzeigen...", [this] { onShowUpdateHistory(); });
    add(servicesMenu, "&System-Einstellungen...", [this] { onPreferences(); });
    servicesMenu->addSeparator();
    add(servicesMenu, "&Drucker...", [this] { onPrinterSetup(); });
    servicesMenu->addSeparator();
    undoAction_ = add(servicesMenu, "&Letzte Änderung der Schlüssellisten revidieren...",
                      [this] { onUndoKeywordLists(); });
    undoAction_->setObjectName(QStringLiteral("undoKeywordListsAction"));
    undoAction_->setEnabled(false);

    QMenu* helpMenu = bar->addMenu(Q("&Hilfe"));
    add(helpMenu, "&Einleitung", [this] { onHelpIntroduction(); });
    add(helpMenu, "&Index", [this] { onHelpIndex(); });
    add(helpMenu, "&Glossary", [this] { onHelpGlossary(); });
    helpMenu->addSeparator();
    add(helpMenu, "&Tips anzeigen", [this] { NotYetAvailable(); });
}

QAction* MainWindow::findAction(const QString& caption) const {
    for (QAction* top : menuBar()->actions()) {
        if (top->text() == caption)
            return top;
        if (QMenu* m = top->menu()) {
            for (QAction* a : m->actions())
                if (!a->isSeparator() && a->text() == caption)
                    return a;
        }
    }
    return nullptr;
}

QString MainWindow::statusPanel(int i) const {
    return statusPanels_.at(i)->text();
}

QString MainWindow::ArchivePathText() const {
    return QString::fromStdString(state_.archive.dir().string());
}

// ---------------------------------------------------------------------------------------
// Screen primitives

void MainWindow::SetStatusLine(const QString& text, const QColor& colour) {
    statusLine_->setText(text);
    setLabelColours(statusLine_, QColor(), colour);
    statusLine_->repaint();
}

void MainWindow::SetScreenCaptions(int mode) {
    struct Row {
        int mode;
        const char* captions[5];
        const char* suffix; // nullptr: window caption unchanged
    };
    static const Row rows[] = {
        {0, {"BEARBEITEN", "AUSWERTUNG", "DIENSTE", "HILFE", "FEIERABEND"}, ""},
        {110, {"DIA SICHERN", "KEY EDITOR", "KEY ABLAGE", "HILFE", "HAUPTMENUE"}, ""},
        {140,
         {"EBENE <1>", "EBENE <2>", "EBENE <3>", "HILFE", "HAUPTMENUE"},
         " - Neue Schlüssel eingeben..."},
        {210,
         {"SUCHE DIAS", "LÖSCHEN", "RESET", "HILFE", "HAUPTMENUE"},
         " - Dias über Schlüssel suchen..."},
        {211, {"TEXT-EDITOR", "NEUE SUCHE", "", "HILFE", "HAUPTMENUE"}, nullptr},
        {220,
         {"TEXT-EDITOR", "NEUE SUCHE", "", "HILFE", "HAUPTMENUE"},
         " - Dias über Kastennummer suchen..."},
        {240,
         {"TEXT-EDITOR", "NEUE SUCHE", "", "HILFE", "HAUPTMENUE"},
         " - Dias über Informationstext suchen..."},
        {250,
         {"TEXT-EDITOR", "NEUE SUCHE", "MEMO PRINT", "HILFE", "HAUPTMENUE"},
         " - Dias über Memo suchen..."},
        {260,
         {"TEXT-EDITOR", "NEUE SUCHE", "", "HILFE", "HAUPTMENUE"},
         " - Dias über Kopfdatenfelder suchen..."},
    };
    if (mode == mode::Disabled) {
        for (auto* b : softButtons_)
            b->setEnabled(false);
        update();
        return;
    }
    for (const Row& row : rows) {
        if (row.mode != mode)
            continue;
        for (int i = 0; i < 5; ++i) {
            softButtons_[i]->setText(QString::fromUtf8(row.captions[i]));
            softButtons_[i]->setEnabled(true);
            softButtons_[i]->repaint();
        }
        if (mode == mode::Main)
            setWindowTitle(ProgramTitle() + QStringLiteral("   - Pfad=") + ArchivePathText());
        else if (mode == mode::SlideEntry)
            SetWindowCaptionSuffix(state_.editExisting ? Q(" - Dia editieren...")
                                                       : Q(" - Neues Dia eingeben..."));
        else if (row.suffix)
            SetWindowCaptionSuffix(QString::fromUtf8(row.suffix));
        return;
    }
    for (auto* b : softButtons_) {
        b->setText(QString());
        b->setEnabled(true);
    }
}

QPoint MainWindow::MainTopLeft() const {
    return pos();
}

void MainWindow::ShowResultScrollBar() {
    scrollBar_->show();
}

void MainWindow::RestoreMainScreen() {
    pictureVisible_ = true;
    backgroundPicture_->setEnabled(true);
    backgroundPicture_->show();
    for (auto* l : titleLabels_)
        l->show();
    for (auto* l : levelHeadings_)
        l->hide();
    for (auto* l : levelCursors_)
        l->hide();
    scrollBar_->hide();
    // The stacking: the picture lies under the title labels.
    backgroundPicture_->lower();
}

void MainWindow::ClearListArea(const QColor& colour, int x1, int y1, int x2, int y2) {
    state_.page.clear();
    listBackground_ = colour;
    pictureVisible_ = false;
    backgroundPicture_->setEnabled(false);
    backgroundPicture_->hide();
    for (auto* l : levelHeadings_)
        l->hide();
    for (auto* l : titleLabels_)
        l->hide();
    for (auto* l : levelCursors_)
        l->hide();
    {
        QPainter p(&canvas_);
        p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), colour);
    }
    redrawCanvas();
    client_->update();
}

void MainWindow::ShowLevelHeaders(int level) {
    for (int l = 0; l < 3; ++l) {
        QLabel* h = levelHeadings_[l];
        const QColor fg = (l + 1 == level) ? kRed : QColor(Qt::white);
        if (h->palette().color(QPalette::WindowText) != fg) {
            setLabelColours(h, QColor(), fg);
            h->update();
        }
        if (!h->isVisible() || h->isHidden())
            h->show();
    }
}

void MainWindow::showResultPage(int first) {
    ClearListArea(Qt::black, 0, 50, 640, 354);
    const auto& list = state_.searchResultList;
    for (int r = 1; r <= kPageRows; ++r) {
        const int64_t i = static_cast<int64_t>(first) + r;
        if (i > state_.foundCount || i > static_cast<int64_t>(list.size()) || i < 1)
            break;
        const std::string& line = list[static_cast<size_t>(i - 1)];
        auto field = [&line](size_t pos, size_t len) -> std::string {
            return pos < line.size() ? line.substr(pos, len) : std::string();
        };
        ResultRow& row = state_.page.rows[static_cast<size_t>(r - 1)];
        row.box = NumberText(field(0, 3));
        row.slide = NumberText(field(3, 5));
        row.code = field(8, 3);
        row.text = field(11, 34);
    }
    RepaintNow();
}

void MainWindow::RepaintNow() {
    redrawCanvas();
    client_->repaint();
}

void MainWindow::redrawCanvas() {
    if (state_.paintLock)
        return;
    {
        QPainter p(&canvas_);
        p.fillRect(canvas_.rect(), listBackground_);
        paintCanvas(p);
    }
    if (paintProblem_) {
        const Problem problem = paintProblem_;
        paintProblem_ = {};
        messages_.Report(problem);
    }
}

void MainWindow::SetWindowCaptionSuffix(const QString& suffix) {
    setWindowTitle(ProgramTitle() + suffix);
}

void MainWindow::SetStatusPanel(int panel, const QString& text) {
    statusPanels_.at(panel)->setText(text);
}

void MainWindow::RepaintStatusBar() {
    statusBar_->repaint();
}

void MainWindow::SetProgress(int minimum, int maximum, int value) {
    progress_->setRange(minimum, maximum);
    progress_->setValue(value);
}

void MainWindow::SetProgressValue(int value) {
    progress_->setValue(value);
}

void MainWindow::HideScrollBar() {
    scrollBar_->hide();
}

void MainWindow::SetupResultScrollBar(int maximum) {
    scrollBar_->setRange(0, std::max(0, maximum));
    scrollBar_->setValue(0);
    scrollBar_->show();
    scrollBar_->raise();
    scrollBar_->setFocus();
}

void MainWindow::SetBusyCursor(bool on) {
    if (on == busyCursor_)
        return;
    busyCursor_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::SetUndoEnabled(bool on) {
    state_.undoEnabled = on;
    undoAction_->setEnabled(on);
}

void MainWindow::ClearLevelCursors() {
    for (auto* l : levelCursors_) {
        l->setText(QString());
        l->hide();
    }
}

void MainWindow::RecolourLevelCursors(const QColor& bg, const QColor& fg) {
    for (auto* l : levelCursors_) {
        setLabelColours(l, bg, fg);
        l->update();
    }
}

void MainWindow::LoadBackgroundPicture() {
    const auto path = state_.archive.resolve(state_.settings.pictureName);
    QPixmap pm;
    if (pm.load(QString::fromStdString(path.string())))
        background_ = pm;
    // A picture that cannot be loaded keeps the one shown before (or the black area).
    backgroundPicture_->setPixmap(background_);
}

void MainWindow::setLabelColours(QLabel* label, const QColor& bg, const QColor& fg) {
    QPalette pal = label->palette();
    if (bg.isValid())
        pal.setColor(QPalette::Window, bg);
    pal.setColor(QPalette::WindowText, fg);
    label->setPalette(pal);
}

void MainWindow::drawText(QPainter& p, int x, int y, const QString& text, const QColor& colour,
                          bool fillRow) {
    p.setFont(listFont_);
    const QFontMetrics fm(listFont_);
    if (fillRow) // what trailing blanks did: wipe what an earlier page left in the row
        p.fillRect(QRect(x, y, 624 - x, geo::RowPitch), listBackground_);
    p.setPen(colour);
    p.drawText(x, y + fm.ascent(), text);
}

void MainWindow::PaintResultRow(int r) {
    if (r < 1 || r > kPageRows)
        return;
    const ResultRow& row = state_.page.rows[static_cast<size_t>(r - 1)];
    const int y = geo::FirstRowY + geo::RowPitch * (r - 1);
    {
        QPainter p(&canvas_);
        p.fillRect(QRect(geo::ColBox, y, 624 - geo::ColBox, geo::RowPitch), listBackground_);
        drawText(p, geo::ColBox, y, FromCp1252(row.box), Qt::white);
        drawText(p, geo::ColSlide, y, FromCp1252(row.slide), kAqua);
        drawText(p, geo::ColCode, y, FromCp1252(row.code), kRed);
        drawText(p, geo::ColText, y, FromCp1252(row.text),
                 row.text == kFreeSlotRemainder ? QColor(Qt::white) : kLime);
    }
    client_->update(0, y, geo::ClientWidth, geo::RowPitch);
}

void MainWindow::DrawResultHeadings() {
    {
        QPainter p(&canvas_);
        drawText(p, geo::HeadBoxX, geo::HeadingY, Q("Kasten-Nummer"), kYellow);
        drawText(p, geo::HeadSlideX, geo::HeadingY, Q("Dia-Nummer"), kYellow);
        drawText(p, geo::HeadTextX, geo::HeadingY, Q("Dia-Informationstext"), kYellow);
    }
    client_->update(0, geo::HeadingY, geo::ClientWidth, geo::RowPitch);
}

void MainWindow::SetBackgroundBlack() {
    listBackground_ = Qt::black;
    canvas_.fill(Qt::black);
    client_->update();
}

void MainWindow::MinimiseForScan(bool on) {
    if (on)
        showMinimized();
    else
        showNormal();
}

void MainWindow::UpdateCounterPanels() {
    SetStatusPanel(0, QString::number(state_.counters.totalRecords));
    SetStatusPanel(1, QString::number(state_.counters.activeSlides));
    SetStatusPanel(2, QString::number(state_.foundCount));
}

// ---------------------------------------------------------------------------------------
// Painting

void MainWindow::applyKeyLabel(int level, bool shown, QPoint pos, const QString& text,
                               const QColor& bg, const QColor& fg) {
    QLabel* l = levelCursors_[static_cast<size_t>(level - 1)];
    if (!shown) {
        if (!l->isHidden())
            l->hide();
        return;
    }
    if (l->text() != text) {
        l->setText(text);
        l->adjustSize();
    }
    if (l->pos() != pos)
        l->move(pos);
    const QPalette& pal = l->palette();
    if (pal.color(QPalette::Window) != bg || pal.color(QPalette::WindowText) != fg)
        setLabelColours(l, bg, fg);
    if (l->isHidden()) {
        l->show();
        l->raise();
    }
}

void MainWindow::paintCanvas(QPainter& painter) {
    if (state_.paintLock)
        return;
    state_.paintLock = true;
    struct Unlock {
        bool& flag;
        ~Unlock() { flag = false; }
    } unlock{state_.paintLock};

    const int m = state_.screenMode;
    if (m == mode::Busy)
        return;

    if (mode::IsResultMode(m)) {
        const auto& rows = state_.page.rows;
        if (state_.foundCount == 0 || rows[0].text == kNoResultMarker)
            return;
        drawText(painter, geo::HeadBoxX, geo::HeadingY, Q("Kasten-Nummer"), kYellow);
        drawText(painter, geo::HeadSlideX, geo::HeadingY, Q("Dia-Nummer"), kYellow);
        drawText(painter, geo::HeadTextX, geo::HeadingY, Q("Dia-Informationstext"), kYellow);
        int y = geo::FirstRowY;
        for (const ResultRow& row : rows) {
            if (row.text == kNoResultMarker || row.text == kBlankMarker)
                continue;
            drawText(painter, geo::ColBox, y, FromCp1252(row.box), Qt::white);
            drawText(painter, geo::ColSlide, y, FromCp1252(row.slide), kAqua);
            drawText(painter, geo::ColCode, y, FromCp1252(row.code), kRed);
            drawText(painter, geo::ColText, y, FromCp1252(row.text),
                     row.text == kFreeSlotRemainder ? QColor(Qt::white) : kLime);
            y += geo::RowPitch;
        }
        return;
    }

    if (!mode::IsKeyMode(m))
        return;

    Problem first;
    for (int l = 1; l <= 3; ++l) {
        Problem p = LoadLevelList(state_.archive, state_.levels, l,
                                  state_.cursor.selectedRow[static_cast<size_t>(l - 1)]);
        if (p && !first)
            first = p;
    }
    ShowLevelHeaders(state_.cursor.currentLevel);

    QColor bg = Qt::white;
    if (m == mode::NewKeyword)
        bg = kYellow;
    if (m == mode::KeySearchSetup)
        bg = kAqua;
    if (state_.editExisting)
        bg = kFuchsia;
    const QColor fg = state_.editExisting ? QColor(Qt::white) : QColor(Qt::black);

    for (int l = 1; l <= 3; ++l) {
        const LevelList& list = state_.levels.levels[static_cast<size_t>(l - 1)];
        const int sel = state_.cursor.selectedRow[static_cast<size_t>(l - 1)];
        const int x = geo::LevelX[static_cast<size_t>(l - 1)];
        const bool shown = list.count > 0 && sel >= 1 && sel <= kPageRows;
        QString selText;
        if (shown)
            selText = FromCp1252(list.texts[static_cast<size_t>(sel - 1)]);
        applyKeyLabel(l, shown, QPoint(x, geo::FirstRowY + geo::RowPitch * (sel - 1)), selText, bg,
                      fg);
        for (int r = 1; r <= kPageRows; ++r) {
            if (r == sel)
                continue;
            const std::string& name = list.texts[static_cast<size_t>(r - 1)];
            if (!name.empty())
                drawText(painter, x, geo::FirstRowY + geo::RowPitch * (r - 1), FromCp1252(name),
                         kLime);
        }
    }
    if (first)
        paintProblem_ = first;
}

// ---------------------------------------------------------------------------------------
// Paging

void MainWindow::onResultScroll(int scrollCode, int position) {
    auto& s = state_;
    switch (scrollCode) {
    case ScrollThumbReleased:
        sound_.PlaySoundCue(QStringLiteral("next"), 0);
        s.firstShown = std::clamp(position, 0, std::max(0, s.foundCount));
        if (s.firstShown == s.foundCount) {
            // The end of the bar shows the last page; when the count fills whole pages
            // that is the last full page, not an empty one.
            const int rows = s.lastPageRows > 0 ? s.lastPageRows : kPageRows;
            s.firstShown = std::max(0, s.foundCount - rows);
        }
        showResultPage(s.firstShown);
        scrollBar_->setValue(position);
        break;
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
        if (s.firstShown - kPageRows <= 0)
            s.firstShown = kPageRows;
        sound_.PlaySoundCue(QStringLiteral("next"), 0);
        s.firstShown -= kPageRows;
        showResultPage(s.firstShown);
        scrollBar_->setValue(s.firstShown);
        scrollBar_->setSliderPosition(s.firstShown);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
        if (s.firstShown + kPageRows < s.foundCount) {
            sound_.PlaySoundCue(QStringLiteral("next"), 0);
            s.firstShown += kPageRows;
            showResultPage(s.firstShown);
            scrollBar_->setValue(s.firstShown);
            scrollBar_->setSliderPosition(s.firstShown);
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------
// Mouse

void MainWindow::onCanvasPress(Qt::MouseButton button, int x, int y) {
    const int row = geo::RowFromY(y);
    const int m = state_.screenMode;
    if (mode::IsResultMode(m)) {
        const ResultRow& rr = state_.page.rows[static_cast<size_t>(row - 1)];
        if (button == Qt::LeftButton) {
            if (rr.box.empty())
                return;
            if (x < 150) {
                if (search_)
                    search_->ShowBoxLabels(ToInt(rr.box));
            } else if (x > 205 && x < 320) {
                if (search_)
                    search_->ShowHeaderData(ToInt(rr.slide));
            } else if (x > 320) {
                if (entry_)
                    entry_->ShowSlideData(ToInt(rr.slide));
            }
        } else if (button == Qt::RightButton) {
            if (rr.slide.empty())
                return;
            if (x > 320 && search_)
                search_->ShowMemo(ToInt(rr.slide));
        }
        return;
    }
    if (!mode::IsKeyMode(m) || button != Qt::RightButton)
        return;

    auto& levels = state_.levels.levels;
    auto& cur = state_.cursor;
    auto hideLabels = [this] {
        for (auto* l : levelCursors_) {
            l->hide();
            l->setText(QStringLiteral(" "));
        }
    };
    auto paintBlack = [this](int x1, int y1, int x2, int y2) {
        QPainter p(&canvas_);
        p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), Qt::black);
    };
    if (x < 250) {
        if (row > levels[0].count)
            return;
        sound_.PlaySoundCue(QStringLiteral("click001"), 0);
        hideLabels();
        cur.currentLevel = 1;
        cur.selectedRow = {row, 1, 1};
        paintBlack(250, 60, 450, 350);
        paintBlack(450, 60, 630, 350);
    } else if (x > 250 && x < 450) {
        if (row > levels[1].count)
            return;
        sound_.PlaySoundCue(QStringLiteral("click001"), 0);
        hideLabels();
        cur.currentLevel = 2;
        cur.selectedRow[1] = row;
        cur.selectedRow[2] = 1;
        paintBlack(450, 60, 630, 350);
    } else if (x > 450 && x < 650) {
        if (row > levels[2].count)
            return;
        sound_.PlaySoundCue(QStringLiteral("click001"), 0);
        hideLabels();
        cur.currentLevel = 3;
        cur.selectedRow[2] = row;
    } else {
        return;
    }
    RepaintNow();
}

void MainWindow::onLevelCursorPress(int level, Qt::MouseButton button, QPoint clientPos) {
    if (button == Qt::LeftButton)
        onLevelCursorClick(level);
    else if (button == Qt::RightButton)
        onCanvasPress(button, clientPos.x(), clientPos.y());
}

void MainWindow::onLevelCursorClick(int level) {
    if (level < 1 || level > 3)
        return;
    const int m = state_.screenMode;
    if (m == mode::NewKeyword || !mode::IsKeyMode(m))
        return;
    const LevelList& list = state_.levels.levels[static_cast<size_t>(level - 1)];
    if (list.count <= 0)
        return; // an empty level shows no cursor label
    KeySelection& keys = state_.keys;
    if (keys.count >= 8) {
        messages_.ShowError(8);
        return;
    }
    sound_.PlaySoundCue(QStringLiteral("camera1"), 0);
    QLabel* label = levelCursors_[static_cast<size_t>(level - 1)];
    setLabelColours(label, kRed, Qt::white);
    const bool lock = state_.paintLock;
    state_.paintLock = true;
    label->repaint();
    state_.paintLock = lock;

    const std::string code = list.currentCode;
    const std::string padded = Pad6(code);
    for (int i = 0; i < keys.count && i < 8; ++i) {
        if (Pad6(keys.entries[static_cast<size_t>(i)].code) == padded) {
            messages_.ShowError(12);
            return;
        }
    }
    KeyEntry& e = keys.entries[static_cast<size_t>(keys.count)];
    e.code = code;
    e.name = list.currentText.substr(0, 18);
    ++keys.count;
    messages_.ShowStatus(3);
}

// ---------------------------------------------------------------------------------------
// Soft buttons

void MainWindow::BackToMainMenu() {
    RestoreMainScreen();
    state_.screenMode = mode::Main;
    SetScreenCaptions(mode::Main);
    messages_.ShowStatus(0);
}

void MainWindow::onSoftButton1() {
    const int m = state_.screenMode;
    if (m != mode::Main)
        sound_.PlayClick();
    state_.lastSoftButton = 1;
    switch (m) {
    case mode::Main:
        onNewSlides();
        break;
    case mode::SlideEntry:
        if (entry_)
            entry_->SaveSlide();
        break;
    case mode::NewKeyword:
        if (entry_)
            entry_->LevelButton(1);
        break;
    case mode::KeySearchSetup:
        if (state_.keys.count == 0) {
            messages_.ShowError(1);
        } else {
            if (search_)
                search_->SearchByKeys();
            SetScreenCaptions(state_.screenMode);
        }
        break;
    default:
        if (mode::IsResultMode(m) && search_)
            search_->TextEditor();
        break;
    }
}

void MainWindow::onSoftButton2() {
    const int m = state_.screenMode;
    if (m != mode::Main && !mode::IsResultMode(m))
        sound_.PlayClick();
    state_.lastSoftButton = 2;
    switch (m) {
    case mode::Main:
    case mode::KeyResults:
        onKeySearch();
        break;
    case mode::SlideEntry:
        if (entry_)
            entry_->KeyEditor();
        break;
    case mode::NewKeyword:
        if (entry_)
            entry_->LevelButton(2);
        break;
    case mode::KeySearchSetup:
        KeySearchDelete();
        break;
    case mode::BoxResults:
        onBoxNumberSearch();
        break;
    case mode::InfoResults:
        onInfoTextSearch();
        break;
    case mode::MemoResults:
        onMemoSearch();
        break;
    case mode::HeaderResults:
        if (search_)
            search_->HeaderDataSearch();
        break;
    default:
        break;
    }
}

void MainWindow::onSoftButton3() {
    const int m = state_.screenMode;
    if (m != mode::Main)
        sound_.PlayClick();
    state_.lastSoftButton = 3;
    switch (m) {
    case mode::Main:
        onPreferences(); // preferences
        break;
    case mode::SlideEntry:
        if (entry_)
            entry_->ExchangeKeyStore();
        break;
    case mode::NewKeyword:
        if (entry_)
            entry_->LevelButton(3);
        break;
    case mode::KeySearchSetup:
        KeySearchReset();
        break;
    case mode::KeyResults:
        messages_.ShowNotice(Q("Funktion nicht vorhanden"));
        break;
    case mode::MemoResults:
        if (search_)
            search_->MemoPrint();
        break;
    default: // 220, 240, 260: empty caption, nothing
        break;
    }
}

void MainWindow::onSoftButton4() {
    const int m = state_.screenMode;
    sound_.PlayClick();
    state_.lastSoftButton = 4;
    switch (m) {
    case mode::Main:
        ShowHelp(1);
        break;
    case mode::SlideEntry:
        ShowHelp(201);
        break;
    case mode::NewKeyword:
        ShowHelp(202);
        break;
    case mode::KeySearchSetup:
    case mode::KeyResults:
        ShowHelp(301);
        break;
    case mode::InfoResults:
        ShowHelp(302);
        break;
    case mode::BoxResults:
        ShowHelp(303);
        break;
    case mode::MemoResults:
        ShowHelp(304);
        break;
    case mode::HeaderResults:
        ShowHelp(305);
        break;
    default:
        break;
    }
}

void MainWindow::onSoftButton5() {
    const int m = state_.screenMode;
    sound_.PlayClick();
    state_.lastSoftButton = 5;
    if (m == mode::Main) {
        close();
    } else if (mode::IsKeyMode(m)) {
        BackToMainMenu();
    } else if (mode::IsResultMode(m)) {
        scrollBar_->hide();
        BackToMainMenu();
    }
}

void MainWindow::KeySearchDelete() {
    KeySelection& keys = state_.keys;
    if (keys.count <= 0) {
        messages_.ShowError(10);
        return;
    }
    const int last = std::min(keys.count, 8) - 1;
    const QString question = Q("Soll der bereits selektierte Schlüssel ") +
                             FromCp1252(keys.entries[static_cast<size_t>(last)].name) +
                             QChar(u'\r') + Q("aus der Suchliste gelöscht werden ?");
    if (!messages_.AskConfirmation(question))
        return;
    sound_.PlaySoundCue(QStringLiteral("loesch"), 0);
    keys.entries[static_cast<size_t>(last)].name.clear();
    keys.entries[static_cast<size_t>(last)].code.clear();
    keys.count = last;
    RecolourLevelCursors(kAqua, Qt::black);
    messages_.ShowStatus(3);
}

void MainWindow::KeySearchReset() {
    KeySelection& keys = state_.keys;
    if (keys.count <= 0) {
        messages_.ShowError(10);
        return;
    }
    if (!messages_.AskConfirmation(
            Q("Sollen die bereits erfassten Schlüssel alle wieder gelöscht werden ?")))
        return;
    sound_.PlaySoundCue(QStringLiteral("loesch"), 0);
    keys.clearAll();
    RecolourLevelCursors(kAqua, Qt::black);
    messages_.ShowStatus(3);
}

// ---------------------------------------------------------------------------------------
// Tool buttons and menu

void MainWindow::onNewSlides() {
    if (entry_)
        entry_->StartNewSlide();
}

void MainWindow::onEditSlides() {
    if (entry_)
        entry_->StartEditSlide();
}

void MainWindow::onDeleteSlides() {
    if (records_)
        records_->DeleteSlides();
}

void MainWindow::onNewKeywords() {
    if (entry_)
        entry_->StartNewKeyword();
}

void MainWindow::onKeySearch() {
    state_.paintLock = true;
    state_.editExisting = false;
    sound_.PlayClick();
    state_.searchResultList.clear();
    state_.foundCount = 0;
    state_.firstShown = 0;
    scrollBar_->hide();
    if (state_.counters.totalRecords == 0) {
        // Leave the lock off again: nothing else would clear it on this way out.
        state_.paintLock = false;
        messages_.ShowError(53);
        return;
    }
    state_.cursor.reset();
    state_.keys.count = 0;
    SetProgress(0, 100, 100);
    ClearListArea(Qt::black, 0, 30, 640, 354);
    state_.screenMode = mode::KeySearchSetup;
    state_.keys.clearAll();
    SetScreenCaptions(mode::KeySearchSetup);
    messages_.ShowStatus(3);
    ClearLevelCursors();
    state_.paintLock = false;
    RepaintNow();
}

void MainWindow::onInfoTextSearch() {
    if (search_)
        search_->InfoTextSearch();
}

void MainWindow::onBoxNumberSearch() {
    if (search_)
        search_->BoxNumberSearch();
}

void MainWindow::onMemoSearch() {
    if (search_)
        search_->MemoSearch();
}

void MainWindow::onBackup() {
    NotYetAvailable();
} // backup
void MainWindow::onPreferences() {
    NotYetAvailable();
} // preferences

void MainWindow::onPrinterSetup() {
    sound_.PlayClick();
    RestoreMainScreen();
    state_.screenMode = mode::Main;
    SetScreenCaptions(mode::Main);
    SetScreenCaptions(mode::Disabled);
    messages_.ShowStatus(20);
    if (!messages_.testMode()) {
        QPrinter printer;
        QPageSetupDialog dialog(&printer, this);
        dialog.exec();
    }
    SetScreenCaptions(mode::Main);
    messages_.ShowStatus(0);
}

void MainWindow::onHelpIntroduction() {
    sound_.PlayClick();
    ShowHelp(1);
}

void MainWindow::onToggleFastMode() {
    sound_.PlayClick();
    state_.fastMode = !state_.fastMode;
    fastModeAction_->setText(state_.fastMode ? Q("Fenster bei Suche normal (SlowModus)")
                                             : Q("Fenster bei Suche minimieren (FastModus)"));
}

void MainWindow::onUndoKeywordLists() {
    if (entry_)
        entry_->UndoKeywordLists();
}

void MainWindow::onQuit() {
    sound_.PlayClick();
    close();
}

void MainWindow::NotYetAvailable() {
    sound_.PlayClick();
}

void MainWindow::onShowIniFile() {
    sound_.PlayClick();
    RunProgram(FromCp1252(state_.settings.editor) + QStringLiteral(" dia.ini"));
}

void MainWindow::onShowUpdateHistory() {
    sound_.PlayClick();
    RunProgram(QStringLiteral("write.exe history.wri"));
}

void MainWindow::onHelpIndex() {
    sound_.PlayClick();
    ShowHelp(1002);
}

void MainWindow::onHelpGlossary() {
    sound_.PlayClick();
    ShowHelp(1001);
}

void MainWindow::ShowHelp(int context) {
    help_.ShowHelp(QString::fromStdString(state_.archive.resolve("DIA.HLP").string()), context);
}

void MainWindow::RunProgram(const QString& commandLine) {
    if (!launcher_.RunProgram(commandLine, ArchivePathText()))
        messages_.ShowNotice(LaunchFailureText(commandLine));
}

void MainWindow::OpenDocument(const QString& file) {
    if (!launcher_.OpenDocument(file, ArchivePathText()))
        messages_.ShowNotice(LaunchFailureText(file));
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

bool MainWindow::StartUp() {
    auto& s = state_;
    setWindowTitle(ProgramTitle() + Q(" - letzte Änderung am ") + ReleaseDate());
    titleLabels_[1]->setText(QStringLiteral("Version ") + ProgramVersion());

    if (Problem p = CountRecords(s.archive, s.counters)) {
        messages_.ShowError(31);
        return false;
    }

    LoadSettings(s.archive, s.settings, s.counters);
    // The stored position, kept on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->availableGeometry();
        const QSize size = frameGeometry().size().expandedTo(sizeHint());
        const int left = std::clamp(static_cast<int>(s.settings.windowLeft), g.left(),
                                    std::max(g.left(), g.right() + 1 - size.width()));
        const int top = std::clamp(static_cast<int>(s.settings.windowTop), g.top(),
                                   std::max(g.top(), g.bottom() + 1 - size.height()));
        move(left, top);
    } else {
        move(s.settings.windowLeft, s.settings.windowTop);
    }

    s.windowsDirectory = "/usr/bin";

    if (s.counters.activeSlides == -1) {
        messages_.ShowNotice(Q("LUMORETTA Version 3.0\r\rIhr Archiv wird nun analysiert um "
                               "einige Daten\rzu ergänzen bzw. überprüfen zu können.\rDies "
                               "kann einige Zeit dauern..."));
        SetBusyCursor(true);
        SetProgress(0, 100, 0);
        QElapsedTimer sinceUpdate;
        sinceUpdate.start();
        const int32_t total = s.counters.totalRecords;
        Problem p = AnalyseArchive(s.archive, kFreeSlotMarker, s.counters, [&](int32_t n) {
            // Keep the window alive on large archives, at display rate.
            if (sinceUpdate.elapsed() < 40)
                return;
            sinceUpdate.restart();
            if (total > 0)
                SetProgressValue(static_cast<int>(static_cast<int64_t>(n) * 100 / total));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        SetProgress(0, 100, 100);
        SetBusyCursor(false);
        if (p)
            messages_.Report(p);
        EmptyUndoCopies(s.archive);
        SaveSettingsNow();
    }

    LoadBackgroundPicture();
    SetStatusPanel(0, QString::number(s.counters.totalRecords));
    SetStatusPanel(1, QString::number(s.counters.activeSlides));
    SetStatusPanel(2, QStringLiteral("0"));
    messages_.ShowStatus(0);

    s.tipText.clear();
    s.tipReady = false;
    if (s.settings.tipNumber != 0) {
        auto path = s.archive.resolve("tips/" + std::to_string(s.settings.tipNumber) + ".tip");
        if (auto text = ReadWholeFile(path)) {
            s.tipText = std::move(*text);
            s.tipReady = true;
        }
    }

    s.screenMode = mode::Main;
    s.searchResultList.clear();
    s.foundCount = 0;
    s.firstShown = 0;
    scrollBar_->hide();
    SetProgress(0, 100, 100);
    return true;
}

bool MainWindow::SaveSettingsNow() {
    state_.settings.windowTop = pos().y();
    state_.settings.windowLeft = pos().x();
    if (SaveSettings(state_.archive, state_.settings, state_.counters))
        return true;
    messages_.ShowNotice(Q("Ini-Datei für Lumoretta konnte nicht\rkorrekt gesichert werden !"));
    return false;
}

void MainWindow::RunAutoBackup() {}

bool MainWindow::confirmQuit() {
    if (!messages_.AskConfirmation(Q("Möchten Sie das Programm LUMORETTA wirklich beenden ?")))
        return false;
    SaveSettingsNow();
    if (state_.settings.autoBackup) {
        repaint();
        hide();
        messages_.ShowNotice(Q("Lumoretta führt nun im Hintergrund\rnoch ein Auto-Backup durch."));
        const QString title = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(Q("Auto-Backup aktiv..."));
        RunAutoBackup();
        QCoreApplication::setApplicationName(title);
        messages_.ShowNotice(Q("Der Backup Prozess von Lumoretta\rist nun abgeschlossen."));
    }
    sound_.PlaySoundCue(QStringLiteral("exit"), 1000);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeConfirmed_ || confirmQuit()) {
        closeConfirmed_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (isVisible()) {
        state_.settings.windowTop = pos().y();
        state_.settings.windowLeft = pos().x();
    }
}

} // namespace lumo
