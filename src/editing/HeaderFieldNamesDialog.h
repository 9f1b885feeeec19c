#pragma once
// HeaderFieldNamesDialog "Kopfdatenfelder eingeben": renames the eight header data fields
// and replaces entries of their proposal lists in DIA.INI [KOPFDATA]. It reloads from the
// file after every change, so it always shows what is stored.
#include "store/HeaderData.h"

#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QDialog>

#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumo {

class HeaderFieldNamesDialog : public QDialog {
    Q_OBJECT
public:
    explicit HeaderFieldNamesDialog(const FeatureContext& context);

    // Names and proposals from DIA.INI; the first field and its first proposal chosen.
    void Load();

    void onFieldChosen(int field);       // "Feldnamen" list
    void onProposalChosen(int proposal); // "Listeneinträge" list
    void onRenameField();                // "Feldname aktualisieren"
    void onReplaceProposal();            // "Listenname aktualisieren"
    void onClose();                      // "Requester &schließen"
    void onHelp();                       // "&Hilfe zum Requester"

    QComboBox* fieldNameList = nullptr;
    QComboBox* proposalList = nullptr;
    QLineEdit* fieldNameEdit = nullptr;
    QLineEdit* proposalEdit = nullptr;
    QPushButton* renameButton = nullptr;
    QPushButton* replaceButton = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* helpButton = nullptr;

private:
    FeatureContext ctx_;
    HeaderFields fields_;
    bool loading_ = false;

    void FillProposals(int field);
    // The text of `edit`, or nullopt after the warning for an empty box.
    std::optional<std::string> EnteredText(QLineEdit* edit);
    // Status text, cue and reload after a stored change; the INI notice when not stored.
    void AfterStore(bool stored, int statusText);
};

} // namespace lumo
