#include "extras/PictureImportDialog.h"

#include "extras/ScanImport.h"
#include "extras/logic/PlaceGrid.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "store/SlideDatabase.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lumo {

namespace {

constexpr int kHelpContext = 602;
enum Column { FileColumn, SlideColumn, InfoColumn, PictureColumn, NoteColumn };

QPushButton* Button(const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    return b;
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(u'&').remove(u':'));
    return l;
}

QString NoteOf(const ScanRow& row) {
    switch (row.match) {
    case ScanMatch::Ready:
        return QStringLiteral("wird zugeordnet");
    case ScanMatch::PictureThere:
        return QStringLiteral("Bild vorhanden: ersetzen ankreuzen");
    default:
        return SkipText(row).section(QStringLiteral(": "), 1);
    }
}

} // namespace

PictureImportDialog::PictureImportDialog(const FeatureContext& ctx)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx) {
    setWindowTitle(QStringLiteral("Bilder zuordnen"));
    InstallHelpKey(this, [this] { onHelp(); });
    resize(820, 560);

    folderEdit = new QLineEdit(this);
    folderButton = Button(QStringLiteral("&Ordner wählen..."), this);
    byNameButton = new QRadioButton(QStringLiteral("Dianummer aus dem &Dateinamen"), this);
    inOrderButton = new QRadioButton(QStringLiteral("Nach &Namen geordnet ab Dia"), this);
    byNameButton->setChecked(true);
    firstSlideBox = new QSpinBox(this);
    firstSlideBox->setRange(1, kMaxSlideNumber);
    firstSlideBox->setAccessibleName(QStringLiteral("Erste Dianummer"));
    qualityBox = new QSpinBox(this);
    qualityBox->setRange(1, 100);
    qualityBox->setValue(kDefaultJpegQuality);

    table = new QTableWidget(0, 5, this);
    table->setAccessibleName(QStringLiteral("Vorschau der Zuordnung"));
    table->setHorizontalHeaderLabels({QStringLiteral("Datei"), QStringLiteral("Dia"),
                                      QStringLiteral("Informationstext"),
                                      QStringLiteral("Bild vorhanden"), QStringLiteral("Hinweis")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(FileColumn, 170);
    table->setColumnWidth(SlideColumn, 60);
    table->setColumnWidth(InfoColumn, 220);
    table->setColumnWidth(PictureColumn, 130);
    progress = new QProgressBar(this);
    progress->setAccessibleName(QStringLiteral("Fortschritt"));
    progress->setRange(0, 1);
    progress->setValue(0);

    importButton = Button(QStringLiteral("&Zuordnen"), this);
    cancelButton = Button(QStringLiteral("&Abbrechen"), this);
    helpButton = Button(QStringLiteral("&Hilfe"), this);
    closeButton = Button(QStringLiteral("&Schließen"), this);

    auto* form = new QGridLayout;
    form->addWidget(Caption(QStringLiteral("Ordner der &Bilder:"), folderEdit, this), 0, 0);
    form->addWidget(folderEdit, 0, 1, 1, 2);
    form->addWidget(folderButton, 0, 3);
    form->addWidget(byNameButton, 1, 0, 1, 2);
    form->addWidget(inOrderButton, 2, 0);
    form->addWidget(firstSlideBox, 2, 1);
    form->addWidget(Caption(QStringLiteral("&JPEG-Qualität:"), qualityBox, this), 3, 0);
    form->addWidget(qualityBox, 3, 1);
    form->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(importButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);
    buttons->addWidget(helpButton);
    buttons->addWidget(closeButton);
    auto* all = new QVBoxLayout(this);
    all->addLayout(form);
    all->addWidget(table, 1);
    all->addWidget(progress);
    all->addLayout(buttons);

    connect(folderButton, &QPushButton::clicked, this, [this] { onChooseFolder(); });
    connect(folderEdit, &QLineEdit::returnPressed, this, [this] { Plan(); });
    connect(byNameButton, &QRadioButton::toggled, this, [this] { Plan(); });
    connect(firstSlideBox, &QSpinBox::valueChanged, this, [this] {
        if (inOrderButton->isChecked())
            Plan();
    });
    connect(importButton, &QPushButton::clicked, this, [this] { onImport(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { onCancel(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { reject(); });
}

PictureImportDialog::~PictureImportDialog() = default;

void PictureImportDialog::Prepare() {
    rows_.clear();
    table->setRowCount(0);
    progress->setRange(0, 1);
    progress->setValue(0);
    summary_.clear();
    importButton->setEnabled(false);
    cancelButton->setEnabled(false);
    folderEdit->setFocus();
    if (!folderEdit->text().isEmpty())
        Plan();
}

void PictureImportDialog::onChooseFolder() {
    const QString folder = ctx_.messages.GetExistingDirectory(
        QStringLiteral("Ordner der Bilder wählen"),
        folderEdit->text().isEmpty() ? QDir::homePath() : folderEdit->text());
    if (folder.isEmpty())
        return;
    folderEdit->setText(folder);
    Plan();
}

void PictureImportDialog::Plan() {
    auto& st = ctx_.state;
    const QString folder = folderEdit->text();
    rows_.clear();
    if (!folder.isEmpty() && QDir(folder).exists()) {
        Counters counters;
        if (const Problem p = CountRecords(st.archive, counters))
            ctx_.messages.Report(p);
        rows_ = PlanScanImport(ListScanFiles(folder),
                               inOrderButton->isChecked() ? firstSlideBox->value() : 0,
                               counters.totalRecords, PictureLookup(st.archive));
    }
    CollectionIndex slides;
    slides.Load(st.archive);
    table->setRowCount(int(rows_.size()));
    for (int r = 0; r < int(rows_.size()); ++r) {
        const ScanRow& row = rows_[size_t(r)];
        auto cell = [&](Column c, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            table->setItem(r, c, item);
            return item;
        };
        cell(FileColumn, QFile::decodeName(QByteArray::fromStdString(row.file)));
        cell(SlideColumn, row.slide > 0 ? QString::number(row.slide) : QStringLiteral("–"));
        const std::string info = slides.InfoField(row.slide);
        cell(InfoColumn, FromCp1252(info.size() > 4 ? info.substr(4) : info));
        auto* picture = cell(PictureColumn, row.match == ScanMatch::PictureThere
                                                ? QStringLiteral("ja, ersetzen")
                                                : QStringLiteral("nein"));
        if (row.match == ScanMatch::PictureThere) {
            picture->setFlags(picture->flags() | Qt::ItemIsUserCheckable);
            picture->setCheckState(Qt::Unchecked);
        }
        cell(NoteColumn, NoteOf(row));
    }
    importButton->setEnabled(!rows_.empty());
}

void PictureImportDialog::TakeReplaceTicks() {
    for (int r = 0; r < int(rows_.size()); ++r)
        if (rows_[size_t(r)].match == ScanMatch::PictureThere)
            rows_[size_t(r)].replace = table->item(r, PictureColumn)->checkState() == Qt::Checked;
}

void PictureImportDialog::onImport() {
    if (run_)
        return;
    ctx_.sound.PlayClick();
    TakeReplaceTicks();
    int imported = 0, kept = 0, failed = 0;
    std::vector<int> rowOfJob;
    for (int r = 0; r < int(rows_.size()); ++r) {
        const ScanRow& row = rows_[size_t(r)];
        if (row.willImport())
            rowOfJob.push_back(r);
        else
            ++(row.failedToMatch() ? failed : kept);
    }
    run_ = std::make_unique<PictureImportRun>(
        MakeImportJobs(ctx_.state.archive, folderEdit->text(), rows_), qualityBox->value());
    progress->setRange(0, std::max(1, int(rowOfJob.size())));
    progress->setValue(0);
    importButton->setEnabled(false);
    cancelButton->setEnabled(true);
    cancelButton->setFocus();
    run_->start();
    int finished = 0;
    while (!run_->done()) {
        for (const ImportOutcome& outcome : run_->take(30)) {
            const int r = rowOfJob[outcome.job];
            table->item(r, NoteColumn)
                ->setText(outcome.ok ? QStringLiteral("zugeordnet")
                                     : outcome.text.section(QStringLiteral(": "), 1));
            ++(outcome.ok ? imported : failed);
            progress->setValue(++finished);
        }
        QCoreApplication::processEvents();
    }
    const bool stopped = run_->cancelled();
    run_.reset();
    cancelButton->setEnabled(false);
    summary_ = QStringLiteral("Bilder zugeordnet: %1\rnicht ersetzt: %2\rfehlerhaft: %3")
                   .arg(imported)
                   .arg(kept)
                   .arg(failed);
    if (stopped)
        summary_ += QStringLiteral("\rabgebrochen: %1").arg(int(rowOfJob.size()) - finished);
    ctx_.messages.ShowNotice(summary_);
}

void PictureImportDialog::onCancel() {
    if (run_)
        run_->cancel();
}

void PictureImportDialog::onHelp() {
    ctx_.sound.PlayClick();
    ctx_.ShowHelp(kHelpContext);
}

void PictureImportDialog::reject() {
    if (run_) {
        run_->cancel();
        return;
    }
    QDialog::reject();
}

} // namespace lumo
