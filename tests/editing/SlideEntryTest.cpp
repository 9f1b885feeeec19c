// Slide entry (mode 110), keyword entry (mode 140) with its undo, and the slide data viewer.
#include "EditingTestSupport.h"

#include "editing/SelectedKeysDialog.h"
#include "editing/SlideDataViewer.h"
#include "editing/SlideEntryDialog.h"
#include "platform/Launcher.h"
#include "store/SlideDatabase.h"

#include <QImage>

namespace lumo::test::editing {
namespace {

const QString kNoKeys =
    u"Es sind noch keine Schlüssel im Archiv !\rangelegt bzw. erfasst worden !"_s;

class SlideEntry : public EditingTest {
protected:
    static std::string Join(const QStringList& l) { return l.join(u'|').toStdString(); }
    SlideEntryDialog& save() { return *entry().slideEntryDialog(); }
    // Opens the save dialog through "DIA SICHERN", runs `act` in it and closes it if still open.
    void InSaveDialog(const std::function<void(SlideEntryDialog&)>& act) {
        const auto* w = new WhenShown(&save(), [&] {
            act(save());
            if (save().isVisible())
                QTest::mouseClick(save().closeButton, Qt::LeftButton);
        });
        entry().SaveSlide();
        ASSERT_TRUE(w->ran());
    }
    // Number, box, magazine code and information text shown.
    static std::string Fields(SlideEntryDialog& d) {
        return Join({d.slideNumberEdit->text(), d.boxNumberEdit->text(), d.magazineCodeEdit->text(),
                     d.infoTextBox->currentText()});
    }
    // The canvas and the three key cursors are those a fresh paint of the lists gives:
    // the lists on disk and the cursors the next insertion starts from.
    void ExpectScreenShowsTheLists() {
        auto cursors = [this] {
            QString out;
            for (QLabel* c : {main().levelCursor(1), main().levelCursor(2), main().levelCursor(3)})
                out += QDebug::toString(c->isHidden() ? QRect() : c->geometry()) + c->text();
            return out;
        };
        const QImage shown = main().canvas().toImage();
        const QString before = cursors();
        main().RepaintNow();
        EXPECT_TRUE(main().canvas().toImage() == shown);
        EXPECT_EQ(cursors(), before);
    }
};

TEST_F(SlideEntry, BoxAndPositionFollowTheSlideNumber) {
    for (auto [slide, precompute, fields] : {std::tuple{1, true, "1|1|A01"},
                                             {36, true, "36|1|A36"},
                                             {37, true, "37|1|B01"},
                                             {144, true, "144|1|D36"},
                                             {145, true, "145|2|A01"},
                                             {1, false, "1|0|???"}}) {
        Open({.emptyRecords = slide - 1,
              .keyword1 = kLevel1,
              .slidesPerMagazine = 36,
              .magazinesPerBox = 4,
              .precomputePosition = precompute});
        entry().StartNewSlide();
        Select({{"B1", "Berge"}});
        Answer({yes}); // clear the keys afterwards
        InSaveDialog([&](SlideEntryDialog& d) {
            EXPECT_EQ(Fields(d), fields + std::string("|InformationsText(28)"));
            if (!precompute)
                d.onSave(); // box 0 is refused
        });
        EXPECT_EQ(errors(), precompute ? std::vector<int>{} : std::vector<int>{5});
        EXPECT_EQ(std::filesystem::file_size(archive.path("dias.ddb")), 82u * (slide - 1));
    }
}

// A refused box number or a failed write leaves file, count and undo as they were.
TEST_F(SlideEntry, InvalidBoxNumbersAndAFailedWriteChangeNothing) {
    OpenSlides(2);
    main().SetUndoEnabled(true);
    entry().StartNewSlide();
    Select({{"B1", "Berge"}});
    const std::string ini = archive.read("DIA.INI");
    InSaveDialog([&](SlideEntryDialog& d) {
        for (const char* box : {"0", "256", "abc", "", "1"}) {
            if (*box == '1') { // dias.ddb can no longer be opened for writing
                std::filesystem::remove(archive.path("dias.ddb"));
                std::filesystem::create_directory(archive.path("dias.ddb"));
            } else
                EXPECT_EQ(archive.read("dias.ddb"), Slides(1, 2)) << box;
            d.boxNumberEdit->setText(QLatin1String(box));
            d.onSave();
            EXPECT_TRUE(d.isVisible()) << box;
            EXPECT_EQ(d.slideNumberEdit->text().toStdString() + Mode(), "3110/20 off") << box;
        }
    });
    EXPECT_EQ(errors(), (std::vector<int>{5, 5, 5, 5, 31}));
    EXPECT_EQ(state().counters.totalRecords, 2);
    EXPECT_EQ(archive.read("DIA.INI"), ini);
    EXPECT_EQ(Lists(".old"), "|||");
    EXPECT_TRUE(main().undoAction()->isEnabled());
}

// An edited slide keeps every stored code, also an unresolved one; nothing else changes.
TEST_F(SlideEntry, EditingRewritesTheRecordKeepingEveryCodeAndTouchesNothingElse) {
    const std::string one = RecordBytes({"B1"}, "A01 Eins", 1);
    OpenSlides(3, {one, RecordBytes({"XX", "W1", "", "B1A1"}, "B07 Haus am See  ", 12), one});
    for (auto [f, text] : {std::pair{"keyword1.old", kLevel1}, {"keyword2.old", kLevel2}})
        archive.write(f, text);
    archive.write("keyword3.old", "old three");
    main().SetUndoEnabled(true);
    const std::string ini = archive.read("DIA.INI");
    state().infoHistory = {"Haus am Meerblick"}; // a text typed is not completed into it
    Answer({Type("2")});
    entry().StartEditSlide();
    EXPECT_EQ(Keys(state().keys), "XX (unbekannt)|XX    ,Wasser|W1    ,Alpen|B1A1  ");
    InSaveDialog([&](SlideEntryDialog& d) {
        EXPECT_EQ(Fields(d), "2|12|B07|Haus am See");
        EXPECT_EQ(Boxes(d.keyBoxes), "XX (unbekannt)*~,Wasser*~,Alpen*~,?~,?~,?~,?~,?~");
        d.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        QTest::mouseClick(d.infoTextBox->lineEdit(), Qt::LeftButton);
        QTest::keyClick(d.infoTextBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d.infoTextBox, u"Haus am Meer"_s);
        d.onSave();
        EXPECT_FALSE(d.isVisible()); // closes after the one save
    });
    EXPECT_EQ(archive.read("dias.ddb"),
              one + RecordBytes({"XX", "W1", "B1A1"}, "B07 Haus am Meer", 12) + one);
    EXPECT_EQ(archive.read("DIA.INI"), ini);
    EXPECT_EQ(Lists(".old"), kLevel1 + "|" + kLevel2 + "|old three|");
    EXPECT_TRUE(main().undoAction()->isEnabled());
    EXPECT_EQ(Mode(), "0/0"); // back to the main menu, without the clear question
    EXPECT_TRUE(texts(ShownDialog::Confirm).empty());
}

// A slide stored with a keyword the undo would take away ends the undo.
TEST_F(SlideEntry, EditedSlideWithAKeywordAddedJustBeforeEndsTheUndo) {
    OpenSlides(1);
    entry().StartNewKeyword();
    Answer({Type("Eis"), yes, Type("1")});
    entry().LevelButton(1);
    ASSERT_TRUE(main().undoAction()->isEnabled());
    entry().StartEditSlide();
    main().onCanvasPress(Qt::RightButton, 100, 60 + 17); // level 1, row 2: "Eis"
    main().onLevelCursorClick(1);
    ASSERT_EQ(state().keys.count, 2);
    InSaveDialog([](SlideEntryDialog& d) { d.onSave(); });
    EXPECT_EQ(archive.read("dias.ddb"), RecordBytes({"B1", "E1"}, "A01 Dia 1", 1));
    EXPECT_FALSE(main().undoAction()->isEnabled());
    EXPECT_EQ(Lists(".old"), Lists());
    EXPECT_EQ(Lists(), "Berge\nB1\nEis\nE1\nWasser\nW1\n*|" + kLevel2 + "|" + kLevel3 + "|");
}

// Slide 99,999 is the last one: no slide 100,000 is prepared or started.
TEST_F(SlideEntry, NoNewSlideBeyondTheLastFiveDigitNumber) {
    const QString full = U("Das Archiv belegt bereits die\rmax. Anzahl von 99999 Dias !");
    Open({.emptyRecords = 99998, .keyword1 = kLevel1});
    entry().StartNewSlide();
    ASSERT_EQ(state().currentSlide, 99999);
    Select({{"B1", "Berge"}});
    Answer({no}); // keep the keys
    InSaveDialog([&](SlideEntryDialog& d) {
        d.onSave();
        EXPECT_FALSE(d.isVisible()); // not prepared for a slide 100,000
    });
    EXPECT_EQ(std::filesystem::file_size(archive.path("dias.ddb")), 99999u * 82);
    EXPECT_EQ(texts(ShownDialog::Notice), QStringList{full});
    // "DIA SICHERN" again, and new-slide entry started again: refused, no dialog.
    const auto* w = new WhenShown(&save(), [&] { save().onClose(); });
    entry().SaveSlide();
    entry().StartNewSlide();
    EXPECT_FALSE(w->ran());
    EXPECT_EQ(texts(ShownDialog::Notice), (QStringList{full, full, full}));
    EXPECT_EQ(std::filesystem::file_size(archive.path("dias.ddb")), 99999u * 82);
}

// Mode 110 from the tool button; its soft buttons, KEY ABLAGE and the selected-keys dialog.
TEST_F(SlideEntry, KeyStoreAndKeyEditorWorkOnTheSelection) {
    OpenSlides(2);
    state().keys.count = 3;
    const auto* saveShown = new WhenShown(&save(), [] {});
    QTest::mouseClick(main().toolButton(1), Qt::LeftButton);
    EXPECT_EQ(Mode() + main().softButton(1)->text().toStdString(), "110/3DIA SICHERN");
    EXPECT_EQ(state().currentSlide * 10 + state().keys.count, 30);
    for (int b : {1, 2, 3}) // DIA SICHERN, KEY EDITOR, KEY ABLAGE without keys
        QTest::mouseClick(main().softButton(b), Qt::LeftButton);
    EXPECT_EQ(errors(), (std::vector<int>{10, 10, 23}));
    EXPECT_FALSE(saveShown->ran()); // no save dialog without keys
    Select({{"B1", "Berge"}, {"W1M1", "Meer"}});
    entry().ExchangeKeyStore(); // taken into the store
    EXPECT_EQ(Keys(state().keyStore), "Berge|B1,Meer|W1M1");
    state().keys.clearAll();
    entry().ExchangeKeyStore(); // and given back
    EXPECT_EQ(Keys(state().keys), "Berge|B1,Meer|W1M1");
    Select({{"B1", "Berge"}, {"B1A1", "Alpen"}, {"W1", "Wasser"}, {"W1M1", "Meer"}});
    auto& d = *entry().selectedKeysDialog();
    const auto* w = new WhenShown(&d, [&] {
        EXPECT_EQ(d.windowTitle(), U("Selektierte Schlüssel"));
        EXPECT_EQ(Boxes(d.keyBoxes), "Berge*,Alpen*,Wasser*,Meer*,?~,?~,?~,?~");
        QTest::mouseClick(d.keyBoxes[0], Qt::LeftButton, {}, QPoint(8, 11)); // on the box
        d.keyBoxes[2]->setChecked(false);
        QTest::mouseClick(d.updateButton, Qt::LeftButton);
        EXPECT_EQ(Keys(state().keys, 3), "Alpen|B1A1,Meer|W1M1,|00    ");
        EXPECT_EQ(Boxes(d.keyBoxes), "Alpen*,Meer*,?~,?~,?~,?~,?~,?~");
        EXPECT_EQ(main().statusLine()->text(), U("Freie Stichwörter ->6<-"));
        d.onClearAll();
        EXPECT_FALSE(d.isVisible());
    });
    entry().KeyEditor();
    ASSERT_TRUE(w->ran());
    EXPECT_EQ(Keys(state().keys, 1), "|00    ");
    EXPECT_EQ(Mode(), "110/3");
}

// "Nein" changes no file; "Ja" writes list and undo copies; the undo restores them.
TEST_F(SlideEntry, KeywordInsertionWritesUndoCopiesAndTheUndoRestoresThem) {
    OpenSlides(1);
    archive.write("keyword1.old", "stale1");
    QTest::mouseClick(main().toolButton(4), Qt::LeftButton);
    EXPECT_EQ(Mode() + main().softButton(1)->text().toStdString(), "140/10EBENE <1>");
    const QString question =
        U("Soll der neue Schlüssel\r\"Blumen\"\rin die Stichwortebene <1> \reinsortiert werden ?");
    Answer({Type("Blumen"), no, Type("Blumen"), yes});
    QTest::mouseClick(main().softButton(1), Qt::LeftButton);
    EXPECT_EQ(Lists() + Lists(".old"), kLists + "stale1|||");
    EXPECT_FALSE(main().undoAction()->isEnabled());
    QTest::mouseClick(main().softButton(1), Qt::LeftButton);
    EXPECT_EQ(texts(ShownDialog::Confirm), (QStringList{question, question}));
    const std::string after =
        "Berge\nB1\nBlumen\nB2\nWasser\nW1\n*|" + kLevel2 + "|" + kLevel3 + "|";
    EXPECT_EQ(Lists() + Lists(".old"), after + kLists); // the copies: the lists before
    EXPECT_TRUE(main().undoAction()->isEnabled());
    // The new keyword shows at once in the level list (no stale cache).
    KeySelection keys;
    CurrentSlideData slide;
    slide.storedKeys = {"B2    ", "", "", "", "", "", "", ""};
    ResolveKeys(state().archive, slide, keys, &state().keywordCache);
    EXPECT_EQ(keys.entries[0].name, "Blumen");
    Answer({no, yes});
    main().undoAction()->trigger();
    EXPECT_EQ(Lists(), after);
    EXPECT_TRUE(main().undoAction()->isEnabled());
    main().undoAction()->trigger();
    EXPECT_EQ(texts(ShownDialog::Confirm).back(),
              U("Möchten Sie die letzte Änderung\rihrer Schlüssellisten revidierden ?"));
    EXPECT_EQ(Lists(), kLists);
    EXPECT_FALSE(main().undoAction()->isEnabled());
    state().cursor.selectedRow[0] = 2; // level 2 goes under the selected level-1 key "Wasser"
    Answer({Type("Hafen"), yes});
    entry().LevelButton(2);
    EXPECT_EQ(archive.read("keyword2"),
              KeywordBytes({{"Alpen", "B1A1"}, {"Hafen", "W1H1"}, {"Meer", "W1M1"}}));
    EXPECT_EQ(state().cursor.selectedRow[0] * 10 + state().cursor.selectedRow[1],
              21); // list 1 kept
}

// After an insertion the screen shows the lists and cursors the next insertion uses.
TEST_F(SlideEntry, ScreenShowsTheListsTheNextKeywordInsertionUses) {
    Open({.keyword1 = kLevel1, .keyword2 = KeywordBytes({{"Alpen", "B1A1"}, {"Anden", "B1A2"}})});
    entry().StartNewKeyword();
    main().onCanvasPress(Qt::RightButton, 300, 60 + 17); // level 2, row 2: "Anden"
    ASSERT_EQ(main().levelCursor(2)->text(), u"Anden"_s);
    Answer({Type("Atlas"), yes});
    entry().LevelButton(2);
    ASSERT_EQ(archive.read("keyword2"),
              KeywordBytes({{"Alpen", "B1A1"}, {"Anden", "B1A2"}, {"Atlas", "B1A3"}}));
    EXPECT_EQ(main().levelCursor(2)->text(), u"Alpen"_s); // back to row 1
    ExpectScreenShowsTheLists();
    main().onCanvasPress(Qt::RightButton, 300, 60 + 17);
    Answer({Type("Gipfel")});
    entry().LevelButton(3); // the first level-3 key: written without a question
    EXPECT_EQ(archive.read("keyword3"), "Gipfel\nB1A2G1\n*");
    EXPECT_EQ(main().levelCursor(3)->text(), u"Gipfel"_s);
    ExpectScreenShowsTheLists();
}

// Each refusal shows its error and leaves the lists and the undo copies untouched.
TEST_F(SlideEntry, RefusedKeywordsShowTheirErrorAndChangeNoFile) {
    std::vector<std::pair<std::string, std::string>> nine, full;
    for (int i = 1; i <= 9; ++i)
        nine.emplace_back("A" + std::string(size_t(i), 'a'), "A" + std::to_string(i));
    for (char c = 'A'; c < 'A' + 17; ++c)
        full.emplace_back(std::string(1, c) + "x", std::string(1, c) + "1");
    struct Row {
        std::string keyword1, keyword2;
        int level1Row, level;
        std::vector<DialogAnswer> answers;
        int error;
    };
    for (const Row& r :
         {Row{kLevel1, kLevel2, 1, 2, {Type("Meer")}, 18}, // under another parent
          Row{kLevel1, kLevel2, 1, 1, {Type("blumen")}, 17},
          Row{KeywordBytes(nine), "", 1, 1, {Type("Azur")}, 19}, Row{"", "", 1, 2, {}, 20},
          Row{"", "", 1, 3, {}, 21}, Row{kLevel1, KeywordBytes({{"Alpen", "B1A1"}}), 2, 3, {}, 21},
          Row{KeywordBytes(full), "", 1, 1, {}, 16}}) {
        Open({.keyword1 = r.keyword1, .keyword2 = r.keyword2});
        entry().StartNewKeyword();
        state().cursor.selectedRow[0] = r.level1Row;
        Answer(r.answers);
        entry().LevelButton(r.level);
        EXPECT_EQ(errors(), std::vector<int>{r.error});
        EXPECT_EQ(texts(ShownDialog::Prompt).size(), r.answers.size()) << r.error;
        EXPECT_TRUE(texts(ShownDialog::Confirm).empty()) << r.error;
        EXPECT_EQ(Lists() + Lists(".old"), r.keyword1 + "|" + r.keyword2 + "|||||") << r.error;
    }
}

// An empty archive: nothing to edit, no keys to enter, a first keyword without question.
TEST_F(SlideEntry, AnEmptyArchiveTakesItsFirstKeywordWithoutQuestion) {
    Open({});
    entry().StartEditSlide();
    EXPECT_EQ(errors(), std::vector<int>{53});
    entry().StartNewSlide();
    EXPECT_EQ(Mode(), "0/0");
    entry().StartNewKeyword();
    EXPECT_EQ(texts(ShownDialog::Notice), (QStringList{kNoKeys, kNoKeys}));
    EXPECT_EQ(Mode(), "140/10"); // all the same
    Answer({Type("Natur")});
    entry().LevelButton(1);
    EXPECT_TRUE(texts(ShownDialog::Confirm).empty());
    EXPECT_EQ(Lists() + Lists(".old"), "Natur\nN1\n*||||||");
    EXPECT_FALSE(main().undoAction()->isEnabled());
    EXPECT_EQ(main().levelCursor(1)->text(), u"Natur"_s); // drawn at once
    ExpectScreenShowsTheLists();
}

// Undo copies that cannot be written or read, and a missing list file, are reported.
TEST_F(SlideEntry, KeywordFilesThatCannotBeWrittenOrReadAreReported) {
    OpenSlides(1);
    std::filesystem::remove(archive.path("keyword1.old"));
    archive.write("keyword1.old/inside", "x"); // a directory with content
    entry().StartNewKeyword();
    Answer({Type("Blumen"), yes, yes});
    entry().LevelButton(1);
    EXPECT_EQ(errors(), (std::vector<int>{80, 81}));
    EXPECT_EQ(Lists(), "Berge\nB1\nBlumen\nB2\nWasser\nW1\n*|" + kLevel2 + "|" + kLevel3 + "|");
    EXPECT_EQ(archive.read("keyword2.old"), kLevel2);
    entry().UndoKeywordLists();
    EXPECT_EQ(errors(), (std::vector<int>{80, 81, 80}));
    messages().clearShown();
    std::filesystem::remove(archive.path("keyword2"));
    Answer({Type("Hafen")});
    entry().LevelButton(2);
    EXPECT_EQ(errors(), std::vector<int>{71});
    const auto& shown = messages().shown();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2].text, U("Datei keyword2\rkonnte nicht geöffnet werden !"));
    EXPECT_EQ(shown.back().text, u"I/O-Fehler 2"_s);
    EXPECT_FALSE(archive.exists("keyword2"));
}

