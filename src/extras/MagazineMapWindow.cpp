#include "extras/MagazineMapWindow.h"

#include "extras/BoxSheetPrint.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "store/FileUtil.h"
#include "store/Profile.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"
#include "ui/MessageCatalog.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lumo {

namespace {

constexpr int kHelpContext = 601;

QPushButton* Button(const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    return b;
}

QString BoxName(int box) {
    return box == 0 ? QStringLiteral("ohne Kasten") : QStringLiteral("Kasten %1").arg(box);
}

} // namespace

MagazineMapWindow::MagazineMapWindow(const FeatureContext& ctx,
                                     std::function<void(int32_t)> showSlide)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx), showSlide_(std::move(showSlide)) {
    setWindowTitle(QStringLiteral("Magazinübersicht"));
    InstallHelpKey(this, [this] { onHelp(); });
    resize(1040, 660);

    boxList = new QTreeWidget(this);
    boxList->setAccessibleName(QStringLiteral("Kästen"));
    boxList->setHeaderLabels({QStringLiteral("Kasten"), QStringLiteral("Dias"),
                              QStringLiteral("frei"), QStringLiteral("doppelt"),
                              QStringLiteral("Magazintext"), QStringLiteral("Thematik")});
    boxList->setRootIsDecorated(false);
    boxList->setUniformRowHeights(true);
    boxList->setMinimumWidth(380);
    const int widths[] = {56, 44, 40, 58, 110};
    for (int c = 0; c < 5; ++c)
        boxList->setColumnWidth(c, widths[c]);

    heading = new QLabel(this);
    heading->setTextFormat(Qt::PlainText);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    auto* legend = new QLabel(
        QStringLiteral("Grün: ein Dia · Rot: doppelt belegt · Grau: frei · M Memo, B Bild, "
                       "K Kopfdaten · Bild auf/ab: anderer Kasten"),
        this);

    model_ = new PlaceGridModel(this);
    grid = new QTableView(this);
    grid->setModel(model_);
    grid->setAccessibleName(QStringLiteral("Plätze"));
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setMouseTracking(true);
    grid->horizontalHeader()->hide();
    grid->horizontalHeader()->setDefaultSectionSize(58);
    grid->verticalHeader()->setDefaultSectionSize(50);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* unplacedCaption = new QLabel(QStringLiteral("Dias &ohne Platz im Raster:"), this);
    unplacedList = new QListWidget(this);
    unplacedList->setAccessibleName(QStringLiteral("Dias ohne Platz im Raster"));
    unplacedList->setMaximumHeight(90);
    unplacedCaption->setBuddy(unplacedList);

    showButton = Button(QStringLiteral("Dia &anzeigen"), this);
    newSlideButton = Button(QStringLiteral("Neues Dia hier &erfassen"), this);
    printButton = Button(QStringLiteral("&Drucken..."), this);
    pdfButton = Button(QStringLiteral("Als &PDF speichern..."), this);
    helpButton = Button(QStringLiteral("&Hilfe"), this);
    closeButton = Button(QStringLiteral("&Schließen"), this);

    auto* right = new QVBoxLayout;
    right->addWidget(heading);
    right->addWidget(legend);
    right->addWidget(grid, 1);
    right->addWidget(unplacedCaption);
    right->addWidget(unplacedList);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {showButton, newSlideButton, printButton, pdfButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(helpButton);
    buttons->addWidget(closeButton);
    right->addLayout(buttons);
    auto* top = new QHBoxLayout(this);
    top->addWidget(boxList);
    top->addLayout(right, 1);

    for (QWidget* w : {static_cast<QWidget*>(boxList), static_cast<QWidget*>(grid),
                       static_cast<QWidget*>(unplacedList)})
        w->installEventFilter(this);
    connect(boxList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            ShowBox(item->data(0, Qt::UserRole).toInt());
    });
    connect(grid, &QTableView::clicked, this, [this] { onActivatePlace(); });
    connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { UpdateButtons(); });
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PlaceContextMenu(pos); });
    connect(unplacedList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenSlide(item->data(Qt::UserRole).toInt()); });
    connect(unplacedList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenSlide(item->data(Qt::UserRole).toInt()); });
    connect(showButton, &QPushButton::clicked, this, [this] {
        const auto slides = model_->slidesAt(grid->currentIndex());
        if (!slides.empty())
            OpenSlide(slides.front());
    });
    connect(newSlideButton, &QPushButton::clicked, this, [this] { onNewSlideHere(); });
    connect(printButton, &QPushButton::clicked, this, [this] { onPrint(); });
    connect(pdfButton, &QPushButton::clicked, this, [this] { onSavePdf(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { accept(); });
}

void MagazineMapWindow::Reload(int box) {
    placeRequest_.reset();
    auto& st = ctx_.state;
    if (const Problem p = index_.Load(st.archive))
        ctx_.messages.Report(p);
    labels_.assign(256, {});
    if (const auto ini = ReadWholeFile(st.archive.resolve("KASTEN.INI"))) {
        const IniDocument doc = IniDocument::Parse(*ini);
        for (int b = 1; b <= 255; ++b)
            labels_[size_t(b)] = {doc.get(BoxSection(b), "T1").value_or(""),
                                  doc.get(BoxSection(b), "T2").value_or("")};
    }

    const auto boxes = index_.Boxes(st.settings.magazinesPerBox, st.settings.slidesPerMagazine);
    const QSignalBlocker block(boxList);
    boxList->clear();
    QTreeWidgetItem* chosen = nullptr;
    for (const BoxSummary& s : boxes) {
        auto* item = new QTreeWidgetItem(boxList);
        item->setText(0, s.box == 0 ? QStringLiteral("ohne") : QString::number(s.box));
        item->setData(0, Qt::UserRole, s.box);
        item->setText(1, QString::number(s.slides));
        item->setText(2, QString::number(s.freePlaces));
        item->setText(3, s.doubledPlaces ? QString::number(s.doubledPlaces) : QString());
        item->setText(4, FromCp1252(labels_[size_t(s.box)].first));
        item->setText(5, FromCp1252(labels_[size_t(s.box)].second));
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        if (s.doubledPlaces)
            item->setForeground(3, QColor(204, 32, 32));
        if (s.box == box || !chosen)
            chosen = item;
    }
    if (chosen)
        boxList->setCurrentItem(chosen);
    ShowBox(chosen ? chosen->data(0, Qt::UserRole).toInt() : std::max(box, 1));
}

QString MagazineMapWindow::KeyNames(int32_t slide) {
    auto& st = ctx_.state;
    const CurrentSlideData data = index_.SlideData(slide);
    KeySelection keys;
    ResolveKeys(st.archive, data, keys, &st.keywordCache);
    QStringList names;
    for (const auto& e : keys.entries)
        if (!e.name.empty())
            names << FromCp1252(e.name);
    return names.join(QStringLiteral(", "));
}

void MagazineMapWindow::ShowBox(int box) {
    const auto& s = ctx_.state.settings;
    model_->setBox(&index_, index_.MapOf(box, s.magazinesPerBox, s.slidesPerMagazine),
                   [this](int32_t n) { return KeyNames(n); });
    grid->setAccessibleName(QStringLiteral("Plätze von ") + BoxName(box));
    heading->setText(title());
    unplacedList->clear();
    for (int32_t n : model_->map().unplaced) {
        auto* item = new QListWidgetItem(
            QStringLiteral("Dia %1  %2").arg(n).arg(FromCp1252(index_.InfoField(n))), unplacedList);
        item->setData(Qt::UserRole, n);
        item->setData(Qt::AccessibleTextRole, model_->slideLine(n));
    }
    grid->setCurrentIndex(model_->index(0, 0));
    UpdateButtons();
}

QString MagazineMapWindow::title() const {
    const int box = shownBox();
    QString text = BoxName(box);
    if (box >= 1 && box <= 255 && !labels_.empty()) {
        const auto& [magazine, theme] = labels_[size_t(box)];
        for (const std::string& label : {magazine, theme})
            if (!label.empty())
                text += QStringLiteral(" – ") + FromCp1252(label);
    }
    const BoxSummary s = model_->map().summary();
    return text + QStringLiteral(":  %1 Dias, %2 Plätze frei, %3 doppelt belegt, %4 ohne Platz")
                      .arg(s.slides)
                      .arg(s.freePlaces)
                      .arg(s.doubledPlaces)
                      .arg(s.unplaced);
}

QStringList MagazineMapWindow::footLines() const {
    QStringList lines;
    if (!model_->map().unplaced.empty())
        lines << QStringLiteral("Dias ohne Platz im Raster:");
    for (int32_t n : model_->map().unplaced)
        lines << model_->slideLine(n);
    return lines;
}

void MagazineMapWindow::StepBox(int delta) {
    const int row = boxList->indexOfTopLevelItem(boxList->currentItem()) + delta;
    if (row >= 0 && row < boxList->topLevelItemCount())
        boxList->setCurrentItem(boxList->topLevelItem(row));
}

void MagazineMapWindow::UpdateButtons() {
    const auto code = model_->placeAt(grid->currentIndex());
    const bool empty = code && model_->slidesAt(grid->currentIndex()).empty();
    showButton->setEnabled(code && !empty);
    newSlideButton->setEnabled(empty && shownBox() >= 1);
}

void MagazineMapWindow::OpenSlide(int32_t slide) {
    const int box = shownBox();
    const QModelIndex current = grid->currentIndex();
    if (showSlide_)
        showSlide_(slide);
    // The viewer may have given the slide a picture.
    Reload(box);
    grid->setCurrentIndex(current);
    UpdateButtons();
}

void MagazineMapWindow::ShowSlides(const std::vector<int32_t>& slides, const QPoint& where) {
    QMenu menu(this);
    menu.setAccessibleName(QStringLiteral("Platz"));
    for (int32_t n : slides)
        menu.addAction(QStringLiteral("Dia %1 anzeigen").arg(n), this, [this, n] { OpenSlide(n); });
    if (slides.empty() && shownBox() >= 1)
        menu.addAction(QStringLiteral("Neues Dia hier erfassen"), this,
                       [this] { onNewSlideHere(); });
    if (!menu.isEmpty())
        menu.exec(where);
}

void MagazineMapWindow::PlaceContextMenu(const QPoint& pos) {
    const QModelIndex cell = grid->indexAt(pos);
    if (!model_->placeAt(cell))
        return;
    grid->setCurrentIndex(cell);
    ShowSlides(model_->slidesAt(cell), grid->viewport()->mapToGlobal(pos));
}

void MagazineMapWindow::onActivatePlace() {
    const QModelIndex cell = grid->currentIndex();
    if (!model_->placeAt(cell))
        return;
    UpdateButtons();
    const auto slides = model_->slidesAt(cell);
    if (slides.empty())
        onNewSlideHere();
    else if (slides.size() == 1)
        OpenSlide(slides.front());
    else
        ShowSlides(slides, grid->viewport()->mapToGlobal(grid->visualRect(cell).center()));
}

void MagazineMapWindow::onNewSlideHere() {
    const auto code = model_->placeAt(grid->currentIndex());
    if (!code || shownBox() < 1 || !model_->slidesAt(grid->currentIndex()).empty())
        return;
    placeRequest_ = PlaceRequest{shownBox(), PlaceCodeText(code->magazine, code->place)};
    accept();
}

void MagazineMapWindow::onPrint() {
    ctx_.sound.PlayClick();
    if (ctx_.messages.testMode())
        return;
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted &&
        !PrintBoxSheet(printer, title(), *model_, footLines()))
        ctx_.messages.ShowNotice(QStringLiteral("Der Drucker konnte nicht gestartet werden."));
}

void MagazineMapWindow::onSavePdf() {
    ctx_.sound.PlayClick();
    const QString proposed =
        QDir::home().filePath(QStringLiteral("Magazinübersicht %1.pdf").arg(BoxName(shownBox())));
    const QString file =
        ctx_.messages.GetSaveFileName(QStringLiteral("Als PDF speichern"), QDir::homePath(),
                                      QStringLiteral("PDF (*.pdf)"), proposed);
    if (file.isEmpty())
        return;
    QString error;
    if (!SaveBoxSheetPdf(file, title(), *model_, footLines(), &error))
        ctx_.messages.ShowNotice(
            QStringLiteral("Die PDF-Datei konnte nicht\rgeschrieben werden (") + error +
            QStringLiteral(") !"));
}

void MagazineMapWindow::onHelp() {
    ctx_.sound.PlayClick();
    ctx_.ShowHelp(kHelpContext);
}

bool MagazineMapWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        StepBox(key == Qt::Key_PageUp ? -1 : +1);
        return true;
    }
    if (watched == grid && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        onActivatePlace();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lumo
