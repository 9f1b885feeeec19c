#pragma once
// The archive as a whole: opening another archive and laying out a new, empty one.
#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QString>

#include <filesystem>

namespace lumo {

class ArchiveCommands {
public:
    explicit ArchiveCommands(const FeatureContext& context) : ctx_(context) {}

    // "Archiv &öffnen...": the file dialog for dias.ddb, then the chosen archive replaces
    // the open one, and nothing the program held about the old one is kept.
    void OpenArchive();
    // "&Neues Archiv erstellen...": the directory prompt, the directories and the twelve
    // empty files, the program files copied from the open archive. Refuses the open
    // archive's directory and any directory whose archive files hold data.
    void CreateArchive();

    // The directory the new-archive prompt's text names: "~" is the home directory, a
    // relative path lies in the home directory as well.
    std::filesystem::path NewArchivePath(const QString& typed) const;

private:
    bool SwitchTo(const std::filesystem::path& dir);
    void ForgetArchiveState();
    void AnalyseWithProgress();
    void LayOutNewArchive(const std::filesystem::path& dir);
    void EndCommand();

    FeatureContext ctx_;
};

} // namespace lumo