// The viewer shows stored slides, stays inside the archive and finds the pictures.
TEST_F(SlideEntry, SlideDataViewerShowsTheStoredSlidesAndTheirPictures) {
    for (auto [name, w, h] : {std::tuple{"bilder/autor.bmp", 10, 10}, {"bilder/07.bmp", 20, 12}}) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::red);
        archive.write(name, "");
        ASSERT_TRUE(img.save(QString::fromStdString(archive.path(name).string()), "BMP"));
    }
    OpenSlides(7, {"", RecordBytes({"XX", "W1", "", "B1A1"}, "B07 Haus am See  ", 12), "",
                   RecordBytes({"00    "}, kFreeSlotMarker, 0)});
    SlideDataViewer& d = *entry().slideDataViewer();
    auto shown = [&d] {
        return Join({d.slideNumberEdit->text(), d.boxNumberEdit->text(), d.infoTextLabel->text()});
    };
    const auto* w = new WhenShown(&d, [&] {
        EXPECT_EQ(shown(), "2|12|B07 Haus am See  "); // not trimmed
        // Slot 1 holds a code no keyword has: empty and unchecked.
        EXPECT_EQ(Boxes(d.keyBoxes), "~,Wasser*~,~,Alpen*~,~,~,~,~");
        EXPECT_EQ(d.pictureFile(), u"bilder/autor.bmp"_s);
        EXPECT_EQ(d.pos(), main().MainTopLeft() + QPoint(100, 109));
        d.slideNumberEdit->setText(u"4"_s); // a free slot is shown like any slide
        EXPECT_EQ(shown(), "4|0|Dia wurde entnommen / Platz frei");
        EXPECT_EQ(Boxes(d.keyBoxes), "~,~,~,~,~,~,~,~");
        d.slideNumberEdit->setText(u"7"_s);
        d.onNextSlide(); // the last slide stays
        EXPECT_EQ(shown(), "7|2|A01 Dia 7");
        d.slideNumberEdit->setText(u"1"_s);
        d.onPreviousSlide();
        EXPECT_EQ(shown(), "1|1|A01 Dia 1");
        d.onNextSlide();
        for (const char* n : {"0", "8", "x", ""}) {
            d.slideNumberEdit->setText(QLatin1String(n)); // empty: nothing at all
            EXPECT_EQ(shown(), std::string(n) + "|12|B07 Haus am See  ");
        }
        d.slideNumberEdit->setText(u"2"_s);
        d.onPreviousSlide();
        EXPECT_EQ(shown(), "1|1|A01 Dia 1");
        EXPECT_EQ(errors(), (std::vector<int>{11, 11, 7, 7, 7}));
        d.slideNumberEdit->setText(u"07"_s);
        EXPECT_EQ(d.pictureFile(), u"bilder/07.bmp"_s);
        EXPECT_EQ(d.pictureLabel->pixmap().size(), QSize(20, 12));
        d.onOpenPicture(); // no bilder/07.jpg: the notice names the file
        ASSERT_EQ(texts(ShownDialog::Notice).size(), 1u);
        EXPECT_TRUE(texts(ShownDialog::Notice)[0].contains(u"bilder/07.jpg"_s));
        archive.write("bilder/07.jpg", "not really a jpeg");
        QTest::mouseClick(d.pictureLabel, Qt::LeftButton);
        EXPECT_EQ(program->launcher().started(), QStringList{u"bilder/07.jpg"_s});
        d.onClose();
    });
    entry().ShowSlideData(2);
    ASSERT_TRUE(w->ran());
    EXPECT_EQ(Mode(), "0/13");
}

} // namespace
} // namespace lumo::test::editing
