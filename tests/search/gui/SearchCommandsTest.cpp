// The five searches driven through the main window: tool buttons, soft buttons and menu
// entries of the real MainWindow, dialogs answered through the message seam.
#include "SearchGuiFixture.h"

#include "editing/MemoEditor.h"
#include "platform/Cp1252.h"
#include "search/gui/HeaderDataDialog.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include <filesystem>
#include <fstream>

namespace lumo::test {
namespace {

const QString kStatsThreeOfSeven = QString::fromUtf8(
    "Ihr Archiv ist komplett durchsucht worden.\rEs wurden 7 Datensätze ausgewertet.\r"
    "Davon entsprachen 3 Dias den Vorgaben.\rDies entspricht 42.86 % Ihres Archivs.");

std::string KeyLine(const std::string& a, const std::string& b, const std::string& c) {
    auto n18 = [](std::string s) {
        s.resize(18, ' ');
        return s;
    };
    return "*   " + n18(a) + "    " + n18(b) + "    " + n18(c) + "  *\r\n";
}

// ------------------------------------------------------------------- key search

TEST_F(SearchGui, KeySearchListsMatchesWritesReportAndShowsStatistics) {
    WriteSevenSlides();
    Start();
    KeySearch({{"N1", "Natur"}});

    EXPECT_EQ(st().screenMode, mode::KeyResults);
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("TEXT-EDITOR"));
    EXPECT_EQ(main().softButton(2)->text(), QStringLiteral("NEUE SUCHE"));
    EXPECT_TRUE(main().softButton(1)->isEnabled());
    EXPECT_EQ(main().statusPanel(2), QStringLiteral("3"));
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("7"));
    EXPECT_EQ(st().foundCount, 3);
    EXPECT_EQ(st().lastPageRows, 3);
    EXPECT_EQ(st().currentSlide, 7);
    EXPECT_EQ(st().keys.count, 0);
    EXPECT_EQ(st().keys.entries[0].code, "N1"); // names and codes stay
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_EQ(main().progressBar()->value(), 100);

    // The first page: slides 1, 3 and 5 in slide order, then empty rows.
    EXPECT_EQ(st().page.rows[0].slide, "1");
    EXPECT_EQ(st().page.rows[0].code, "A01");
    EXPECT_EQ(st().page.rows[0].text, " Wiese");
    EXPECT_EQ(st().page.rows[1].slide, "3");
    EXPECT_EQ(st().page.rows[2].slide, "5");
    EXPECT_EQ(st().page.rows[2].box, "2");
    EXPECT_TRUE(st().page.rows[3].empty());
    ASSERT_EQ(st().searchResultList.size(), 3u);
    EXPECT_EQ(st().searchResultList[2], "00200005B01 Rosen am Meer");

    EXPECT_TRUE(main().scrollBar()->isVisible());
    EXPECT_EQ(main().scrollBar()->maximum(), 3);
    EXPECT_EQ(main().scrollBar()->value(), 0);

    const auto notices = shown(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, kStatsThreeOfSeven);
    EXPECT_TRUE(errors().empty());

    const std::string nb = "nicht belegt";
    const std::string expected =
        Head5() + BoxBlank() +
        "*          A  N  Z  E  I  G  E  N    V  O  N    D  I  A  S          *\r\n" + BoxBlank() +
        Divider() + Cp("* Folgende Schlüsselwörter wurden für die zu suchenden Dias gewählt *") +
        "\r\n" + Divider() + KeyLine("Natur", nb, nb) + KeyLine(nb, nb, nb) + "*   " +
        std::string("nicht belegt      ") + "    " + "nicht belegt      " + std::string(24, ' ') +
        "*\r\n" + ColumnHead() + ResultLineText(1, 1, "A01 Wiese") +
        ResultLineText(1, 3, "A03 Garten") + ResultLineText(2, 5, "B01 Rosen am Meer") +
        Statistics(7, 3, "42.86");
    EXPECT_EQ(arc.read("dialiste.txt"), expected);
}

