#pragma once
// TForm8 "Daten zum Dia anzeigen": shows one slide's stored data and picture; the user
// types a number or steps to the next or previous slide. Changes nothing.
#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lumo {

class TForm1;

class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(TForm1& main);

    // Puts the number into Dia-Nummer and shows that slide.
    void Fill(int32_t slide);

    void Edit1Change();       // every change of Dia-Nummer shows that slide
    void SpeedButton1Click(); // next slide
    void SpeedButton2Click(); // previous slide
    void Image1Click();       // opens bilder/<n>.jpg
    void BitBtn1Click();      // hidden "Daten aktualisieren": same as a change of Dia-Nummer
    void BitBtn2Click();      // "&Hilfe zum Requester"
    void BitBtn3Click();      // "Requester &schließen"

    QLineEdit* Edit1 = nullptr; // "Dia-Nummer"
    QLineEdit* Edit2 = nullptr; // "Kasten-Nummer", read-only
    QLabel* Label3 = nullptr;   // the information field as stored
    std::array<QCheckBox*, 8> CheckBox{};
    QLabel* Image1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;

    int32_t shownSlide() const { return shown_; }
    QString pictureFile() const { return pictureFile_; }

private:
    void Step(int delta);
    TForm1& main_;
    int32_t shown_ = 0;
    QString pictureFile_;
};

} // namespace lumo
