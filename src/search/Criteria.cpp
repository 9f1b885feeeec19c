#include "search/Criteria.h"

#include <algorithm>
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

// Does the value of the N-byte field at `field` (up to its first NUL, all N bytes when it
// holds none) contain the needle? Reads up to N + kRecordSlack - 1 bytes from `field`;
// what lies past the field only decides nothing.
template <size_t N>
bool PaddedFieldContains(const unsigned char* field, const FieldNeedle& needle) {
    static_assert(N <= kMaxField);
    const size_t m = needle.text.size();
    if (!needle.possible || m > N)
        return false;
    const size_t lastStart = N - m;
    // Candidates: positions where the first and the last byte of the needle fit.
    uint64_t candidates = 0;
#if defined(__SSE2__)
    const __m128i f0 = _mm_set1_epi8(static_cast<char>(needle.first[0]));
    const __m128i f1 = _mm_set1_epi8(static_cast<char>(needle.first[1]));
    const __m128i l0 = _mm_set1_epi8(static_cast<char>(needle.last[0]));
    const __m128i l1 = _mm_set1_epi8(static_cast<char>(needle.last[1]));
    for (size_t k = 0; k * 16 < N; ++k) {
        if (k * 16 > lastStart)
            break;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(field + 16 * k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(field + 16 * k + m - 1));
        const __m128i ea = _mm_or_si128(_mm_cmpeq_epi8(a, f0), _mm_cmpeq_epi8(a, f1));
        const __m128i eb = _mm_or_si128(_mm_cmpeq_epi8(b, l0), _mm_cmpeq_epi8(b, l1));
        candidates |=
            static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(_mm_and_si128(ea, eb))))
            << (16 * k);
    }
#else
    for (size_t i = 0; i <= lastStart; ++i) {
        const unsigned char a = field[i], b = field[i + m - 1];
        if ((a == needle.first[0] || a == needle.first[1]) &&
            (b == needle.last[0] || b == needle.last[1]))
            candidates |= uint64_t{1} << i;
    }
#endif
    candidates &= (uint64_t{2} << lastStart) - 1;
    if (candidates == 0)
        return false;
        // The value ends at the first NUL; the needle holds none.
#if defined(__SSE2__)
    uint64_t nuls = uint64_t{1} << N; // the value ends at N at the latest
    for (size_t k = 0; k * 16 < N; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(field + 16 * k));
        nuls |= static_cast<uint64_t>(static_cast<uint16_t>(
                    _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128()))))
                << (16 * k);
    }
    const size_t len = static_cast<size_t>(__builtin_ctzll(nuls));
#else
    const void* nul = std::memchr(field, 0, N);
    const size_t len =
        nul ? static_cast<size_t>(static_cast<const unsigned char*>(nul) - field) : N;
#endif
    if (m > len)
        return false;
    candidates &= (uint64_t{2} << (len - m)) - 1;
    for (; candidates != 0; candidates &= candidates - 1) {
        const size_t i = static_cast<size_t>(__builtin_ctzll(candidates));
        size_t k = 1;
        while (k + 1 < m) {
            const char c = static_cast<char>(field[i + k]);
            if ((needle.fold ? UpperAsciiChar(c) : c) != needle.text[k])
                break;
            ++k;
        }
        if (k + 1 >= m)
            return true;
    }
    return false;
}

// The same on a field that may lie at the very end of its memory: copied first.
template <size_t N>
bool FieldContains(const unsigned char* field, size_t available, const FieldNeedle& needle) {
    unsigned char padded[N + kRecordSlack] = {};
    std::memcpy(padded, field, std::min(available, N));
    return PaddedFieldContains<N>(padded, needle);
}

// Can `needle` occur in the value of a record field at all?
bool FitsInField(std::string_view needle) {
    return !needle.empty() && needle.size() <= kMaxField &&
           needle.find('\0') == std::string_view::npos;
}

// One bit for each slot start 0, 6, ..., 42 of the key area.
constexpr uint64_t kSlotStarts = [] {
    uint64_t bits = 0;
    for (size_t k = 0; k < kSlotCount; ++k)
        bits |= uint64_t{1} << (k * kSlotSize);
    return bits;
}();

