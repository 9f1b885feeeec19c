#pragma once
// The text reports: dialiste.txt (result report of every search) and the list reports
// kasten.txt, keyliste.txt and memo.txt. Code page 1252 bytes, every line ended by CR LF,
// box lines 69 characters wide.
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

inline constexpr std::string_view kResultReportName = "dialiste.txt";
inline constexpr std::string_view kBoxListName = "kasten.txt";
inline constexpr std::string_view kKeyListName = "keyliste.txt";
inline constexpr std::string_view kMemoListName = "memo.txt";
inline constexpr std::string_view kCrLf = "\r\n";

// Date ("dd.mm.yy") and time ("hh:mm:ss") printed in a report head.
struct ReportStamp {
    std::string date;
    std::string time;
};
// Where report heads take date and time from; an empty clock means local time.
using ReportClock = std::function<ReportStamp()>;
ReportStamp LocalReportStamp();

// --- building blocks (each returns whole lines ended by CR LF) ---

// The five head lines shared by all reports. A date of exactly 8 characters gets two
// spaces so it fills 10 columns; other widths are written as they come.
std::string ReportHeader(const ReportStamp& stamp);
// "*" + content filled with spaces to 68 characters + "*" (a longer content is kept whole).
std::string BoxLine(std::string_view content);
// "*       ===> " + criterion + " " in a box line. A criterion too long for the box
// (more than 54 characters) is written whole and the line grows: the report must name
// what was searched for, and an editor shows the longer line.
std::string CriterionLine(std::string_view criterion);
// The four lines of the column head of dialiste.txt.
std::string ResultColumnHead();
// One result line from a page row (box and slide numbers read back from their texts).
std::string ResultLine(const ResultRow& row);
// Statistics block of dialiste.txt (5 lines).
std::string StatisticsBlock(int32_t total, int32_t found);

// found × (100 / total) with two decimals and a point ("42.86"); "0.00" for total 0.
std::string Percent(int32_t found, int32_t total);
// The statistics message shown after a search (\r = CR line breaks), code page 1252.
std::string StatisticsMessage(int32_t total, int32_t found);

// Brings the 8 key names to 18 characters: empty or 18 blanks -> "nicht belegt      ",
// shorter ones filled with spaces. Changes the selection's names themselves.
void NormaliseKeyNames(KeySelection& keys);
// Empty criteria become "nicht verwendet" (changes the criteria themselves).
void NormaliseHeaderCriteria(std::array<std::string, 8>& criteria);

// Whole heads of dialiste.txt (bytes, without writing).
std::string KeySearchHeader(const ReportStamp& stamp, KeySelection& keys);
std::string TextSearchHeader(const ReportStamp& stamp, std::string_view criterion);
std::string BoxSearchHeader(const ReportStamp& stamp);
std::string HeaderDataSearchHeader(const ReportStamp& stamp, std::array<std::string, 8>& criteria);

// --- dialiste.txt ---
// The head creates dialiste.txt anew (written whole, atomically); the appends open the
// file for appending and close it again. A failed append leaves the file as it was
// before that append (Problem::Io with the system error number).
Problem WriteKeySearchHeader(const Archive& archive, KeySelection& keys,
                             const ReportClock& clock = {});
Problem WriteTextSearchHeader(const Archive& archive, std::string_view criterion,
                              const ReportClock& clock = {});
Problem WriteBoxSearchHeader(const Archive& archive, const ReportClock& clock = {});
Problem WriteHeaderDataSearchHeader(const Archive& archive, std::array<std::string, 8>& criteria,
                                    const ReportClock& clock = {});
// Rows 1..17 in order; rows holding the blank or the no-result marker are not written.
std::string ResultPageLines(const ResultPage& page);
void AppendResultPageLines(const ResultPage& page, std::string& out);
// Appends bytes to an existing report file; on failure the file keeps its old length.
Problem AppendToReport(const Archive& archive, std::string_view name, std::string_view bytes);
// The same on a descriptor opened for appending; 0 or errno.
int AppendToDescriptor(int fd, std::string_view bytes);

// --- list reports ---
// kasten.txt: boxes 1..255 from KASTEN.INI, boxes whose theme text is "ThematikText" left out.
Problem WriteBoxList(const Archive& archive, const ReportClock& clock = {});
std::string BoxListLine(int box, std::string_view magazineText, std::string_view themeText);

// 1..3 for the first keyword file of 0 bytes (error 54), 0 when all hold data.
// A missing keyword file is not "empty" here; WriteKeyList then reports Io.
int FirstEmptyKeywordFile(const Archive& archive);
// Copies keyword1..3 to keyword1.prt..3.prt and writes keyliste.txt from the copies.
// Call only when FirstEmptyKeywordFile() is 0 (otherwise nothing is written and
// *emptyLevel, when given, receives the level).
Problem WriteKeyList(const Archive& archive, const ReportClock& clock = {},
                     int* emptyLevel = nullptr);
// The tree lines of keyliste.txt from the parsed keyword data (level 1, 2, 3 bytes).
std::string KeyTreeLines(std::string_view level1, std::string_view level2, std::string_view level3);

// memo.txt: head lines 1-9 (created anew), then one block per slide.
std::string MemoListHeader(const ReportStamp& stamp);
std::string MemoBlock(int32_t slide, const std::vector<std::string>& lines);
Problem WriteMemoListHeader(const Archive& archive, const ReportClock& clock = {});
Problem AppendMemoBlock(const Archive& archive, int32_t slide,
                        const std::vector<std::string>& lines);
// The lines of a memo file as a text list sees them: split at CR LF, CR or LF; a last
// line without a break counts, an empty file has no lines.
std::vector<std::string> SplitMemoLines(std::string_view bytes);
// MEMO PRINT in one go: head and the blocks of `slides` (memo/<n>.txt each) written
// atomically; a memo file that cannot be read gives Io and leaves memo.txt as it was.
Problem WriteMemoList(const Archive& archive, const std::vector<int32_t>& slides,
                      const ReportClock& clock = {});

} // namespace lumo
