#pragma once
// How wide the message label of a dialog is: the message texts break their lines with
// CR, and a line should not break anywhere else.
class QFont;
class QString;

namespace lumo {

// The widest label a message dialog grows to, so it stays within the main window.
inline constexpr int kMaxMessageWidth = 400;

// Width for a word-wrapped label showing `screenText` (lines already split at the CRs)
// in `font`: wide enough for every line to stay whole, at least `minWidth`. A line wider
// than `maxWidth` is wrapped into lines of about even length instead of a full line and
// a short rest. A word wider than `maxWidth` (a long file name) widens the label.
int MessageLabelWidth(const QFont& font, const QString& screenText, int minWidth,
                      int maxWidth = kMaxMessageWidth);

} // namespace lumo
