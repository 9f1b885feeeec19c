// Start-up and shutdown of the program through the real main window.
#include "ProgramFixture.h"

#include "store/SlideTypes.h"

#include <QGuiApplication>
#include <QImage>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>

using namespace lumo;
using namespace lumo::test;

namespace {

const char* kAnalysisText = "LUMORETTA Version 3.0\r\rIhr Archiv wird nun analysiert um einige "
                            "Daten\rzu ergänzen bzw. überprüfen zu können.\rDies kann einige "
                            "Zeit dauern...";

std::string FreeSlotRecord() {
    return RecordBytes({"00"}, std::string(kFreeSlotMarker), 0);
}

} // namespace

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, StoredSlideCountIsShownWithoutAnalysis) {
    writeSimpleRecords(3);
    writeIni({"[LUMORETTA]", "DIAS=5"}); // does not match the file, and is shown anyway
    const std::string iniBefore = archive.read("DIA.INI");
    start();
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("3"));
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("5"));
    EXPECT_EQ(main().statusPanel(2), QStringLiteral("0"));
    EXPECT_TRUE(shownOf(ShownDialog::Notice).empty());
    EXPECT_EQ(archive.read("DIA.INI"), iniBefore); // nothing saved at a start without analysis
    EXPECT_EQ(state().screenMode, 0);
    EXPECT_EQ(statusLineText(),
              QString::fromUtf8("Im Archiv sind 5 Dias in 3 Datensätzen gespeichert"));
}

TEST_F(StartupTest, UnknownSlideCountRunsTheAnalysisAndStoresTheCount) {
    writeRecords(
        {RecordBytes({"A1"}, "A01 Eins", 1), FreeSlotRecord(), RecordBytes({"B1"}, "A03 Drei", 1)});
    writeIni({"[LUMORETTA]", "DIAS=?", "SOUND=0"});
    archive.write("keyword1.old", "old bytes");
    start();
    auto notices = shownOf(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, QString::fromUtf8(kAnalysisText));
    EXPECT_EQ(state().counters.activeSlides, 2);
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("2"));
    const std::string ini = archive.read("DIA.INI");
    EXPECT_NE(ini.find("DIAS=2"), std::string::npos) << ini;
    // The undo copies are emptied by the analysis.
    EXPECT_EQ(archive.read("keyword1.old"), "");
    EXPECT_TRUE(archive.exists("keyword2.old"));
    EXPECT_EQ(main().progressBar()->value(), 100);
}

TEST_F(StartupTest, MissingIniFileIsWrittenAfterTheAnalysis) {
    writeSimpleRecords(4);
    ASSERT_FALSE(archive.exists("DIA.INI"));
    start();
    EXPECT_EQ(shownOf(ShownDialog::Notice).size(), 1u);
    const std::string ini = archive.read("DIA.INI");
    EXPECT_NE(ini.find("DIAS=4"), std::string::npos) << ini;
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("4"));
}

TEST_F(StartupTest, EmptySlideFileStartsWithNoRecords) {
    archive.write("dias.ddb", "");
    writeIniWithSlides(0);
    start();
    EXPECT_EQ(state().counters.totalRecords, 0);
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("0"));
    EXPECT_TRUE(main().isVisible());
}

TEST_F(StartupTest, MissingSlideFileIsFatalAndSavesNothing) {
    writeIni({"[LUMORETTA]", "DIAS=?"});
    const std::string iniBefore = archive.read("DIA.INI");
    EXPECT_FALSE(tryStart());
    EXPECT_TRUE(errorShown(31));
    EXPECT_TRUE(shownOf(ShownDialog::Notice).empty()); // no analysis
    EXPECT_EQ(archive.read("DIA.INI"), iniBefore);
    EXPECT_FALSE(main().isVisible());
}

TEST_F(StartupTest, CaptionsAndLabelsAtStart) {
    writeSimpleRecords(1);
    writeIniWithSlides(1);
    start();
    EXPECT_EQ(main().windowTitle(),
              QString::fromUtf8("Lumoretta 3.03 - letzte Änderung am 07.06.1999"));
    EXPECT_EQ(main().titleLabel(2)->text(), QStringLiteral("Version 3.03"));
    EXPECT_EQ(buttonCaptions(),
              (QStringList{QStringLiteral("BEARBEITEN"), QStringLiteral("AUSWERTUNG"),
                           QStringLiteral("DIENSTE"), QStringLiteral("HILFE"),
                           QStringLiteral("FEIERABEND")}));
    EXPECT_TRUE(main().pictureVisible());
    EXPECT_FALSE(main().scrollBar()->isVisible());
    EXPECT_FALSE(main().undoAction()->isEnabled());
    EXPECT_EQ(main().clientArea()->size(), QSize(638, 440));
}

TEST_F(StartupTest, StoredWindowPositionIsUsedAndKeptOnTheScreen) {
    writeSimpleRecords(1);
    writeIni({"[LUMORETTA]", "DIAS=1", "FENSTER=120,50"});
    start();
    EXPECT_EQ(main().pos(), QPoint(50, 120));
    program.reset();

    writeIni({"[LUMORETTA]", "DIAS=1", "FENSTER=99999,-500"});
    start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(main().pos())) << main().pos().x() << "," << main().pos().y();
}

