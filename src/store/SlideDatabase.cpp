#include "store/SlideDatabase.h"

#include "store/FileUtil.h"
#include "store/Keywords.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lumo {

namespace {

constexpr const char* kSlidesFile = "dias.ddb";
constexpr int kInfoFieldSize = 33;
constexpr size_t kInfoMaxText = 32;
// Records per block read of a scan (64 KiB and a little more).
constexpr int kBlockRecords = 800;

// An open file descriptor, closed when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_;
};

// Reads up to size bytes at offset; returns the count read (short at the end of the
// file) or -1 with errno set.
ssize_t ReadAt(int fd, unsigned char* buf, size_t size, off_t offset) {
    size_t got = 0;
    while (got < size) {
        ssize_t n = ::pread(fd, buf + got, size - got, offset + static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

bool WriteAt(int fd, const unsigned char* buf, size_t size, off_t offset) {
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::pwrite(fd, buf + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = UpperAscii(c);
    return r;
}

int32_t RecordsForSize(long long size) {
    // Rounded to the nearest whole record; a tail of 41 bytes or more counts as one
    // (short) record, which reads as if padded with zero bytes.
    long long n = (size + kRecordSize / 2) / kRecordSize;
    return static_cast<int32_t>(std::min<long long>(n, INT32_MAX));
}

} // namespace

std::string SlideRecord::keySlot(int k) const {
    if (k < 0 || k > 7)
        return {};
    const unsigned char* p = bytes.data() + k * 6;
    size_t len = 0;
    while (len < 6 && p[len] != 0)
        ++len;
    return std::string(reinterpret_cast<const char*>(p), len);
}

std::string SlideRecord::infoText() const {
    const unsigned char* p = bytes.data() + kInfoOffset;
    size_t len = 0;
    while (len < kInfoFieldSize && p[len] != 0)
        ++len;
    return std::string(reinterpret_cast<const char*>(p), len);
}

std::string_view SlideRecord::textUpToNul() const {
    const auto* p = reinterpret_cast<const char*>(bytes.data());
    const void* nul = std::memchr(p, 0, kRecordSize);
    size_t len = nul ? static_cast<size_t>(static_cast<const char*>(nul) - p) : kRecordSize;
    return {p, len};
}

SlideRecord SlideRecord::Build(const std::array<std::string, 8>& keys, std::string_view info,
                               int32_t box) {
    SlideRecord r;
    r.bytes.fill(' ');
    for (int k = 0; k < 8; ++k) {
        const std::string& key = keys[static_cast<size_t>(k)];
        size_t len = std::min<size_t>(key.size(), 6);
        std::memcpy(r.bytes.data() + k * 6, key.data(), len);
        if (len < 6)
            r.bytes[static_cast<size_t>(k * 6) + len] = 0;
    }
    size_t len = std::min(info.size(), kInfoMaxText);
    std::memcpy(r.bytes.data() + kInfoOffset, info.data(), len);
    r.bytes[kInfoOffset + len] = 0;
    r.bytes[kBoxOffset] = static_cast<unsigned char>(static_cast<uint32_t>(box) & 0xFFu);
    return r;
}

Problem CountRecords(const Archive& archive, Counters& counters) {
    int err = 0;
    Fd fd(OpenRegular(archive.resolve(kSlidesFile), O_RDONLY, &err));
    if (!fd.ok())
        return {ProblemKind::Error31, SystemErrorNumber(err), 0};
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Problem::io(SystemErrorNumber(errno));
    counters.totalRecords = RecordsForSize(st.st_size);
    return {};
}

Problem ResolveKeys(const Archive& archive, const CurrentSlideData& slide, KeySelection& keys,
                    KeywordCache* cache) {
    std::array<bool, 8> resolved{};
    for (int level = 3; level >= 1; --level) {
        const std::vector<KeywordEntry>* entries = nullptr;
        std::vector<KeywordEntry> own;
        if (cache) {
            Problem p;
            entries = cache->entries(archive, level, p);
            if (!entries)
                return p;
        } else {
            int err = 0;
            auto data = ReadWholeFile(archive.resolve(KeywordFileName(level)), &err);
            if (!data)
                return {err == ENOMEM ? ProblemKind::KeywordNoMemory
                                      : ProblemKind::KeywordOpenFailed,
                        err, level};
            own = ParseKeywordFile(*data);
            entries = &own;
        }
        const size_t codeLen = static_cast<size_t>(level) * 2;
        for (const auto& e : *entries) {
            // A code line shorter than its level's code never matches a stored slot.
            const std::string cmp = SlotCodeOf(e, level);
            if (cmp.empty())
                continue;
            for (size_t k = 0; k < 8; ++k) {
                if (slide.storedKeys[k] != cmp)
                    continue;
                keys.entries[k].name = e.text.substr(0, 18);
                keys.entries[k].code = e.code.substr(0, codeLen);
                // A slot found twice (duplicate codes in a damaged file) is still one
                // resolved slot: the count never exceeds the eight slots.
                if (!resolved[k]) {
                    resolved[k] = true;
                    ++keys.count;
                }
            }
        }
    }
    return {};
}

Problem ReadSlide(const Archive& archive, int32_t n, CurrentSlideData& slide, KeySelection& keys,
                  KeywordCache* cache) {
    for (auto& k : slide.storedKeys)
        k = std::string(kEmptyKeyCode);
    keys.clearAll(kEmptyKeyCode);

    int err = 0;
    Fd fd(OpenRegular(archive.resolve(kSlidesFile), O_RDONLY, &err));
    if (!fd.ok())
        return {ProblemKind::SlidesOpenFailed, SystemErrorNumber(err), 0};
    if (n < 1)
        return Problem::io(SystemErrorNumber(EINVAL));
    SlideRecord rec; // zero bytes: a short last record reads as if padded with them
    rec.bytes.fill(0);
    off_t offset = static_cast<off_t>(n - 1) * kRecordSize;
    if (ReadAt(fd.get(), rec.bytes.data(), kRecordSize, offset) < 0)
        return Problem::io(SystemErrorNumber(errno));
    SlideFromRecord(rec, slide);
    return ResolveKeys(archive, slide, keys, cache);
}

void SlideFromRecord(const SlideRecord& rec, CurrentSlideData& slide) {
    for (int k = 0; k < 8; ++k)
        slide.storedKeys[static_cast<size_t>(k)] = rec.keySlot(k);
    slide.infoText = rec.infoText();
    slide.boxNumber = rec.box();
}

Problem WriteSlide(const Archive& archive, int32_t n, const CurrentSlideData& slide) {
    int err = 0;
    // Opened without O_CREAT and O_TRUNC: a missing or write-protected file is one
    // that cannot be opened, and nothing is written.
    Fd fd(OpenRegular(archive.resolve(kSlidesFile), O_WRONLY, &err));
    if (!fd.ok())
        return {ProblemKind::Error31, SystemErrorNumber(err), 0};
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Problem::io(SystemErrorNumber(errno));
    // Only existing records and the one after the last may be written; anything else
    // would leave a gap of garbage records.
    long long limit = static_cast<long long>(RecordsForSize(st.st_size)) + 1;
    if (n < 1 || n > limit)
        return Problem::io(SystemErrorNumber(EINVAL));
    SlideRecord rec = SlideRecord::Build(slide.storedKeys, slide.infoText, slide.boxNumber);
    const off_t offset = static_cast<off_t>(n - 1) * kRecordSize;
    if (!WriteAt(fd.get(), rec.bytes.data(), kRecordSize, offset)) {
        const int err = errno;
        // A record appended only in part (the file system filled up) is taken back, so that
        // no torn record counts as a slide.
        if (offset + kRecordSize > st.st_size)
            (void)::ftruncate(fd.get(), st.st_size);
        return Problem::io(SystemErrorNumber(err));
    }
    return {};
}

namespace {

// IsFreeSlot on the 82 bytes of a record.
bool IsFreeSlotBytes(const unsigned char* rec, std::string_view upperMarker) {
    if (std::memcmp(rec, kEmptyKeyCode.data(), 6) == 0)
        return true;
    if (upperMarker.empty())
        return true; // an empty marker occurs in every text
    const void* nul = std::memchr(rec, 0, kRecordSize);
    const size_t size =
        nul ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - rec) : kRecordSize;
    std::string_view text(reinterpret_cast<const char*>(rec), size);
    if (text.size() < upperMarker.size())
        return false;
    // Search with ASCII folding without copying the text.
    const char first = upperMarker[0];
    for (size_t i = 0; i + upperMarker.size() <= text.size(); ++i) {
        if (UpperAscii(text[i]) != first)
            continue;
        size_t j = 1;
        while (j < upperMarker.size() && UpperAscii(text[i + j]) == upperMarker[j])
            ++j;
        if (j == upperMarker.size())
            return true;
    }
    return false;
}

} // namespace

bool IsFreeSlot(const SlideRecord& rec, std::string_view upperMarker) {
    return IsFreeSlotBytes(rec.bytes.data(), upperMarker);
}

Problem ForEachRecordBlock(const Archive& archive, int32_t first, int32_t last,
                           const RecordBlockVisitor& fn) {
    int err = 0;
    Fd fd(OpenRegular(archive.resolve(kSlidesFile), O_RDONLY, &err));
    if (!fd.ok())
        return {ProblemKind::Error31, SystemErrorNumber(err), 0};
    if (first < 1)
        first = 1;
    if (last < first)
        return {};
    std::vector<unsigned char> block(static_cast<size_t>(kBlockRecords) * kRecordSize);
    int32_t n = first;
    while (n <= last) {
        int32_t count = static_cast<int32_t>(
            std::min<long long>(kBlockRecords, static_cast<long long>(last) - n + 1));
        size_t want = static_cast<size_t>(count) * kRecordSize;
        ssize_t got = ReadAt(fd.get(), block.data(), want, static_cast<off_t>(n - 1) * kRecordSize);
        if (got < 0)
            return Problem::io(SystemErrorNumber(errno));
        // Past the end of the file records read as zero bytes.
        std::fill(block.begin() + got, block.begin() + static_cast<long>(want), 0);
        if (!fn(n, block.data(), count))
            return {};
        if (n > last - count)
            break;
        n += count;
    }
    return {};
}

Problem ForEachRecord(const Archive& archive, int32_t first, int32_t last,
                      const std::function<bool(int32_t, const SlideRecord&)>& fn) {
    SlideRecord rec;
    return ForEachRecordBlock(
        archive, first, last, [&](int32_t n, const unsigned char* records, int32_t count) {
            for (int32_t i = 0; i < count; ++i) {
                std::memcpy(rec.bytes.data(), records + static_cast<size_t>(i) * kRecordSize,
                            kRecordSize);
                if (!fn(n + i, rec))
                    return false;
            }
            return true;
        });
}

Problem AnalyseArchive(const Archive& archive, std::string_view marker, Counters& counters,
                       const std::function<void(int32_t)>& progress) {
    counters.freeSlots = 0;
    counters.activeSlides = 0;
    int err = 0;
    {
        Fd probe(OpenRegular(archive.resolve(kSlidesFile), O_RDONLY, &err));
        if (!probe.ok())
            return {ProblemKind::ArchiveOpenFailed, SystemErrorNumber(err), 0};
    }
    const std::string upper = UpperAscii(marker);
    int32_t freeSlots = 0;
    const int32_t total = counters.totalRecords;
    Problem p = ForEachRecordBlock(
        archive, 1, total, [&](int32_t first, const unsigned char* records, int32_t count) {
            for (int32_t i = 0; i < count; ++i) {
                if (IsFreeSlotBytes(records + static_cast<size_t>(i) * kRecordSize, upper))
                    ++freeSlots;
                const int32_t n = first + i;
                if (progress && (n % 1000 == 0 || n == total))
                    progress(n);
            }
            return true;
        });
    if (p.kind == ProblemKind::Error31)
        return {ProblemKind::ArchiveOpenFailed, p.sysError, 0};
    if (p)
        return p;
    counters.freeSlots = freeSlots;
    counters.activeSlides = counters.totalRecords - freeSlots;
    return {};
}

int32_t PrecomputedBox(int32_t n, int32_t slidesPerMagazine, int32_t magazinesPerBox,
                       bool precomputePosition) {
    if (!precomputePosition || slidesPerMagazine == 0 || magazinesPerBox == 0)
        return 0;
    const long long mk = static_cast<long long>(slidesPerMagazine) * magazinesPerBox;
    if (mk > 0 && n >= 0) {
        // The smallest whole number not below n / (M*K). Done in integers: the program's
        // "+ 0.99999999999999999" trick needs extended precision that long double does
        // not have on every platform, and for these operands both give the same result.
        return static_cast<int32_t>((static_cast<long long>(n) + mk - 1) / mk);
    }
    long double q = static_cast<long double>(n) / static_cast<long double>(mk);
    long double r = std::trunc(q + 0.99999999999999999L);
    if (r > INT32_MAX)
        return INT32_MAX;
    if (r < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(r);
}

std::string PrecomputedPosition(int32_t n, int32_t slidesPerMagazine, int32_t magazinesPerBox,
                                bool precomputePosition) {
    if (!precomputePosition)
        return "???";
    // Closed form of the counting walk: start at letter A, place 1; each of the n steps
    // moves to the next letter (back to A after the K-th) when the place is M + 1,
    // then adds one to the place.
    long long letter = 0;
    long long place = 1;
    if (n > 0) {
        if (slidesPerMagazine >= 1) {
            long long advances = (static_cast<long long>(n) - 1) / slidesPerMagazine;
            letter = magazinesPerBox >= 1 ? advances % magazinesPerBox : 0;
            place = (static_cast<long long>(n) - 1) % slidesPerMagazine + 2;
        } else if (slidesPerMagazine == 0) {
            // The first step meets place 1 = M + 1 once, later places only grow.
            letter = magazinesPerBox > 1 ? 1 : 0;
            place = static_cast<long long>(n) + 1;
        } else {
            place = static_cast<long long>(n) + 1;
        }
    }
    std::string s(1, static_cast<char>(static_cast<unsigned char>('A' + letter % 191)));
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02lld", place - 1);
    return s + buf;
}

} // namespace lumo
