#pragma once
// The archive scan shared by the five searches, without any window: it fills the
// result page and the SearchResultList, counts the matches, writes dialiste.txt page by
// page and tells the caller through callbacks what to show.
//
// A search runs as one call of a Scan function followed by SearchRun::Finish:
//
//   SearchRun run(archive, state.searchResultList, state.page, state.foundCount);
//   Problem p = ScanKeys(run, total, state.keys, callbacks); // head, records, pages
//   if (!p) p = run.Finish(total);                          // unfinished page, statistics
//   state.lastPageRows = run.lastPageRows(); state.currentSlide = run.lastExamined();
#include "search/Criteria.h"
#include "search/Reports.h"
#include "search/ResultPage.h"
#include "store/Archive.h"
#include "store/Problem.h"
#include "store/SlideTypes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// Progress is reported after every this many records (and for the last record).
inline constexpr int32_t kProgressStride = 256;

struct ScanCallbacks {
    // The head of dialiste.txt is written; the screen may now be cleared (scan steps 6-8).
    std::function<void()> begun;
    // Record n reached (at most every kProgressStride records, and at the last one).
    std::function<void(int32_t n)> progress;
    // A new page begins: the 17 rows were just emptied (first match of a page).
    std::function<void()> pageStarted;
    // Row `row` (1..17) of the page now holds slide n; foundCount and the result list
    // already count it. The memo and header data searches read slide n here (ReadSlide)
    // to make it the current slide.
    std::function<void(int row, int32_t n)> rowFilled;
    // A full page was appended to dialiste.txt.
    std::function<void()> pageWritten;
};

// One line of the SearchResultList: box (3 digits, leading zeros), slide (5 digits,
// leading zeros), the first 3 characters of the info text, then its rest from the 4th
// character (at most 34).
std::string ResultListLine(int32_t box, int32_t slide, std::string_view info);
// A page row from a match: box and slide in plain decimal, code and text from the info.
ResultRow RowFromMatch(int32_t box, int32_t slide, std::string_view info);
// A page row read back from a list line by its columns (1-3 box, 4-8 slide as numbers,
// 9-11 code, 12.. text at most 34).
ResultRow RowFromListLine(std::string_view line);
// Page filling of the main screen: rows 1..17 from lines first+1 .. (1-based), the
// other rows empty.
void FillPageFromList(const std::vector<std::string>& list, int32_t first, ResultPage& page);
// All 17 rows marked "nicht belegt      " (a search that found nothing).
void MarkNoResult(ResultPage& page);
// Progress bar position for record n of total: n / (total × 0.01), halves to even.
int ProgressPosition(int32_t n, int32_t total);

class SearchRun {
public:
    SearchRun(const Archive& archive, std::vector<std::string>& resultList, ResultPage& page,
              int32_t& foundCount, ReportClock clock = {});
    ~SearchRun();
    SearchRun(const SearchRun&) = delete;
    SearchRun& operator=(const SearchRun&) = delete;

    // Steps before the records: the list, the page and the counters are emptied, the head
    // of this kind is written (dialiste.txt created anew).
    Problem BeginKeys(KeySelection& keys);
    Problem BeginText(std::string_view criterion);
    Problem BeginBox();
    Problem BeginHeaderData(std::array<std::string, 8>& criteria);

    // One match: fills the current row, counts it, appends the list line and writes the
    // page when it is full. Io when the page could not be appended.
    Problem AddMatch(int32_t slide, int32_t box, std::string_view info,
                     const ScanCallbacks& callbacks = {});
    void noteExamined(int32_t n) { lastExamined_ = n; }
    // Hands the full pages collected so far to dialiste.txt (the scans do this before they
    // return; AddMatch whenever a chunk of pages is ready).
    Problem flush();

    // After the records: the rows of an unfinished page, then the statistics block;
    // dialiste.txt is closed.
    Problem Finish(int32_t total);

    int row() const { return row_; }                       // the row the next match goes to (1..17)
    int32_t lastPageRows() const { return row_ - 1; }      // = foundCount mod 17
    int32_t lastExamined() const { return lastExamined_; } // CurrentSlide after the scan
    int32_t foundCount() const { return found_; }
    const Archive& archive() const { return archive_; }
    const ResultPage& page() const { return page_; }

private:
    void reset();
    Problem begin(Problem headWritten);
    void closeReport();

    const Archive& archive_;
    std::vector<std::string>& list_;
    ResultPage& page_;
    int32_t& found_;
    ReportClock clock_;
    int row_ = 1;
    int32_t lastExamined_ = 0;
    // dialiste.txt stays open for appending from its head to the statistics of one search;
    // full pages are written in chunks of about kReportChunk bytes.
    static constexpr size_t kReportChunk = 64 * 1024;
    int reportFd_ = -1;
    std::string pending_;
};

// The five scans. Each writes the head (through run.Begin*), calls callbacks.begun,
// tests the records 1..total in order and writes full pages; then the caller calls
// run.Finish(total). Error31 when the file scanned cannot be opened: for keys, info text
// and box search after the head was written (dialiste.txt holds the head only), for the
// header data search before anything is written. Io on a read or write failure.
Problem ScanKeys(SearchRun& run, int32_t total, KeySelection& keys,
                 const ScanCallbacks& callbacks = {});
Problem ScanInfoText(SearchRun& run, int32_t total, std::string_view searchText, bool caseSensitive,
                     const ScanCallbacks& callbacks = {});
Problem ScanBox(SearchRun& run, int32_t total, int32_t box, const ScanCallbacks& callbacks = {});
// memo/<n>.txt for n = 1..total (names matched without regard to case); a memo file that
// cannot be read counts as missing. Box and info of a match come from dias.ddb (box 0 and
// an empty info when the record cannot be read, as the slide reader leaves them).
Problem ScanMemo(SearchRun& run, int32_t total, std::string_view searchText, bool caseSensitive,
                 const ScanCallbacks& callbacks = {});
// kopfdata.ddb is opened first; empty criteria become "nicht verwendet" (in `criteria`).
Problem ScanHeaderData(SearchRun& run, int32_t total, std::array<std::string, 8>& criteria,
                       const ScanCallbacks& callbacks = {});

} // namespace lumo
