#include "tools/TextPrint.h"

#include "extras/PrintedPages.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace lumo {

namespace {

constexpr double kLargestPoints = 10.0;
constexpr double kSmallestPoints = 6.0;
constexpr double kFooterPoints = 8.0;

// The printed lines of one page.
using Page = std::vector<QString>;

// Splits text into pages of at most linesPerPage lines, each at most columns
// characters; a form feed ends a page.
std::vector<Page> Paginate(const QString& text, int columns, int linesPerPage) {
    std::vector<Page> pages(1);
    auto put = [&](const QString& line) {
        if (int(pages.back().size()) >= linesPerPage)
            pages.emplace_back();
        pages.back().push_back(line);
    };
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.back().isEmpty())
        lines.removeLast(); // the line end of the last line opens no further line
    for (const QString& whole : lines) {
        const QStringList parts = whole.split(QLatin1Char('\f'));
        for (qsizetype p = 0; p < parts.size(); ++p) {
            if (p > 0 && !pages.back().empty())
                pages.emplace_back(); // a form feed ends the page
            const QString& part = parts.at(p);
            if (part.isEmpty() && parts.size() == 1)
                put(part);
            for (qsizetype at = 0; at < part.size(); at += columns)
                put(part.mid(at, columns));
        }
    }
    return pages;
}

} // namespace

QFont TextViewFont() {
    // Liberation Mono has the widths of Courier New, the font such lists were made for.
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(kLargestPoints);
    return font;
}

bool PrintText(QPagedPaintDevice& device, const QString& text, const QString& fileName,
               int fromPage, int toPage) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double width = device.width();
    const double height = device.height();

    qsizetype longest = 1;
    for (const QString& line : text.split(QLatin1Char('\n')))
        longest = std::max(longest, line.size());
    QFont font = TextViewFont();
    for (double points = kLargestPoints; points >= kSmallestPoints; points -= 0.5) {
        font.setPointSizeF(points);
        if (QFontMetricsF(font, &device).horizontalAdvance(QLatin1Char('M')) * double(longest) <=
            width)
            break;
    }
    QFont footerFont = font;
    footerFont.setPointSizeF(kFooterPoints);
    const QFontMetricsF metrics(font, &device);
    const QFontMetricsF footerMetrics(footerFont, &device);
    const double footerHeight = footerMetrics.lineSpacing() * 2;
    const int columns = std::max(1, int(width / metrics.horizontalAdvance(QLatin1Char('M'))));
    const int linesPerPage = std::max(1, int((height - footerHeight) / metrics.lineSpacing()));

    const std::vector<Page> pages = Paginate(text, columns, linesPerPage);
    const size_t first = fromPage > 0 ? size_t(fromPage - 1) : 0;
    const size_t last = toPage > 0 ? std::min(size_t(toPage), pages.size()) : pages.size();
    for (size_t n = first; n < last; ++n) {
        if (n > first && !device.newPage())
            return false;
        painter.setFont(font);
        painter.setPen(Qt::black);
        double y = metrics.ascent();
        for (const QString& line : pages[n]) {
            painter.drawText(QPointF(0, y), line);
            y += metrics.lineSpacing();
        }
        const double ruleY = height - footerHeight + footerMetrics.lineSpacing() / 2;
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QPointF(0, ruleY), QPointF(width, ruleY));
        painter.setFont(footerFont);
        const QRectF footer(0, height - footerMetrics.lineSpacing(), width,
                            footerMetrics.lineSpacing());
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, fileName);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Seite %1 von %2").arg(n + 1).arg(pages.size()));
    }
    return painter.end();
}

bool ExportPdf(const QString& pdfPath, const QString& text, const QString& fileName,
               QString* error) {
    return WritePdfFile(
        pdfPath, fileName, QMarginsF(15, 15, 15, 12),
        [&](QPagedPaintDevice& device) { return PrintText(device, text, fileName); }, error);
}

} // namespace lumo
