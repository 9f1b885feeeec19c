#include "services/logic/BackupCopy.h"

#include "store/ConfinedFiles.h"
#include "store/FileUtil.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace lumo {

namespace {

constexpr BackupFile kSlideFiles[] = {{"dia.ini", 3},     {"kasten.ini", 5},    {"dialiste.txt", 8},
                                      {"kasten.txt", 10}, {"keyliste.txt", 12}, {"dia.bmp", 15},
                                      {"dias.ddb", 17},   {"dia.hlp", 20}};
constexpr BackupFile kKeywordFiles[] = {{"keyword1", 23},     {"keyword2", 26},
                                        {"keyword3", 30},     {"keyword1.old", 33},
                                        {"keyword2.old", 36}, {"keyword3.old", 40}};
constexpr BackupFile kHeaderFiles[] = {{"kopfdata.ddb", 60}};
constexpr BackupFile kPictureFiles[] = {{"bilder/autor.bmp", 81}};

void SyncDirectory(const std::filesystem::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

CopyResult CopyToTemporary(const std::filesystem::path& from, const std::filesystem::path& to,
                           CopyFaults* faults, bool flush, std::string& temporary);

// The path of an archive name inside a target directory: an entry of the same name in
// another case is reused, a new one gets the name as given.
std::filesystem::path TargetPath(const std::filesystem::path& dir, std::string_view name) {
    return Archive(dir).resolve(name);
}

class GroupCopier {
public:
    GroupCopier(const Archive& archive, const BackupRequest& request, BackupListener& listener)
        : archive_(archive), request_(request), listener_(listener) {}

    // The copies of all groups reach the disk with one flush of the file system before any
    // old copy is replaced and one after; a group that does not fit beside its old copy,
    // or a failure, flushes on the way.
    std::optional<BackupFailure> run() {
        replacements_.push_back(
            std::make_unique<GroupReplacement>(request_.targetDir, request_.faults, false));
        for (int group = 1; group <= kBackupGroups; ++group) {
            if (!request_.groups[static_cast<size_t>(group - 1)])
                continue;
            if (group > 1)
                listener_.Progress(ProgressBeforeGroup(group));
            GroupReplacement* into = replacements_.front().get();
            const bool numbered = group == kMemoGroup || group == kPictureGroup;
            const std::string sub = group == kMemoGroup ? "memo" : "bilder";
            if (numbered) {
                const std::filesystem::path dir = TargetPath(request_.targetDir, sub);
                if (MakeDirectory(dir) != 0)
                    listener_.SubdirectoryNotCreated(group);
                RemoveLeftoverStages(request_.targetDir, dir.filename().string());
                replacements_.push_back(std::make_unique<GroupReplacement>(dir, request_.faults));
                into = replacements_.back().get();
            }
            listener_.GroupStarted(group);
            for (const BackupFile& file : BackupGroupFiles(group)) {
                const std::string name(file.name);
                const std::filesystem::path target = TargetPath(request_.targetDir, name);
                if (!checked(into->Add(archive_.resolve(name), target.filename().string()), name,
                             target))
                    return abandon();
                listener_.Progress(file.progress);
            }
            bool copied = false;
            if (numbered && !copyNumbered(group, *into, copied))
                return abandon();
            if (copied)
                listener_.Progress(ProgressAfterNumberedFiles(group));
        }
        return placeAll();
    }

private:
    std::optional<BackupFailure> abandon() {
        for (auto& r : replacements_)
            r->Abandon(); // the copies made so far stay
        return failure_;
    }

    std::optional<BackupFailure> placeAll() {
        for (auto& r : replacements_)
            r->Seal();
        if (const int e = FlushFileSystem(request_.targetDir)) {
            failure_ = BackupFailure{SystemErrorNumber(e), "", request_.targetDir};
            return abandon();
        }
        for (auto& r : replacements_)
            if (const auto failed = r->Place()) {
                failure_ = BackupFailure{
                    failed->second, failed->first.lexically_relative(request_.targetDir).string(),
                    failed->first};
                return abandon();
            }
        FlushFileSystem(request_.targetDir);
        return std::nullopt;
    }

    // The result of one copy; a missing source is skipped when `missingIsNormal`.
    bool checked(CopyResult r, const std::string& name, const std::filesystem::path& target,
                 bool missingIsNormal = false, bool* copied = nullptr) {
        listener_.Tick();
        if (r.error == 0) {
            if (copied)
                *copied = true;
            return true;
        }
        if (r.sourceMissing && missingIsNormal)
            return true;
        if (!r.sourceMissing && r.error == 2 && request_.targetDirError != 0)
            r.error = SystemErrorNumber(request_.targetDirError);
        failure_ = BackupFailure{r.error, name, target};
        return false;
    }

    // memo/<n>.txt or bilder/<n>.bmp for n = 1..totalRecords. Source and target directory
    // are listed once, so a large archive costs one lookup per number.
    bool copyNumbered(int group, GroupReplacement& copies, bool& copied) {
        const std::string dir = group == kMemoGroup ? "memo" : "bilder";
        const std::string ext = group == kMemoGroup ? ".txt" : ".bmp";
        const std::filesystem::path targetSub = TargetPath(request_.targetDir, dir);
        const std::filesystem::path sourceSub = archive_.resolve(dir);
        // Confined to the archive: a memo or picture directory that leads out of it is none.
        const int sourceFd = OpenPath(sourceSub, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const auto present = archive_.listFolded(dir);
        const auto there = Archive(request_.targetDir).listFolded(dir);
        for (int32_t n = 1; n <= request_.totalRecords; ++n) {
            const std::string key = std::to_string(n) + ext;
            const auto found = present.find(key);
            if (found == present.end()) {
                if ((n & 1023) == 0)
                    listener_.Tick();
                continue;
            }
            const auto old = there.find(key);
            const std::string& targetName = old == there.end() ? found->second : old->second;
            if (!checked(sourceFd >= 0 ? copies.AddFrom(sourceFd, found->second, targetName)
                                       : copies.Add(sourceSub / found->second, targetName),
                         dir + "/" + found->second, targetSub / targetName, true, &copied)) {
                if (sourceFd >= 0)
                    ::close(sourceFd);
                return false;
            }
        }
        if (sourceFd >= 0)
            ::close(sourceFd);
        return true;
    }

    const Archive& archive_;
    const BackupRequest& request_;
    BackupListener& listener_;
    BackupFailure failure_;
    // The target directory itself (groups 1 to 3), then memo/ and bilder/ as they come.
    std::vector<std::unique_ptr<GroupReplacement>> replacements_;
};

} // namespace

CopyResult CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to,
                     CopyFaults* faults) {
    std::string temporary;
    CopyResult r = CopyToTemporary(from, to, faults, true, temporary);
    if (r.error != 0)
        return r;
    if (::rename(temporary.c_str(), to.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        return {SystemErrorNumber(err), false};
    }
    SyncDirectory(to.parent_path());
    return {};
}

namespace {

CopyResult CopyToTemporary(const std::filesystem::path& from, const std::filesystem::path& to,
                           CopyFaults* faults, bool flush, std::string& temporary) {
    int err = 0;
    const int in = OpenRegular(from, O_RDONLY, &err);
    if (in < 0)
        return {SystemErrorNumber(err), err == ENOENT};
    struct stat st {};
    ::fstat(in, &st);

    const std::filesystem::path dir = to.parent_path();
    std::string tmpl = (dir / ("." + to.filename().string() + ".tmpXXXXXX")).string();
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    int out = -1;
    if (faults && faults->createError)
        err = faults->createError;
    else if ((out = ::mkostemp(name.data(), O_CLOEXEC)) < 0)
        err = errno;
    if (out < 0) {
        ::close(in);
        return {SystemErrorNumber(err), false};
    }
    ::fchmod(out, st.st_mode & 0666);
    err = CopyBytes(in, out, faults);
    if (err == 0 && flush && ::fsync(out) != 0)
        err = errno;
    ::close(in);
    if (::close(out) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        ::unlink(name.data());
        return {SystemErrorNumber(err), false};
    }
    temporary.assign(name.data());
    return {};
}

} // namespace

int MakeDirectory(const std::filesystem::path& dir) {
    return ::mkdir(dir.c_str(), 0777) == 0 ? 0 : errno;
}

std::span<const BackupFile> BackupGroupFiles(int group) {
    switch (group) {
    case 1:
        return kSlideFiles;
    case 2:
        return kKeywordFiles;
    case 3:
        return kHeaderFiles;
    case kPictureGroup:
        return kPictureFiles;
    default:
        return {};
    }
}

int ProgressBeforeGroup(int group) {
    return group >= 2 && group <= kBackupGroups ? 20 * (group - 1) : 0;
}

int ProgressAfterNumberedFiles(int group) {
    return group == kMemoGroup ? 80 : 100;
}

bool PrepareBackupTarget(const Archive& archive, const BackupRequest& request) {
    if (Archive(request.targetDir).exists("dia.ini"))
        return true;
    CopyWhole(archive.resolve("dia.ini"), TargetPath(request.targetDir, "dia.ini"), request.faults);
    return false;
}

std::optional<BackupFailure> CopyBackupGroups(const Archive& archive, const BackupRequest& request,
                                              BackupListener& listener) {
    return GroupCopier(archive, request, listener).run();
}

} // namespace lumo
