#include "search/SearchRun.h"

#include "store/ConfinedFiles.h"
#include "store/FileUtil.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

namespace {

constexpr size_t kMaxListText = 34;

void AppendZeroPadded(std::string& s, int64_t value, size_t width) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    size_t len = static_cast<size_t>(end - buf);
    if (len < width && value >= 0)
        s.append(width - len, '0');
    s.append(buf, len);
}

// Reads fixed-size records of one file in large blocks. Records are asked for in
// ascending order; a record outside the block in memory starts a new block there.
// Bytes beyond the end of the file are not there: available() says how many are.
class RecordReader {
public:
    RecordReader(size_t recordSize, size_t recordsPerBlock)
        : recordSize_(recordSize), capacity_(recordSize * recordsPerBlock),
          buffer_(kRecordSlack, '\0') {}
    ~RecordReader() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // 0 or errno.
    int open(const std::filesystem::path& path) {
        int err = 0;
        fd_ = OpenRegular(path, O_RDONLY, &err);
        if (fd_ < 0)
            return err;
        // A block need not be larger than the file (and a record more): a small archive
        // gets a small buffer.
        struct stat st {};
        if (::fstat(fd_, &st) == 0)
            capacity_ = std::min(capacity_,
                                 (static_cast<size_t>(st.st_size) / recordSize_ + 1) * recordSize_);
        buffer_.assign(capacity_ + kRecordSlack, '\0');
        return 0;
    }
    bool isOpen() const { return fd_ >= 0; }

    // The bytes of record n (1-based) that the file holds (recordSize, fewer at the end
    // of the file, none beyond it). 0 or errno in err.
    std::string_view record(int32_t n, int& err) {
        std::string_view rest = from(n, err);
        return rest.substr(0, std::min(rest.size(), recordSize_));
    }

    // The bytes in memory from record n on: record n and those after it in the same block
    // (the last of them may be cut short by the end of the file; empty beyond it).
    // 0 or errno in err.
    std::string_view from(int32_t n, int& err) {
        err = 0;
        uint64_t offset = static_cast<uint64_t>(n - 1) * recordSize_;
        if (!loaded_ || offset < blockStart_ || offset >= blockStart_ + capacity_) {
            if ((err = load(offset)) != 0)
                return {};
        }
        uint64_t inBlock = offset - blockStart_;
        if (inBlock >= blockLength_)
            return {};
        return {buffer_.data() + inBlock, static_cast<size_t>(blockLength_ - inBlock)};
    }

private:
    int load(uint64_t offset) {
        loaded_ = true;
        blockStart_ = offset;
        blockLength_ = 0;
        while (blockLength_ < capacity_) {
            ssize_t r = ::pread(fd_, buffer_.data() + blockLength_, capacity_ - blockLength_,
                                static_cast<off_t>(offset + blockLength_));
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            if (r == 0)
                break;
            blockLength_ += static_cast<size_t>(r);
        }
        return 0;
    }

    int fd_ = -1;
    size_t recordSize_;
    size_t capacity_;    // bytes of a block
    std::string buffer_; // a block and kRecordSlack readable bytes after it
    uint64_t blockStart_ = 0;
    size_t blockLength_ = 0;
    bool loaded_ = false;
};

// A record of dias.ddb as the scan tests it: missing bytes at the end read as NUL.
// kRecordSlack more bytes follow, as after a record in a block.
struct SlideBytes {
    std::array<unsigned char, kRecordSize + kRecordSlack> bytes{};
    void set(std::string_view raw) {
        if (!raw.empty())
            std::memcpy(bytes.data(), raw.data(), raw.size());
        if (raw.size() < kRecordSize)
            std::memset(bytes.data() + raw.size(), 0, kRecordSize - raw.size());
    }
};

constexpr size_t kBlockRecords = 4096;

void Progress(const ScanCallbacks& cb, int32_t n, int32_t total) {
    if (cb.progress && (n % kProgressStride == 0 || n == total))
        cb.progress(n);
}

