#pragma once
// What a picture's XMP sidecar says about its slide, as the common photo managers read
// it: dc:subject (the keyword names), lr:hierarchicalSubject (each key's path joined by
// "|"), dc:title (the information text) and dc:description (the memo). UTF-8.
#include "extras/logic/Catalog.h"
#include "extras/logic/CsvTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumo {

struct SidecarContents {
    std::vector<std::string> subjects;     // every name on the slide's key paths, once each
    std::vector<std::string> hierarchical; // "Natur|Blumen|Rosen", once each
    std::string title;                     // empty: no title
    std::string description;               // memo lines joined by LF; empty: none
};

// Keys that resolve to no keyword are left out: a bare code means nothing to a photo
// manager.
SidecarContents SidecarContentsOf(const CatalogSlide& slide, const Utf8Converter& utf8);

// The picture and its sidecar beside it, as bare archive names ("bilder/12.jpg",
// "bilder/12.jpg.xmp"); the picture's spelling is the one found on disk.
std::string SidecarNameOf(std::string_view pictureName);

} // namespace lumo
