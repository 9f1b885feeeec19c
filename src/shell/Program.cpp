#include "shell/Program.h"

#include "editing/RecordCommands.h"
#include "editing/SlideDataViewer.h"
#include "editing/SlideEntryCommands.h"
#include "extras/MapAndScanCommands.h"
#include "extras/OutputCommands.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Launcher.h"
#include "platform/ProgramApproval.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "services/ServiceCommands.h"
#include "services/TrayIcon.h"
#include "shell/ContextHelp.h"
#include "shell/MainWindow.h"
#include "ui/ArchiveGuard.h"
#include "ui/MessageCatalog.h"

#include <QMenu>
#include <QTimer>

namespace lumo {

namespace {

// The launcher of the notification-area icon has no place where the desktop has no
// notification area (plain GNOME): its entries are reachable from "Dienste" as well, in a
// submenu after the menu's own entries. The same actions, so both places start alike.
void AddLauncherToServicesMenu(MainWindow& main, const QMenu& launcher) {
    QAction* services = main.findAction(QStringLiteral("Dien&ste"));
    if (!services || !services->menu())
        return;
    services->menu()->addSeparator();
    QMenu* programs = services->menu()->addMenu(QStringLiteral("&Programme"));
    programs->setObjectName(QStringLiteral("launcherMenu"));
    programs->addActions(launcher.actions());
}

} // namespace

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
    AddLauncherToServicesMenu(*main_, *services_->trayIcon().menu());
    records_ = std::make_unique<RecordCommands>(main_->context());
    main_->setRecordCommands(records_.get());
    mapAndScan_ = std::make_unique<MapAndScanCommands>(
        main_->context(),
        MapAndScanCommands::Hooks{
            [this](int32_t slide) { entry_->ShowSlideData(slide); },
            [this](int box, const std::string& code) { entry_->StartNewSlideAt(box, code); }});
    main_->setMapAndScanCommands(mapAndScan_.get());
    entry_->slideDataViewer()->setPictureAssigner([this](int32_t slide, const QString& file) {
        return mapAndScan_->AssignPicture(slide, file);
    });
    outputs_ = std::make_unique<OutputCommands>(main_->context());
    main_->setOutputCommands(outputs_.get());
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
    mapAndScan_.reset();
    services_.reset();
    records_.reset();
    outputs_.reset();
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
