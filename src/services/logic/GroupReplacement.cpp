#include "services/logic/GroupReplacement.h"

#include "store/Archive.h"
#include "store/ConfinedFiles.h"
#include "store/FileUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace lumo {

namespace {

// Kept free on the medium beyond the estimate of what the copies take.
constexpr long long kReserveBlocks = 16;

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

bool IsFull(int err) {
    return err == ENOSPC || err == EDQUOT;
}

int SyncFileSystem(int fd) {
    return ::syncfs(fd) == 0 ? 0 : errno;
}

} // namespace

int CopyBytes(int in, int out, CopyFaults* faults) {
    static thread_local std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        if (const int e = WriteAllCounted(out, buffer.data(), static_cast<size_t>(n), faults))
            return e;
    }
}

FreeSpace QueryFreeSpace(const std::filesystem::path& dir, const CopyFaults* faults) {
    if (faults && faults->freeBytes >= 0)
        return {faults->freeBytes, 4096};
    struct statvfs vfs {};
    if (::statvfs(dir.c_str(), &vfs) != 0)
        return {};
    const long long block =
        vfs.f_frsize ? static_cast<long long>(vfs.f_frsize) : static_cast<long long>(vfs.f_bsize);
    return {static_cast<long long>(vfs.f_bavail) * block, std::max(block, 512LL)};
}

GroupReplacement::GroupReplacement(std::filesystem::path dir, CopyFaults* faults, bool wholeGroup)
    : dir_(std::move(dir)), faults_(faults) {
    dirFd_ = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    free_ = QueryFreeSpace(dir_, faults_);
    room_ = free_.bytes - kReserveBlocks * free_.block;
    if (wholeGroup && dirFd_ >= 0 && room_ > 0)
        startStage();
}

GroupReplacement::~GroupReplacement() {
    Abandon();
    if (dirFd_ >= 0)
        ::close(dirFd_);
}

bool GroupReplacement::startStage() {
    const std::string name = "." + dir_.filename().string() + ".newXXXXXX";
    std::string path = (dir_.parent_path() / name).string();
    if (!::mkdtemp(path.data()))
        return false;
    stage_ = path;
    stageFd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (stageFd_ < 0)
        ::rmdir(path.c_str());
    return stageFd_ >= 0;
}

void GroupReplacement::dropStage() {
    if (stageFd_ < 0)
        return;
    ::close(stageFd_);
    stageFd_ = -1;
    sealed_ = false;
    std::error_code ec;
    std::filesystem::remove_all(stage_, ec);
    names_.clear();
}

CopyResult GroupReplacement::Add(const std::filesystem::path& from, const std::string& name) {
    int err = 0;
    const int in = OpenRegular(from, O_RDONLY, &err);
    if (in < 0)
        return {SystemErrorNumber(err), err == ENOENT};
    return addOpen(in, name);
}

CopyResult GroupReplacement::AddFrom(int fromDir, const std::string& from,
                                     const std::string& name) {
    // One name of the directory: a link is no file of it, and O_NONBLOCK keeps a FIFO of
    // that name from stopping the backup.
    const int in =
        ::openat(fromDir, from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (in < 0) {
        const int err = errno == ELOOP ? kNotArchiveFile : errno;
        return {SystemErrorNumber(err), err == ENOENT};
    }
    return addOpen(in, name);
}

CopyResult GroupReplacement::addOpen(int in, const std::string& name) {
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return {SystemErrorNumber(kNotArchiveFile), false};
    }
    // The data blocks and a share of a directory block.
    const long long need =
        (st.st_size + free_.block - 1) / free_.block * free_.block + free_.block / 32;
    if (stageFd_ >= 0 && need > room_)
        switchToFileByFile(); // the group does not fit beside the old one
    if (stageFd_ < 0 && need > room_ && !made_.empty()) {
        // Room for the next copy comes from the old copies the made ones replace.
        std::string failed;
        if (const int e = commitFileByFile(&failed, true)) {
            ::close(in);
            return {SystemErrorNumber(e), false};
        }
        room_ = QueryFreeSpace(dir_, faults_).bytes - kReserveBlocks * free_.block;
    }
    CopyResult r = write(in, name, need, st.st_mode & 0666);
    if (IsFull(r.error) && stageFd_ >= 0) {
        // The estimate was short: the rest goes file by file.
        switchToFileByFile();
        ::lseek(in, 0, SEEK_SET);
        r = write(in, name, need, st.st_mode & 0666);
    }
    ::close(in);
    return r;
}

