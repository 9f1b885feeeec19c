#include "store/ArchiveLock.h"

#include "store/FileUtil.h"
#include "store/Profile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lumo {

namespace {

constexpr std::string_view kMark = "Lumoretta arbeitet mit diesem Archiv.\n";

} // namespace

ArchiveLock::Result ArchiveLock::acquire(const std::filesystem::path& dir) {
    release();
    interrupted_ = false;
    obstacle_ = Obstacle::None;
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        obstacle_ = Obstacle::NoDirectory;
        return Result::Unavailable;
    }
    const char* name = kArchiveLockName.data();
    // Only a regular file of that name is used: a link, FIFO or directory is never opened
    // for writing, nor waited on.
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    struct stat st {};
    bool writable = true;
    int fd = -1;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode)) {
        obstacle_ = Obstacle::NotAFile;
    } else {
        fd = ::openat(dirFd, name, O_RDWR | O_CREAT | kFlags, 0666);
        if (fd < 0) {
            // A write-protected archive can still be locked through an existing lock file.
            writable = false;
            fd = ::openat(dirFd, name, O_RDONLY | kFlags);
        }
        if (fd < 0)
            obstacle_ = errno == ENOENT || errno == EACCES || errno == EROFS || errno == EPERM
                            ? (ArchiveHasWritableFiles(dir) ? Obstacle::ReadOnly
                                                            : Obstacle::NothingWritable)
                            : Obstacle::NotAFile;
        else if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
            obstacle_ = Obstacle::NotAFile;
    }
    ::close(dirFd);
    if (obstacle_ != Obstacle::None) {
        if (fd >= 0)
            ::close(fd);
        return Result::Unavailable;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return Result::HeldElsewhere;
        obstacle_ = Obstacle::NoLocks;
        return Result::Unavailable;
    }
    fd_ = fd;
    interrupted_ = st.st_size > 0;
    if (writable) {
        // The mark goes to the disk before the program changes anything, so that even a
        // power cut leaves it behind.
        marked_ =
            ::ftruncate(fd_, 0) == 0 &&
            ::pwrite(fd_, kMark.data(), kMark.size(), 0) == static_cast<ssize_t>(kMark.size()) &&
            ::fsync(fd_) == 0;
    }
    return Result::Acquired;
}

bool ArchiveHasWritableFiles(const std::filesystem::path& dir) {
    if (::access(dir.c_str(), W_OK) == 0)
        return true;
    std::error_code ec;
    for (const char* sub : {"", "memo", "bilder"}) {
        const std::filesystem::path d = Archive(dir).resolve(sub);
        if (*sub && ::access(d.c_str(), W_OK) == 0)
            return true;
        for (std::filesystem::directory_iterator it(d, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file(ec) && ::access(it->path().c_str(), W_OK) == 0)
                return true;
    }
    return false;
}

void ArchiveLock::release() {
    if (fd_ < 0)
        return;
    if (marked_)
        (void)::ftruncate(fd_, 0);
    ::close(fd_); // ends the lock
    fd_ = -1;
    marked_ = false;
}

void ArchiveLock::swap(ArchiveLock& other) noexcept {
    std::swap(fd_, other.fd_);
    std::swap(marked_, other.marked_);
    std::swap(interrupted_, other.interrupted_);
    std::swap(obstacle_, other.obstacle_);
}

void RecoverAfterInterruptedRun(const Archive& archive, const ArchiveLock& lock) {
    if (!lock.held())
        return;
    RemoveLeftoverTemporaryFiles(archive.dir());
    for (const char* dir : {"memo", "bilder"})
        if (archive.exists(dir))
            RemoveLeftoverTemporaryFiles(archive.resolve(dir));
    if (lock.previousRunInterrupted() && archive.exists("DIA.INI")) {
        ProfileStore ini;
        ini.SetIniFile(archive.resolve("DIA.INI"));
        ini.WriteString("LUMORETTA", "DIAS", "?");
    }
}

} // namespace lumo
