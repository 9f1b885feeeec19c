#pragma once
// The glyphs of the main window's tool buttons, drawn in code so the program needs no
// image files for them.
#include <QIcon>

namespace lumo {

// The icon of tool button n (1..13); an empty icon for a number without one.
QIcon ToolButtonIcon(int n);

} // namespace lumo
