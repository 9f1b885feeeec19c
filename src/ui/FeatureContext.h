#pragma once
// What a feature window or command works with: the program-wide state, the message
// catalogue, the platform services and the screen. Handed by value; it only refers.
#include "ui/AppState.h"

#include <QPoint>
#include <QString>

#include <string_view>

class QWidget;

namespace lumo {

class HelpViewer;
class Launcher;
class MessageCatalog;
class Screen;
class SoundCue;

struct FeatureContext {
    AppState& state;
    MessageCatalog& messages;
    Screen& screen;
    SoundCue& sound;
    HelpViewer& help;
    Launcher& launcher;

    // The help window at a context number of the archive's DIA.HLP.
    void ShowHelp(int context) const;
    // Starts a program / opens a document in the archive directory; a failure gives the
    // program's notice.
    void RunProgram(const QString& commandLine) const;
    // RunProgram(program + " " + the name a file of the archive directory has on disk),
    // so that an editor opens the existing file (DIALISTE.TXT as well as dialiste.txt).
    void RunProgramOnFile(const QString& program, std::string_view bareName) const;
    void OpenDocument(const QString& file) const;
    // Writes DIA.INI with the window's current position; a failed write gives the notice.
    bool SaveSettings() const;
    QString ArchivePathText() const;

    // A position relative to the main window's top-left corner.
    QPoint Place(int dx, int dy) const;
    QWidget* MainWidget() const;
    void SetScreenCaptions(int mode) const;
    // How a service command takes over the screen: the start picture in mode 0, no result
    // scroll bar, the soft buttons disabled.
    void TakeOverMainScreen() const;
    // And how it gives it back: the captions of the current mode and status text 0.
    void GiveBackMainScreen() const;
};

} // namespace lumo
