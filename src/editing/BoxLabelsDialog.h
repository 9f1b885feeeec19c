#pragma once
// BoxLabelsDialog "Kastenbezeichnungen eingeben": the magazine and theme labels of one box,
// written to KASTEN.INI. Opened from the menu and by a click on a result row's box.
#include "ui/FeatureContext.h"
#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumo {

class BoxLabelsDialog : public QDialog {
    Q_OBJECT
public:
    explicit BoxLabelsDialog(const FeatureContext& ctx);

    // Fills the three fields (code page 1252 texts).
    void Preset(const QString& box, const QString& magazine, const QString& theme);

    // Menu "&Kastenbezeichnungen eingeben...": presets "000"/"MagazinText"/"ThematikText",
    // runs the dialog modally and restores status and captions.
    void OpenFromMenu();
    // Result row click on a box number: the stored labels of that box, placed beside the list.
    void OpenForBox(int32_t box);

    void onSave();   // "Daten &speichern"
    void onCancel(); // "&Abbruch"
    void onHelp();   // "&Hilfe"

    QLineEdit* boxEdit = nullptr;      // "Dia-Kasten"
    QLineEdit* magazineEdit = nullptr; // "Magazin"
    QLineEdit* themeEdit = nullptr;    // "Thema"
    QPushButton* saveButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* helpButton = nullptr;

private:
    FeatureContext ctx_;
};

} // namespace lumo
