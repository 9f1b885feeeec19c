#pragma once
// Keyword files keyword1..keyword3: entries of a text line and a code line (LF each),
// then a single "*". A 0-byte file holds no entries.
#include "store/Archive.h"
#include "store/Problem.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

struct KeywordEntry {
    std::string text;  // bytes up to the LF (a CR stays part of the text)
    std::string code;  // bytes of the code line up to its LF
    size_t offset = 0; // byte offset of the entry's first byte
};

// The entry walk: stops at a text line starting with "*" or at the end of the data
// (a file without the final "*" or with a missing last code line ends there).
std::vector<KeywordEntry> ParseKeywordFile(std::string_view data);

// Bare file names of level 1..3 ("keyword1"...) and of their undo copies ("keyword1.old"...).
std::string KeywordFileName(int level);
std::string KeywordOldFileName(int level);

// One displayed level list.
struct LevelList {
    std::array<std::string, 17> texts; // position 1..17 at index 0..16, <= 18 bytes each
    int32_t count = 0;
    std::string currentCode; // "--" / "----" when none (level 3 keeps the last code found)
    std::string currentText; // selected text padded/cut to 19 bytes
};

struct LevelLists {
    std::array<LevelList, 3> levels; // index 0 = level 1
    LevelLists();
};

// Fills level L (1..3) with the entries below the current code of level L-1, selecting
// position s (>= 1). A missing file gives Problem::Io (list unchanged). An empty file
// empties the list (and sets the no-selection code for levels 1 and 2). Entries past
// the 17th of a damaged file are ignored.
Problem LoadLevelList(const Archive& archive, LevelLists& lists, int level, int selected);

// Keeps the three keyword files in memory while they are unchanged on disk
// (checked by size and modification time), so scans do not reload them per hit.
class KeywordCache {
public:
    // The parsed entries of level 1..3; nullptr + problem when the file cannot be read.
    const std::vector<KeywordEntry>* entries(const Archive& archive, int level, Problem& problem);
    void invalidate();
    // While frozen, lists loaded once are returned without checking the files again: for
    // one scan over many records, during which nothing writes the keyword files.
    void setFrozen(bool frozen) { frozen_ = frozen; }
    bool frozen() const { return frozen_; }

private:
    struct Slot {
        bool valid = false;
        std::filesystem::path dir;
        std::filesystem::path path;
        long long size = -1;
        long long mtimeNs = 0;
        unsigned long long ino = 0;
        std::vector<KeywordEntry> entries;
    };
    std::array<Slot, 3> slots_;
    bool frozen_ = false;
};

// Undo-copy protocol (file side). Each returns 0 or a system error number.
// Replaces keywordN.old by a copy of keywordN in one rename (the old copy stays whole until
// the new one is complete); *unreadable tells that keywordN itself could not be read.
int RefreshUndoCopy(const Archive& archive, int level, bool* unreadable = nullptr);
// Copies keyword1..3 over keyword1.old..3.old (all three; failures are not reported).
void RefreshUndoCopies(const Archive& archive);
// Truncates the three .old files to 0 bytes (start-up analysis).
void EmptyUndoCopies(const Archive& archive);
// Copies keywordN.old back over keywordN for N = 1, 2, 3; stops at the first failure and
// returns its error number (0 when all three were copied).
int RestoreFromUndoCopies(const Archive& archive);

// The code a record slot holds for an entry of level 1..3: the first 2, 4 or 6 bytes of
// its code line padded with blanks to 6; empty when the code line is shorter.
std::string SlotCodeOf(const KeywordEntry& entry, int level);
// True when one of the slot codes resolves through the keyword files but would no longer
// after the undo copies were restored (a keyword added since them). Missing or unreadable
// files resolve nothing.
bool UndoWouldRemoveKeys(const Archive& archive, const std::array<std::string, 8>& slotCodes);

} // namespace lumo
