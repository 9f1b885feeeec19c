#include "services/ServiceCommands.h"

#include "services/BackupDialog.h"
#include "services/PreferencesDialog.h"
#include "services/TipsDialog.h"
#include "services/TrayIcon.h"
#include "services/logic/Tips.h"
#include "store/FileUtil.h"
#include "ui/AppState.h"

namespace lumo {

ServiceCommands::ServiceCommands(const FeatureContext& context)
    : ctx_(context), archives_(context),
      backup_(std::make_unique<BackupDialog>(context, context.MainWidget())),
      preferences_(std::make_unique<PreferencesDialog>(context, context.MainWidget())),
      tips_(std::make_unique<TipsDialog>(context, context.MainWidget())),
      tray_(std::make_unique<TrayIcon>(context)) {}

ServiceCommands::~ServiceCommands() = default;

void ServiceCommands::OpenArchive() {
    archives_.OpenArchive();
}

void ServiceCommands::CreateArchive() {
    archives_.CreateArchive();
}

void ServiceCommands::OpenBackup() {
    backup_->Open();
}

void ServiceCommands::OpenPreferences() {
    preferences_->Open();
}

void ServiceCommands::OpenTips() {
    tips_->Open();
}

bool ServiceCommands::RunAutoBackup() {
    tray_->Remove();
    return backup_->RunBackup(ctx_.state.archive.dir() / "Backup", false);
}

void ServiceCommands::PrepareStartupTip() {
    auto& st = ctx_.state;
    st.tipText.clear();
    st.tipReady = false;
    const int32_t n = StartupTipNumber(st.archive, st.settings.tipNumber);
    if (n == 0)
        return;
    if (auto text = ReadWholeFile(st.archive.resolve(TipFileName(n)))) {
        st.settings.tipNumber = n;
        st.tipText = std::move(*text);
        st.tipReady = true;
    }
}

void ServiceCommands::ShowStartupTip() {
    tips_->OpenAtStart();
}

} // namespace lumo
