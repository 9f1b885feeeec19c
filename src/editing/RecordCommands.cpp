#include "editing/RecordCommands.h"

#include "editing/HeaderFieldNamesDialog.h"
#include "editing/SlideDeletionDialog.h"
#include "platform/Sound.h"
#include "ui/AppState.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QComboBox>
#include <QLineEdit>

namespace lumo {

RecordCommands::RecordCommands(const FeatureContext& context) : ctx_(context) {
    deletionDialog_ = new SlideDeletionDialog(context);
    fieldNamesDialog_ = new HeaderFieldNamesDialog(context);
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
    ctx_.sound.PlayClick();
    if (ctx_.state.counters.totalRecords == 0) {
        ctx_.messages.ShowError(53);
        return;
    }
    ctx_.screen.RestoreMainScreen();
    ctx_.state.screenMode = mode::Main;
    ctx_.screen.SetScreenCaptions(mode::Main); // the captions of mode 0, disabled
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.messages.ShowStatus(20);
    ctx_.screen.SetWindowCaptionSuffix(QString::fromUtf8(" - Dias löschen..."));
    deletionDialog_->ShowDialogStatus(
        QString::fromUtf8("Bitte geben Sie den gewünschten Bereich ein..."));
    deletionDialog_->fromEdit->setFocus();
    deletionDialog_->exec();
    ctx_.messages.ShowStatus(0);
    ctx_.screen.SetScreenCaptions(ctx_.state.screenMode);
}

void RecordCommands::ChangeHeaderFieldNames() {
    ctx_.sound.PlayClick();
    ctx_.screen.RestoreMainScreen();
    ctx_.state.screenMode = mode::Main;
    ctx_.screen.SetScreenCaptions(mode::Main); // the captions of mode 0, disabled
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.messages.ShowStatus(20);
    fieldNamesDialog_->Load();
    fieldNamesDialog_->fieldNameList->setFocus();
    fieldNamesDialog_->exec();
    ctx_.messages.ShowStatus(0);
    ctx_.screen.SetScreenCaptions(ctx_.state.screenMode);
}

} // namespace lumo