TEST_F(SearchGui, KeySearchWithoutMatchResetsSelectionAndReturnsToMainMenu) {
    WriteSevenSlides();
    Start();
    KeySearch({{"N1", "Natur"}, {"N1B1R1", "Rosen"}, {"U1", "Urlaub"}, {"U1XX", "Nix"}});

    EXPECT_EQ(errors(), std::vector<int>{9});
    EXPECT_TRUE(shown(ShownDialog::Notice).empty());
    EXPECT_EQ(st().screenMode, mode::Main);
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("BEARBEITEN"));
    EXPECT_TRUE(main().softButton(1)->isEnabled());
    EXPECT_EQ(st().currentStatus, 0);
    EXPECT_FALSE(st().paintLock);
    EXPECT_EQ(st().keys.count, 4); // the count keeps its value
    for (const auto& e : st().keys.entries) {
        EXPECT_EQ(e.code, "00    ");
        EXPECT_TRUE(e.name.empty());
    }
    for (const auto& k : st().slide.storedKeys)
        EXPECT_EQ(k, "00    ");
    EXPECT_FALSE(main().scrollBar()->isVisible());
    EXPECT_EQ(main().statusPanel(2), QStringLiteral("0"));
    // Head, no result line, statistics with 0.00.
    const std::string report = arc.read("dialiste.txt");
    EXPECT_TRUE(ReportResultLines().empty());
    EXPECT_NE(report.find(ColumnHead() + Statistics(7, 0, "0.00")), std::string::npos);
}

TEST_F(SearchGui, FastModeMinimisesDuringTheScanAndRestoresBeforeTheNotice) {
    WriteSevenSlides();
    Start();
    main().fastModeAction()->trigger();
    ASSERT_TRUE(st().fastMode);

    struct StateLog : QObject {
        std::vector<bool> minimised;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::WindowStateChange)
                minimised.push_back(static_cast<QWidget*>(o)->isMinimized());
            return false;
        }
    } log;
    main().installEventFilter(&log);
    KeySearch({{"U1", "Urlaub"}});
    main().removeEventFilter(&log);

    EXPECT_EQ(log.minimised, (std::vector<bool>{true, false}));
    EXPECT_FALSE(main().isMinimized());
    EXPECT_EQ(st().foundCount, 3);
    ASSERT_EQ(shown(ShownDialog::Notice).size(), 1u);
}

TEST_F(SearchGui, TextEditorStartsTheEditorWithTheReport) {
    WriteSevenSlides();
    Start();
    KeySearch({{"U1", "Urlaub"}});
    ASSERT_EQ(st().screenMode, mode::KeyResults);
    main().softButton(1)->click();
    EXPECT_EQ(prog->launcher().started(), QStringList{QStringLiteral("/bin/true dialiste.txt")});
}

// ------------------------------------------------------------------- info text search