// Reads an entire small file of the directory `dirFd`; false when it cannot be opened or
// read (a missing memo).
bool ReadSmallFile(int dirFd, const std::string& name, std::string& out) {
    // A memo is a regular file of the memo directory: a link, FIFO or device is no memo.
    int fd =
        ::openat(dirFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;
    if (struct stat st{}; ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    out.clear();
    bool ok = true;
    size_t chunk = 16384;
    for (;;) {
        size_t old = out.size();
        out.resize(old + chunk);
        ssize_t r = ::read(fd, out.data() + old, chunk);
        if (r < 0) {
            if (errno == EINTR) {
                out.resize(old);
                continue;
            }
            out.resize(old);
            ok = false;
            break;
        }
        out.resize(old + static_cast<size_t>(r));
        if (r == 0)
            break;
    }
    ::close(fd);
    return ok;
}

// The memo directory and the names of the memo files "<n>.txt" (any letter case) of the
// slides 1..total. The directory is listed once instead of probing every number; where
// two names differ only in case the archive's own resolution decides.
struct MemoDirectory {
    std::filesystem::path dir;
    std::vector<std::string> names; // index n; empty: slide n has no memo file
};

MemoDirectory MemoFiles(const Archive& archive, int32_t total) {
    MemoDirectory memos;
    memos.names.resize(static_cast<size_t>(total) + 1);
    std::vector<char> ambiguous(static_cast<size_t>(total) + 1, 0);
    std::error_code ec;
    memos.dir = archive.resolve("memo");
    if (!std::filesystem::is_directory(memos.dir, ec))
        return memos;
    for (std::filesystem::directory_iterator it(memos.dir, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.size() < 5 || name[0] < '1' || name[0] > '9')
            continue;
        std::string ext = name.substr(name.size() - 4);
        for (auto& c : ext)
            c = UpperAsciiChar(c);
        if (ext != ".TXT")
            continue;
        int32_t n = 0;
        const char* first = name.data();
        const char* last = name.data() + name.size() - 4;
        auto [ptr, err] = std::from_chars(first, last, n);
        if (err != std::errc() || ptr != last || n < 1 || n > total)
            continue;
        auto& slot = memos.names[static_cast<size_t>(n)];
        if (slot.empty())
            slot = std::move(name);
        else
            ambiguous[static_cast<size_t>(n)] = 1;
    }
    for (int32_t n = 1; n <= total; ++n)
        if (ambiguous[static_cast<size_t>(n)])
            memos.names[static_cast<size_t>(n)] =
                archive.resolve("memo/" + std::to_string(n) + ".txt").filename().string();
    return memos;
}

// Box and info of slide n for the memo and header data searches, read from dias.ddb as
// the slide reader would: box 0 and an empty info when the record cannot be read.
struct SlideLookup {
    explicit SlideLookup(const Archive& archive) : reader(kRecordSize, kBlockRecords) {
        reader.open(archive.resolve("dias.ddb"));
    }
    void get(int32_t n, int32_t& box, std::string& info) {
        box = 0;
        info.clear();
        if (!reader.isOpen())
            return;
        int err = 0;
        std::string_view raw = reader.record(n, err);
        if (err)
            return;
        SlideBytes rec;
        rec.set(raw);
        box = rec.bytes[kBoxOffset];
        info = std::string(RecordInfo(rec.bytes.data()));
    }
    RecordReader reader;
};

// Walks records 1..total of a file of fixed-size records block by block. Whole records
// are handed to `visit` where they lie in the block; a record cut short by the end of the
// file is handed as the bytes the file holds (`raw` below kSize bytes); records beyond
// the end of the file are not handed at all (none of the tests can match them). visit(n, raw)
// returns a problem to stop the walk. The last record examined is noted before every callback and
// at the end.
template <size_t kSize, class Visit>
Problem WalkRecords(SearchRun& run, RecordReader& reader, int32_t total, const ScanCallbacks& cb,
                    Visit visit) {
    int32_t nextProgress = std::min(kProgressStride, total);
    auto progress = [&](int32_t n) {
        if (n == nextProgress) {
            run.noteExamined(n);
            if (cb.progress)
                cb.progress(n);
            nextProgress = std::min(n + kProgressStride, total);
        }
    };
    int32_t n = 1;
    while (n <= total) {
        int err = 0;
        std::string_view rest = reader.from(n, err);
        if (err) {
            run.noteExamined(n - 1);
            return Problem::io(SystemErrorNumber(err));
        }
        if (rest.empty()) {
            // The data end here: the records still to come do not exist and match nothing.
            // Only the progress goes on to the last one.
            for (; n <= total; ++n)
                progress(n);
            break;
        }
        int32_t whole = static_cast<int32_t>(
            std::min<uint64_t>(rest.size() / kSize, static_cast<uint64_t>(total - n) + 1));
        if (whole == 0) {
            // A short last record: handed as the bytes the file holds.
            rest = rest.substr(0, std::min(rest.size(), kSize));
            whole = 1;
        }
        const char* p = rest.data();
        const int32_t end = n + whole;
        for (; n < end; ++n, p += kSize) {
            progress(n);
            if (Problem problem = visit(n, std::string_view(p, std::min(rest.size(), kSize)))) {
                run.noteExamined(n);
                return problem;
            }
        }
    }
    if (total >= 1)
        run.noteExamined(total);
    return {};
}

// Walks records 1..total of dias.ddb for the three searches that test the record itself.
template <class Test>
Problem ScanSlides(SearchRun& run, int32_t total, const ScanCallbacks& cb, Test test) {
    RecordReader reader(kRecordSize, kBlockRecords);
    if (reader.open(run.archive().resolve("dias.ddb")) != 0)
        return {ProblemKind::Error31, 0, 0};
    SlideBytes rec;
    Problem p = WalkRecords<kRecordSize>(
        run, reader, total, cb, [&](int32_t n, std::string_view raw) -> Problem {
            // Whole records are tested where they lie in the block; a short one is padded.
            const auto* bytes = reinterpret_cast<const unsigned char*>(raw.data());
            if (raw.size() != kRecordSize) [[unlikely]] {
                rec.set(raw);
                bytes = rec.bytes.data();
            }
            if (!test(bytes)) [[likely]]
                return {};
            run.noteExamined(n);
            return run.AddMatch(n, bytes[kBoxOffset], RecordInfo(bytes), cb);
        });
    return p ? p : run.flush();
}

} // namespace

std::string ResultListLine(int32_t box, int32_t slide, std::string_view info) {
    std::string s;
    s.reserve(8 + 3 + kMaxListText);
    AppendZeroPadded(s, box, 3);
    AppendZeroPadded(s, slide, 5);
    s += info.substr(0, 3);
    if (info.size() > 3)
        s += info.substr(3, kMaxListText);
    return s;
}

ResultRow RowFromMatch(int32_t box, int32_t slide, std::string_view info) {
    ResultRow row;
    row.box = std::to_string(box);
    row.slide = std::to_string(slide);
    row.code = std::string(info.substr(0, 3));
    row.text = info.size() > 3 ? std::string(info.substr(3, kMaxListText)) : std::string();
    return row;
}

ResultRow RowFromListLine(std::string_view line) {
    auto number = [&](size_t pos, size_t len) {
        int64_t v = 0;
        if (pos < line.size()) {
            std::string_view t = line.substr(pos, len);
            std::from_chars(t.data(), t.data() + t.size(), v);
        }
        return std::to_string(v);
    };
    ResultRow row;
    row.box = number(0, 3);
    row.slide = number(3, 5);
    row.code = line.size() > 8 ? std::string(line.substr(8, 3)) : std::string();
    row.text = line.size() > 11 ? std::string(line.substr(11, kMaxListText)) : std::string();
    return row;
}

void FillPageFromList(const std::vector<std::string>& list, int32_t first, ResultPage& page) {
    page.clear();
    for (int r = 1; r <= kPageRows; ++r) {
        int64_t i = static_cast<int64_t>(first) + r; // 1-based line number
        if (i < 1 || i > static_cast<int64_t>(list.size()))
            break;
        page.rows[static_cast<size_t>(r - 1)] = RowFromListLine(list[static_cast<size_t>(i - 1)]);
    }
}

void MarkNoResult(ResultPage& page) {
    for (auto& row : page.rows) {
        row.clear();
        row.text = kNoResultMarker;
    }
}

int ProgressPosition(int32_t n, int32_t total) {
    if (total <= 0)
        return 0;
    return static_cast<int>(std::nearbyint(static_cast<double>(n) / (total * 0.01)));
}

// --- SearchRun ---

SearchRun::SearchRun(const Archive& archive, std::vector<std::string>& resultList, ResultPage& page,
                     int32_t& foundCount, ReportClock clock)
    : archive_(archive), list_(resultList), page_(page), found_(foundCount),
      clock_(std::move(clock)) {}

SearchRun::~SearchRun() {
    closeReport();
}

void SearchRun::closeReport() {
    if (reportFd_ >= 0)
        ::close(reportFd_);
    reportFd_ = -1;
}

void SearchRun::reset() {
    closeReport();
    list_.clear();
    page_.clear();
    found_ = 0;
    row_ = 1;
    lastExamined_ = 0;
}

Problem SearchRun::begin(Problem headWritten) {
    if (headWritten)
        return headWritten;
    int err = 0;
    reportFd_ = OpenRegular(archive_.resolve(kResultReportName), O_WRONLY | O_APPEND, &err);
    if (reportFd_ < 0)
        return Problem::io(SystemErrorNumber(err));
    return {};
}

Problem SearchRun::flush() {
    if (pending_.empty())
        return {};
    if (reportFd_ < 0)
        return Problem::io(9); // no head was written: nothing to append to
    int err = AppendToDescriptor(reportFd_, pending_);
    pending_.clear();
    return err ? Problem::io(SystemErrorNumber(err)) : Problem{};
}

Problem SearchRun::BeginKeys(KeySelection& keys) {
    reset();
    return begin(WriteKeySearchHeader(archive_, keys, clock_));
}

Problem SearchRun::BeginText(std::string_view criterion) {
    reset();
    return begin(WriteTextSearchHeader(archive_, criterion, clock_));
}

Problem SearchRun::BeginBox() {
    reset();
    return begin(WriteBoxSearchHeader(archive_, clock_));
}

Problem SearchRun::BeginHeaderData(std::array<std::string, 8>& criteria) {
    reset();
    return begin(WriteHeaderDataSearchHeader(archive_, criteria, clock_));
}

Problem SearchRun::AddMatch(int32_t slide, int32_t box, std::string_view info,
                            const ScanCallbacks& cb) {
    if (row_ == 1) {
        // Emptied in place: the rows keep their buffers from page to page.
        for (auto& r : page_.rows) {
            r.box.clear();
            r.slide.clear();
            r.code.clear();
            r.text.assign(kBlankMarker);
        }
        if (cb.pageStarted)
            cb.pageStarted();
    }
    ResultRow& r = page_.rows[static_cast<size_t>(row_ - 1)];
    r.box.clear();
    AppendZeroPadded(r.box, box, 0);
    r.slide.clear();
    AppendZeroPadded(r.slide, slide, 0);
    r.code.assign(info.substr(0, 3));
    r.text.assign(info.size() > 3 ? info.substr(3, kMaxListText) : std::string_view());
    ++found_;
    list_.push_back(ResultListLine(box, slide, info));
    if (cb.rowFilled)
        cb.rowFilled(row_, slide);
    ++row_;
    if (row_ > kPageRows) {
        row_ = 1;
        AppendResultPageLines(page_, pending_);
        // Full pages go to the file in chunks; every page is there when the scan returns.
        if (pending_.size() >= kReportChunk)
            if (Problem p = flush())
                return p;
        if (cb.pageWritten)
            cb.pageWritten();
    }
    return {};
}

Problem SearchRun::Finish(int32_t total) {
    if (row_ != 1)
        AppendResultPageLines(page_, pending_);
    pending_ += StatisticsBlock(total, found_);
    Problem p = flush();
    if (reportFd_ >= 0 && ::close(reportFd_) != 0 && !p)
        p = Problem::io(SystemErrorNumber(errno));
    reportFd_ = -1;
    return p;
}

// --- the five scans ---

Problem ScanKeys(SearchRun& run, int32_t total, KeySelection& keys, const ScanCallbacks& cb) {
    if (Problem p = run.BeginKeys(keys))
        return p;
    if (cb.begun)
        cb.begun();
    const KeyMatcher matcher(keys);
    return ScanSlides(run, total, cb,
                      [&](const unsigned char* rec) { return matcher.matchesRecord(rec); });
}

Problem ScanInfoText(SearchRun& run, int32_t total, std::string_view searchText, bool caseSensitive,
                     const ScanCallbacks& cb) {
    if (Problem p = run.BeginText(searchText))
        return p;
    if (cb.begun)
        cb.begun();
    const TextMatcher matcher(searchText, caseSensitive);
    return ScanSlides(run, total, cb,
                      [&](const unsigned char* rec) { return matcher.matchesInfoInBlock(rec); });
}

Problem ScanBox(SearchRun& run, int32_t total, int32_t box, const ScanCallbacks& cb) {
    if (Problem p = run.BeginBox())
        return p;
    if (cb.begun)
        cb.begun();
    return ScanSlides(run, total, cb,
                      [&](const unsigned char* rec) { return rec[kBoxOffset] == box; });
}

Problem ScanMemo(SearchRun& run, int32_t total, std::string_view searchText, bool caseSensitive,
                 const ScanCallbacks& cb) {
    if (Problem p = run.BeginText(searchText))
        return p;
    if (cb.begun)
        cb.begun();
    const TextMatcher matcher(searchText, caseSensitive);
    const MemoDirectory memos = MemoFiles(run.archive(), total);
    int dirFd = OpenPath(memos.dir, O_RDONLY | O_DIRECTORY);
    SlideLookup slides(run.archive());
    std::string bytes, info;
    Problem problem;
    for (int32_t n = 1; n <= total; ++n) {
        run.noteExamined(n);
        Progress(cb, n, total);
        const std::string& name = memos.names[static_cast<size_t>(n)];
        if (name.empty() || dirFd < 0 || !ReadSmallFile(dirFd, name, bytes) ||
            !MemoTextTest(bytes, matcher))
            continue;
        int32_t box = 0;
        slides.get(n, box, info);
        if ((problem = run.AddMatch(n, box, info, cb)))
            break;
    }
    if (dirFd >= 0)
        ::close(dirFd);
    return problem ? problem : run.flush();
}

Problem ScanHeaderData(SearchRun& run, int32_t total, std::array<std::string, 8>& criteria,
                       const ScanCallbacks& cb) {
    constexpr size_t kHeaderRecord = 120;
    RecordReader headers(kHeaderRecord, kBlockRecords);
    if (headers.open(run.archive().resolve("kopfdata.ddb")) != 0)
        return {ProblemKind::Error31, 0, 0};
    if (Problem p = run.BeginHeaderData(criteria))
        return p;
    if (cb.begun)
        cb.begun();
    const HeaderMatcher matcher(criteria);
    SlideLookup slides(run.archive());
    std::string info;
    auto test = [&](std::string_view record) {
        // A whole record is tested where it lies in the block.
        return record.size() == kHeaderRecord
                   ? matcher.matchesInBlock(reinterpret_cast<const unsigned char*>(record.data()))
                   : matcher.matches(record);
    };
    Problem p = WalkRecords<kHeaderRecord>(run, headers, total, cb,
                                           [&](int32_t n, std::string_view record) -> Problem {
                                               if (!test(record)) [[likely]]
                                                   return {};
                                               run.noteExamined(n);
                                               int32_t box = 0;
                                               slides.get(n, box, info);
                                               return run.AddMatch(n, box, info, cb);
                                           });
    return p ? p : run.flush();
}

} // namespace lumo
