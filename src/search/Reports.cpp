#include "search/Reports.h"

#include "search/MemoFiles.h"
#include "store/FileUtil.h"
#include "store/Keywords.h"
#include "store/Settings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

namespace {

constexpr size_t kBoxWidth = 69;
const std::string kStarLine(kBoxWidth, '*');
const std::string kBlankBoxLine = "*" + std::string(kBoxWidth - 2, ' ') + "*";
const std::string kDivider = "*" + std::string(kBoxWidth - 2, '-') + "*";

// Report texts as code page 1252 bytes (\xE4 = ä, \xFC = ü, \xDC = Ü).
constexpr std::string_view kTitleSlides =
    "*          A  N  Z  E  I  G  E  N    V  O  N    D  I  A  S          *";
constexpr std::string_view kTitleBoxes =
    "*  A  N  Z  E  I  G  E  N    V  O  N    M  A  G  A  Z  I  N  E  N   *";
constexpr std::string_view kKeysChosen = "* Folgende Schl\xFC"
                                         "sselw\xF6"
                                         "rter wurden f\xFC"
                                         "r die zu suchenden Dias gew\xE4"
                                         "hlt *";
constexpr std::string_view kTextUsed = "*  Folgender SuchString wurde f\xFC"
                                       "r die aufgelisteten Dias verwendet  *";
constexpr std::string_view kHeaderDataUsed = "*  Folgende Kopfdaten wurden f\xFC"
                                             "r die aufgelisteten Dias verwendet   *";

std::string Line(std::string_view text) {
    std::string s(text);
    s += kCrLf;
    return s;
}

std::string PadTo(std::string s, size_t width) {
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

std::string RightAlign(int64_t value, size_t width) {
    std::string s = std::to_string(value);
    if (s.size() < width)
        s.insert(0, width - s.size(), ' ');
    return s;
}

int64_t NumberOf(std::string_view text) {
    int64_t v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

ReportStamp StampOf(const ReportClock& clock) {
    return clock ? clock() : LocalReportStamp();
}

// The first five lines and the title block shared by the dialiste.txt heads.
std::string SearchHeadStart(const ReportStamp& stamp, std::string_view title) {
    return ReportHeader(stamp) + Line(kBlankBoxLine) + Line(title) + Line(kBlankBoxLine);
}

// Reports are derived data that every search or print writes anew: replaced atomically,
// but not flushed to the disk.
Problem WriteWhole(const Archive& archive, std::string_view name, std::string_view bytes) {
    int err = WriteFileAtomically(archive.resolve(name), bytes, Durability::NoSync);
    return err ? Problem::io(err) : Problem{};
}

constexpr size_t kNameWidth = 18;

std::string TreeName(std::string_view text) {
    return PadTo(std::string(text.substr(0, kNameWidth)), kNameWidth);
}

} // namespace

ReportStamp LocalReportStamp() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%d.%m.%y", &tm);
    std::strftime(time, sizeof time, "%H:%M:%S", &tm);
    return {date, time};
}

std::string ReportHeader(const ReportStamp& stamp) {
    std::string date = stamp.date;
    if (date.size() == 8)
        date += "  ";
    std::string s = Line(kStarLine);
    s += Line("* Datum: " + date + "!                             !                  *");
    s += Line("*                  !  L  U  M  O  R  E  T  T  A  ! Liste f\xFC"
              "r Editor *");
    s += Line("* Zeit:  " + stamp.time + "  !                             !                  *");
    s += Line("*------------------+-----------------------------+------------------*");
    return s;
}

std::string BoxLine(std::string_view content) {
    return Line(PadTo("*" + std::string(content), kBoxWidth - 1) + "*");
}

std::string CriterionLine(std::string_view criterion) {
    return Line(PadTo("*       ===> " + std::string(criterion) + " ", kBoxWidth - 1) + "*");
}

std::string ResultColumnHead() {
    return Line("*--------------+-----------+----------------------------------------*") +
           Line("* Kastennummer ! Dianummer ! Diabeschreibungstext                   *") +
           Line("*--------------+-----------+----------------------------------------*") +
           Line("*              !           !                                        *");
}

namespace {

void AppendRightAligned(std::string& s, int64_t value, size_t width) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    size_t len = static_cast<size_t>(end - buf);
    if (len < width)
        s.append(width - len, ' ');
    s.append(buf, len);
}

// The result line of a row appended to `out` (scans build whole pages this way).
void AppendResultLine(const ResultRow& row, std::string& out) {
    size_t start = out.size();
    out += "*    ";
    AppendRightAligned(out, NumberOf(row.box), 5);
    out += "     !   ";
    AppendRightAligned(out, NumberOf(row.slide), 5);
    out += "   ! ";
    out += row.code;
    out += row.text;
    size_t len = out.size() - start;
    if (len < kBoxWidth - 1)
        out.append(kBoxWidth - 1 - len, ' ');
    out += "*\r\n";
}

} // namespace

