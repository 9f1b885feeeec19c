#include "extras/PrintedPages.h"

#include "store/FileUtil.h"

#include <QBuffer>
#include <QFile>

#include <QFontInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>

namespace lumo {

QFont PrintFont(double points, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

double UnitsPerMm(const QPagedPaintDevice& device) {
    return device.logicalDpiX() / 25.4;
}

bool WritePdfFile(const QString& path, const QString& title, const QMarginsF& margins,
                  const PagePainter& paint, QString* error, int resolution) {
    // Painted into memory, then written through the file layer: whole or not at all, and a
    // name inside an archive is never written through a link that leads out of it.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Lumoretta"));
        if (resolution > 0)
            writer.setResolution(resolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                         QPageLayout::Millimeter));
        if (!paint(writer)) {
            if (error)
                *error = QStringLiteral("Die Seiten konnten nicht erzeugt werden.");
            return false;
        }
    }
    const int err = WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                        std::string_view(bytes.constData(), size_t(bytes.size())),
                                        Durability::NoSync);
    if (err != 0 && error)
        *error = QStringLiteral("I/O-Fehler ") + QString::number(err);
    return err == 0;
}

void SetUpA4Printer(QPrinter& printer, const QMarginsF& margins) {
    printer.setFullPage(margins.isNull());
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                      QPageLayout::Millimeter));
}

} // namespace lumo
