#pragma once
// What assistive tools learn about the painted list area: in the key modes the three level
// lists, each a list of its keywords (picked keys selected, the cursor row of the focused
// level focused); in the result modes the page as a table with the columns of its
// headings. Everything is read from the program state when asked, so it always matches
// what the canvas shows.
class QAccessibleInterface;

namespace lumo {

class ListArea;

// Registers the interface factory for the list area and the status line (once per process).
void InstallShellAccessibility();

// The interface of the cursor row of level 1..3, or of the row's first cell on a result page.
QAccessibleInterface* ListItemInterface(ListArea* area, int level, int row);
QAccessibleInterface* ResultCellInterface(ListArea* area, int row, int column);

// Changes told to assistive tools: the keyboard's place (the focused level's cursor row or
// the highlighted result row), a key picked, and a list whose content changed.
void AnnounceFocusedPart(ListArea* area);
void AnnouncePickedKey(ListArea* area, int level);
void AnnounceListsChanged(ListArea* area);

} // namespace lumo
