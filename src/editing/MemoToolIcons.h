#pragma once
// The pictures of the memo editor's ten tool buttons, drawn in the style of the main
// window's tool bar (20 x 20, outlined shapes in a few strong colours).
#include <QIcon>

namespace lumo {

// Button 1..10: copy, paste, delete, save, previous slide, next slide, help, leave,
// append to memo.txt, new memo.txt. Any other number gives an empty icon.
QIcon MemoToolIcon(int button);

} // namespace lumo
