#include "store/FileUtil.h"

#include "store/Archive.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
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

} // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, int* err) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (err)
            *err = SystemErrorNumber(errno);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        int e = S_ISDIR(st.st_mode) ? EISDIR : (errno ? errno : EINVAL);
        ::close(fd);
        if (err)
            *err = SystemErrorNumber(e);
        return std::nullopt;
    }
    std::string data;
    try {
        data.resize(static_cast<size_t>(st.st_size));
    } catch (const std::exception&) { // bad_alloc / length_error: no memory for the file
        ::close(fd);
        if (err)
            *err = SystemErrorNumber(ENOMEM);
        return std::nullopt;
    }
    size_t got = 0;
    for (;;) {
        if (got == data.size()) {
            try {
                data.resize(data.size() + 4096); // the file may have grown meanwhile
            } catch (const std::exception&) {
                ::close(fd);
                if (err)
                    *err = SystemErrorNumber(ENOMEM);
                return std::nullopt;
            }
        }
        ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int e = errno;
            ::close(fd);
            if (err)
                *err = SystemErrorNumber(e);
            return std::nullopt;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
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
    // Replace the file a symbolic link points to, not the link.
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        auto resolved = std::filesystem::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    std::filesystem::path dir = target.parent_path();
    std::string tmpl = (dir / ("." + target.filename().string() + ".tmpXXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return SystemErrorNumber(errno);

    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st {};
    mode_t mode =
        (::stat(target.c_str(), &st) == 0) ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
    int e = 0;
    if (::fchmod(fd, mode) != 0 && errno != EPERM)
        e = errno;
    if (!e && !WriteAll(fd, data.data(), data.size()))
        e = errno;
    if (!e && durable && ::fsync(fd) != 0)
        e = errno;
    if (::close(fd) != 0 && !e)
        e = errno;
    if (!e && ::rename(name.data(), target.c_str()) != 0)
        e = errno;
    if (e) {
        ::unlink(name.data());
        return SystemErrorNumber(e);
    }
    if (!durable)
        return 0;
    // Make the rename itself durable.
    int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return 0;
}

int RemoveLeftoverTemporaryFiles(const std::filesystem::path& dir) {
    constexpr std::string_view kInfix = ".tmp";
    constexpr size_t kRandom = 6; // the XXXXXX of mkostemp
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() < 2 + kInfix.size() + kRandom || name[0] != '.' ||
            name.compare(name.size() - kRandom - kInfix.size(), kInfix.size(), kInfix) != 0)
            continue;
        std::error_code fileEc;
        if (it->is_regular_file(fileEc) && !it->is_symlink(fileEc) &&
            std::filesystem::remove(it->path(), fileEc))
            ++removed;
    }
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
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        return SystemErrorNumber(errno);
    if (::close(fd) != 0)
        return SystemErrorNumber(errno);
    return 0;
}

int OpenRegular(const std::filesystem::path& path, int flags, int* err) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *err = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return -1;
    }
    // O_NONBLOCK has no effect on reads and writes of a regular file: it stays set.
    *err = 0;
    return fd;
}

} // namespace lumo
