#include "extras/BoxSheetPrint.h"

#include "extras/PrintedPages.h"

#include <QAbstractItemModel>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace lumo {

bool PrintBoxSheet(QPagedPaintDevice& device, const QString& title, const QAbstractItemModel& grid,
                   const QStringList& footLines) {
    QPainter p;
    if (!p.begin(&device))
        return false;
    const QRect area(0, 0, device.width(), device.height());
    QFont titleFont(QStringLiteral("Liberation Sans"), 14, QFont::Bold);
    QFont cellFont(QStringLiteral("Liberation Sans"), 7);
    p.setFont(cellFont);
    const int line = p.fontMetrics().height();
    const int header = line * 5;
    const int cellW = (area.width() - header) / std::max(1, grid.columnCount());
    const int cellH = line * 3 + line / 2;

    int y = 0;
    auto heading = [&] {
        p.setFont(titleFont);
        const QRect room(0, 0, area.width(), p.fontMetrics().height() * 3);
        const int h =
            p.boundingRect(room, Qt::TextWordWrap, title).height() + p.fontMetrics().height() / 2;
        p.drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, title);
        p.setFont(cellFont);
        y = h;
    };
    heading();
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (y + cellH > area.height()) {
            device.newPage();
            heading();
        }
        p.setPen(Qt::black);
        p.drawText(QRect(0, y, header, cellH), Qt::AlignLeft | Qt::AlignVCenter,
                   grid.headerData(r, Qt::Vertical, Qt::DisplayRole).toString());
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QModelIndex cell = grid.index(r, c);
            const QString text = grid.data(cell, Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            const QRect box(header + c * cellW, y, cellW, cellH);
            p.fillRect(box, grid.data(cell, Qt::BackgroundRole).value<QColor>());
            p.setPen(Qt::black);
            p.drawRect(box.adjusted(0, 0, -1, -1));
            p.setPen(grid.data(cell, Qt::ForegroundRole).value<QColor>());
            p.drawText(box, Qt::AlignCenter, text);
        }
        y += cellH;
    }
    p.setPen(Qt::black);
    y += line;
    for (const QString& foot : footLines) {
        if (y + line > area.height()) {
            device.newPage();
            heading();
        }
        p.drawText(QRect(0, y, area.width(), line), Qt::AlignLeft | Qt::AlignVCenter, foot);
        y += line;
    }
    return p.end();
}

bool SaveBoxSheetPdf(const QString& pdfPath, const QString& title, const QAbstractItemModel& grid,
                     const QStringList& footLines, QString* error) {
    return WritePdfFile(
        pdfPath, title, QMarginsF(15, 15, 15, 15),
        [&](QPagedPaintDevice& device) { return PrintBoxSheet(device, title, grid, footLines); },
        error, 300);
}

} // namespace lumo
