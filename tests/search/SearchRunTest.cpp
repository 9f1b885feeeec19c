// The archive scan around the tests: missing files, memo files, header records beyond the
// file, the result list columns and the page filling read back from them.
#include "search/SearchRun.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace lumo {
namespace {

using test::HeaderRecordBytes;
using test::RecordBytes;
using test::TempArchive;

const ReportClock kFixedClock = [] { return ReportStamp{"05.12.98", "14:30:00"}; };

struct Scan {
    explicit Scan(const TempArchive& a)
        : archive(a.dir()), run(archive, list, page, found, kFixedClock) {}
    Archive archive;
    std::vector<std::string> list{"old line"};
    ResultPage page;
    int32_t found = 99;
    SearchRun run;
};

TEST(SearchRun, MissingSlideFileEndsTheScanAfterTheHead) {
    TempArchive a;
    Scan r(a);
    KeySelection keys;
    keys.entries[0] = {"A1", "Natur"};
    keys.count = 1;
    bool begun = false;
    ScanCallbacks cb;
    cb.begun = [&] { begun = true; };
    Problem p = ScanKeys(r.run, 5, keys, cb);
    EXPECT_EQ(p.kind, ProblemKind::Error31);
    EXPECT_TRUE(begun);
    // The report holds the head only; the previous results are gone.
    std::string report = a.read("dialiste.txt");
    EXPECT_EQ(report.substr(report.size() - 71),
              "*              !           !                                        *\r\n");
    EXPECT_TRUE(r.list.empty());
    EXPECT_EQ(r.found, 0);
}

TEST(SearchRun, MissingHeaderFileWritesNothing) {
    TempArchive a;
    a.write("dias.ddb", RecordBytes({"A1"}, "A01 x", 1));
    a.write("dialiste.txt", "previous report\r\n");
    Scan r(a);
    std::array<std::string, 8> criteria{"nikon"};
    bool begun = false;
    ScanCallbacks cb;
    cb.begun = [&] { begun = true; };
    Problem p = ScanHeaderData(r.run, 1, criteria, cb);
    EXPECT_EQ(p.kind, ProblemKind::Error31);
    EXPECT_FALSE(begun);
    EXPECT_EQ(a.read("dialiste.txt"), "previous report\r\n");
    EXPECT_EQ(criteria[1], ""); // criteria untouched as well
}

// kopfdata.ddb shorter than dias.ddb (the normal case): the records beyond its end do not
// exist and are never found, while the scan still goes on to the last slide.
TEST(SearchRun, HeaderRecordsBeyondTheFileAreNeverFound) {
    TempArchive a;
    const int total = 2 * kProgressStride + 3;
    std::string slideFile;
    for (int n = 1; n <= total; ++n)
        slideFile += RecordBytes({"A1"}, "A0" + std::to_string(n % 10) + " Bild", n % 256);
    a.write("dias.ddb", slideFile);
    // Record 1 has values, record 2 is all spaces, the others lie beyond the file.
    a.write("kopfdata.ddb", HeaderRecordBytes({"Nikon"}) + std::string(120, ' '));
    Scan r(a);
    std::vector<int32_t> progress;
    ScanCallbacks cb;
    cb.progress = [&](int32_t n) { progress.push_back(n); };
    std::array<std::string, 8> criteria; // all empty: every one becomes unused
    ASSERT_FALSE(ScanHeaderData(r.run, total, criteria, cb));
    ASSERT_FALSE(r.run.Finish(total));
    ASSERT_EQ(r.list.size(), 2u);
    EXPECT_EQ(r.list[0], "00100001A01 Bild");
    EXPECT_EQ(r.list[1], "00200002A02 Bild");
    EXPECT_EQ(r.run.lastExamined(), total);
    EXPECT_EQ(progress, (std::vector<int32_t>{kProgressStride, 2 * kProgressStride, total}));
    for (const auto& c : criteria)
        EXPECT_EQ(c, "nicht verwendet");
}

// A report that cannot grow (a file size limit) ends the scan with an I/O problem, and the
// failed append is taken back: the report keeps its head, without half a page or line.
TEST(SearchRun, ReportThatCannotGrowEndsTheScanAndKeepsItsWholeLines) {
    TempArchive a;
    std::string dias;
    for (int n = 1; n <= 40; ++n)
        dias += RecordBytes({"A1"}, "A01 Bild", 3);
    a.write("dias.ddb", dias);
    Scan r(a);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    std::string head;
    ScanCallbacks cb;
    cb.begun = [&] {
        head = a.read("dialiste.txt");
        rlimit limit = old;
        limit.rlim_cur = head.size() + 100; // room for one line and a half
        setrlimit(RLIMIT_FSIZE, &limit);
    };
    Problem p = ScanBox(r.run, 40, 3, cb);
    if (!p)
        p = r.run.Finish(40);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_FALSE(head.empty());
    EXPECT_EQ(p.kind, ProblemKind::Io);
    EXPECT_EQ(p.sysError, EFBIG);
    EXPECT_EQ(a.read("dialiste.txt"), head);
}

TEST(SearchRun, MemoSearchUsesExistingReadableMemoFilesOnly) {
    TempArchive a;
    std::string slideFile;
    for (int n = 1; n <= 14; ++n)
        slideFile +=
            RecordBytes({"A1"}, "B" + std::to_string(10 + n) + " Dia " + std::to_string(n), 7);
    a.write("dias.ddb", slideFile);
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
    ASSERT_EQ(r.list.size(), 2u);
    // Box and info of a match come from the slide record.
    EXPECT_EQ(r.list[0], "00700003B13 Dia 3");
    EXPECT_EQ(r.page.rows[1].box, "7");
    EXPECT_EQ(r.page.rows[1].code, "B22");

    Scan exact(a);
    ASSERT_FALSE(ScanMemo(exact.run, 14, "Rom", true, {}));
    ASSERT_EQ(exact.list.size(), 1u);
    EXPECT_EQ(exact.list[0].substr(3, 5), "00003");
}

TEST(SearchRun, MemoSearchWithoutMemoDirectoryFindsNothing) {
    TempArchive a;
    a.write("dias.ddb", RecordBytes({"A1"}, "A01", 1));
    Scan r(a);
    ASSERT_FALSE(ScanMemo(r.run, 1, "x", false, {}));
    ASSERT_FALSE(r.run.Finish(1));
    EXPECT_EQ(r.found, 0);
    EXPECT_NE(a.read("dialiste.txt").find("Dies entspricht 0.00 % Ihres Archivs.\r\n"),
              std::string::npos);
}

TEST(SearchRun, ProgressIsReportedSparinglyAndAtTheLastRecord) {
    TempArchive a;
    std::string slideFile;
    const int total = 3 * kProgressStride + 5;
    for (int n = 1; n <= total; ++n)
        slideFile += RecordBytes({"A1"}, "A01", n % 2 ? 1 : 2);
    a.write("dias.ddb", slideFile);
    Scan r(a);
    std::vector<int32_t> seen;
    ScanCallbacks cb;
    cb.progress = [&](int32_t n) { seen.push_back(n); };
    ASSERT_FALSE(ScanBox(r.run, total, 2, cb));
    EXPECT_EQ(seen, (std::vector<int32_t>{kProgressStride, 2 * kProgressStride, 3 * kProgressStride,
                                          total}));
    EXPECT_EQ(r.found, total / 2);
}

TEST(SearchRun, ShortLastRecordReadsAsPaddedWithNul) {
    TempArchive a;
    std::string rec2 = RecordBytes({"A1"}, "A02 Kurz", 4);
    a.write("dias.ddb", RecordBytes({"A1"}, "A01 Lang", 4) + rec2.substr(0, 60));
    Scan r(a);
    ASSERT_FALSE(ScanInfoText(r.run, 2, "a0", false, {}));
    ASSERT_EQ(r.list.size(), 2u);
    EXPECT_EQ(r.list[1], "00000002A02 Kurz"); // box byte missing: 0
}

TEST(SearchRun, ScansAcrossManyBlocksFindWhatTheRecordTestsFind) {
    // More records than two read blocks hold, a short last record (read as padded with zero
    // bytes) and slides asked for beyond the end of the file (they do not exist: never found).
    TempArchive a;
    const std::vector<std::string> codes{"A1", "A1B2", "B1", "C1C1", "00"};
    const int inFile = 9001;
    const int total = inFile + 3;
    std::string slideFile, headerFile;
    for (int n = 1; n <= inFile; ++n) {
        std::vector<std::string> slots;
        for (int k = 0; k < 1 + n % 4; ++k)
            slots.push_back(codes[static_cast<size_t>((n / 3 + k * 7) % 5)]);
        std::string info =
            (n % 7 ? "B" : "a") + std::to_string(n % 50) + " Dia " + std::to_string(n);
        slideFile += RecordBytes(slots, info, n % 5);
        headerFile +=
            HeaderRecordBytes({"Nikon", "", "", "", "", "", "", "." + std::to_string(60 + n % 40)});
    }
    slideFile.resize(slideFile.size() - 40); // the last record is cut short (info and box missing)
    headerFile.resize(headerFile.size() - 100);
    a.write("dias.ddb", slideFile);
    a.write("kopfdata.ddb", headerFile);
    const std::string padded = slideFile + std::string(static_cast<size_t>(kRecordSize) * 4, '\0');
    auto record = [&](int n) {
        return reinterpret_cast<const unsigned char*>(padded.data()) +
               static_cast<size_t>(n - 1) * kRecordSize;
    };
    auto expectedLines = [&](auto test) {
        std::vector<std::string> lines;
        for (int n = 1; n <= inFile; ++n)
            if (test(n))
                lines.push_back(ResultListLine(record(n)[kBoxOffset], n, RecordInfo(record(n))));
        return lines;
    };
    auto check = [&](Scan& r, const std::vector<std::string>& expected) {
        ASSERT_FALSE(r.run.Finish(total));
        EXPECT_EQ(r.list, expected);
        EXPECT_EQ(r.found, static_cast<int32_t>(expected.size()));
        EXPECT_EQ(r.run.lastExamined(), total);
        EXPECT_GT(expected.size(), 50u);
        EXPECT_LT(expected.size(), static_cast<size_t>(total) - 50);
    };

    KeySelection keys;
    keys.entries[0].code = "A1";
    keys.entries[1].code = "B1";
    keys.count = 2;
    {
        Scan r(a);
        KeySelection k = keys;
        ASSERT_FALSE(ScanKeys(r.run, total, k));
        check(r, expectedLines([&](int n) { return KeyTest(RecordTextUpToNul(record(n)), keys); }));
    }
    {
        Scan r(a);
        ASSERT_FALSE(ScanInfoText(r.run, total, "a1", false));
        check(r, expectedLines(
                     [&](int n) { return InfoTextTest(RecordInfo(record(n)), "a1", false); }));
    }
    {
        Scan r(a);
        ASSERT_FALSE(ScanInfoText(r.run, total, "a1", true));
        check(r, expectedLines(
                     [&](int n) { return InfoTextTest(RecordInfo(record(n)), "a1", true); }));
    }
    {
        Scan r(a);
        ASSERT_FALSE(ScanBox(r.run, total, 0));
        check(r, expectedLines([&](int n) { return record(n)[kBoxOffset] == 0; }));
        EXPECT_EQ(r.list.back(), "00009001"); // the short last record has no box byte
    }
    {
        Scan r(a);
        std::array<std::string, 8> criteria;
        criteria.fill("");
        criteria[7] = ".7";
        ASSERT_FALSE(ScanHeaderData(r.run, total, criteria));
        check(r, expectedLines([&](int n) {
                  return n < inFile && (60 + n % 40) / 10 == 7; // the last header is cut short
              }));
    }
}

TEST(ResultColumns, ListLineAndRowsReadBackByColumns) {
    EXPECT_EQ(ResultListLine(7, 42, "A05 Urlaub"), "00700042A05 Urlaub");
    EXPECT_EQ(ResultListLine(255, 99999, std::string(kFreeSlotMarker)),
              "25599999Dia wurde entnommen / Platz frei");
    EXPECT_EQ(ResultListLine(1, 1, "AB"), "00100001AB");
    ResultRow row = RowFromListLine("00700042A05 Urlaub");
    EXPECT_EQ(row.box, "7");
    EXPECT_EQ(row.slide, "42");
    EXPECT_EQ(row.code, "A05");
    EXPECT_EQ(row.text, " Urlaub");
    ResultRow m = RowFromMatch(120, 5, "??? Dolomiten");
    EXPECT_EQ(m.box, "120");
    EXPECT_EQ(m.slide, "5");
    EXPECT_EQ(m.code, "???");
    EXPECT_EQ(m.text, " Dolomiten");
}

TEST(ResultColumns, PageFillingStartsAfterLineFirst) {
    std::vector<std::string> list;
    for (int n = 1; n <= 20; ++n)
        list.push_back(ResultListLine(1, n, "A01 x"));
    ResultPage page;
    FillPageFromList(list, 17, page);
    EXPECT_EQ(page.rows[0].slide, "18");
    EXPECT_EQ(page.rows[2].slide, "20");
    EXPECT_TRUE(page.rows[3].empty());
    FillPageFromList(list, 0, page);
    EXPECT_EQ(page.rows[16].slide, "17");
    FillPageFromList(list, 20, page); // FoundCount a multiple of 17 shows an empty page
    EXPECT_TRUE(page.rows[0].empty());
    MarkNoResult(page);
    EXPECT_EQ(page.rows[16].text, kNoResultMarker);
}

TEST(ResultColumns, ProgressPositionRoundsHalvesToEven) {
    EXPECT_EQ(ProgressPosition(1, 200), 0); // 0.5 -> 0
    EXPECT_EQ(ProgressPosition(3, 200), 2); // 1.5 -> 2
    EXPECT_EQ(ProgressPosition(200, 200), 100);
    EXPECT_EQ(ProgressPosition(1, 3), 33);
}

} // namespace
} // namespace lumo
