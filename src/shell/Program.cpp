#include "shell/Program.h"

#include "editing/RecordCommands.h"
#include "editing/SlideEntryCommands.h"
#include "platform/Help.h"
#include "platform/Launcher.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "shell/MainWindow.h"
#include "ui/MessageCatalog.h"

namespace lumo {

Program::Program(std::filesystem::path archiveDir, bool testMode)
    : state_(std::make_unique<AppState>()) {
    state_->archive.setDir(std::move(archiveDir));
    sound_ = std::make_unique<SoundCue>(*state_);
    help_ = std::make_unique<HelpViewer>();
    launcher_ = std::make_unique<Launcher>();
    messages_ = std::make_unique<MessageCatalog>(*state_, *sound_, *help_);
    main_ = std::make_unique<MainWindow>(*state_, *messages_, *sound_, *launcher_, *help_);
    messages_->setScreen(main_.get());
    entry_ = std::make_unique<SlideEntryCommands>(*main_);
    search_ = std::make_unique<SearchCommands>(*main_);
    records_ =
        std::make_unique<RecordCommands>(EditingContext{*state_, *messages_, *sound_, *main_});
    main_->setCommands(entry_.get(), search_.get());
    main_->setRecordCommands(records_.get());
    messages_->setKeywordInsertion([this](const QString& name) { entry_->InsertKeyword(name); });
    if (testMode) {
        messages_->setTestMode(true);
        sound_->setTestMode(true);
        launcher_->setTestMode(true);
    }
}

Program::~Program() {
    // The commands own windows that refer to the main window: they go first.
    records_.reset();
    search_.reset();
    entry_.reset();
    messages_->setScreen(nullptr);
    main_.reset();
}

bool Program::Start() {
    if (!main_->StartUp())
        return false;
    main_->show();
    return true;
}

} // namespace lumo
