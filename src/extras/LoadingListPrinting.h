#pragma once
// The loading list of a box on paper: the box and its labels on top, then each magazine
// with its slides in place order (position, slide number, information text, keys).
#include "extras/logic/LoadingList.h"

class QPagedPaintDevice;

namespace lumo {

// Paints the list onto the device's pages (inside its margins), a new page whenever one
// is full; each page ends with the box number and page number. False when the device
// could not be painted on.
bool PaintLoadingList(QPagedPaintDevice& device, const LoadingList& list);

} // namespace lumo
