// The archive scan around the record tests: missing files, memos, short header files, full disk.
#include "search/SearchRun.h"
#include "store/FaultInjection.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace lumo {
namespace {

using test::HeaderRecordBytes;
using test::RecordBytes;
using test::TempArchive;

const ReportClock kClock = [] { return ReportStamp{"05.12.98", "14:30:00"}; };

struct Scan {
    explicit Scan(const TempArchive& a)
        : archive(a.dir()), run(archive, list, page, found, kClock) {}
    Archive archive;
    std::vector<std::string> list{"old line"};
    ResultPage page;
    int32_t found = 99;
    SearchRun run;
};

std::string Slides(int count, const std::function<std::string(int)>& record) {
    std::string bytes;
    for (int n = 1; n <= count; ++n)
        bytes += record(n);
    return bytes;
}

TEST(SearchRun, MissingSlideFileGivesError31) {
    TempArchive a;
    // The report keeps its head, the previous results are gone.
    Scan r(a);
    KeySelection keys;
    keys.entries[0] = {"A1", "Natur"};
    keys.count = 1;
    EXPECT_EQ(ScanKeys(r.run, 5, keys).kind, ProblemKind::Error31);
    const std::string report = a.read("dialiste.txt");
    EXPECT_EQ(report.substr(report.size() - 71),
              "*              !           !                                        *\r\n");
    EXPECT_TRUE(r.list.empty());
    EXPECT_EQ(r.found, 0);
}

// Records beyond a short kopfdata.ddb are never found; the scan still goes to the last slide.
TEST(SearchRun, HeaderRecordsBeyondTheFileAreNeverFound) {
    TempArchive a;
    const int total = 2 * kProgressStride + 3;
    a.write("dias.ddb", Slides(total, [](int n) {
                return RecordBytes({"A1"}, "A0" + std::to_string(n % 10) + " Bild", n % 256);
            }));
    a.write("kopfdata.ddb", HeaderRecordBytes({"Nikon"}) + std::string(120, ' '));
    Scan r(a);
    std::vector<int32_t> progress;
    ScanCallbacks cb;
    cb.progress = [&](int32_t n) { progress.push_back(n); };
    std::array<std::string, 8> criteria; // all empty: every one becomes unused
    ASSERT_FALSE(ScanHeaderData(r.run, total, criteria, cb));
    ASSERT_FALSE(r.run.Finish(total));
    EXPECT_EQ(r.list, (std::vector<std::string>{"00100001A01 Bild", "00200002A02 Bild"}));
    EXPECT_EQ(r.run.lastExamined(), total);
    EXPECT_EQ(progress, (std::vector<int32_t>{kProgressStride, 2 * kProgressStride, total}));
}

// A report that cannot grow ends the scan with an I/O problem and keeps only whole lines.
TEST(SearchRun, ReportThatCannotGrowEndsTheScanAndKeepsItsWholeLines) {
    TempArchive a;
    a.write("dias.ddb", Slides(40, [](int) { return RecordBytes({"A1"}, "A01 Bild", 3); }));
    Scan r(a);
    std::string head;
    std::optional<test::FileSizeLimit> limit;
    ScanCallbacks cb;
    cb.begun = [&] {
        head = a.read("dialiste.txt");
        limit.emplace(head.size() + 100); // room for one line and a half
    };
    Problem p = ScanBox(r.run, 40, 3, cb);
    if (!p)
        p = r.run.Finish(40);
    limit.reset();
    ASSERT_FALSE(head.empty());
    EXPECT_EQ(p.kind, ProblemKind::Io);
    EXPECT_EQ(p.sysError, EFBIG);
    EXPECT_EQ(a.read("dialiste.txt"), head);
}

TEST(SearchRun, MemoSearchUsesExistingReadableMemoFilesOnly) {
    TempArchive a;
    a.write("dias.ddb", Slides(14, [](int n) {
                return RecordBytes({"A1"},
                                   "B" + std::to_string(10 + n) + " Dia " + std::to_string(n), 7);
            }));
    Scan none(a); // no memo directory at all
    ASSERT_FALSE(ScanMemo(none.run, 14, "x", false, {}));
    EXPECT_EQ(none.found, 0);
    a.write("memo/3.txt", "Erste Zeile\r\nRom im Regen\r\n");
    a.write("memo/12.TXT", "rom");  // name in another case
    a.write("memo/007.txt", "Rom"); // not the name of slide 7
    a.write("memo/20.txt", "Rom");  // beyond the last slide
    a.write("memo/9.txt", "Paris");
    std::filesystem::create_directories(a.path("memo/5.txt")); // exists but cannot be read
    Scan r(a);
    std::vector<int32_t> filled;
    ScanCallbacks cb;
    cb.rowFilled = [&](int, int32_t n) { filled.push_back(n); };
    ASSERT_FALSE(ScanMemo(r.run, 14, "ROM", false, cb));
    EXPECT_EQ(filled, (std::vector<int32_t>{3, 12}));
    // Box and info of a match come from the slide record.
    EXPECT_EQ(r.list, (std::vector<std::string>{"00700003B13 Dia 3", "00700012B22 Dia 12"}));
}

// Many read blocks, a short last record (padded with NULs) and slides beyond the file: every
// scan finds what the record tests find.
TEST(SearchRun, ScansAcrossManyBlocksFindWhatTheRecordTestsFind) {
    TempArchive a;
    const std::vector<std::string> codes{"A1", "A1B2", "B1", "C1C1", "00"};
    const int inFile = 9001, total = inFile + 3;
    std::string slideFile, headerFile;
    for (int n = 1; n <= inFile; ++n) {
        std::vector<std::string> slots;
        for (int k = 0; k < 1 + n % 4; ++k)
            slots.push_back(codes[static_cast<size_t>((n / 3 + k * 7) % 5)]);
        slideFile += RecordBytes(
            slots, (n % 7 ? "B" : "a") + std::to_string(n % 50) + " Dia " + std::to_string(n),
            n % 5);
        headerFile +=
            HeaderRecordBytes({"Nikon", "", "", "", "", "", "", "." + std::to_string(60 + n % 40)});
    }
    slideFile.resize(slideFile.size() - 40); // the last record lacks info and box
    headerFile.resize(headerFile.size() - 100);
    a.write("dias.ddb", slideFile);
    a.write("kopfdata.ddb", headerFile);
    const std::string padded = slideFile + std::string(static_cast<size_t>(kRecordSize) * 4, '\0');
    auto record = [&](int n) {
        return reinterpret_cast<const unsigned char*>(padded.data()) +
               static_cast<size_t>(n - 1) * kRecordSize;
    };
    KeySelection keys;
    keys.entries[0].code = "A1";
    keys.entries[1].code = "B1";
    keys.count = 2;
    const struct {
        const char* name;
        std::function<Problem(SearchRun&)> scan;
        std::function<bool(int)> test;
    } rows[] = {
        {"keys",
         [&](SearchRun& run) {
             KeySelection k = keys;
             return ScanKeys(run, total, k);
         },
         [&](int n) { return KeyTest(RecordTextUpToNul(record(n)), keys); }},
        {"info", [&](SearchRun& run) { return ScanInfoText(run, total, "a1", false); },
         [&](int n) { return InfoTextTest(RecordInfo(record(n)), "a1", false); }},
        {"box 0", [&](SearchRun& run) { return ScanBox(run, total, 0); },
         [&](int n) { return record(n)[kBoxOffset] == 0; }},
        {"header",
         [&](SearchRun& run) {
             std::array<std::string, 8> criteria{"", "", "", "", "", "", "", ".7"};
             return ScanHeaderData(run, total, criteria);
         },
         [&](int n) { return n < inFile && (60 + n % 40) / 10 == 7; }}, // the last is cut short
    };
    for (const auto& row : rows) {
        Scan r(a);
        ASSERT_FALSE(row.scan(r.run)) << row.name;
        ASSERT_FALSE(r.run.Finish(total)) << row.name;
        std::vector<std::string> expected;
        for (int n = 1; n <= inFile; ++n)
            if (row.test(n))
                expected.push_back(ResultListLine(record(n)[kBoxOffset], n, RecordInfo(record(n))));
        EXPECT_EQ(r.list, expected) << row.name;
        EXPECT_EQ(r.found, static_cast<int32_t>(expected.size())) << row.name;
        EXPECT_EQ(r.run.lastExamined(), total) << row.name;
        EXPECT_GT(expected.size(), 50u) << row.name;
        EXPECT_LT(expected.size(), static_cast<size_t>(total) - 50) << row.name;
    }
}

TEST(ResultColumns, ListLinesPagesAndProgress) {
    EXPECT_EQ(ResultListLine(0, 9001, ""), "00009001"); // a short record without box byte
    const ResultRow row = RowFromListLine("00700042A05 Urlaub");
    EXPECT_EQ(row.box + "|" + row.slide + "|" + row.code + "|" + row.text, "7|42|A05| Urlaub");
    std::vector<std::string> list;
    for (int n = 1; n <= 20; ++n)
        list.push_back(ResultListLine(1, n, "A01 x"));
    ResultPage page;
    FillPageFromList(list, 17, page); // the page starts after line `first`
    EXPECT_EQ(page.rows[2].slide + "|" + page.rows[3].slide, "20|");
    FillPageFromList(list, 0, page);
    EXPECT_EQ(page.rows[16].slide, "17");
    FillPageFromList(list, 20, page); // a count that is a multiple of 17 shows an empty page
    EXPECT_TRUE(page.rows[0].empty());
    MarkNoResult(page);
    EXPECT_EQ(page.rows[16].text, kNoResultMarker);
    EXPECT_EQ(ProgressPosition(1, 200), 0); // halves round to even
    EXPECT_EQ(ProgressPosition(3, 200), 2);
    EXPECT_EQ(ProgressPosition(200, 200), 100);
}

} // namespace
} // namespace lumo
