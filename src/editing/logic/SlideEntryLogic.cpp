#include "editing/logic/SlideEntryLogic.h"

namespace lumo {

std::string PadKeyCode(std::string_view code) {
    std::string padded(code);
    if (code.size() == 2)
        padded.append(4, ' ');
    else if (code.size() == 4)
        padded.append(2, ' ');
    return padded;
}

std::array<std::string, 8> SlotCodesFromSelection(const KeySelection& keys) {
    std::array<std::string, 8> slots;
    for (int i = 0; i < 8; ++i) {
        const auto& e = keys.entries[static_cast<size_t>(i)];
        if (i < keys.count && !e.name.empty())
            slots[static_cast<size_t>(i)] = PadKeyCode(e.code);
    }
    return slots;
}

std::string PadMagazineCode(std::string_view code) {
    std::string padded(code.substr(0, 3));
    padded.resize(3, ' ');
    return padded;
}

std::string TrimInformationText(std::string_view info) {
    if (info.size() <= 4)
        return {};
    std::string_view text = info.substr(4, 28);
    const size_t pair = text.find("  ");
    if (pair != std::string_view::npos)
        text = text.substr(0, pair);
    if (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

std::string TrimInfoString(std::string_view info) {
    return std::string(info.substr(0, 4)) + TrimInformationText(info);
}

std::string UnresolvedKeyName(std::string_view code) {
    const size_t end = code.find_last_not_of(' ');
    return std::string(code.substr(0, end == std::string_view::npos ? 0 : end + 1)) +
           std::string(kUnresolvedKeyMarker);
}

KeySelection SelectionFromSlide(const CurrentSlideData& slide, const KeySelection& resolved) {
    KeySelection keys;
    keys.clearAll(kEmptyKeyCode);
    int next = 0;
    for (size_t k = 0; k < 8; ++k) {
        const std::string& stored = slide.storedKeys[k];
        const size_t used = stored.find_last_not_of(' ');
        // An empty slot (no code, blanks, or EmptyKeyCode) carries no key.
        if (used == std::string::npos || stored.compare(0, used + 1, "00") == 0)
            continue;
        const auto& r = resolved.entries[k];
        auto& e = keys.entries[static_cast<size_t>(next++)];
        e.name = r.name.empty() ? UnresolvedKeyName(stored) : r.name;
        e.code = stored;
    }
    keys.count = next;
    return keys;
}

void CompactSelection(KeySelection& keys, const std::array<bool, 8>& checked) {
    int count = 8;
    for (size_t i = 0; i < 8; ++i) {
        if (!checked[i]) {
            keys.entries[i].name.clear();
            keys.entries[i].code = std::string(kEmptyKeyCode);
            --count;
        }
    }
    for (int pass = 0; pass < 8; ++pass) {
        for (size_t j = 0; j < 7; ++j) {
            if (keys.entries[j].name.empty()) {
                keys.entries[j] = keys.entries[j + 1];
                keys.entries[j + 1].name.clear();
                keys.entries[j + 1].code = std::string(kEmptyKeyCode);
            }
        }
    }
    keys.count = count;
}

} // namespace lumo
