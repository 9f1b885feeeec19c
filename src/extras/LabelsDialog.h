#pragma once
// LabelsDialog "Etiketten und Ladelisten": labels for slide mounts on A4 label sheets (a
// range of slide numbers or the current result list; a sheet from the table or a size of
// one's own; a start position on a partly used sheet) and the loading list of a box.
// Both are printed through the print dialog or saved as PDF.
#include "extras/logic/LabelLayout.h"
#include "extras/logic/LoadingList.h"
#include "ui/FeatureContext.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace lumo {

class LabelsDialog : public QDialog {
    Q_OBJECT
public:
    explicit LabelsDialog(const FeatureContext& ctx);

    // Before each opening: the slides of the current result list (empty: none).
    void Prepare(std::vector<int32_t> resultSlides);

    // The sheet as chosen now (the table's or one of the size typed in).
    LabelSheet chosenSheet() const;
    // The labels of the chosen slides; nullopt after the message when they cannot be read
    // or there are none.
    std::optional<std::vector<LabelText>> chosenLabels();
    // The loading list of the chosen box; nullopt after the message when dias.ddb cannot
    // be read.
    std::optional<LoadingList> chosenLoadingList();

    void onSavePdf(); // "Als &PDF speichern..." for the tab shown
    void onPrint();   // "&Drucken..." for the tab shown

    QTabWidget* tabs = nullptr; // "&Etiketten", "&Ladeliste"
    QRadioButton* rangeChoice = nullptr;
    QSpinBox* fromEdit = nullptr; // "Dias &von"
    QSpinBox* toEdit = nullptr;   // "&bis"
    QRadioButton* resultChoice = nullptr;
    QComboBox* sheetChoice = nullptr;     // "Bo&gen"
    QDoubleSpinBox* widthEdit = nullptr;  // "Brei&te (mm)"
    QDoubleSpinBox* heightEdit = nullptr; // "&Höhe (mm)"
    QSpinBox* startEdit = nullptr;        // "&Startposition"
    QLabel* perSheetLabel = nullptr;
    QSpinBox* boxEdit = nullptr; // "&Kasten"
    QPushButton* printButton = nullptr;
    QPushButton* pdfButton = nullptr;
    QPushButton* closeButton = nullptr;

private:
    FeatureContext ctx_;
    std::vector<int32_t> resultSlides_;
    QWidget* buildLabelsPage();
    QWidget* buildLoadingListPage();
    void onSheetChosen();
    bool labelsShown() const;
};

} // namespace lumo
