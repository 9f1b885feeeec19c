#pragma once
// TForm4 "Kastenbezeichnungen eingeben": the magazine and theme labels of one box,
// written to KASTEN.INI. Opened from the menu and by a click on a result row's box.
#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumo {

class TForm1;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(TForm1& main);

    // Fills the three fields (code page 1252 texts).
    void Preset(const QString& box, const QString& magazine, const QString& theme);

    // Menu "&Kastenbezeichnungen eingeben...": presets "000"/"MagazinText"/"ThematikText",
    // runs the dialog modally and restores status and captions.
    void OpenFromMenu();
    // Result row click on a box number: the stored labels of that box, placed beside the list.
    void OpenForBox(int32_t box);

    void BitBtn1Click(); // "Daten &speichern"
    void BitBtn2Click(); // "&Abbruch"
    void BitBtn3Click(); // "&Hilfe"

    QLineEdit* Edit1 = nullptr; // "Dia-Kasten"
    QLineEdit* Edit2 = nullptr; // "Magazin"
    QLineEdit* Edit3 = nullptr; // "Thema"
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;

private:
    TForm1& main_;
};

} // namespace lumo
