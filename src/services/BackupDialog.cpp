#include "services/BackupDialog.h"

#include "platform/Sound.h"
#include "services/DialogParts.h"
#include "services/logic/BackupTarget.h"
#include "ui/MessageCatalog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>

namespace lumo {

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString PathText(const std::filesystem::path& p) {
    return QFile::decodeName(QByteArray::fromStdString(p.string()));
}

// File systems that hold no user data or do not survive a restart.
bool IsSystemVolume(const QStorageInfo& v) {
    static const QStringList types{
        QStringLiteral("proc"),       QStringLiteral("sysfs"),   QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),     QStringLiteral("tmpfs"),   QStringLiteral("ramfs"),
        QStringLiteral("cgroup"),     QStringLiteral("cgroup2"), QStringLiteral("overlay"),
        QStringLiteral("squashfs"),   QStringLiteral("autofs"),  QStringLiteral("efivarfs"),
        QStringLiteral("securityfs"), QStringLiteral("debugfs"), QStringLiteral("tracefs")};
    const QString root = v.rootPath();
    const bool systemPath = root.startsWith(QStringLiteral("/proc")) ||
                            root.startsWith(QStringLiteral("/sys")) ||
                            root.startsWith(QStringLiteral("/dev")) ||
                            (root.startsWith(QStringLiteral("/run")) &&
                             !root.startsWith(QStringLiteral("/run/media/")));
    return systemPath || types.contains(QString::fromLatin1(v.fileSystemType()));
}

bool IsRemovableMount(const QString& root) {
    return root.startsWith(QStringLiteral("/media/")) ||
           root.startsWith(QStringLiteral("/run/media/")) ||
           root.startsWith(QStringLiteral("/mnt/"));
}

} // namespace

QString BackupErrorReason(int error) {
    switch (error) {
    case 2:
        return U("Datei nicht gefunden");
    case 19:
        return U("Datenträger schreibgeschützt");
    case 112:
        return U("Datenträger ist voll");
    default:
        return U("Fehler nicht gelistet");
    }
}

// Brings the copy's progress to the dialog and keeps the windows drawn while it runs.
class BackupDialog::Run : public BackupListener {
public:
    explicit Run(BackupDialog& dialog) : dialog_(dialog) { sinceDrawn_.start(); }

    void GroupStarted(int group) override {
        static const char* texts[] = {
            "Kopiere die Diadatenbank...", "Kopiere die Schlüssellisten...",
            "Kopiere die Kopfdatenbank...", "Kopiere die Memos...", "Kopiere die MiniBitmaps..."};
        dialog_.SetStatus(U(texts[group - 1]));
    }
    void SubdirectoryNotCreated(int group) override {
        dialog_.SetStatus(group == kMemoGroup ? U("Memo-Dir existiert bereits...")
                                              : U("Bilder-Dir existiert bereits..."));
        dialog_.ctx_.sound.Delay(2000);
    }
    void Progress(int value) override { dialog_.progress_->setValue(value); }
    void Tick() override {
        if (sinceDrawn_.elapsed() < 40)
            return;
        sinceDrawn_.restart();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    BackupDialog& dialog_;
    QElapsedTimer sinceDrawn_;
};

BackupDialog::BackupDialog(const FeatureContext& context, QWidget* parent)
    : QDialog(parent), ctx_(context) {
    setWindowTitle(QStringLiteral("Backup erstellen"));
    // A small tool window without close box: it closes through its button.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(384, 246);

    groupFrame_ = new QGroupBox(U("Backup-&Einstellungen"), this);
    groupFrame_->setGeometry(8, 6, 206, 150);
    static const char* captions[] = {"Diadatenbank sichern", "Schlüsselliste sichern",
                                     "Kopfdatenbank sichern", "Memos sichern",
                                     "Minibitmaps sichern"};
    for (int i = 0; i < kBackupGroups; ++i) {
        QCheckBox* box = MakeCheckBox(groupFrame_, U(captions[i]), QRect(12, 22 + 25 * i, 186, 22));
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            ctx_.state.settings.backupGroups[static_cast<size_t>(i)] = on;
        });
        groups_[static_cast<size_t>(i)] = box;
    }

    start_ = MakeButton(this, U("&Backup starten"), QRect(224, 12, 152, 30));
    start_->setDefault(true);
    help_ = MakeHelpButton(this, ctx_, 401, QRect(224, 50, 152, 30));
    close_ = MakeButton(this, U("Requester &schließen"), QRect(224, 88, 152, 30));
    connect(start_, &QPushButton::clicked, this, [this] { StartBackup(); });
    connect(close_, &QPushButton::clicked, this, [this] { CloseDialog(); });

    auto* targetLabel = new QLabel(U("&Ziel:"), this);
    targetLabel->setGeometry(8, 166, 40, 24);
    targets_ = new QComboBox(this);
    targets_->setObjectName(QStringLiteral("DriveComboBox1"));
    targets_->setGeometry(50, 166, 326, 24);
    targets_->setAccessibleName(U("Ziel-Laufwerk"));
    targetLabel->setBuddy(targets_);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setGeometry(8, 198, 368, 16);
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setAccessibleName(U("Fortschritt"));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setGeometry(0, 224, 384, 22);
    status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status_->setIndent(4);
    status_->setAccessibleName(U("Status"));

    for (int i = 1; i < kBackupGroups; ++i)
        setTabOrder(groups_[static_cast<size_t>(i - 1)], groups_[static_cast<size_t>(i)]);
    setTabOrder(groups_[kBackupGroups - 1], targets_);
    setTabOrder(targets_, start_);
    setTabOrder(start_, help_);
    setTabOrder(help_, close_);
}

