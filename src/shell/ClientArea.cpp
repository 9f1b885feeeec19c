#include "shell/ClientArea.h"

#include "shell/ListCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace lumo {

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {
    setFixedSize(geo::ClientWidth, geo::ClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* event) {
    // Everything the program draws sits on the canvas already (drawing happens when the
    // program asks for it, as on a window canvas); a paint event only shows it.
    QPainter p(this);
    if (!canvas_ || canvas_->isNull())
        p.fillRect(event->rect(), Qt::black);
    else
        p.drawPixmap(event->rect(), *canvas_, event->rect());
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (onPress_)
        onPress_(event->button(), pos.x(), pos.y());
}

} // namespace lumo
