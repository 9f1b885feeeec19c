#include "extras/LabelsDialog.h"

#include "extras/CsvExport.h"
#include "extras/LabelPrinting.h"
#include "extras/LoadingListPrinting.h"
#include "extras/PrintedPages.h"
#include "platform/Help.h"
#include "store/Settings.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <numeric>

namespace lumo {

namespace {

const QMarginsF kListMargins(15, 15, 15, 12);

// A spin box named for assistive tools by its caption, which is its buddy.
template <typename Spin> Spin* NamedSpin(QWidget* parent, QLabel* caption) {
    auto* spin = new Spin(parent);
    caption->setBuddy(spin);
    spin->setAccessibleName(caption->text().remove(u'&').remove(u':'));
    return spin;
}

} // namespace

LabelsDialog::LabelsDialog(const FeatureContext& ctx)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx) {
    setWindowTitle(QStringLiteral("Etiketten und Ladelisten"));
    // F1: the help's contents (the archive's help has no topic of the extras).
    InstallHelpKey(this, [this] { ctx_.ShowHelp(1); });
    auto* layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    tabs->addTab(buildLabelsPage(), QStringLiteral("&Etiketten"));
    tabs->addTab(buildLoadingListPage(), QStringLiteral("&Ladeliste"));
    layout->addWidget(tabs);

    auto* buttons = new QHBoxLayout;
    printButton = new QPushButton(QStringLiteral("&Drucken..."), this);
    pdfButton = new QPushButton(QStringLiteral("Als &PDF speichern..."), this);
    pdfButton->setDefault(true);
    printButton->setAutoDefault(false);
    closeButton = new QPushButton(QStringLiteral("S&chließen"), this);
    closeButton->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(printButton);
    buttons->addWidget(pdfButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    connect(printButton, &QPushButton::clicked, this, [this] { onPrint(); });
    connect(pdfButton, &QPushButton::clicked, this, [this] { onSavePdf(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    onSheetChosen();
}

QWidget* LabelsDialog::buildLabelsPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);

    auto* range = new QHBoxLayout;
    rangeChoice = new QRadioButton(QStringLiteral("Dias &von"), page);
    rangeChoice->setChecked(true);
    fromEdit = new QSpinBox(page);
    fromEdit->setAccessibleName(QStringLiteral("Dias von"));
    auto* toLabel = new QLabel(QStringLiteral("&bis"), page);
    toEdit = NamedSpin<QSpinBox>(page, toLabel);
    for (QSpinBox* s : {fromEdit, toEdit})
        s->setRange(1, kMaxSlideNumber);
    range->addWidget(rangeChoice);
    range->addWidget(fromEdit);
    range->addWidget(toLabel);
    range->addWidget(toEdit);
    range->addStretch(1);
    form->addRow(range);
    resultChoice = new QRadioButton(QStringLiteral("aktuelle E&rgebnisliste"), page);
    form->addRow(resultChoice);

    auto* sheetLabel = new QLabel(QStringLiteral("Bo&gen:"), page);
    sheetChoice = NamedSpin<QComboBox>(page, sheetLabel);
    for (const LabelSheet& s : CommonLabelSheets())
        sheetChoice->addItem(QString::fromStdString(s.name));
    sheetChoice->addItem(QStringLiteral("Eigene Größe"));
    sheetChoice->setCurrentIndex(2);
    form->addRow(sheetLabel, sheetChoice);

    auto* widthLabel = new QLabel(QStringLiteral("Brei&te (mm):"), page);
    widthEdit = NamedSpin<QDoubleSpinBox>(page, widthLabel);
    auto* heightLabel = new QLabel(QStringLiteral("&Höhe (mm):"), page);
    heightEdit = NamedSpin<QDoubleSpinBox>(page, heightLabel);
    for (QDoubleSpinBox* s : {widthEdit, heightEdit}) {
        s->setLocale(QLocale(QLocale::German, QLocale::Germany));
        s->setDecimals(1);
        s->setRange(5, 190);
    }
    form->addRow(widthLabel, widthEdit);
    form->addRow(heightLabel, heightEdit);

    auto* startLabel = new QLabel(QStringLiteral("&Startposition:"), page);
    startEdit = NamedSpin<QSpinBox>(page, startLabel);
    perSheetLabel = new QLabel(page);
    auto* start = new QHBoxLayout;
    start->addWidget(startEdit);
    start->addWidget(perSheetLabel);
    start->addStretch(1);
    form->addRow(startLabel, start);

    connect(sheetChoice, &QComboBox::currentIndexChanged, this, [this] { onSheetChosen(); });
    for (QDoubleSpinBox* s : {widthEdit, heightEdit})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] { onSheetChosen(); });
    return page;
}

