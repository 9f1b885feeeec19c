// The searches and list reports through the real main window, reports against typed files.
#include "SearchGuiFixture.h"

#include "editing/MemoEditor.h"
#include "search/gui/HeaderDataDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <filesystem>
#include <fstream>

namespace lumo::test {
namespace {

const std::string kMainMenu = "mode 0, status 0, found 0, panel 0, BEARBEITEN / AUSWERTUNG, rows";

// In fast mode the window is minimised during the scan and restored before the notice.
TEST_F(SearchGui, KeySearchListsMatchesWritesReportAndStartsTheEditor) {
    WriteSevenSlides();
    Start();
    main().fastModeAction()->trigger();
    ASSERT_TRUE(state().fastMode);
    struct StateLog : QObject {
        std::vector<bool> minimised;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::WindowStateChange)
                minimised.push_back(static_cast<QWidget*>(o)->isMinimized());
            return false;
        }
    } log;
    main().installEventFilter(&log);
    KeySearch({{"N1", "Natur"}});
    main().removeEventFilter(&log);
    EXPECT_EQ(log.minimised, (std::vector<bool>{true, false}));
    EXPECT_EQ(archive.read("dialiste.txt"), Expected("gui-keys", "expected-dialiste.txt"));
    EXPECT_EQ(Summary(),
              "mode 211, status 13, found 3, panel 3, TEXT-EDITOR / NEUE SUCHE, rows 1 3 5");
    EXPECT_EQ(
        texts(ShownDialog::Notice),
        QStringList{QString::fromUtf8("Ihr Archiv ist komplett durchsucht worden.\rEs wurden 7 "
                                      "Datensätze ausgewertet.\rDavon entsprachen 3 Dias den "
                                      "Vorgaben.\rDies entspricht 42.86 % Ihres Archivs.")});
    EXPECT_TRUE(errors().empty());
    main().softButton(1)->click(); // TEXT-EDITOR
    EXPECT_EQ(started(), QStringList{QStringLiteral("/bin/true dialiste.txt")});
}

TEST_F(SearchGui, KeySearchWithoutMatchResetsSelectionAndReturnsToMainMenu) {
    WriteSevenSlides();
    Start();
    KeySearch({{"N1", "Natur"}, {"N1B1R1", "Rosen"}, {"U1", "Urlaub"}, {"U1XX", "Nix"}});
    EXPECT_EQ(errors(), std::vector<int>{9});
    EXPECT_EQ(archive.read("dialiste.txt"), Expected("gui-keys-none", "expected-dialiste.txt"));
    EXPECT_EQ(Summary(), kMainMenu);
    EXPECT_EQ(state().keys.entries[3].code + "|" + state().keys.entries[3].name, "00    |");
}

TEST_F(SearchGui, InfoSearchWithThePresetFindsExactlyTheFreeSlots) {
    WriteSevenSlides();
    Start();
    messages().queue(DialogAnswer::type(QStringLiteral("Dia wurde entnommen / Platz frei")));
    main().toolButton(6)->click();
    EXPECT_EQ(shownOf(ShownDialog::Prompt).at(0).number, 1);
    EXPECT_EQ(archive.read("dialiste.txt"), Expected("gui-info-free", "expected-dialiste.txt"));
    EXPECT_EQ(Summary(),
              "mode 240, status 13, found 2, panel 2, TEXT-EDITOR / NEUE SUCHE, rows 4 7");
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
}

