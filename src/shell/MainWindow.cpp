#include "shell/MainWindow.h"

#include "editing/RecordCommands.h"
#include "extras/MapAndScanCommands.h"
#include "extras/OutputCommands.h"
#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "services/ServiceCommands.h"
#include "shell/ClientArea.h"
#include "shell/ContextHelp.h"
#include "shell/ListAccessible.h"
#include "shell/ListArea.h"
#include "shell/ScreenModes.h"
#include "shell/StatusLine.h"
#include "shell/ToolIcons.h"
#include "ui/Colours.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace lumo {

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
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

} // namespace

// ---------------------------------------------------------------------------------------
// Construction and layout

MainWindow::MainWindow(AppState& state, MessageCatalog& messages, SoundCue& sound,
                       Launcher& launcher, HelpViewer& help, QWidget* parent)
    : QMainWindow(parent), state_(state), messages_(messages), sound_(sound), launcher_(launcher),
      help_(help), ctx_{state, messages, *this, sound, help, launcher} {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildUi();
    buildMenus();
    InstallMenuHelp(*this);
    InstallMainWindowHelp(*this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowTitle(ProgramTitle() + Q(" - letzte Änderung am ") + ReleaseDate());
}

MainWindow::~MainWindow() {
    if (busyCursor_)
        QApplication::restoreOverrideCursor();
}

void MainWindow::buildUi() {
    InstallShellAccessibility(); // the list area and the status line for assistive tools
    // The client area carries everything, in this order from bottom to top: the list
    // area's picture and labels, the result scroll bar, the tool bar, the bottom panel.
    client_ = new ClientArea(this);
    client_->setFont(ListCanvas::ListFont());
    QPalette pal = client_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, colour::Lime);
    client_->setPalette(pal);
    setCentralWidget(client_);

    canvas_ = std::make_unique<ListCanvas>(
        state_, messages_, client_,
        [this](int level, Qt::MouseButton b, QPoint pos) { onLevelCursorPress(level, b, pos); });
    client_->setCanvas(&canvas_->pixmap());
    client_->setPressHandler([this](Qt::MouseButton b, int x, int y) { onCanvasPress(b, x, y); });
    listArea_ = new ListArea(state_, client_);
    listArea_->setKeyHandler(
        [this](int key, Qt::KeyboardModifiers modifiers) { return onListKey(key, modifiers); });

    buildScrollBar();
    buildToolBar();
    buildBottomPanel();
    setUpKeyboard();
}

void MainWindow::buildScrollBar() {
    scrollBar_ = new QScrollBar(Qt::Vertical, client_);
    scrollBar_->setObjectName(QStringLiteral("resultScrollBar"));
    scrollBar_->setGeometry(geo::ScrollBarX, 32, 16, 321);
    scrollBar_->setSingleStep(17);
    scrollBar_->setPageStep(17);
    scrollBar_->setRange(0, 0);
    scrollBar_->setAccessibleName(Q("Ergebnisseite"));
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
}

void MainWindow::buildBottomPanel() {
    auto* bottomPanel = new QFrame(client_);
    bottomPanel->setObjectName(QStringLiteral("bottomPanel"));
    bottomPanel->setGeometry(0, geo::BottomPanelY, geo::ClientWidth, 87);
    bottomPanel->setPalette(PanelPalette());
    bottomPanel->setAutoFillBackground(true);
    statusLine_ = new StatusLine(Q("Lade Dateien ..."), bottomPanel);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusLine_->setGeometry(0, 1, 640, 27);
    statusLine_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusLine_->setAlignment(Qt::AlignVCenter | Qt::AlignHCenter);
    statusLine_->setFont(ListCanvas::ListFont());
    SetLabelColours(statusLine_, QColor(), colour::Blue);

    QFont buttonFont = QApplication::font();
    buttonFont.setBold(true);
    static const int buttonX[] = {23, 143, 263, 383, 503};
    const ScreenModeRow* mainMenu = FindScreenMode(mode::Main);
    for (int i = 0; i < 5; ++i) {
        auto* b = new QPushButton(
            QString::fromUtf8(mainMenu->buttons[static_cast<size_t>(i)].caption), bottomPanel);
        b->setObjectName(QStringLiteral("softButton%1").arg(i + 1));
        b->setGeometry(buttonX[i], 33, 110, 30);
        b->setFont(buttonFont);
        b->setFocusPolicy(Qt::TabFocus);
        // Blue captions while usable; the disabled ones (caption set 9) stay grey.
        QPalette bp = b->palette();
        bp.setColor(QPalette::Active, QPalette::ButtonText, colour::Blue);
        bp.setColor(QPalette::Inactive, QPalette::ButtonText, colour::Blue);
        bp.setColor(QPalette::Disabled, QPalette::ButtonText, Qt::gray);
        b->setPalette(bp);
        softButtons_[i] = b;
    }
    for (int i = 0; i < 5; ++i)
        connect(softButtons_[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { onSoftButton(i + 1); });

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
        b->setAccessibleName(b->toolTip());
        b->setIcon(ToolButtonIcon(i + 1));
        b->setIconSize(QSize(20, 20));
        connect(b, &QToolButton::clicked, this, handlers[i]);
    }

    progress_ = new QProgressBar(toolBar);
    progress_->setObjectName(QStringLiteral("progressBar"));
    progress_->setGeometry(425, 7, 203, 16);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setAccessibleName(Q("Fortschritt"));
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const char* caption, std::function<void()> fn) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
        return a;
    };
    QMenu* fileMenu = bar->addMenu(Q("&Datei"));
    add(fileMenu, "Archiv &öffnen...", [this] { services_->OpenArchive(); });
    add(fileMenu, "&Neues Archiv erstellen...", [this] { services_->CreateArchive(); });
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
    add(editMenu, "Kopfdaten&felder ändern...", [this] { records_->ChangeHeaderFieldNames(); });
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

    QMenu* extrasMenu = bar->addMenu(Q("E&xtras"));
    add(extrasMenu, "&Magazinübersicht...", [this] {
        if (mapAndScan_)
            mapAndScan_->OpenMagazineMap();
    });
    add(extrasMenu, "&Bilder zuordnen...", [this] {
        if (mapAndScan_)
            mapAndScan_->ImportPictures();
    });
    add(extrasMenu, "&Exportieren...", [this] {
        if (outputs_)
            outputs_->OpenExport();
    });
    add(extrasMenu, "&Etiketten und Ladelisten...", [this] {
        if (outputs_)
            outputs_->OpenLabels();
    });

    QMenu* helpMenu = bar->addMenu(Q("&Hilfe"));
    add(helpMenu, "&Einleitung", [this] { onHelpIntroduction(); });
    add(helpMenu, "&Index", [this] { onHelpIndex(); });
    add(helpMenu, "&Glossary", [this] { onHelpGlossary(); });
    helpMenu->addSeparator();
    add(helpMenu, "&Tips anzeigen", [this] { services_->OpenTips(); });
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

