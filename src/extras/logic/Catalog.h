#pragma once
// The archive's slides as the exports and printouts see them: every slide that is not a
// free slot, with its keys as paths of keyword names, its header data and its memo.
// Texts are code page 1252 bytes as the files hold them.
#include "store/Archive.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"
#include "store/Problem.h"
#include "store/SlideDatabase.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumo {

// One key slot of a slide. An empty slot has no code; a code that resolves to no
// keyword has no names.
struct KeyPath {
    std::string code; // the slot's code without trailing blanks
    // The names, level 1 first; shared by every slot of the same code, null when unresolved.
    std::shared_ptr<const std::vector<std::string>> path;
    bool empty() const { return code.empty(); }
    bool resolved() const { return path != nullptr; }
    const std::vector<std::string>& names() const;
    // "Natur / Blumen / Rosen" (separator " / "), the code for an unresolved key, "" when empty.
    std::string joined(std::string_view separator) const;
};

// Resolves slot codes the way the slide reader does (keyword3: the code line's first six
// bytes; keyword2: its first four and two blanks; keyword1: its first two and four blanks)
// and adds the names of the parents, found by the first 2 and 4 bytes of the code.
class KeywordPaths {
public:
    KeywordPaths() = default;
    // From the parsed keyword files of level 1..3.
    KeywordPaths(const std::vector<KeywordEntry>& level1, const std::vector<KeywordEntry>& level2,
                 const std::vector<KeywordEntry>& level3);
    KeyPath resolve(std::string_view slotCode) const;

private:
    // Slot code (6 bytes) -> the path of names of that keyword.
    std::unordered_map<std::string, std::shared_ptr<const std::vector<std::string>>> paths_;
};

struct CatalogSlide {
    int32_t number = 0;
    int box = 0;
    std::string position; // the three characters before the space of the info field
    std::string text;     // the information text after it, trailing blanks removed
    std::array<KeyPath, 8> keys;
    HeaderValues header;
    std::vector<std::string> memoLines; // empty when the slide has no memo
    bool hasMemo = false;
};

// What a reader should fill besides the record itself.
struct CatalogParts {
    bool headerData = true;
    bool memos = true;
};

// Position and text of an info field.
void SplitInfoText(std::string_view info, std::string& position, std::string& text);

// The slides of the archive in slide number order, free slots and never-written records
// (all 82 bytes zero) left out; `only` (when given) limits them to these slide numbers.
// Missing keyword files resolve nothing; a missing kopfdata.ddb gives empty header data;
// dias.ddb that cannot be read gives its problem; a memo that cannot be read gives Io.
Problem ReadCatalog(const Archive& archive, std::vector<CatalogSlide>& out,
                    const std::optional<std::vector<int32_t>>& only = std::nullopt,
                    CatalogParts parts = {});

// The key paths of the archive's keyword files (missing files count as empty).
KeywordPaths LoadKeywordPaths(const Archive& archive);

} // namespace lumo
