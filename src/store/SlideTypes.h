#pragma once
// Shared in-memory types of one slide and of the keyword selection.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumo {

inline constexpr int kRecordSize = 82;
inline constexpr int kInfoOffset = 48;
inline constexpr int kBoxOffset = 81;
inline constexpr std::string_view kFreeSlotMarker = "Dia wurde entnommen / Platz frei";
inline constexpr std::string_view kEmptyKeyCode = "00    ";
// Slide numbers have at most five digits: the result list, dialiste.txt and the slide
// number input hold no more. No slide beyond this one is created, listed or opened.
inline constexpr int32_t kMaxSlideNumber = 99999;

// One entry of the KeySelection / KeyStore: a LevelCode (2, 4 or 6 bytes, or a
// 6-byte blank-padded code read from a record) and a keyword name (<= 18 bytes).
struct KeyEntry {
    std::string code;
    std::string name;
};

// The keywords currently chosen (and, with the same shape, the KEY ABLAGE).
struct KeySelection {
    std::array<KeyEntry, 8> entries;
    int32_t count = 0;

    // Clears all 8 entries (empty names; codes set to `code`) and sets count 0.
    void clearAll(std::string_view code = {}) {
        for (auto& e : entries) {
            e.name.clear();
            e.code = std::string(code);
        }
        count = 0;
    }
};

// The single in-memory copy of one slide.
struct CurrentSlideData {
    std::array<std::string, 8> storedKeys; // slot codes (<= 6 bytes)
    std::string infoText;                  // position, space, information text (<= 32 bytes)
    int32_t boxNumber = 0;
};

// Archive counters.
struct Counters {
    int32_t totalRecords = 0;
    int32_t activeSlides = -1; // -1: not yet known
    int32_t freeSlots = 0;
};

} // namespace lumo