TEST_F(SearchGui, InfoSearchWithThePresetFindsExactlyTheFreeSlots) {
    WriteSevenSlides();
    Start();
    msg().queue(DialogAnswer::type(QStringLiteral("Dia wurde entnommen / Platz frei")));
    main().toolButton(6)->click();

    const auto prompts = shown(ShownDialog::Prompt);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].number, 1);
    EXPECT_EQ(st().screenMode, mode::InfoResults);
    EXPECT_EQ(main().windowTitle(),
              QString::fromUtf8("Lumoretta 3.03 - Dias über Informationstext suchen..."));
    EXPECT_EQ(st().foundCount, 2);
    EXPECT_EQ(main().statusPanel(2), QStringLiteral("2"));
    for (int r : {0, 1}) {
        EXPECT_EQ(st().page.rows[r].code, "Dia");
        EXPECT_EQ(st().page.rows[r].text, " wurde entnommen / Platz frei");
    }
    EXPECT_EQ(st().page.rows[0].slide, "4");
    EXPECT_EQ(st().page.rows[1].slide, "7");
    // The remainder of the free-slot marker is drawn in white, not in lime.
    const QImage canvas = main().canvas().toImage();
    int white = 0, lime = 0;
    for (int y = 60; y < 77; ++y)
        for (int x = 350; x < 620; ++x) {
            const QRgb c = canvas.pixel(x, y) & 0xFFFFFF;
            white += c == 0xFFFFFF;
            lime += c == 0x00FF00;
        }
    EXPECT_GT(white, 0);
    EXPECT_EQ(lime, 0);
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_EQ(main().softButton(3)->text(), QString());

    const std::string report = arc.read("dialiste.txt");
    const std::string head =
        Head5() + BoxBlank() +
        "*          A  N  Z  E  I  G  E  N    V  O  N    D  I  A  S          *\r\n" + BoxBlank() +
        Divider() + "*  Folgender SuchString wurde f\xFCr die aufgelisteten Dias verwendet  *\r\n" +
        Divider() + BoxBlank() +
        "*       ===> Dia wurde entnommen / Platz frei                       *\r\n" + BoxBlank() +
        ColumnHead();
    EXPECT_EQ(report.substr(0, head.size()), head);
    EXPECT_EQ(ReportResultLines(),
              (std::vector<std::string>{ResultLineText(1, 4, "Dia wurde entnommen / Platz frei"),
                                        ResultLineText(2, 7, "Dia wurde entnommen / Platz frei")}));
    ASSERT_EQ(shown(ShownDialog::Notice).size(), 1u);
    EXPECT_NE(shown(ShownDialog::Notice)[0].text.indexOf(QStringLiteral("28.57 %")), -1);
}

TEST_F(SearchGui, InfoSearchFoldsOnlyWhenCaseIsNotDistinguished) {
    WriteSevenSlides();
    Start();
    msg().queue(DialogAnswer::type(QStringLiteral("rom"), false));
    main().toolButton(6)->click();
    EXPECT_EQ(st().foundCount, 1);
    EXPECT_EQ(st().page.rows[0].slide, "6");

    // Again from the result mode ("NEUE SUCHE"), now with the case distinguished.
    msg().clearShown();
    msg().queue(DialogAnswer::type(QStringLiteral("rom"), true));
    main().softButton(2)->click();
    EXPECT_EQ(errors(), std::vector<int>{3});
    EXPECT_EQ(st().foundCount, 0);
}

TEST_F(SearchGui, InfoSearchWithoutResultShowsError3WithTheSearchText) {
    WriteSevenSlides();
    Start();
    msg().queue(DialogAnswer::type(QStringLiteral("Zebra")));
    main().toolButton(6)->click();

    const auto errs = shown(ShownDialog::Error);
    ASSERT_EQ(errs.size(), 1u);
    EXPECT_EQ(errs[0].number, 3);
    EXPECT_EQ(errs[0].text, QStringLiteral("Es wurde kein Dia gefunden.\r>>> Zebra <<<\rwar in "
                                           "keinem Text enthalten."));
    EXPECT_EQ(st().screenMode, mode::Main);
    EXPECT_EQ(st().currentStatus, 0);
    EXPECT_FALSE(st().paintLock);
    // The soft buttons belong to the main menu again, not to the result list.
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("BEARBEITEN"));
    for (const auto& row : st().page.rows)
        EXPECT_EQ(row.text, "nicht belegt      ");
    EXPECT_TRUE(ReportResultLines().empty());
}

TEST_F(SearchGui, CancelledPromptRunsNoSearch) {
    WriteSevenSlides();
    Start();
    arc.write("dialiste.txt", "old report");
    msg().queue(DialogAnswer::cancel());
    main().toolButton(6)->click();
    EXPECT_EQ(arc.read("dialiste.txt"), "old report");
    EXPECT_EQ(st().screenMode, mode::Main);
    EXPECT_EQ(st().currentStatus, 0);
    EXPECT_TRUE(main().softButton(1)->isEnabled());
}

