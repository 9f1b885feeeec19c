// The five tests of the archive scan on records and texts built by hand.
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

KeySelection Select(std::vector<std::string> codes) {
    KeySelection keys;
    for (auto& c : codes)
        keys.entries[static_cast<size_t>(keys.count++)].code = c;
    return keys;
}

bool KeysMatch(const std::vector<std::string>& slots, std::string_view info,
               const std::vector<std::string>& selected) {
    std::string rec = RecordBytes(slots, info, 1);
    return KeyTest(RecordTextUpToNul(reinterpret_cast<const unsigned char*>(rec.data())),
                   Select(selected));
}

TEST(KeyTest, SelectedCodeFindsSlotsBeginningWithIt) {
    EXPECT_TRUE(KeysMatch({"A1B2"}, "A01 x", {"A1"}));           // level 1 finds its level 2
    EXPECT_TRUE(KeysMatch({"B1", "A1B2C3"}, "A01 x", {"A1B2"})); // level 2 finds level 3
    EXPECT_TRUE(KeysMatch({"C1", "B1", "D1", "E1", "F1", "G1", "H1", "A1"}, "A01", {"A1"}));
    EXPECT_FALSE(KeysMatch({"A1"}, "A01 x", {"A1B2"})); // a deeper key is not found by a parent
}

TEST(KeyTest, EverySelectedKeyMustBePresentInAnyOrder) {
    EXPECT_TRUE(KeysMatch({"C1", "A1"}, "A01", {"A1", "C1"}));
    EXPECT_FALSE(KeysMatch({"A1"}, "A01", {"A1", "C1"}));
    EXPECT_FALSE(KeysMatch({"C1"}, "A01", {"A1", "C1"}));
}

TEST(KeyTest, OnlyTheFirstOccurrenceCounts) {
    // B1 first occurs at offset 2 inside C1B1; the later slot B1 does not help.
    EXPECT_FALSE(KeysMatch({"C1B1", "B1"}, "A01", {"B1"}));
    EXPECT_TRUE(KeysMatch({"B1", "C1B1"}, "A01", {"B1"}));
}

TEST(KeyTest, InfoFieldFreeSlotsAndEmptyCodesNeverMatch) {
    // Occurrences in the info field lie at offset 48 or later.
    EXPECT_FALSE(KeysMatch({"C1"}, "A01 A1 B1", {"A1"}));
    std::vector<std::string> freeSlot(8, std::string(kEmptyKeyCode));
    EXPECT_FALSE(KeysMatch(freeSlot, kFreeSlotMarker, {"A1"}));
    EXPECT_FALSE(KeysMatch(freeSlot, kFreeSlotMarker, {"D1"}));
    // An empty code never occurs, even in a record that has keys.
    EXPECT_FALSE(KeysMatch({"A1"}, "A01", {"A1", ""}));
    // The record text ends at the first NUL: a key after an empty slot is not seen.
    EXPECT_FALSE(KeysMatch({"C1", "", "A1"}, "A01", {"A1"}));
}

TEST(TextTests, CaseFoldingCoversOnlyAsciiLetters) {
    EXPECT_EQ(UpperAscii("abc\xe4\xdf xyz"), "ABC\xe4\xdf XYZ");
    EXPECT_TRUE(InfoTextTest("A05 Urlaub in Rom", "urlaub", false));
    EXPECT_FALSE(InfoTextTest("A05 Urlaub in Rom", "urlaub", true));
    EXPECT_TRUE(InfoTextTest("A05 Urlaub in Rom", "Urlaub", true));
    // The position code is part of the searched text.
    EXPECT_TRUE(InfoTextTest("A05 Urlaub in Rom", "a05", false));
    // Lower-case ä does not find upper-case Ä: only a..z are folded.
    EXPECT_FALSE(InfoTextTest("A05 \xc4gypten", "\xe4gypten", false));
    EXPECT_TRUE(InfoTextTest("A05 \xc4gypten", "\xc4GYPTEN", false));
    EXPECT_TRUE(InfoTextTest(kFreeSlotMarker, "dia wurde ENTNOMMEN", false));
    EXPECT_FALSE(InfoTextTest("A05 Urlaub", "", false));
    EXPECT_FALSE(InfoTextTest("A05", "A05 Urlaub", false));
}

