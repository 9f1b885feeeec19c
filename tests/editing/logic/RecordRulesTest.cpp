// The range check and counting of the slide deletion, and the proposal replacement.
#include "editing/logic/HeaderFieldNames.h"
#include "editing/logic/SlideDeletion.h"

#include "TestArchive.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

using test::RecordBytes;

TEST(SlideDeletionRules, TheRangeMustLieInTheArchiveInOrder) {
    for (auto [from, to, valid] : {std::tuple{"5", "5", true},
                                   {"1", "10", true},
                                   {"+3", "4", true},
                                   {"7", "3", false},
                                   {"0", "3", false},
                                   {"3", "11", false},
                                   {"", "3", false},
                                   {"3a", "4", false}})
        EXPECT_EQ(CheckSlideRange(from, to, 10).has_value(), valid) << from << ".." << to;
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
    EXPECT_FALSE(ReplacedProposals(f, 3, 0, "x")); // a field without proposals
}

} // namespace
} // namespace lumo
