#include "extras/PrintedPages.h"

#include <QFontInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

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
                  const PagePainter& paint, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Lumoretta"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                         QPageLayout::Millimeter));
        if (!paint(writer)) {
            file.cancelWriting();
            if (error)
                *error = QStringLiteral("Die Seiten konnten nicht erzeugt werden.");
            return false;
        }
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void SetUpA4Printer(QPrinter& printer, const QMarginsF& margins) {
    printer.setFullPage(margins.isNull());
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                      QPageLayout::Millimeter));
}

} // namespace lumo
