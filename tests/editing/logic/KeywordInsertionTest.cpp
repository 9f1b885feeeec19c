// Keyword insertion into a level file: placement, codes and refusals, checked against
// keyword files written byte by byte.
#include "editing/logic/KeywordInsertion.h"

#include "TestArchive.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

using test::KeywordBytes;
using Outcome = KeywordInsertion::Outcome;

TEST(KeywordInsertion, LevelOneGoesBetweenItsNeighboursWithTheNextDigit) {
    const std::string before = "Berge\nB1\nWasser\nW1\n*";
    const auto r = PlanKeywordInsertion(before, 1, "Blumen", "");
    ASSERT_EQ(r.outcome, Outcome::Inserted);
    EXPECT_EQ(r.code, "B2");
    EXPECT_EQ(r.newFile, "Berge\nB1\nBlumen\nB2\nWasser\nW1\n*");
    EXPECT_EQ(r.insertAt, 9u);
}

TEST(KeywordInsertion, LevelOneSortsByteWiseAndAppendsBeforeTheStar) {
    // "Zebra" is greater than every existing name: it goes before the "*".
    const std::string before = KeywordBytes({{"Alpen", "A1"}, {"Berge", "B1"}});
    auto r = PlanKeywordInsertion(before, 1, "Zebra", "");
    ASSERT_EQ(r.outcome, Outcome::Inserted);
    EXPECT_EQ(r.newFile, KeywordBytes({{"Alpen", "A1"}, {"Berge", "B1"}, {"Zebra", "Z1"}}));

    // Case-sensitive byte order: "BERG" sorts before "Berge" ('E' 0x45 < 'e' 0x65).
    r = PlanKeywordInsertion(before, 1, "BERG", "");
    ASSERT_EQ(r.outcome, Outcome::Inserted);
    EXPECT_EQ(r.newFile, KeywordBytes({{"Alpen", "A1"}, {"BERG", "B2"}, {"Berge", "B1"}}));

    // A proper prefix sorts first.
    r = PlanKeywordInsertion(before, 1, "Berg", "");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Alpen", "A1"}, {"Berg", "B2"}, {"Berge", "B1"}}));

    // Bytes above 0x7F compare unsigned: "B\xE4r" (Bär) is greater than "Berge".
    r = PlanKeywordInsertion(before, 1, "B\xE4r", "");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Alpen", "A1"}, {"Berge", "B1"}, {"B\xE4r", "B2"}}));
}

TEST(KeywordInsertion, NineKeysWithOneInitialAreAcceptedTheTenthIsRefused) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::string before;
    for (int i = 1; i <= 9; ++i) {
        // Each new one sorts last, so the file stays in order.
        const std::string name = "A" + std::string(static_cast<size_t>(i), 'a');
        const auto r = PlanKeywordInsertion(before, 1, name, "");
        ASSERT_TRUE(r.outcome == Outcome::Inserted || r.outcome == Outcome::DirectWrite) << i;
        EXPECT_EQ(r.code, "A" + std::to_string(i));
        entries.emplace_back(name, "A" + std::to_string(i));
        EXPECT_EQ(r.newFile, KeywordBytes(entries));
        before = r.newFile;
    }
    const auto tenth = PlanKeywordInsertion(before, 1, "Azzz", "");
    EXPECT_EQ(tenth.outcome, Outcome::TooMany);
    EXPECT_TRUE(tenth.newFile.empty());
    // Another initial still gets its digit 1.
    const auto other = PlanKeywordInsertion(before, 1, "Berge", "");
    ASSERT_EQ(other.outcome, Outcome::Inserted);
    EXPECT_EQ(other.code, "B1");
}

