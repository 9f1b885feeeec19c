#pragma once
// Files of an archive are opened through a descriptor of the archive directory, never by
// following a path string: an archive may come from another computer, and its names may be
// links that lead out of it, FIFOs, devices or directories where a file belongs.
//
// Every Archive registers its directory here. A path that lies inside a registered directory
// is opened relative to that directory's descriptor with openat2(RESOLVE_BENEATH) (where the
// kernel lacks it: openat with O_NOFOLLOW on every component), so nothing outside the
// directory is read, written, truncated or waited on. Other paths (places the user chose in
// a dialog or on the command line) are opened as they are.
#include <filesystem>
#include <memory>
#include <string>

namespace lumo {

// The errno value of a name inside an archive that leads out of it, or names a FIFO, device
// or socket: the operation is refused (SystemErrorNumber gives 5, "access denied").
inline constexpr int kNotArchiveFile = EXDEV;

// Keeps `dir` registered as an archive directory while the returned token (or a copy) lives.
std::shared_ptr<const void> ConfineToDirectory(const std::filesystem::path& dir);

// Where a path lies: inside a registered directory (root open, `rel` the rest, never empty
// for a file) or outside every one (root -1).
struct PathPlace {
    int root = -1;   // descriptor of the archive directory, or -1
    std::string rel; // the path below it ("" for the directory itself)
    PathPlace() = default;
    PathPlace(const PathPlace&) = delete;
    PathPlace& operator=(const PathPlace&) = delete;
    ~PathPlace();
};

// Fills `place` for `path`; false (errno set) when the archive directory cannot be opened.
bool LocatePath(const std::filesystem::path& path, PathPlace& place);

// open(2) for `rel` below `root` that never leaves it: "..", absolute links and links that
// lead outside give kNotArchiveFile. Returns the descriptor or -1 with errno set.
int OpenBeneath(int root, const std::string& rel, int flags, unsigned mode = 0);

// Opens `path` as open(2) would, confined when it lies in an archive directory.
int OpenPath(const std::filesystem::path& path, int flags, unsigned mode = 0);

// Opens the directory that holds `path` (O_RDONLY | O_DIRECTORY) and gives the last
// component in *name; -1 with errno set on failure.
int OpenParentDirectory(const std::filesystem::path& path, std::string* name);

// Whether openat2 is used (true where the kernel has it). Tests turn it off to run the
// component-by-component fallback.
void UseOpenat2(bool use);

} // namespace lumo
