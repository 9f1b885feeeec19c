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

// Writes data to a temporary file in the same directory, flushes it and renames it
// over path (fsync of file and directory; the permissions of the old file are kept; a
// symbolic link is followed). On failure the temporary file is removed, the old file is untouched
// and the system error number (SystemErrorNumber) is returned; 0 on success.
int WriteFileAtomically(const std::filesystem::path& path, std::string_view data);

// Copies a file over another one (atomically for the target); 0 or the system error number.
int CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Creates or truncates a file to 0 bytes; 0 or the system error number.
int TruncateFile(const std::filesystem::path& path);

} // namespace lumo
