#include "extras/LoadingListPrinting.h"

#include "extras/PrintedPages.h"
#include "platform/Cp1252.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <array>

namespace lumo {

namespace {

// Column starts in millimetres from the left margin: position, slide number, text, keys.
constexpr std::array<double, 4> kColumns{0, 16, 34, 110};

class ListPainter {
public:
    ListPainter(QPagedPaintDevice& device, QPainter& painter, int box)
        : device_(device), painter_(painter), box_(box), perMm_(UnitsPerMm(device)),
          width_(device.width()), bottom_(device.height() - footerHeight()) {}

    // A line of cells at the column starts (one cell: the whole width), spaceBefore
    // millimetres below the line before; false when a new page could not be started.
    bool line(const QStringList& cells, const QFont& font, double spaceBeforeMm = 0) {
        const QFontMetricsF metrics(font, &device_);
        const double spaceBefore = spaceBeforeMm * perMm_;
        if (y_ > 0 && y_ + spaceBefore + metrics.lineSpacing() > bottom_ && !newPage())
            return false;
        if (y_ > 0)
            y_ += spaceBefore;
        painter_.setFont(font);
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const double left = cells.size() == 1 ? 0 : kColumns[size_t(c)] * perMm_;
            const double right = cells.size() == 1 || c + 1 == qsizetype(kColumns.size())
                                     ? width_
                                     : kColumns[size_t(c) + 1] * perMm_ - 2 * perMm_;
            painter_.drawText(QPointF(left, y_ + metrics.ascent()),
                              metrics.elidedText(cells[c], Qt::ElideRight, right - left));
        }
        y_ += metrics.lineSpacing();
        return true;
    }
    void rule() {
        painter_.setPen(QPen(Qt::black, 0));
        painter_.drawLine(QPointF(0, y_), QPointF(width_, y_));
        y_ += perMm_;
    }
    void footer() {
        const QFont font = PrintFont(8);
        const QFontMetricsF metrics(font, &device_);
        painter_.setFont(font);
        painter_.drawText(
            QRectF(0, device_.height() - metrics.lineSpacing(), width_, metrics.lineSpacing()),
            Qt::AlignRight | Qt::AlignVCenter,
            QStringLiteral("Ladeliste Kasten %1 \u2013 Seite %2").arg(box_).arg(page_));
    }

private:
    double footerHeight() const { return QFontMetricsF(PrintFont(8), &device_).lineSpacing() * 2; }
    bool newPage() {
        footer();
        if (!device_.newPage())
            return false;
        ++page_;
        y_ = 0;
        return true;
    }

    QPagedPaintDevice& device_;
    QPainter& painter_;
    int box_;
    double perMm_;
    double width_;
    double bottom_;
    double y_ = 0;
    int page_ = 1;
};

} // namespace

bool PaintLoadingList(QPagedPaintDevice& device, const LoadingList& list) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    ListPainter out(device, painter, list.box);
    const QFont title = PrintFont(14, true);
    const QFont label = PrintFont(11);
    const QFont heading = PrintFont(10, true);
    const QFont row = PrintFont(9);
    bool ok = out.line({QStringLiteral("Ladeliste Kasten %1").arg(list.box)}, title) &&
              out.line({QStringLiteral("Magazin: ") + FromCp1252(list.magazineText)}, label, 3) &&
              out.line({QStringLiteral("Thema: ") + FromCp1252(list.themeText)}, label);
    if (ok && list.magazines.empty())
        ok = out.line({QStringLiteral("Im Kasten %1 sind keine Dias gespeichert.").arg(list.box)},
                      row, 6);
    for (const LoadingMagazine& m : list.magazines) {
        if (!ok)
            break;
        const QString name = m.letter.empty() ? QStringLiteral("Ohne Magazinposition")
                                              : QStringLiteral("Magazin ") + FromCp1252(m.letter);
        ok = out.line({name}, heading, 6) &&
             out.line({QStringLiteral("Position"), QStringLiteral("Dia-Nr."),
                       QStringLiteral("Informationstext"), QStringLiteral("Schlüssel")},
                      heading, 1);
        if (!ok)
            break;
        out.rule();
        for (const LoadingRow& r : m.rows) {
            ok = out.line({FromCp1252(r.position), QString::number(r.number), FromCp1252(r.text),
                           FromCp1252(r.keys)},
                          row);
            if (!ok)
                break;
        }
    }
    if (ok)
        out.footer();
    return painter.end() && ok;
}

} // namespace lumo
