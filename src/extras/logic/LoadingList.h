#pragma once
// The loading list of a box: its magazines in letter order, each with its slides in place
// order, to load a projector magazine from; the box labels head the list.
#include "extras/logic/Catalog.h"

#include <string>
#include <vector>

namespace lumo {

struct LoadingRow {
    std::string position; // "A05" (code page 1252, as the record holds it)
    int32_t number = 0;
    std::string text;
    std::string keys; // the names of the slide's keys, ", " between them
};

struct LoadingMagazine {
    std::string letter; // "A"; empty for the slides without a position ("???" and the like)
    std::vector<LoadingRow> rows;
};

struct LoadingList {
    int box = 0;
    std::string magazineText; // KASTEN.INI T1 (code page 1252)
    std::string themeText;    // KASTEN.INI T2
    std::vector<LoadingMagazine> magazines;
    size_t slideCount() const;
};

// Builds the list of `box` from the catalogue: a position is a letter and a place number;
// slides of one magazine in ascending place (then slide number), magazines A, B, ...;
// slides whose position is no letter with a number come last in a magazine of their own.
LoadingList BuildLoadingList(int box, const std::vector<CatalogSlide>& slides,
                             std::string magazineText, std::string themeText);

} // namespace lumo
