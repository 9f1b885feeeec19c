#pragma once
// Where a backup of the archive may be written. A backup is a separate copy: never the
// archive itself, nothing inside it (except its own Backup directory for the automatic
// backup) and nothing that holds it. The automatic backup writes only into a real
// directory `Backup` of the archive, never through a link that an archive from elsewhere
// may have put there.
#include "store/Archive.h"

#include <filesystem>

namespace lumo {

enum class BackupTargetCheck {
    Usable,
    OverlapsArchive, // the target (or its memo / bilder) is the archive, lies in it or holds it
    NotOwnDirectory, // automatic backup: Backup (or its memo / bilder) is a link or no directory
};

// The target of a backup the user chose (a volume's Backup directory).
BackupTargetCheck CheckChosenBackupTarget(const Archive& archive,
                                          const std::filesystem::path& target);
// The archive's own Backup directory, target of the automatic backup (`target` is
// archive.dir() / "Backup").
BackupTargetCheck CheckAutomaticBackupTarget(const std::filesystem::path& target);

} // namespace lumo
