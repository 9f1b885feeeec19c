#pragma once
// The services as the main window starts them: archives, backup, preferences, tips and
// the notification-area icon. Created once with the main window; owns its windows.
#include "services/ArchiveCommands.h"
#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <memory>

namespace lumo {

class BackupDialog;
class PreferencesDialog;
class TipsDialog;
class TrayIcon;

class ServiceCommands {
public:
    explicit ServiceCommands(const FeatureContext& context);
    ~ServiceCommands();
    ServiceCommands(const ServiceCommands&) = delete;
    ServiceCommands& operator=(const ServiceCommands&) = delete;

    void OpenArchive();     // "Archiv &öffnen..."
    void CreateArchive();   // "&Neues Archiv erstellen..."
    void OpenBackup();      // "&Backup erstellen...", tool button 9
    void OpenPreferences(); // "&System-Einstellungen...", tool button 10, DIENSTE
    void OpenTips();        // "&Tips anzeigen"

    // Shutdown with auto-backup: removes the tray icon and copies the checked groups
    // into the archive's Backup directory without showing the dialog.
    bool RunAutoBackup(); // true when the copy completed
    // Start-up: the tip of the setting TIP, or the first tip there is when that one is
    // missing (no tip, and no error, when there is none).
    void PrepareStartupTip();
    // Shows the prepared tip (nothing when none is ready).
    void ShowStartupTip();

    ArchiveCommands& archives() { return archives_; }
    BackupDialog& backupDialog() const { return *backup_; }
    PreferencesDialog& preferencesDialog() const { return *preferences_; }
    TipsDialog& tipsDialog() const { return *tips_; }
    TrayIcon& trayIcon() const { return *tray_; }

private:
    FeatureContext ctx_;
    ArchiveCommands archives_;
    // Parented to the main window, which outlives this object only during its own
    // destruction: the windows are released here first.
    std::unique_ptr<BackupDialog> backup_;
    std::unique_ptr<PreferencesDialog> preferences_;
    std::unique_ptr<TipsDialog> tips_;
    std::unique_ptr<TrayIcon> tray_;
};

} // namespace lumo
