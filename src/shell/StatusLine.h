#pragma once
// The status line of the main window: a label that assistive tools know as the window's
// status bar, so that its text, the program's main answer to the user, is found and read
// as such (ListAccessible.cpp).
#include <QLabel>

namespace lumo {

class StatusLine : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
};

} // namespace lumo
