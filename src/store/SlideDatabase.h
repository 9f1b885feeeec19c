#pragma once
// dias.ddb: fixed 82-byte slide records, no header; record i is slide number i.
#include "store/Archive.h"
#include "store/Problem.h"
#include "store/SlideTypes.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace lumo {

class KeywordCache;

// Raw bytes of one record plus field access exactly as the readers take them.
struct SlideRecord {
    std::array<unsigned char, kRecordSize> bytes{};

    // Slot k (0..7): bytes up to the first NUL, at most 6.
    std::string keySlot(int k) const;
    // Info field up to its NUL (at most 33 bytes scanned from offset 48).
    std::string infoText() const;
    uint8_t box() const { return bytes[kBoxOffset]; }
    // The record as a text from byte 0 up to the first NUL (key slots + info text).
    std::string_view textUpToNul() const;

    // Builds a record: slot k := key k (<= 6 bytes, shorter ends with NUL inside the slot),
    // info field := spaces, then info text and a NUL from offset 48; byte 81 := box mod 256.
    static SlideRecord Build(const std::array<std::string, 8>& keys, std::string_view info,
                             int32_t box);
};

// TotalRecords := round(size / 82): a tail of 41..81 bytes counts as one more (short)
// record, which reads as if padded with zero bytes; a tail of 1..40 bytes is not counted
// (the next appended record overwrites it). Problem::Error31 when dias.ddb cannot be opened.
// The readers (CountRecords, ReadSlide, AnalyseArchive, ForEachRecord) open dias.ddb for
// reading only, so a write-protected archive can still be browsed and searched; WriteSlide
// alone needs write access. Anything but a regular file counts as a file that cannot be
// opened.
Problem CountRecords(const Archive& archive, Counters& counters);

// Reads record n (1-based) into `slide`, resets `keys` and resolves the stored keys
// through the three keyword files (keyword3, keyword2, keyword1). A short last record
// reads as if padded with zero bytes. Returns the first problem met (resolution stops there).
Problem ReadSlide(const Archive& archive, int32_t n, CurrentSlideData& slide, KeySelection& keys,
                  KeywordCache* cache = nullptr);

// Step 4 of ReadSlide on a record already read (e.g. by ForEachRecord): stored keys, info
// text and box number. A scan that needs the keys of its hits resolves them with
// ResolveKeys and a frozen KeywordCache instead of calling ReadSlide per hit.
void SlideFromRecord(const SlideRecord& rec, CurrentSlideData& slide);

// Resolves slide.storedKeys into keys using the keyword files. A slot is counted once even
// when a damaged file holds its code twice (the last entry found gives the name).
Problem ResolveKeys(const Archive& archive, const CurrentSlideData& slide, KeySelection& keys,
                    KeywordCache* cache = nullptr);

// Writes CurrentSlideData as record n (n = TotalRecords + 1 appends).
// Error31 when dias.ddb cannot be opened for writing (nothing written; the file is never
// created here). Problem::Io for n < 1 or n beyond the record after the last one.
Problem WriteSlide(const Archive& archive, int32_t n, const CurrentSlideData& slide);

// Counts free slots over records 1..counters.totalRecords; sets freeSlots and activeSlides.
// `progress` (optional) is called now and then with the record number reached.
Problem AnalyseArchive(const Archive& archive, std::string_view marker, Counters& counters,
                       const std::function<void(int32_t)>& progress = {});

// True when the record text (up to NUL) contains the marker (a..z folded) or slot 1 is
// EmptyKeyCode.
bool IsFreeSlot(const SlideRecord& rec, std::string_view upperMarker);

// Box and position rule for new slides.
int32_t PrecomputedBox(int32_t n, int32_t slidesPerMagazine, int32_t magazinesPerBox,
                       bool precomputePosition);
std::string PrecomputedPosition(int32_t n, int32_t slidesPerMagazine, int32_t magazinesPerBox,
                                bool precomputePosition);

// Reads records in large blocks for scans: calls fn(n, record) for n = first..last.
// Returns a problem when dias.ddb cannot be opened (Error31) or a read fails (Io).
Problem ForEachRecord(const Archive& archive, int32_t first, int32_t last,
                      const std::function<bool(int32_t, const SlideRecord&)>& fn);

// The same a block at a time: fn(n, records, count) receives records n .. n+count-1 as
// count × kRecordSize bytes (past the end of the file they read as zero bytes), so the
// caller's loop over them needs no call per record. fn returns false to stop.
using RecordBlockVisitor =
    std::function<bool(int32_t firstRecord, const unsigned char* records, int32_t count)>;
Problem ForEachRecordBlock(const Archive& archive, int32_t first, int32_t last,
                           const RecordBlockVisitor& fn);

} // namespace lumo