inline uint64_t Load64(const void* p) {
    uint64_t v;
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
        // The code's first (up to) 8 bytes and a mask selecting them from 8 record bytes.
        const size_t head = std::min<size_t>(codes_[i].size(), 8);
        unsigned char maskBytes[8] = {};
        std::memset(maskBytes, 0xFF, head);
        std::memcpy(&masks_[i], maskBytes, 8);
        heads_[i] = 0;
        std::memcpy(&heads_[i], codes_[i].data(), head);
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
        // The slot starts holding the code's first (up to) 8 bytes, one bit per slot; the
        // last slot start plus 8 still lies inside the record.
        const uint64_t head = heads_[c], mask = masks_[c];
        size_t slot = kKeyArea;
#if defined(__SSE2__)
        // Most records fail on the code's first two and last two bytes: those are compared
        // at all 48 positions of the key area at once, and only slot starts passing that
        // are looked at. The last load of the last byte starts at 32 + len - 1 and takes
        // 16 bytes, so it stays inside the 82 bytes for codes of up to kMaxTailCode bytes;
        // a longer code is filtered on its first two bytes only.
        uint64_t candidates = 0;
        constexpr size_t kMaxTailCode = kRecordSize - 32 - 16 + 1;
        static_assert(kMaxTailCode == 35);
        const bool tail = len >= 3 && len <= kMaxTailCode;
        const __m128i c0 = _mm_set1_epi8(code[0]);
        const __m128i c1 = _mm_set1_epi8(len >= 2 ? code[1] : 0);
        const __m128i t0 = _mm_set1_epi8(tail ? code[len - 2] : 0);
        const __m128i t1 = _mm_set1_epi8(tail ? code[len - 1] : 0);
        for (size_t k = 0; k < 3; ++k) {
            const unsigned char* p = rec + 16 * k;
            auto at = [p](size_t i) {
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            };
            __m128i e = _mm_cmpeq_epi8(at(0), c0);
            if (len >= 2)
                e = _mm_and_si128(e, _mm_cmpeq_epi8(at(1), c1));
            if (tail)
                e = _mm_and_si128(e, _mm_and_si128(_mm_cmpeq_epi8(at(len - 2), t0),
                                                   _mm_cmpeq_epi8(at(len - 1), t1)));
            candidates |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(e)))
                          << (16 * k);
        }
        candidates &= kSlotStarts;
        // Up to 4 bytes the filter compared the whole code.
        const bool exact = len <= 4;
#else
        uint64_t candidates = kSlotStarts;
        const bool exact = false;
#endif
        for (; candidates != 0; candidates &= candidates - 1) {
            const auto s = static_cast<size_t>(__builtin_ctzll(candidates));
            if (exact ||
                ((Load64(rec + s) & mask) == head &&
                 (len <= 8 || (s + len <= static_cast<size_t>(kRecordSize) &&
                               std::memcmp(rec + s + 8, code.data() + 8, len - 8) == 0)))) {
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

FieldNeedle::FieldNeedle(std::string_view folded, bool foldCase)
    : text(folded), fold(foldCase), possible(FitsInField(folded)) {
    if (!possible)
        return;
    auto spellings = [&](char c) {
        const auto u = static_cast<unsigned char>(c);
        const bool letter = fold && u >= 'A' && u <= 'Z';
        return std::array<unsigned char, 2>{u, letter ? static_cast<unsigned char>(u + 32) : u};
    };
    first = spellings(text.front());
    last = spellings(text.back());
}

TextMatcher::TextMatcher(std::string_view needle, bool caseSensitive)
    : needle_(needle), caseSensitive_(caseSensitive) {
    if (!caseSensitive_)
        UpperAsciiInPlace(needle_);
    field_ = FieldNeedle(needle_, !caseSensitive_);
}

bool TextMatcher::matchesInfo(const unsigned char* record82) const {
    return FieldContains<kInfoFieldSize>(record82 + kInfoOffset, kInfoFieldSize, field_);
}

bool TextMatcher::matchesInfoInBlock(const unsigned char* record82) const {
    return PaddedFieldContains<kInfoFieldSize>(record82 + kInfoOffset, field_);
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
        fields_[i] = FieldNeedle(UpperAscii(criteria[i]), true);
        // An empty criterion, or one that cannot fit into a field value (too long, or
        // holding a NUL), never occurs.
        if (!fields_[i].possible)
            impossible_ = true;
    }
}

bool HeaderMatcher::matches(std::string_view record) const {
    if (record.empty() || impossible_)
        return false;
    constexpr size_t kField = kHeaderFieldSize;
    const auto* bytes = reinterpret_cast<const unsigned char*>(record.data());
    for (size_t i = 0; i < 8; ++i) {
        if (!used_[i])
            continue;
        // Bytes missing at the end of the file read as NUL: the value ends there.
        const size_t start = i * kField;
        const size_t available = start < record.size() ? record.size() - start : 0;
        if (!FieldContains<kField>(bytes + std::min(start, record.size()), available, fields_[i]))
            return false;
    }
    return true;
}

bool HeaderMatcher::matchesInBlock(const unsigned char* record120) const {
    if (impossible_)
        return false;
    for (size_t i = 0; i < 8; ++i)
        if (used_[i] &&
            !PaddedFieldContains<kHeaderFieldSize>(record120 + i * kHeaderFieldSize, fields_[i]))
            return false;
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