TEST_F(SearchGui, SearchesRefuseAnEmptyArchiveWithError53) {
    WriteArchive({}, 0);
    Start();
    main().toolButton(6)->click();
    main().toolButton(7)->click();
    main().toolButton(8)->click();
    main().findAction(QString::fromUtf8("Dias über Kopfdaten&felder suchen..."))->trigger();
    EXPECT_EQ(errors(), (std::vector<int>{53, 53, 53, 53}));
    EXPECT_TRUE(shown(ShownDialog::Prompt).empty());
    EXPECT_FALSE(arc.exists("dialiste.txt"));
}

// ------------------------------------------------------------------- box search

TEST_F(SearchGui, BoxSearchWithSeventeenSlidesFillsOnePageWrittenOnce) {
    std::vector<std::string> records;
    for (int n = 1; n <= 20; ++n)
        records.push_back(RecordBytes({"N1"}, "C" + std::to_string(10 + n) + " Dia",
                                      n == 1 || n == 20 || n == 10 ? 9 : 5));
    WriteArchive(records, 20);
    Start();
    msg().queue(DialogAnswer::type(QStringLiteral("5")));
    main().toolButton(7)->click();

    EXPECT_EQ(st().screenMode, mode::BoxResults);
    EXPECT_EQ(st().boxNumber, 5);
    EXPECT_EQ(st().foundCount, 17);
    EXPECT_EQ(st().lastPageRows, 0);
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_EQ(main().softButton(2)->text(), QStringLiteral("NEUE SUCHE"));
    EXPECT_EQ(main().windowTitle(),
              QString::fromUtf8("Lumoretta 3.03 - Dias über Kastennummer suchen..."));
    for (const auto& row : st().page.rows)
        EXPECT_EQ(row.box, "5");
    const auto lines = ReportResultLines();
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines.front(), ResultLineText(5, 2, "C12 Dia"));
    EXPECT_EQ(lines.back(), ResultLineText(5, 19, "C29 Dia"));
    // The box search head names no criterion: lines 1-8, then the column head.
    const std::string head =
        Head5() + BoxBlank() +
        "*  A  N  Z  E  I  G  E  N    V  O  N    M  A  G  A  Z  I  N  E  N   *\r\n" + BoxBlank() +
        ColumnHead();
    EXPECT_EQ(arc.read("dialiste.txt").substr(0, head.size()), head);
}

// An archive with more records than five-digit slide numbers: slide 100,000 is not
// listed, since its result line would read back as slide 10,000.
TEST_F(SearchGui, BoxSearchListsNoSlideBeyondFiveDigits) {
    WriteArchive({}, 3);
    std::filesystem::resize_file(arc.path("dias.ddb"), 100000u * 82);
    {
        std::fstream db(arc.path("dias.ddb"), std::ios::in | std::ios::out | std::ios::binary);
        for (const auto& [slide, record] :
             {std::pair{5, RecordBytes({"N1"}, "A05 Fuenf", 7)},
              std::pair{10000, RecordBytes({"N1"}, "A01 Zehntausend", 3)},
              std::pair{100000, RecordBytes({"N1"}, "A05 Hunderttausend", 7)}}) {
            db.seekp(std::streamoff{82} * (slide - 1));
            db.write(record.data(), static_cast<std::streamsize>(record.size()));
        }
    }
    Start();
    ASSERT_EQ(st().counters.totalRecords, 100000);
    msg().queue(DialogAnswer::type(QStringLiteral("7")));
    main().toolButton(7)->click();

    std::vector<std::string> slides;
    for (const auto& row : st().page.rows)
        if (!row.slide.empty())
            slides.push_back(row.slide);
    EXPECT_EQ(slides, std::vector<std::string>{"5"});
    EXPECT_EQ(st().foundCount, 1);
    EXPECT_EQ(ReportResultLines().size(), 1u);
    ASSERT_EQ(shown(ShownDialog::Notice).size(), 1u);
    EXPECT_TRUE(shown(ShownDialog::Notice)[0].text.contains(
        QString::fromUtf8("Es wurden 99999 Datensätze ausgewertet.")));
}

