#include "extras/ExportDialog.h"

#include "extras/CsvExport.h"
#include "extras/XmpSidecars.h"
#include "platform/Help.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QButtonGroup>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <optional>

namespace lumo {

namespace {

// At most this many failed sidecars are named in the notice; the rest are counted.
constexpr int kNamedFailures = 5;

} // namespace

ExportDialog::ExportDialog(const FeatureContext& ctx)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx) {
    setWindowTitle(QStringLiteral("Exportieren"));
    // F1: the help's contents (the archive's help has no topic of the extras).
    InstallHelpKey(this, [this] { ctx_.ShowHelp(1); });
    auto* layout = new QVBoxLayout(this);

    auto* what = new QGroupBox(QStringLiteral("Ausgabe"), this);
    auto* whatLayout = new QVBoxLayout(what);
    csvChoice = new QRadioButton(QStringLiteral("&Tabelle für Tabellenkalkulation (CSV)"), what);
    xmpChoice = new QRadioButton(
        QStringLiteral("&Schlüsselwörter für Bildverwaltung (XMP-Dateien neben bilder\\<n>.jpg)"),
        what);
    csvChoice->setChecked(true);
    whatLayout->addWidget(csvChoice);
    whatLayout->addWidget(xmpChoice);
    layout->addWidget(what);

    auto* which = new QGroupBox(QStringLiteral("Dias"), this);
    auto* whichLayout = new QVBoxLayout(which);
    archiveChoice = new QRadioButton(QStringLiteral("ganzes &Archiv"), which);
    resultChoice = new QRadioButton(QStringLiteral("aktuelle E&rgebnisliste"), which);
    archiveChoice->setChecked(true);
    whichLayout->addWidget(archiveChoice);
    whichLayout->addWidget(resultChoice);
    layout->addWidget(which);

    auto* fileRow = new QHBoxLayout;
    auto* fileLabel = new QLabel(QStringLiteral("&Datei:"), this);
    fileEdit = new QLineEdit(this);
    fileEdit->setMinimumWidth(320);
    fileEdit->setAccessibleName(QStringLiteral("Datei"));
    fileLabel->setBuddy(fileEdit);
    browseButton = new QPushButton(QStringLiteral("D&urchsuchen..."), this);
    browseButton->setAutoDefault(false);
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(fileEdit, 1);
    fileRow->addWidget(browseButton);
    layout->addLayout(fileRow);

    auto* buttons = new QHBoxLayout;
    exportButton = new QPushButton(QStringLiteral("E&xportieren"), this);
    exportButton->setDefault(true);
    closeButton = new QPushButton(QStringLiteral("S&chließen"), this);
    closeButton->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(csvChoice, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    connect(browseButton, &QPushButton::clicked, this, [this] { onBrowse(); });
    connect(exportButton, &QPushButton::clicked, this, [this] { onExport(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ExportDialog::Prepare(std::vector<int32_t> resultSlides) {
    resultSlides_ = std::move(resultSlides);
    resultChoice->setText(
        QStringLiteral("aktuelle E&rgebnisliste (%1 Dias)").arg(resultSlides_.size()));
    resultChoice->setEnabled(!resultSlides_.empty());
    if (resultSlides_.empty())
        archiveChoice->setChecked(true);
    if (fileEdit->text().isEmpty())
        fileEdit->setText(QDir::home().filePath(QStringLiteral("dias.csv")));
    updateEnabled();
    csvChoice->isChecked() ? csvChoice->setFocus() : xmpChoice->setFocus();
}

void ExportDialog::updateEnabled() {
    fileEdit->setEnabled(csvChoice->isChecked());
    browseButton->setEnabled(csvChoice->isChecked());
}

void ExportDialog::onBrowse() {
    const QString file = ctx_.messages.GetSaveFileName(
        QStringLiteral("Tabelle speichern"), QFileInfo(fileEdit->text()).absolutePath(),
        QStringLiteral("CSV-Tabellen (*.csv)"), fileEdit->text());
    if (!file.isEmpty())
        fileEdit->setText(file);
}

void ExportDialog::onExport() {
    auto& st = ctx_.state;
    std::optional<std::vector<int32_t>> only;
    if (resultChoice->isChecked() && resultChoice->isEnabled())
        only = resultSlides_;
    ExportOutcome outcome;
    if (csvChoice->isChecked()) {
        const QString name = fileEdit->text().trimmed();
        if (name.isEmpty()) {
            ctx_.messages.ShowNotice(QStringLiteral("Bitte geben Sie die Datei an,\rin die "
                                                    "die Tabelle geschrieben wird."));
            fileEdit->setFocus();
            return;
        }
        // A name without a directory goes beside the archive, as typed in its directory.
        const QString path = QDir(QString::fromStdString(st.archive.dir().string()))
                                 .absoluteFilePath(QDir::fromNativeSeparators(name));
        ctx_.screen.SetBusyCursor(true);
        outcome = ExportCsv(st.archive, path.toStdString(), only);
        ctx_.screen.SetBusyCursor(false);
    } else {
        QStringList failed;
        int unnamed = 0;
        ctx_.screen.SetBusyCursor(true);
        outcome =
            ExportSidecars(st.archive, only, [&](const std::string& name, const std::string& why) {
                if (why.empty())
                    return;
                if (failed.size() < kNamedFailures)
                    failed << QString::fromStdString(name + ": " + why);
                else
                    ++unnamed;
            });
        ctx_.screen.SetBusyCursor(false);
        if (!failed.isEmpty()) {
            outcome.message += "\r" + failed.join(QLatin1Char('\r')).toStdString();
            if (unnamed > 0)
                outcome.message += "\r... und " + std::to_string(unnamed) + " weitere";
        }
    }
    ctx_.messages.ShowNotice(QString::fromStdString(outcome.message));
    if (outcome.ok)
        accept();
}

} // namespace lumo
