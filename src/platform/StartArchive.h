#pragma once
// Which archive a start from the desktop menu opens: the one used last, or on the first
// start a new one copied from the installed template into the user's documents
// directory. No Qt.
#include <filesystem>
#include <optional>
#include <string>

namespace lumo {

// True when dir holds a slide database (dias.ddb in any spelling).
bool HoldsArchive(const std::filesystem::path& dir);

// The user's documents directory: XDG_DOCUMENTS_DIR of user-dirs.dirs in the
// configuration home, else an existing ~/Dokumente or ~/Documents, else ~/Dokumente.
std::filesystem::path DocumentsDirectory();

struct StartChoice {
    std::filesystem::path archive; // the directory to start in; empty when there is none
    bool created = false;          // archive was made from the template just now
    // The remembered archive when it no longer holds a slide database (a removed
    // volume, say); archive is then the one in the documents directory, and the
    // remembered entry is kept for the next start.
    std::optional<std::filesystem::path> unreachable;
    std::string error; // why there is no archive (archive empty)
};

// The remembered archive when it holds a slide database. Otherwise the first of
// <documents>/Lumoretta-Archiv, Lumoretta-Archiv-2, ... that holds one, or, met first,
// that does not exist yet: a copy of templateDir is made there. An existing directory
// or file is never written into or replaced. The archive chosen is remembered unless a
// remembered one is unreachable.
StartChoice ChooseStartArchive(const std::filesystem::path& templateDir);

} // namespace lumo
