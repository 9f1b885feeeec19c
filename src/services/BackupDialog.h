#pragma once
// "Backup erstellen": the five file groups, the target volume, progress and status line;
// runs the backup by hand and, without showing itself, the automatic one at shutdown.
#include "services/logic/BackupCopy.h"
#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QDialog>
#include <QList>

#include <array>
#include <filesystem>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace lumo {

// A volume a backup can go to: `root` is its mount point, the copies go to root/Backup/.
struct BackupTarget {
    QString label; // mount point and volume name, as the chooser shows it
    QString root;
};

class BackupDialog : public QDialog {
    Q_OBJECT
public:
    BackupDialog(const FeatureContext& context, QWidget* parent);

    // The mounted file systems the user can write to, removable media first, then the
    // home directory.
    static QList<BackupTarget> WritableVolumes();

    void Open();        // "&Backup erstellen...", tool button 9
    void StartBackup(); // "&Backup starten": into <chosen volume>/Backup/
    void CloseDialog(); // "Requester &schließen"
    // Copies the checked groups into `target`; `interactive` shows the notice about a
    // backup that is there already. True when the backup ended successfully.
    bool RunBackup(const std::filesystem::path& target, bool interactive);

    // Test seams: where the chooser takes its volumes from, and failures of the copies.
    void setTargetSource(std::function<QList<BackupTarget>()> source) {
        targetSource_ = std::move(source);
    }
    void setCopyFaults(CopyFaults* faults) { faults_ = faults; }

    QString statusText() const;
    QCheckBox* groupBox(int group) const { return groups_.at(static_cast<size_t>(group - 1)); }
    QComboBox* targetBox() const { return targets_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* helpButton() const { return help_; }
    QPushButton* closeButton() const { return close_; }
    QProgressBar* progressBar() const { return progress_; }

    void reject() override; // Esc: as "Requester &schließen", not while a backup runs

private:
    class Run;
    void SetStatus(const QString& text);
    void SetControlsEnabled(bool on);
    void FillTargets();
    void ReportFailure(const BackupFailure& failure);
    // Refuses a target that overlaps the archive (or, for the automatic backup, is not the
    // archive's own Backup directory) with a notice; true when the backup may go there.
    bool TargetAccepted(const std::filesystem::path& target, bool interactive);

    FeatureContext ctx_;
    std::array<QCheckBox*, kBackupGroups> groups_{};
    QGroupBox* groupFrame_ = nullptr;
    QComboBox* targets_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* close_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    std::function<QList<BackupTarget>()> targetSource_ = &WritableVolumes;
    CopyFaults* faults_ = nullptr;
};

// The reason shown for a backup's system error number.
QString BackupErrorReason(int error);

} // namespace lumo
