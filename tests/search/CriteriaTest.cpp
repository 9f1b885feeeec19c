// The five tests of the archive scan on records and texts built by hand.
#include "search/Criteria.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

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

std::string HeaderRecord(std::vector<std::string> values) {
    std::string r;
    values.resize(8);
    for (const auto& v : values) {
        std::string f(15, ' ');
        f.replace(0, std::min<size_t>(v.size(), 15), v.substr(0, 15));
        if (v.size() < 15)
            f[v.size()] = '\0';
        r += f;
    }
    return r;
}

std::array<std::string, 8> Unused() {
    std::array<std::string, 8> c;
    c.fill(std::string(kUnusedCriterion));
    return c;
}

TEST(HeaderRecordTest, CriteriaAreFoldedAndAllMustOccur) {
    auto c = Unused();
    c[0] = "nikon";
    EXPECT_TRUE(HeaderRecordTest(HeaderRecord({"NIKON F50"}), c));
    EXPECT_FALSE(HeaderRecordTest(HeaderRecord({"Canon", "Nikon"}), c)); // wrong field
    c[6] = "5.6";
    EXPECT_FALSE(HeaderRecordTest(HeaderRecord({"Nikon F50", "", "", "", "", "", "8"}), c));
    EXPECT_TRUE(HeaderRecordTest(HeaderRecord({"Nikon F50", "", "", "", "", "", "f 5.6"}), c));
    // Lower-case umlaut against upper-case umlaut.
    auto u = Unused();
    u[3] = "\xe4";
    EXPECT_FALSE(HeaderRecordTest(HeaderRecord({"", "", "", "\xc4RA"}), u));
    // Text after the NUL of a field is not part of its value.
    std::string rec = HeaderRecord({"Leica"});
    rec.replace(6, 3, "ABC");
    auto l = Unused();
    l[0] = "abc";
    EXPECT_FALSE(HeaderRecordTest(rec, l));
}

TEST(HeaderRecordTest, FifteenCharacterValueWithoutNulIsComparedWhole) {
    auto c = Unused();
    c[1] = "zoom 70-210 xyz"; // the last characters of a field that has no NUL
    std::string rec = HeaderRecord({"Kamera", "Zoom 70-210 XYZ"});
    ASSERT_EQ(rec.substr(15, 15), "Zoom 70-210 XYZ");
    EXPECT_TRUE(HeaderRecordTest(rec, c));
    c[1] = "xyzk"; // must not run into field 3 ("K...")
    rec = HeaderRecord({"Kamera", "Zoom 70-210 XYZ", "Kodak"});
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

} // namespace
} // namespace lumo
