#pragma once
// How the numbered copies of one backup group (memo/, bilder/) replace the old ones in the
// target: the whole group in one step when it fits beside the old copy, file by file when
// the medium has no room for that.
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace lumo {

// Failures a test injects into the copies; the file system itself is left alone.
struct CopyFaults {
    int createError = 0;       // errno of creating the temporary copy in the target
    int writeError = 0;        // errno of the write that would pass writeLimit bytes in all
    long long writeLimit = -1; // bytes all copies may write before writes fail; -1: no limit
    long long written = 0;     // bytes written so far
    long long freeBytes = -1;  // free space the target reports instead of its own; -1: real
};

struct CopyResult {
    int error = 0;              // system error number (SystemErrorNumber); 0: copied
    bool sourceMissing = false; // the source file does not exist
};

// Copies the open file `in` into the open file `out`; 0 or errno.
int CopyBytes(int in, int out, CopyFaults* faults);

// The free bytes of the file system holding `dir` for an unprivileged writer, and its
// block size; {0, 4096} when it cannot be asked.
struct FreeSpace {
    long long bytes = 0;
    long long block = 4096;
};
FreeSpace QueryFreeSpace(const std::filesystem::path& dir, const CopyFaults* faults);

// The new copies of one directory of the target `dir` (it exists). For a whole group
// (memo/, bilder/), while the copies made so far fit beside the old ones, they are written
// into a new directory beside `dir`, which Place() exchanges with the old one in one
// rename (RENAME_EXCHANGE): a crash leaves the whole old or the whole new group; entries
// of the old directory that no new copy replaces are carried over by Seal() (hard links).
// Otherwise, and for single files, each copy is written to a temporary file beside its
// target and Place() renames it over the old one. Temporary files are renamed only after
// a flush of the file system: the caller flushes once after Seal() and once after Place()
// for all its groups together; a medium short of room gets a flush and the renames of
// the copies so far whenever the next copy would not fit. After a failure, Abandon()
// puts the complete copies made so far in place; nothing half-written is ever renamed.
class GroupReplacement {
public:
    GroupReplacement(std::filesystem::path dir, CopyFaults* faults, bool wholeGroup = true);
    ~GroupReplacement();
    GroupReplacement(const GroupReplacement&) = delete;
    GroupReplacement& operator=(const GroupReplacement&) = delete;

    // Copies `from` as `name` of the group.
    CopyResult Add(const std::filesystem::path& from, const std::string& name);
    // The same for the file `from` of the open directory `fromDir` (a regular file, not a
    // link): many files of one directory without a path lookup each.
    CopyResult AddFrom(int fromDir, const std::string& from, const std::string& name);
    // After the last Add(): the old entries carried over into the new directory.
    void Seal();
    // After a flush of the file system: every copy in place; the target and system error
    // number of a failure.
    std::optional<std::pair<std::filesystem::path, int>> Place();
    // Puts the complete copies made so far in place and removes everything else.
    void Abandon();
    // True while the group is built beside the old one (for tests).
    bool exchanging() const { return stageFd_ >= 0; }

private:
    struct Made {
        std::string temporary; // file name in the stage or (file by file) in dir_
        std::string name;      // file name of the copy in dir_
    };
    CopyResult addOpen(int in, const std::string& name);
    // Writes one copy into the stage or a temporary file beside its target.
    CopyResult write(int in, const std::string& name, long long need, unsigned mode);
    bool startStage();
    void dropStage();
    // Renames the made copies into dir_ one by one, after one flush; 0 or errno.
    int commitFileByFile(std::string* failed, bool flush);
    void switchToFileByFile();
    int carryOverOldEntries();

    std::filesystem::path dir_;
    CopyFaults* faults_;
    int dirFd_ = -1;
    int stageFd_ = -1;
    std::filesystem::path stage_;
    bool sealed_ = false;
    FreeSpace free_;
    long long room_ = 0; // bytes the copies not yet in place may still take
    std::vector<Made> made_;
    std::unordered_set<std::string> names_; // every name added to the stage
};

// syncfs of the file system holding `dir`: 0 or errno.
int FlushFileSystem(const std::filesystem::path& dir);

// Removes stage directories a killed backup left beside the group directories of `dir`.
void RemoveLeftoverStages(const std::filesystem::path& dir, const std::string& group);

} // namespace lumo
