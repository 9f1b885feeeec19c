#include "extras/logic/SidecarContents.h"

#include <algorithm>

namespace lumo {

namespace {

void AddOnce(std::vector<std::string>& list, std::string value) {
    if (!value.empty() && std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(std::move(value));
}

} // namespace

SidecarContents SidecarContentsOf(const CatalogSlide& slide, const Utf8Converter& utf8) {
    SidecarContents c;
    for (const KeyPath& key : slide.keys) {
        if (!key.resolved())
            continue;
        for (const std::string& name : key.names())
            AddOnce(c.subjects, utf8(name));
        AddOnce(c.hierarchical, utf8(key.joined("|")));
    }
    c.title = utf8(slide.text);
    for (size_t i = 0; i < slide.memoLines.size(); ++i) {
        if (i > 0)
            c.description += '\n';
        c.description += utf8(slide.memoLines[i]);
    }
    while (!c.description.empty() && c.description.back() == '\n')
        c.description.pop_back();
    return c;
}

std::string SidecarNameOf(std::string_view pictureName) {
    return std::string(pictureName) + ".xmp";
}

} // namespace lumo
