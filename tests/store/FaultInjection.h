#pragma once
// Faults for the write operations and snapshots of every file, to tell whole from torn writes.
#include "TestArchive.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <linux/capability.h>
#include <map>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace lumo::test {

// Every file and directory below an archive: relative name -> bytes ("<dir>" for a directory).
using Snapshot = std::map<std::string, std::string>;

inline Snapshot TakeSnapshot(const std::filesystem::path& dir) {
    Snapshot s;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        std::ifstream in(e.path(), std::ios::binary);
        s[std::filesystem::relative(e.path(), dir).string()] =
            e.is_directory() ? "<dir>" : std::string(std::istreambuf_iterator<char>(in), {});
    }
    return s;
}

// Names whose state is neither the one before nor the one after the write.
inline std::string NeitherBeforeNorAfter(const Snapshot& before, const Snapshot& after,
                                         const Snapshot& now) {
    auto state = [](const Snapshot& s, const std::string& name) {
        return s.count(name) ? s.at(name) : std::string("<none>");
    };
    std::string bad;
    for (const auto* s : {&before, &after, &now})
        for (const auto& [name, bytes] : *s)
            if (state(now, name) != state(before, name) && state(now, name) != state(after, name))
                bad += bad.find(name + " ") == std::string::npos ? name + " " : "";
    return bad;
}

// The archive write-protected (dirs r-x, files r--, root's override lowered) in this scope.
class WriteProtectedArchive {
public:
    // `files`: the mode its files get (0644: a write-protected directory of writable files).
    explicit WriteProtectedArchive(const std::filesystem::path& dir, mode_t files = 0444)
        : dir_(dir) {
        chmodAll(0555, files);
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WriteProtectedArchive() {
        if (lowered_)
            ::syscall(SYS_capset, &header_, saved_);
        chmodAll(0755, 0644);
    }
    bool ok() const { return lowered_ || ::geteuid() != 0; } // false: the fault cannot be made
private:
    void chmodAll(mode_t dirs, mode_t files) const {
        ::chmod(dir_.c_str(), dirs);
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir_))
            ::chmod(e.path().c_str(), e.is_directory() ? dirs : files);
    }
    std::filesystem::path dir_;
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

// No file grows past `bytes` (the write gets EFBIG as on a full file system) in this scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

enum class Fault { WriteProtected, FileSystemFull, TargetDirectory, TargetRemoved };

inline const char* FaultName(Fault f) {
    static const char* const names[] = {"WriteProtected", "FileSystemFull", "TargetDirectory",
                                        "TargetRemoved"};
    return names[static_cast<int>(f)];
}

// A file replaced by a directory with one file in it (so that nothing removes it).
inline void ReplaceByDirectory(const std::filesystem::path& file) {
    std::filesystem::remove_all(file);
    std::filesystem::create_directories(file);
    std::ofstream(file / "inhalt") << "x";
}

} // namespace lumo::test
