#pragma once
// Adding a keyword to one level file: where it goes, which code it gets, and the
// refusals (duplicate name, too many keys with one initial). Pure byte work; the
// window asks the question and writes the result.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumo {

struct KeywordInsertion {
    enum class Outcome {
        Inserted,    // newFile holds the level file with the entry added (ask, then write)
        DirectWrite, // the file was empty: newFile is the first entry, written without question
        Duplicate,   // a keyword of this name exists in the level (error 18)
        TooMany,     // the parent already holds nine keys with this initial (error 19)
        OpenFailed,  // the level file could not be read (error 71)
    };
    Outcome outcome = Outcome::OpenFailed;
    std::string newFile; // bytes of the whole new level file
    std::string code;    // the new keyword's LevelCode
    size_t insertAt = 0; // byte offset of the new entry in newFile
};

// Plans the insertion of `name` (code page 1252 bytes, first byte 'A'..'Z') into the
// level file whose current bytes are `file` (nullopt: it could not be opened).
// `reference` is the parent's code: empty for level 1, 2 bytes for level 2, 4 for level 3.
KeywordInsertion PlanKeywordInsertion(std::optional<std::string_view> file, int level,
                                      std::string_view name, std::string_view reference);

} // namespace lumo
