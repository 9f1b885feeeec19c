#pragma once
// The numbered tip files tips/<n>.tip of an archive and how the tip number moves on.
#include "store/Archive.h"

#include <cstdint>
#include <string>

namespace lumo {

// "tips/<n>.tip"
std::string TipFileName(int32_t n);
bool TipExists(const Archive& archive, int32_t n);
// The number after `current`, or 1 when there is no tip of that number.
int32_t NextTipNumber(const Archive& archive, int32_t current);
// The tip shown at start: `tipNumber` when its file exists, otherwise the lowest-numbered
// tip there is; 0 when tips are off (tipNumber 0) or there is none.
int32_t StartupTipNumber(const Archive& archive, int32_t tipNumber);

} // namespace lumo
