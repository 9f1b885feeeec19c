#pragma once
// TForm11 "Daten zum aktuell erfassten Dia anzeigen": stores the slide being entered
// (new slides one after the other, the dialog staying open) or re-records an edited one.
#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lumo {

class TForm1;

class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(TForm1& main);

    // Fills the dialog for CurrentSlide: picture, key boxes, information text, number,
    // box number and magazine code (new slide: precomputed; edit: from the record).
    void Prepare();

    void BitBtn1Click(); // "Datensatz &speichern"
    void BitBtn2Click(); // "&Hilfe zum Requester"
    void BitBtn3Click(); // "&Schließen"

    QLineEdit* Edit1 = nullptr;     // "Dia-Nummer", read-only
    QLineEdit* Edit2 = nullptr;     // "Kasten-Nummer"
    QLineEdit* Edit4 = nullptr;     // magazine code
    QComboBox* ComboBox1 = nullptr; // information text and its history
    std::array<QCheckBox*, 8> CheckBox{};
    QLabel* Image1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;

    QString pictureFile() const { return pictureFile_; } // bare name shown, empty if none

private:
    void Save();
    TForm1& main_;
    QString pictureFile_;
};

} // namespace lumo
