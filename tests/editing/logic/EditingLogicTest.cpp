// The editing rules without windows, checked against bytes written by hand.
#include "editing/logic/HeaderFieldNames.h"
#include "editing/logic/KeywordInsertion.h"
#include "editing/logic/SlideDeletion.h"
#include "editing/logic/SlideEntryLogic.h"

#include "TestArchive.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

using test::RecordBytes;
using Outcome = KeywordInsertion::Outcome;
constexpr Outcome In = Outcome::Inserted, Direct = Outcome::DirectWrite, Dup = Outcome::Duplicate;

// Byte order, parent groups, codes per initial, duplicates. `at`: entry it goes before.
TEST(KeywordInsertion, PlacesTheKeywordAndGivesItsCode) {
    const std::string one = "Alpen\nA1\nBerge\nB1\n*";
    const std::string two = "Alpen\nB1A1\nHarz\nB1H1\nMeer\nW1M1\nSee\nW1S1\n*";
    const std::string three = "Nordsee\nW1M1N1\nOstsee\nW1M1O1\nZugspitze\nB1A1Z1\n*";
    std::string eight, nine;
    for (int i = 1; i <= 9; ++i) {
        eight = nine + "*";
        nine += "A" + std::string(size_t(i), 'a') + "\nA" + std::to_string(i) + "\n";
    }
    nine += "*";
    using Row = std::tuple<std::string, int, const char*, const char*, Outcome, const char*, int>;
    for (const auto& [before, level, name, parent, outcome, code, at] :
         std::initializer_list<Row>{{one, 1, "Zebra", "", In, "Z1", 2},
                                    {one, 1, "BERG", "", In, "B2", 1},
                                    {one, 1, "B\xE4r", "", In, "B2", 2},
                                    {"", 3, "Ostsee", "W1M1", Direct, "W1M1O1", 0},
                                    {two, 2, "Eifel", "B1", In, "B1E1", 1},
                                    {two, 2, "Zugspitze", "B1", In, "B1Z1", 2},
                                    {two, 2, "Hochgebirge", "B1", In, "B1H2", -1},
                                    {two, 2, "Hochsee", "W1", In, "W1H1", -1},
                                    {two, 2, "Wald", "N1", In, "N1W1", 2},
                                    {two, 2, "Apfel", "Z1", In, "Z1A1", 4},
                                    {three, 3, "Totes Meer", "W1M1", In, "W1M1T1", 2},
                                    {three, 3, "Nil", "W1M1", In, "W1M1N2", -1},
                                    {two, 2, "Meer", "B1", Dup, "", -1},
                                    {two, 2, "MEER", "B1", In, "B1M1", -1},
                                    {eight, 1, "Azzz", "", In, "A9", 8},
                                    {nine, 1, "Aaaaa", "", Dup, "", -1},
                                    {nine, 1, "Azzz", "", Outcome::TooMany, "", -1},
                                    {nine, 1, "Berge", "", In, "B1", 9},
                                    {"Berge\nB1\n*rest", 1, "Tal", "", In, "T1", 1}}) {
        SCOPED_TRACE(std::string(name) + " into " + before);
        const auto p = PlanKeywordInsertion(before, level, name, parent);
        EXPECT_EQ(p.outcome, outcome);
        EXPECT_EQ(p.code, code);
        if (at < 0)
            continue;
        size_t pos = 0;
        for (int i = 0; i < 2 * at; ++i)
            pos = before.find('\n', pos) + 1;
        const std::string entry = std::string(name) + "\n" + code + "\n";
        EXPECT_EQ(p.newFile,
                  before.substr(0, pos) + entry + (before.empty() ? "*" : before.substr(pos)));
        EXPECT_EQ(p.insertAt, pos);
    }
    EXPECT_EQ(PlanKeywordInsertion(std::nullopt, 2, "Meer", "W1").outcome, Outcome::OpenFailed);
}

