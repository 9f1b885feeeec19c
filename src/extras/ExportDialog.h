#pragma once
// ExportDialog "Exportieren": the catalogue as a table for spreadsheets (CSV) or as XMP
// sidecars beside the pictures, of the whole archive or of the current result list.
#include "ui/FeatureContext.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumo {

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportDialog(const FeatureContext& ctx);

    // Before each opening: the slides of the current result list (empty: none, the choice
    // is disabled) and a proposed file name when the field is empty.
    void Prepare(std::vector<int32_t> resultSlides);

    void onExport();
    void onBrowse();

    QRadioButton* csvChoice = nullptr;     // "&Tabelle für Tabellenkalkulation (CSV)"
    QRadioButton* xmpChoice = nullptr;     // "&Schlüsselwörter für Bildverwaltung (XMP)"
    QRadioButton* archiveChoice = nullptr; // "ganzes &Archiv"
    QRadioButton* resultChoice = nullptr;  // "aktuelle E&rgebnisliste (n Dias)"
    QLineEdit* fileEdit = nullptr;         // "&Datei"
    QPushButton* browseButton = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* closeButton = nullptr;

private:
    FeatureContext ctx_;
    std::vector<int32_t> resultSlides_;
    void updateEnabled();
};

} // namespace lumo
