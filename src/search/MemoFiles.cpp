#include "search/MemoFiles.h"

#include "search/Criteria.h"
#include "store/ConfinedFiles.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

MemoFiles::MemoFiles(const Archive& archive, int32_t total) {
    names_.resize(static_cast<size_t>(std::max<int32_t>(total, 0)) + 1);
    std::vector<char> ambiguous(names_.size(), 0);
    std::error_code ec;
    const std::filesystem::path dir = archive.resolve("memo");
    if (!std::filesystem::is_directory(dir, ec))
        return;
    // Confined to the archive: a memo directory that is a link out of it is no memo directory.
    dirFd_ = OpenPath(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
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
        auto& slot = names_[static_cast<size_t>(n)];
        if (slot.empty())
            slot = std::move(name);
        else
            ambiguous[static_cast<size_t>(n)] = 1;
    }
    for (int32_t n = 1; n <= total; ++n)
        if (ambiguous[static_cast<size_t>(n)])
            names_[static_cast<size_t>(n)] =
                archive.resolve("memo/" + std::to_string(n) + ".txt").filename().string();
}

MemoFiles::~MemoFiles() {
    if (dirFd_ >= 0)
        ::close(dirFd_);
}

bool MemoFiles::has(int32_t n) const {
    return n >= 1 && static_cast<size_t>(n) < names_.size() &&
           !names_[static_cast<size_t>(n)].empty();
}

int MemoFiles::read(int32_t n, std::string& out) const {
    out.clear();
    if (!has(n) || dirFd_ < 0)
        return ENOENT;
    // A memo is a regular file of the memo directory: a link is no memo, and O_NONBLOCK
    // keeps a FIFO of a memo's name from stopping the pass.
    const int fd = ::openat(dirFd_, names_[static_cast<size_t>(n)].c_str(),
                            O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0)
        return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return EINVAL;
    }
    // The size said and one byte more, so that a file that grew is read on to its end.
    size_t chunk = static_cast<size_t>(st.st_size) + 1;
    int err = 0;
    for (;;) {
        const size_t old = out.size();
        out.resize(old + chunk);
        const ssize_t r = ::read(fd, out.data() + old, chunk);
        out.resize(old + static_cast<size_t>(std::max<ssize_t>(r, 0)));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            err = errno;
        if (r <= 0)
            break;
        chunk = 16384;
    }
    ::close(fd);
    return err;
}

} // namespace lumo