TEST(KeywordInsertion, EmptyFileIsWrittenDirectlyWithDigitOne) {
    auto r = PlanKeywordInsertion(std::string_view{}, 1, "Natur", "");
    ASSERT_EQ(r.outcome, Outcome::DirectWrite);
    EXPECT_EQ(r.newFile, "Natur\nN1\n*");
    EXPECT_EQ(r.code, "N1");

    r = PlanKeywordInsertion(std::string_view{}, 2, "Meer", "W1");
    ASSERT_EQ(r.outcome, Outcome::DirectWrite);
    EXPECT_EQ(r.newFile, "Meer\nW1M1\n*");

    r = PlanKeywordInsertion(std::string_view{}, 3, "Ostsee", "W1M1");
    ASSERT_EQ(r.outcome, Outcome::DirectWrite);
    EXPECT_EQ(r.newFile, "Ostsee\nW1M1O1\n*");
}

TEST(KeywordInsertion, UnreadableFileIsReported) {
    EXPECT_EQ(PlanKeywordInsertion(std::nullopt, 2, "Meer", "W1").outcome, Outcome::OpenFailed);
}

TEST(KeywordInsertion, LevelTwoStaysGroupedByParentCode) {
    const std::string before =
        KeywordBytes({{"Alpen", "B1A1"}, {"Harz", "B1H1"}, {"Meer", "W1M1"}, {"See", "W1S1"}});
    // Inside its own group, before the first greater name.
    auto r = PlanKeywordInsertion(before, 2, "Eifel", "B1");
    ASSERT_EQ(r.outcome, Outcome::Inserted);
    EXPECT_EQ(r.code, "B1E1");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Alpen", "B1A1"},
                                       {"Eifel", "B1E1"},
                                       {"Harz", "B1H1"},
                                       {"Meer", "W1M1"},
                                       {"See", "W1S1"}}));
    // Greater than every name of its group: before the first entry of a greater parent.
    r = PlanKeywordInsertion(before, 2, "Zugspitze", "B1");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Alpen", "B1A1"},
                                       {"Harz", "B1H1"},
                                       {"Zugspitze", "B1Z1"},
                                       {"Meer", "W1M1"},
                                       {"See", "W1S1"}}));
    // Same initial under the same parent counts, under another parent it does not.
    r = PlanKeywordInsertion(before, 2, "Hochgebirge", "B1");
    EXPECT_EQ(r.code, "B1H2");
    r = PlanKeywordInsertion(before, 2, "Hochsee", "W1");
    EXPECT_EQ(r.code, "W1H1");
}

TEST(KeywordInsertion, LevelTwoKeyOfAnEmptyGroupGoesBeforeTheFirstGreaterParent) {
    const std::string before = KeywordBytes({{"Alpen", "B1A1"}, {"Meer", "W1M1"}});
    // Parent N1 has no children yet: its first key goes before the W1 group.
    auto r = PlanKeywordInsertion(before, 2, "Wald", "N1");
    ASSERT_EQ(r.outcome, Outcome::Inserted);
    EXPECT_EQ(r.code, "N1W1");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Alpen", "B1A1"}, {"Wald", "N1W1"}, {"Meer", "W1M1"}}));
    // No greater parent code: before the "*".
    r = PlanKeywordInsertion(before, 2, "Apfel", "Z1");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Alpen", "B1A1"}, {"Meer", "W1M1"}, {"Apfel", "Z1A1"}}));
}

TEST(KeywordInsertion, LevelThreeKeepsGroupsAndAppendsANewParentsFirstKey) {
    // Groups in the order they were started: W1M1 first, then B1A1.
    const std::string before =
        KeywordBytes({{"Nordsee", "W1M1N1"}, {"Ostsee", "W1M1O1"}, {"Zugspitze", "B1A1Z1"}});
    // Within its group, sorted.
    auto r = PlanKeywordInsertion(before, 3, "Mittelmeer", "W1M1");
    ASSERT_EQ(r.outcome, Outcome::Inserted);
    EXPECT_EQ(r.code, "W1M1M1");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Mittelmeer", "W1M1M1"},
                                       {"Nordsee", "W1M1N1"},
                                       {"Ostsee", "W1M1O1"},
                                       {"Zugspitze", "B1A1Z1"}}));
    // Greater than all of its group: right after the group, before the next one.
    r = PlanKeywordInsertion(before, 3, "Totes Meer", "W1M1");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Nordsee", "W1M1N1"},
                                       {"Ostsee", "W1M1O1"},
                                       {"Totes Meer", "W1M1T1"},
                                       {"Zugspitze", "B1A1Z1"}}));
    // A parent without children yet: appended before the "*", even though its name
    // would sort before the others.
    r = PlanKeywordInsertion(before, 3, "Aachen", "N1W1");
    EXPECT_EQ(r.code, "N1W1A1");
    EXPECT_EQ(r.newFile, KeywordBytes({{"Nordsee", "W1M1N1"},
                                       {"Ostsee", "W1M1O1"},
                                       {"Zugspitze", "B1A1Z1"},
                                       {"Aachen", "N1W1A1"}}));
    // The same initial under the same parent: next digit.
    r = PlanKeywordInsertion(before, 3, "Nil", "W1M1");
    EXPECT_EQ(r.code, "W1M1N2");
}