QList<BackupTarget> BackupDialog::WritableVolumes() {
    QList<BackupTarget> removable;
    QList<BackupTarget> fixed;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (!v.isValid() || !v.isReady() || v.isReadOnly() || IsSystemVolume(v))
            continue;
        const QFileInfo info(root);
        if (!info.isDir() || !info.isWritable())
            continue;
        const QString name = v.name();
        const BackupTarget target{name.isEmpty() || name == root
                                      ? root
                                      : root + QStringLiteral(" (") + name + QStringLiteral(")"),
                                  root};
        (IsRemovableMount(root) ? removable : fixed).append(target);
    }
    removable.append(fixed);
    const QString home = QDir::homePath();
    const bool homeListed = std::any_of(removable.begin(), removable.end(),
                                        [&home](const BackupTarget& t) { return t.root == home; });
    if (!homeListed && QFileInfo(home).isWritable())
        removable.append({home + U(" (Persönlicher Ordner)"), home});
    return removable;
}

void BackupDialog::FillTargets() {
    const QString previous = targets_->currentData().toString();
    targets_->clear();
    for (const BackupTarget& t : targetSource_())
        targets_->addItem(t.label, t.root);
    const int keep = targets_->findData(previous);
    if (keep >= 0)
        targets_->setCurrentIndex(keep);
}

QString BackupDialog::statusText() const {
    return status_->text();
}

void BackupDialog::SetStatus(const QString& text) {
    status_->setText(text);
    status_->repaint();
}

void BackupDialog::SetControlsEnabled(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(start_), static_cast<QWidget*>(help_),
                       static_cast<QWidget*>(close_), static_cast<QWidget*>(targets_)})
        w->setEnabled(on);
    for (QCheckBox* box : groups_)
        box->setEnabled(on);
}

void BackupDialog::Open() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    if (st.counters.totalRecords == 0) {
        ctx_.messages.ShowError(53);
        return;
    }
    ctx_.TakeOverMainScreen();
    ctx_.screen.SetWindowCaptionSuffix(U(" - Backup erstellen..."));
    move(ctx_.Place(155, 143));
    for (int i = 0; i < kBackupGroups; ++i)
        groups_[static_cast<size_t>(i)]->setChecked(
            st.settings.backupGroups[static_cast<size_t>(i)]);
    FillTargets();
    SetStatus(U("Bitte markieren Sie Ihre Backup-Einstellungen."));
    ctx_.messages.ShowStatus(20);
    progress_->setRange(0, 100);
    progress_->setValue(100);
    start_->setFocus();
    exec();
    ctx_.GiveBackMainScreen();
}

void BackupDialog::StartBackup() {
    ctx_.sound.PlayClick();
    const QString root = targets_->currentData().toString();
    if (root.isEmpty())
        return; // no volume to write to
    RunBackup(std::filesystem::path(QFile::encodeName(root).toStdString()) / "Backup", true);
}

void BackupDialog::CloseDialog() {
    ctx_.sound.PlayClick();
    ctx_.SaveSettings();
    accept();
}