std::string ResultLine(const ResultRow& row) {
    std::string s;
    AppendResultLine(row, s);
    return s;
}

std::string Percent(int32_t found, int32_t total) {
    double p = total == 0 ? 0.0 : static_cast<double>(found) * (100.0 / static_cast<double>(total));
    // Rounded to the nearest hundredth, halves away from zero; written without the locale
    // (always a point as decimal separator).
    long long cents = std::llround(p * 100.0);
    std::string s = std::to_string(cents / 100) + ".";
    long long frac = (cents < 0 ? -cents : cents) % 100;
    s += static_cast<char>('0' + frac / 10);
    s += static_cast<char>('0' + frac % 10);
    return s;
}

std::string StatisticsBlock(int32_t total, int32_t found) {
    return Line(kStarLine) + Line("[STATISTIK]") +
           Line("Es wurden insgesamt " + std::to_string(total) + " Datens\xE4tze ausgewertet.") +
           Line("Davon entsprachen " + std::to_string(found) + " Dias den Suchkriterien.") +
           Line("Dies entspricht " + Percent(found, total) + " % Ihres Archivs.");
}

std::string StatisticsMessage(int32_t total, int32_t found) {
    return "Ihr Archiv ist komplett durchsucht worden.\rEs wurden " + std::to_string(total) +
           " Datens\xE4tze ausgewertet.\rDavon entsprachen " + std::to_string(found) +
           " Dias den Vorgaben.\rDies entspricht " + Percent(found, total) + " % Ihres Archivs.";
}

void NormaliseKeyNames(KeySelection& keys) {
    for (auto& e : keys.entries) {
        if (e.name.empty() || e.name == std::string(kNameWidth, ' '))
            e.name = std::string(kNoResultMarker);
        e.name = PadTo(std::move(e.name), kNameWidth);
    }
}

void NormaliseHeaderCriteria(std::array<std::string, 8>& criteria) {
    for (auto& c : criteria)
        if (c.empty())
            c = "nicht verwendet";
}

std::string KeySearchHeader(const ReportStamp& stamp, KeySelection& keys) {
    NormaliseKeyNames(keys);
    const auto& e = keys.entries;
    const std::string gap(4, ' ');
    std::string s = SearchHeadStart(stamp, kTitleSlides);
    s += Line(kDivider) + Line(kKeysChosen) + Line(kDivider);
    s += Line("*   " + e[0].name + gap + e[3].name + gap + e[6].name + "  *");
    s += Line("*   " + e[1].name + gap + e[4].name + gap + e[7].name + "  *");
    s += Line("*   " + e[2].name + gap + e[5].name + std::string(24, ' ') + "*");
    return s + ResultColumnHead();
}

std::string TextSearchHeader(const ReportStamp& stamp, std::string_view criterion) {
    std::string s = SearchHeadStart(stamp, kTitleSlides);
    s += Line(kDivider) + Line(kTextUsed) + Line(kDivider);
    s += Line(kBlankBoxLine) + CriterionLine(criterion) + Line(kBlankBoxLine);
    return s + ResultColumnHead();
}

std::string BoxSearchHeader(const ReportStamp& stamp) {
    return SearchHeadStart(stamp, kTitleBoxes) + ResultColumnHead();
}

std::string HeaderDataSearchHeader(const ReportStamp& stamp, std::array<std::string, 8>& criteria) {
    NormaliseHeaderCriteria(criteria);
    std::string s = SearchHeadStart(stamp, kTitleSlides);
    s += Line(kDivider) + Line(kHeaderDataUsed) + Line(kDivider) + Line(kBlankBoxLine);
    for (const auto& c : criteria)
        s += CriterionLine(c);
    s += Line(kBlankBoxLine);
    return s + ResultColumnHead();
}

Problem WriteKeySearchHeader(const Archive& archive, KeySelection& keys, const ReportClock& clock) {
    return WriteWhole(archive, kResultReportName, KeySearchHeader(StampOf(clock), keys));
}

Problem WriteTextSearchHeader(const Archive& archive, std::string_view criterion,
                              const ReportClock& clock) {
    return WriteWhole(archive, kResultReportName, TextSearchHeader(StampOf(clock), criterion));
}

Problem WriteBoxSearchHeader(const Archive& archive, const ReportClock& clock) {
    return WriteWhole(archive, kResultReportName, BoxSearchHeader(StampOf(clock)));
}

Problem WriteHeaderDataSearchHeader(const Archive& archive, std::array<std::string, 8>& criteria,
                                    const ReportClock& clock) {
    return WriteWhole(archive, kResultReportName, HeaderDataSearchHeader(StampOf(clock), criteria));
}

