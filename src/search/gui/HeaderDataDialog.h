#pragma once
// HeaderDataDialog "Systemdatenerfassung": the eight header data values of a slide. In entry
// mode (OK button "&Speichern") it reads and writes kopfdata.ddb for the slide number
// in slideNumberEdit; in search mode (OK button "&Suchen") it collects the criteria of the header
// data search and runs that search (RunSearch).
#include "store/HeaderData.h"
#include "ui/FeatureContext.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lumo {

class SearchCommands;

class HeaderDataDialog : public QDialog {
    Q_OBJECT
public:
    HeaderDataDialog(const FeatureContext& ctx, SearchCommands& commands);

    // Field names and proposal lists from DIA.INI, all eight values emptied.
    void Init();
    // Search mode: prompt for criteria, slideNumberEdit hidden, OK "&Suchen", boxes unlimited.
    void SetSearchMode();
    // Entry mode: the given prompt, slideNumberEdit shown, OK "&Speichern", boxes 15 characters.
    void SetEntryMode(const QString& prompt);
    bool searchMode() const;

    // Menu "Kopf&daten eingeben...": entry mode with an empty slide number field.
    void OpenForEntry();
    // Puts the slide number into its field and reads that slide's values, also when the
    // field held the same number before (a text that does not change loads nothing).
    void ShowSlide(int32_t slide);

    // The eight values / criteria as code page 1252 texts.
    HeaderValues Values() const;
    void SetValues(const HeaderValues& values);

    // The header data search over kopfdata.ddb with the criteria of the boxes.
    void RunSearch();

    void onSlideNumberChanged();
    void onOk();
    void onDelete();
    void onClose();
    void onHelp();
    void reject() override;

    QLabel* promptLabel = nullptr;
    std::array<QLineEdit*, 8> fieldNameEdits{}; // the eight field names
    std::array<QComboBox*, 8> valueBoxes{};     // the eight values
    QLabel* slideNumberLabel = nullptr;         // "Dia-Nr."
    QLineEdit* slideNumberEdit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* helpButton = nullptr;

private:
    FeatureContext ctx_;
    SearchCommands& commands_;
    bool loading_ = false;
    // Slide number of slideNumberEdit after the checks of saving and deleting (errors 35 and 7).
    std::optional<int32_t> CheckedSlideNumber();
    void LoadSlideValues(int32_t slide); // the slide's record into the value boxes
};

} // namespace lumo
