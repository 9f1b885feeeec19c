#pragma once
// The magazine map's model: which places of a box are empty, taken or claimed twice.
// One read of dias.ddb (plus kopfdata.ddb and the memo and picture listings for the marks)
// gives an index of every slide by box; the map of one box is then built from its slides
// alone, so switching boxes costs only that box's work.
#include "store/Archive.h"
#include "store/Problem.h"
#include "store/SlideTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

inline constexpr int kMaxMagazines = 26; // letters A..Z
inline constexpr int kMaxPlaces = 99;    // two digits
inline constexpr int kPlacesPerGridRow = 10;

struct PlaceCode {
    int magazine = 0; // 0 = A
    int place = 0;    // 1..99
};

// "A05" (or "a05") -> {0, 5}; nothing for "???", "A00", "5A1" or anything shorter.
std::optional<PlaceCode> ParsePlaceCode(std::string_view code);
std::string PlaceCodeText(int magazine, int place); // {0, 5} -> "A05"

// What else a slide has: bits of SlideMarks.
enum SlideMark : uint8_t { MarkMemo = 1, MarkPicture = 2, MarkHeaderData = 4 };

struct BoxSummary {
    int box = 0;
    int slides = 0;
    int freePlaces = 0;
    int doubledPlaces = 0; // places claimed by two or more slides
    int unplaced = 0;      // slides without a place in the grid
};

// One box drawn as its magazines and places.
struct BoxMap {
    int box = 0;
    int magazines = 0; // letters A.. (at least KASTEN, more when the codes use more)
    int places = 0;    // places per magazine (at least MAGAZIN, more when the codes use more)
    // The slides claiming each place, index magazine * places + place - 1, in slide order.
    std::vector<std::vector<int32_t>> claims;
    std::vector<int32_t> unplaced; // "???" or no code of the form letter + two digits

    const std::vector<int32_t>& claimsAt(int magazine, int place) const {
        return claims[size_t(magazine * places + place - 1)];
    }
    BoxSummary summary() const;
};

// The grid as rows of up to ten places, magazine after magazine.
struct GridRow {
    int magazine = 0;
    int firstPlace = 1;
    int lastPlace = 1;
};
std::vector<GridRow> GridRows(const BoxMap& map);

class CollectionIndex {
public:
    // Reads dias.ddb (a problem when it cannot be read), kopfdata.ddb and the listings of
    // memo/ and bilder/ (missing ones give no marks).
    Problem Load(const Archive& archive);
    // The same from bytes already read (for tests and the benchmark).
    void Build(std::string records, std::string_view headerData,
               const std::vector<std::string>& memoNames,
               const std::vector<std::string>& pictureNames);

    int32_t totalRecords() const { return int32_t(records_.size() / 82); }
    // Boxes holding at least one slide (free slots do not count), ascending, with their
    // numbers for a grid of magazinesPerBox x slidesPerMagazine.
    std::vector<BoxSummary> Boxes(int magazinesPerBox, int slidesPerMagazine) const;
    BoxMap MapOf(int box, int magazinesPerBox, int slidesPerMagazine) const;

    // The info field of slide n as stored (up to its NUL, trailing blanks dropped).
    std::string InfoField(int32_t n) const;
    // Keys, info text and box of slide n as the slide reader takes them from the record.
    CurrentSlideData SlideData(int32_t n) const;
    uint8_t Marks(int32_t n) const;
    int BoxOf(int32_t n) const;
    bool IsSlide(int32_t n) const; // a record that is not a free slot

private:
    // The names of memo/ or bilder/, listed again only when the directory changed.
    struct Listing {
        long long mtimeNs = -1;
        unsigned long long ino = 0;
        std::vector<std::string> names;
    };
    const std::vector<std::string>& Listed(const Archive& archive, const char* dir,
                                           Listing& listing);
    Listing memoListing_, pictureListing_;
    std::string records_;
    std::vector<std::vector<int32_t>> slidesByBox_; // 256 lists
    std::vector<uint8_t> marks_;                    // by slide number
};

} // namespace lumo
