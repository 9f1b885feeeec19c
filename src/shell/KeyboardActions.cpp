// The main window from the keyboard: the keys on the list area do what the mouse does
// there, through the same functions (a level cursor moves as on a right click, Enter picks
// the key as a left click on the cursor label, a result row opens as a click on its
// column); Tab leads from the list area to the soft buttons, which Enter also presses.
#include "shell/MainWindow.h"

#include "search/ResultPage.h"
#include "shell/ListAccessible.h"
#include "shell/ListArea.h"

#include <QAbstractSlider>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace lumo {

namespace {

// Return and Enter press a soft button as Space does (outside a dialog Qt leaves them out).
class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (auto* button = qobject_cast<QPushButton*>(watched); button->isEnabled())
                    button->click();
                return true;
            }
        }
        return false;
    }
};

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

void MainWindow::setUpKeyboard() {
    auto* enter = new EnterPressesButton(this);
    QWidget* previous = listArea_;
    for (QPushButton* b : softButtons_) {
        b->installEventFilter(enter);
        QWidget::setTabOrder(previous, b);
        previous = b;
    }
}

void MainWindow::onScreenModeShown(int mode) {
    if (mode == shownMode_)
        return;
    shownMode_ = mode;
    if (mode::IsKeyMode(mode) || mode::IsResultMode(mode))
        listArea_->takeFocusForNewList();
    else
        listArea_->hide();
}

bool MainWindow::onListKey(int key, Qt::KeyboardModifiers modifiers) {
    const int m = state_.screenMode;
    if (mode::IsKeyMode(m) && (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier)
        return onLevelListKey(key);
    if (mode::IsResultMode(m))
        return onResultPageKey(key, modifiers);
    return false;
}

bool MainWindow::onLevelListKey(int key) {
    const int level = listArea_->focusLevel();
    const auto l = static_cast<size_t>(level - 1);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        listArea_->setFocusLevel(level + (key == Qt::Key_Left ? -1 : 1));
        AnnounceFocusedPart(listArea_);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: {
        const int count = state_.levels.levels[l].count;
        const int row = state_.cursor.selectedRow[l];
        int target = row;
        if (key == Qt::Key_Up)
            target = row - 1;
        else if (key == Qt::Key_Down)
            target = row + 1;
        else // the whole list is on the screen: a page is all of it
            target = key == Qt::Key_PageUp || key == Qt::Key_Home ? 1 : count;
        target = std::clamp(target, 1, std::max(1, count));
        if (count > 0 && target != row)
            moveLevelCursor(level, target); // as a right click on that row
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        onLevelCursorClick(level); // as a left click on the cursor label
        return true;
    default:
        return false;
    }
}

bool MainWindow::onResultPageKey(int key, Qt::KeyboardModifiers modifiers) {
    const int rows = ResultRowsShown(state_);
    const int row = listArea_->focusRow();
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (modifiers != Qt::NoModifier)
            return false;
        listArea_->setFocusRow(
            std::clamp(row + (key == Qt::Key_Up ? -1 : 1), 1, std::max(1, rows)));
        AnnounceFocusedPart(listArea_);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Paged as the scroll bar pages, and only while it is there to page with.
        if (modifiers != Qt::NoModifier || scrollBar_->isHidden())
            return false;
        scrollBar_->triggerAction(key == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub
                                                        : QAbstractSlider::SliderPageStepAdd);
        AnnounceFocusedPart(listArea_);
        return true;
    default:
        break;
    }
    if (!IsEnter(key))
        return false;
    // Enter as a click on the text, Shift+Enter as the right click that opens the memo,
    // Ctrl+Enter on the box number, Alt+Enter on the slide number.
    RowAction action = RowAction::None;
    if (modifiers == Qt::NoModifier)
        action = RowAction::SlideData;
    else if (modifiers == Qt::ShiftModifier)
        action = RowAction::Memo;
    else if (modifiers == Qt::ControlModifier)
        action = RowAction::BoxLabels;
    else if (modifiers == Qt::AltModifier)
        action = RowAction::HeaderData;
    if (action == RowAction::None || row > rows)
        return false;
    openResultRow(action, row);
    return true;
}

} // namespace lumo
