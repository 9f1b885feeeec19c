#pragma once
// The floor an action is held against, measured in the same run on the same files: plain
// open/read/close of the files it reads, or plain open/write/close of the copies it makes
// and one syncfs. Each benchmark times its action and its floor in turn, so both see the
// same disk, and prints the floor and the ratio of the medians beside its own time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace lumo {

inline double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Every file whole, as a reader that knows the names would read it.
inline double ReadFilesMs(const std::vector<std::string>& paths) {
    static std::vector<char> buffer(1 << 16);
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& p : paths) {
        const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        while (::read(fd, buffer.data(), buffer.size()) > 0) {
        }
        ::close(fd);
    }
    return MsSince(start);
}

// The files (name below root, bytes) written into a new directory root, then one syncfs.
inline double WriteFilesMs(const std::filesystem::path& root,
                           const std::vector<std::pair<std::string, std::string>>& files) {
    const auto start = std::chrono::steady_clock::now();
    ::mkdir(root.c_str(), 0777);
    for (const auto& [name, bytes] : files) {
        const std::filesystem::path p = root / name;
        int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 && errno == ENOENT) { // the first file of a subdirectory
            ::mkdir(p.parent_path().c_str(), 0777);
            fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        }
        if (fd < 0)
            continue;
        if (::write(fd, bytes.data(), bytes.size()) < 0) {
        }
        ::close(fd);
    }
    if (const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
    return MsSince(start);
}

// Times of the action and of its floor, one of each per iteration.
class FloorRecord {
public:
    void action(double ms) { action_.push_back(ms); }
    void floor(double ms) { floor_.push_back(ms); }
    void report(benchmark::State& state, const char* floorName = "floor_ms",
                const char* ratioName = "ratio") {
        if (action_.empty() || floor_.empty())
            return;
        const double a = Median(action_), f = Median(floor_);
        state.counters[floorName] = f;
        state.counters[ratioName] = a / f;
    }

private:
    static double Median(std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    }
    std::vector<double> action_, floor_;
};

// The memo files of an archive directory, as paths.
inline std::vector<std::string> MemoPaths(const std::filesystem::path& archive) {
    std::vector<std::string> paths;
    for (const auto& e : std::filesystem::directory_iterator(archive / "memo"))
        paths.push_back(e.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace lumo
