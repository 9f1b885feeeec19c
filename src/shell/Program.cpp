#include "shell/Program.h"

#include "editing/RecordCommands.h"
#include "editing/SlideEntryCommands.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Launcher.h"
#include "platform/ProgramApproval.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "services/ServiceCommands.h"
#include "shell/ContextHelp.h"
#include "shell/MainWindow.h"
#include "ui/ArchiveGuard.h"
#include "ui/MessageCatalog.h"

#include <QTimer>

namespace lumo {

Program::Program(std::filesystem::path archiveDir, bool testMode)
    : state_(std::make_unique<AppState>()) {
    state_->archive.setDir(std::move(archiveDir));
    sound_ = std::make_unique<SoundCue>(state_->archive, state_->settings);
    help_ = std::make_unique<HelpViewer>();
    launcher_ = std::make_unique<Launcher>();
    messages_ = std::make_unique<MessageCatalog>(*state_, *sound_, *help_);
    main_ = std::make_unique<MainWindow>(*state_, *messages_, *sound_, *launcher_, *help_);
    messages_->setScreen(main_.get());
    help_->setOwner(main_.get());
    messages_->setModeHelpTopic(ModeHelpContext);
    entry_ = std::make_unique<SlideEntryCommands>(main_->context());
    search_ = std::make_unique<SearchCommands>(main_->context());
    main_->setCommands(entry_.get(), search_.get());
    services_ = std::make_unique<ServiceCommands>(main_->context());
    main_->setServices(services_.get());
    records_ = std::make_unique<RecordCommands>(main_->context());
    main_->setRecordCommands(records_.get());
    messages_->setKeywordInsertion([this](const QString& name) { entry_->InsertKeyword(name); });
    if (testMode) {
        messages_->setTestMode(true);
        sound_->setTestMode(true);
        launcher_->setTestMode(true);
    } else {
        enableProgramApproval();
    }
}

void Program::enableProgramApproval(const QString& file) {
    approval_ = std::make_unique<ProgramApproval>(file);
    launcher_->setApprovalGate([this](const QString& program, const QStringList& args) {
        return ApproveArchiveProgram(*approval_, program, args, *messages_);
    });
    launcher_->setApprovalRecorder([this](const QString& program, const QStringList& args) {
        return approval_->approve(ProgramApproval::Command(program, args));
    });
}

Program::~Program() {
    // The commands own windows that refer to the main window: they go first.
    services_.reset();
    records_.reset();
    search_.reset();
    entry_.reset();
    messages_->setScreen(nullptr);
    main_.reset();
}

bool Program::Start() {
    if (!ClaimArchive(state_->archiveLock, state_->archive, *messages_)) {
        userLeft_ = true;
        return false;
    }
    if (!main_->StartUp())
        return false;
    main_->show();
    // The tip of the day, once the main window is on screen (not while dialogs are
    // answered by a test or the screenshot tool).
    if (!messages_->testMode())
        QTimer::singleShot(0, main_.get(), [this] { services_->ShowStartupTip(); });
    return true;
}

} // namespace lumo
