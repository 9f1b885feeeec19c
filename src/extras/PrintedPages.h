#pragma once
// What the label sheets and the loading lists share on paper: A4 pages painted in
// millimetres, and a PDF file written whole through Qt's own writer (TrueType fonts
// embedded as subsets).
#include <QFont>
#include <QMarginsF>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace lumo {

// Paints the pages on a device; false when it could not be painted on.
using PagePainter = std::function<bool(QPagedPaintDevice&)>;

// The sans-serif font of the printouts (Liberation Sans: embedded in every PDF).
QFont PrintFont(double points, bool bold = false);

// Device units per millimetre of a paint device.
double UnitsPerMm(const QPagedPaintDevice& device);

// Writes the pages as an A4 PDF file, all or nothing: the file appears only when complete.
// margins in millimetres (zero for label sheets: the layout places everything itself).
// False with the reason in *error (German) when it could not be written. resolution in dpi
// (0: the writer's own).
bool WritePdfFile(const QString& path, const QString& title, const QMarginsF& margins,
                  const PagePainter& paint, QString* error, int resolution = 0);

// Prepares a printer for A4 pages with the given margins (zero: the whole sheet).
void SetUpA4Printer(QPrinter& printer, const QMarginsF& margins);

} // namespace lumo
