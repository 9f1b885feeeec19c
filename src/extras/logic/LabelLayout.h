#pragma once
// Labels for slide mounts on A4 label sheets: the table of common sheets, a sheet of
// labels of any size, where each label of a run goes, and the text of one label.
// Lengths in millimetres, the origin at the sheet's top-left corner.
#include "extras/logic/Catalog.h"

#include <string>
#include <vector>

namespace lumo {

inline constexpr double kA4Width = 210.0;
inline constexpr double kA4Height = 297.0;

struct LabelSheet {
    std::string name; // UTF-8, as the sheet list shows it
    double labelWidth = 0;
    double labelHeight = 0;
    int columns = 0;
    int rows = 0;
    double left = 0;   // left edge of the first column
    double top = 0;    // top edge of the first row
    double pitchX = 0; // from one column's left edge to the next one's
    double pitchY = 0; // from one row's top edge to the next one's
    int perSheet() const { return columns * rows; }
};

// Common A4 sheets with small labels (the sizes slide mounts take).
const std::vector<LabelSheet>& CommonLabelSheets();

// Labels of the given size as many as fit on A4 inside 8 mm margins, 2 mm apart, the
// block centred; 0 columns or rows when the label is larger than the printable area or
// not positive.
LabelSheet LabelSheetOfSize(double width, double height);

struct LabelPlace {
    int sheet = 0; // 0-based
    double x = 0;
    double y = 0;
};

// Places count labels from position `start` (1-based, row by row: a partly used sheet
// begins at its first unused label) on as many sheets as they need. A start beyond the
// sheet is taken as 1; empty when the sheet holds no label.
std::vector<LabelPlace> PlaceLabels(const LabelSheet& sheet, int start, int count);

// The lines of a slide's label (code page 1252): "Dia 123  K 4  A05", the information
// text and the first key's name (empty when the slide has none). The printout drops the
// key line when it does not fit.
struct LabelText {
    std::string head;
    std::string info;
    std::string key;
};
LabelText LabelTextOf(const CatalogSlide& slide);

} // namespace lumo
