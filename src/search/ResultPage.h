#pragma once
// The 17 rows of the result page on screen and the markers of unused rows.
#include <array>
#include <string>

namespace lumo {

inline constexpr int kPageRows = 17;
// Internal value no information text can take (a record's info text never holds 0x01).
inline const std::string kBlankMarker = std::string(1, '\x01');
inline const std::string kNoResultMarker = "nicht belegt      ";
// What a free slot's RowText reads (the marker split after its position code "Dia").
inline const std::string kFreeSlotRemainder = " wurde entnommen / Platz frei";

struct ResultRow {
    std::string box, slide, code, text = kBlankMarker;
    bool empty() const {
        return box.empty() && slide.empty() && code.empty() && text == kBlankMarker;
    }
    void clear() { *this = ResultRow{}; }
};

struct ResultPage {
    std::array<ResultRow, kPageRows> rows;
    void clear() {
        for (auto& r : rows)
            r.clear();
    }
};

} // namespace lumo
