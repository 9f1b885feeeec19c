#include "services/logic/BackupCopy.h"

#include "store/FileUtil.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace lumo {

namespace {

constexpr BackupFile kSlideFiles[] = {{"dia.ini", 3},     {"kasten.ini", 5},    {"dialiste.txt", 8},
                                      {"kasten.txt", 10}, {"keyliste.txt", 12}, {"dia.bmp", 15},
                                      {"dias.ddb", 17},   {"dia.hlp", 20}};
constexpr BackupFile kKeywordFiles[] = {{"keyword1", 23},     {"keyword2", 26},
                                        {"keyword3", 30},     {"keyword1.old", 33},
                                        {"keyword2.old", 36}, {"keyword3.old", 40}};
constexpr BackupFile kHeaderFiles[] = {{"kopfdata.ddb", 60}};
constexpr BackupFile kPictureFiles[] = {{"bilder/autor.bmp", 81}};

// Writes all bytes, honouring the injected write failure.
int WriteAllCounted(int fd, const char* data, size_t size, CopyFaults* faults) {
    while (size > 0) {
        size_t chunk = size;
        if (faults && faults->writeLimit >= 0) {
            const long long room = faults->writeLimit - faults->written;
            if (room <= 0)
                return faults->writeError ? faults->writeError : ENOSPC;
            chunk = std::min<size_t>(chunk, static_cast<size_t>(room));
        }
        const ssize_t n = ::write(fd, data, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        if (faults)
            faults->written += n;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

// Copies the open source into the open temporary file, flushed to the disk when `flush`;
// 0 or errno.
int CopyContents(int in, int out, CopyFaults* faults, bool flush) {
    static thread_local std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return !flush || ::fsync(out) == 0 ? 0 : errno;
        if (const int e = WriteAllCounted(out, buffer.data(), static_cast<size_t>(n), faults))
            return e;
    }
}

void SyncDirectory(const std::filesystem::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

CopyResult CopyToTemporary(const std::filesystem::path& from, const std::filesystem::path& to,
                           CopyFaults* faults, bool flush, std::string& temporary);

// The path of an archive name inside a target directory: an entry of the same name in
// another case is reused, a new one gets the name as given.
std::filesystem::path TargetPath(const std::filesystem::path& dir, std::string_view name) {
    return Archive(dir).resolve(name);
}

class GroupCopier {
public:
    GroupCopier(const Archive& archive, const BackupRequest& request, BackupListener& listener)
        : archive_(archive), request_(request), listener_(listener) {}

    std::optional<BackupFailure> run() {
        for (int group = 1; group <= kBackupGroups; ++group) {
            if (!request_.groups[static_cast<size_t>(group - 1)])
                continue;
            if (group > 1)
                listener_.Progress(ProgressBeforeGroup(group));
            if (group == kMemoGroup || group == kPictureGroup) {
                const char* sub = group == kMemoGroup ? "memo" : "bilder";
                if (MakeDirectory(TargetPath(request_.targetDir, sub)) != 0)
                    listener_.SubdirectoryNotCreated(group);
            }
            listener_.GroupStarted(group);
            for (const BackupFile& file : BackupGroupFiles(group)) {
                const std::string name(file.name);
                if (!copy(name, TargetPath(request_.targetDir, name), false))
                    return failure_;
                listener_.Progress(file.progress);
            }
            if (group == kMemoGroup || group == kPictureGroup) {
                bool copied = false;
                if (!copyNumbered(group, copied))
                    return failure_;
                if (copied)
                    listener_.Progress(ProgressAfterNumberedFiles(group));
            }
        }
        return std::nullopt;
    }

private:
    // One checked copy; false after a failure (kept in failure_). A missing source is
    // skipped when `missingIsNormal`.
    bool copy(const std::string& name, const std::filesystem::path& target, bool missingIsNormal,
              bool* copied = nullptr, PendingCopies* pending = nullptr) {
        CopyResult r = pending ? pending->Add(archive_.resolve(name), target, request_.faults)
                               : CopyWhole(archive_.resolve(name), target, request_.faults);
        listener_.Tick();
        if (r.error == 0) {
            if (copied)
                *copied = true;
            return true;
        }
        if (r.sourceMissing && missingIsNormal)
            return true;
        if (!r.sourceMissing && r.error == 2 && request_.targetDirError != 0)
            r.error = SystemErrorNumber(request_.targetDirError);
        failure_ = BackupFailure{r.error, name, target};
        return false;
    }

    // memo/<n>.txt or bilder/<n>.bmp for n = 1..totalRecords. Source and target directory
    // are listed once, so a large archive costs one lookup per number.
    bool copyNumbered(int group, bool& copied) {
        const std::string dir = group == kMemoGroup ? "memo" : "bilder";
        const std::string ext = group == kMemoGroup ? ".txt" : ".bmp";
        const std::filesystem::path targetSub = TargetPath(request_.targetDir, dir);
        const auto present = archive_.listFolded(dir);
        const auto there = Archive(request_.targetDir).listFolded(dir);
        PendingCopies pending(targetSub);
        for (int32_t n = 1; n <= request_.totalRecords; ++n) {
            const std::string key = std::to_string(n) + ext;
            const auto found = present.find(key);
            if (found == present.end()) {
                if ((n & 1023) == 0)
                    listener_.Tick();
                continue;
            }
            const auto old = there.find(key);
            const std::string& targetName = old == there.end() ? found->second : old->second;
            if (!copy(dir + "/" + found->second, targetSub / targetName, true, &copied, &pending))
                return false;
        }
        if (const auto failed = pending.Commit()) {
            failure_ = BackupFailure{failed->second, dir + "/" + failed->first.filename().string(),
                                     failed->first};
            return false;
        }
        return true;
    }

    const Archive& archive_;
    const BackupRequest& request_;
    BackupListener& listener_;
    BackupFailure failure_;
};

} // namespace

CopyResult CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to,
                     CopyFaults* faults) {
    std::string temporary;
    CopyResult r = CopyToTemporary(from, to, faults, true, temporary);
    if (r.error != 0)
        return r;
    if (::rename(temporary.c_str(), to.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        return {SystemErrorNumber(err), false};
    }
    SyncDirectory(to.parent_path());
    return {};
}

namespace {

CopyResult CopyToTemporary(const std::filesystem::path& from, const std::filesystem::path& to,
                           CopyFaults* faults, bool flush, std::string& temporary) {
    int err = 0;
    const int in = OpenRegular(from, O_RDONLY, &err);
    if (in < 0)
        return {SystemErrorNumber(err), err == ENOENT};
    struct stat st {};
    ::fstat(in, &st);

    const std::filesystem::path dir = to.parent_path();
    std::string tmpl = (dir / ("." + to.filename().string() + ".tmpXXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int out = -1;
    if (faults && faults->createError)
        err = faults->createError;
    else if ((out = ::mkostemp(name.data(), O_CLOEXEC)) < 0)
        err = errno;
    if (out < 0) {
        ::close(in);
        return {SystemErrorNumber(err), false};
    }
    ::fchmod(out, st.st_mode & 0666);
    err = CopyContents(in, out, faults, flush);
    ::close(in);
    if (::close(out) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        ::unlink(name.data());
        return {SystemErrorNumber(err), false};
    }
    temporary.assign(name.data());
    return {};
}

} // namespace

PendingCopies::~PendingCopies() {
    for (const auto& [temporary, target] : copies_)
        ::unlink(temporary.c_str());
}

CopyResult PendingCopies::Add(const std::filesystem::path& from, const std::filesystem::path& to,
                              CopyFaults* faults) {
    std::string temporary;
    CopyResult r = CopyToTemporary(from, to, faults, false, temporary);
    if (r.error == 0)
        copies_.emplace_back(std::move(temporary), to);
    return r;
}

std::optional<std::pair<std::filesystem::path, int>> PendingCopies::Commit() {
    if (copies_.empty())
        return std::nullopt;
    // One flush of the whole file system instead of one per file; only then is any old
    // copy replaced.
    const int fd = ::open(dir_.empty() ? "." : dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int synced = fd >= 0 && ::syncfs(fd) == 0 ? 0 : (fd >= 0 ? errno : 0);
    if (fd >= 0)
        ::close(fd);
    if (synced != 0)
        return std::pair{copies_.front().second, SystemErrorNumber(synced)};
    while (!copies_.empty()) {
        const auto& [temporary, target] = copies_.back();
        if (::rename(temporary.c_str(), target.c_str()) != 0)
            return std::pair{target, SystemErrorNumber(errno)}; // the rest is removed
        copies_.pop_back();
    }
    SyncDirectory(dir_);
    return std::nullopt;
}

int MakeDirectory(const std::filesystem::path& dir) {
    return ::mkdir(dir.c_str(), 0777) == 0 ? 0 : errno;
}

std::span<const BackupFile> BackupGroupFiles(int group) {
    switch (group) {
    case 1:
        return kSlideFiles;
    case 2:
        return kKeywordFiles;
    case 3:
        return kHeaderFiles;
    case kPictureGroup:
        return kPictureFiles;
    default:
        return {};
    }
}

int ProgressBeforeGroup(int group) {
    return group >= 2 && group <= kBackupGroups ? 20 * (group - 1) : 0;
}

int ProgressAfterNumberedFiles(int group) {
    return group == kMemoGroup ? 80 : 100;
}

bool PrepareBackupTarget(const Archive& archive, const BackupRequest& request) {
    if (Archive(request.targetDir).exists("dia.ini"))
        return true;
    CopyWhole(archive.resolve("dia.ini"), TargetPath(request.targetDir, "dia.ini"), request.faults);
    return false;
}

std::optional<BackupFailure> CopyBackupGroups(const Archive& archive, const BackupRequest& request,
                                              BackupListener& listener) {
    return GroupCopier(archive, request, listener).run();
}

} // namespace lumo
