#pragma once
// The catalogue table for spreadsheets written to a file the user chose.
#include "extras/logic/Catalog.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// Archive text (code page 1252) as UTF-8, through the program's codec.
std::string Cp1252ToUtf8(std::string_view cp1252);

// What an export did, for the window and the command line alike.
struct ExportOutcome {
    bool ok = false;
    int items = 0;       // slides written (CSV) or sidecars written (XMP)
    int failures = 0;    // items that could not be written (XMP)
    std::string message; // UTF-8: the summary, or what went wrong
};

// The German text of a store problem, for messages outside the message catalogue's
// windows (the command line).
std::string ProblemText(const Problem& problem);

// Writes the table of the whole archive (`only` unset) or of the given slide numbers to
// `file`, all or nothing (a temporary file renamed into place).
ExportOutcome ExportCsv(const Archive& archive, const std::filesystem::path& file,
                        const std::optional<std::vector<int32_t>>& only = std::nullopt);

} // namespace lumo
