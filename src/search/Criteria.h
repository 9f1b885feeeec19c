#pragma once
// The five tests of the archive scan. Texts are code page 1252 bytes; only the ASCII
// letters a..z are folded to upper case (umlauts and ß stay as they are).
#include "store/SlideTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumo {

// The text the header data scan treats as "no criterion".
inline constexpr std::string_view kUnusedCriterion = "nicht verwendet";

inline char UpperAsciiChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
// Upper case for a..z only.
std::string UpperAscii(std::string_view text);
void UpperAsciiInPlace(std::string& text);

// The record's text as the key test and the free-slot rule read it: from byte 0 up to
// the first NUL (the key slots followed by the info text), at most the whole record.
std::string_view RecordTextUpToNul(const unsigned char* record82);
// The info field up to its NUL (at most 33 bytes from offset 48).
std::string_view RecordInfo(const unsigned char* record82);

// Key test: for each of the first `count` selected codes, its first occurrence in the
// record text must start at a slot offset 0, 6, ..., 42. An empty code never occurs,
// so a selection holding an empty code matches nothing.
bool KeyTest(std::string_view recordTextUpToNul, const KeySelection& keys);

// The scans test records where they lie in a read block. The ...InBlock tests below may
// read up to this many bytes past the end of the record (their values do not matter);
// the caller keeps them readable.
inline constexpr size_t kRecordSlack = 16;

// A search text prepared for the fixed-width record fields: its first and last byte in
// every spelling the test accepts.
struct FieldNeedle {
    FieldNeedle() = default;
    // `text` is already folded when `fold` is set.
    FieldNeedle(std::string_view text, bool fold);

    std::string text;
    std::array<unsigned char, 2> first{}, last{};
    bool fold = false;
    bool possible = false; // non-empty, no NUL, at most 48 bytes: can occur in a field
};

// The key test with the selected codes taken once, for scans.
class KeyMatcher {
public:
    explicit KeyMatcher(const KeySelection& keys);
    bool matches(std::string_view recordTextUpToNul) const;
    // The same test on the 82 bytes of a record, without finding its NUL first. Reads no
    // byte past the 82, whatever the length of the selected codes.
    bool matchesRecord(const unsigned char* record82) const;

private:
    std::array<std::string, 8> codes_;
    std::array<uint64_t, 8> heads_{}, masks_{};
    int count_ = 0;
    bool never_ = false; // an empty code, or one holding a NUL, among the selected ones
};

// "haystack contains needle", with a..z folded on both sides unless caseSensitive.
// The needle is folded once at construction; an empty needle never occurs.
class TextMatcher {
public:
    TextMatcher(std::string_view needle, bool caseSensitive);
    bool matches(std::string_view haystack) const;
    // The same test on the info field of an 82-byte record, whose value ends at its first
    // NUL (all 33 bytes when it holds none). InBlock: see kRecordSlack.
    bool matchesInfo(const unsigned char* record82) const;
    bool matchesInfoInBlock(const unsigned char* record82) const;
    bool caseSensitive() const { return caseSensitive_; }
    const std::string& needle() const { return needle_; }

private:
    std::string needle_; // folded when !caseSensitive_
    bool caseSensitive_;
    FieldNeedle field_;
};

// Info text test: the info field (up to its NUL) contains the search text.
bool InfoTextTest(std::string_view info, std::string_view searchText, bool caseSensitive);

// Memo test on the bytes of a memo file: the file split into lines at CR and LF; any
// line contains the search text (lines searched in full).
bool MemoTextTest(std::string_view fileBytes, std::string_view searchText, bool caseSensitive);
bool MemoTextTest(std::string_view fileBytes, const TextMatcher& matcher);

// Header record test. `record` holds the bytes read at the record's offset: 120, fewer
// at the end of the file (missing bytes read as NUL, i.e. empty values), none when the
// record lies beyond the file (never matches). A criterion equal to "nicht verwendet" is
// ignored; every other criterion, folded a..z, must occur in its folded field value;
// an empty criterion never occurs.
bool HeaderRecordTest(std::string_view record, const std::array<std::string, 8>& criteria);

class HeaderMatcher {
public:
    explicit HeaderMatcher(const std::array<std::string, 8>& criteria);
    bool matches(std::string_view record) const;
    // A whole 120-byte record; see kRecordSlack.
    bool matchesInBlock(const unsigned char* record120) const;

private:
    std::array<FieldNeedle, 8> fields_;
    std::array<bool, 8> used_{};
    bool impossible_ = false; // an empty criterion in use
};

// The free-slot rule of the archive analysis: the record text contains the free-slot
// marker (a..z folded) or key slot 1 equals EmptyKeyCode.
bool IsFreeSlotRecord(const unsigned char* record82);

} // namespace lumo
