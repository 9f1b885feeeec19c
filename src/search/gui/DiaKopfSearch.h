#pragma once
// TForm3 "Systemdatenerfassung": the eight header data values of a slide. In entry
// mode (OK button "&Speichern") it reads and writes kopfdata.ddb for the slide number
// in Edit9; in search mode (OK button "&Suchen") it collects the criteria of the header
// data search and runs that search (AuswertungKopfDaten).
#include "store/HeaderData.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lumo {

class TForm1;
class SearchCommands;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(TForm1& main, SearchCommands& commands);

    // Field names and proposal lists from DIA.INI, all eight values emptied.
    void Init();
    // Search mode: prompt for criteria, Edit9 hidden, OK "&Suchen", boxes unlimited.
    void SetSearchMode();
    // Entry mode: the given prompt, Edit9 shown, OK "&Speichern", boxes 15 characters.
    void SetEntryMode(const QString& prompt);
    bool searchMode() const;

    // Menu "Kopf&daten eingeben...": entry mode with an empty slide number field.
    void OpenForEntry();

    // The eight values / criteria as code page 1252 texts.
    HeaderValues Values() const;
    void SetValues(const HeaderValues& values);

    // The header data search over kopfdata.ddb with the criteria of the boxes.
    void AuswertungKopfDaten();

    void Edit9Change();
    void BitBtnOkayClick();
    void BitBtnKillClick();
    void BitBtnExitClick();
    void BitBtn1Click();
    void reject() override;

    QLabel* Label1 = nullptr;
    std::array<QLineEdit*, 8> Edits{};      // Edit1..Edit8, field names
    std::array<QComboBox*, 8> ComboBoxes{}; // ComboBox1..ComboBox8, values
    QLineEdit* Edit9 = nullptr;
    QPushButton* BitBtnOkay = nullptr;
    QPushButton* BitBtnKill = nullptr;
    QPushButton* BitBtnExit = nullptr;
    QPushButton* BitBtn1 = nullptr;

private:
    TForm1& main_;
    SearchCommands& commands_;
    bool loading_ = false;
    // Slide number of Edit9 after the checks of saving and deleting (errors 35 and 7).
    std::optional<int32_t> CheckedSlideNumber();
};

} // namespace lumo
