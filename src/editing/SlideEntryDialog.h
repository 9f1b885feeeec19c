#pragma once
// SlideEntryDialog "Daten zum aktuell erfassten Dia anzeigen": stores the slide being entered
// (new slides one after the other, the dialog staying open) or re-records an edited one.
#include "ui/FeatureContext.h"
#include <QDialog>

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lumo {

class SlideEntryDialog : public QDialog {
    Q_OBJECT
public:
    explicit SlideEntryDialog(const FeatureContext& ctx);

    // Fills the dialog for CurrentSlide: picture, key boxes, information text, number,
    // box number and magazine code (new slide: precomputed; edit: from the record).
    void Prepare();

    void onSave();  // "Datensatz &speichern"
    void onHelp();  // "&Hilfe zum Requester"
    void onClose(); // "&Schließen"

    // The refusal of a new slide beyond the last slide number the archive can hold.
    static QString ArchiveFullNotice();
    // In new-slide entry with the last slide number taken: shows that notice, true.
    static bool RefuseNewSlide(const FeatureContext& ctx);

    QLineEdit* slideNumberEdit = nullptr;  // "Dia-Nummer", read-only
    QLineEdit* boxNumberEdit = nullptr;    // "Kasten-Nummer"
    QLineEdit* magazineCodeEdit = nullptr; // magazine code
    QComboBox* infoTextBox = nullptr;      // information text and its history
    std::array<QCheckBox*, 8> keyBoxes{};
    QLabel* pictureLabel = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* closeButton = nullptr;

    QString pictureFile() const { return pictureFile_; } // bare name shown, empty if none
    // Proposes box and position code for new slide `slide` instead of the computed ones.
    void SetPlacement(int32_t slide, int box, const std::string& code) {
        placement_ = Placement{slide, box, code};
    }

private:
    void Save();
    FeatureContext ctx_;
    QString pictureFile_;
    struct Placement {
        int32_t slide = 0;
        int box = 0;
        std::string code;
    };
    std::optional<Placement> placement_;
};

} // namespace lumo
