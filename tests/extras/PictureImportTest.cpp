// The scan import through its dialog, the command line and the slide data viewer, with
// images made here.
#include "ExtrasTestSupport.h"

#include "extras/PictureImportCommand.h"
#include "extras/ScanImport.h"
#include "store/ArchiveLock.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <sstream>

namespace lumo::test {
namespace {

// A JPEG whose EXIF says "rotate 90° clockwise" (orientation 6), the APP1 segment built
// from the EXIF layout: "Exif\0\0", big-endian TIFF header, one IFD entry 0x0112.
QByteArray WithOrientation6(QByteArray jpeg) {
    const char app1[] = "\xFF\xE1\x00\x22"
                        "Exif\0\0"
                        "MM\x00\x2A\x00\x00\x00\x08"
                        "\x00\x01"
                        "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
                        "\x00\x00\x00\x00";
    return jpeg.insert(2, QByteArray(app1, sizeof app1 - 1));
}

TEST(ScanConversion, JpegKeptWithOrientationAppliedOthersConvertedUnreadableReported) {
    const QByteArray jpeg = WithOrientation6(ExtrasTest::Image(300, 100, "jpg"));
    const ConvertedScan copied = ConvertScan(jpeg, 90);
    ASSERT_TRUE(copied.error.isEmpty()) << copied.error.toStdString();
    EXPECT_EQ(copied.full, jpeg);
    const QImage small = QImage::fromData(copied.small);
    ASSERT_EQ(small.size(), kSmallPictureSize);
    // Turned upright: 100 x 300 fitted into 144 x 88 gives 29 x 88, red above blue,
    // black mount left and right.
    EXPECT_GT(small.pixelColor(72, 10).red(), 200);
    EXPECT_GT(small.pixelColor(72, 78).blue(), 200);
    EXPECT_EQ(small.pixelColor(5, 44), QColor(Qt::black));

    const ConvertedScan png = ConvertScan(ExtrasTest::Image(400, 200, "png"), 90);
    ASSERT_TRUE(png.error.isEmpty());
    EXPECT_FALSE(png.copied);
    EXPECT_EQ(QImage::fromData(png.full).size(), QSize(400, 200));
    EXPECT_TRUE(png.full.startsWith("\xFF\xD8"));
    EXPECT_GT(QImage::fromData(png.small).pixelColor(40, 44).red(), 200);

    EXPECT_FALSE(ConvertScan("kein Bild", 90).error.isEmpty());
}

TEST(PictureImportRun, AStoppedRunWritesNothingMoreAndAFailedWriteIsReportedByName) {
    TempArchive archive;
    archive.write("scan.png", ExtrasTest::Image(40, 30, "png").toStdString());
    std::filesystem::create_directories(archive.path("bilder/7.jpg")); // in the way
    ImportJob job{QString::fromStdString(archive.path("scan.png").string()),
                  QStringLiteral("scan.png"), 7, archive.path("bilder/7.jpg"),
                  archive.path("bilder/7.bmp")};
    {
        PictureImportRun stopped({job}, 90);
        stopped.cancel();
        stopped.start();
        EXPECT_TRUE(stopped.take(1000).empty());
        EXPECT_TRUE(stopped.done());
    }
    EXPECT_FALSE(archive.exists("bilder/7.bmp"));
    PictureImportRun run({job}, 90);
    run.start();
    std::vector<ImportOutcome> outcomes;
    while (!run.done())
        for (auto& o : run.take(1000))
            outcomes.push_back(o);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_FALSE(outcomes[0].ok);
    EXPECT_TRUE(outcomes[0].text.startsWith(
        QStringLiteral("scan.png: FEHLER, bilder/7.jpg konnte nicht geschrieben werden")))
        << outcomes[0].text.toStdString();
    EXPECT_FALSE(archive.exists("bilder/7.bmp")); // the pair stops at the first failure
}

TEST_F(ExtrasTest, ImportDialogPreviewsReplacesOnlyTickedPicturesAndReportsBrokenFiles) {
    OpenArchive();
    archive.write("bilder/2.bmp", "alt");
    archive.write("bilder/3.bmp", "alt");
    QTemporaryDir scans;
    const QByteArray jpeg = Image(60, 40, "jpg");
    auto put = [&](const char* name, const QByteArray& bytes) {
        QFile f(scans.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    put("Dia_0001.png", Image(60, 40, "png"));
    put("2.jpg", jpeg);
    put("dia 3.jpg", jpeg);
    put("Dia 9.jpg", jpeg);
    put("kaputt 4.jpg", "kein Bild");
    put("notiz.txt", "nicht einmal ein Bildname");

    PictureImportDialog& dialog = *extras().pictureImport();
    QStringList rows;
    WhenShown shown(&dialog, [&] {
        QTest::keyClicks(dialog.folderEdit, scans.path());
        QTest::keyClick(dialog.folderEdit, Qt::Key_Return);
        for (int r = 0; r < dialog.table->rowCount(); ++r)
            rows << dialog.table->item(r, 0)->text() + u'|' + dialog.table->item(r, 1)->text() +
                        u'|' + dialog.table->item(r, 2)->text() + u'|' +
                        dialog.table->item(r, 3)->text();
        // Tick "replace" for slide 2 only, from the keyboard.
        dialog.table->setFocus();
        dialog.table->setCurrentCell(0, 3);
        QTest::keyClick(dialog.table, Qt::Key_Space);
        messages().queue(DialogAnswer::ok());
        QTest::mouseClick(dialog.importButton, Qt::LeftButton);
        QTest::mouseClick(dialog.closeButton, Qt::LeftButton);
    });
    extras().ImportPictures();
    EXPECT_EQ(rows, QStringList({U("2.jpg|2|Schlösser im Sommer|ja, ersetzen"),
                                 U("dia 3.jpg|3|Doppelt|ja, ersetzen"), U("Dia 9.jpg|9||nein"),
                                 U("Dia_0001.png|1|Erstes|nein"), U("kaputt 4.jpg|4|Ohne|nein")}));
    EXPECT_EQ(archive.read("bilder/2.jpg"), jpeg.toStdString());
    EXPECT_NE(archive.read("bilder/2.bmp"), "alt");
    EXPECT_EQ(archive.read("bilder/3.bmp"), "alt"); // not ticked
    EXPECT_FALSE(archive.exists("bilder/3.jpg"));
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(archive.read("bilder/1.jpg"))).size(),
              QSize(60, 40));
    EXPECT_FALSE(archive.exists("bilder/4.jpg"));
    EXPECT_EQ(dialog.summary(), U("Bilder zugeordnet: 2\rnicht ersetzt: 1\rfehlerhaft: 2"));
}

TEST_F(ExtrasTest, CommandLineImportsPrintsLinesAndFailsWhileAnotherProgramHoldsTheArchive) {
    OpenArchive();
    program.reset(); // the program's lock is given up
    QTemporaryDir scans;
    QFile(scans.filePath(QStringLiteral("a.png"))).open(QIODevice::WriteOnly);
    QFile b(scans.filePath(QStringLiteral("b.png")));
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write(Image(30, 20, "png"));
    b.close();
    const std::string folder = scans.path().toStdString();
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(archive.dir());
    auto run = [&](std::vector<std::string> args, std::string* printed) {
        std::ostringstream out, err;
        const int status = RunPictureImportCommand(args, out, err);
        *printed = out.str() + err.str();
        return status;
    };
    std::string printed;
    EXPECT_EQ(run({"--import-pictures", folder, "--first"}, &printed), 2);
    archive.write("bilder/.9.jpg.tmpAbC123", "cut off by a killed import");
    EXPECT_EQ(run({"--import-pictures", folder, "--first", "4"}, &printed), 1);
    EXPECT_FALSE(archive.exists("bilder/.9.jpg.tmpAbC123"));
    EXPECT_NE(printed.find("a.png: FEHLER, kein lesbares Bild"), std::string::npos) << printed;
    EXPECT_NE(printed.find("b.png -> Dia 5 (bilder/5.jpg, bilder/5.bmp)\n"), std::string::npos);
    EXPECT_NE(printed.find("Bilder zugeordnet: 1, nicht ersetzt: 0, fehlerhaft: 1\n"),
              std::string::npos);
    EXPECT_TRUE(archive.exists("bilder/5.jpg"));
    QFile::remove(scans.filePath(QStringLiteral("a.png")));
    EXPECT_EQ(run({"--import-pictures", folder, "--first", "5"}, &printed), 0);
    EXPECT_NE(printed.find("b.png: Dia 5 hat schon ein Bild, nicht ersetzt"), std::string::npos);
    {
        ArchiveLock other;
        ASSERT_EQ(other.acquire(archive.dir()), ArchiveLock::Result::Acquired);
        EXPECT_EQ(run({"--import-pictures", folder, "--replace"}, &printed), 1);
        EXPECT_NE(printed.find("anderen Lumoretta-Programm"), std::string::npos);
    }
    std::filesystem::current_path(cwd);
}

TEST_F(ExtrasTest, ViewerTakesADroppedPictureAndAsksBeforeReplacingOne) {
    OpenArchive();
    QTemporaryDir scans;
    const QString file = scans.filePath(QStringLiteral("scan.png"));
    ASSERT_TRUE(QImage::fromData(Image(90, 60, "png", Qt::green, Qt::green)).save(file));
    SlideDataViewer& viewer = *program->entry().slideDataViewer();
    viewer.Fill(3);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewer.pictureLabel, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewer.pictureLabel, &drop);
    EXPECT_EQ(viewer.pictureFile(), U("bilder/3.bmp"));
    EXPECT_GT(viewer.pictureLabel->pixmap().toImage().pixelColor(72, 44).green(), 200);

    // The context menu's "Bild zuordnen...": the file is picked, the question answered "Nein".
    messages().queueFileName(file);
    messages().queue(DialogAnswer::no());
    const std::string before = archive.read("bilder/3.jpg");
    QString entry;
    QTimer::singleShot(0, [&] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        entry = static_cast<QMenu*>(menu)->actions().value(0)->text();
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent context(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              viewer.pictureLabel->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(viewer.pictureLabel, &context);
    EXPECT_EQ(entry, U("Bild zuordnen..."));
    EXPECT_EQ(texts(ShownDialog::Confirm),
              QStringList(U("Dia 3 hat schon ein Bild.\rSoll es ersetzt werden ?")));
    EXPECT_EQ(archive.read("bilder/3.jpg"), before);
}

} // namespace
} // namespace lumo::test
