#include "editing/logic/KeywordInsertion.h"

#include "store/Keywords.h"

#include <algorithm>
#include <vector>

namespace lumo {

namespace {

// Offset where the entry walk stopped: the final "*", or the end of the data in a
// damaged file (after its last complete entry).
size_t WalkEnd(std::string_view data, const std::vector<KeywordEntry>& entries) {
    if (entries.empty())
        return 0;
    const KeywordEntry& last = entries.back();
    return std::min(data.size(), last.offset + last.text.size() + last.code.size() + 2);
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
    std::string_view data = *file;

    if (data.empty()) {
        result.outcome = KeywordInsertion::Outcome::DirectWrite;
        result.code = std::string(reference) + std::string(initial) + "1";
        result.newFile = std::string(name) + "\n" + result.code + "\n*";
        result.insertAt = 0;
        return result;
    }

    // The same walk as the readers, so every entry the lists show is kept. A damaged
    // file without the final "*" (its last code line may lack the LF) is rewritten from
    // its entries first; an incomplete tail that no reader shows is not carried over.
    auto entries = ParseKeywordFile(data);
    size_t end = WalkEnd(data, entries);
    std::string repaired;
    if (end >= data.size() || data[end] != '*') {
        for (const auto& e : entries)
            repaired += e.text + "\n" + e.code + "\n";
        repaired += '*';
        data = repaired;
        entries = ParseKeywordFile(data);
        end = WalkEnd(data, entries);
    }
    const size_t parentLength = level == 1 ? 0 : (level == 2 ? 2 : 4);

    std::optional<size_t> insertAt;
    bool groupSeen = false;
    int same = 1;
    for (const auto& e : entries) {
        const std::string_view text = e.text;
        if (text == name) {
            result.outcome = KeywordInsertion::Outcome::Duplicate;
            return result;
        }
        const std::string_view parent = std::string_view(e.code).substr(0, parentLength);
        if (!insertAt) {
            if (level == 1) {
                if (text > name)
                    insertAt = e.offset;
            } else if (level == 2) {
                if ((parent == reference && text > name) || parent > reference)
                    insertAt = e.offset;
            } else {
                if (parent == reference) {
                    groupSeen = true;
                    if (text > name)
                        insertAt = e.offset;
                } else if (groupSeen) {
                    insertAt = e.offset;
                }
            }
        }
        if (!text.empty() && text.substr(0, 1) == initial && parent == reference)
            ++same;
    }
    if (same >= 10) {
        result.outcome = KeywordInsertion::Outcome::TooMany;
        return result;
    }
    const size_t at = insertAt.value_or(end);
    result.code = std::string(reference) + std::string(initial) + std::to_string(same);
    const std::string entry = std::string(name) + "\n" + result.code + "\n";

    result.newFile.reserve(data.size() + entry.size());
    result.newFile.append(data.substr(0, at));
    result.newFile.append(entry);
    result.newFile.append(data.substr(at));
    result.insertAt = at;
    result.outcome = KeywordInsertion::Outcome::Inserted;
    return result;
}

} // namespace lumo
