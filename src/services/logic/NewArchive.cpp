#include "services/logic/NewArchive.h"

#include "services/logic/BackupCopy.h"
#include "store/FileUtil.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {

NewArchiveTarget CheckNewArchiveTarget(const std::filesystem::path& dir,
                                       const std::filesystem::path& openArchive) {
    std::error_code ec;
    if (std::filesystem::equivalent(dir, openArchive, ec))
        return NewArchiveTarget::OpenArchive;
    const Archive target(dir);
    for (const auto& group : kNewArchiveFiles)
        for (std::string_view name : group)
            if (target.fileSize(name) > 0)
                return NewArchiveTarget::HoldsData;
    return NewArchiveTarget::Usable;
}

int CreateEmptyArchiveFile(const std::filesystem::path& dir, std::string_view name) {
    const Archive target(dir);
    // Without O_TRUNC: whatever happened since the check, no data is cut away here.
    int err = 0;
    const int fd = OpenRegular(target.resolve(name), O_WRONLY | O_CREAT, &err);
    if (fd < 0)
        return SystemErrorNumber(err);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        err = errno;
    else if (st.st_size > 0)
        err = EEXIST;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    return err == 0 ? 0 : SystemErrorNumber(err);
}

void CopyArchiveTemplates(const Archive& from, const std::filesystem::path& dir) {
    const Archive to(dir);
    for (std::string_view name : kNewArchiveCopies) {
        if (!from.exists(name))
            continue;
        // The copy keeps the spelling the file has in the open archive.
        const std::filesystem::path source = from.resolve(name);
        const size_t slash = name.rfind('/');
        const std::string sub(slash == std::string_view::npos ? "" : name.substr(0, slash + 1));
        // A file the directory has of its own (in any spelling) is its own and stays.
        const std::string target = sub + source.filename().string();
        if (to.exists(target))
            continue;
        CopyWhole(source, to.resolve(target));
    }
}

} // namespace lumo
