#pragma once
// A program over a small archive for the windows of "E&xtras": two boxes, one place
// claimed twice, one slide without a place; scans made here as QImages.
#include "ProgramFixture.h"

#include "editing/SlideDataViewer.h"
#include "editing/SlideEntryCommands.h"
#include "extras/MagazineMapWindow.h"
#include "extras/MapAndScanCommands.h"
#include "extras/PictureImportDialog.h"

#include <QBuffer>
#include <QImage>

namespace lumo::test {

class ExtrasTest : public ProgramTest {
protected:
    static QString U(const char* utf8) { return QString::fromUtf8(utf8); }

    // Box 1: 1 A01, 2 A02, 3 A01 again, 4 "???"; box 2: 5 A01. Ten places, two magazines.
    void OpenArchive() {
        writeRecords({RecordBytes({"B1"}, "A01 Erstes", 1),
                      RecordBytes({"B1", "B1A1"}, "A02 Schl\xF6sser im Sommer", 1),
                      RecordBytes({"B1"}, "A01 Doppelt", 1), RecordBytes({"B1"}, "??? Ohne", 1),
                      RecordBytes({"B1"}, "A01 Zweiter Kasten", 2)});
        writeKeywords(1, {{"Berge", "B1"}});
        writeKeywords(2, {{"Alpen", "B1A1"}});
        writeKeywords(3, {});
        writeIni({"[LUMORETTA]", "DIAS=5", "KASTEN=2", "MAGAZIN=10", "SOUND=1", "TIP=0"});
        archive.write("KASTEN.INI", "[K001]\r\nT1=Urlaub\r\nT2=Berge\r\n");
        archive.write("memo/2.txt", "Memo");
        start();
    }
    MapAndScanCommands& extras() { return program->mapAndScan(); }

public:
    // An image in a format Qt writes ("jpg", "png", "tif", "webp").
    static QByteArray Image(int w, int h, const char* format, QColor left = Qt::red,
                            QColor right = Qt::blue) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(right);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w / 2; ++x)
                image.setPixelColor(x, y, left);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format, 95);
        return bytes;
    }
};

} // namespace lumo::test
