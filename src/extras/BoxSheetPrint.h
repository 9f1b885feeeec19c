#pragma once
// One box on paper: a title, the grid of places as the magazine map shows it (text and
// colour of every cell) and the list of slides without a place. Printer or PDF alike.
#include <QString>
#include <QStringList>

class QAbstractItemModel;
class QPagedPaintDevice;

namespace lumo {

// Paints onto the device's pages (a new page when the grid does not fit). False when the
// device could not be painted on.
bool PrintBoxSheet(QPagedPaintDevice& device, const QString& title, const QAbstractItemModel& grid,
                   const QStringList& footLines);

// The same into an A4 PDF file, whole or not at all; *error says why it failed.
bool SaveBoxSheetPdf(const QString& pdfPath, const QString& title, const QAbstractItemModel& grid,
                     const QStringList& footLines, QString* error);

} // namespace lumo
