// Whole searches over small archives built byte by byte, compared with dialiste.txt files
// typed from the report layout (tests/data/reports/<case>/expected-dialiste.txt).
#include "TestArchive.h"
#include "search/SearchRun.h"
#include "store/FileUtil.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lumo {
namespace {

using test::HeaderRecordBytes;
using test::RecordBytes;
using test::TempArchive;

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

// Slides carrying only the key A1: info text and box each.
std::string A1Slides(const std::vector<std::pair<std::string, int>>& slides) {
    std::string bytes;
    for (const auto& [info, box] : slides)
        bytes += RecordBytes({"A1"}, info, box);
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

} // namespace

TEST(SearchReportGolden, WholeReportsAndWhatTheScreenShows) {
    std::string keysTwo;
    keysTwo += RecordBytes({"A1"}, "A01 Strand", 3);                              // only one key
    keysTwo += RecordBytes({"A1", "C1"}, "B07 Alpen", 3);                         // both
    keysTwo += RecordBytes({"C1B1"}, "B08 See", 3);                               // A1 missing
    keysTwo += RecordBytes({"C1D1", "00", "A1B1"}, "??? Dolomiten im Herbst", 3); // both
    keysTwo += RecordBytes({"B1C1", "C1", "A1"}, "B09 Wald", 3); // C1 first inside B1C1
    keysTwo += RecordBytes(kEmptyKeys, kFree, 0);                // free slot
    keysTwo += RecordBytes({"A1", "C1"}, "C50 Gipfel", 120);     // both
    // summary: found, pages started and written (during the scan), rows of the last page,
    // the last row filled (row:slide), the last result list line; then how many rows the
    // page on screen shows and its first row (slide|box|code|text).
    const struct {
        const char* name;
        std::string dias, kopfdata;
        int32_t total;
        Scan scan;
        std::string summary;
    } cases[] = {
        // The 17th match writes a full page; nothing is left for the end.
        {"keys-17", TwentySlides({5, 10, 15}), "", 20, ByKeys({{"A1", "Natur"}}),
         "17 1 1 0 17:20 00200020A20 Bild 20 / 17 1|1|A01| Bild 1"},
        // One more puts a single row on a second page.
        {"keys-18", TwentySlides({5, 10}), "", 20, ByKeys({{"A1", "Natur"}}),
         "18 2 1 1 1:20 00200020A20 Bild 20 / 1 20|2|A20| Bild 20"},
        {"keys-none", TwentySlides({}), "", 20, ByKeys({{"Z9", "Zoo"}}), "0 0 0 0 - - / 0 -"},
        // All keys must be there, each at the start of a slot.
        {"keys-two", keysTwo, "", 7, ByKeys({{"A1", "Natur"}, {"C1", "Berge"}}),
         "3 1 0 3 3:7 12000007C50 Gipfel / 3 2|3|B07| Alpen"},
        {"info-free",
         A1Slides({{"A01 Dia wurde", 1}}) + RecordBytes(kEmptyKeys, kFree, 0) +
             A1Slides({{"A02 Strand", 1}}) + RecordBytes(kEmptyKeys, kFree, 5),
         "", 4,
         [](SearchRun& run, int32_t total, const ScanCallbacks& cb) {
             return ScanInfoText(run, total, kFree, false, cb);
         },
         "2 1 0 2 2:4 00500004" + kFree + " / 2 2|0|Dia|" + kFreeSlotRemainder},
        {"box",
         A1Slides({{"A01 Strand", 1},
                   {"A02 Meer", 1},
                   {"B01 Rom", 2},
                   {"A03 Sand", 1},
                   {"B03 Neapel", 2}}),
         "", 5,
         [](SearchRun& run, int32_t total, const ScanCallbacks& cb) {
             return ScanBox(run, total, 2, cb);
         },
         "2 1 0 2 2:5 00200005B03 Neapel / 2 3|2|B01| Rom"},
        // Criteria are folded; the unused ones are listed in the head.
        {"header", A1Slides({{"A01 Hafen", 1}, {"A02 Kirche", 1}, {"A03 Markt", 1}}),
         HeaderRecordBytes({"Nikon F50", "50mm"}) + HeaderRecordBytes({"Canon AE-1"}) +
             HeaderRecordBytes({"NIKON FM2"}),
         3,
         [](SearchRun& run, int32_t total, const ScanCallbacks& cb) {
             std::array<std::string, 8> criteria{"nikon"};
             return ScanHeaderData(run, total, criteria, cb);
         },
         "2 1 0 2 2:3 00100003A03 Markt / 2 1|1|A01| Hafen"},
    };
    for (const auto& c : cases) {
        TempArchive a;
        a.write("dias.ddb", c.dias);
        if (!c.kopfdata.empty())
            a.write("kopfdata.ddb", c.kopfdata);
        Archive archive(a.dir());
        std::vector<std::string> list;
        ResultPage page;
        int32_t found = -1;
        SearchRun run(archive, list, page, found, [] {
            return ReportStamp{"05.12.98", "14:30:00"};
        });
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

        const std::string expected = ReadWholeFile(std::string(LUMO_TEST_DATA) + "/reports/" +
                                                   c.name + "/expected-dialiste.txt")
                                         .value_or("(missing)");
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

} // namespace lumo