TEST(KeywordInsertion, DuplicateNameIsRefusedAcrossAllParents) {
    const std::string before = KeywordBytes({{"Alpen", "B1A1"}, {"Meer", "W1M1"}});
    EXPECT_EQ(PlanKeywordInsertion(before, 2, "Meer", "B1").outcome, Outcome::Duplicate);
    EXPECT_EQ(PlanKeywordInsertion(before, 2, "Alpen", "B1").outcome, Outcome::Duplicate);
    // Only the exact bytes count.
    EXPECT_EQ(PlanKeywordInsertion(before, 2, "MEER", "B1").outcome, Outcome::Inserted);
    EXPECT_EQ(PlanKeywordInsertion(before, 2, "Meere", "B1").outcome, Outcome::Inserted);
}

TEST(KeywordInsertion, DuplicateWinsOverTooManyInitials) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 1; i <= 9; ++i)
        entries.emplace_back("A" + std::string(static_cast<size_t>(i), 'a'),
                             "A" + std::to_string(i));
    EXPECT_EQ(PlanKeywordInsertion(KeywordBytes(entries), 1, "Aaaaa", "").outcome,
              Outcome::Duplicate);
}

TEST(KeywordInsertion, DataAfterTheStarIsKept) {
    const std::string before = "Berge\nB1\n*rest";
    const auto r = PlanKeywordInsertion(before, 1, "Tal", "");
    EXPECT_EQ(r.newFile, "Berge\nB1\nTal\nT1\n*rest");
}

// A file whose last code line ends the file (no LF, no "*"): the readers show that last
// entry, so the insertion keeps it, counts it and refuses its name; the file ends with
// "*" again. An incomplete tail no reader shows is not carried over.
TEST(KeywordInsertion, DamagedFileWithoutStarKeepsEveryEntryTheListsShow) {
    struct Case {
        const char* before;
        const char* name;
        Outcome outcome;
        const char* code;
        const char* after;
    };
    const Case cases[] = {
        {"Alpen\nA1\nZoo\nZ1", "Berge", Outcome::Inserted, "B1",
         "Alpen\nA1\nBerge\nB1\nZoo\nZ1\n*"},
        {"Alpen\nA1\nZoo\nZ1", "Zeder", Outcome::Inserted, "Z2",
         "Alpen\nA1\nZeder\nZ2\nZoo\nZ1\n*"},
        {"Alpen\nA1\nZoo\nZ1", "Zoo", Outcome::Duplicate, "", ""},
        {"Alpen\nA1\nZoo\nZ1\n", "Zz", Outcome::Inserted, "Z2", "Alpen\nA1\nZoo\nZ1\nZz\nZ2\n*"},
        {"Berge\nB1\nWasser\nW", "Tal", Outcome::Inserted, "T1",
         "Berge\nB1\nTal\nT1\nWasser\nW\n*"},
        {"Berge\nB1\nWasser\n", "Tal", Outcome::Inserted, "T1", "Berge\nB1\nTal\nT1\n*"},
        {"Berge\nB1\nWass", "Tal", Outcome::Inserted, "T1", "Berge\nB1\nTal\nT1\n*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        const auto r = PlanKeywordInsertion(std::string_view(c.before), 1, c.name, "");
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.newFile, c.after);
    }
}

} // namespace
} // namespace lumo
