#include "store/Archive.h"

#include "store/ConfinedFiles.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

namespace lumo {

std::string FoldAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::unordered_map<std::string, std::string> NamesByFolded(std::vector<std::string> names) {
    std::unordered_map<std::string, std::string> byFolded;
    for (std::string& name : names)
        byFolded.emplace(FoldAscii(name), std::move(name));
    return byFolded;
}

namespace {

// Directory listings keyed by folded name, reused while the directory's modification
// time is unchanged. A memo search resolves "memo/<n>.txt" for every hit; listing a
// directory of thousands of memos each time would make that quadratic.
struct DirListing {
    long long mtimeNs = 0;
    long long ino = 0;
    std::unordered_map<std::string, std::string> byFolded; // folded -> actual name
};

std::mutex gListingMutex;
std::map<std::string, DirListing> gListings;

bool StatPath(const std::filesystem::path& p, struct stat& st) {
    return ::stat(p.c_str(), &st) == 0;
}

long long MtimeNs(const struct stat& st) {
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

// The actual name of the entry of `dir` matching `name` without regard to case, or "".
std::string FindInDirectory(const std::filesystem::path& dir, const std::string& name) {
    struct stat st {};
    if (!StatPath(dir.empty() ? std::filesystem::path(".") : dir, st) || !S_ISDIR(st.st_mode))
        return {};
    std::string key = dir.empty() ? std::string(".") : dir.string();
    std::lock_guard lock(gListingMutex);
    DirListing& listing = gListings[key];
    if (listing.mtimeNs != MtimeNs(st) || listing.ino != static_cast<long long>(st.st_ino) ||
        listing.byFolded.empty()) {
        listing.byFolded.clear();
        listing.mtimeNs = MtimeNs(st);
        listing.ino = static_cast<long long>(st.st_ino);
        std::error_code ec;
        std::vector<std::string> names;
        for (auto it = std::filesystem::directory_iterator(key, ec);
             !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
            names.push_back(it->path().filename().string());
        // Several spellings of one name: the first in byte order wins, so the choice
        // does not depend on the order the file system lists them in.
        std::sort(names.begin(), names.end());
        for (auto& n : names)
            listing.byFolded.emplace(FoldAscii(n), n);
    }
    auto found = listing.byFolded.find(FoldAscii(name));
    if (found == listing.byFolded.end()) {
        // A stale listing (a file created within the same time stamp tick) only costs
        // an exact-spelling miss; an entry we know of but that vanished is checked below.
        return {};
    }
    return found->second;
}

} // namespace

void Archive::setDir(std::filesystem::path dir) {
    dir_ = std::move(dir);
    confinement_ = dir_.empty() ? nullptr : ConfineToDirectory(dir_);
}

std::filesystem::path Archive::resolve(std::string_view bareName) const {
    return resolveChecked(bareName, nullptr, nullptr);
}

std::filesystem::path Archive::resolveChecked(std::string_view bareName, bool* existsOut,
                                              long long* sizeOut) const {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : bareName) {
        if (c == '/' || c == '\\') {
            if (!cur.empty())
                parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        parts.push_back(cur);

    // An absolute name (a picture chosen anywhere) is taken from the root instead.
    std::filesystem::path result =
        (!bareName.empty() && bareName[0] == '/') ? std::filesystem::path("/") : dir_;
    bool found = true; // everything up to here exists
    struct stat st {};
    if (parts.empty())
        found = StatPath(result.empty() ? std::filesystem::path(".") : result, st);
    for (const auto& part : parts) {
        std::filesystem::path exact = result / part;
        if (!found || part == "." || part == "..") {
            result = exact;
            if (found)
                found = StatPath(result, st);
            continue;
        }
        if (StatPath(exact, st)) {
            result = exact;
            continue;
        }
        std::string actual = FindInDirectory(result, part);
        if (!actual.empty() && StatPath(result / actual, st)) {
            result /= actual;
            continue;
        }
        // Nothing of that name: the rest of the path is new and keeps its spelling.
        found = false;
        result = exact;
    }
    if (existsOut)
        *existsOut = found;
    if (sizeOut)
        *sizeOut = found ? static_cast<long long>(st.st_size) : -1;
    return result;
}

std::vector<std::string> Archive::list(std::string_view bareDir) const {
    bool found = false;
    std::filesystem::path dir = resolveChecked(bareDir, &found, nullptr);
    std::vector<std::string> names;
    if (!found)
        return names;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(dir, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool Archive::exists(std::string_view bareName) const {
    bool found = false;
    resolveChecked(bareName, &found, nullptr);
    return found;
}

long long Archive::fileSize(std::string_view bareName) const {
    long long size = -1;
    resolveChecked(bareName, nullptr, &size);
    return size;
}

int SystemErrorNumber(int err) {
    switch (err) {
    case ENOENT:
        return 2;
    case EROFS:
    case EACCES:
    case EPERM:
        return 19;
    case ENOSPC:
    case EDQUOT:
        return 112;
    case kNotArchiveFile:
        return 5; // access denied
    default:
        return err;
    }
}

} // namespace lumo
