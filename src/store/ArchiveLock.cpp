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
    const std::filesystem::path path = dir / std::string(kArchiveLockName);
    bool writable = true;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    if (fd < 0) {
        // A write-protected archive can still be locked through an existing lock file.
        writable = false;
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    }
    if (fd < 0)
        return Result::Unavailable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
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
        return err == EWOULDBLOCK ? Result::HeldElsewhere : Result::Unavailable;
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