// ---------------------------------------------------------------------------------------
// Screen

void MainWindow::SetStatusLine(const QString& text, const QColor& colour) {
    const bool changed = statusLine_->text() != text;
    statusLine_->setText(text);
    SetLabelColours(statusLine_, QColor(), colour);
    statusLine_->repaint();
    if (changed) {
        // The status line is the program's main answer: assistive tools say it aloud.
        QAccessibleEvent event(statusLine_, QAccessible::Alert);
        QAccessible::updateAccessibility(&event);
    }
}

void MainWindow::SetScreenCaptions(int mode) {
    if (mode == mode::Disabled) {
        for (auto* b : softButtons_)
            b->setEnabled(false);
        update();
        return;
    }
    const ScreenModeRow* row = FindScreenMode(mode);
    if (!row) {
        for (auto* b : softButtons_) {
            b->setText(QString());
            b->setEnabled(true);
        }
        return;
    }
    for (size_t i = 0; i < 5; ++i) {
        softButtons_[i]->setText(QString::fromUtf8(row->buttons[i].caption));
        softButtons_[i]->setEnabled(true);
        softButtons_[i]->repaint();
    }
    onScreenModeShown(mode);
    switch (row->title) {
    case TitleRule::Unchanged:
        break;
    case TitleRule::ProgramAndPath:
        setWindowTitle(ProgramTitle() + QStringLiteral("   - Pfad=") + ctx_.ArchivePathText());
        break;
    case TitleRule::SlideEntry:
        SetWindowCaptionSuffix(state_.editExisting ? Q(" - Dia editieren...")
                                                   : Q(" - Neues Dia eingeben..."));
        break;
    case TitleRule::Suffix:
        SetWindowCaptionSuffix(QString::fromUtf8(row->suffix));
        break;
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

void MainWindow::RestoreMainScreen() {
    canvas_->RestoreStartScreen();
    scrollBar_->hide();
    // The stacking: the picture lies under the title labels.
    canvas_->backgroundPicture()->lower();
}

void MainWindow::ClearListArea(const QColor& colour, int x1, int y1, int x2, int y2) {
    canvas_->ClearArea(colour, x1, y1, x2, y2);
}

void MainWindow::ClearLevelCursors() {
    canvas_->ClearLevelCursors();
}

void MainWindow::RepaintNow() {
    canvas_->RepaintNow();
}

void MainWindow::showResultPage(int first) {
    canvas_->ShowResultPage(first);
    listArea_->setFocusRow(std::min(listArea_->focusRow(), std::max(1, ResultRowsShown(state_))));
    AnnounceListsChanged(listArea_);
}

void MainWindow::PaintResultRow(int r) {
    canvas_->PaintResultRow(r);
}

void MainWindow::DrawResultHeadings() {
    canvas_->DrawResultHeadings();
}

void MainWindow::SetBackgroundBlack() {
    canvas_->SetBackgroundBlack();
}

void MainWindow::HideScrollBar() {
    scrollBar_->hide();
}

void MainWindow::ShowResultScrollBar() {
    scrollBar_->show();
}

void MainWindow::SetupResultScrollBar(int maximum) {
    scrollBar_->setRange(0, std::max(0, maximum));
    scrollBar_->setValue(0);
    scrollBar_->show();
    scrollBar_->raise();
    // A new result list: the keys start on its first row.
    listArea_->takeFocusForNewList();
}

QPoint MainWindow::MainTopLeft() const {
    return pos();
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

} // namespace lumo