TEST_F(SearchGui, BoxSearchWithoutResultShowsError2) {
    WriteSevenSlides();
    Start();
    msg().queue(DialogAnswer::type(QStringLiteral("200")));
    main().toolButton(7)->click();
    EXPECT_EQ(errors(), std::vector<int>{2});
    EXPECT_EQ(st().screenMode, mode::Main);
    EXPECT_EQ(main().softButton(2)->text(), QStringLiteral("AUSWERTUNG"));
    EXPECT_EQ(st().currentStatus, 0);
}

// ------------------------------------------------------------------- memo search

TEST_F(SearchGui, MemoSearchSkipsSlidesWithoutMemoAndShowsTheRecordsData) {
    WriteSevenSlides();
    arc.write("memo/2.txt", "Erster Tag\r\nRom im Regen\r\n");
    arc.write("memo/5.TXT", "Rosen aus ROM\r\n");
    arc.write("memo/6.txt", "nichts davon\r\n");
    Start();
    // Whatever the memo editor last showed, slide 1 has no memo file.
    search().memoEditor()->memoText->setPlainText(QStringLiteral("rom"));
    msg().queue(DialogAnswer::type(QStringLiteral("rom"), false));
    main().toolButton(8)->click();

    EXPECT_EQ(st().screenMode, mode::MemoResults);
    EXPECT_EQ(main().softButton(3)->text(), QStringLiteral("MEMO PRINT"));
    ASSERT_EQ(st().foundCount, 2);
    EXPECT_EQ(main().statusPanel(2), QStringLiteral("2"));
    EXPECT_EQ(st().page.rows[0].slide, "2");
    EXPECT_EQ(st().page.rows[0].box, "1");
    EXPECT_EQ(st().page.rows[0].text, " Strand");
    EXPECT_EQ(st().page.rows[1].slide, "5");
    EXPECT_EQ(st().page.rows[1].code, "B01");
    EXPECT_EQ(st().keys.count, 0);
    EXPECT_EQ(st().currentSlide, 7);
    // The last match was read as the current slide.
    EXPECT_EQ(st().slide.infoText, "B01 Rosen am Meer");
    EXPECT_EQ(st().slide.boxNumber, 2);
    EXPECT_TRUE(shown(ShownDialog::ErrorBox).empty());

    msg().clearShown();
    msg().queue(DialogAnswer::type(QStringLiteral("ROM"), true));
    main().softButton(2)->click(); // NEUE SUCHE
    EXPECT_EQ(st().foundCount, 1);
    EXPECT_EQ(st().page.rows[0].slide, "5");
}

TEST_F(SearchGui, MemoPrintWritesTheMemosOfAllResultsAndStartsTheEditor) {
    WriteSevenSlides();
    arc.write("memo/3.txt", "Garten\r\n\tim Mai\r\n");
    arc.write("memo/6.txt", "Regen\r\n");
    Start();
    msg().queue(DialogAnswer::type(QStringLiteral("e")));
    main().toolButton(8)->click();
    ASSERT_EQ(st().foundCount, 2);
    prog->launcher().clearRecord();

    main().softButton(3)->click();
    const std::string block3 =
        " \r\n MEMO zu DIA Nr.3\r\n \r\n Garten\r\n \tim Mai\r\n \r\n" + Divider();
    const std::string block6 = " \r\n MEMO zu DIA Nr.6\r\n \r\n Regen\r\n \r\n" + Divider();
    const std::string expected =
        Head5() + BoxBlank() +
        "* A  N  Z  E  I  G  E  N    V  O  N    M  E  M  O  T  E  X  T  E  N *\r\n" + BoxBlank() +
        Divider() + block3 + block6;
    EXPECT_EQ(arc.read("memo.txt"), expected);
    EXPECT_EQ(prog->launcher().started(), QStringList{QStringLiteral("/bin/true memo.txt")});
}

