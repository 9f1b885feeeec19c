#include "extras/logic/PlaceGrid.h"

#include "search/Criteria.h"
#include "store/FileUtil.h"
#include "store/HeaderData.h"
#include "store/SlideDatabase.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace lumo {

namespace {

constexpr size_t kBoxes = 256;

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// "42.txt" with one of the suffixes -> 42; the number written as the program writes it
// (no leading zero), as the windows look the files up by the slide number.
int32_t NumberOfName(std::string_view name, std::string_view suffixA, std::string_view suffixB) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot > 5 || name[0] == '0')
        return 0;
    const std::string suffix = FoldAscii(name.substr(dot));
    if (suffix != suffixA && suffix != suffixB)
        return 0;
    int32_t n = 0;
    for (char c : name.substr(0, dot)) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

int Clamp(int v, int hi) {
    return std::clamp(v, 1, hi);
}

} // namespace

std::optional<PlaceCode> ParsePlaceCode(std::string_view code) {
    if (code.size() < 3)
        return std::nullopt;
    char letter = code[0];
    if (letter >= 'a' && letter <= 'z')
        letter = char(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z' || code[1] < '0' || code[1] > '9' || code[2] < '0' ||
        code[2] > '9')
        return std::nullopt;
    const int place = (code[1] - '0') * 10 + (code[2] - '0');
    if (place == 0)
        return std::nullopt;
    return PlaceCode{letter - 'A', place};
}

std::string PlaceCodeText(int magazine, int place) {
    std::string s(1, char('A' + magazine));
    s += char('0' + place / 10);
    s += char('0' + place % 10);
    return s;
}

BoxSummary BoxMap::summary() const {
    BoxSummary s;
    s.box = box;
    s.unplaced = int(unplaced.size());
    s.slides = s.unplaced;
    for (const auto& c : claims) {
        s.slides += int(c.size());
        if (c.empty())
            ++s.freePlaces;
        else if (c.size() > 1)
            ++s.doubledPlaces;
    }
    return s;
}

std::vector<GridRow> GridRows(const BoxMap& map) {
    std::vector<GridRow> rows;
    for (int m = 0; m < map.magazines; ++m)
        for (int first = 1; first <= map.places; first += kPlacesPerGridRow)
            rows.push_back({m, first, std::min(map.places, first + kPlacesPerGridRow - 1)});
    return rows;
}

Problem CollectionIndex::Load(const Archive& archive) {
    int err = 0;
    auto records = ReadWholeFile(archive.resolve("dias.ddb"), &err);
    if (!records)
        return {ProblemKind::Error31, err, 0};
    const auto header = ReadWholeFile(archive.resolve("kopfdata.ddb"));
    Build(std::move(*records), header ? std::string_view(*header) : std::string_view(),
          Listed(archive, "memo", memoListing_), Listed(archive, "bilder", pictureListing_));
    return {};
}

const std::vector<std::string>& CollectionIndex::Listed(const Archive& archive, const char* dir,
                                                        Listing& listing) {
    struct stat st {};
    if (::stat(archive.resolve(dir).c_str(), &st) != 0) {
        listing = {};
        return listing.names;
    }
    const long long mtime = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    if (listing.mtimeNs != mtime || listing.ino != st.st_ino) {
        listing.names = archive.list(dir);
        listing.mtimeNs = mtime;
        listing.ino = st.st_ino;
    }
    return listing.names;
}

void CollectionIndex::Build(std::string records, std::string_view headerData,
                            const std::vector<std::string>& memoNames,
                            const std::vector<std::string>& pictureNames) {
    // A tail of 41..81 bytes counts as one more record, as the record count takes it.
    const size_t tail = records.size() % kRecordSize;
    records.resize(records.size() - tail + (tail >= kRecordSize / 2 ? kRecordSize : 0), '\0');
    records_ = std::move(records);
    const int32_t total = totalRecords();
    slidesByBox_.assign(kBoxes, {});
    marks_.assign(size_t(total) + 1, 0);

    const std::string marker = UpperAscii(kFreeSlotMarker);
    SlideRecord rec;
    for (int32_t n = 1; n <= total; ++n) {
        std::memcpy(rec.bytes.data(), records_.data() + size_t(n - 1) * kRecordSize, kRecordSize);
        if (!IsFreeSlot(rec, marker))
            slidesByBox_[rec.box()].push_back(n);
    }
    for (const auto& name : memoNames)
        if (const int32_t n = NumberOfName(name, ".txt", ".doc"); n > 0 && n <= total)
            marks_[size_t(n)] |= MarkMemo;
    for (const auto& name : pictureNames)
        if (const int32_t n = NumberOfName(name, ".bmp", ".jpg"); n > 0 && n <= total)
            marks_[size_t(n)] |= MarkPicture;
    const int32_t headerRecords = int32_t(headerData.size() / kHeaderRecordSize);
    for (int32_t n = 1; n <= std::min(total, headerRecords); ++n) {
        const auto* r =
            reinterpret_cast<const unsigned char*>(headerData.data()) + size_t(n - 1) * 120;
        // A field holds a value when a byte other than a blank comes before its NUL.
        for (int f = 0; f < 8 && !(marks_[size_t(n)] & MarkHeaderData); ++f)
            for (int b = 0; b < kHeaderFieldSize && r[f * kHeaderFieldSize + b] != 0; ++b)
                if (r[f * kHeaderFieldSize + b] != ' ') {
                    marks_[size_t(n)] |= MarkHeaderData;
                    break;
                }
    }
}

