#pragma once
// Whole-file reads and crash-safe whole-file writes.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumo {

// Reads the whole file; nullopt (and errno-based error in *err) when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, int* err = nullptr);

// Writes data to a temporary file in the same directory, flushes it and renames it
// over path. On failure the old file is untouched and the system error number
// (SystemErrorNumber) is returned; 0 on success.
int WriteFileAtomically(const std::filesystem::path& path, std::string_view data);

// Copies a file over another one (atomically for the target); 0 or the system error number.
int CopyFileOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Creates or truncates a file to 0 bytes; 0 or the system error number.
int TruncateFile(const std::filesystem::path& path);

} // namespace lumo