// Searches without result show their error and return to the main menu, also from a list.
TEST_F(SearchGui, SearchesWithoutResultShowTheirErrorAndReturnToTheMainMenu) {
    WriteSevenSlides();
    Start();
    messages().queue(DialogAnswer::type(QStringLiteral("rom"), false));
    main().toolButton(6)->click();
    EXPECT_EQ(Summary(), "mode 240, status 13, found 1, panel 1, TEXT-EDITOR / NEUE SUCHE, rows 6");
    const struct {
        QAbstractButton* button;
        const char* typed;
        int error;
    } rows[] = {{main().softButton(2), "rom", 3}, // NEUE SUCHE, case distinguished
                {main().toolButton(7), "200", 2},
                {main().toolButton(8), "Zebra", 3}};
    for (const auto& r : rows) {
        messages().clearShown();
        messages().queue(DialogAnswer::type(QString::fromUtf8(r.typed), true));
        r.button->click();
        EXPECT_EQ(errors(), std::vector<int>{r.error}) << r.typed;
        EXPECT_EQ(Summary(), kMainMenu) << r.typed;
    }
    for (const auto& row : state().page.rows)
        EXPECT_EQ(row.text, "nicht belegt      ");
    // A cancelled prompt runs no search.
    archive.write("dialiste.txt", "old report");
    messages().queue(DialogAnswer::cancel());
    main().toolButton(6)->click();
    EXPECT_EQ(archive.read("dialiste.txt"), "old report");
    EXPECT_EQ(Summary(), kMainMenu);
}

TEST_F(SearchGui, SearchesRefuseAnEmptyArchiveWithError53) {
    WriteArchive("", 0);
    Start();
    for (int tool : {6, 7, 8})
        main().toolButton(tool)->click();
    main().findAction(QString::fromUtf8("Dias über Kopfdaten&felder suchen..."))->trigger();
    EXPECT_EQ(errors(), (std::vector<int>{53, 53, 53, 53}));
    EXPECT_FALSE(archive.exists("dialiste.txt"));
}

// Slide 100,000 is not listed: its five-digit result line would read back as 10,000.
TEST_F(SearchGui, BoxSearchListsNoSlideBeyondFiveDigits) {
    WriteArchive("", 3);
    std::filesystem::resize_file(archive.path("dias.ddb"), 100000u * 82);
    {
        std::fstream db(archive.path("dias.ddb"), std::ios::in | std::ios::out | std::ios::binary);
        for (const auto& [slide, record] :
             {std::pair{5, RecordBytes({"N1"}, "A05 Fuenf", 7)},
              std::pair{10000, RecordBytes({"N1"}, "A01 Zehntausend", 3)},
              std::pair{100000, RecordBytes({"N1"}, "A05 Hunderttausend", 7)}}) {
            db.seekp(std::streamoff{82} * (slide - 1));
            db.write(record.data(), static_cast<std::streamsize>(record.size()));
        }
    }
    Start();
    ASSERT_EQ(state().counters.totalRecords, 100000);
    messages().queue(DialogAnswer::type(QStringLiteral("7")));
    main().toolButton(7)->click();
    EXPECT_EQ(Summary(), "mode 220, status 13, found 1, panel 1, TEXT-EDITOR / NEUE SUCHE, rows 5");
    EXPECT_EQ(archive.read("dialiste.txt").find("Hunderttausend"), std::string::npos);
    EXPECT_TRUE(texts(ShownDialog::Notice)
                    .value(0)
                    .contains(QString::fromUtf8("Es wurden 99999 Datensätze ausgewertet.")));
}

TEST_F(SearchGui, MemoSearchSkipsSlidesWithoutMemoAndPrintsTheMemos) {
    WriteSevenSlides();
    archive.write("memo/3.txt", "Garten\r\n\tim Mai\r\n");
    archive.write("memo/6.txt", "Rom im Regen\r\n");
    archive.write("memo/5.txt", "nichts davon\r\n");
    Start();
    // Whatever the memo editor last showed, slide 1 has no memo file.
    search().memoEditor()->memoText->setPlainText(QStringLiteral("rom"));
    messages().queue(DialogAnswer::type(QStringLiteral("ROM"), false));
    main().toolButton(8)->click();
    EXPECT_EQ(Summary(), "mode 250, status 13, found 1, panel 1, TEXT-EDITOR / NEUE SUCHE, rows 6");
    EXPECT_EQ(main().softButton(3)->text(), QStringLiteral("MEMO PRINT"));
    messages().queue(DialogAnswer::type(QStringLiteral("e"), true));
    main().softButton(2)->click(); // NEUE SUCHE, case distinguished
    EXPECT_EQ(Summary(),
              "mode 250, status 13, found 2, panel 2, TEXT-EDITOR / NEUE SUCHE, rows 3 6");
    main().softButton(3)->click(); // MEMO PRINT
    EXPECT_EQ(archive.read("memo.txt"), Expected("gui-memo", "expected-memo.txt"));
    EXPECT_EQ(started().value(0), QStringLiteral("/bin/true memo.txt"));
}