std::vector<BoxSummary> CollectionIndex::Boxes(int magazinesPerBox, int slidesPerMagazine) const {
    // The counts of every box without building its map: one pass over its slides for the
    // grid's size, one to count the claims of each place.
    std::vector<BoxSummary> out;
    std::vector<uint16_t> claims;
    std::vector<int> cell;
    for (size_t box = 0; box < slidesByBox_.size(); ++box) {
        const auto& slides = slidesByBox_[box];
        if (slides.empty())
            continue;
        BoxSummary s;
        s.box = int(box);
        s.slides = int(slides.size());
        int magazines = Clamp(magazinesPerBox, kMaxMagazines);
        int places = Clamp(slidesPerMagazine, kMaxPlaces);
        cell.clear();
        for (int32_t n : slides) {
            const char* info = records_.data() + size_t(n - 1) * kRecordSize + kInfoOffset;
            if (const auto code = ParsePlaceCode(std::string_view(info, 3))) {
                magazines = std::max(magazines, code->magazine + 1);
                places = std::max(places, code->place);
                cell.push_back(code->magazine * 100 + code->place);
            } else {
                ++s.unplaced;
            }
        }
        claims.assign(size_t(magazines * places), 0);
        for (int c : cell)
            ++claims[size_t((c / 100) * places + c % 100 - 1)];
        for (uint16_t count : claims) {
            s.freePlaces += count == 0;
            s.doubledPlaces += count > 1;
        }
        out.push_back(s);
    }
    return out;
}

BoxMap CollectionIndex::MapOf(int box, int magazinesPerBox, int slidesPerMagazine) const {
    BoxMap map;
    map.box = box;
    map.magazines = Clamp(magazinesPerBox, kMaxMagazines);
    map.places = Clamp(slidesPerMagazine, kMaxPlaces);
    if (box < 0 || size_t(box) >= slidesByBox_.size())
        return map;
    const auto& slides = slidesByBox_[size_t(box)];
    std::vector<std::pair<PlaceCode, int32_t>> placed;
    placed.reserve(slides.size());
    for (int32_t n : slides) {
        const char* info = records_.data() + size_t(n - 1) * kRecordSize + kInfoOffset;
        if (const auto code = ParsePlaceCode(std::string_view(info, 3))) {
            placed.emplace_back(*code, n);
            map.magazines = std::max(map.magazines, code->magazine + 1);
            map.places = std::max(map.places, code->place);
        } else {
            map.unplaced.push_back(n);
        }
    }
    map.claims.assign(size_t(map.magazines * map.places), {});
    for (const auto& [code, n] : placed)
        map.claims[size_t(code.magazine * map.places + code.place - 1)].push_back(n);
    return map;
}

std::string CollectionIndex::InfoField(int32_t n) const {
    if (n < 1 || n > totalRecords())
        return {};
    const char* info = records_.data() + size_t(n - 1) * kRecordSize + kInfoOffset;
    const size_t len = strnlen(info, 33);
    return TrimRight(std::string(info, len));
}

CurrentSlideData CollectionIndex::SlideData(int32_t n) const {
    CurrentSlideData slide;
    if (n < 1 || n > totalRecords())
        return slide;
    SlideRecord rec;
    std::memcpy(rec.bytes.data(), records_.data() + size_t(n - 1) * kRecordSize, kRecordSize);
    SlideFromRecord(rec, slide);
    return slide;
}

uint8_t CollectionIndex::Marks(int32_t n) const {
    return n >= 1 && size_t(n) < marks_.size() ? marks_[size_t(n)] : 0;
}

int CollectionIndex::BoxOf(int32_t n) const {
    return n >= 1 && n <= totalRecords()
               ? int(static_cast<unsigned char>(records_[size_t(n - 1) * kRecordSize + kBoxOffset]))
               : 0;
}

bool CollectionIndex::IsSlide(int32_t n) const {
    if (n < 1 || n > totalRecords())
        return false;
    const auto& list = slidesByBox_[size_t(BoxOf(n))];
    return std::binary_search(list.begin(), list.end(), n);
}

} // namespace lumo
