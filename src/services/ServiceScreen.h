#pragma once
// What the service windows and commands need from the main window beyond the message
// catalogue's hooks, and the set of program services they are handed.
#include <QPoint>
#include <QString>

class QWidget;

namespace lumo {

struct AppState;
class MessageCatalog;
class SoundCue;
class HelpViewer;
class Launcher;
class Screen;

class ServiceScreen {
public:
    virtual ~ServiceScreen() = default;
    virtual void RestoreMainScreen() = 0;                           // the start picture, no lists
    virtual void HideScrollBar() = 0;                               // of the result list
    virtual void SetWindowCaptionSuffix(const QString& suffix) = 0; // program title + suffix
    virtual void SetProgress(int minimum, int maximum, int value) = 0;
    virtual void SetProgressValue(int value) = 0;
    virtual void SetBusyCursor(bool on) = 0;
    virtual void SetStatusPanel(int panel, const QString& text) = 0; // 0..2
    virtual void LoadBackgroundPicture() = 0;                        // from the setting BMPBILD
    virtual bool SaveSettingsNow() = 0;       // DIA.INI with the window position; notice on failure
    virtual void SetUndoEnabled(bool on) = 0; // the undo entry of the keyword lists
};

// The program services a service window or command works with.
struct ServiceContext {
    AppState& state;
    MessageCatalog& messages;
    SoundCue& sound;
    HelpViewer& help;
    Launcher& launcher;
    Screen& hooks;
    ServiceScreen& screen;

    QString ArchiveDirText() const;
    // A position relative to the main window's top-left corner.
    QPoint Place(int dx, int dy) const;
    QWidget* MainWidget() const;
    void SetScreenCaptions(int mode) const;
    // How a service command takes over the screen: the start picture in mode 0, no result
    // scroll bar, the soft buttons disabled.
    void TakeOverMainScreen() const;
    // And how it gives it back: the captions of the current mode and status text 0.
    void GiveBackMainScreen() const;
    // Help topic of DIA.HLP in the open archive.
    void ShowHelp(int context) const;
    // Starts a program with the working directory in the archive; the failure notice when
    // it cannot be started.
    void RunProgram(const QString& commandLine) const;
};

} // namespace lumo