CopyResult GroupReplacement::write(int in, const std::string& name, long long need, unsigned mode) {
    std::string temporary = name;
    int out = -1;
    int err = 0;
    const int outDir = stageFd_ >= 0 ? stageFd_ : dirFd_;
    if (faults_ && faults_->createError) {
        err = faults_->createError;
    } else if (stageFd_ >= 0) {
        out = ::openat(stageFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                       mode);
    } else {
        std::string path = (dir_ / ("." + name + ".tmpXXXXXX")).string();
        out = ::mkostemp(path.data(), O_CLOEXEC);
        if (out >= 0) {
            ::fchmod(out, mode);
            temporary = std::filesystem::path(path).filename().string();
        }
    }
    if (out < 0)
        return {SystemErrorNumber(err ? err : errno), false};
    err = CopyBytes(in, out, faults_);
    if (::close(out) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        ::unlinkat(outDir, temporary.c_str(), 0);
        return {SystemErrorNumber(err), false};
    }
    made_.push_back({std::move(temporary), name});
    if (stageFd_ >= 0)
        names_.insert(name);
    room_ -= need;
    return {};
}

int GroupReplacement::commitFileByFile(std::string* failed, bool flush) {
    if (made_.empty())
        return 0;
    const int fromDir = stageFd_ >= 0 ? stageFd_ : dirFd_;
    // One flush for all of them; only then is any old copy replaced.
    if (const int e = flush ? SyncFileSystem(fromDir) : 0) {
        *failed = made_.front().name;
        return e;
    }
    size_t done = 0;
    int err = 0;
    for (; done < made_.size(); ++done)
        if (::renameat(fromDir, made_[done].temporary.c_str(), dirFd_, made_[done].name.c_str()) !=
            0) {
            err = errno;
            *failed = made_[done].name;
            break;
        }
    made_.erase(made_.begin(), made_.begin() + static_cast<std::ptrdiff_t>(done));
    if (flush)
        ::fsync(dirFd_);
    return err;
}

void GroupReplacement::switchToFileByFile() {
    std::string failed;
    commitFileByFile(&failed, true);
    dropStage();
    room_ = QueryFreeSpace(dir_, faults_).bytes - kReserveBlocks * free_.block;
}

// Entries of the old directory that no new copy replaces stay in the group: each regular
// file is linked into the new directory. 0, or errno when that cannot be done (another
// kind of entry, a file system without links).
int GroupReplacement::carryOverOldEntries() {
    const int fd = ::dup(dirFd_);
    DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!d) {
        if (fd >= 0)
            ::close(fd);
        return errno ? errno : EIO;
    }
    ::rewinddir(d);
    int err = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == ".." || names_.count(name))
            continue;
        struct stat st {};
        if (::fstatat(dirFd_, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
            err = EXDEV;
            break;
        }
        if (::linkat(dirFd_, e->d_name, stageFd_, e->d_name, 0) != 0) {
            err = errno;
            break;
        }
    }
    ::closedir(d);
    return err;
}

void GroupReplacement::Seal() {
    // Without the old entries the new directory cannot stand for the old one: then the
    // copies go in file by file.
    sealed_ = stageFd_ >= 0 && carryOverOldEntries() == 0;
}

std::optional<std::pair<std::filesystem::path, int>> GroupReplacement::Place() {
    if (sealed_ &&
        ::renameat2(AT_FDCWD, stage_.c_str(), AT_FDCWD, dir_.c_str(), RENAME_EXCHANGE) == 0) {
        // The old group now lies at the stage's name and goes.
        std::swap(dirFd_, stageFd_);
        made_.clear();
        dropStage();
        return std::nullopt;
    }
    // No exchange on this file system: each copy replaces its old one.
    std::string failed;
    const int e = commitFileByFile(&failed, false);
    dropStage();
    if (e != 0)
        return std::pair{dir_ / failed, SystemErrorNumber(e)};
    return std::nullopt;
}

int FlushFileSystem(const std::filesystem::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int e = SyncFileSystem(fd);
    ::close(fd);
    return e;
}

void GroupReplacement::Abandon() {
    std::string failed;
    commitFileByFile(&failed, true);
    const int fromDir = stageFd_ >= 0 ? stageFd_ : dirFd_;
    for (const Made& m : made_)
        ::unlinkat(fromDir, m.temporary.c_str(), 0);
    made_.clear();
    dropStage();
}

void RemoveLeftoverStages(const std::filesystem::path& dir, const std::string& group) {
    const std::string prefix = "." + group + ".new";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + 6 && FoldAscii(name).rfind(FoldAscii(prefix), 0) == 0 &&
            it->is_directory(ec) && !it->is_symlink(ec))
            std::filesystem::remove_all(it->path(), ec);
    }
}

} // namespace lumo
