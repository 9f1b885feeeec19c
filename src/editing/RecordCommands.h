#pragma once
// Commands of the main window that change records in bulk or the header field names:
// "Dias &löschen..." (and tool button 3) and "Kopfdaten&felder ändern...".
#include <QPointer>

namespace lumo {

struct AppState;
class MessageCatalog;
class SoundCue;
class EditingScreen;
class SlideDeletionDialog;
class HeaderFieldNamesDialog;

class RecordCommands {
public:
    RecordCommands(AppState& state, MessageCatalog& messages, SoundCue& sound,
                   EditingScreen& screen);
    ~RecordCommands();
    RecordCommands(const RecordCommands&) = delete;
    RecordCommands& operator=(const RecordCommands&) = delete;

    void DeleteSlides();           // opens the deletion window (error 53 without slides)
    void ChangeHeaderFieldNames(); // opens the field names window

    SlideDeletionDialog* slideDeletionDialog() const;
    HeaderFieldNamesDialog* headerFieldNamesDialog() const;

private:
    AppState& state_;
    MessageCatalog& messages_;
    SoundCue& sound_;
    EditingScreen& screen_;
    QPointer<SlideDeletionDialog> deletionDialog_;
    QPointer<HeaderFieldNamesDialog> fieldNamesDialog_;
};

} // namespace lumo
