#include "store/FileUtil.h"

#include "store/Archive.h"
#include "store/ConfinedFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <exception>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lumo {

namespace {

// Writes all of data to fd; false with errno set on failure.
bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

mode_t CurrentUmask() {
    mode_t old = ::umask(0);
    ::umask(old);
    return old;
}

// A fresh name for a temporary file ("." + name + ".tmp" + six characters), created with
// O_EXCL | O_NOFOLLOW in `dir`; -1 with errno set on failure.
int CreateTemporaryIn(int dir, const std::string& name, std::string* tmpName) {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}() ^ static_cast<unsigned>(::getpid())};
    std::uniform_int_distribution<size_t> pick(0, sizeof kChars - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *tmpName = "." + name + ".tmp";
        for (int i = 0; i < 6; ++i)
            *tmpName += kChars[pick(random)];
        const int fd = ::openat(dir, tmpName->c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes `data` to a temporary file in `dir` and renames it over `name`; errno value or 0.
int WriteAtomicallyIn(int dir, const std::string& name, std::string_view data, bool durable) {
    // Keep the permissions of the file being replaced; a new file (or one replacing a
    // link) gets the usual ones. Only a regular file or a link may be replaced.
    struct stat st {};
    mode_t mode = 0666 & ~CurrentUmask();
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        if (S_ISREG(st.st_mode))
            mode = st.st_mode & 07777;
        else if (!S_ISLNK(st.st_mode))
            return kNotArchiveFile;
    }
    std::string tmpName;
    const int fd = CreateTemporaryIn(dir, name, &tmpName);
    if (fd < 0)
        return errno;
    int e = 0;
    if (::fchmod(fd, mode) != 0 && errno != EPERM)
        e = errno;
    if (!e && !WriteAll(fd, data.data(), data.size()))
        e = errno;
    if (!e && durable && ::fsync(fd) != 0)
        e = errno;
    if (::close(fd) != 0 && !e)
        e = errno;
    if (!e && ::renameat(dir, tmpName.c_str(), dir, name.c_str()) != 0)
        e = errno;
    if (e) {
        ::unlinkat(dir, tmpName.c_str(), 0);
        return e;
    }
    if (durable)
        ::fsync(dir); // makes the rename itself durable
    return 0;
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, int* err) {
    int openErr = 0;
    const int fd = OpenRegular(path, O_RDONLY, &openErr);
    auto fail = [&](int e) -> std::optional<std::string> {
        if (fd >= 0)
            ::close(fd);
        if (err)
            *err = SystemErrorNumber(e);
        return std::nullopt;
    };
    if (fd < 0)
        return fail(openErr);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(errno);
    std::string data;
    size_t got = 0;
    try {
        data.resize(static_cast<size_t>(st.st_size));
        for (;;) {
            if (got == data.size())
                data.resize(data.size() + 4096); // the file may have grown meanwhile
            ssize_t n = ::read(fd, data.data() + got, data.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(errno);
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
        }
    } catch (const std::exception&) { // bad_alloc / length_error: no memory for the file
        return fail(ENOMEM);
    }
    ::close(fd);
    data.resize(got);
    if (err)
        *err = 0;
    return data;
}

int WriteFileAtomically(const std::filesystem::path& path, std::string_view data,
                        Durability durability) {
    const bool durable = durability == Durability::Durable;
    std::filesystem::path target = path;
    PathPlace place;
    if (!LocatePath(path, place))
        return SystemErrorNumber(errno);
    std::error_code ec;
    if (place.root < 0 && std::filesystem::is_symlink(target, ec)) {
        // A place the user chose: a link there stands for the file it points to.
        auto resolved = std::filesystem::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    // Inside an archive the rename replaces a link, never the file it points to.
    std::string name;
    const int dir = OpenParentDirectory(target, &name);
    if (dir < 0)
        return SystemErrorNumber(errno);
    const int e = WriteAtomicallyIn(dir, name, data, durable);
    ::close(dir);
    return e ? SystemErrorNumber(e) : 0;
}

int RemoveLeftoverTemporaryFiles(const std::filesystem::path& dir) {
    constexpr std::string_view kInfix = ".tmp";
    constexpr size_t kRandom = 6; // the six random characters of CreateTemporaryIn
    const int fd = OpenPath(dir, O_RDONLY | O_DIRECTORY);
    DIR* listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!listing) {
        if (fd >= 0)
            ::close(fd);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name.size() < 2 + kInfix.size() + kRandom || name[0] != '.' ||
            name.substr(name.size() - kRandom - kInfix.size(), kInfix.size()) != kInfix)
            continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            ::unlinkat(fd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(listing);
    return removed;
}

int CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    int err = 0;
    auto data = ReadWholeFile(from, &err);
    if (!data)
        return err ? err : SystemErrorNumber(EIO);
    return WriteFileAtomically(to, *data);
}

int TruncateFile(const std::filesystem::path& path) {
    // An empty file renamed into place: a link of that name is replaced, not followed.
    return WriteFileAtomically(path, {});
}

int RemoveFile(const std::filesystem::path& path) {
    std::string name;
    const int dir = OpenParentDirectory(path, &name);
    if (dir < 0)
        return SystemErrorNumber(errno);
    struct stat st {};
    int e = 0;
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        e = errno;
    else if (S_ISDIR(st.st_mode))
        e = EISDIR;
    else if (::unlinkat(dir, name.c_str(), 0) != 0)
        e = errno;
    ::close(dir);
    return e ? SystemErrorNumber(e) : 0;
}

int OpenRegular(const std::filesystem::path& path, int flags, int* err) {
    flags |= O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    PathPlace place;
    if (!LocatePath(path, place)) {
        *err = errno;
        return -1;
    }
    struct stat seen {};
    if (place.root >= 0) {
        // Look before opening: opening a device or FIFO does something by itself.
        const int probe = OpenBeneath(place.root, place.rel, O_PATH);
        if (probe < 0 && errno == ENOENT && (flags & O_CREAT)) {
            flags |= O_EXCL | O_NOFOLLOW;
        } else if (probe < 0) {
            *err = errno;
            return -1;
        } else {
            const bool ok = ::fstat(probe, &seen) == 0;
            ::close(probe);
            if (!ok || !S_ISREG(seen.st_mode)) {
                *err = S_ISDIR(seen.st_mode) ? EISDIR : kNotArchiveFile;
                return -1;
            }
        }
    }
    const int fd = place.root >= 0 ? OpenBeneath(place.root, place.rel, flags, 0666)
                                   : ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        *err = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (seen.st_ino && (st.st_ino != seen.st_ino || st.st_dev != seen.st_dev))) {
        *err = S_ISDIR(st.st_mode) ? EISDIR : kNotArchiveFile;
        ::close(fd);
        return -1;
    }
    // O_NONBLOCK has no effect on reads and writes of a regular file: it stays set.
    *err = 0;
    return fd;
}

bool IsReadableFile(const std::filesystem::path& path) {
    int err = 0;
    const int fd = OpenRegular(path, O_RDONLY, &err);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

} // namespace lumo
