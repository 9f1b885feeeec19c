#pragma once
// One program per archive: an advisory lock (flock) on a file in the archive directory.
// The lock file stays; the lock belongs to the open file and ends with the process that
// holds it, however that process ends, so a killed or crashed program never blocks the
// next start. While it holds the lock a program keeps a mark in the file and removes it
// when it ends normally: a mark found on taking the lock tells of an interrupted run.
#include "store/Archive.h"

#include <filesystem>
#include <string_view>

namespace lumo {

inline constexpr std::string_view kArchiveLockName = ".lumoretta.lock";

class ArchiveLock {
public:
    enum class Result {
        Acquired,      // this program holds the archive
        HeldElsewhere, // another program (or another lock in this one) holds it
        Unavailable,   // no lock could be taken: see whyUnavailable()
    };
    // Why the archive could not be locked (after Unavailable).
    enum class Obstacle {
        None,
        NoLocks,         // the file system has no locks (ENOLCK, EOPNOTSUPP, ...)
        NotAFile,        // the lock file is a directory, a link, a FIFO, ...
        ReadOnly,        // no lock file and the directory is not writable
        NothingWritable, // as ReadOnly, and no file of the archive is writable either
        NoDirectory,     // the archive directory cannot be opened
    };

    ArchiveLock() = default;
    ~ArchiveLock() { release(); }
    ArchiveLock(const ArchiveLock&) = delete;
    ArchiveLock& operator=(const ArchiveLock&) = delete;

    // Takes the lock of the archive in `dir` without waiting (a lock held on another
    // archive is given up first). The descriptor is closed on exec, so programs started
    // from here never inherit the lock.
    Result acquire(const std::filesystem::path& dir);
    // Removes the mark and gives the lock up (nothing when none is held).
    void release();
    // Exchanges the locks of two archives (switching to another archive keeps the old
    // lock until the new one is held).
    void swap(ArchiveLock& other) noexcept;
    bool held() const { return fd_ >= 0; }
    // After Acquired: the program that held the archive before did not end normally.
    bool previousRunInterrupted() const { return interrupted_; }
    Obstacle whyUnavailable() const { return obstacle_; }

private:
    int fd_ = -1;
    bool marked_ = false;
    bool interrupted_ = false;
    Obstacle obstacle_ = Obstacle::None;
};

// Whether a program could change any file of the archive in `dir` (its files, memo/ and
// bilder/): false only when neither the directory nor any of them is writable.
bool ArchiveHasWritableFiles(const std::filesystem::path& dir);

// What a program does right after it took the lock: the temporary files of writes that
// were cut off (in the archive and its memo and picture directories) are removed, and after an
// interrupted run DIAS in DIA.INI is set to "?", so that the start-up counts the slides
// again (a slide may have been appended without the settings saved after it).
void RecoverAfterInterruptedRun(const Archive& archive, const ArchiveLock& lock);

} // namespace lumo