class HeaderSearch : public SearchGui {
protected:
    // Opens the search from the menu; `fill` runs inside the dialog.
    void RunSearch(std::function<void(HeaderDataDialog&)> fill) {
        HeaderDataDialog* dlg = search().headerDialog();
        new WhenShown(dlg, [dlg, fill] { fill(*dlg); });
        main().findAction(QString::fromUtf8("Dias über Kopfdaten&felder suchen..."))->trigger();
    }
    static std::function<void(HeaderDataDialog&)> Criterion(int field, const char* value) {
        return [=](HeaderDataDialog& f) {
            f.valueBoxes[field]->setEditText(QString::fromUtf8(value));
            f.okButton->click();
        };
    }
};

TEST_F(HeaderSearch, OneLowerCaseCriterionFindsEveryCaseAndListsUnusedFields) {
    WriteSevenSlides();
    archive.write("kopfdata.ddb",
                  HeaderRecordBytes({"Nikon F50", "50mm"}) + HeaderRecordBytes({"Canon"}) +
                      HeaderRecordBytes({"NIKON"}) + HeaderRecordBytes({}) +
                      HeaderRecordBytes({"nikon", "", "", "", "", "", "", "01.01.99"}));
    Start();
    QPoint dialogPos;
    QString seen;
    RunSearch([&](HeaderDataDialog& f) {
        dialogPos = f.pos();
        seen = f.promptLabel->text() + u'|' + f.okButton->text() + u'|' +
               f.fieldNameEdits[0]->text() + u'|' + f.fieldNameEdits[7]->text() +
               (f.slideNumberEdit->isVisible() ? QStringLiteral("|slide number shown") : QString());
        Criterion(0, "nikon")(f);
    });
    EXPECT_EQ(dialogPos, main().pos() + QPoint(58, 93));
    EXPECT_EQ(seen, QStringLiteral("Bitte geben Sie nun die zu suchenden\nKopfdaten in die "
                                   "Comboboxen ein !|&Suchen|Kamera|Datum"));
    EXPECT_EQ(archive.read("dialiste.txt"), Expected("gui-header", "expected-dialiste.txt"));
    const std::string results =
        "mode 260, status 13, found 3, panel 3, TEXT-EDITOR / NEUE SUCHE, rows 1 3 5";
    EXPECT_EQ(Summary(), results);
    // The empty criteria read "nicht verwendet" from now on.
    EXPECT_EQ(search().headerDialog()->valueBoxes[3]->currentText(),
              QStringLiteral("nicht verwendet"));
    // A new search left with quit keeps the result list.
    messages().clearShown();
    HeaderDataDialog* dlg = search().headerDialog();
    QString criterion = QStringLiteral("?");
    new WhenShown(dlg, [&] {
        criterion = dlg->valueBoxes[0]->currentText(); // emptied for the new search
        dlg->closeButton->click();
    });
    main().softButton(2)->click(); // NEUE SUCHE
    EXPECT_EQ(criterion, QString());
    EXPECT_TRUE(main().scrollBar()->isVisible());
    EXPECT_EQ(Summary(), results);
}