TEST_F(StartupTest, TipIsPreparedFromTheTipsDirectory) {
    writeSimpleRecords(1);
    writeIni({"[LUMORETTA]", "DIAS=1", "TIP=2"});
    archive.write("tips/2.tip", "Zweiter Tip");
    start();
    EXPECT_TRUE(state().tipReady);
    EXPECT_EQ(state().tipText, "Zweiter Tip");
}

TEST_F(StartupTest, NoTipWhenTipNumberIsZero) {
    writeSimpleRecords(1);
    writeIni({"[LUMORETTA]", "DIAS=1", "TIP=0"});
    archive.write("tips/0.tip", "nie");
    start();
    EXPECT_FALSE(state().tipReady);
    EXPECT_TRUE(state().tipText.empty());
}

TEST_F(StartupTest, QuitQuestionNoKeepsRunningAndSavesNothing) {
    writeSimpleRecords(2);
    writeIni({"[LUMORETTA]", "DIAS=2", "FENSTER=100,40"});
    start();
    const std::string iniBefore = archive.read("DIA.INI");
    main().move(70, 130);
    clearRecords();
    messages().queue(DialogAnswer::no());
    EXPECT_FALSE(main().close());
    EXPECT_TRUE(main().isVisible());
    auto asked = shownOf(ShownDialog::Confirm);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text,
              QString::fromUtf8("Möchten Sie das Programm LUMORETTA wirklich beenden ?"));
    EXPECT_EQ(archive.read("DIA.INI"), iniBefore);
    EXPECT_FALSE(sound().played().contains(QStringLiteral("exit")));
}

TEST_F(StartupTest, QuitQuestionYesSavesSettingsWithTheWindowPosition) {
    writeSimpleRecords(2);
    writeIni({"[LUMORETTA]", "DIAS=2", "FENSTER=100,40"});
    start();
    main().move(70, 130);
    clearRecords();
    messages().queue(DialogAnswer::yes());
    EXPECT_TRUE(main().close());
    EXPECT_FALSE(main().isVisible());
    EXPECT_TRUE(main().closeConfirmed());
    const std::string ini = archive.read("DIA.INI");
    EXPECT_NE(ini.find("FENSTER=130,70"), std::string::npos) << ini;
    EXPECT_NE(ini.find("DIAS=2"), std::string::npos) << ini;
    EXPECT_TRUE(sound().played().contains(QStringLiteral("exit")));
}

TEST_F(StartupTest, QuitMenuClicksAndAsks) {
    writeSimpleRecords(1);
    writeIniWithSlides(1);
    start();
    clearRecords();
    messages().queue(DialogAnswer::no());
    triggerMenu("&Beenden");
    ASSERT_FALSE(sound().played().isEmpty());
    EXPECT_EQ(sound().played().first(), QStringLiteral("hotclik"));
    EXPECT_EQ(shownOf(ShownDialog::Confirm).size(), 1u);
    EXPECT_TRUE(main().isVisible());
}

TEST_F(StartupTest, QuitSoftButtonClosesThroughTheQuitQuestion) {
    writeSimpleRecords(1);
    writeIniWithSlides(1);
    start();
    messages().queue(DialogAnswer::yes());
    clickSoftButton(5);
    EXPECT_FALSE(main().isVisible());
    EXPECT_TRUE(main().closeConfirmed());
}

TEST_F(StartupTest, UnwritableIniFileIsReportedAndTheStartGoesOn) {
    writeSimpleRecords(2);
    std::filesystem::create_directory(archive.path("DIA.INI")); // cannot be replaced by a file
    start();
    auto notices = shownOf(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].text, QString::fromUtf8(kAnalysisText));
    EXPECT_EQ(
        notices[1].text,
        QString::fromUtf8("Ini-Datei für Lumoretta konnte nicht\rkorrekt gesichert werden !"));
    EXPECT_EQ(state().counters.activeSlides, 2);
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("2"));
}

TEST_F(StartupTest, BackgroundPictureComesFromTheSettings) {
    writeSimpleRecords(1);
    writeIni({"[LUMORETTA]", "DIAS=1", "BMPBILD=bild.bmp"});
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(QColor(10, 120, 200));
    ASSERT_TRUE(img.save(QString::fromStdString(archive.path("bild.bmp").string()), "BMP"));
    start();
    EXPECT_EQ(main().backgroundPicture()->pixmap().size(), QSize(40, 30));
    EXPECT_TRUE(main().backgroundPicture()->isVisible());
}

TEST_F(StartupTest, MissingBackgroundPictureLeavesTheAreaEmpty) {
    writeSimpleRecords(1);
    writeIniWithSlides(1);
    start();
    EXPECT_TRUE(main().backgroundPicture()->pixmap().isNull());
    EXPECT_TRUE(messages().shown().empty());
}
