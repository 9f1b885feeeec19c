// Report pieces, the list reports and whole searches against reports typed from their layout
// (tests/data/reports/<case>/expected-*.txt).
#include "search/Reports.h"
#include "TestArchive.h"
#include "search/SearchRun.h"
#include "store/FileUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace lumo {
namespace {

using test::KeywordBytes;
using test::RecordBytes;
using test::TempArchive;

const ReportClock kFixedClock = [] { return ReportStamp{"05.12.98", "14:30:00"}; };

std::string Expected(const std::string& caseName, const std::string& file) {
    return ReadWholeFile(std::string(LUMO_TEST_DATA) + "/reports/" + caseName + "/" + file)
        .value_or("(missing " + caseName + ")");
}

const std::string kFree(kFreeSlotMarker);
const std::vector<std::string> kEmptyKeys(8, std::string(kEmptyKeyCode));

// 20 slides: box 1 for 1..10, box 2 for 11..20, info "Axx Bild n". Every slide except
// those in `without` carries A1 (as A1 itself, as a level-2 or level-3 key below it, in
// different slots); the others carry only B1.
std::string TwentySlides(std::initializer_list<int> without) {
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
    return bytes;
}

std::string Columns(const ResultRow& r) {
    return r.empty() ? "-" : r.slide + "|" + r.box + "|" + r.code + "|" + r.text;
}

using Scan = std::function<Problem(SearchRun&, int32_t total, const ScanCallbacks&)>;

Scan ByKeys(std::vector<std::pair<std::string, std::string>> picks) {
    return [picks](SearchRun& run, int32_t total, const ScanCallbacks& cb) {
        KeySelection keys;
        for (const auto& [code, name] : picks)
            keys.entries[static_cast<size_t>(keys.count++)] = {code, name};
        return ScanKeys(run, total, keys, cb);
    };
}

TEST(ReportPieces, PercentHeadCriterionPageAndKeyNames) {
    EXPECT_EQ(Percent(2, 3), "66.67");
    EXPECT_EQ(Percent(1, 800), "0.13"); // 0.125: halves round up
    EXPECT_EQ(Percent(0, 0), "0.00");   // never divides by zero
    EXPECT_NE(ReportHeader({"05.12.1998", "09:05:01"}).find("* Datum: 05.12.1998!"),
              std::string::npos); // other widths are written as they come
    for (size_t len : {54, 60})   // too long for the box: kept whole, the line grows
        EXPECT_EQ(CriterionLine(std::string(len, 'x')),
                  "*       ===> " + std::string(len, 'x') + " *\r\n");
    ResultPage page;
    page.rows[1] = {"7", "42", "A05", " Urlaub"};
    page.rows[3] = {"1", "4", "A02", " vier"};
    page.rows[5].text = kNoResultMarker; // blank and no-result rows are skipped
    EXPECT_EQ(ResultPageLines(page), ResultLine(page.rows[1]) + ResultLine(page.rows[3]));
    KeySelection keys;
    keys.entries[0].name = std::string(18, ' ');
    keys.entries[1].name = "Exakt achtzehn Zei";
    NormaliseKeyNames(keys);
    EXPECT_EQ(keys.entries[0].name, "nicht belegt      ");
    EXPECT_EQ(keys.entries[1].name, "Exakt achtzehn Zei");
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitMemoLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitMemoLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
}

TEST(ListReports, BoxListsLeaveOutDefaultThemesAndLetLongLinesGrow) {
    TempArchive a;
    Archive archive(a.dir());
    ASSERT_FALSE(WriteBoxList(archive, kFixedClock));
    EXPECT_EQ(a.read("kasten.txt"), Expected("kasten-empty", "expected-kasten.txt"));
    a.write("KASTEN.INI", "[K001]\r\nT1=Dias 1-100\r\nT2=Italien 1998\r\n"
                          "[K007]\r\nT1=Nur ein Magazintext\r\nT2=ThematikText\r\n"
                          "[K012]\r\nT1=\r\nT2=Gr\xfc\xdf"
                          "e aus Wien\r\n"
                          "[K200]\r\nT1=Magazine mit einer sehr langen Bezeichnung\r\n"
                          "T2=Thema \xdc"
                          "berl\xe4nge f\xfcr den Kasten zweihundert\r\n"
                          "[K050]\r\nT1=Ohne Thema\r\n");
    Archive labelled(a.dir());
    ASSERT_FALSE(WriteBoxList(labelled, kFixedClock));
    EXPECT_EQ(a.read("kasten.txt"), Expected("kasten-labelled", "expected-kasten.txt"));
}

TEST(ListReports, KeyListsAndTheirCopies) {
    TempArchive a;
    a.write("keyword1", KeywordBytes({{"Natur", "N1"}, {"Urlaub", "U1"}, {"Zoo", "Z1"}}));
    // Two level-2 keys with the same initial under one parent: B1 and B2 keep their children.
    a.write("keyword2",
            KeywordBytes(
                {{"Blumen", "N1B1"}, {"Busch", "N1B2"}, {"Tiere", "N1T1"}, {"Italien", "U1I1"}}));
    a.write("keyword3", KeywordBytes({{"Rosen", "N1B1R1"},
                                      {"Tulpen", "N1B1T1"},
                                      {"Holunder", "N1B2H1"},
                                      {"Rom", "U1I1R1"}}));
    Archive archive(a.dir());
    int emptyLevel = -1;
    ASSERT_FALSE(WriteKeyList(archive, kFixedClock, &emptyLevel));
    EXPECT_EQ(emptyLevel, 0);
    EXPECT_EQ(a.read("keyliste.txt"), Expected("keyliste-example", "expected-keyliste.txt"));
    for (const char* name : {"keyword1", "keyword2", "keyword3"}) // the copies stay
        EXPECT_EQ(a.read(std::string(name) + ".prt"), a.read(name)) << name;
    // An empty keyword file refuses the list and leaves the old one.
    a.write("keyword2", "");
    std::filesystem::remove(a.path("keyword1.prt"));
    EXPECT_EQ(FirstEmptyKeywordFile(archive), 2);
    EXPECT_FALSE(WriteKeyList(archive, kFixedClock, &emptyLevel));
    EXPECT_EQ(emptyLevel, 2);
    EXPECT_EQ(a.read("keyliste.txt"), Expected("keyliste-example", "expected-keyliste.txt"));
    EXPECT_FALSE(a.exists("keyword1.prt"));
    // One level, one key without children.
    a.write("keyword1", KeywordBytes({{"Natur", "N1"}}));
    a.write("keyword2", "*");
    a.write("keyword3", "*");
    ASSERT_FALSE(WriteKeyList(archive, kFixedClock));
    EXPECT_EQ(a.read("keyliste.txt"), Expected("keyliste-single", "expected-keyliste.txt"));
}

// Piece by piece as the memo editor writes it: RecordWindows, against the same file.
TEST(ListReports, MemoListInOneGo) {
    TempArchive a;
    a.write("memo/3.txt", "Erste Zeile\r\nZweite Zeile mit Umlaut \xe4\r\n");
    a.write("memo/12.txt", "Nur eine Zeile");
    Archive archive(a.dir());
    ASSERT_FALSE(WriteMemoList(archive, {3, 12}, kFixedClock));
    const std::string expected = Expected("memo-two", "expected-memo.txt");
    EXPECT_EQ(a.read("memo.txt"), expected);
    // A missing memo leaves the old file.
    Problem p = WriteMemoList(archive, {3, 4}, kFixedClock);
    EXPECT_EQ(p.kind, ProblemKind::Io);
    EXPECT_EQ(p.sysError, 2);
    EXPECT_EQ(a.read("memo.txt"), expected);
}

TEST(SearchReports, WholeReportsAndWhatTheScreenShows) {
    std::string keysTwo;
    keysTwo += RecordBytes({"A1"}, "A01 Strand", 3);                              // only one key
    keysTwo += RecordBytes({"A1", "C1"}, "B07 Alpen", 3);                         // both
    keysTwo += RecordBytes({"C1B1"}, "B08 See", 3);                               // A1 missing
    keysTwo += RecordBytes({"C1D1", "00", "A1B1"}, "??? Dolomiten im Herbst", 3); // both
    keysTwo += RecordBytes({"B1C1", "C1", "A1"}, "B09 Wald", 3); // C1 first inside B1C1
    keysTwo += RecordBytes(kEmptyKeys, kFree, 0);                // free slot
    keysTwo += RecordBytes({"A1", "C1"}, "C50 Gipfel", 120);     // both
    // summary: found, pages started and written in the scan, rows of the last page, the last row
    // filled (row:slide) and list line; rows on screen and the first (slide|box|code|text).
    const struct {
        const char* name;
        std::string dias;
        int32_t total;
        Scan scan;
        std::string summary;
    } cases[] = {
        // The 17th match writes a full page; nothing is left for the end.
        {"keys-17", TwentySlides({5, 10, 15}), 20, ByKeys({{"A1", "Natur"}}),
         "17 1 1 0 17:20 00200020A20 Bild 20 / 17 1|1|A01| Bild 1"},
        // One more puts a single row on a second page.
        {"keys-18", TwentySlides({5, 10}), 20, ByKeys({{"A1", "Natur"}}),
         "18 2 1 1 1:20 00200020A20 Bild 20 / 1 20|2|A20| Bild 20"},
        // All keys must be there, each at the start of a slot.
        {"keys-two", keysTwo, 7, ByKeys({{"A1", "Natur"}, {"C1", "Berge"}}),
         "3 1 0 3 3:7 12000007C50 Gipfel / 3 2|3|B07| Alpen"},
        {"box",
         RecordBytes({"A1"}, "A01 Strand", 1) + RecordBytes({"A1"}, "A02 Meer", 1) +
             RecordBytes({"A1"}, "B01 Rom", 2) + RecordBytes({"A1"}, "A03 Sand", 1) +
             RecordBytes({"A1"}, "B03 Neapel", 2),
         5,
         [](SearchRun& run, int32_t total, const ScanCallbacks& cb) {
             return ScanBox(run, total, 2, cb);
         },
         "2 1 0 2 2:5 00200005B03 Neapel / 2 3|2|B01| Rom"},
    };
    for (const auto& c : cases) {
        TempArchive a;
        a.write("dias.ddb", c.dias);
        Archive archive(a.dir());
        std::vector<std::string> list;
        ResultPage page;
        int32_t found = -1;
        SearchRun run(archive, list, page, found, kFixedClock);
        int started = 0, written = 0;
        std::string lastRow = "-";
        ScanCallbacks cb;
        cb.pageStarted = [&] { ++started; };
        cb.pageWritten = [&] { ++written; };
        cb.rowFilled = [&](int row, int32_t n) {
            lastRow = std::to_string(row) + ":" + std::to_string(n);
        };
        ASSERT_FALSE(c.scan(run, c.total, cb)) << c.name;
        const std::string afterScan = a.read("dialiste.txt");
        ASSERT_FALSE(run.Finish(c.total)) << c.name;
        const std::string expected = Expected(c.name, "expected-dialiste.txt");
        EXPECT_EQ(a.read("dialiste.txt"), expected) << c.name;
        // Full pages went out during the scan.
        EXPECT_EQ(afterScan, expected.substr(0, afterScan.size())) << c.name;
        EXPECT_EQ(list.size(), static_cast<size_t>(found)) << c.name;
        const auto shown = std::count_if(page.rows.begin(), page.rows.end(),
                                         [](const ResultRow& r) { return !r.empty(); });
        std::ostringstream summary;
        summary << found << " " << started << " " << written << " " << run.lastPageRows() << " "
                << lastRow << " " << (list.empty() ? "-" : list.back()) << " / " << shown << " "
                << Columns(page.rows[0]);
        EXPECT_EQ(summary.str(), c.summary) << c.name;
    }
}

} // namespace
} // namespace lumo
