#pragma once
// TForm10 "Selektierte Schlüssel": the keys picked for the slide being entered; the
// user unticks keys to drop them or empties the whole selection.
#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace lumo {

class TForm1;

class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(TForm1& main);

    // One box per selection entry: name, checked and enabled; "?" for an empty entry.
    void Prepare();

    void BitBtn1Click(); // "&Schlüssel aktualisieren"
    void BitBtn2Click(); // help
    void BitBtn3Click(); // "&Beenden"
    void BitBtn4Click(); // "Alle &löschen"

    QLabel* Label1 = nullptr;
    std::array<QCheckBox*, 8> CheckBox{};
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;

private:
    TForm1& main_;
};

} // namespace lumo
