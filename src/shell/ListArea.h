#pragma once
// The list area as the keyboard and assistive tools meet it: a widget over the painted
// level lists and result pages that takes the keyboard focus in the list modes, hands
// the keys to the main window, and draws a frame around the focused level or result row
// while the user works with the keyboard (a mouse press hides it again). The mouse passes
// through it to the canvas below. Its accessible interface lists what the canvas shows
// (ListAccessible.cpp).
#include <QWidget>

#include <functional>

namespace lumo {

struct AppState;

class ListArea : public QWidget {
    Q_OBJECT
public:
    // A key on the list area; true when it did something with it.
    using KeyHandler = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;

    ListArea(const AppState& state, QWidget* parent);

    const AppState& state() const { return state_; }
    void setKeyHandler(KeyHandler handler) { onKey_ = std::move(handler); }

    // The level column (1..3) the keys move in, and the highlighted result row (1..17).
    int focusLevel() const { return focusLevel_; }
    void setFocusLevel(int level);
    int focusRow() const { return focusRow_; }
    void setFocusRow(int row);
    // A list mode starts: level 1, row 1, and the keyboard focus.
    void takeFocusForNewList();

    // The frame shows while the focus is here and the last input came from the keyboard.
    bool frameShown() const;
    QRect frameRect() const; // in this widget's coordinates; empty when there is none
    // A place on the canvas (client coordinates) in this widget's coordinates.
    QRect fromClient(const QRect& clientRect) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const AppState& state_;
    KeyHandler onKey_;
    int focusLevel_ = 1;
    int focusRow_ = 1;
    bool keyboardUser_ = false;
};

// The number of filled rows of the result page shown (rows 1..n are filled).
int ResultRowsShown(const AppState& state);

} // namespace lumo