void AppendResultPageLines(const ResultPage& page, std::string& out) {
    for (const auto& row : page.rows) {
        if (row.text == kBlankMarker || row.text == kNoResultMarker)
            continue;
        AppendResultLine(row, out);
    }
}

std::string ResultPageLines(const ResultPage& page) {
    std::string s;
    s.reserve(kPageRows * (kBoxWidth + 2));
    AppendResultPageLines(page, s);
    return s;
}

int AppendToDescriptor(int fd, std::string_view bytes) {
    struct stat st {};
    off_t before = ::fstat(fd, &st) == 0 ? st.st_size : -1;
    size_t done = 0;
    int err = 0;
    while (done < bytes.size()) {
        ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        done += static_cast<size_t>(w);
    }
    if (err && done > 0 && before >= 0) {
        // Take back a partly written append so the report never ends in half a line.
        [[maybe_unused]] int rc = ::ftruncate(fd, before);
    }
    return err;
}

Problem AppendToReport(const Archive& archive, std::string_view name, std::string_view bytes) {
    auto path = archive.resolve(name);
    // The report must exist (its head was written first); appending never creates it.
    int openErr = 0;
    int fd = OpenRegular(path, O_WRONLY | O_APPEND, &openErr);
    if (fd < 0)
        return Problem::io(SystemErrorNumber(openErr));
    int err = AppendToDescriptor(fd, bytes);
    if (::close(fd) != 0 && !err)
        err = errno;
    return err ? Problem::io(SystemErrorNumber(err)) : Problem{};
}

// --- kasten.txt ---

std::string BoxListLine(int box, std::string_view magazineText, std::string_view themeText) {
    std::string s = PadTo("* " + RightAlign(box, 3) + " ! " + std::string(magazineText), 36);
    s += "! " + std::string(themeText);
    return Line(PadTo(std::move(s), kBoxWidth - 1) + "*");
}

Problem WriteBoxList(const Archive& archive, const ReportClock& clock) {
    std::string s = ReportHeader(StampOf(clock));
    s += Line(kBlankBoxLine);
    s += Line("*         A N Z E I G E N    V O N    K A S T E N D A T E N         *");
    s += Line(kBlankBoxLine);
    s += Line("*-----+-----------------------------+-------------------------------*");
    s += Line("* Nr. ! Magazintext                 ! Thematiktext                  *");
    s += Line("*-----+-----------------------------+-------------------------------*");
    s += Line("*     !                             !                               *");
    for (int b = 1; b <= 255; ++b) {
        std::string magazine(kDefaultMagazineText), theme(kDefaultThemeText);
        ReadBoxLabel(archive, b, magazine, theme);
        if (theme == kDefaultThemeText)
            continue;
        s += BoxListLine(b, magazine, theme);
    }
    s += Line(kStarLine);
    return WriteWhole(archive, kBoxListName, s);
}

// --- keyliste.txt ---

int FirstEmptyKeywordFile(const Archive& archive) {
    for (int level = 1; level <= 3; ++level)
        if (archive.fileSize(KeywordFileName(level)) == 0)
            return level;
    return 0;
}

std::string KeyTreeLines(std::string_view level1, std::string_view level2,
                         std::string_view level3) {
    const auto l1 = ParseKeywordFile(level1);
    const auto l2 = ParseKeywordFile(level2);
    const auto l3 = ParseKeywordFile(level3);
    auto line = [](const KeywordEntry* a, const KeywordEntry* b, const KeywordEntry* c) {
        std::string s = a ? "*   " + TreeName(a->text) + " !" : "*" + std::string(22, ' ') + "!";
        s += b ? "  " + TreeName(b->text) + " !" : std::string(21, ' ') + "!";
        s += c ? "  " + TreeName(c->text) + "  *" : std::string(22, ' ') + "*";
        return Line(s);
    };
    auto beginsWith = [](const std::string& code, std::string_view prefix) {
        return code.compare(0, prefix.size(), prefix) == 0;
    };
    std::string s;
    for (const auto& a : l1) {
        std::string_view aCode = std::string_view(a.code).substr(0, 2);
        bool anyChild = false;
        for (const auto& b : l2) {
            if (!beginsWith(b.code, aCode))
                continue;
            const KeywordEntry* aShown = anyChild ? nullptr : &a;
            anyChild = true;
            std::string_view bCode = std::string_view(b.code).substr(0, 4);
            bool anyGrandchild = false;
            for (const auto& c : l3) {
                if (!beginsWith(c.code, bCode))
                    continue;
                s += anyGrandchild ? line(nullptr, nullptr, &c) : line(aShown, &b, &c);
                anyGrandchild = true;
            }
            s += anyGrandchild ? line(nullptr, nullptr, nullptr) : line(aShown, &b, nullptr);
        }
        if (!anyChild)
            s += line(&a, nullptr, nullptr);
    }
    return s;
}

