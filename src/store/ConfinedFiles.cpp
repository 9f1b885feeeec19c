#include "store/ConfinedFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <linux/openat2.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace lumo {

namespace {

namespace fs = std::filesystem;

// A registered archive directory: its absolute spelling (as the program builds paths from
// it) and, found on first need, its canonical one (as a file dialog may give it).
struct Root {
    std::vector<std::string> parts;
    std::vector<std::string> canonicalParts;
    bool canonicalKnown = false;
    std::string path;
};

std::mutex gRootsMutex;
std::vector<Root*> gRoots;
std::atomic<bool> gOpenat2{true};

std::vector<std::string> Components(const fs::path& p) {
    std::vector<std::string> parts;
    for (const auto& c : p) {
        std::string s = c.string();
        if (!s.empty() && s != "." && s != "/")
            parts.push_back(std::move(s));
    }
    return parts;
}

// How many leading components of `path` are `root`; 0 when it does not start with it.
size_t PrefixLength(const std::vector<std::string>& root, const std::vector<std::string>& path) {
    if (root.size() > path.size() || !std::equal(root.begin(), root.end(), path.begin()))
        return 0;
    return root.size() + 1; // +1: the file system root itself matches too
}

std::string Join(std::vector<std::string>::const_iterator from,
                 std::vector<std::string>::const_iterator to) {
    std::string rel;
    for (auto it = from; it != to; ++it)
        rel += (rel.empty() ? "" : "/") + *it;
    return rel;
}

void CloseKeepingErrno(int fd) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
}

// Refuses a component that is a link (or not a directory where one is needed).
int OpenBeneathByComponents(int root, const std::string& rel, int flags, unsigned mode) {
    std::vector<std::string> parts = Components(fs::path(rel));
    if (parts.empty())
        return ::openat(root, ".", flags, mode);
    int cur = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        int fd = -1;
        if (parts[i] == "..")
            errno = kNotArchiveFile;
        else
            fd = last ? ::openat(cur, parts[i].c_str(), flags | O_NOFOLLOW, mode)
                      : ::openat(cur, parts[i].c_str(),
                                 O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && (errno == ELOOP || errno == ENOTDIR)) {
            struct stat st {};
            if (::fstatat(cur, parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISLNK(st.st_mode))
                errno = kNotArchiveFile;
        }
        if (cur != root)
            CloseKeepingErrno(cur);
        if (fd < 0)
            return -1;
        cur = fd;
    }
    return cur;
}

} // namespace

std::shared_ptr<const void> ConfineToDirectory(const fs::path& dir) {
    auto root = std::make_shared<Root>();
    std::error_code ec;
    fs::path abs = fs::absolute(dir, ec);
    root->path = (ec ? dir : abs).string();
    root->parts = Components(fs::path(root->path).lexically_normal());
    {
        std::lock_guard lock(gRootsMutex);
        gRoots.push_back(root.get());
    }
    return std::shared_ptr<const void>(root.get(), [root](const void*) {
        std::lock_guard lock(gRootsMutex);
        gRoots.erase(std::find(gRoots.begin(), gRoots.end(), root.get()));
    });
}

PathPlace::~PathPlace() {
    if (root >= 0)
        ::close(root);
}

bool LocatePath(const fs::path& path, PathPlace& place) {
    std::error_code ec;
    const fs::path abs = path.is_absolute() ? path : fs::absolute(path, ec);
    // Not normalised: a ".." inside the archive part must reach openat2, which refuses it.
    std::vector<std::string> parts;
    for (const auto& c : abs) {
        std::string s = c.string();
        if (!s.empty() && s != "/" && s != ".")
            parts.push_back(std::move(s));
    }
    std::string rootPath;
    size_t best = 0;
    {
        std::lock_guard lock(gRootsMutex);
        for (Root* r : gRoots) {
            size_t n = PrefixLength(r->parts, parts);
            if (!n) {
                if (!r->canonicalKnown) {
                    r->canonicalParts = Components(fs::weakly_canonical(r->path, ec));
                    r->canonicalKnown = true;
                }
                if (!r->canonicalParts.empty())
                    n = PrefixLength(r->canonicalParts, parts);
                if (n && n > best)
                    rootPath = "/" + Join(r->canonicalParts.begin(), r->canonicalParts.end());
            } else if (n > best) {
                rootPath = r->path;
            }
            best = std::max(best, n);
        }
    }
    if (!best)
        return true;
    place.rel = Join(parts.begin() + static_cast<long>(best - 1), parts.end());
    // The archive directory itself may be a link: the user chose it.
    place.root = ::open(rootPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return place.root >= 0;
}

int OpenBeneath(int root, const std::string& rel, int flags, unsigned mode) {
    const std::string name = rel.empty() ? std::string(".") : rel;
    if (gOpenat2.load(std::memory_order_relaxed)) {
        open_how how{};
        how.flags = static_cast<unsigned>(flags) | O_CLOEXEC;
        how.mode = (flags & (O_CREAT | O_TMPFILE)) ? mode : 0;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
        const long fd = ::syscall(SYS_openat2, root, name.c_str(), &how, sizeof how);
        if (fd >= 0 || errno != ENOSYS)
            return static_cast<int>(fd);
        gOpenat2 = false; // an older kernel: from now on component by component
    }
    return OpenBeneathByComponents(root, name, flags | O_CLOEXEC, mode);
}

int OpenPath(const fs::path& path, int flags, unsigned mode) {
    PathPlace place;
    if (!LocatePath(path, place))
        return -1;
    if (place.root < 0)
        return ::open(path.c_str(), flags | O_CLOEXEC, mode);
    return OpenBeneath(place.root, place.rel, flags, mode);
}

int OpenParentDirectory(const fs::path& path, std::string* name) {
    PathPlace place;
    if (!LocatePath(path, place))
        return -1;
    constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (place.root < 0) {
        *name = path.filename().string();
        const fs::path dir = path.parent_path();
        return ::open(dir.empty() ? "." : dir.c_str(), kDirFlags);
    }
    const std::vector<std::string> parts = Components(fs::path(place.rel));
    if (parts.empty() || parts.back() == "..") {
        errno = parts.empty() ? EISDIR : kNotArchiveFile;
        return -1;
    }
    *name = parts.back();
    return OpenBeneath(place.root, Join(parts.begin(), parts.end() - 1), kDirFlags);
}

void UseOpenat2(bool use) {
    gOpenat2 = use;
}

} // namespace lumo
