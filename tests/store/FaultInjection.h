#pragma once
// Faults for the write operations: a write-protected archive, a file system that fills
// during a write, and the state of every file before and after, to tell a whole write
// from a torn one.
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
        const std::string name = std::filesystem::relative(e.path(), dir).string();
        if (e.is_directory()) {
            s[name] = "<dir>";
        } else {
            std::ifstream in(e.path(), std::ios::binary);
            s[name] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return s;
}

// Names whose state is neither the one before nor the one after the write (a torn or
// mixed file, a left-over temporary file, a file lost).
inline std::string NeitherBeforeNorAfter(const Snapshot& before, const Snapshot& after,
                                         const Snapshot& now) {
    std::string bad;
    auto state = [](const Snapshot& s, const std::string& name) {
        const auto it = s.find(name);
        return it == s.end() ? std::string("<none>") : it->second;
    };
    std::map<std::string, bool> names;
    for (const auto* s : {&before, &after, &now})
        for (const auto& [name, bytes] : *s)
            names[name] = true;
    for (const auto& [name, unused] : names) {
        const std::string n = state(now, name);
        if (n != state(before, name) && n != state(after, name))
            bad += name + " ";
    }
    return bad;
}

// Lowers the capabilities that let root write through file permissions, for the calling
// thread, until the end of the scope (nothing to do for other users).
class WithoutFileOverride {
public:
    WithoutFileOverride() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        ok_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutFileOverride() {
        if (ok_)
            ::syscall(SYS_capset, &header_, saved_);
    }
    WithoutFileOverride(const WithoutFileOverride&) = delete;
    WithoutFileOverride& operator=(const WithoutFileOverride&) = delete;
    // False when root's override could not be lowered (the fault cannot be made).
    bool ok() const { return ok_ || ::geteuid() != 0; }

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool ok_ = false;
};

// The whole archive write-protected: directories r-x, files r--, for this process too.
class WriteProtectedArchive {
public:
    explicit WriteProtectedArchive(const std::filesystem::path& dir) : dir_(dir) {
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir_))
            ::chmod(e.path().c_str(), e.is_directory() ? 0555 : 0444);
        ::chmod(dir_.c_str(), 0555);
    }
    ~WriteProtectedArchive() {
        override_.reset();
        ::chmod(dir_.c_str(), 0755);
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir_))
            ::chmod(e.path().c_str(), e.is_directory() ? 0755 : 0644);
    }
    WriteProtectedArchive(const WriteProtectedArchive&) = delete;
    WriteProtectedArchive& operator=(const WriteProtectedArchive&) = delete;
    bool ok() const { return override_ && override_->ok(); }

private:
    std::filesystem::path dir_;
    std::optional<WithoutFileOverride> override_{std::in_place};
};

// No file of this process grows past `bytes` (the write that would gets EFBIG, as on a
// full file system, instead of the signal) until the end of the scope.
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
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

// The four faults of a write.
enum class Fault {
    WriteProtected,  // the archive directory and its files cannot be written
    FileSystemFull,  // the file system fills during the write
    TargetDirectory, // the file the operation writes was replaced by a directory
    TargetRemoved,   // the file the operation writes was removed before it
};

inline const char* FaultName(Fault f) {
    switch (f) {
    case Fault::WriteProtected:
        return "WriteProtected";
    case Fault::FileSystemFull:
        return "FileSystemFull";
    case Fault::TargetDirectory:
        return "TargetDirectory";
    case Fault::TargetRemoved:
        return "TargetRemoved";
    }
    return "?";
}

// Replaces a file by a directory with one file in it (so that nothing removes it).
inline void ReplaceByDirectory(const std::filesystem::path& file) {
    std::filesystem::remove_all(file);
    std::filesystem::create_directories(file);
    std::ofstream(file / "inhalt") << "x";
}

} // namespace lumo::test
