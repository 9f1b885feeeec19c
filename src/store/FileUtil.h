#pragma once
// Whole-file reads and crash-safe whole-file writes.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumo {

// Reads the whole file; nullopt (and the system error number, SystemErrorNumber, in *err)
// when it cannot be opened or is not a regular file; 12 (ENOMEM) when there is no memory
// for its contents.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, int* err = nullptr);

// How far WriteFileAtomically goes to make the new contents survive a crash.
enum class Durability {
    // fsync of the file before the rename and of the directory after it: archive data.
    Durable,
    // No fsync: readers never see a half-written file, but after a system crash the old
    // contents (or none) may be back. For derived files that every run writes anew
    // (the reports).
    NoSync,
};

// Writes data to a temporary file in the same directory and renames it over path (the
// permissions of the old file are kept); Durable flushes file and directory as well. Inside
// an archive directory (ConfinedFiles.h) a link of that name is replaced, never the file it
// points to, and a FIFO, device or socket of that name is refused (kNotArchiveFile); in a
// place the user chose a link is followed. On failure the temporary file is removed, the old file
// is untouched and the system error number (SystemErrorNumber) is returned; 0 on success.
int WriteFileAtomically(const std::filesystem::path& path, std::string_view data,
                        Durability durability = Durability::Durable);

// Removes the temporary files that WriteFileAtomically leaves in `dir` when its process is
// killed during a write ("." + name + ".tmp" + six characters); call only while no other
// program writes there (see ArchiveLock). Returns how many were removed.
int RemoveLeftoverTemporaryFiles(const std::filesystem::path& dir);

// Copies a file over another one (atomically for the target); 0 or the system error number.
int CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Replaces a file by an empty one (atomically, as WriteFileAtomically); 0 or the system
// error number.
int TruncateFile(const std::filesystem::path& path);

// Removes a file (a link itself, never its target); 0 or the system error number.
int RemoveFile(const std::filesystem::path& path);

// Opens a regular file with open(2) flags; O_NONBLOCK keeps a FIFO of that name from
// blocking the open, and anything that is not a regular file counts as a file that cannot
// be opened (EISDIR for a directory, kNotArchiveFile otherwise). Inside an archive
// directory the file must lie below it (ConfinedFiles.h) and is looked at before it is
// opened. Returns the descriptor, or -1 with the errno value in *err.
int OpenRegular(const std::filesystem::path& path, int flags, int* err);

// Whether OpenRegular would open the file for reading.
bool IsReadableFile(const std::filesystem::path& path);

} // namespace lumo
