#pragma once
// The backup of an archive: the five file groups in their copy order with the progress
// value after each file, and copies that are either whole or absent.
#include "services/logic/GroupReplacement.h"
#include "store/Archive.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumo {

// Copies `from` to `to`: into a temporary file beside `to`, flushed to the disk, then
// renamed over `to`. On failure the temporary file is removed and `to` is as it was.
CopyResult CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to,
                     CopyFaults* faults = nullptr);

// Creates one directory level: 0, or the errno value (EEXIST when it is there already).
int MakeDirectory(const std::filesystem::path& dir);

// A file of groups 1 to 3 and of the start of group 5, with the progress after it.
struct BackupFile {
    std::string_view name; // archive name, found without regard to case
    int progress;
};

inline constexpr int kBackupGroups = 5;
inline constexpr int kMemoGroup = 4;
inline constexpr int kPictureGroup = 5;

// The fixed files of group 1..5 in copy order (groups 4 has none, 5 has bilder/autor.bmp).
std::span<const BackupFile> BackupGroupFiles(int group);
// The progress value set before group 2..5 starts (20, 40, 60, 80); 0 for group 1.
int ProgressBeforeGroup(int group);
// The progress value set at the end of group 4 and 5 when a numbered file was copied.
int ProgressAfterNumberedFiles(int group);

// What a running backup tells the window.
class BackupListener {
public:
    virtual ~BackupListener() = default;
    virtual void GroupStarted(int group) = 0;
    // The subdirectory memo (group 4) or bilder (group 5) could not be created (it is
    // usually there already).
    virtual void SubdirectoryNotCreated(int group) = 0;
    virtual void Progress(int value) = 0;
    // Called between files, so the window can stay drawn.
    virtual void Tick() {}
};

struct BackupFailure {
    int error = 0;      // system error number
    std::string source; // archive name as listed ("dias.ddb", "memo/12.txt")
    std::filesystem::path target;
};

struct BackupRequest {
    std::filesystem::path targetDir;
    std::array<bool, kBackupGroups> groups{}; // groups[0]: group 1
    int32_t totalRecords = 0;
    // The error that kept targetDir from being created (0: created or there already);
    // reported instead of "not found" when a copy finds no target directory.
    int targetDirError = 0;
    CopyFaults* faults = nullptr;
};

// True when targetDir already holds a backup (its dia.ini); otherwise dia.ini is copied
// there first, and a failure of that copy is left to the group copies to report.
bool PrepareBackupTarget(const Archive& archive, const BackupRequest& request);

// Copies the checked groups in order 1 to 5. Memos and pictures are taken for every slide
// number 1..totalRecords that has one; numbers without a file are skipped in silence.
// Stops at the first failed copy and returns it.
std::optional<BackupFailure> CopyBackupGroups(const Archive& archive, const BackupRequest& request,
                                              BackupListener& listener);

} // namespace lumo