QWidget* LabelsDialog::buildLoadingListPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    auto* boxLabel = new QLabel(QStringLiteral("&Kasten:"), page);
    boxEdit = NamedSpin<QSpinBox>(page, boxLabel);
    boxEdit->setRange(1, 255);
    form->addRow(boxLabel, boxEdit);
    form->addRow(new QLabel(QStringLiteral("Die Magazine des Kastens in Platzfolge, mit "
                                           "Position, Dia-Nr.,\nInformationstext und "
                                           "Schlüsseln; die Kastenbezeichnungen obenauf."),
                            page));
    return page;
}

void LabelsDialog::Prepare(std::vector<int32_t> resultSlides) {
    resultSlides_ = std::move(resultSlides);
    resultChoice->setText(
        QStringLiteral("aktuelle E&rgebnisliste (%1 Dias)").arg(resultSlides_.size()));
    resultChoice->setEnabled(!resultSlides_.empty());
    (resultSlides_.empty() ? rangeChoice : resultChoice)->setChecked(true);
    const int total = std::max(1, std::min(ctx_.state.counters.totalRecords, kMaxSlideNumber));
    toEdit->setValue(std::min(toEdit->value() == 1 ? total : toEdit->value(), total));
    if (ctx_.state.boxNumber >= 1 && ctx_.state.boxNumber <= 255)
        boxEdit->setValue(ctx_.state.boxNumber);
    tabs->setCurrentIndex(0);
    sheetChoice->setFocus();
}

void LabelsDialog::onSheetChosen() {
    const auto& table = CommonLabelSheets();
    const bool own = sheetChoice->currentIndex() >= int(table.size());
    widthEdit->setEnabled(own);
    heightEdit->setEnabled(own);
    if (!own) {
        const LabelSheet& s = table[size_t(sheetChoice->currentIndex())];
        const QSignalBlocker w(widthEdit), h(heightEdit);
        widthEdit->setValue(s.labelWidth);
        heightEdit->setValue(s.labelHeight);
    }
    const int per = chosenSheet().perSheet();
    startEdit->setRange(1, std::max(1, per));
    perSheetLabel->setText(QStringLiteral("von %1 Etiketten je Bogen").arg(per));
}

LabelSheet LabelsDialog::chosenSheet() const {
    const auto& table = CommonLabelSheets();
    const int i = sheetChoice->currentIndex();
    if (i >= 0 && i < int(table.size()))
        return table[size_t(i)];
    return LabelSheetOfSize(widthEdit->value(), heightEdit->value());
}

bool LabelsDialog::labelsShown() const {
    return tabs->currentIndex() == 0;
}

