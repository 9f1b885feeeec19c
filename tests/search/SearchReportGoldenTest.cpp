// Whole searches over small archives built byte by byte, compared with dialiste.txt files
// typed from the report layout (tests/data/reports/<case>/expected-dialiste.txt).
#include "TestArchive.h"
#include "search/SearchRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace lumo {
namespace {

using test::HeaderRecordBytes;
using test::RecordBytes;
using test::TempArchive;

const ReportClock kFixedClock = [] { return ReportStamp{"05.12.98", "14:30:00"}; };
const std::string kFree(kFreeSlotMarker);
const std::vector<std::string> kEmptyKeys(8, std::string(kEmptyKeyCode));

std::string Expected(const std::string& caseName, const std::string& file) {
    std::ifstream in(std::string(LUMO_TEST_DATA) + "/reports/" + caseName + "/" + file,
                     std::ios::binary);
    EXPECT_TRUE(in.good()) << caseName << "/" << file;
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// 20 slides: box 1 for 1..10, box 2 for 11..20, info "Axx Bild n". Every slide except
// those in `without` carries A1 (as A1 itself, as a level-2 or level-3 key below it, in
// different slots); the others carry only B1.
void WriteTwentySlides(const TempArchive& a, std::initializer_list<int> without) {
    std::string bytes;
    for (int n = 1; n <= 20; ++n) {
        char info[32];
        std::snprintf(info, sizeof info, "A%02d Bild %d", n, n);
        std::vector<std::string> keys;
        if (std::find(without.begin(), without.end(), n) != without.end())
            keys = {"B1"};
        else if (n % 3 == 0)
            keys = {"A1B2"};
        else if (n % 3 == 1)
            keys = {"B1", "A1"};
        else
            keys = {"C1", "B1", "A1B2C3"};
        bytes += RecordBytes(keys, info, n <= 10 ? 1 : 2);
    }
    a.write("dias.ddb", bytes);
}

KeySelection Select(std::vector<std::pair<std::string, std::string>> picks) {
    KeySelection keys;
    for (auto& [code, name] : picks) {
        keys.entries[static_cast<size_t>(keys.count)] = {code, name};
        ++keys.count;
    }
    return keys;
}

struct Outputs {
    std::vector<std::string> list;
    ResultPage page;
    int32_t found = -1;
    int pagesWritten = 0;
    int pagesStarted = 0;
    std::vector<std::pair<int, int32_t>> rows;
    ScanCallbacks callbacks() {
        ScanCallbacks cb;
        cb.pageWritten = [this] { ++pagesWritten; };
        cb.pageStarted = [this] { ++pagesStarted; };
        cb.rowFilled = [this](int row, int32_t n) { rows.emplace_back(row, n); };
        return cb;
    }
};

TEST(SearchReportGolden, SeventeenMatchesWriteOneFullPageAndNothingAtTheEnd) {
    TempArchive a;
    WriteTwentySlides(a, {5, 10, 15});
    Archive archive(a.dir());
    Outputs out;
    SearchRun run(archive, out.list, out.page, out.found, kFixedClock);
    KeySelection keys = Select({{"A1", "Natur"}});
    ASSERT_FALSE(ScanKeys(run, 20, keys, out.callbacks()));
    // The page went out when the 17th match was found, before the scan ended.
    EXPECT_EQ(out.pagesWritten, 1);
    std::string afterScan = a.read("dialiste.txt");
    ASSERT_FALSE(run.Finish(20));
    std::string expected = Expected("keys-17", "expected-dialiste.txt");
    EXPECT_EQ(a.read("dialiste.txt"), expected);
    EXPECT_EQ(afterScan, expected.substr(0, afterScan.size()));
    EXPECT_EQ(out.found, 17);
    EXPECT_EQ(run.lastPageRows(), 0);
    EXPECT_EQ(run.lastExamined(), 20);
    ASSERT_EQ(out.list.size(), 17u);
    EXPECT_EQ(out.list.front(), "00100001A01 Bild 1");
    EXPECT_EQ(out.list.back(), "00200020A20 Bild 20");
    EXPECT_EQ(out.rows.back(), std::make_pair(17, int32_t{20}));
}

TEST(SearchReportGolden, EighteenMatchesPutOneRowOnTheSecondPage) {
    TempArchive a;
    WriteTwentySlides(a, {5, 10});
    Archive archive(a.dir());
    Outputs out;
    SearchRun run(archive, out.list, out.page, out.found, kFixedClock);
    KeySelection keys = Select({{"A1", "Natur"}});
    ASSERT_FALSE(ScanKeys(run, 20, keys, out.callbacks()));
    ASSERT_FALSE(run.Finish(20));
    EXPECT_EQ(a.read("dialiste.txt"), Expected("keys-18", "expected-dialiste.txt"));
    EXPECT_EQ(out.found, 18);
    EXPECT_EQ(run.lastPageRows(), 1);
    EXPECT_EQ(out.pagesWritten, 1);
    EXPECT_EQ(out.pagesStarted, 2);
    // The page on screen now holds slide 20 in row 1 and nothing else.
    EXPECT_EQ(out.page.rows[0].slide, "20");
    EXPECT_EQ(out.page.rows[0].box, "2");
    EXPECT_EQ(out.page.rows[0].code, "A20");
    EXPECT_EQ(out.page.rows[0].text, " Bild 20");
    EXPECT_TRUE(out.page.rows[1].empty());
}

TEST(SearchReportGolden, NoMatchWritesHeadAndZeroStatistics) {
    TempArchive a;
    WriteTwentySlides(a, {});
    Archive archive(a.dir());
    Outputs out;
    SearchRun run(archive, out.list, out.page, out.found, kFixedClock);
    KeySelection keys = Select({{"Z9", "Zoo"}});
    ASSERT_FALSE(ScanKeys(run, 20, keys, out.callbacks()));
    ASSERT_FALSE(run.Finish(20));
    EXPECT_EQ(a.read("dialiste.txt"), Expected("keys-none", "expected-dialiste.txt"));
    EXPECT_EQ(out.found, 0);
    EXPECT_TRUE(out.list.empty());
    EXPECT_EQ(out.pagesStarted, 0);
}

TEST(SearchReportGolden, TwoKeysAllMustBeThereAtSlotStarts) {
    TempArchive a;
    std::string bytes;
    bytes += RecordBytes({"A1"}, "A01 Strand", 3);                              // only one key
    bytes += RecordBytes({"A1", "C1"}, "B07 Alpen", 3);                         // both
    bytes += RecordBytes({"C1B1"}, "B08 See", 3);                               // A1 missing
    bytes += RecordBytes({"C1D1", "00", "A1B1"}, "??? Dolomiten im Herbst", 3); // both
    bytes += RecordBytes({"B1C1", "C1", "A1"}, "B09 Wald", 3); // C1 first inside B1C1
    bytes += RecordBytes(kEmptyKeys, kFree, 0);                // free slot
    bytes += RecordBytes({"A1", "C1"}, "C50 Gipfel", 120);     // both
    a.write("dias.ddb", bytes);
    Archive archive(a.dir());
    Outputs out;
    SearchRun run(archive, out.list, out.page, out.found, kFixedClock);
    KeySelection keys = Select({{"A1", "Natur"}, {"C1", "Berge"}});
    ASSERT_FALSE(ScanKeys(run, 7, keys, out.callbacks()));
    ASSERT_FALSE(run.Finish(7));
    EXPECT_EQ(a.read("dialiste.txt"), Expected("keys-two", "expected-dialiste.txt"));
    // The head filled the selection's own names to 18 characters.
    EXPECT_EQ(keys.entries[0].name, "Natur             ");
    EXPECT_EQ(keys.entries[2].name, "nicht belegt      ");
    EXPECT_EQ(keys.count, 2);
    EXPECT_EQ(out.list[1], "00300004??? Dolomiten im Herbst");
    EXPECT_EQ(out.list[2], "12000007C50 Gipfel");
}

TEST(SearchReportGolden, InfoTextSearchWithTheMarkerListsTheFreeSlots) {
    TempArchive a;
    std::string bytes;
    bytes += RecordBytes({"A1"}, "A01 Dia wurde", 1);
    bytes += RecordBytes(kEmptyKeys, kFree, 0);
    bytes += RecordBytes({"A1"}, "A02 Strand", 1);
    bytes += RecordBytes(kEmptyKeys, kFree, 5);
    a.write("dias.ddb", bytes);
    Archive archive(a.dir());
    Outputs out;
    SearchRun run(archive, out.list, out.page, out.found, kFixedClock);
    ASSERT_FALSE(ScanInfoText(run, 4, kFree, false, out.callbacks()));
    ASSERT_FALSE(run.Finish(4));
    EXPECT_EQ(a.read("dialiste.txt"), Expected("info-free", "expected-dialiste.txt"));
    EXPECT_EQ(out.page.rows[0].code, "Dia");
    EXPECT_EQ(out.page.rows[0].text, kFreeSlotRemainder);
    EXPECT_EQ(out.page.rows[1].box, "5");
}

TEST(SearchReportGolden, BoxSearchHeadNamesNoBoxNumber) {
    TempArchive a;
    std::string bytes;
    bytes += RecordBytes({"A1"}, "A01 Strand", 1);
    bytes += RecordBytes({"A1"}, "A02 Meer", 1);
    bytes += RecordBytes({"A1"}, "B01 Rom", 2);
    bytes += RecordBytes({"A1"}, "A03 Sand", 1);
    bytes += RecordBytes({"A1"}, "B03 Neapel", 2);
    a.write("dias.ddb", bytes);
    Archive archive(a.dir());
    Outputs out;
    SearchRun run(archive, out.list, out.page, out.found, kFixedClock);
    ASSERT_FALSE(ScanBox(run, 5, 2, out.callbacks()));
    ASSERT_FALSE(run.Finish(5));
    std::string expected = Expected("box", "expected-dialiste.txt");
    EXPECT_EQ(a.read("dialiste.txt"), expected);
    // 12 head lines before the first result line.
    size_t pos = 0;
    for (int i = 0; i < 12; ++i)
        pos = expected.find("\r\n", pos) + 2;
    EXPECT_EQ(expected.compare(pos, 10, "*        2"), 0);
}

TEST(SearchReportGolden, HeaderDataSearchListsUsedAndUnusedCriteria) {
    TempArchive a;
    a.write("dias.ddb", RecordBytes({"A1"}, "A01 Hafen", 1) + RecordBytes({"A1"}, "A02 Kirche", 1) +
                            RecordBytes({"A1"}, "A03 Markt", 1));
    a.write("kopfdata.ddb", HeaderRecordBytes({"Nikon F50", "50mm"}) +
                                HeaderRecordBytes({"Canon AE-1"}) +
                                HeaderRecordBytes({"NIKON FM2"}));
    Archive archive(a.dir());
    Outputs out;
    SearchRun run(archive, out.list, out.page, out.found, kFixedClock);
    std::array<std::string, 8> criteria{"nikon"};
    ASSERT_FALSE(ScanHeaderData(run, 3, criteria, out.callbacks()));
    ASSERT_FALSE(run.Finish(3));
    EXPECT_EQ(a.read("dialiste.txt"), Expected("header", "expected-dialiste.txt"));
    // The empty criteria now read "nicht verwendet" for the caller as well.
    EXPECT_EQ(criteria[1], "nicht verwendet");
    EXPECT_EQ(criteria[0], "nikon");
}

} // namespace
} // namespace lumo