Problem WriteKeyList(const Archive& archive, const ReportClock& clock, int* emptyLevel) {
    if (int level = FirstEmptyKeywordFile(archive)) {
        if (emptyLevel)
            *emptyLevel = level;
        return {};
    }
    if (emptyLevel)
        *emptyLevel = 0;
    std::array<std::string, 3> data;
    for (int level = 1; level <= 3; ++level) {
        auto from = archive.resolve(KeywordFileName(level));
        auto to = archive.resolve(KeywordFileName(level) + ".prt");
        if (int err = CopyFileOver(from, to))
            return Problem::io(err);
        int err = 0;
        auto bytes = ReadWholeFile(to, &err);
        if (!bytes)
            return Problem::io(err ? SystemErrorNumber(err) : 2);
        data[level - 1] = std::move(*bytes);
    }
    std::string s = ReportHeader(StampOf(clock));
    s += Line(kBlankBoxLine);
    s += Line("*     A N Z E I G E N    D E R    S C H L \xDC S S E L L I S T E N     *");
    s += Line(kBlankBoxLine);
    s += Line("*----------------------+---------------------+----------------------*");
    s += Line("*   Schl\xFC"
              "sselebene <A> !  Schl\xFC"
              "sselebene <B> !  Schl\xFC"
              "sselebene <C>  *");
    s += Line("*----------------------+---------------------+----------------------*");
    s += Line("*                      !                     !                      *");
    s += KeyTreeLines(data[0], data[1], data[2]);
    s += Line(kStarLine);
    return WriteWhole(archive, kKeyListName, s);
}

// --- memo.txt ---

std::string MemoListHeader(const ReportStamp& stamp) {
    return ReportHeader(stamp) + Line(kBlankBoxLine) +
           Line("* A  N  Z  E  I  G  E  N    V  O  N    M  E  M  O  T  E  X  T  E  N *") +
           Line(kBlankBoxLine) + Line(kDivider);
}

std::string MemoBlock(int32_t slide, const std::vector<std::string>& lines) {
    std::string s = Line(" ") + Line(" MEMO zu DIA Nr." + std::to_string(slide)) + Line(" ");
    for (const auto& l : lines)
        s += Line(" " + l);
    return s + Line(" ") + Line(kDivider);
}

Problem WriteMemoListHeader(const Archive& archive, const ReportClock& clock) {
    return WriteWhole(archive, kMemoListName, MemoListHeader(StampOf(clock)));
}

Problem AppendMemoBlock(const Archive& archive, int32_t slide,
                        const std::vector<std::string>& lines) {
    return AppendToReport(archive, kMemoListName, MemoBlock(slide, lines));
}

std::vector<std::string> SplitMemoLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(i));
            break;
        }
        lines.emplace_back(bytes.substr(i, end - i));
        i = end + 1;
        if (bytes[end] == '\r' && i < bytes.size() && bytes[i] == '\n')
            ++i;
    }
    return lines;
}

namespace {

// MemoBlock(slide, SplitMemoLines(bytes)) appended to `out` without a string per line.
void AppendMemoBlock(std::string& out, int32_t slide, std::string_view bytes) {
    out += " \r\n MEMO zu DIA Nr.";
    out += std::to_string(slide);
    out += "\r\n \r\n";
    size_t i = 0;
    while (i < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", i);
        const size_t stop = end == std::string_view::npos ? bytes.size() : end;
        out += ' ';
        out.append(bytes.data() + i, stop - i);
        out += "\r\n";
        if (end == std::string_view::npos)
            break;
        i = end + 1;
        if (bytes[end] == '\r' && i < bytes.size() && bytes[i] == '\n')
            ++i;
    }
    out += " \r\n";
    out += kDivider;
    out += "\r\n";
}

} // namespace

Problem WriteMemoList(const Archive& archive, const std::vector<int32_t>& slides,
                      const ReportClock& clock) {
    std::string s = MemoListHeader(StampOf(clock));
    const int32_t highest = slides.empty() ? 0 : *std::max_element(slides.begin(), slides.end());
    const MemoFiles memos(archive, highest);
    std::string bytes;
    for (int32_t n : slides) {
        if (const int err = memos.read(n, bytes))
            return Problem::io(SystemErrorNumber(err));
        if (s.capacity() - s.size() < bytes.size() + 256)
            s.reserve(std::max(s.capacity() * 2, s.size() + bytes.size() + 256));
        AppendMemoBlock(s, n, bytes);
    }
    return WriteWhole(archive, kMemoListName, s);
}

} // namespace lumo