TEST(TextTests, MemoLinesAreSearchedInFull) {
    std::string memo = "Erste Zeile\r\nZweite Zeile mit Rom\nDritte\rletzte Zeile";
    EXPECT_TRUE(MemoTextTest(memo, "rom", false));
    EXPECT_FALSE(MemoTextTest(memo, "rom", true));
    EXPECT_TRUE(MemoTextTest(memo, "letzte", true));
    // Text does not run across a line break.
    EXPECT_FALSE(MemoTextTest(memo, "Dritte letzte", false));
    EXPECT_FALSE(MemoTextTest(memo, "Dritte\rletzte", false));
    std::string longLine(5000, 'x');
    EXPECT_TRUE(MemoTextTest(longLine + "Nadel" + longLine, "nadel", false));
    EXPECT_FALSE(MemoTextTest("", "x", false));
}

std::array<std::string, 8> Unused() {
    std::array<std::string, 8> c;
    c.fill(std::string(kUnusedCriterion));
    return c;
}

TEST(HeaderRecordTest, CriteriaAreFoldedAndAllMustOccur) {
    auto c = Unused();
    c[0] = "nikon";
    EXPECT_TRUE(HeaderRecordTest(HeaderRecordBytes({"NIKON F50"}), c));
    EXPECT_FALSE(HeaderRecordTest(HeaderRecordBytes({"Canon", "Nikon"}), c)); // wrong field
    c[6] = "5.6";
    EXPECT_FALSE(HeaderRecordTest(HeaderRecordBytes({"Nikon F50", "", "", "", "", "", "8"}), c));
    EXPECT_TRUE(HeaderRecordTest(HeaderRecordBytes({"Nikon F50", "", "", "", "", "", "f 5.6"}), c));
    // Lower-case umlaut against upper-case umlaut.
    auto u = Unused();
    u[3] = "\xe4";
    EXPECT_FALSE(HeaderRecordTest(HeaderRecordBytes({"", "", "", "\xc4RA"}), u));
    // Text after the NUL of a field is not part of its value.
    std::string rec = HeaderRecordBytes({"Leica"});
    rec.replace(6, 3, "ABC");
    auto l = Unused();
    l[0] = "abc";
    EXPECT_FALSE(HeaderRecordTest(rec, l));
}

TEST(HeaderRecordTest, FifteenCharacterValueWithoutNulIsComparedWhole) {
    auto c = Unused();
    c[1] = "zoom 70-210 xyz"; // the last characters of a field that has no NUL
    std::string rec = HeaderRecordBytes({"Kamera", "Zoom 70-210 XYZ"});
    ASSERT_EQ(rec.substr(15, 15), "Zoom 70-210 XYZ");
    EXPECT_TRUE(HeaderRecordTest(rec, c));
    c[1] = "xyzk"; // must not run into field 3 ("K...")
    rec = HeaderRecordBytes({"Kamera", "Zoom 70-210 XYZ", "Kodak"});
    EXPECT_FALSE(HeaderRecordTest(rec, c));
    c[1] = "Zoom 70-210 XYZ!"; // longer than a field can hold
    EXPECT_FALSE(HeaderRecordTest(rec, c));
}

TEST(HeaderRecordTest, UnusedEmptyAndMissingRecords) {
    std::string spaces(120, ' ');
    EXPECT_TRUE(HeaderRecordTest(spaces, Unused())); // all criteria unused: any existing record
    EXPECT_FALSE(HeaderRecordTest("", Unused()));    // beyond the end of the file
    auto c = Unused();
    c[2] = "";
    EXPECT_FALSE(HeaderRecordTest(spaces, c)); // an empty criterion never occurs
    // A record cut short by the end of the file: the missing bytes are no value.
    auto d = Unused();
    d[0] = "nikon";
    EXPECT_TRUE(HeaderRecordTest(std::string("Nikon F"), d));
    d[1] = "a";
    EXPECT_FALSE(HeaderRecordTest(std::string("Nikon F"), d));
    // Exact "nicht verwendet" is the marker; other spellings are real criteria.
    auto e = Unused();
    e[0] = "NICHT VERWENDET";
    EXPECT_FALSE(HeaderRecordTest(spaces, e));
}

