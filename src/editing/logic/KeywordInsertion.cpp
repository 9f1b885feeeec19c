#include "editing/logic/KeywordInsertion.h"

#include <vector>

namespace lumo {

namespace {

struct WalkedEntry {
    std::string_view text;
    std::string_view code;
    size_t offset = 0;
};

// The entry walk over a level file. `end` receives the offset of the final "*", or,
// in a damaged file without it, the offset after the last complete entry.
std::vector<WalkedEntry> Walk(std::string_view data, size_t& end, bool& hasStar) {
    std::vector<WalkedEntry> entries;
    size_t pos = 0;
    hasStar = false;
    while (pos < data.size()) {
        if (data[pos] == '*') {
            hasStar = true;
            break;
        }
        const size_t textEnd = data.find('\n', pos);
        if (textEnd == std::string_view::npos)
            break;
        const size_t codeEnd = data.find('\n', textEnd + 1);
        if (codeEnd == std::string_view::npos)
            break;
        entries.push_back({data.substr(pos, textEnd - pos),
                           data.substr(textEnd + 1, codeEnd - textEnd - 1), pos});
        pos = codeEnd + 1;
    }
    end = pos;
    return entries;
}

} // namespace

KeywordInsertion PlanKeywordInsertion(std::optional<std::string_view> file, int level,
                                      std::string_view name, std::string_view reference) {
    KeywordInsertion result;
    if (!file) {
        result.outcome = KeywordInsertion::Outcome::OpenFailed;
        return result;
    }
    const std::string_view initial = name.substr(0, 1);
    const std::string_view data = *file;

    if (data.empty()) {
        result.outcome = KeywordInsertion::Outcome::DirectWrite;
        result.code = std::string(reference) + std::string(initial) + "1";
        result.newFile = std::string(name) + "\n" + result.code + "\n*";
        result.insertAt = 0;
        return result;
    }

    size_t end = 0;
    bool hasStar = false;
    const auto entries = Walk(data, end, hasStar);
    const size_t parentLength = level == 1 ? 0 : (level == 2 ? 2 : 4);

    std::optional<size_t> insertAt;
    bool groupSeen = false;
    int same = 1;
    for (const auto& e : entries) {
        if (e.text == name) {
            result.outcome = KeywordInsertion::Outcome::Duplicate;
            return result;
        }
        const std::string_view parent = e.code.substr(0, parentLength);
        if (!insertAt) {
            if (level == 1) {
                if (e.text > name)
                    insertAt = e.offset;
            } else if (level == 2) {
                if ((parent == reference && e.text > name) || parent > reference)
                    insertAt = e.offset;
            } else {
                if (parent == reference) {
                    groupSeen = true;
                    if (e.text > name)
                        insertAt = e.offset;
                } else if (groupSeen) {
                    insertAt = e.offset;
                }
            }
        }
        if (!e.text.empty() && e.text.substr(0, 1) == initial && parent == reference)
            ++same;
    }
    if (same >= 10) {
        result.outcome = KeywordInsertion::Outcome::TooMany;
        return result;
    }
    const size_t at = insertAt.value_or(end);
    result.code = std::string(reference) + std::string(initial) + std::to_string(same);
    const std::string entry = std::string(name) + "\n" + result.code + "\n";

    // A damaged file without the final "*" gets it back after its last complete entry;
    // the incomplete tail no reader could use is not carried over.
    const std::string_view tail = hasStar ? data.substr(at) : data.substr(at, end - at);
    result.newFile.reserve(data.size() + entry.size() + 1);
    result.newFile.append(data.substr(0, at));
    result.newFile.append(entry);
    result.newFile.append(tail);
    if (!hasStar)
        result.newFile.push_back('*');
    result.insertAt = at;
    result.outcome = KeywordInsertion::Outcome::Inserted;
    return result;
}

} // namespace lumo
