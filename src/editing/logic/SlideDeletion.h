#pragma once
// Deleting a range of slides: their records become free slots (all key slots EmptyKeyCode,
// the free-slot text, the box kept), and header data, memo and picture files go as chosen.
// Records are never removed, so every other slide keeps its number.
#include "store/Archive.h"
#include "store/Problem.h"
#include "store/SlideTypes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace lumo {

struct SlideRange {
    int32_t first = 0;
    int32_t last = 0;
};

// The two range fields as typed; nullopt when either is not a number, is below 1 or above
// totalRecords, or when the last slide lies before the first.
std::optional<SlideRange> CheckSlideRange(std::string_view fromText, std::string_view toText,
                                          int32_t totalRecords);

// What goes with a deleted slide: the four check boxes of the deletion window.
struct DeletionChoice {
    bool slideData = true;  // the record becomes a free slot
    bool headerData = true; // its header data record is written empty
    bool memos = true;      // memo/<n>.txt
    bool pictures = true;   // bilder/<n>.bmp
};

struct DeletionOutcome {
    bool anyMarked = false; // at least one record was made a free slot
    Problem problem;        // the read or write that failed; the loop stopped there
    int32_t failedSlide = 0;
};

// Frees slides range.first..range.last as `choice` says. A slide whose information text is
// exactly the free-slot text is skipped whole. counters.activeSlides must hold the count of
// the archive analysis; it goes down by one for each slide that analysis counted as active
// and that is now marked. Per slide the header data record, memo and picture go before the
// record is marked, so a slot is free only once they are gone. Memo and picture files that
// cannot be deleted are left alone.
// A failed record read or write stops the loop; activeSlides is then counted again from
// the file, so the counters match what was written. beforeSlide(n) runs before each slide.
DeletionOutcome DeleteSlideRange(const Archive& archive, SlideRange range,
                                 const DeletionChoice& choice, Counters& counters,
                                 const std::function<void(int32_t)>& beforeSlide = {});

} // namespace lumo
