#include "store/HeaderData.h"

#include "store/FileUtil.h"
#include "store/Profile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

namespace {

constexpr const char* kHeaderFile = "kopfdata.ddb";
constexpr std::string_view kSection = "KOPFDATA";
constexpr std::string_view kUnset = kHeaderElementUnset;
constexpr std::array<std::string_view, 8> kBuiltInNames = {
    "Kamera", "Objektiv", "Filter", "Filmtyp", "Format", "Belichtung", "Blende", "Datum"};

ProfileStore MainIni(const Archive& archive) {
    ProfileStore p;
    p.SetIniFile(archive.resolve("DIA.INI"));
    return p;
}

} // namespace

std::string HeaderFieldValue(const unsigned char* field15) {
    size_t len = 0;
    while (len < static_cast<size_t>(kHeaderFieldSize) && field15[len] != 0)
        ++len;
    return std::string(reinterpret_cast<const char*>(field15), len);
}

std::array<unsigned char, kHeaderRecordSize> BuildHeaderRecord(const HeaderValues& values) {
    std::array<unsigned char, kHeaderRecordSize> rec;
    rec.fill(' ');
    for (size_t i = 0; i < values.size(); ++i) {
        size_t len = std::min<size_t>(values[i].size(), kHeaderFieldSize);
        std::memcpy(rec.data() + i * kHeaderFieldSize, values[i].data(), len);
        if (len < static_cast<size_t>(kHeaderFieldSize))
            rec[i * kHeaderFieldSize + len] = 0;
    }
    return rec;
}

Problem ReadHeaderRecord(const Archive& archive, int32_t n, HeaderValues& values) {
    for (auto& v : values)
        v.clear();
    int err = 0;
    int fd = OpenRegular(archive.resolve(kHeaderFile), O_RDONLY, &err);
    if (fd < 0)
        return {ProblemKind::Error31, SystemErrorNumber(err), 0};
    struct stat st {};
    Problem problem;
    const long long offset = (static_cast<long long>(n) - 1) * kHeaderRecordSize;
    if (n < 1) {
        problem = Problem::io(SystemErrorNumber(EINVAL));
    } else if (::fstat(fd, &st) != 0) {
        problem = Problem::io(SystemErrorNumber(errno));
    } else if (static_cast<long long>(st.st_size) > offset) {
        // A file ending inside the record: the missing bytes read as zero.
        std::array<unsigned char, kHeaderRecordSize> rec{};
        size_t got = 0;
        while (got < rec.size()) {
            ssize_t r = ::pread(fd, rec.data() + got, rec.size() - got,
                                static_cast<off_t>(offset + static_cast<long long>(got)));
            if (r < 0 && errno == EINTR)
                continue;
            if (r < 0) {
                problem = Problem::io(SystemErrorNumber(errno));
                break;
            }
            if (r == 0)
                break;
            got += static_cast<size_t>(r);
        }
        if (!problem)
            for (size_t i = 0; i < values.size(); ++i)
                values[i] = HeaderFieldValue(rec.data() + i * kHeaderFieldSize);
    }
    ::close(fd);
    return problem;
}

Problem WriteHeaderRecord(const Archive& archive, int32_t n, const HeaderValues& values) {
    int err = 0;
    int fd = OpenRegular(archive.resolve(kHeaderFile), O_WRONLY, &err);
    if (fd < 0)
        return {ProblemKind::Error31, SystemErrorNumber(err), 0};
    Problem problem;
    struct stat st {};
    if (n < 1) {
        problem = Problem::io(SystemErrorNumber(EINVAL));
    } else if (::fstat(fd, &st) != 0) {
        problem = Problem::io(SystemErrorNumber(errno));
    } else {
        const auto rec = BuildHeaderRecord(values);
        // Written beyond the end the file grows; the gap reads as zero bytes.
        const off_t offset = static_cast<off_t>(n - 1) * kHeaderRecordSize;
        size_t done = 0;
        while (done < rec.size()) {
            ssize_t w = ::pwrite(fd, rec.data() + done, rec.size() - done,
                                 offset + static_cast<off_t>(done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                problem = Problem::io(SystemErrorNumber(w < 0 ? errno : EIO));
                // A record added only in part (the file system filled up) is taken back:
                // the file keeps its old length.
                if (offset + kHeaderRecordSize > st.st_size)
                    (void)::ftruncate(fd, st.st_size);
                break;
            }
            done += static_cast<size_t>(w);
        }
    }
    if (::close(fd) != 0 && !problem)
        problem = Problem::io(SystemErrorNumber(errno));
    return problem;
}

HeaderFields ReadHeaderFields(const Archive& archive) {
    HeaderFields k;
    ProfileStore ini = MainIni(archive);
    ini.BeginBatch();
    for (int i = 0; i < 8; ++i) {
        std::string name = ini.ReadListString(kSection, "FELDNAMEN", i, kUnset, kHeaderFieldSize);
        // "leer" means not set; an empty element (two commas in a row) would leave the
        // field without a label, so it falls back to the built-in name as well.
        if (name == kUnset || name.empty())
            name = std::string(kBuiltInNames[static_cast<size_t>(i)]);
        k.names[static_cast<size_t>(i)] = name;
    }
    for (int f = 0; f < 8; ++f) {
        const std::string key = std::to_string(f);
        for (int e = 0; e < 8; ++e) {
            std::string entry = ini.ReadListString(kSection, key, e, kUnset, kHeaderFieldSize);
            if (entry != kUnset) {
                k.proposals[static_cast<size_t>(f)].push_back(entry);
                k.proposalElements[static_cast<size_t>(f)].push_back(e);
            }
        }
    }
    ini.CancelBatch();
    return k;
}

bool WriteFieldNames(const Archive& archive, const std::array<std::string, 8>& names) {
    ProfileStore ini = MainIni(archive);
    ini.BeginBatch();
    for (int i = 0; i < 8; ++i)
        ini.WriteListString(kSection, "FELDNAMEN", i, names[static_cast<size_t>(i)]);
    return ini.CommitBatch();
}

bool WriteProposalList(const Archive& archive, int field, const std::vector<std::string>& entries) {
    if (field < 0 || field > 7)
        return false;
    ProfileStore ini = MainIni(archive);
    ini.BeginBatch();
    const std::string key = std::to_string(field);
    for (size_t i = 0; i < entries.size() && i < 8; ++i)
        ini.WriteListString(kSection, key, static_cast<int>(i), entries[i]);
    return ini.CommitBatch();
}

} // namespace lumo
