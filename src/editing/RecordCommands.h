#pragma once
// Commands of the main window that change records in bulk or the header field names:
// "Dias &löschen..." (and tool button 3) and "Kopfdaten&felder ändern...".
#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QPointer>

namespace lumo {

class SlideDeletionDialog;
class HeaderFieldNamesDialog;

class RecordCommands {
public:
    explicit RecordCommands(const FeatureContext& context);
    ~RecordCommands();
    RecordCommands(const RecordCommands&) = delete;
    RecordCommands& operator=(const RecordCommands&) = delete;

    void DeleteSlides();           // opens the deletion window (error 53 without slides)
    void ChangeHeaderFieldNames(); // opens the field names window

    SlideDeletionDialog* slideDeletionDialog() const;
    HeaderFieldNamesDialog* headerFieldNamesDialog() const;

private:
    FeatureContext ctx_;
    QPointer<SlideDeletionDialog> deletionDialog_;
    QPointer<HeaderFieldNamesDialog> fieldNamesDialog_;
};

} // namespace lumo
