#include "search/Criteria.h"

#include <cstring>

namespace lumo {

namespace {

// Folds `text` into `buf` (a..z only) and returns a view of it; `buf` must hold text.size().
std::string_view FoldInto(std::string_view text, char* buf) {
    for (size_t i = 0; i < text.size(); ++i)
        buf[i] = UpperAsciiChar(text[i]);
    return {buf, text.size()};
}

constexpr size_t kSlotCount = 8;
constexpr size_t kSlotSize = 6;
constexpr size_t kKeyArea = kSlotCount * kSlotSize; // 48: the info field starts here
constexpr size_t kInfoFieldSize = 33;

} // namespace

std::string UpperAscii(std::string_view text) {
    std::string s(text);
    UpperAsciiInPlace(s);
    return s;
}

void UpperAsciiInPlace(std::string& text) {
    for (auto& c : text)
        c = UpperAsciiChar(c);
}

std::string_view RecordTextUpToNul(const unsigned char* record82) {
    const void* nul = std::memchr(record82, 0, kRecordSize);
    size_t len = nul ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - record82)
                     : static_cast<size_t>(kRecordSize);
    return {reinterpret_cast<const char*>(record82), len};
}

std::string_view RecordInfo(const unsigned char* record82) {
    const unsigned char* info = record82 + kInfoOffset;
    const void* nul = std::memchr(info, 0, kInfoFieldSize);
    size_t len =
        nul ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - info) : kInfoFieldSize;
    return {reinterpret_cast<const char*>(info), len};
}

// --- keys ---

KeyMatcher::KeyMatcher(const KeySelection& keys) {
    count_ = keys.count < 0 ? 0 : (keys.count > 8 ? 8 : keys.count);
    for (int i = 0; i < count_; ++i) {
        codes_[i] = keys.entries[i].code;
        if (codes_[i].empty())
            hasEmpty_ = true;
    }
}

bool KeyMatcher::matches(std::string_view text) const {
    if (hasEmpty_)
        return false;
    for (int i = 0; i < count_; ++i) {
        const std::string& code = codes_[i];
        // Most records fail here: the code begins at no slot start at all.
        size_t slot = 0;
        while (slot < kKeyArea && (slot + code.size() > text.size() ||
                                   std::memcmp(text.data() + slot, code.data(), code.size()) != 0))
            slot += kSlotSize;
        if (slot >= kKeyArea)
            return false;
        // The first slot start holding it must also be the code's first occurrence.
        if (slot > 0 && text.substr(0, slot + code.size() - 1).find(code) != std::string_view::npos)
            return false;
    }
    return true;
}

bool KeyTest(std::string_view recordTextUpToNul, const KeySelection& keys) {
    return KeyMatcher(keys).matches(recordTextUpToNul);
}

// --- texts ---

TextMatcher::TextMatcher(std::string_view needle, bool caseSensitive)
    : needle_(needle), caseSensitive_(caseSensitive) {
    if (!caseSensitive_)
        UpperAsciiInPlace(needle_);
}

bool TextMatcher::matches(std::string_view haystack) const {
    if (needle_.empty() || needle_.size() > haystack.size())
        return false;
    if (caseSensitive_)
        return haystack.find(needle_) != std::string_view::npos;
    if (haystack.size() <= 64) {
        // Short texts (info fields): compare folded in place, no copy.
        const size_t last = haystack.size() - needle_.size();
        const char first = needle_[0];
        for (size_t i = 0; i <= last; ++i) {
            if (UpperAsciiChar(haystack[i]) != first)
                continue;
            size_t k = 1;
            while (k < needle_.size() && UpperAsciiChar(haystack[i + k]) == needle_[k])
                ++k;
            if (k == needle_.size())
                return true;
        }
        return false;
    }
    thread_local std::string folded;
    folded.resize(haystack.size());
    return FoldInto(haystack, folded.data()).find(needle_) != std::string_view::npos;
}

bool InfoTextTest(std::string_view info, std::string_view searchText, bool caseSensitive) {
    return TextMatcher(searchText, caseSensitive).matches(info);
}

bool MemoTextTest(std::string_view fileBytes, const TextMatcher& matcher) {
    // A line break can never be part of a line, so a needle holding one matches no line;
    // otherwise every occurrence in the file lies inside one line.
    if (matcher.needle().find_first_of("\r\n") != std::string::npos)
        return false;
    return matcher.matches(fileBytes);
}

bool MemoTextTest(std::string_view fileBytes, std::string_view searchText, bool caseSensitive) {
    return MemoTextTest(fileBytes, TextMatcher(searchText, caseSensitive));
}

// --- header data ---

HeaderMatcher::HeaderMatcher(const std::array<std::string, 8>& criteria) {
    for (size_t i = 0; i < 8; ++i) {
        if (criteria[i] == kUnusedCriterion)
            continue;
        used_[i] = true;
        folded_[i] = UpperAscii(criteria[i]);
        if (folded_[i].empty())
            impossible_ = true;
    }
}

bool HeaderMatcher::matches(std::string_view record) const {
    if (record.empty() || impossible_)
        return false;
    constexpr size_t kField = 15;
    for (size_t i = 0; i < 8; ++i) {
        if (!used_[i])
            continue;
        size_t start = i * kField;
        // Bytes missing at the end of the file read as NUL: the value ends there.
        size_t avail = start < record.size() ? std::min(kField, record.size() - start) : 0;
        std::string_view raw = record.substr(start < record.size() ? start : record.size(), avail);
        size_t nul = raw.find('\0');
        if (nul != std::string_view::npos)
            raw = raw.substr(0, nul);
        char buf[kField];
        if (FoldInto(raw, buf).find(folded_[i]) == std::string_view::npos)
            return false;
    }
    return true;
}

bool HeaderRecordTest(std::string_view record, const std::array<std::string, 8>& criteria) {
    return HeaderMatcher(criteria).matches(record);
}

// --- free slots ---

bool IsFreeSlotRecord(const unsigned char* record82) {
    if (std::memcmp(record82, kEmptyKeyCode.data(), kSlotSize) == 0)
        return true;
    static const TextMatcher marker(kFreeSlotMarker, false);
    return marker.matches(RecordTextUpToNul(record82));
}

} // namespace lumo
