#include "extras/LabelPrinting.h"

#include "extras/PrintedPages.h"
#include "platform/Cp1252.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace lumo {

namespace {

constexpr double kMeasurePoints = 10.0;
constexpr double kLargestPoints = 12.0;
constexpr double kSmallestPoints = 3.5;
// A key line that would shrink the text by more than this is left off.
constexpr double kKeyShrinkAllowed = 0.8;

// The label's inner box: a margin of 6 % of the height, at least 0.6 mm.
double Inset(double height) {
    return std::max(0.6, height * 0.06);
}

} // namespace

FittedLabel FitLabel(const QPagedPaintDevice& device, const LabelText& text, double width,
                     double height) {
    const double perMm = UnitsPerMm(device);
    const double inset = Inset(height);
    // A little room to spare: measured widths do not scale exactly with the size.
    const double innerW = std::max(0.1, width - 2 * inset) * perMm * 0.97;
    const double innerH = std::max(0.1, height - 2 * inset) * perMm;
    const QFontMetricsF bold(PrintFont(kMeasurePoints, true), &device);
    const QFontMetricsF plain(PrintFont(kMeasurePoints), &device);
    const QString head = FromCp1252(text.head);
    const QString info = FromCp1252(text.info);
    const QString key = FromCp1252(text.key);

    // Sizes scale with the measured ones: the size at which a line fills the width and the
    // one at which n lines fill the height.
    auto byWidth = [&](const QFontMetricsF& m, const QString& line) {
        const double w = m.horizontalAdvance(line);
        return w > 0 ? kMeasurePoints * innerW / w : kLargestPoints;
    };
    auto byHeight = [&](int lines) {
        return std::min(kLargestPoints, kMeasurePoints * innerH / (lines * bold.lineSpacing()));
    };
    // The head is the largest line; the information text (and the key) as large as it is
    // or smaller when they are longer.
    const bool withKey = !key.isEmpty() && byHeight(3) >= byHeight(2) * kKeyShrinkAllowed &&
                         byWidth(plain, key) >= kSmallestPoints;
    const double cap = byHeight(withKey ? 3 : 2);
    const double headPoints = std::max(kSmallestPoints, std::min(cap, byWidth(bold, head)));
    auto below = [&](const QString& line) {
        return std::max(kSmallestPoints, std::min(headPoints, byWidth(plain, line)));
    };
    FittedLabel fitted;
    fitted.lines = {head, info};
    fitted.points = {headPoints, below(info)};
    if (withKey) {
        fitted.lines << key;
        fitted.points.push_back(below(key));
    }
    return fitted;
}

bool PaintLabels(QPagedPaintDevice& device, const LabelSheet& sheet, int start,
                 const std::vector<LabelText>& labels) {
    const std::vector<LabelPlace> places = PlaceLabels(sheet, start, int(labels.size()));
    if (places.size() != labels.size() || labels.empty())
        return false;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double perMm = UnitsPerMm(device);
    const double inset = Inset(sheet.labelHeight) * perMm;
    int page = 0;
    for (size_t i = 0; i < labels.size(); ++i) {
        const LabelPlace& at = places[i];
        if (at.sheet != page) {
            if (!device.newPage())
                return false;
            page = at.sheet;
        }
        const FittedLabel fitted = FitLabel(device, labels[i], sheet.labelWidth, sheet.labelHeight);
        const QRectF inner(at.x * perMm + inset, at.y * perMm + inset,
                           sheet.labelWidth * perMm - 2 * inset,
                           sheet.labelHeight * perMm - 2 * inset);
        double y = inner.top();
        for (qsizetype l = 0; l < fitted.lines.size(); ++l) {
            const QFont font = PrintFont(fitted.points[size_t(l)], l == 0);
            const QFontMetricsF metrics(font, &device);
            painter.setFont(font);
            // A line still too wide at the smallest size is cut with an ellipsis.
            const QString line = metrics.elidedText(fitted.lines[l], Qt::ElideRight, inner.width());
            painter.drawText(QPointF(inner.left(), y + metrics.ascent()), line);
            y += metrics.lineSpacing();
        }
    }
    return painter.end();
}

} // namespace lumo
