#pragma once
// Slide mount labels painted onto a label sheet: each label's lines sized to fit it.
#include "extras/logic/LabelLayout.h"

#include <QString>
#include <QStringList>

#include <vector>

class QPagedPaintDevice;

namespace lumo {

// The lines a label shows and the font size of each: the head (bold), the information
// text and, when three lines leave the text large enough, the first key.
struct FittedLabel {
    QStringList lines;
    std::vector<double> points;
};

// Fits a label's text into width x height millimetres of `device` (whose metrics decide).
FittedLabel FitLabel(const QPagedPaintDevice& device, const LabelText& text, double width,
                     double height);

// Paints the labels from position `start` of the sheet, a new page for each further
// sheet; the device's page must be the whole A4 sheet (no margins). False when the
// device could not be painted on or the sheet holds no label.
bool PaintLabels(QPagedPaintDevice& device, const LabelSheet& sheet, int start,
                 const std::vector<LabelText>& labels);

} // namespace lumo
