#include "extras/logic/Catalog.h"

#include "search/Criteria.h"
#include "search/Reports.h"
#include "store/FileUtil.h"
#include "store/SlideTypes.h"

#include <algorithm>

namespace lumo {

namespace {

std::string TrimTrailingBlanks(std::string_view s) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] == ' ')
        --end;
    return std::string(s.substr(0, end));
}

std::string PaddedSlotCode(std::string_view prefix) {
    std::string code(prefix);
    code.resize(6, ' ');
    return code;
}

bool NeverWritten(const SlideRecord& rec) {
    return std::all_of(rec.bytes.begin(), rec.bytes.end(), [](unsigned char b) { return b == 0; });
}

std::vector<KeywordEntry> EntriesOf(const Archive& archive, int level) {
    auto data = ReadWholeFile(archive.resolve(KeywordFileName(level)));
    return data ? ParseKeywordFile(*data) : std::vector<KeywordEntry>{};
}

} // namespace

const std::vector<std::string>& KeyPath::names() const {
    static const std::vector<std::string> none;
    return path ? *path : none;
}

std::string KeyPath::joined(std::string_view separator) const {
    if (!path)
        return code;
    std::string out = path->front();
    for (size_t i = 1; i < path->size(); ++i) {
        out += separator;
        out += (*path)[i];
    }
    return out;
}

KeywordPaths::KeywordPaths(const std::vector<KeywordEntry>& level1,
                           const std::vector<KeywordEntry>& level2,
                           const std::vector<KeywordEntry>& level3) {
    struct Known {
        int level = 0;
        std::string name;
    };
    std::unordered_map<std::string, Known> known;
    const std::array<const std::vector<KeywordEntry>*, 3> levels{&level1, &level2, &level3};
    // The slide reader walks keyword3 first and keeps the last entry of a code: the level-1
    // file, read last, wins a code that two files hold.
    for (int level = 3; level >= 1; --level) {
        for (const KeywordEntry& e : *levels[size_t(level - 1)]) {
            std::string slot = SlotCodeOf(e, level);
            if (!slot.empty())
                known[slot] = Known{level, e.text};
        }
    }
    // The parents by the leading 2 and 4 bytes of the code; a parent that is missing from
    // its file is named by its code, so the path keeps its depth.
    for (const auto& [slot, own] : known) {
        auto names = std::make_shared<std::vector<std::string>>();
        const std::string code = TrimTrailingBlanks(slot);
        for (int level = 1; level < own.level; ++level) {
            const std::string prefix = code.substr(0, size_t(level) * 2);
            auto parent = known.find(PaddedSlotCode(prefix));
            names->push_back(parent != known.end() && parent->second.level == level
                                 ? parent->second.name
                                 : prefix);
        }
        names->push_back(own.name);
        paths_[slot] = std::move(names);
    }
}

KeyPath KeywordPaths::resolve(std::string_view slotCode) const {
    KeyPath key;
    if (slotCode.empty() || slotCode == kEmptyKeyCode)
        return key;
    key.code = TrimTrailingBlanks(slotCode);
    if (key.code.empty())
        return key;
    auto it = paths_.find(std::string(slotCode));
    if (it != paths_.end())
        key.path = it->second;
    return key;
}

KeywordPaths LoadKeywordPaths(const Archive& archive) {
    return KeywordPaths(EntriesOf(archive, 1), EntriesOf(archive, 2), EntriesOf(archive, 3));
}

void SplitInfoText(std::string_view info, std::string& position, std::string& text) {
    position = std::string(info.substr(0, std::min<size_t>(3, info.size())));
    text = info.size() > 4 ? TrimTrailingBlanks(info.substr(4)) : std::string();
}

Problem ReadCatalog(const Archive& archive, std::vector<CatalogSlide>& out,
                    const std::optional<std::vector<int32_t>>& only, CatalogParts parts) {
    out.clear();
    Counters counters;
    if (Problem p = CountRecords(archive, counters))
        return p;
    const int32_t total = std::min(counters.totalRecords, kMaxSlideNumber);
    std::vector<bool> wanted;
    if (only) {
        wanted.assign(size_t(total) + 1, false);
        for (int32_t n : *only)
            if (n >= 1 && n <= total)
                wanted[size_t(n)] = true;
    }
    const KeywordPaths paths = LoadKeywordPaths(archive);
    // A free slot as the archive analysis counts it, and also one whose first key slot
    // is empty but whose text is the marker.
    const std::string upperMarker = UpperAscii(kFreeSlotMarker);

    out.reserve(only ? only->size() : size_t(total));
    SlideRecord rec;
    const Problem scan = ForEachRecordBlock(
        archive, 1, total, [&](int32_t first, const unsigned char* records, int32_t count) {
            for (int32_t i = 0; i < count; ++i) {
                const int32_t n = first + i;
                if (only && !wanted[size_t(n)])
                    continue;
                std::copy_n(records + size_t(i) * kRecordSize, kRecordSize, rec.bytes.begin());
                if (NeverWritten(rec) || IsFreeSlot(rec, upperMarker) ||
                    UpperAscii(rec.infoText()).find(upperMarker) != std::string::npos)
                    continue;
                CatalogSlide& s = out.emplace_back();
                s.number = n;
                s.box = rec.box();
                SplitInfoText(rec.infoText(), s.position, s.text);
                for (int k = 0; k < 8; ++k)
                    s.keys[size_t(k)] = paths.resolve(rec.keySlot(k));
            }
            return true;
        });
    if (scan)
        return scan;

    if (parts.headerData && !out.empty()) {
        // kopfdata.ddb whole: one read instead of one per slide.
        auto data = ReadWholeFile(archive.resolve("kopfdata.ddb"));
        if (data) {
            for (CatalogSlide& s : out) {
                const size_t at = size_t(s.number - 1) * kHeaderRecordSize;
                if (at >= data->size())
                    continue;
                unsigned char record[kHeaderRecordSize] = {};
                std::copy_n(data->data() + at,
                            std::min<size_t>(kHeaderRecordSize, data->size() - at),
                            reinterpret_cast<char*>(record));
                for (int f = 0; f < 8; ++f)
                    s.header[size_t(f)] = HeaderFieldValue(record + f * kHeaderFieldSize);
            }
        }
    }
    if (parts.memos && !out.empty()) {
        // The memo directory is listed once; only the memos that exist are read.
        const auto memos = archive.listFolded("memo");
        const std::filesystem::path memoDir = archive.resolve("memo");
        for (CatalogSlide& s : out) {
            auto it = memos.find(std::to_string(s.number) + ".txt");
            if (it == memos.end())
                continue;
            int err = 0;
            auto bytes = ReadWholeFile(memoDir / it->second, &err);
            if (!bytes)
                return Problem::io(err ? err : 2);
            s.memoLines = SplitMemoLines(*bytes);
            s.hasMemo = true;
        }
    }
    return {};
}

} // namespace lumo
