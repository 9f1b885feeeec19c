// The magazine map's model over records built by hand from the record layout.
#include "extras/logic/PlaceGrid.h"
#include "TestArchive.h"
#include "extras/logic/ScanMatching.h"
#include "store/SlideTypes.h"

#include <gtest/gtest.h>

namespace lumo::test {
namespace {

TEST(PlaceGrid, PlaceCodes) {
    const std::pair<const char*, int> cases[] = {
        {"A01", 1}, {"a05", 5}, {"Z99", 2599}, {"???", -1}, {"A00", -1}, {"5A1", -1}, {"A1", -1}};
    for (const auto& [code, expected] : cases) {
        const auto parsed = ParsePlaceCode(code);
        EXPECT_EQ(parsed ? parsed->magazine * 100 + parsed->place : -1, expected) << code;
    }
    EXPECT_EQ(PlaceCodeText(1, 7), "B07");
}

TEST(PlaceGrid, BoxMapShowsTakenDoubledFreeAndUnplacedSlides) {
    // Box 1: A01 twice (slides 1, 3), A02 once, one "???" and one beyond the grid (C12:
    // the grid grows to three magazines of twelve places). Slide 4 is a free slot of box 1,
    // slide 6 lies in box 2.
    const std::string records =
        RecordBytes({"B1"}, "A01 Erstes", 1) + RecordBytes({"B1"}, "A02 Zweites", 1) +
        RecordBytes({"B1"}, "A01 Doppelt", 1) +
        RecordBytes(std::vector<std::string>(8, "00"), kFreeSlotMarker, 1) +
        RecordBytes({"B1"}, "??? Ohne Platz", 1) + RecordBytes({"B1"}, "A01 Anderer Kasten", 2) +
        RecordBytes({"B1"}, "C12 Weit", 1);
    std::string header(6 * 120, '\0');
    header.replace(120, 120, HeaderRecordBytes({"Leica"}));
    CollectionIndex index;
    index.Build(records, header, {"2.txt", "07.txt", "3.DOC"}, {"1.jpg", "autor.bmp", "9.bmp"});

    const BoxMap map = index.MapOf(1, 2, 10);
    EXPECT_EQ(map.magazines, 3);
    EXPECT_EQ(map.places, 12);
    EXPECT_EQ(map.claimsAt(2, 12), (std::vector<int32_t>{7}));
    EXPECT_EQ(map.unplaced, (std::vector<int32_t>{5}));
    const BoxSummary s = map.summary();
    EXPECT_EQ(s.slides, 5);
    EXPECT_EQ(s.freePlaces, 36 - 3);
    EXPECT_EQ(s.doubledPlaces, 1);

    const auto boxes = index.Boxes(2, 10);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].box, 2);
    EXPECT_EQ(boxes[1].freePlaces, 19);

    // Marks: memo 2 (07.txt is no slide's name), memo 3 (.DOC), picture 1, header data 2.
    EXPECT_EQ(index.Marks(1), MarkPicture);
    EXPECT_EQ(index.Marks(2), MarkMemo | MarkHeaderData);
    EXPECT_EQ(index.Marks(3), MarkMemo);
    EXPECT_EQ(index.Marks(7), 0);
    EXPECT_EQ(index.InfoField(2), "A02 Zweites");
    EXPECT_FALSE(index.IsSlide(4));

    const auto rows = GridRows(map);
    ASSERT_EQ(rows.size(), 6u); // three magazines of 1..10 and 11..12
    EXPECT_EQ(rows[1].firstPlace, 11);
    EXPECT_EQ(rows[1].lastPlace, 12);
    EXPECT_EQ(rows[5].magazine, 2);
}

TEST(ScanMatching, NumbersFromNamesAndNameOrder) {
    const std::pair<const char*, int> names[] = {{"Dia_0042.tif", 42},
                                                 {"42.jpg", 42},
                                                 {"scan.png", 0},
                                                 {"0000.jpg", 0},
                                                 {"Dia 7 (2).jpg", 0},
                                                 {"123456.jpg", 0},
                                                 {"Urlaub-99999.webp", 99999},
                                                 {"7", 7}};
    for (const auto& [name, n] : names)
        EXPECT_EQ(SlideNumberInName(name).value_or(0), n) << name;
    EXPECT_TRUE(NaturalLess("Scan 9.jpg", "scan 10.jpg"));
    EXPECT_FALSE(NaturalLess("Scan 10.jpg", "Scan 9.jpg"));
    EXPECT_TRUE(NaturalLess("b.jpg", "C.jpg"));
}

TEST(ScanMatching, PlanMarksWhatIsWrittenAndWhy) {
    const auto there = [](int32_t n) { return n == 5; };
    const auto byName =
        PlanScanImport({"x.jpg", "Dia 5.png", "dia_3.tif", "3.jpg", "20.jpg"}, 0, 10, there);
    std::string got;
    for (const auto& r : byName)
        got += r.file + "=" + std::to_string(r.slide) + ":" + std::to_string(int(r.match)) +
               (r.willImport() ? "+ " : "- ");
    EXPECT_EQ(got, "3.jpg=3:0+ 20.jpg=20:3- Dia 5.png=5:1- dia_3.tif=3:4- x.jpg=0:2- ");

    const auto inOrder = PlanScanImport({"b.jpg", "a.jpg", "c.jpg"}, 4, 5, there, true);
    ASSERT_EQ(inOrder.size(), 3u);
    EXPECT_EQ(inOrder[0].file, "a.jpg");
    EXPECT_EQ(inOrder[1].slide, 5);
    EXPECT_TRUE(inOrder[1].willImport()); // replacing was asked for
    EXPECT_EQ(inOrder[2].match, ScanMatch::NoSuchSlide);
    EXPECT_TRUE(inOrder[2].failedToMatch());
}

} // namespace
} // namespace lumo::test
