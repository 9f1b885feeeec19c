#pragma once
// A realistic German demo archive, written through the store: keyword tree, slide
// records, settings, box labels, header data, memos and the program's data files.
#include <cstdint>
#include <filesystem>
#include <string>

namespace lumo {

struct DemoOptions {
    int32_t slides = 400;          // records in dias.ddb (some of them free slots)
    int32_t memos = -1;            // memo files; -1: one for about every eighth slide
    std::filesystem::path dataDir; // sounds/, tips/, bilder/, DIA.HLP, dia.bmp, history.wri
                                   // to copy (optional)
    uint64_t seed = 19990607;
};

struct DemoResult {
    bool ok = false;
    std::string error; // what failed, for the command line tool
    int32_t activeSlides = 0;
    int32_t freeSlots = 0;
    int32_t memos = 0;
};

// Creates dir (and its parents) when missing and writes the archive files into it.
// Files of the same names are replaced; nothing else in dir is touched. Deterministic:
// the same options give the same bytes.
DemoResult MakeDemoArchive(const std::filesystem::path& dir, const DemoOptions& options);

// UTF-8 text (of the Latin-1 range) to code page 1252 bytes; other characters become '?'.
std::string Latin1FromUtf8(std::string_view utf8);

} // namespace lumo
