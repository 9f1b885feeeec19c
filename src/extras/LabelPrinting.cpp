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
    const double innerW = std::max(0.1, width - 2 * inset) * perMm;
    const double innerH = std::max(0.1, height - 2 * inset) * perMm;
    const QFontMetricsF bold(PrintFont(kMeasurePoints, true), &device);
    const QFontMetricsF plain(PrintFont(kMeasurePoints), &device);
    const QString head = FromCp1252(text.head);
    const QString info = FromCp1252(text.info);
    const QString key = FromCp1252(text.key);

    // Sizes scale with the measured ones: the size at which the widest line fills the width
    // and the one at which n lines fill the height.
    const double widest = std::max(bold.horizontalAdvance(head), plain.horizontalAdvance(info));
    const double byWidth = widest > 0 ? kMeasurePoints * innerW / widest : kLargestPoints;
    auto byHeight = [&](int lines) {
        return kMeasurePoints * innerH / (lines * bold.lineSpacing());
    };
    FittedLabel fitted;
    fitted.lines = {head, info};
    fitted.points = std::min({kLargestPoints, byWidth, byHeight(2)});
    if (!key.isEmpty()) {
        const double withKey = std::min({kLargestPoints, byWidth, byHeight(3)});
        const bool keyFits = plain.horizontalAdvance(key) * withKey / kMeasurePoints <= innerW;
        if (keyFits && withKey >= fitted.points * kKeyShrinkAllowed && withKey >= kSmallestPoints) {
            fitted.lines << key;
            fitted.points = withKey;
        }
    }
    fitted.points = std::max(fitted.points, kSmallestPoints);
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
            const QFont font = PrintFont(fitted.points, l == 0);
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
