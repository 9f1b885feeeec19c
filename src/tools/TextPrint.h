#pragma once
// Printing the archive's text files (reports with boxes of stars and fixed columns):
// one file line per printed line in a monospaced font, so that the columns line up on
// paper as on the screen, with the file name and the page number in a footer.
#include <QFont>
#include <QString>

class QPagedPaintDevice;

namespace lumo {

// The monospaced font of the text viewer and its print-outs.
QFont TextViewFont();

// Paints text onto the pages of device (a printer or a PDF writer). The font is shrunk
// from 10 pt, down to 6 pt at the least, until the longest line fits the page width; a
// line still too long goes on in the next printed line. A form feed starts a new page.
// fromPage..toPage (counted from 1; 0 for no limit) chooses the pages to print. False
// when the device could not be painted on (a printer that did not start).
bool PrintText(QPagedPaintDevice& device, const QString& text, const QString& fileName,
               int fromPage = 0, int toPage = 0);

// Writes text as an A4 PDF file, all or nothing: the file appears only when complete.
// On failure *error says why.
bool ExportPdf(const QString& pdfPath, const QString& text, const QString& fileName,
               QString* error = nullptr);

} // namespace lumo
