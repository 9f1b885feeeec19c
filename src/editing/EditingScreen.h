#pragma once
// What the slide deletion and the header field names window need from the main screen,
// beyond the message catalogue: the main window implements it, tests may fake it.
#include <QString>

class QWidget;

namespace lumo {

struct AppState;
class MessageCatalog;
class SoundCue;

class EditingScreen {
public:
    virtual ~EditingScreen() = default;
    virtual QWidget* MainWidget() = 0;                              // parent of the windows
    virtual void SetScreenCaptions(int mode) = 0;                   // soft buttons of a mode
    virtual void RestoreMainScreen() = 0;                           // picture and titles back
    virtual void SetWindowCaptionSuffix(const QString& suffix) = 0; // program title + suffix
    virtual void UpdateCounterPanels() = 0;                         // status bar from counters
    virtual bool SaveSettingsNow() = 0; // DIA.INI with the window position; failure noticed
    virtual void SetBusyCursor(bool on) = 0;
    virtual void ShowHelp(int context) = 0;
};

// What those windows and their commands are handed: the program state, the messages, the
// sounds and the main screen.
struct EditingContext {
    AppState& state;
    MessageCatalog& messages;
    SoundCue& sound;
    EditingScreen& screen;
};

} // namespace lumo
