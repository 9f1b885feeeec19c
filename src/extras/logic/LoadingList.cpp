#include "extras/logic/LoadingList.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace lumo {

namespace {

// Letter and place of "A05"; false when the position is not of that form.
bool ParsePosition(const std::string& position, char& letter, int& place) {
    if (position.size() < 2 || !std::isalpha(static_cast<unsigned char>(position[0])))
        return false;
    place = 0;
    for (size_t i = 1; i < position.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(position[i])))
            return false;
        place = place * 10 + (position[i] - '0');
    }
    letter = position[0];
    return true;
}

std::string KeyNames(const CatalogSlide& s) {
    std::string out;
    for (const KeyPath& key : s.keys) {
        if (key.empty())
            continue;
        if (!out.empty())
            out += ", ";
        out += key.resolved() ? key.names().back() : key.code;
    }
    return out;
}

} // namespace

size_t LoadingList::slideCount() const {
    size_t n = 0;
    for (const auto& m : magazines)
        n += m.rows.size();
    return n;
}

LoadingList BuildLoadingList(int box, const std::vector<CatalogSlide>& slides,
                             std::string magazineText, std::string themeText) {
    LoadingList list;
    list.box = box;
    list.magazineText = std::move(magazineText);
    list.themeText = std::move(themeText);
    // Key: letter (0x100 for no position, so those come last), place, slide number.
    std::map<int, std::vector<std::pair<std::pair<int, int32_t>, const CatalogSlide*>>> byLetter;
    for (const CatalogSlide& s : slides) {
        if (s.box != box)
            continue;
        char letter = 0;
        int place = 0;
        const bool placed = ParsePosition(s.position, letter, place);
        const int group = placed ? static_cast<unsigned char>(letter) : 0x100;
        byLetter[group].push_back({{placed ? place : 0, s.number}, &s});
    }
    for (auto& [group, entries] : byLetter) {
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        LoadingMagazine& m = list.magazines.emplace_back();
        if (group < 0x100)
            m.letter = std::string(1, char(group));
        for (const auto& [order, s] : entries)
            m.rows.push_back({s->position, s->number, s->text, KeyNames(*s)});
    }
    return list;
}

} // namespace lumo