TEST_F(SearchGui, MemoSearchWithoutResultShowsError3) {
    WriteSevenSlides();
    Start();
    msg().queue(DialogAnswer::type(QStringLiteral("Zebra")));
    main().toolButton(8)->click();
    EXPECT_EQ(errors(), std::vector<int>{3});
    EXPECT_EQ(st().screenMode, mode::Main);
}

// ------------------------------------------------------------------- header data search

class HeaderSearch : public SearchGui {
protected:
    // Opens the search from the menu; `fill` runs inside the dialog.
    void RunSearch(std::function<void(HeaderDataDialog&)> fill) {
        HeaderDataDialog* dlg = search().headerDialog();
        WhenShown(dlg, [dlg, fill] { fill(*dlg); });
        main().findAction(QString::fromUtf8("Dias über Kopfdaten&felder suchen..."))->trigger();
    }
};

TEST_F(HeaderSearch, OneLowerCaseCriterionFindsEveryCaseAndListsUnusedFields) {
    WriteSevenSlides();
    arc.write("kopfdata.ddb", HeaderRecord({"Nikon F50", "50mm"}) + HeaderRecord({"Canon"}) +
                                  HeaderRecord({"NIKON"}) + HeaderRecord({}) +
                                  HeaderRecord({"nikon", "", "", "", "", "", "", "01.01.99"}));
    Start();
    QPoint dialogPos;
    QString prompt;
    bool slideFieldShown = true;
    RunSearch([&](HeaderDataDialog& f) {
        dialogPos = f.pos();
        prompt = f.promptLabel->text();
        slideFieldShown = f.slideNumberEdit->isVisible();
        EXPECT_EQ(f.okButton->text(), QStringLiteral("&Suchen"));
        EXPECT_EQ(f.fieldNameEdits[0]->text(), QStringLiteral("Kamera"));
        EXPECT_EQ(f.fieldNameEdits[7]->text(), QStringLiteral("Datum"));
        f.valueBoxes[0]->setEditText(QStringLiteral("nikon"));
        f.okButton->click();
    });

    EXPECT_EQ(dialogPos, main().pos() + QPoint(58, 93));
    EXPECT_EQ(prompt, QStringLiteral("Bitte geben Sie nun die zu suchenden\nKopfdaten in die "
                                     "Comboboxen ein !"));
    EXPECT_FALSE(slideFieldShown);
    EXPECT_EQ(st().screenMode, mode::HeaderResults);
    EXPECT_EQ(main().windowTitle(),
              QString::fromUtf8("Lumoretta 3.03 - Dias über Kopfdatenfelder suchen..."));
    ASSERT_EQ(st().foundCount, 3);
    EXPECT_EQ(st().page.rows[0].slide, "1");
    EXPECT_EQ(st().page.rows[1].slide, "3");
    EXPECT_EQ(st().page.rows[2].slide, "5");
    EXPECT_EQ(st().keys.count, 0);
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_TRUE(prog->sound().played().contains(QStringLiteral("bell")));
    EXPECT_TRUE(prog->sound().played().contains(QStringLiteral("camera1")));

    std::string criteria = "*       ===> nikon" + std::string(50, ' ') + "*\r\n";
    for (int i = 0; i < 7; ++i)
        criteria += "*       ===> nicht verwendet" + std::string(40, ' ') + "*\r\n";
    const std::string head =
        Head5() + BoxBlank() +
        "*          A  N  Z  E  I  G  E  N    V  O  N    D  I  A  S          *\r\n" + BoxBlank() +
        Divider() + "*  Folgende Kopfdaten wurden f\xFCr die aufgelisteten Dias verwendet   *\r\n" +
        Divider() + BoxBlank() + criteria + BoxBlank() + ColumnHead();
    EXPECT_EQ(arc.read("dialiste.txt").substr(0, head.size()), head);
    // The empty criteria read "nicht verwendet" in the dialog from now on.
    EXPECT_EQ(search().headerDialog()->valueBoxes[3]->currentText(),
              QStringLiteral("nicht verwendet"));
}