TEST(FreeSlotRule, MarkerAnyCaseOrEmptyFirstSlot) {
    auto isFree = [](const std::string& r) {
        return IsFreeSlotRecord(reinterpret_cast<const unsigned char*>(r.data()));
    };
    // The marker counts only where the record text reaches it: all slots in use.
    const std::vector<std::string> full(8, "A1");
    EXPECT_TRUE(isFree(RecordBytes(full, kFreeSlotMarker, 1)));
    EXPECT_TRUE(isFree(RecordBytes(full, "DIA WURDE ENTNOMMEN / PLATZ FREI", 1)));
    EXPECT_FALSE(isFree(RecordBytes({"A1"}, kFreeSlotMarker, 1)));
    EXPECT_TRUE(isFree(RecordBytes({"00", "A1"}, "A01 Strand", 1)));
    EXPECT_FALSE(isFree(RecordBytes({"", "00"}, kFreeSlotMarker, 1))); // text ends at the NUL
    EXPECT_FALSE(isFree(RecordBytes({"A1"}, "A01 Strand", 1)));
}

// --- the record-level tests against the rules written out plainly ---

// The key rule: the first occurrence of every code in the text up to the NUL starts at a
// slot offset 0, 6, ..., 42.
bool PlainKeyRule(std::string_view text, const std::vector<std::string>& codes) {
    for (const auto& code : codes) {
        size_t pos = code.empty() ? std::string_view::npos : text.find(code);
        if (pos == std::string_view::npos || pos >= 48 || pos % 6 != 0)
            return false;
    }
    return true;
}

bool PlainContains(std::string_view value, std::string_view needle, bool fold) {
    if (needle.empty())
        return false;
    std::string v(value), n(needle);
    if (fold) {
        v = UpperAscii(v);
        n = UpperAscii(n);
    }
    return v.find(n) != std::string::npos;
}

// Bytes that make near misses likely: letters of both cases, the neighbours of a..z and
// A..Z, umlauts, NUL and space.
const std::string kAlphabet = std::string("AaBb12`{@[ \xc4\xe4") + '\0';

std::string RandomBytes(std::mt19937& rng, size_t size, const std::string& alphabet) {
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string s(size, ' ');
    for (auto& c : s)
        c = alphabet[pick(rng)];
    return s;
}

TEST(KeyTest, RecordLevelTestFollowsTheRuleOnRandomRecords) {
    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> codeLength(0, 8), codeCount(1, 3), nulChance(0, 3);
    const std::string codeAlphabet = "AB12";
    int matched = 0, tested = 0;
    for (int round = 0; round < 20000; ++round) {
        // Mostly slot-like records: the key area from a small alphabet, NULs only now and then.
        std::string rec = RandomBytes(rng, kRecordSize, nulChance(rng) ? codeAlphabet : kAlphabet);
        const auto* bytes = reinterpret_cast<const unsigned char*>(rec.data());
        KeySelection keys;
        std::vector<std::string> codes;
        const int count = codeCount(rng);
        for (int i = 0; i < count; ++i) {
            std::string code = RandomBytes(rng, static_cast<size_t>(codeLength(rng)), codeAlphabet);
            if (round % 97 == 0 && !code.empty())
                code[0] = '\0'; // a code that can never lie in the text
            codes.push_back(code);
            keys.entries[static_cast<size_t>(i)].code = code;
        }
        keys.count = count;
        const KeyMatcher matcher(keys);
        const bool expected = PlainKeyRule(RecordTextUpToNul(bytes), codes);
        ASSERT_EQ(matcher.matchesRecord(bytes), expected) << "round " << round;
        ASSERT_EQ(matcher.matches(RecordTextUpToNul(bytes)), expected) << "round " << round;
        matched += expected;
        ++tested;
    }
    // Both outcomes occur often enough to mean something.
    EXPECT_GT(matched, 200);
    EXPECT_LT(matched, tested - 200);
}

