#include "extras/BoxSheetPrint.h"

#include "store/FileUtil.h"

#include <QAbstractItemModel>
#include <QBuffer>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

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
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf.setResolution(300);
        if (!PrintBoxSheet(pdf, title, grid, footLines)) {
            if (error)
                *error = QStringLiteral("PDF konnte nicht erzeugt werden");
            return false;
        }
    }
    const int err = WriteFileAtomically(QFile::encodeName(pdfPath).toStdString(),
                                        std::string_view(bytes.constData(), size_t(bytes.size())),
                                        Durability::NoSync);
    if (err != 0 && error)
        *error = QStringLiteral("Fehler ") + QString::number(err);
    return err == 0;
}

} // namespace lumo
