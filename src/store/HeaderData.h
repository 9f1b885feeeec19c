#pragma once
// kopfdata.ddb: 120-byte records of eight 15-byte fields; names and proposals in
// DIA.INI [KOPFDATA].
#include "store/Archive.h"
#include "store/Problem.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

inline constexpr int kHeaderRecordSize = 120;
inline constexpr int kHeaderFieldSize = 15;
using HeaderValues = std::array<std::string, 8>;
// A list element of [KOPFDATA] that reads as this text is not set.
inline constexpr std::string_view kHeaderElementUnset = "leer";

// Values of record n; all empty when the record lies beyond the file. A file ending
// inside the record gives the bytes it has, the missing ones read as zero.
// Problem::Error31 when kopfdata.ddb cannot be opened.
Problem ReadHeaderRecord(const Archive& archive, int32_t n, HeaderValues& values);
// Writes record n (the file grows when n lies beyond its end).
Problem WriteHeaderRecord(const Archive& archive, int32_t n, const HeaderValues& values);

// The 120 bytes of a record: per field the value (cut to 15 bytes), a NUL when shorter,
// then spaces.
std::array<unsigned char, kHeaderRecordSize> BuildHeaderRecord(const HeaderValues& values);

// One field of a record as read: bytes up to the first NUL, at most 15.
std::string HeaderFieldValue(const unsigned char* field15);

struct HeaderFields {
    std::array<std::string, 8> names; // stored or built-in
    std::array<std::vector<std::string>, 8> proposals;
    // Element index of each proposal in its key (elements reading "leer" are not offered,
    // so the two can differ).
    std::array<std::vector<int>, 8> proposalElements;
};
HeaderFields ReadHeaderFields(const Archive& archive);
bool WriteFieldNames(const Archive& archive, const std::array<std::string, 8>& names);
bool WriteProposalList(const Archive& archive, int field, const std::vector<std::string>& entries);

} // namespace lumo
