#include "extras/logic/LabelLayout.h"

#include <algorithm>
#include <cmath>

namespace lumo {

namespace {

// A sheet whose labels are placed in a block centred on the page.
LabelSheet Centred(std::string name, double w, double h, int columns, int rows, double gapX,
                   double gapY) {
    LabelSheet s;
    s.name = std::move(name);
    s.labelWidth = w;
    s.labelHeight = h;
    s.columns = columns;
    s.rows = rows;
    s.pitchX = w + gapX;
    s.pitchY = h + gapY;
    s.left = (kA4Width - (columns * w + (columns - 1) * gapX)) / 2;
    s.top = (kA4Height - (rows * h + (rows - 1) * gapY)) / 2;
    return s;
}

constexpr double kCustomMargin = 8.0;
constexpr double kCustomGap = 2.0;

} // namespace

const std::vector<LabelSheet>& CommonLabelSheets() {
    static const std::vector<LabelSheet> sheets{
        Centred("17,8 \xC3\x97 10 mm, 270 je Blatt (10 \xC3\x97 27)", 17.8, 10.0, 10, 27, 2.5, 0),
        Centred("25,4 \xC3\x97 10 mm, 189 je Blatt (7 \xC3\x97 27)", 25.4, 10.0, 7, 27, 2.5, 0),
        Centred("35,6 \xC3\x97 16,9 mm, 80 je Blatt (5 \xC3\x97 16)", 35.6, 16.9, 5, 16, 2.5, 0),
        Centred("38,1 \xC3\x97 21,2 mm, 65 je Blatt (5 \xC3\x97 13)", 38.1, 21.2, 5, 13, 2.5, 0),
        Centred("48,5 \xC3\x97 25,4 mm, 40 je Blatt (4 \xC3\x97 10)", 48.5, 25.4, 4, 10, 0, 0),
        Centred("52,5 \xC3\x97 29,7 mm, 40 je Blatt (4 \xC3\x97 10)", 52.5, 29.7, 4, 10, 0, 0),
        Centred("70 \xC3\x97 37 mm, 24 je Blatt (3 \xC3\x97 8)", 70.0, 37.0, 3, 8, 0, 0),
    };
    return sheets;
}

LabelSheet LabelSheetOfSize(double width, double height) {
    const double areaW = kA4Width - 2 * kCustomMargin;
    const double areaH = kA4Height - 2 * kCustomMargin;
    int columns = 0;
    int rows = 0;
    if (width > 0 && height > 0 && width <= areaW && height <= areaH) {
        columns = int(std::floor((areaW + kCustomGap) / (width + kCustomGap)));
        rows = int(std::floor((areaH + kCustomGap) / (height + kCustomGap)));
    }
    if (columns < 1 || rows < 1) {
        LabelSheet none;
        none.labelWidth = width;
        none.labelHeight = height;
        return none;
    }
    return Centred({}, width, height, columns, rows, kCustomGap, kCustomGap);
}

std::vector<LabelPlace> PlaceLabels(const LabelSheet& sheet, int start, int count) {
    std::vector<LabelPlace> places;
    const int per = sheet.perSheet();
    if (per <= 0 || count <= 0)
        return places;
    if (start < 1 || start > per)
        start = 1;
    places.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const int slot = start - 1 + i;
        const int onSheet = slot % per;
        places.push_back({slot / per, sheet.left + (onSheet % sheet.columns) * sheet.pitchX,
                          sheet.top + (onSheet / sheet.columns) * sheet.pitchY});
    }
    return places;
}

LabelText LabelTextOf(const CatalogSlide& slide) {
    LabelText t;
    t.head = "Dia " + std::to_string(slide.number);
    if (slide.box > 0)
        t.head += "  K " + std::to_string(slide.box);
    if (!slide.position.empty())
        t.head += "  " + slide.position;
    t.info = slide.text;
    for (const KeyPath& key : slide.keys) {
        if (!key.empty()) {
            t.key = key.resolved() ? key.names().back() : key.code;
            break;
        }
    }
    return t;
}

} // namespace lumo
