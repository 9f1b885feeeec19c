#include "shell/ToolIcons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace lumo {

QIcon ToolButtonIcon(int n) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    auto slide = [&p](int x, int y) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(x, y, 12, 12);
        p.setBrush(QColor(70, 130, 210));
        p.drawRect(x + 3, y + 3, 6, 6);
    };
    auto magnifier = [&p](int x, int y) {
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(x, y, 8, 8);
        p.drawLine(x + 7, y + 7, x + 11, y + 11);
    };
    QFont f(QStringLiteral("Liberation Sans"));
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    switch (n) {
    case 1: // new slide
        slide(1, 1);
        p.setPen(QPen(QColor(0, 150, 0), 3));
        p.drawLine(15, 10, 15, 19);
        p.drawLine(11, 15, 19, 15);
        break;
    case 2: // edit a slide
        slide(1, 1);
        p.setPen(QPen(QColor(200, 120, 0), 3));
        p.drawLine(9, 18, 18, 9);
        break;
    case 3: // delete slides
        slide(1, 1);
        p.setPen(QPen(Qt::red, 3));
        p.drawLine(10, 10, 18, 18);
        p.drawLine(18, 10, 10, 18);
        break;
    case 4: // new keyword
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 12, 14), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(QPen(QColor(0, 150, 0), 3));
        p.drawLine(15, 10, 15, 19);
        p.drawLine(11, 15, 19, 15);
        break;
    case 5: // search by keys
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 12, 12), Qt::AlignCenter, QStringLiteral("A"));
        magnifier(8, 7);
        break;
    case 6: // search by info text
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, 12, 12), Qt::AlignCenter, QStringLiteral("T"));
        magnifier(8, 7);
        break;
    case 7: // search by box number
        p.setPen(QPen(QColor(120, 70, 20), 1));
        p.setBrush(QColor(210, 160, 90));
        p.drawRect(1, 2, 11, 9);
        magnifier(8, 7);
        break;
    case 8: // search by memo
        p.setPen(Qt::black);
        p.setBrush(QColor(255, 255, 190));
        p.drawRect(1, 1, 10, 13);
        p.drawLine(3, 5, 9, 5);
        p.drawLine(3, 8, 9, 8);
        magnifier(8, 7);
        break;
    case 9: // backup: a disk
        p.setPen(Qt::black);
        p.setBrush(QColor(60, 60, 160));
        p.drawRect(2, 2, 16, 16);
        p.setBrush(Qt::white);
        p.drawRect(5, 3, 10, 6);
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(6, 12, 8, 5);
        break;
    case 10: { // settings: sliders
        p.setPen(QPen(Qt::black, 2));
        for (int i = 0; i < 3; ++i)
            p.drawLine(3, 4 + 6 * i, 17, 4 + 6 * i);
        p.setBrush(QColor(220, 60, 60));
        p.setPen(Qt::black);
        p.drawRect(5, 2, 4, 5);
        p.drawRect(11, 8, 4, 5);
        p.drawRect(7, 14, 4, 5);
        break;
    }
    case 11: // printer
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(5, 1, 10, 7);
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(1, 7, 18, 8);
        p.setBrush(Qt::white);
        p.drawRect(5, 12, 10, 7);
        break;
    case 13: // help
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        p.drawEllipse(1, 1, 18, 18);
        p.setPen(Qt::white);
        f.setPixelSize(14);
        p.setFont(f);
        p.drawText(QRect(1, 1, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pm);
}

} // namespace lumo
