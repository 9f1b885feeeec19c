#pragma once
// The small byte rules of slide entry and the selected-keys dialog.
#include "store/SlideTypes.h"

#include <array>
#include <string>
#include <string_view>

namespace lumo {

// A selection code as it goes into a record slot: 2 bytes + 4 spaces, 4 bytes + 2
// spaces; 6-byte codes and empty codes stay as they are.
std::string PadKeyCode(std::string_view code);

// The 8 slot codes of a record from the selection: entries 1..count with a name give
// their padded code, every other slot is empty.
std::array<std::string, 8> SlotCodesFromSelection(const KeySelection& keys);

// Magazine code of the info field: cut to 3 bytes, padded with spaces to 3.
std::string PadMagazineCode(std::string_view code);

// The information text of a stored info field as the edit path shows it: in the 28
// bytes from the fifth on, the text ends at the first pair of spaces, and a single
// space directly before the end is dropped.
std::string TrimInformationText(std::string_view info);

// The edit path's info string: the first four bytes kept, the text trimmed.
std::string TrimInfoString(std::string_view info);

// What the selection shows for a stored code that no keyword file resolves: the code
// without its padding and this marker ("Q9 (unbekannt)", at most 18 bytes).
inline constexpr std::string_view kUnresolvedKeyMarker = " (unbekannt)";
std::string UnresolvedKeyName(std::string_view code);

// The selection of an edited slide after ReadSlide: every slot that holds a code, in slot
// order, with its stored 6-byte code and its resolved name (UnresolvedKeyName when it
// did not resolve, so that saving the slide again keeps it); the rest empty
// (EmptyKeyCode).
KeySelection SelectionFromSlide(const CurrentSlideData& slide, const KeySelection& resolved);

// "&Schlüssel aktualisieren": every entry whose box is unchecked is emptied (name empty,
// code EmptyKeyCode), the rest move up in their order; count := entries left.
void CompactSelection(KeySelection& keys, const std::array<bool, 8>& checked);

} // namespace lumo
