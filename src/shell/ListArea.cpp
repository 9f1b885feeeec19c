#include "shell/ListArea.h"

#include "search/ResultPage.h"
#include "shell/ListCanvas.h"
#include "ui/AppState.h"
#include "ui/Colours.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace lumo {

int ResultRowsShown(const AppState& state) {
    const auto& rows = state.page.rows;
    if (state.foundCount == 0 || rows[0].text == kNoResultMarker)
        return 0;
    int n = 0;
    while (n < kPageRows && !rows[static_cast<size_t>(n)].box.empty())
        ++n;
    return n;
}

ListArea::ListArea(const AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("listArea"));
    // The list area between the tool bar and the bottom panel, left of the scroll bar.
    setGeometry(0, geo::ToolBarHeight, geo::ScrollBarX, geo::BottomPanelY - geo::ToolBarHeight);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::TabFocus);
    // Whether the user works with the keyboard or the mouse decides whether the frame shows.
    qApp->installEventFilter(this);
    hide();
}

void ListArea::setFocusLevel(int level) {
    level = std::clamp(level, 1, 3);
    if (level != focusLevel_) {
        focusLevel_ = level;
        update();
    }
}

void ListArea::setFocusRow(int row) {
    row = std::clamp(row, 1, kPageRows);
    if (row != focusRow_) {
        focusRow_ = row;
        update();
    }
}

void ListArea::takeFocusForNewList() {
    focusLevel_ = 1;
    focusRow_ = 1;
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    update();
}

bool ListArea::frameShown() const {
    return keyboardUser_ && hasFocus() && !frameRect().isEmpty();
}

QRect ListArea::fromClient(const QRect& clientRect) const {
    return clientRect.translated(-pos());
}

QRect ListArea::frameRect() const {
    const int m = state_.screenMode;
    if (mode::IsKeyMode(m)) {
        const auto l = static_cast<size_t>(focusLevel_ - 1);
        const int rows = std::max(1, state_.levels.levels[l].count);
        const int left = geo::LevelX[l] - 4;
        const int right = l == 2 ? geo::ScrollBarX - 2 : geo::LevelX[l + 1] - 8;
        return fromClient(QRect(QPoint(left, geo::HeadingY - 2),
                                QPoint(right, geo::FirstRowY + geo::RowPitch * rows)));
    }
    if (mode::IsResultMode(m) && focusRow_ <= ResultRowsShown(state_)) {
        const int y = geo::FirstRowY + geo::RowPitch * (focusRow_ - 1);
        return fromClient(QRect(geo::HeadBoxX - 4, y - 1, geo::ScrollBarX - geo::HeadBoxX + 2,
                                geo::RowPitch + 1));
    }
    return {};
}

bool ListArea::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if ((t == QEvent::KeyPress && !keyboardUser_) ||
        (t == QEvent::MouseButtonPress && keyboardUser_)) {
        keyboardUser_ = t == QEvent::KeyPress;
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void ListArea::keyPressEvent(QKeyEvent* event) {
    if (onKey_ && onKey_(event->key(), event->modifiers() & ~Qt::KeypadModifier))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void ListArea::paintEvent(QPaintEvent*) {
    if (!frameShown())
        return;
    QPainter p(this);
    QPen pen(colour::Yellow);
    pen.setWidth(2);
    p.setPen(pen);
    p.drawRect(frameRect().adjusted(1, 1, -1, -1));
}

void ListArea::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        keyboardUser_ = true;
    update();
    QWidget::focusInEvent(event);
}

void ListArea::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

} // namespace lumo
