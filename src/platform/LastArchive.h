#pragma once
// The archive used last, remembered for the next start from the desktop menu: one line
// with its directory in $XDG_CONFIG_HOME/lumoretta/last-archive (~/.config/lumoretta
// when XDG_CONFIG_HOME is unset or not absolute). No Qt.
#include <filesystem>
#include <optional>

namespace lumo {

// The program's configuration directory (it need not exist).
std::filesystem::path ConfigDirectory();

// Remembers dir (made absolute) as the archive used last. The file is replaced whole;
// false when it cannot be written or the path cannot be kept on one line.
bool RememberArchive(const std::filesystem::path& dir);

// The remembered archive directory, or nullopt when none is remembered.
std::optional<std::filesystem::path> RememberedArchive();

} // namespace lumo
