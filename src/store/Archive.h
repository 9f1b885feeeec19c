#pragma once
// The open archive directory and the mapping of bare archive file names to paths.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumo {

// A..Z folded to a..z: how the program compares file names.
std::string FoldAscii(std::string_view s);
// Names keyed by FoldAscii; the first of several spellings wins.
std::unordered_map<std::string, std::string> NamesByFolded(std::vector<std::string> names);

class Archive {
public:
    // Files below the archive directory are opened only as files below it, while an
    // Archive of that directory lives (ConfinedFiles.h).
    Archive() = default;
    explicit Archive(std::filesystem::path dir) { setDir(std::move(dir)); }

    const std::filesystem::path& dir() const { return dir_; }
    void setDir(std::filesystem::path dir);

    // Turns a bare archive name ("dias.ddb", "KEYWORD1", "memo/12.txt", "bilder/3.bmp")
    // into the path of the existing file whose name matches without regard to case
    // (component by component), or the spelling given when no such file exists.
    // Backslashes in the name are treated as directory separators. An entry of exactly
    // the given spelling wins; among several other spellings the first in byte order.
    // Directory listings are cached while the directory's modification time is unchanged.
    // A name starting with "/" is an absolute path (resolved the same way from the root).
    std::filesystem::path resolve(std::string_view bareName) const;

    bool exists(std::string_view bareName) const;
    // Names (as spelled on disk) of the entries of an archive subdirectory ("memo"), sorted;
    // empty when it does not exist. Lets a scan test many names without a lookup each.
    std::vector<std::string> list(std::string_view bareDir) const;
    // The same names keyed by their spelling in lower case (A..Z folded); the first
    // spelling in byte order wins.
    std::unordered_map<std::string, std::string> listFolded(std::string_view bareDir) const {
        return NamesByFolded(list(bareDir));
    }
    // Size in bytes, or -1 when the file does not exist.
    long long fileSize(std::string_view bareName) const;

private:
    std::filesystem::path dir_;
    std::shared_ptr<const void> confinement_;
    // resolve(), also telling whether the resolved path exists (and its size).
    std::filesystem::path resolveChecked(std::string_view bareName, bool* exists,
                                         long long* size) const;
};

// Maps an errno value to the system error number the program reports
// (ENOENT -> 2, EROFS/EACCES/EPERM -> 19, ENOSPC/EDQUOT -> 112, a name that leads out of
// the archive or is no file (kNotArchiveFile) -> 5, others unchanged).
int SystemErrorNumber(int err);

} // namespace lumo
