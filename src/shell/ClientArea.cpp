#include "shell/ClientArea.h"

#include "shell/MainWindow.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumo {

ClientArea::ClientArea(MainWindow& main, QWidget* parent) : QWidget(parent), main_(main) {
    setFixedSize(geo::ClientWidth, geo::ClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* event) {
    // Everything the program draws sits on the canvas already (drawing happens when the
    // program asks for it, as on a window canvas); a paint event only shows it.
    QPainter p(this);
    const QPixmap& canvas = main_.canvas();
    if (canvas.isNull())
        p.fillRect(event->rect(), Qt::black);
    else
        p.drawPixmap(event->rect(), canvas, event->rect());
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    main_.onCanvasPress(event->button(), pos.x(), pos.y());
}

} // namespace lumo
