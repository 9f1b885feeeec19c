#pragma once
// What the fuzz targets share: one input split into several archive files, a scratch
// archive directory per process, a small parameter reader and the check that ends a run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace lumo::fuzz {

// The parts of one input are separated by this marker.
inline constexpr std::string_view kPartSeparator = "#@@#";

// Splits the input into exactly `count` parts; missing parts are empty, the last part
// takes the rest of the input.
inline std::vector<std::string> SplitParts(const uint8_t* data, size_t size, size_t count) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    while (parts.size() + 1 < count) {
        const size_t cut = in.find(kPartSeparator);
        if (cut == std::string_view::npos)
            break;
        parts.emplace_back(in.substr(0, cut));
        in.remove_prefix(cut + kPartSeparator.size());
    }
    parts.emplace_back(in);
    parts.resize(count);
    return parts;
}

// Joins parts with the separator (the seed builder writes inputs with it).
inline std::string JoinParts(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += kPartSeparator;
        out += parts[i];
    }
    return out;
}

// Small numbers taken from a parameter part, byte by byte; 0 when used up.
class Params {
public:
    explicit Params(std::string_view bytes) : bytes_(bytes) {}
    unsigned next() {
        return pos_ < bytes_.size() ? static_cast<unsigned char>(bytes_[pos_++]) : 0u;
    }
    // A number in 0..range-1.
    unsigned below(unsigned range) { return range == 0 ? 0 : next() % range; }
    bool flag() { return next() & 1u; }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

// A directory of its own under /dev/shm (or TMPDIR), emptied for every input and
// removed when the process ends.
class ScratchArchive {
public:
    ScratchArchive() {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec))
            base = std::filesystem::temp_directory_path();
        std::string tmpl = (base / "lumo-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        dir_ = tmpl;
    }
    ~ScratchArchive() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    ScratchArchive(const ScratchArchive&) = delete;
    ScratchArchive& operator=(const ScratchArchive&) = delete;

    const std::filesystem::path& dir() const { return dir_; }

    // Removes everything in the directory.
    void clear() const {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(dir_, ec))
            std::filesystem::remove_all(e.path(), ec);
    }
    void write(const std::string& name, std::string_view bytes) const {
        const auto path = dir_ / name;
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path dir_;
};

// Upper case for a..z only, as the program compares texts.
inline std::string FoldAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return r;
}

// Ends the run with a message: libFuzzer records the input as a finding.
[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "fuzz check failed at %s:%d: %s\n", file, line, what);
    std::abort();
}

} // namespace lumo::fuzz

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::lumo::fuzz::Fail(__FILE__, __LINE__, #cond);                                         \
    } while (0)