TEST_F(HeaderSearch, MissingHeaderFileGivesError31AndKeepsTheOldReport) {
    WriteSevenSlides();
    arc.write("dialiste.txt", "previous report");
    Start();
    RunSearch([](HeaderDataDialog& f) {
        f.valueBoxes[1]->setEditText(QStringLiteral("Zoom"));
        f.okButton->click();
    });
    EXPECT_EQ(errors(), std::vector<int>{31});
    EXPECT_EQ(arc.read("dialiste.txt"), "previous report");
    EXPECT_EQ(st().screenMode, mode::Main);
    EXPECT_TRUE(shown(ShownDialog::Notice).empty());
}

TEST_F(HeaderSearch, NewSearchLeftWithQuitKeepsTheResultList) {
    WriteSevenSlides();
    arc.write("kopfdata.ddb", HeaderRecord({"Nikon"}) + HeaderRecord({"Canon"}));
    Start();
    RunSearch([](HeaderDataDialog& f) {
        f.valueBoxes[0]->setEditText(QStringLiteral("canon"));
        f.okButton->click();
    });
    ASSERT_EQ(st().screenMode, mode::HeaderResults);
    ASSERT_EQ(st().foundCount, 1);
    msg().clearShown();
    HeaderDataDialog* dlg = search().headerDialog();
    QString criterion = QStringLiteral("?");
    bool scrollBarHidden = false;
    WhenShown(dlg, [&] {
        criterion = dlg->valueBoxes[0]->currentText(); // Init emptied the criteria
        scrollBarHidden = !main().scrollBar()->isVisible();
        dlg->closeButton->click();
    });
    main().softButton(2)->click(); // NEUE SUCHE
    EXPECT_TRUE(criterion.isEmpty());
    EXPECT_TRUE(scrollBarHidden);
    EXPECT_TRUE(main().scrollBar()->isVisible());
    EXPECT_EQ(st().screenMode, mode::HeaderResults);
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("TEXT-EDITOR"));
    EXPECT_EQ(st().foundCount, 1);
}

TEST_F(HeaderSearch, AllCriteriaEmptyIsRefusedAndTheDialogStaysOpen) {
    WriteSevenSlides();
    arc.write("kopfdata.ddb", HeaderRecord({"Nikon"}));
    Start();
    bool stillOpen = false;
    RunSearch([&](HeaderDataDialog& f) {
        f.okButton->click();
        stillOpen = f.isVisible();
        f.closeButton->click();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(errors(), std::vector<int>{4});
    EXPECT_FALSE(st().searchConfirmed);
    EXPECT_FALSE(arc.exists("dialiste.txt"));
    EXPECT_EQ(st().currentStatus, 0);
}

TEST_F(HeaderSearch, NothingFoundShowsError34) {
    WriteSevenSlides();
    arc.write("kopfdata.ddb", HeaderRecord({"Nikon"}) + HeaderRecord({"Canon"}));
    Start();
    RunSearch([](HeaderDataDialog& f) {
        f.valueBoxes[0]->setEditText(QStringLiteral("Leica"));
        f.okButton->click();
    });
    EXPECT_EQ(errors(), std::vector<int>{34});
    EXPECT_EQ(st().screenMode, mode::Main);
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("BEARBEITEN"));
    EXPECT_NE(arc.read("dialiste.txt").find(Statistics(7, 0, "0.00")), std::string::npos);
}

// ------------------------------------------------------------------- list reports

TEST_F(SearchGui, ShowReportFilesGivesTheEditorOnlyTheFileName) {
    WriteSevenSlides();
    Start();
    msg().queueFileName(QStringLiteral("/somewhere/else/kasten.txt"));
    main().findAction(QStringLiteral("&Analyse-Dateien anzeigen..."))->trigger();
    const auto files = shown(ShownDialog::FileDialog);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].title, QString::fromUtf8("Analysedatei auswählen"));
    EXPECT_EQ(prog->launcher().started(), QStringList{QStringLiteral("/bin/true kasten.txt")});

    // Cancelled: nothing is started.
    prog->launcher().clearRecord();
    main().findAction(QStringLiteral("&Analyse-Dateien anzeigen..."))->trigger();
    EXPECT_TRUE(prog->launcher().started().isEmpty());
}

