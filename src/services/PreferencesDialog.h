#pragma once
// "Lumoretta Preferences": box and magazine size, sounds, pre-calculation, auto-backup,
// the text editor and the background picture, saved to DIA.INI.
#include "services/logic/Preferences.h"
#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lumo {

class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    PreferencesDialog(const FeatureContext& context, QWidget* parent);

    void Open();          // "&System-Einstellungen...", tool button 10, DIENSTE
    void ChooseEditor();  // "Editor"
    void ChoosePicture(); // "Bild"
    void SaveAndClose();  // "&INI-Datei aktualisieren": validates, saves, closes
    void CloseDialog();   // "Requester &schließen": nothing is saved

    QLineEdit* boxSizeEdit() const { return boxSize_; }
    QLineEdit* magazineSizeEdit() const { return magazineSize_; }
    QCheckBox* soundsCheck() const { return sounds_; }
    QCheckBox* precalculationCheck() const { return precalculation_; }
    QCheckBox* autoBackupCheck() const { return autoBackup_; }
    QLineEdit* editorEdit() const { return editor_; }
    QLineEdit* pictureEdit() const { return picture_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* closeButton() const { return close_; }

    void reject() override; // Esc: as "Requester &schließen"

private:
    void FillFields();
    // The size of a field, or the field's error shown and the focus put back into it.
    std::optional<int32_t> TakeSize(QLineEdit* edit, SizeField field, int error);

    FeatureContext ctx_;
    QLineEdit* boxSize_ = nullptr;
    QLineEdit* magazineSize_ = nullptr;
    QCheckBox* sounds_ = nullptr;
    QCheckBox* precalculation_ = nullptr;
    QCheckBox* autoBackup_ = nullptr;
    QLineEdit* editor_ = nullptr;
    QLineEdit* picture_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace lumo
