#include "store/Keywords.h"

#include "store/FileUtil.h"

#include <algorithm>
#include <cerrno>
#include <set>
#include <sys/stat.h>

namespace lumo {

std::vector<KeywordEntry> ParseKeywordFile(std::string_view data) {
    std::vector<KeywordEntry> entries;
    size_t pos = 0;
    while (pos < data.size() && data[pos] != '*') {
        size_t textEnd = data.find('\n', pos);
        // A text line without its LF, or one with no code line after it, ends a damaged
        // file: the incomplete entry is not taken.
        if (textEnd == std::string_view::npos || textEnd + 1 >= data.size())
            break;
        size_t codeStart = textEnd + 1;
        size_t codeEnd = data.find('\n', codeStart);
        if (codeEnd == std::string_view::npos)
            codeEnd = data.size();
        KeywordEntry e;
        e.text = std::string(data.substr(pos, textEnd - pos));
        e.code = std::string(data.substr(codeStart, codeEnd - codeStart));
        e.offset = pos;
        entries.push_back(std::move(e));
        pos = codeEnd + 1;
    }
    return entries;
}

std::string KeywordFileName(int level) {
    return "keyword" + std::to_string(level);
}
std::string KeywordOldFileName(int level) {
    return KeywordFileName(level) + ".old";
}

LevelLists::LevelLists() {
    levels[0].currentCode = "--";
    levels[1].currentCode = "----";
    for (auto& l : levels)
        l.currentText = std::string(19, ' ');
}

Problem LoadLevelList(const Archive& archive, LevelLists& lists, int level, int selected) {
    if (level < 1 || level > 3)
        return Problem::io(SystemErrorNumber(EINVAL));
    LevelList& list = lists.levels[static_cast<size_t>(level - 1)];
    const char* noSelection = level == 1 ? "--" : (level == 2 ? "----" : nullptr);

    int err = 0;
    auto data = ReadWholeFile(archive.resolve(KeywordFileName(level)), &err);
    if (!data)
        return Problem::io(err);

    // An empty file shows an empty list. (Keeping the old list here would go on
    // showing keywords that an undo has just taken out of the file.)
    for (auto& t : list.texts)
        t.clear();
    list.count = 0;
    if (noSelection)
        list.currentCode = noSelection;
    if (data->empty())
        return {};

    std::string parent;
    size_t parentLen = 0;
    if (level > 1) {
        parent = lists.levels[static_cast<size_t>(level - 2)].currentCode;
        parentLen = static_cast<size_t>(level - 1) * 2;
    }
    const size_t codeLen = static_cast<size_t>(level) * 2;
    int p = 0;
    for (const auto& e : ParseKeywordFile(*data)) {
        if (level > 1 && (parent.size() != parentLen || e.code.compare(0, parentLen, parent) != 0 ||
                          e.code.size() < parentLen))
            continue;
        // At most 17 positions: further entries of a damaged file are ignored.
        if (p == static_cast<int>(list.texts.size()))
            break;
        ++p;
        if (p == selected) {
            list.currentCode = e.code.substr(0, codeLen);
            std::string t = e.text.substr(0, 19);
            t.resize(19, ' ');
            list.currentText = t;
        }
        list.texts[static_cast<size_t>(p - 1)] = e.text.substr(0, 18);
    }
    list.count = p;
    return {};
}

const std::vector<KeywordEntry>* KeywordCache::entries(const Archive& archive, int level,
                                                       Problem& problem) {
    problem = {};
    if (level < 1 || level > 3) {
        problem = {ProblemKind::KeywordOpenFailed, SystemErrorNumber(EINVAL), level};
        return nullptr;
    }
    Slot& slot = slots_[static_cast<size_t>(level - 1)];
    if (frozen_ && slot.valid && slot.dir == archive.dir())
        return &slot.entries;
    struct stat st {};
    // A file known under its resolved name is checked with one stat; the name lookup is
    // needed only for the first load or after a change.
    std::filesystem::path path;
    if (slot.valid && slot.dir == archive.dir() && ::stat(slot.path.c_str(), &st) == 0) {
        path = slot.path;
    } else if (path = archive.resolve(KeywordFileName(level)); ::stat(path.c_str(), &st) != 0) {
        slot.valid = false;
        problem = {ProblemKind::KeywordOpenFailed, SystemErrorNumber(errno), level};
        return nullptr;
    }
    long long mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    // Keyword files are rewritten through a rename, so a new inode also tells a change
    // that happened within one time stamp tick.
    if (slot.valid && slot.path == path && slot.size == static_cast<long long>(st.st_size) &&
        slot.mtimeNs == mtime && slot.ino == static_cast<unsigned long long>(st.st_ino))
        return &slot.entries;
    int err = 0;
    auto data = ReadWholeFile(path, &err);
    if (!data) {
        slot.valid = false;
        problem = {err == ENOMEM ? ProblemKind::KeywordNoMemory : ProblemKind::KeywordOpenFailed,
                   err, level};
        return nullptr;
    }
    slot.entries = ParseKeywordFile(*data);
    slot.path = path;
    slot.dir = archive.dir();
    slot.size = static_cast<long long>(st.st_size);
    slot.mtimeNs = mtime;
    slot.ino = static_cast<unsigned long long>(st.st_ino);
    slot.valid = static_cast<long long>(data->size()) == slot.size;
    return &slot.entries;
}

void KeywordCache::invalidate() {
    for (auto& s : slots_)
        s.valid = false;
}

int RefreshUndoCopy(const Archive& archive, int level, bool* unreadable) {
    int err = 0;
    const auto list = ReadWholeFile(archive.resolve(KeywordFileName(level)), &err);
    if (unreadable)
        *unreadable = !list;
    if (!list)
        return err ? err : SystemErrorNumber(EIO);
    // One rename: the old copy stays whole until the new one is complete.
    return WriteFileAtomically(archive.resolve(KeywordOldFileName(level)), *list);
}

void RefreshUndoCopies(const Archive& archive) {
    for (int level = 1; level <= 3; ++level)
        RefreshUndoCopy(archive, level);
}

void EmptyUndoCopies(const Archive& archive) {
    for (int level = 1; level <= 3; ++level)
        TruncateFile(archive.resolve(KeywordOldFileName(level)));
}

std::string SlotCodeOf(const KeywordEntry& entry, int level) {
    const size_t length = static_cast<size_t>(level) * 2;
    if (level < 1 || level > 3 || entry.code.size() < length)
        return {};
    std::string code = entry.code.substr(0, length);
    code.resize(6, ' ');
    return code;
}

bool UndoWouldRemoveKeys(const Archive& archive, const std::array<std::string, 8>& slotCodes) {
    auto resolvable = [&archive](std::string (*fileName)(int)) {
        std::set<std::string> codes;
        for (int level = 1; level <= 3; ++level) {
            const auto data = ReadWholeFile(archive.resolve(fileName(level)));
            if (!data)
                continue;
            for (const auto& e : ParseKeywordFile(*data))
                if (std::string code = SlotCodeOf(e, level); !code.empty())
                    codes.insert(std::move(code));
        }
        return codes;
    };
    const auto now = resolvable(KeywordFileName);
    const auto afterUndo = resolvable(KeywordOldFileName);
    return std::any_of(slotCodes.begin(), slotCodes.end(), [&](const std::string& code) {
        return now.count(code) != 0 && afterUndo.count(code) == 0;
    });
}

int RestoreFromUndoCopies(const Archive& archive) {
    for (int level = 1; level <= 3; ++level) {
        int err = CopyFileOver(archive.resolve(KeywordOldFileName(level)),
                               archive.resolve(KeywordFileName(level)));
        if (err)
            return err;
    }
    return 0;
}

} // namespace lumo
