#include "services/logic/BackupTarget.h"

#include <sys/stat.h>

namespace lumo {

namespace {

namespace fs = std::filesystem;

// Whether one of the two directories lies in the other (or both are the same), after
// links are followed.
bool Overlap(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    const fs::path ca = fs::weakly_canonical(a, ec);
    const fs::path cb = fs::weakly_canonical(b, ec);
    auto within = [](const fs::path& inner, const fs::path& outer) {
        auto i = inner.begin();
        for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
            if (o->empty())
                continue; // a trailing separator
            if (i == inner.end() || *i != *o)
                return false;
        }
        return true;
    };
    return within(ca, cb) || within(cb, ca);
}

// The target and the subdirectories the backup writes into.
template <typename Test> bool AnyOfTargetDirectories(const fs::path& target, Test test) {
    const Archive there(target);
    return test(target) || test(there.resolve("memo")) || test(there.resolve("bilder"));
}

} // namespace

BackupTargetCheck CheckChosenBackupTarget(const Archive& archive, const fs::path& target) {
    const bool overlaps = AnyOfTargetDirectories(
        target, [&](const fs::path& dir) { return Overlap(dir, archive.dir()); });
    return overlaps ? BackupTargetCheck::OverlapsArchive : BackupTargetCheck::Usable;
}

BackupTargetCheck CheckAutomaticBackupTarget(const fs::path& target) {
    // Each of them a directory of its own (or not there yet: it is created).
    const bool linked = AnyOfTargetDirectories(target, [](const fs::path& dir) {
        struct stat st {};
        return ::lstat(dir.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    });
    // A real directory of the archive never is or holds the archive.
    return linked ? BackupTargetCheck::NotOwnDirectory : BackupTargetCheck::Usable;
}

} // namespace lumo
