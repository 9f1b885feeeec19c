#include "TestArchive.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace lumo::test {

TempArchive::TempArchive() {
    static std::atomic<int> counter{0};
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate =
            base / ("lumo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            dir_ = candidate;
            break;
        }
    }
}

TempArchive::~TempArchive() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void TempArchive::write(std::string_view name, std::string_view bytes) const {
    auto p = path(name);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write test file " + p.string());
}

std::string TempArchive::read(std::string_view name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool TempArchive::exists(std::string_view name) const {
    return std::filesystem::exists(path(name));
}

std::string RecordBytes(const std::vector<std::string>& keys, std::string_view info, int box) {
    std::string r(82, ' ');
    for (size_t k = 0; k < 8; ++k) {
        std::string key = k < keys.size() ? keys[k] : std::string();
        if (key.empty()) {
            r[k * 6] = '\0';
        } else {
            for (size_t i = 0; i < key.size() && i < 6; ++i)
                r[k * 6 + i] = key[i];
        }
    }
    for (size_t i = 0; i < info.size() && i < 32; ++i)
        r[48 + i] = info[i];
    r[48 + std::min<size_t>(info.size(), 32)] = '\0';
    r[81] = static_cast<char>(box & 0xFF);
    return r;
}

std::string HeaderRecordBytes(std::vector<std::string> values) {
    std::string r;
    values.resize(8);
    for (const auto& v : values) {
        std::string f(15, ' ');
        f.replace(0, std::min<size_t>(v.size(), 15), v.substr(0, 15));
        if (v.size() < 15)
            f[v.size()] = '\0';
        r += f;
    }
    return r;
}

std::string KeywordBytes(const std::vector<std::pair<std::string, std::string>>& entries) {
    if (entries.empty())
        return {};
    std::string s;
    for (const auto& [text, code] : entries)
        s += text + "\n" + code + "\n";
    return s + "*";
}

} // namespace lumo::test
