// Start-up and shutdown of the program through the real main window.
#include "ShellFixture.h"

#include "store/SlideTypes.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>

using namespace lumo;
using namespace lumo::test;

namespace {

const char* kAnalysisText = "LUMORETTA Version 3.0\r\rIhr Archiv wird nun analysiert um einige "
                            "Daten\rzu ergänzen bzw. überprüfen zu können.\rDies kann einige "
                            "Zeit dauern...";

class StartupTest : public ShellTest {
protected:
    void SetUp() override {} // each test writes its own archive
    bool iniHas(const std::string& line) {
        return archive.read("DIA.INI").find(line) != std::string::npos;
    }
};
// The window is laid out for fonts of fixed metrics: every font it names must be installed.
TEST_F(StartupTest, StoredSlideCountWindowAndFonts) {
    writeSimpleRecords(3);
    writeIni({"[LUMORETTA]", "DIAS=5", "FENSTER=120,50"}); // 5 does not match and is shown
    const std::string iniBefore = archive.read("DIA.INI");
    start();
    EXPECT_EQ(QStringList({main().statusPanel(0), main().statusPanel(1), main().statusPanel(2)}),
              QStringList({U("3"), U("5"), U("0")}));
    EXPECT_EQ(archive.read("DIA.INI"), iniBefore); // nothing saved at a start without analysis
    EXPECT_EQ(screenState(), U("0|BEARBEITEN|AUSWERTUNG|DIENSTE|HILFE|FEIERABEND|Bild|||Im "
                               "Archiv sind 5 Dias in 3 Datensätzen gespeichert"));
    EXPECT_EQ(main().pos(), QPoint(50, 120));
    EXPECT_EQ(main().windowTitle(), U("Lumoretta 3.03 - letzte Änderung am 07.06.1999"));
    EXPECT_EQ(main().titleLabel(2)->text(), QStringLiteral("Version 3.03"));
    EXPECT_FALSE(main().undoAction()->isEnabled());
    EXPECT_EQ(main().clientArea()->size(), QSize(638, 440));
    QSet<QString> named{main().font().family()};
    for (QWidget* w : main().findChildren<QWidget*>())
        named.insert(w->font().family());
    named.remove(QWidget().font().family());
    EXPECT_TRUE(named.contains(QStringLiteral("Liberation Serif")));
    for (const QString& family : named)
        EXPECT_EQ(QFontInfo(QFont(family)).family().toStdString(), family.toStdString());
}
TEST_F(StartupTest, UnknownSlideCountRunsTheAnalysisAndStoresTheCount) {
    writeRecords({RecordBytes({"A1"}, "A01 Eins", 1),
                  RecordBytes({"00"}, std::string(kFreeSlotMarker), 0),
                  RecordBytes({"B1"}, "A03 Drei", 1)});
    writeIni({"[LUMORETTA]", "DIAS=?", "SOUND=0"});
    archive.write("keyword1.old", "old bytes");
    start();
    EXPECT_EQ(shownOf(ShownDialog::Notice).at(0).text, U(kAnalysisText));
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("2"));
    EXPECT_TRUE(iniHas("DIAS=2"));
    EXPECT_EQ(archive.read("keyword1.old"), ""); // the undo copies are emptied
    // A DIA.INI that cannot be replaced is reported, and the start goes on.
    program.reset();
    std::filesystem::remove(archive.path("DIA.INI"));
    std::filesystem::create_directory(archive.path("DIA.INI"));
    start();
    const auto notices = shownOf(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[1].text,
              U("Ini-Datei für Lumoretta konnte nicht\rkorrekt gesichert werden !"));
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("2"));
}
// A missing slide file is fatal, without analysis, and nothing is saved.
TEST_F(StartupTest, MissingSlideFile) {
    writeIni({"[LUMORETTA]", "DIAS=?"});
    const std::string iniBefore = archive.read("DIA.INI");
    EXPECT_FALSE(tryStart());
    EXPECT_TRUE(errorShown(31) && shownOf(ShownDialog::Notice).empty());
    EXPECT_EQ(archive.read("DIA.INI"), iniBefore);
}
TEST_F(StartupTest, QuitQuestionFromMenuAndSoftButton) {
    writeSimpleRecords(2);
    writeIni({"[LUMORETTA]", "DIAS=2", "FENSTER=99999,-500"});
    start();
    clearRecords();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(main().pos()));
    const std::string iniBefore = archive.read("DIA.INI");
    main().move(70, 130);
    messages().queue(DialogAnswer::no());
    triggerMenu("&Beenden");
    ASSERT_EQ(shownOf(ShownDialog::Confirm).size(), 1u);
    EXPECT_EQ(shownOf(ShownDialog::Confirm)[0].text,
              U("Möchten Sie das Programm LUMORETTA wirklich beenden ?"));
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(archive.read("DIA.INI"), iniBefore);
    messages().queue(DialogAnswer::yes());
    clickSoftButton(5);
    EXPECT_FALSE(main().isVisible());
    EXPECT_TRUE(iniHas("FENSTER=130,70") && iniHas("DIAS=2"));
}

} // namespace
