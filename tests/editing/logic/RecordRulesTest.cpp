// The range check and counting of the slide deletion, and the field name and proposal edits.
#include "editing/logic/HeaderFieldNames.h"
#include "editing/logic/SlideDeletion.h"

#include "TestArchive.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

using test::RecordBytes;

TEST(SlideDeletionRules, TheRangeMustLieInTheArchiveInOrder) {
    struct Case {
        const char *from, *to;
        bool valid;
    };
    for (const Case& c : {Case{"5", "5", true},
                          {"1", "10", true},
                          {"+3", "4", true},
                          {"7", "3", false},
                          {"0", "3", false},
                          {"3", "11", false},
                          {"", "3", false},
                          {"3a", "4", false},
                          {"-1", "4", false}})
        EXPECT_EQ(CheckSlideRange(c.from, c.to, 10).has_value(), c.valid) << c.from << ".." << c.to;
}

TEST(SlideDeletionRules, ASlotTheAnalysisCountsAsFreeIsNotCountedOffTwice) {
    test::TempArchive dir;
    const std::string emptyFirstSlot = RecordBytes({"00", "A1"}, "A02 Rest", 1);
    dir.write("dias.ddb", RecordBytes({"A1"}, "A01 Dia", 1) + emptyFirstSlot);
    dir.write("kopfdata.ddb", "");
    Counters counters{2, 1, 1}; // as the analysis leaves them
    const auto out = DeleteSlideRange(Archive(dir.dir()), {1, 2}, {}, counters);
    EXPECT_TRUE(out.anyMarked);
    EXPECT_FALSE(out.problem);
    EXPECT_EQ(counters.activeSlides, 0);
    const std::string freed = RecordBytes(std::vector<std::string>(8, "00"), kFreeSlotMarker, 1);
    EXPECT_EQ(dir.read("dias.ddb"), freed + freed);
}

HeaderFields Fields() {
    HeaderFields f;
    f.names = {"Kamera", "Objektiv",   "Filter", "Filmtyp",
               "Format", "Belichtung", "Blende", "Datum"};
    f.proposals[4] = {"24x36", "6x6", "6x7"};
    f.proposalElements[4] = {0, 2, 3}; // element 1 reads "leer"
    return f;
}

TEST(HeaderFieldRules, OnlyTheChosenNameOrProposalChanges) {
    EXPECT_EQ(RenamedFieldNames(Fields(), 1, "Zoom")[1], "Zoom");
    EXPECT_EQ(RenamedFieldNames(Fields(), 1, "Zoom")[2], "Filter");
    EXPECT_EQ(ReplacedProposals(Fields(), 4, 0, "4x5"), (std::vector<std::string>{"4x5"}));
    EXPECT_EQ(ReplacedProposals(Fields(), 4, 1, "9x12"),
              (std::vector<std::string>{"24x36", "leer", "9x12"}));
    EXPECT_FALSE(ReplacedProposals(Fields(), 3, 0, "x")); // field 4 has no proposal
}

} // namespace
} // namespace lumo
