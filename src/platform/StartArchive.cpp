#include "platform/StartArchive.h"

#include "platform/LastArchive.h"
#include "store/Archive.h"
#include "store/FileUtil.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace lumo {

namespace fs = std::filesystem;

namespace {

fs::path Home() {
    const char* home = std::getenv("HOME");
    return home && *home ? fs::path(home) : fs::path("/");
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs: a quoted absolute path or one starting with
// $HOME/. Lines look like XDG_DOCUMENTS_DIR="$HOME/Dokumente".
std::optional<fs::path> DocumentsFromUserDirs() {
    const auto text = ReadWholeFile(ConfigDirectory().parent_path() / "user-dirs.dirs");
    if (!text)
        return std::nullopt;
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    size_t pos = 0;
    while (pos < text->size()) {
        size_t end = text->find('\n', pos);
        if (end == std::string::npos)
            end = text->size();
        const std::string line = text->substr(pos, end - pos);
        pos = end + 1;
        if (line.rfind(key, 0) != 0)
            continue;
        const size_t close = line.find('"', key.size());
        if (close == std::string::npos)
            return std::nullopt;
        const std::string value = line.substr(key.size(), close - key.size());
        if (value == "$HOME" || value.rfind("$HOME/", 0) == 0) {
            std::string rest = value.substr(5);
            while (!rest.empty() && rest.back() == '/')
                rest.pop_back();
            return rest.empty() ? Home() : Home() / rest.substr(1);
        }
        if (value.rfind('/', 0) == 0)
            return fs::path(value);
        return std::nullopt;
    }
    return std::nullopt;
}

std::string SystemText(int err) {
    return std::strerror(err);
}

// Copies templateDir into a fresh hidden directory beside target and renames it to
// target, so that target appears complete or not at all. EEXIST when target exists.
int CopyTemplate(const fs::path& templateDir, const fs::path& target) {
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + "-XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        return errno;
    const fs::path temp = pattern;
    // mkdtemp makes the directory private; the archive gets the user's usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temp.c_str(), 0777 & ~mask);
    std::error_code ec;
    fs::copy(templateDir, temp, fs::copy_options::recursive, ec);
    int err = ec.value();
    if (!err &&
        ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0)
        err = errno;
    if (err == EINVAL) {
        // A file system without RENAME_NOREPLACE: rename(2) would replace an empty
        // directory, so look first.
        err = fs::exists(fs::symlink_status(target, ec)) ? EEXIST : 0;
        if (!err && ::rename(temp.c_str(), target.c_str()) != 0)
            err = errno;
    }
    if (err)
        fs::remove_all(temp, ec);
    return err;
}

} // namespace

bool HoldsArchive(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(Archive(dir).resolve("dias.ddb"), ec);
}

fs::path DocumentsDirectory() {
    if (auto docs = DocumentsFromUserDirs(); docs && *docs != Home())
        return *docs;
    std::error_code ec;
    for (const char* name : {"Dokumente", "Documents"})
        if (fs::is_directory(Home() / name, ec))
            return Home() / name;
    return Home() / "Dokumente";
}

StartChoice ChooseStartArchive(const fs::path& templateDir) {
    StartChoice choice;
    if (auto remembered = RememberedArchive()) {
        if (HoldsArchive(*remembered)) {
            choice.archive = *remembered;
            return choice;
        }
        choice.unreachable = remembered;
    }

    const fs::path docs = DocumentsDirectory();
    std::error_code ec;
    fs::create_directories(docs, ec);
    if (ec) {
        choice.error = "Das Verzeichnis " + docs.string() +
                       " konnte nicht angelegt werden: " + SystemText(ec.value());
        return choice;
    }
    for (int n = 1; n <= 99 && choice.archive.empty(); ++n) {
        const fs::path target = docs / (n == 1 ? std::string("Lumoretta-Archiv")
                                               : "Lumoretta-Archiv-" + std::to_string(n));
        if (HoldsArchive(target)) {
            choice.archive = target;
            break;
        }
        if (fs::exists(fs::symlink_status(target, ec)))
            continue;
        if (!HoldsArchive(templateDir)) {
            choice.error = "Die Archiv-Vorlage " + templateDir.string() + " fehlt.";
            return choice;
        }
        const int err = CopyTemplate(templateDir, target);
        if (err == EEXIST || err == ENOTEMPTY) {
            --n; // someone made it meanwhile: look at the same name again
            continue;
        }
        if (err) {
            choice.error = "Das Archiv " + target.string() +
                           " konnte nicht angelegt werden: " + SystemText(err);
            return choice;
        }
        choice.archive = target;
        choice.created = true;
    }
    if (choice.archive.empty()) {
        choice.error = "In " + docs.string() + " ist kein Name für ein neues Archiv frei.";
        return choice;
    }
    if (!choice.unreachable)
        RememberArchive(choice.archive);
    return choice;
}

} // namespace lumo
