#pragma once
// The files of a new, empty archive, and the rules that keep an existing archive safe
// from being laid out anew over its data.
#include "store/Archive.h"

#include <array>
#include <filesystem>
#include <string_view>

namespace lumo {

// The twelve empty files of a new archive in their four groups, and the progress value
// after each group.
inline constexpr std::array<std::array<std::string_view, 3>, 4> kNewArchiveFiles{{
    {"KEYWORD1", "KEYWORD2", "KEYWORD3"},
    {"KEYWORD1.OLD", "KEYWORD2.OLD", "KEYWORD3.OLD"},
    {"DIAS.DDB", "KOPFDATA.DDB", "KASTEN.INI"},
    {"KASTEN.TXT", "KEYLISTE.TXT", "DIALISTE.TXT"},
}};
inline constexpr std::array<int, 4> kNewArchiveProgress{20, 40, 60, 80};

// Files copied from the open archive into a new one (when the open archive has them).
inline constexpr std::array<std::string_view, 5> kNewArchiveCopies{
    "DIA.INI", "DIA.BMP", "DIA.HLP", "bilder/AUTOR.BMP", "history.wri"};

enum class NewArchiveTarget {
    Usable,      // an existing directory the new archive may be laid out in
    OpenArchive, // the directory of the open archive
    HoldsData,   // one of the twelve files exists there and is not empty
};

// Judges an existing directory before a new archive is laid out in it.
NewArchiveTarget CheckNewArchiveTarget(const std::filesystem::path& dir,
                                       const std::filesystem::path& openArchive);

// Creates an empty archive file (the spelling of an entry of the same name in another case
// is kept). An existing empty file is left as it is; a file that holds data is never cut:
// that is a failure. 0 or the system error number.
int CreateEmptyArchiveFile(const std::filesystem::path& dir, std::string_view name);

// Copies those of kNewArchiveCopies from the open archive into dir that dir does not have
// yet, each whole or not at all; a file dir has already is never replaced. Failures are not
// reported.
void CopyArchiveTemplates(const Archive& from, const std::filesystem::path& dir);

} // namespace lumo
