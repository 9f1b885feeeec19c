// The record tests of the scan on hand-built records, and against plain rules on random ones.
#include "search/Criteria.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sys/mman.h>
#include <unistd.h>

namespace lumo {
namespace {

using test::HeaderRecordBytes;
using test::RecordBytes;
using Strings = std::vector<std::string>;

const unsigned char* Bytes(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

KeySelection Select(const Strings& codes) {
    KeySelection keys;
    for (const auto& c : codes)
        keys.entries[static_cast<size_t>(keys.count++)].code = c;
    return keys;
}

TEST(KeyTest, CodesMustStartASlotAtTheirFirstOccurrence) {
    const Strings full{"C1", "C2", "C3", "C4", "C5", "C6", "C7", "A1B2C3"};
    const Strings freeSlot(8, std::string(kEmptyKeyCode));
    const struct {
        Strings slots;
        std::string info;
        Strings selected;
        bool found;
    } rows[] = {
        {{"A1B2"}, "A01 x", {"A1"}, true},  // level 1 finds its level 2
        {{"A1"}, "A01 x", {"A1B2"}, false}, // a deeper key is not found by a parent
        {{"A1"}, "A01", {"A1", "C1"}, false},
        {{"C1B1", "B1"}, "A01", {"B1"}, false}, // only the first occurrence counts
        {{"C1"}, "A01 A1 B1", {"A1"}, false},   // the info field holds no keys
        {freeSlot, std::string(kFreeSlotMarker), {"A1"}, false},
        {{"A1"}, "A01", {"A1", ""}, false},       // an empty code never occurs
        {{"C1", "", "A1"}, "A01", {"A1"}, false}, // the text ends at the first NUL
        {full, "A01", {"A1B2C3"}, true},          // the last slot, and codes running into the info
        {full, "XYZWV", {"A1B2C3XYZW"}, true},
        {full, "XYZWV", {"A1B2C3XQZW"}, false},
        {{"C1", "A1"}, "A01", {"A"}, true},
        {{"CA", "A1"}, "A01", {"A"}, false},
        {{"A1"}, "A01", {std::string("A1\0", 3)}, false},
        {full, "A01", {std::string(83, 'C')}, false},
    };
    for (const auto& r : rows) {
        const std::string rec = RecordBytes(r.slots, r.info, 1);
        const std::string name = r.slots[0] + "/" + r.info + "/" + r.selected[0];
        EXPECT_EQ(KeyTest(RecordTextUpToNul(Bytes(rec)), Select(r.selected)), r.found) << name;
        EXPECT_EQ(KeyMatcher(Select(r.selected)).matchesRecord(Bytes(rec)), r.found) << name;
    }
}

TEST(TextTests, InfoAndMemoTextsFoldOnlyAsciiLetters) {
    const std::string memo = "Erste Zeile\r\nZweite Zeile mit Rom\nDritte\rletzte Zeile";
    const std::string longLine(5000, 'x');
    const struct {
        bool memo;
        std::string text, needle;
        bool caseSensitive, found;
    } rows[] = {
        {false, "A05 Urlaub in Rom", "urlaub", false, true},
        {false, "A05 Urlaub in Rom", "a05", false, true}, // the position code is searched too
        {false, "A05 \xc4gypten", "\xe4gypten", false, false},
        {false, "A05 \xc4gypten", "\xc4GYPTEN", false, true},
        {false, "A05 Urlaub", "", false, false},
        {false, "A05", "A05 Urlaub", false, false},
        {true, memo, "rom", false, true},
        {true, memo, "letzte", true, true},
        {true, memo, "Dritte letzte", false, false}, // no match across a line break
        {true, longLine + "Nadel" + longLine, "nadel", false, true},
        {true, "", "x", false, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.memo ? MemoTextTest(r.text, r.needle, r.caseSensitive)
                         : InfoTextTest(r.text, r.needle, r.caseSensitive),
                  r.found)
            << r.text.substr(0, 30) << " / " << r.needle << " / " << r.caseSensitive;
}

TEST(HeaderRecordTest, FoldedCriteriaAllMustOccurInTheirField) {
    const std::string spaces(120, ' ');
    std::string afterNul = HeaderRecordBytes({"Leica"});
    afterNul.replace(6, 3, "ABC"); // text after the NUL of a field is no part of its value
    const struct {
        std::string record;
        std::vector<std::pair<size_t, std::string>> criteria; // the others are unused
        bool found;
    } rows[] = {
        {HeaderRecordBytes({"NIKON F50"}), {{0, "nikon"}}, true},
        {HeaderRecordBytes({"Canon", "Nikon"}), {{0, "nikon"}}, false}, // wrong field
        {HeaderRecordBytes({"Nikon F50", "", "", "", "", "", "8"}),
         {{0, "nikon"}, {6, "5.6"}},
         false},
        {HeaderRecordBytes({"Nikon F50", "", "", "", "", "", "f 5.6"}),
         {{0, "nikon"}, {6, "5.6"}},
         true},
        {HeaderRecordBytes({"", "", "", "\xc4RA"}), {{3, "\xe4"}}, false},
        {afterNul, {{0, "abc"}}, false},
        // A 15-character value without NUL is compared whole, and not into the next field.
        {HeaderRecordBytes({"Kamera", "Zoom 70-210 XYZ"}), {{1, "zoom 70-210 xyz"}}, true},
        {HeaderRecordBytes({"Kamera", "Zoom 70-210 XYZ", "Kodak"}), {{1, "xyzk"}}, false},
        {spaces, {}, true}, // all criteria unused: any existing record
        {"", {}, false},    // beyond the end of the file
        {spaces, {{2, ""}}, false},
        {"Nikon F", {{0, "nikon"}}, true},         // cut short by the end of the file
        {spaces, {{0, "NICHT VERWENDET"}}, false}, // only the exact marker means unused
    };
    for (const auto& r : rows) {
        std::array<std::string, 8> c;
        c.fill(std::string(kUnusedCriterion));
        for (const auto& [field, value] : r.criteria)
            c[field] = value;
        EXPECT_EQ(HeaderRecordTest(r.record, c), r.found) << r.record.substr(0, 30);
    }
}

TEST(FreeSlotRule, MarkerAnyCaseOrEmptyFirstSlot) {
    const Strings full(8, "A1"); // the marker counts only where the record text reaches it
    EXPECT_TRUE(IsFreeSlotRecord(Bytes(RecordBytes(full, kFreeSlotMarker, 1))));
    EXPECT_TRUE(IsFreeSlotRecord(Bytes(RecordBytes(full, "DIA WURDE ENTNOMMEN / PLATZ FREI", 1))));
    EXPECT_FALSE(IsFreeSlotRecord(Bytes(RecordBytes({"A1"}, kFreeSlotMarker, 1))));
    EXPECT_TRUE(IsFreeSlotRecord(Bytes(RecordBytes({"00", "A1"}, "A01 Strand", 1))));
    EXPECT_FALSE(IsFreeSlotRecord(Bytes(RecordBytes({"", "00"}, kFreeSlotMarker, 1))));
}

// The first occurrence of every code in the text up to the NUL starts a slot (0, 6, ..., 42).
bool PlainKeyRule(std::string_view text, const Strings& codes) {
    return std::all_of(codes.begin(), codes.end(), [&](const std::string& code) {
        size_t pos = code.empty() ? std::string_view::npos : text.find(code);
        return pos != std::string_view::npos && pos < 48 && pos % 6 == 0;
    });
}

bool PlainContains(std::string_view value, std::string_view needle) {
    return !needle.empty() && UpperAscii(value).find(UpperAscii(needle)) != std::string::npos;
}

// Bytes that make near misses likely: both cases, the neighbours of a..z and A..Z, umlauts.
const std::string kAlphabet = std::string("AaBb12`{@[ \xc4\xe4") + '\0';
const std::string kLetters = "AaBb`{@[\xc4\xe4 ";

std::string RandomBytes(std::mt19937& rng, size_t size, const std::string& alphabet) {
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string s(size, ' ');
    for (auto& c : s)
        c = alphabet[pick(rng)];
    return s;
}

// No byte past the record is read, whatever the code length: readable memory ends there.
TEST(KeyTest, RecordLevelTestStaysInsideTheRecord) {
    const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    void* mem =
        ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mem, MAP_FAILED);
    auto* base = static_cast<unsigned char*>(mem);
    ASSERT_EQ(::mprotect(base + page, page, PROT_NONE), 0);
    unsigned char* rec = base + page - kRecordSize;
    const std::string text = "A1B2C3D4E5F6G7H8I9J0K1L2M3N4O5P6Q7R8S9T0U1V2W3X4Y5Z6a7b8c9d0e1f2";
    for (size_t len : {2, 6, 8, 35, 36, 40, 48, 60, 82}) {
        std::memset(rec, ' ', kRecordSize);
        std::memcpy(rec, text.data(), std::min(text.size(), size_t{kRecordSize}));
        rec[kRecordSize - 1] = 1;
        const std::string code = text.substr(0, std::min(len, text.size())) +
                                 std::string(len > text.size() ? len - text.size() : 0, ' ');
        const std::string view(reinterpret_cast<const char*>(rec), kRecordSize);
        EXPECT_EQ(KeyMatcher(Select({code})).matchesRecord(rec), PlainKeyRule(view, {code})) << len;
        const std::string other = code.substr(0, len - 1) + '#';
        EXPECT_FALSE(KeyMatcher(Select({other})).matchesRecord(rec)) << len;
    }
    ::munmap(mem, 2 * page);
}

TEST(RecordTests, KeyAndInfoTestsFollowThePlainRulesOnRandomRecords) {
    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> codeLength(0, 8), codeCount(1, 3), nulChance(0, 3),
        needleLength(0, 35);
    int keysFound = 0, textsFound = 0;
    for (int round = 0; round < 40000; ++round) {
        const std::string keyRec =
            RandomBytes(rng, kRecordSize, nulChance(rng) ? "AB12" : kAlphabet);
        Strings codes;
        for (int i = codeCount(rng); i > 0; --i) {
            codes.push_back(RandomBytes(rng, static_cast<size_t>(codeLength(rng)), "AB12"));
            if (round % 97 == 0 && !codes.back().empty())
                codes.back()[0] = '\0'; // a code that can never lie in the text
        }
        const KeyMatcher keys(Select(codes));
        const bool keyExpected = PlainKeyRule(keyRec.c_str(), codes);
        ASSERT_EQ(keys.matchesRecord(Bytes(keyRec)), keyExpected) << "round " << round;
        ASSERT_EQ(keys.matches(RecordTextUpToNul(Bytes(keyRec))), keyExpected) << round;
        keysFound += keyExpected;
        const std::string rec =
            RandomBytes(rng, kRecordSize, nulChance(rng) ? kLetters : kAlphabet);
        const size_t len = static_cast<size_t>(needleLength(rng));
        std::string needle = RandomBytes(rng, len, kLetters);
        if (round % 2 == 0 && len <= 33) { // from the field (maybe past its NUL)
            needle = rec.substr(48 + std::uniform_int_distribution<size_t>(0, 33 - len)(rng), len);
            for (auto& c : needle)
                if (rng() % 3 == 0 && c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c + 32);
        }
        const bool caseSensitive = round % 3 == 0;
        const std::string info = rec.substr(48, 33).c_str(); // up to its NUL
        const bool expected = caseSensitive ? !needle.empty() && info.find(needle) != info.npos
                                            : PlainContains(info, needle);
        const TextMatcher matcher(needle, caseSensitive);
        ASSERT_EQ(matcher.matchesInfo(Bytes(rec)), expected) << "round " << round;
        // In a block the next record's bytes follow; they are no part of the field.
        const std::string inBlock = rec + RandomBytes(rng, kRecordSlack, kLetters);
        ASSERT_EQ(matcher.matchesInfoInBlock(Bytes(inBlock)), expected) << "round " << round;
        ASSERT_EQ(matcher.matches(info), expected) << "round " << round;
        textsFound += expected;
    }
    EXPECT_GT(keysFound, 400);
    EXPECT_GT(textsFound, 2000);
    EXPECT_LT(std::max(keysFound, textsFound), 38000);
}

} // namespace
} // namespace lumo
