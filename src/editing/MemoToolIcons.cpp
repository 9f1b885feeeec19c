#include "editing/MemoToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

#include <cmath>

namespace lumo {

namespace {

const QColor kPaper(255, 255, 190);
const QColor kGreen(0, 150, 0);
const QColor kBlue(30, 90, 200);

// A memo sheet with two lines of writing.
void Sheet(QPainter& p, int x, int y, int w = 10, int h = 13) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kPaper);
    p.drawRect(x, y, w, h);
    p.drawLine(x + 2, y + 4, x + w - 2, y + 4);
    p.drawLine(x + 2, y + 7, x + w - 2, y + 7);
}

void Arrow(QPainter& p, bool right) {
    const QPolygon head = right ? QPolygon({QPoint(11, 3), QPoint(18, 10), QPoint(11, 17)})
                                : QPolygon({QPoint(9, 3), QPoint(2, 10), QPoint(9, 17)});
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kGreen);
    p.drawRect(right ? 2 : 9, 7, 9, 6);
    p.drawPolygon(head);
}

void Plus(QPainter& p, int cx, int cy) {
    p.setPen(QPen(kGreen, 3));
    p.drawLine(cx, cy - 4, cx, cy + 4);
    p.drawLine(cx - 4, cy, cx + 4, cy);
}

} // namespace

QIcon MemoToolIcon(int button) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (button) {
    case 1: // copy: two sheets
        Sheet(p, 1, 1);
        Sheet(p, 8, 6);
        break;
    case 2: { // paste: a clipboard with a sheet on it
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(190, 130, 60));
        p.drawRect(2, 3, 12, 15);
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(5, 1, 6, 4);
        Sheet(p, 8, 7, 10, 11);
        break;
    }
    case 3: // delete: a sheet struck through
        Sheet(p, 2, 2, 12, 15);
        p.setPen(QPen(Qt::red, 3));
        p.drawLine(9, 9, 18, 18);
        p.drawLine(18, 9, 9, 18);
        break;
    case 4: // save: a sheet going onto a disk
        p.setPen(Qt::black);
        p.setBrush(QColor(60, 60, 160));
        p.drawRect(4, 6, 14, 13);
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(7, 13, 8, 5);
        Sheet(p, 1, 1, 9, 10);
        break;
    case 5: // previous slide
        Arrow(p, false);
        break;
    case 6: // next slide
        Arrow(p, true);
        break;
    case 7: { // help: a speech bubble with a question mark
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(1, 1, 18, 14), 4, 4);
        bubble.moveTo(5, 14);
        bubble.lineTo(4, 19);
        bubble.lineTo(10, 14);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPath(bubble.simplified());
        QFont f(QStringLiteral("Liberation Sans"));
        f.setBold(true);
        f.setPixelSize(12);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(1, 1, 18, 14), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case 8: // leave: an open door and an arrow out of it
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(150, 90, 40));
        p.drawRect(1, 1, 10, 18);
        p.setPen(QPen(Qt::red, 3));
        p.drawLine(7, 10, 17, 10);
        p.drawLine(13, 6, 17, 10);
        p.drawLine(13, 14, 17, 10);
        break;
    case 9: // append to memo.txt: a sheet with a green plus
        Sheet(p, 1, 1, 12, 15);
        Plus(p, 14, 14);
        break;
    case 10: { // new memo.txt: a sheet with a yellow star
        Sheet(p, 1, 1, 12, 15);
        QPolygon star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2) ? 2.5 : 6.0;
            const double a = 3.14159265358979 / 5 * i - 3.14159265358979 / 2;
            star << QPoint(14 + static_cast<int>(r * std::cos(a)),
                           13 + static_cast<int>(r * std::sin(a)));
        }
        p.setPen(QPen(QColor(160, 100, 0), 1));
        p.setBrush(QColor(255, 200, 0));
        p.drawPolygon(star);
        break;
    }
    default:
        break;
    }
    p.end();
    return QIcon(pm);
}

} // namespace lumo