void BackupDialog::reject() {
    if (close_->isEnabled())
        CloseDialog();
}

bool BackupDialog::RunBackup(const std::filesystem::path& target, bool interactive) {
    auto& st = ctx_.state;
    // The check boxes are the group choice; the automatic backup takes it as loaded.
    for (int i = 0; i < kBackupGroups; ++i)
        groups_[static_cast<size_t>(i)]->setChecked(
            st.settings.backupGroups[static_cast<size_t>(i)]);
    ctx_.SaveSettings(); // the copied DIA.INI is the current one
    const QString targetText = PathText(target) + QStringLiteral("/");
    if (!TargetAccepted(target, interactive))
        return false;
    SetStatus(U("Erstelle Backupverzeichnis ") + targetText + QStringLiteral("..."));
    BackupRequest request;
    request.targetDir = target;
    request.groups = st.settings.backupGroups;
    request.totalRecords = st.counters.totalRecords;
    request.faults = faults_;
    if (const int err = MakeDirectory(target)) {
        SetStatus(U("Backupverzeichnis existiert bereits..."));
        request.targetDirError = err == EEXIST ? 0 : err;
    }
    progress_->setRange(0, 100);
    progress_->setValue(0);
    SetControlsEnabled(false);
    ctx_.messages.ShowStatus(30);
    if (PrepareBackupTarget(st.archive, request) && interactive) {
        ctx_.messages.ShowNotice(U("Der aktuelle Datenträger enthält bereits ein\rBackup Ihres "
                                   "Lumorettas. Diese Dateien\rwerden nun aktualisiert und "
                                   "überschrieben.\rBackup verwendet den Pfad ") +
                                 targetText);
        ctx_.SetScreenCaptions(mode::Disabled);
        if (QWidget* main = ctx_.MainWidget())
            main->repaint();
        repaint();
    }
    ctx_.screen.SetBusyCursor(true);
    Run run(*this);
    if (const auto failure = CopyBackupGroups(st.archive, request, run)) {
        ReportFailure(*failure);
        return false;
    }
    SetControlsEnabled(true);
    progress_->setValue(100);
    SetStatus(U("Backup erfolgreich beendet..."));
    ctx_.screen.SetBusyCursor(false);
    ctx_.sound.PlaySoundCue(QStringLiteral("bell"), 0);
    ctx_.messages.ShowStatus(20);
    return true;
}

bool BackupDialog::TargetAccepted(const std::filesystem::path& target, bool interactive) {
    const auto& archive = ctx_.state.archive;
    const BackupTargetCheck check =
        interactive ? CheckChosenBackupTarget(archive, target) : CheckAutomaticBackupTarget(target);
    if (check == BackupTargetCheck::Usable)
        return true;
    SetStatus(U("Backup war leider nicht erfolgreich !"));
    const QString where = PathText(target) + QStringLiteral("/");
    ctx_.messages.ShowNotice(
        check == BackupTargetCheck::OverlapsArchive
            ? U("Das Backup kann nicht nach\r") + where +
                  U("\rgeschrieben werden: dieses Verzeichnis ist\rIhr Archiv, liegt in "
                    "ihm oder enthält es.\rBitte wählen Sie einen anderen Datenträger.")
            : U("Das Auto-Backup wurde nicht durchgeführt:\r") + where +
                  U("\rist kein eigenes Verzeichnis Ihres Archivs.\rEs wird nichts "
                    "dorthin geschrieben."));
    ctx_.messages.ShowStatus(20);
    return false;
}

void BackupDialog::ReportFailure(const BackupFailure& failure) {
    SetStatus(U("Backup war leider nicht erfolgreich !"));
    // The cursor is normal again before the notice waits for the user.
    ctx_.screen.SetBusyCursor(false);
    ctx_.messages.ShowNotice(U("Beim Backup trat folgendes Problem auf...\rFehler Nr.") +
                             QString::number(failure.error) + U(" --> ") +
                             BackupErrorReason(failure.error) + U("\rQuelle war ") +
                             QFile::decodeName(QByteArray::fromStdString(failure.source)) +
                             U("\rZiel ist ") + PathText(failure.target));
    SetControlsEnabled(true);
    progress_->setValue(0);
    ctx_.messages.ShowStatus(20);
    repaint();
    ctx_.SetScreenCaptions(mode::Disabled);
}

} // namespace lumo
