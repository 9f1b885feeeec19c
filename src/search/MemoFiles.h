#pragma once
// The memo files of an archive for a pass over many slides: the memo directory is listed
// once and each memo is read relative to it, instead of a lookup per slide number.
#include "store/Archive.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumo {

class MemoFiles {
public:
    // The files "<n>.txt" (any letter case) of the slides 1..total; where two names
    // differ only in case the archive's own resolution decides.
    MemoFiles(const Archive& archive, int32_t total);
    ~MemoFiles();
    MemoFiles(const MemoFiles&) = delete;
    MemoFiles& operator=(const MemoFiles&) = delete;

    bool has(int32_t n) const;
    // Reads memo n whole into `out`: 0, or the errno value (ENOENT when slide n has no
    // memo file, EINVAL when it is no regular file).
    int read(int32_t n, std::string& out) const;

private:
    int dirFd_ = -1;
    std::vector<std::string> names_; // index n; empty: slide n has no memo file
};

} // namespace lumo
