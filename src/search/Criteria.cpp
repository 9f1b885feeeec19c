#include "search/Criteria.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
constexpr size_t kHeaderFieldSize = 15;
// The longest field FieldContains searches.
constexpr size_t kMaxField = 48;

#if defined(__SSE2__)
// a..z to upper case in all 16 lanes.
inline __m128i FoldLanes(__m128i x) {
    // 'a'..'z' become -128..-103 as signed bytes, everything else lies above.
    const __m128i shifted = _mm_add_epi8(x, _mm_set1_epi8(static_cast<char>(0x80 - 'a')));
    const __m128i lower = _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(-128 + 26)));
    return _mm_sub_epi8(x, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
}
#endif

// Does the value of an N-byte field (up to its first NUL, all N bytes when it holds none)
// contain `needle`? The needle is non-empty, holds no NUL, has at most kMaxField bytes
// and is already folded when `fold` is set; the field's bytes are folded here.
template <size_t N>
bool FieldContains(const unsigned char* field, std::string_view needle, bool fold) {
    static_assert(N <= kMaxField);
    const size_t m = needle.size();
#if defined(__SSE2__)
    // The field in a zeroed buffer: its value ends at the first zero byte, which lies at
    // N at the latest. Loads for the last needle byte reach up to 2 * kMaxField bytes.
    alignas(16) unsigned char buf[2 * kMaxField] = {};
    std::memcpy(buf, field, N);
    constexpr size_t kVectors = (N + 16) / 16; // covers N and the zero byte after it
    uint64_t nulMask = 0;
    for (size_t k = 0; k < kVectors; ++k) {
        __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(buf + 16 * k));
        nulMask |= static_cast<uint64_t>(static_cast<uint16_t>(
                       _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128()))))
                   << (16 * k);
        if (fold)
            _mm_store_si128(reinterpret_cast<__m128i*>(buf + 16 * k), FoldLanes(v));
    }
    const size_t len = static_cast<size_t>(__builtin_ctzll(nulMask));
    if (m > len)
        return false;
    const size_t lastStart = len - m;
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[m - 1]);
    uint64_t candidates = 0;
    for (size_t k = 0; k < kVectors && 16 * k <= lastStart; ++k) {
        __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(buf + 16 * k));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buf + 16 * k + m - 1));
        __m128i both = _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last));
        candidates |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(both)))
                      << (16 * k);
    }
    candidates &= (uint64_t{2} << lastStart) - 1;
    while (candidates != 0) {
        const size_t i = static_cast<size_t>(__builtin_ctzll(candidates));
        if (m <= 2 || std::memcmp(buf + i + 1, needle.data() + 1, m - 2) == 0)
            return true;
        candidates &= candidates - 1;
    }
    return false;
#else
    const void* nul = std::memchr(field, 0, N);
    const size_t len =
        nul ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - field) : N;
    if (m > len)
        return false;
    for (size_t i = 0; i + m <= len; ++i) {
        size_t k = 0;
        while (k < m) {
            const char c = static_cast<char>(field[i + k]);
            if ((fold ? UpperAsciiChar(c) : c) != needle[k])
                break;
            ++k;
        }
        if (k == m)
            return true;
    }
    return false;
#endif
}

// Can `needle` occur in the value of a record field at all?
bool FitsInField(std::string_view needle) {
    return !needle.empty() && needle.size() <= kMaxField &&
           needle.find('\0') == std::string_view::npos;
}

inline uint16_t Load16(const void* p) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

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
        // The record text ends at its first NUL, so a code holding one never occurs.
        if (codes_[i].empty() || codes_[i].find('\0') != std::string::npos)
            never_ = true;
    }
}

bool KeyMatcher::matches(std::string_view text) const {
    if (never_)
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

bool KeyMatcher::matchesRecord(const unsigned char* rec) const {
    if (never_)
        return false;
    for (int c = 0; c < count_; ++c) {
        const std::string& code = codes_[c];
        const size_t len = code.size();
        // The slot starts holding the code's first byte(s), one bit per slot.
        unsigned starts = 0;
        if (len >= 2) {
            const uint16_t head = Load16(code.data());
            for (size_t k = 0; k < kSlotCount; ++k)
                starts |= static_cast<unsigned>(Load16(rec + k * kSlotSize) == head) << k;
        } else {
            const auto head = static_cast<unsigned char>(code[0]);
            for (size_t k = 0; k < kSlotCount; ++k)
                starts |= static_cast<unsigned>(rec[k * kSlotSize] == head) << k;
        }
        size_t slot = kKeyArea;
        for (; starts != 0; starts &= starts - 1) {
            const size_t s = static_cast<size_t>(__builtin_ctz(starts)) * kSlotSize;
            if (s + len <= static_cast<size_t>(kRecordSize) &&
                std::memcmp(rec + s, code.data(), len) == 0) {
                slot = s;
                break;
            }
        }
        if (slot >= kKeyArea)
            return false;
        // The code holds no NUL, so the record text reaches past it unless a NUL comes
        // before the slot.
        if (slot > 0 && std::memchr(rec, 0, slot) != nullptr)
            return false;
        // The first slot start holding it must also be the code's first occurrence.
        if (slot > 0 &&
            std::string_view(reinterpret_cast<const char*>(rec), slot + len - 1).find(code) !=
                std::string_view::npos)
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
    inField_ = FitsInField(needle_);
}

bool TextMatcher::matchesInfo(const unsigned char* record82) const {
    return inField_ &&
           FieldContains<kInfoFieldSize>(record82 + kInfoOffset, needle_, !caseSensitive_);
}

bool TextMatcher::matchesHeaderField(const unsigned char* field15) const {
    return inField_ && FieldContains<kHeaderFieldSize>(field15, needle_, !caseSensitive_);
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
        // An empty criterion, or one that cannot fit into a field value (too long, or
        // holding a NUL), never occurs.
        if (!FitsInField(folded_[i]))
            impossible_ = true;
    }
}

bool HeaderMatcher::matches(std::string_view record) const {
    if (record.empty() || impossible_)
        return false;
    constexpr size_t kField = kHeaderFieldSize;
    for (size_t i = 0; i < 8; ++i) {
        if (!used_[i])
            continue;
        const size_t start = i * kField;
        const auto* field = reinterpret_cast<const unsigned char*>(record.data()) + start;
        if (record.size() >= start + kField) {
            if (!FieldContains<kField>(field, folded_[i], true))
                return false;
            continue;
        }
        // Bytes missing at the end of the file read as NUL: the value ends there.
        unsigned char padded[kField] = {};
        if (start < record.size())
            std::memcpy(padded, field, record.size() - start);
        if (!FieldContains<kField>(padded, folded_[i], true))
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