// A file without "*" keeps the entries the readers show and ends with "*" again.
TEST(KeywordInsertion, DamagedFileWithoutStarKeepsEveryEntryTheListsShow) {
    for (auto [before, name, code, after] :
         {std::tuple{"Alpen\nA1\nZoo\nZ1", "Berge", "B1", "Alpen\nA1\nBerge\nB1\nZoo\nZ1\n*"},
          {"Alpen\nA1\nZoo\nZ1", "Zoo", "", ""},
          {"Alpen\nA1\nZoo\nZ1\n", "Zz", "Z2", "Alpen\nA1\nZoo\nZ1\nZz\nZ2\n*"},
          {"Berge\nB1\nWasser\nW", "Tal", "T1", "Berge\nB1\nTal\nT1\nWasser\nW\n*"},
          {"Berge\nB1\nWasser\n", "Tal", "T1", "Berge\nB1\nTal\nT1\n*"},
          {"Berge\nB1\nWass", "Tal", "T1", "Berge\nB1\nTal\nT1\n*"}}) {
        const auto p = PlanKeywordInsertion(std::string_view(before), 1, name, "");
        EXPECT_EQ(p.outcome, *code ? In : Dup) << before;
        EXPECT_EQ(p.code + "|" + p.newFile, code + std::string("|") + after) << before;
    }
}

// Codes padded to 6 and 3 bytes; the text ends at two spaces and holds 28 bytes.
TEST(SlideEntryLogic, CodesAndTextsOfTheRecord) {
    const char* codes[][2] = {
        {"B1", "B1    "}, {"B1W2K3", "B1W2K3"}, {"B1    ", "B1    "}, {"", ""}};
    for (auto [in, out] : codes)
        EXPECT_EQ(PadKeyCode(in), out) << in;
    const char* magazines[][2] = {{"A07", "A07"}, {"A7", "A7 "}, {"", "   "}, {"A071", "A07"}};
    for (auto [in, out] : magazines)
        EXPECT_EQ(PadMagazineCode(in), out) << in;
    const char* texts[][2] = {
        {"A01 Urlaub am Meer", "Urlaub am Meer"},
        {"A01 Urlaub  am Meer", "Urlaub"},
        {"A01 Urlaub ", "Urlaub"},
        {"A01 1234567890123456789012345678XYZ", "1234567890123456789012345678"},
        {"A01 123456789012345678901234567 X", "123456789012345678901234567"},
        {"A01", ""},
        {"A01 ", ""}};
    for (auto [in, out] : texts)
        EXPECT_EQ(TrimInformationText(in), out) << in;
    EXPECT_EQ(TrimInfoString("B12 Haus am See  "), "B12 Haus am See");
    EXPECT_EQ(TrimInfoString(kFreeSlotMarker), kFreeSlotMarker); // fills the layout exactly
}

TEST(SlideDeletionRules, TheRangeMustLieInTheArchiveInOrder) {
    const char* ranges[][3] = {{"5", "5", "ok"}, {"1", "10", "ok"}, {"+3", "4", "ok"},
                               {"7", "3", ""},   {"0", "3", ""},    {"3", "11", ""},
                               {"", "3", ""},    {"3a", "4", ""}};
    for (auto [from, to, valid] : ranges)
        EXPECT_EQ(CheckSlideRange(from, to, 10).has_value(), *valid != 0) << from << ".." << to;
}

TEST(SlideDeletionRules, ASlotTheAnalysisCountsAsFreeIsNotCountedOffTwice) {
    test::TempArchive dir;
    dir.write("dias.ddb", RecordBytes({"A1"}, "A01 Dia", 1) + RecordBytes({"00", "A1"}, "Rest", 1));
    dir.write("kopfdata.ddb", "");
    Counters counters{2, 1, 1}; // as the analysis leaves them: slot 1 "00" counts as free
    const auto out = DeleteSlideRange(Archive(dir.dir()), {1, 2}, {}, counters);
    EXPECT_TRUE(out.anyMarked && !out.problem);
    EXPECT_EQ(counters.activeSlides, 0);
    const std::string freed = RecordBytes(std::vector<std::string>(8, "00"), kFreeSlotMarker, 1);
    EXPECT_EQ(dir.read("dias.ddb"), freed + freed);
}

TEST(HeaderFieldRules, AReplacedProposalKeepsTheElementsBeforeIt) {
    HeaderFields f;
    f.proposals[4] = {"24x36", "6x6"};
    f.proposalElements[4] = {0, 2}; // element 1 reads "leer"
    EXPECT_EQ(ReplacedProposals(f, 4, 0, "4x5"), (std::vector<std::string>{"4x5"}));
    EXPECT_EQ(ReplacedProposals(f, 4, 1, "9x12"),
              (std::vector<std::string>{"24x36", "leer", "9x12"}));
    EXPECT_FALSE(ReplacedProposals(f, 4, 2, "x"));
    EXPECT_EQ(ReplacedProposals(f, 3, -1, "x"), (std::vector<std::string>{"x"})); // the first
}

} // namespace
} // namespace lumo
