#pragma once
// The program body: creates the program-wide state, the services and all windows over
// one archive directory, wires them together and runs the start-up.
#include "ui/AppState.h"

#include <QString>

#include <filesystem>
#include <memory>

namespace lumo {

class MainWindow;
class MessageCatalog;
class SoundCue;
class Launcher;
class HelpViewer;
class SlideEntryCommands;
class SearchCommands;
class ServiceCommands;
class RecordCommands;
class MapAndScanCommands;
class OutputCommands;
class ProgramApproval;

class Program {
public:
    // testMode: the dialogs are answered through the message seam, no sound is played
    // and no outside program is started.
    Program(std::filesystem::path archiveDir, bool testMode);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The start-up; false when the program cannot run (error 31 has been shown) or the
    // user chose to leave an archive another program has open (userLeft()).
    // On success the main window is shown.
    bool Start();
    bool userLeft() const { return userLeft_; }
    // Programs the archive names start only after the user's approval, kept in `file`
    // (empty: the user's own settings). On from the start outside test mode.
    void enableProgramApproval(const QString& file = {});

    AppState& state() { return *state_; }
    MainWindow& main() { return *main_; }
    MessageCatalog& messages() { return *messages_; }
    SoundCue& sound() { return *sound_; }
    Launcher& launcher() { return *launcher_; }
    HelpViewer& help() { return *help_; }
    SlideEntryCommands& entry() { return *entry_; }
    SearchCommands& search() { return *search_; }
    ServiceCommands& services() { return *services_; }
    RecordCommands& records() { return *records_; }
    MapAndScanCommands& mapAndScan() { return *mapAndScan_; }
    OutputCommands& outputs() { return *outputs_; }

private:
    std::unique_ptr<AppState> state_;
    std::unique_ptr<SoundCue> sound_;
    std::unique_ptr<HelpViewer> help_;
    std::unique_ptr<Launcher> launcher_;
    std::unique_ptr<MessageCatalog> messages_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<SlideEntryCommands> entry_;
    std::unique_ptr<SearchCommands> search_;
    std::unique_ptr<ServiceCommands> services_;
    std::unique_ptr<RecordCommands> records_;
    std::unique_ptr<MapAndScanCommands> mapAndScan_;
    std::unique_ptr<OutputCommands> outputs_;
    std::unique_ptr<ProgramApproval> approval_;
    bool userLeft_ = false;
};

} // namespace lumo
