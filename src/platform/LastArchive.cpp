#include "platform/LastArchive.h"

#include "store/FileUtil.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace lumo {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFileName = "last-archive";

fs::path HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

} // namespace

fs::path ConfigDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
    if (xdg && *xdg == '/')
        return fs::path(xdg) / "lumoretta";
    return HomeDirectory() / ".config" / "lumoretta";
}

bool RememberArchive(const fs::path& dir) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(dir, ec).lexically_normal();
    if (ec || absolute.empty())
        return false;
    std::string line = absolute.string();
    if (line.size() > 1 && line.back() == '/')
        line.pop_back();
    if (line.find('\n') != std::string::npos || line.find('\0') != std::string::npos)
        return false;
    const fs::path config = ConfigDirectory();
    fs::create_directories(config, ec);
    if (ec)
        return false;
    return WriteFileAtomically(config / kFileName, line + "\n") == 0;
}

std::optional<fs::path> RememberedArchive() {
    const auto text = ReadWholeFile(ConfigDirectory() / kFileName);
    if (!text)
        return std::nullopt;
    std::string line = text->substr(0, text->find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.empty() || line.front() != '/')
        return std::nullopt;
    return fs::path(line);
}

} // namespace lumo