TEST_F(SearchGui, ReportFileWithBlanksStaysOneArgument) {
    WriteSevenSlides();
    Start();
    msg().queueFileName(QString::fromStdString(arc.path("meine liste.txt").string()));
    main().findAction(QStringLiteral("&Analyse-Dateien anzeigen..."))->trigger();
    EXPECT_EQ(prog->launcher().started(),
              QStringList{QStringLiteral("/bin/true \"meine liste.txt\"")});
    ASSERT_EQ(prog->launcher().commands().size(), 1u);
    EXPECT_EQ(prog->launcher().commands()[0].value(1), QStringLiteral("meine liste.txt"));
}

TEST_F(SearchGui, BoxListAsksToEditAndStartsTheEditor) {
    WriteSevenSlides();
    arc.write("KASTEN.INI", "[K007]\r\nT1=Urlaub 1997\r\nT2=Toskana\r\n");
    Start();
    msg().queue(DialogAnswer::ok());
    msg().queue(DialogAnswer::yes());
    main()
        .findAction(QString::fromUtf8("&1 - Liste der Kastenbezeichnungen erstellen..."))
        ->trigger();
    const auto notices = shown(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text,
              QString::fromUtf8("Die Datei kasten.txt wird nun neu erstellt.\rUnter "
                                "Datei/Analyse-Dateien anzeigen...\rkönnen Sie diese jederzeit "
                                "laden und modifizieren."));
    const auto questions = shown(ShownDialog::Confirm);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, QString::fromUtf8("Die Datei kasten.txt wurde erstellt.\rMöchten "
                                                   "Sie die Datei bearbeiten ?"));
    EXPECT_NE(arc.read("kasten.txt").find("*   7 ! Urlaub 1997"), std::string::npos);
    EXPECT_EQ(prog->launcher().started(), QStringList{QStringLiteral("/bin/true kasten.txt")});
    EXPECT_EQ(st().screenMode, mode::Main);
    EXPECT_EQ(st().currentStatus, 0);
    EXPECT_TRUE(main().softButton(1)->isEnabled());
}

TEST_F(SearchGui, KeyListRefusesAnEmptyLevelWithError54) {
    WriteSevenSlides();
    arc.write("keyword2", "");
    Start();
    main()
        .findAction(QString::fromUtf8("&2 - Liste der verwendeten Schlüssel erstellen..."))
        ->trigger();
    EXPECT_EQ(errors(), std::vector<int>{54});
    EXPECT_FALSE(arc.exists("keyliste.txt"));
    EXPECT_TRUE(shown(ShownDialog::Notice).empty());
}

TEST_F(SearchGui, KeyListWrittenAndNotOpenedWhenTheUserDeclines) {
    WriteSevenSlides();
    Start();
    msg().queue(DialogAnswer::ok());
    msg().queue(DialogAnswer::no());
    main()
        .findAction(QString::fromUtf8("&2 - Liste der verwendeten Schlüssel erstellen..."))
        ->trigger();
    const auto questions = shown(ShownDialog::Confirm);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, QString::fromUtf8("Die Schlüsselliste wurde erstellt.\rMöchten "
                                                   "Sie die Datei bearbeiten ?"));
    EXPECT_TRUE(arc.exists("keyliste.txt"));
    EXPECT_TRUE(arc.exists("keyword1.prt"));
    EXPECT_TRUE(prog->launcher().started().isEmpty());
    EXPECT_EQ(st().screenMode, mode::Main);
}

} // namespace
} // namespace lumo::test