TEST(KeyTest, RecordLevelTestEdgeCases) {
    auto rec = [](const std::vector<std::string>& slots, std::string_view info) {
        return RecordBytes(slots, info, 1);
    };
    auto matches = [](const std::string& r, std::vector<std::string> codes) {
        return KeyMatcher(Select(codes))
            .matchesRecord(reinterpret_cast<const unsigned char*>(r.data()));
    };
    const std::vector<std::string> full{"C1", "C2", "C3", "C4", "C5", "C6", "C7", "A1B2C3"};
    // A code in the last slot, and one running on into the info field.
    EXPECT_TRUE(matches(rec(full, "A01"), {"A1B2C3"}));
    EXPECT_TRUE(matches(rec(full, "XYZ"), {"A1B2C3XY"}));
    EXPECT_FALSE(matches(rec(full, "XYZ"), {"A1B2C3XQ"}));
    EXPECT_TRUE(matches(rec(full, "XYZWV"), {"A1B2C3XYZW"}));
    EXPECT_FALSE(matches(rec(full, "XYZWV"), {"A1B2C3XYZQ"}));
    EXPECT_FALSE(matches(rec(full, "XYZWV"), {"A1B2C3XQZW"}));
    // A NUL before the slot ends the text; after the code it does not matter.
    EXPECT_FALSE(matches(rec({"C1", "", "A1"}, "A01"), {"A1"}));
    EXPECT_TRUE(matches(rec({"C1", "A1", ""}, "A01"), {"A1"}));
    // One-byte codes, and a first occurrence inside an earlier slot.
    EXPECT_TRUE(matches(rec({"C1", "A1"}, "A01"), {"A"}));
    EXPECT_FALSE(matches(rec({"CA", "A1"}, "A01"), {"A"}));
    EXPECT_FALSE(matches(rec({"C1B1", "B1"}, "A01"), {"B1"}));
    // A selection holding a NUL inside a code or an empty code finds nothing.
    EXPECT_FALSE(matches(rec({"A1"}, "A01"), {std::string("A1\0", 3)}));
    EXPECT_FALSE(matches(rec({"A1"}, "A01"), {"A1", ""}));
    // A code longer than the record.
    EXPECT_FALSE(matches(rec(full, "A01"), {std::string(83, 'C')}));
}

// The record test reads no byte past the 82 of a record, whatever the length of the
// code: the record here ends where readable memory ends (a page that cannot be read
// follows), so a read beyond it ends the test run.
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
        SCOPED_TRACE(len);
        std::memset(rec, ' ', kRecordSize);
        std::memcpy(rec, text.data(), std::min(text.size(), size_t{kRecordSize}));
        rec[kRecordSize - 1] = 1;
        const std::string code = text.substr(0, std::min(len, text.size())) +
                                 std::string(len > text.size() ? len - text.size() : 0, ' ');
        const std::string view(reinterpret_cast<const char*>(rec), kRecordSize);
        EXPECT_EQ(KeyMatcher(Select({code})).matchesRecord(rec), PlainKeyRule(view, {code}));
        std::string other = code;
        other.back() = '#';
        EXPECT_FALSE(KeyMatcher(Select({other})).matchesRecord(rec));
    }
    ::munmap(mem, 2 * page);
}

TEST(TextTests, InfoFieldTestFollowsTheRuleOnRandomRecords) {
    std::mt19937 rng(4711);
    std::uniform_int_distribution<int> needleLength(0, 35), nulChance(0, 2);
    const std::string letters = "AaBb`{@[\xc4\xe4 ";
    int matched = 0, tested = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string rec = RandomBytes(rng, kRecordSize, nulChance(rng) ? letters : kAlphabet);
        const auto* bytes = reinterpret_cast<const unsigned char*>(rec.data());
        std::string needle;
        const size_t len = static_cast<size_t>(needleLength(rng));
        if (round % 2 == 0 && len <= 33) {
            // Taken from the field (maybe beyond its NUL), so that matches are common.
            size_t start = std::uniform_int_distribution<size_t>(0, 33 - len)(rng);
            needle = rec.substr(48 + start, len);
            for (auto& c : needle)
                if (rng() % 3 == 0 && c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c + 32);
        } else {
            needle = RandomBytes(rng, len, letters);
        }
        const bool caseSensitive = round % 3 == 0;
        const bool expected = PlainContains(RecordInfo(bytes), needle, !caseSensitive);
        const TextMatcher matcher(needle, caseSensitive);
        ASSERT_EQ(matcher.matchesInfo(bytes), expected) << "round " << round;
        // In a block the next record's bytes follow; they are no part of the field.
        std::string inBlock = rec + RandomBytes(rng, kRecordSlack, letters);
        ASSERT_EQ(
            matcher.matchesInfoInBlock(reinterpret_cast<const unsigned char*>(inBlock.data())),
            expected)
            << "round " << round;
        ASSERT_EQ(matcher.matches(RecordInfo(bytes)), expected) << "round " << round;
        matched += expected;
        ++tested;
    }
    EXPECT_GT(matched, 2000);
    EXPECT_LT(matched, tested - 2000);
}

