#include "editing/RecordCommands.h"

#include "editing/EditingScreen.h"
#include "editing/HeaderFieldNamesDialog.h"
#include "editing/SlideDeletionDialog.h"
#include "platform/Sound.h"
#include "ui/AppState.h"
#include "ui/MessageCatalog.h"

#include <QComboBox>
#include <QLineEdit>

namespace lumo {

RecordCommands::RecordCommands(AppState& state, MessageCatalog& messages, SoundCue& sound,
                               EditingScreen& screen)
    : state_(state), messages_(messages), sound_(sound), screen_(screen) {
    deletionDialog_ = new SlideDeletionDialog(state, messages, sound, screen);
    fieldNamesDialog_ = new HeaderFieldNamesDialog(state, messages, sound, screen);
}

RecordCommands::~RecordCommands() {
    // The windows are children of the main window; whichever goes first takes them.
    delete deletionDialog_.data();
    delete fieldNamesDialog_.data();
}

SlideDeletionDialog* RecordCommands::slideDeletionDialog() const {
    return deletionDialog_;
}

HeaderFieldNamesDialog* RecordCommands::headerFieldNamesDialog() const {
    return fieldNamesDialog_;
}

// Both windows open over the main screen in mode 0 and leave it there.
void RecordCommands::DeleteSlides() {
    sound_.PlayClick();
    if (state_.counters.totalRecords == 0) {
        messages_.ShowError(53);
        return;
    }
    screen_.RestoreMainScreen();
    state_.screenMode = mode::Main;
    screen_.SetScreenCaptions(mode::Disabled);
    messages_.ShowStatus(20);
    screen_.SetWindowCaptionSuffix(QString::fromUtf8(" - Dias löschen..."));
    deletionDialog_->ShowDialogStatus(
        QString::fromUtf8("Bitte geben Sie den gewünschten Bereich ein..."));
    deletionDialog_->fromEdit->setFocus();
    deletionDialog_->exec();
    messages_.ShowStatus(0);
    screen_.SetScreenCaptions(state_.screenMode);
}

void RecordCommands::ChangeHeaderFieldNames() {
    sound_.PlayClick();
    screen_.RestoreMainScreen();
    state_.screenMode = mode::Main;
    screen_.SetScreenCaptions(mode::Disabled);
    messages_.ShowStatus(20);
    fieldNamesDialog_->Load();
    fieldNamesDialog_->fieldNameList->setFocus();
    fieldNamesDialog_->exec();
    messages_.ShowStatus(0);
    screen_.SetScreenCaptions(state_.screenMode);
}

} // namespace lumo
