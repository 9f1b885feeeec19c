// Keyword files: the entry walk, the three level lists, key resolution of a slide and the
// insertion of a new keyword into a fuzzed level file, which must keep every entry a
// reader sees.
//   parts: keyword1 | keyword2 | keyword3 | new keyword name | parameters
#include "FuzzSupport.h"

#include "editing/logic/KeywordInsertion.h"
#include "store/FileUtil.h"
#include "store/Keywords.h"
#include "store/SlideDatabase.h"

#include <algorithm>

namespace {

using namespace lumo;

void CheckWalk(std::string_view file, const std::vector<KeywordEntry>& entries) {
    size_t previous = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const KeywordEntry& e = entries[i];
        FUZZ_CHECK(i == 0 || e.offset > previous);
        FUZZ_CHECK(e.text.find('\n') == std::string::npos);
        FUZZ_CHECK(e.code.find('\n') == std::string::npos);
        FUZZ_CHECK(file.substr(e.offset, e.text.size()) == e.text);
        FUZZ_CHECK(e.text.empty() || e.text[0] != '*');
        previous = e.offset;
    }
}

// What the keyword prompt lets through: an initial A..Z, at most 18 bytes, one line.
std::string PromptName(std::string raw) {
    raw.erase(std::remove_if(raw.begin(), raw.end(), [](char c) { return c == '\n' || c == '\r'; }),
              raw.end());
    raw.resize(std::min<size_t>(raw.size(), 18));
    if (raw.empty())
        raw = "A";
    if (raw[0] < 'A' || raw[0] > 'Z')
        raw[0] = static_cast<char>('A' + static_cast<unsigned char>(raw[0]) % 26);
    return raw;
}

using Pair = std::pair<std::string, std::string>;
std::vector<Pair> Pairs(const std::vector<KeywordEntry>& entries) {
    std::vector<Pair> out;
    for (const auto& e : entries)
        out.emplace_back(e.text, e.code);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchArchive scratch;
    auto parts = fuzz::SplitParts(data, size, 5);
    fuzz::Params params(parts[4]);
    scratch.clear();
    for (int level = 1; level <= 3; ++level)
        scratch.write(KeywordFileName(level), parts[static_cast<size_t>(level - 1)]);
    const Archive archive(scratch.dir());

    std::array<std::vector<KeywordEntry>, 3> entries;
    for (size_t i = 0; i < 3; ++i) {
        entries[i] = ParseKeywordFile(parts[i]);
        CheckWalk(parts[i], entries[i]);
    }

    // The level lists, selected as the mouse would.
    LevelLists lists;
    for (int level = 1; level <= 3; ++level) {
        const int selected = 1 + static_cast<int>(params.below(18));
        FUZZ_CHECK(!LoadLevelList(archive, lists, level, selected));
        const LevelList& list = lists.levels[static_cast<size_t>(level - 1)];
        FUZZ_CHECK(list.count >= 0 && list.count <= 17);
        FUZZ_CHECK(list.currentText.size() == 19);
        FUZZ_CHECK(list.currentCode.size() <= static_cast<size_t>(level) * 2);
        for (int i = 0; i < 17; ++i)
            FUZZ_CHECK(list.texts[static_cast<size_t>(i)].size() <= 18 &&
                       (i < list.count || list.texts[static_cast<size_t>(i)].empty()));
    }

    // A slide whose slots hold codes of the files resolves them.
    CurrentSlideData slide;
    for (size_t k = 0; k < 8; ++k) {
        const auto& level = entries[params.below(3)];
        std::string code =
            level.empty() ? std::string() : level[params.below(255) % level.size()].code;
        code.resize(std::min<size_t>(code.size(), 6));
        code.resize(6, ' ');
        slide.storedKeys[k] = code;
    }
    KeySelection keys;
    keys.clearAll(kEmptyKeyCode);
    FUZZ_CHECK(!ResolveKeys(archive, slide, keys));
    FUZZ_CHECK(keys.count >= 0 && keys.count <= 8);
    for (const auto& e : keys.entries)
        FUZZ_CHECK(e.name.size() <= 18 && e.code.size() <= 6);

    // The insertion of a new keyword, with the reference the lists on screen give.
    const int level = 1 + static_cast<int>(params.below(3));
    std::string reference;
    if (level == 2)
        reference = lists.levels[0].currentCode.substr(0, 2);
    else if (level == 3)
        reference = lists.levels[1].currentCode.substr(0, 4);
    if ((level == 2 && lists.levels[0].currentCode == "--") ||
        (level == 3 && lists.levels[1].currentCode == "----"))
        return 0; // the window refuses these before asking for a name
    const std::string name = PromptName(parts[3]);
    const std::string& file = parts[static_cast<size_t>(level - 1)];
    const KeywordInsertion plan =
        PlanKeywordInsertion(std::string_view(file), level, name, reference);
    const auto& before = entries[static_cast<size_t>(level - 1)];
    using Outcome = KeywordInsertion::Outcome;
    FUZZ_CHECK(plan.outcome != Outcome::OpenFailed);
    if (plan.outcome == Outcome::Duplicate) {
        FUZZ_CHECK(std::any_of(before.begin(), before.end(),
                               [&](const KeywordEntry& e) { return e.text == name; }));
        return 0;
    }
    if (plan.outcome == Outcome::TooMany)
        return 0;
    // Inserted or written directly: the new file holds every entry the reader saw in the
    // old one, in the same order, and the new entry at insertAt.
    FUZZ_CHECK(plan.outcome == Outcome::Inserted || file.empty());
    FUZZ_CHECK(plan.code.size() == reference.size() + 2);
    FUZZ_CHECK(plan.code.compare(0, reference.size(), reference) == 0);
    FUZZ_CHECK(plan.code[reference.size()] == name[0]);
    FUZZ_CHECK(plan.code.back() >= '1' && plan.code.back() <= '9');
    const auto after = ParseKeywordFile(plan.newFile);
    FUZZ_CHECK(after.size() == before.size() + 1);
    auto withoutNew = Pairs(after);
    size_t index = 0;
    while (index < after.size() && after[index].offset != plan.insertAt)
        ++index;
    FUZZ_CHECK(index < after.size());
    FUZZ_CHECK(after[index].text == name && after[index].code == plan.code);
    withoutNew.erase(withoutNew.begin() + static_cast<long>(index));
    FUZZ_CHECK(withoutNew == Pairs(before));
    FUZZ_CHECK(plan.newFile.find('*') != std::string::npos);

    // Written and read back through the level list of its parent.
    FUZZ_CHECK(WriteFileAtomically(archive.resolve(KeywordFileName(level)), plan.newFile) == 0);
    FUZZ_CHECK(!LoadLevelList(archive, lists, level, 1));
    return 0;
}
