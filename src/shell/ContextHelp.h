#pragma once
// Context help with F1 on the main window: the topic of a highlighted menu entry, of the
// top-level menus and of the current screen mode.
class QMenuBar;

namespace lumo {

class MainWindow;

// The topic "HILFE" opens in a screen mode; 0 for a mode without one.
int ModeHelpContext(int mode);

// Gives every entry of the menu bar its help topic and lets F1 open the topic of the
// entry under the cursor, or of the top-level menus when no entry is highlighted.
void InstallMenuHelp(MainWindow& main);

// F1 on the main window outside the menus: the topic of the current screen mode, the one
// its soft button "HILFE" opens (the introduction in the main menu).
void InstallMainWindowHelp(MainWindow& main);

// The topic of a highlighted menu entry or top-level menu of `bar`; 0 when none is.
int HighlightedMenuHelpContext(const QMenuBar& bar);

} // namespace lumo