TEST(TextTests, InfoFieldTestReachesTheLastByteOfAFieldWithoutNul) {
    std::string rec = RecordBytes({"A1"}, "", 'D');
    rec.replace(48, 33, std::string(30, 'x') + "ABC"); // no NUL in the field
    ASSERT_EQ(rec.size(), static_cast<size_t>(kRecordSize));
    const auto* bytes = reinterpret_cast<const unsigned char*>(rec.data());
    EXPECT_TRUE(TextMatcher("abc", false).matchesInfo(bytes));
    EXPECT_TRUE(TextMatcher("xABC", true).matchesInfo(bytes));
    EXPECT_FALSE(TextMatcher("abc", true).matchesInfo(bytes));
    EXPECT_FALSE(TextMatcher("ABCD", false).matchesInfo(bytes)); // the box byte is no text
    std::string inBlock = rec + "DDDDDDDDDDDDDDDD";
    const auto* blockBytes = reinterpret_cast<const unsigned char*>(inBlock.data());
    EXPECT_TRUE(TextMatcher("abc", false).matchesInfoInBlock(blockBytes));
    EXPECT_FALSE(TextMatcher("ABCD", false).matchesInfoInBlock(blockBytes));
    EXPECT_FALSE(TextMatcher("ABCDDD", false).matchesInfoInBlock(blockBytes));
    EXPECT_TRUE(TextMatcher(std::string(30, 'X') + "ABC", false).matchesInfo(bytes));
    EXPECT_FALSE(TextMatcher(std::string(31, 'X') + "ABC", false).matchesInfo(bytes));
    rec[48 + 20] = '\0';
    EXPECT_FALSE(TextMatcher("abc", false).matchesInfo(bytes));
    EXPECT_TRUE(TextMatcher("xxx", false).matchesInfo(bytes));
    EXPECT_FALSE(TextMatcher(std::string("x\0", 2), false).matchesInfo(bytes));
}

TEST(HeaderRecordTest, FieldTestsFollowTheRuleOnRandomRecords) {
    std::mt19937 rng(1998);
    std::uniform_int_distribution<int> needleLength(0, 16), used(0, 3);
    const std::string letters = "AaBb`{@[\xc4\xe4 ";
    int matched = 0, tested = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string rec = RandomBytes(rng, 120, round % 2 ? letters : kAlphabet);
        if (round % 5 == 0) // cut short by the end of the file
            rec.resize(std::uniform_int_distribution<size_t>(0, 119)(rng));
        std::array<std::string, 8> criteria;
        criteria.fill(std::string(kUnusedCriterion));
        bool expected = !rec.empty();
        for (size_t f = 0; f < 8; ++f) {
            if (used(rng) != 0)
                continue;
            std::string full = rec + std::string(120 - rec.size(), '\0');
            std::string value = full.substr(f * 15, 15);
            value = value.substr(0, value.find('\0'));
            const size_t len = static_cast<size_t>(needleLength(rng));
            std::string c = round % 3 && len <= 15 ? full.substr(f * 15 + (15 - len) / 2, len)
                                                   : RandomBytes(rng, len, letters);
            criteria[f] = c;
            expected = expected && PlainContains(value, c, true);
        }
        const HeaderMatcher matcher(criteria);
        ASSERT_EQ(matcher.matches(rec), expected) << "round " << round;
        if (rec.size() == 120) {
            std::string inBlock = rec + RandomBytes(rng, kRecordSlack, letters);
            ASSERT_EQ(
                matcher.matchesInBlock(reinterpret_cast<const unsigned char*>(inBlock.data())),
                expected)
                << "round " << round;
        }
        matched += expected;
        ++tested;
    }
    EXPECT_GT(matched, 1000);
    EXPECT_LT(matched, tested - 1000);
}

} // namespace
} // namespace lumo