TEST_F(HeaderSearch, EmptyCriteriaMissingFileAndNoMatchGiveTheirErrors) {
    WriteSevenSlides();
    archive.write("dialiste.txt", "previous report");
    Start();
    bool stillOpen = false;
    RunSearch([&](HeaderDataDialog& f) {
        f.okButton->click(); // all criteria empty: refused, the dialog stays open
        stillOpen = f.isVisible();
        Criterion(1, "Zoom")(f);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(errors(), (std::vector<int>{4, 31})); // 31: no kopfdata.ddb
    EXPECT_EQ(archive.read("dialiste.txt"), "previous report");
    EXPECT_EQ(Summary(), kMainMenu);
    archive.write("kopfdata.ddb", HeaderRecordBytes({"Nikon"}) + HeaderRecordBytes({"Canon"}));
    messages().clearShown();
    RunSearch(Criterion(0, "Leica"));
    EXPECT_EQ(errors(), std::vector<int>{34});
    EXPECT_EQ(Summary(), kMainMenu);
    EXPECT_NE(archive.read("dialiste.txt").find("Davon entsprachen 0 Dias"), std::string::npos);
}

TEST_F(SearchGui, ShowReportFilesGivesTheEditorOnlyTheFileNameAsOneArgument) {
    WriteSevenSlides();
    Start();
    QAction* show = main().findAction(QStringLiteral("&Analyse-Dateien anzeigen..."));
    messages().queueFileName(QStringLiteral("/somewhere/else/kasten.txt"));
    show->trigger();
    EXPECT_EQ(shownOf(ShownDialog::FileDialog).at(0).title,
              QString::fromUtf8("Analysedatei auswählen"));
    EXPECT_EQ(started(), QStringList{QStringLiteral("/bin/true kasten.txt")});
    program->launcher().clearRecord();
    messages().queueFileName(QString::fromStdString(archive.path("meine liste.txt").string()));
    show->trigger();
    ASSERT_EQ(program->launcher().commands().size(), 1u);
    EXPECT_EQ(program->launcher().commands()[0].mid(1),
              (QStringList{QStringLiteral("--"), QStringLiteral("meine liste.txt")}));
}

TEST_F(SearchGui, BoxAndKeyListsAskToEditAndStartTheEditorOnYes) {
    WriteSevenSlides();
    Start();
    messages().queue(DialogAnswer::ok());
    messages().queue(DialogAnswer::yes());
    main()
        .findAction(QString::fromUtf8("&1 - Liste der Kastenbezeichnungen erstellen..."))
        ->trigger();
    EXPECT_EQ(texts(ShownDialog::Notice),
              QStringList{
                  QString::fromUtf8("Die Datei kasten.txt wird nun neu erstellt.\rUnter "
                                    "Datei/Analyse-Dateien anzeigen...\rkönnen Sie diese jederzeit "
                                    "laden und modifizieren.")});
    EXPECT_EQ(texts(ShownDialog::Confirm),
              QStringList{QString::fromUtf8("Die Datei kasten.txt wurde erstellt.\rMöchten Sie "
                                            "die Datei bearbeiten ?")});
    EXPECT_EQ(started(), QStringList{QStringLiteral("/bin/true kasten.txt")});
    messages().clearShown();
    program->launcher().clearRecord();
    messages().queue(DialogAnswer::ok());
    messages().queue(DialogAnswer::no());
    QAction* keyList =
        main().findAction(QString::fromUtf8("&2 - Liste der verwendeten Schlüssel erstellen..."));
    keyList->trigger();
    EXPECT_EQ(texts(ShownDialog::Confirm),
              QStringList{QString::fromUtf8("Die Schlüsselliste wurde erstellt.\rMöchten Sie "
                                            "die Datei bearbeiten ?")});
    EXPECT_TRUE(archive.exists("keyliste.txt"));
    EXPECT_TRUE(started().isEmpty());
    messages().clearShown();
    std::filesystem::remove(archive.path("keyliste.txt"));
    archive.write("keyword2", "");
    keyList->trigger();
    EXPECT_EQ(errors(), std::vector<int>{54});
    EXPECT_FALSE(archive.exists("keyliste.txt"));
    EXPECT_TRUE(shownOf(ShownDialog::Notice).empty());
}

} // namespace
} // namespace lumo::test