std::optional<std::vector<LabelText>> LabelsDialog::chosenLabels() {
    std::vector<int32_t> only;
    if (resultChoice->isChecked() && resultChoice->isEnabled()) {
        only = resultSlides_;
    } else {
        const int from = std::min(fromEdit->value(), toEdit->value());
        only.resize(size_t(std::max(fromEdit->value(), toEdit->value()) - from + 1));
        std::iota(only.begin(), only.end(), from);
    }
    std::vector<CatalogSlide> slides;
    if (Problem p = ReadCatalog(ctx_.state.archive, slides, only, CatalogParts{false, false})) {
        ctx_.messages.Report(p);
        return std::nullopt;
    }
    if (slides.empty()) {
        ctx_.messages.ShowNotice(
            QStringLiteral("Unter diesen Nummern sind keine Dias gespeichert."));
        return std::nullopt;
    }
    // The result list's order, not the archive's.
    if (resultChoice->isChecked() && resultChoice->isEnabled()) {
        std::vector<const CatalogSlide*> byNumber(size_t(kMaxSlideNumber) + 1, nullptr);
        for (const CatalogSlide& s : slides)
            byNumber[size_t(s.number)] = &s;
        std::vector<LabelText> labels;
        for (int32_t n : resultSlides_)
            if (n >= 1 && n <= kMaxSlideNumber && byNumber[size_t(n)])
                labels.push_back(LabelTextOf(*byNumber[size_t(n)]));
        return labels;
    }
    std::vector<LabelText> labels;
    labels.reserve(slides.size());
    for (const CatalogSlide& s : slides)
        labels.push_back(LabelTextOf(s));
    return labels;
}

std::optional<LoadingList> LabelsDialog::chosenLoadingList() {
    std::vector<CatalogSlide> slides;
    if (Problem p =
            ReadCatalog(ctx_.state.archive, slides, std::nullopt, CatalogParts{false, false})) {
        ctx_.messages.Report(p);
        return std::nullopt;
    }
    std::string magazine, theme;
    ReadBoxLabel(ctx_.state.archive, boxEdit->value(), magazine, theme);
    return BuildLoadingList(boxEdit->value(), slides, magazine, theme);
}

void LabelsDialog::onSavePdf() {
    const bool labels = labelsShown();
    const QString proposed = labels
                                 ? QStringLiteral("etiketten.pdf")
                                 : QStringLiteral("ladeliste-kasten-%1.pdf").arg(boxEdit->value());
    const QString file = ctx_.messages.GetSaveFileName(
        QStringLiteral("Als PDF speichern"), QDir::homePath(),
        QStringLiteral("PDF-Dateien (*.pdf)"), QDir::home().filePath(proposed));
    if (file.isEmpty())
        return;
    QString error;
    bool ok = false;
    ctx_.screen.SetBusyCursor(true);
    if (labels) {
        const auto texts = chosenLabels();
        if (!texts) {
            ctx_.screen.SetBusyCursor(false);
            return;
        }
        const LabelSheet sheet = chosenSheet();
        ok = WritePdfFile(
            file, QStringLiteral("Etiketten"), QMarginsF(),
            [&](QPagedPaintDevice& d) { return PaintLabels(d, sheet, startEdit->value(), *texts); },
            &error);
    } else {
        const auto list = chosenLoadingList();
        if (!list) {
            ctx_.screen.SetBusyCursor(false);
            return;
        }
        ok = WritePdfFile(
            file, QStringLiteral("Ladeliste Kasten %1").arg(list->box), kListMargins,
            [&](QPagedPaintDevice& d) { return PaintLoadingList(d, *list); }, &error);
    }
    ctx_.screen.SetBusyCursor(false);
    ctx_.messages.ShowNotice(ok ? QStringLiteral("Gespeichert in\r") + file
                                : QStringLiteral("Die Datei ") + file +
                                      QStringLiteral(" konnte nicht geschrieben werden:\r") +
                                      error);
}

void LabelsDialog::onPrint() {
    const bool labels = labelsShown();
    std::optional<std::vector<LabelText>> texts;
    std::optional<LoadingList> list;
    if (labels ? !(texts = chosenLabels()) : !(list = chosenLoadingList()))
        return;
    QPrinter printer(QPrinter::HighResolution);
    SetUpA4Printer(printer, labels ? QMarginsF() : kListMargins);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ctx_.screen.SetBusyCursor(true);
    const bool ok = labels ? PaintLabels(printer, chosenSheet(), startEdit->value(), *texts)
                           : PaintLoadingList(printer, *list);
    ctx_.screen.SetBusyCursor(false);
    if (!ok)
        ctx_.messages.ShowNotice(QStringLiteral("Der Drucker hat den Auftrag nicht angenommen."));
}

} // namespace lumo
