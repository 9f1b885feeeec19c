// Slide records and the archive analysis: dias.ddb and the three keyword files come from
// the input; counting, analysis, reading, re-recording, appending and the three record
// scans run over them, and the fast record tests are held against plain ones.
//   parts: dias.ddb | keyword1 | keyword2 | keyword3 | search text | parameters
#include "FuzzSupport.h"

#include "search/Criteria.h"
#include "search/SearchRun.h"
#include "store/SlideDatabase.h"

#include <array>
#include <cstring>

namespace {

using namespace lumo;

// The free-slot rule written out plainly.
bool PlainFreeSlot(const unsigned char* rec) {
    if (std::memcmp(rec, "00    ", 6) == 0)
        return true;
    return fuzz::FoldAscii(RecordTextUpToNul(rec)).find(fuzz::FoldAscii(kFreeSlotMarker)) !=
           std::string::npos;
}

// The key test written out plainly: the first occurrence of every selected code lies at a
// slot start of the record text.
bool PlainKeyTest(std::string_view text, const KeySelection& keys) {
    for (int i = 0; i < keys.count; ++i) {
        const std::string& code = keys.entries[static_cast<size_t>(i)].code;
        if (code.empty())
            return false;
        const size_t at = text.find(code);
        if (at == std::string_view::npos || at % 6 != 0 || at >= 48)
            return false;
    }
    return true;
}

bool PlainContains(std::string_view hay, std::string_view needle, bool caseSensitive) {
    if (needle.empty())
        return false;
    return caseSensitive ? hay.find(needle) != std::string_view::npos
                         : fuzz::FoldAscii(hay).find(fuzz::FoldAscii(needle)) != std::string::npos;
}

// Record n as the scans see it: missing bytes at the end of the file are zero.
std::array<unsigned char, kRecordSize + kRecordSlack> RecordAt(std::string_view file, int32_t n) {
    std::array<unsigned char, kRecordSize + kRecordSlack> rec{};
    const size_t at = static_cast<size_t>(n - 1) * kRecordSize;
    if (at < file.size())
        std::memcpy(rec.data(), file.data() + at, std::min<size_t>(kRecordSize, file.size() - at));
    return rec;
}

ReportStamp FixedStamp() {
    return {"01.02.03", "04:05:06"};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchArchive scratch;
    auto parts = fuzz::SplitParts(data, size, 6);
    fuzz::Params params(parts[5]);
    scratch.clear();
    scratch.write("dias.ddb", parts[0]);
    for (int level = 1; level <= 3; ++level)
        scratch.write("keyword" + std::to_string(level), parts[static_cast<size_t>(level)]);
    const Archive archive(scratch.dir());
    const std::string& dias = parts[0];

    Counters counters;
    FUZZ_CHECK(!CountRecords(archive, counters));
    const int32_t total = counters.totalRecords;
    FUZZ_CHECK(total == static_cast<int32_t>((dias.size() + 41) / 82));

    // The analysis against the plain rule, record by record.
    FUZZ_CHECK(!AnalyseArchive(archive, kFreeSlotMarker, counters));
    int32_t freeSlots = 0;
    const std::string upperMarker = fuzz::FoldAscii(kFreeSlotMarker);
    for (int32_t n = 1; n <= total; ++n) {
        const auto rec = RecordAt(dias, n);
        const bool plain = PlainFreeSlot(rec.data());
        SlideRecord r;
        std::memcpy(r.bytes.data(), rec.data(), kRecordSize);
        FUZZ_CHECK(IsFreeSlot(r, upperMarker) == plain);
        FUZZ_CHECK(IsFreeSlotRecord(rec.data()) == plain);
        freeSlots += plain;
    }
    FUZZ_CHECK(counters.freeSlots == freeSlots);
    FUZZ_CHECK(counters.activeSlides == total - freeSlots);

    // Reading a slide resolves its keys through the keyword files.
    CurrentSlideData slide;
    KeySelection keys;
    const int32_t chosen =
        total > 0
            ? 1 + static_cast<int32_t>(params.below(static_cast<unsigned>(std::min(total, 255))))
            : 0;
    if (chosen > 0) {
        const Problem p = ReadSlide(archive, chosen, slide, keys);
        FUZZ_CHECK(!p);
        FUZZ_CHECK(keys.count >= 0 && keys.count <= 8);
        for (const auto& e : keys.entries)
            FUZZ_CHECK(e.name.size() <= 18 && e.code.size() <= 6);
        for (const auto& k : slide.storedKeys)
            FUZZ_CHECK(k.size() <= 6 && k.find('\0') == std::string::npos);
        FUZZ_CHECK(slide.infoText.size() <= 33);
    }

    // The key, info text and box scans against the plain tests.
    KeySelection selection;
    if (chosen > 0) {
        // Codes taken from the chosen record's slots, so that some records match.
        const unsigned wanted = params.below(4);
        for (unsigned i = 0; i < wanted; ++i) {
            std::string code = slide.storedKeys[params.below(8)];
            if (params.flag() && code.size() > 2)
                code.resize(2 + params.below(static_cast<unsigned>(code.size() - 1)));
            selection.entries[static_cast<size_t>(selection.count++)].code = code;
        }
    }
    const std::string& searchText = parts[4];
    const bool caseSensitive = params.flag();
    const int32_t box = static_cast<int32_t>(params.next());
    const KeyMatcher keyMatcher(selection);
    const TextMatcher textMatcher(searchText, caseSensitive);
    int32_t keyHits = 0, textHits = 0, boxHits = 0;
    for (int32_t n = 1; n <= total; ++n) {
        const auto rec = RecordAt(dias, n);
        const std::string_view text = RecordTextUpToNul(rec.data());
        const bool keyHit = PlainKeyTest(text, selection);
        FUZZ_CHECK(keyMatcher.matches(text) == keyHit);
        FUZZ_CHECK(keyMatcher.matchesRecord(rec.data()) == keyHit);
        const bool textHit = PlainContains(RecordInfo(rec.data()), searchText, caseSensitive);
        FUZZ_CHECK(textMatcher.matchesInfo(rec.data()) == textHit);
        FUZZ_CHECK(textMatcher.matchesInfoInBlock(rec.data()) == textHit);
        keyHits += keyHit;
        textHits += textHit;
        boxHits += rec[kBoxOffset] == box;
    }
    std::vector<std::string> list;
    ResultPage page;
    int32_t found = 0;
    {
        SearchRun run(archive, list, page, found, FixedStamp);
        FUZZ_CHECK(!ScanKeys(run, total, selection) && !run.Finish(total));
        FUZZ_CHECK(found == keyHits && static_cast<int32_t>(list.size()) == keyHits);
    }
    {
        SearchRun run(archive, list, page, found, FixedStamp);
        FUZZ_CHECK(!ScanInfoText(run, total, searchText, caseSensitive) && !run.Finish(total));
        FUZZ_CHECK(found == textHits);
    }
    {
        SearchRun run(archive, list, page, found, FixedStamp);
        FUZZ_CHECK(!ScanBox(run, total, box) && !run.Finish(total));
        FUZZ_CHECK(found == boxHits);
    }

    // Re-recording the chosen slide and appending a copy: both read back as written and
    // no other byte of the file changes.
    if (chosen > 0 && slide.infoText.size() <= 32) {
        FUZZ_CHECK(!WriteSlide(archive, chosen, slide));
        FUZZ_CHECK(!WriteSlide(archive, total + 1, slide));
        const std::string after = scratch.read("dias.ddb");
        FUZZ_CHECK(after.size() == static_cast<size_t>(total + 1) * kRecordSize);
        const size_t at = static_cast<size_t>(chosen - 1) * kRecordSize;
        const size_t kept = std::min(dias.size(), static_cast<size_t>(total) * kRecordSize);
        for (size_t i = 0; i < kept; ++i)
            FUZZ_CHECK(i - at < kRecordSize || after[i] == dias[i]);
        for (int32_t n : {chosen, total + 1}) {
            CurrentSlideData back;
            KeySelection backKeys;
            FUZZ_CHECK(!ReadSlide(archive, n, back, backKeys));
            FUZZ_CHECK(back.storedKeys == slide.storedKeys);
            FUZZ_CHECK(back.infoText == slide.infoText);
            FUZZ_CHECK(back.boxNumber == slide.boxNumber);
        }
        Counters grown;
        FUZZ_CHECK(!CountRecords(archive, grown) && grown.totalRecords == total + 1);
    }
    return 0;
}
