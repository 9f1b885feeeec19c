// Slide entry in mode 110: starting it, the save dialog SlideEntryDialog for new and edited
// slides, KEY ABLAGE and the selected-keys dialog SelectedKeysDialog.
#include "EditingTestSupport.h"

#include "editing/SelectedKeysDialog.h"
#include "editing/SlideEntryCommands.h"
#include "editing/SlideEntryDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <filesystem>

namespace lumo::test {
namespace {

const std::string kLevel1 = KeywordBytes({{"Berge", "B1"}, {"Wasser", "W1"}});
const std::string kLevel2 = KeywordBytes({{"Alpen", "B1A1"}, {"Meer", "W1M1"}});
const std::string kLevel3 = KeywordBytes({{"Zugspitze", "B1A1Z1"}});

std::string Records(int n) {
    std::string all;
    for (int i = 1; i <= n; ++i)
        all += RecordBytes({"B1"}, "A01 Dia " + std::to_string(i), 1);
    return all;
}

class SlideEntry : public EditingTest {
protected:
    void OpenArchive(int records, int slidesPerMagazine = 50, int magazinesPerBox = 2,
                     bool precomputePosition = true) {
        ArchiveSetup s;
        for (int i = 1; i <= records; ++i)
            s.records.push_back(RecordBytes({"B1"}, "A01 Dia " + std::to_string(i), 1));
        s.keyword1 = kLevel1;
        s.keyword2 = kLevel2;
        s.keyword3 = kLevel3;
        s.old1 = "old one";
        s.slidesPerMagazine = slidesPerMagazine;
        s.magazinesPerBox = magazinesPerBox;
        s.precomputePosition = precomputePosition;
        Open(s);
    }
    SlideEntryCommands& entry() { return prog->entry(); }
    SlideEntryDialog& save() { return *prog->entry().slideEntryDialog(); }
    SelectedKeysDialog& selectedKeysDialog() { return *prog->entry().selectedKeysDialog(); }

    // Opens SlideEntryDialog through "DIA SICHERN", runs `act` in it and closes it if still open.
    void InSaveDialog(const std::function<void(SlideEntryDialog&)>& act) {
        bool ran = false;
        new WhenShown(&save(), [&] {
            ran = true;
            act(save());
            if (save().isVisible())
                save().onClose();
        });
        entry().SaveSlide();
        ASSERT_TRUE(ran);
    }
};

TEST_F(SlideEntry, NewSlideEntryStartsModeOneHundredTen) {
    OpenArchive(2);
    st().keys.count = 3;
    entry().StartNewSlide();
    EXPECT_EQ(st().screenMode, 110);
    EXPECT_FALSE(st().editExisting);
    EXPECT_EQ(st().currentSlide, 3);
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("3"));
    EXPECT_EQ(st().keys.count, 0);
    EXPECT_EQ(main().statusLine()->text(), QString::fromUtf8("Freie Stichwörter ->8<-"));
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("DIA SICHERN"));
    EXPECT_FALSE(st().paintLock);
    EXPECT_TRUE(sound().played().contains(QStringLiteral("hotclik")));
}

TEST_F(SlideEntry, SoftButtonsOfModeOneHundredTenReachTheCommands) {
    OpenArchive(1);
    main().show();
    QTest::mouseClick(main().toolButton(1), Qt::LeftButton);
    ASSERT_EQ(st().screenMode, 110);
    QTest::mouseClick(main().softButton(1), Qt::LeftButton); // DIA SICHERN
    QTest::mouseClick(main().softButton(2), Qt::LeftButton); // KEY EDITOR
    QTest::mouseClick(main().softButton(3), Qt::LeftButton); // KEY ABLAGE
    EXPECT_EQ(Errors(), (std::vector<int>{10, 10, 23}));

    Select({{"B1", "Berge"}});
    bool ran = false;
    new WhenShown(&save(), [&] {
        ran = true;
        QTest::mouseClick(save().saveButton, Qt::LeftButton);
        QTest::mouseClick(save().closeButton, Qt::LeftButton);
    });
    msg().queue(DialogAnswer::no());
    QTest::mouseClick(main().softButton(1), Qt::LeftButton);
    ASSERT_TRUE(ran);
    EXPECT_EQ(arc.read("dias.ddb").substr(82), RecordBytes({"B1"}, "A02 InformationsText(28)", 1));
    EXPECT_EQ(st().screenMode, 110);
}

TEST_F(SlideEntry, NewSlideEntryWithoutKeywordsShowsTheNoticeAndStays) {
    ArchiveSetup s;
    Open(s);
    entry().StartNewSlide();
    EXPECT_EQ(Texts(ShownDialog::Notice),
              std::vector<QString>{QString::fromUtf8(
                  "Es sind noch keine Schlüssel im Archiv !\rangelegt bzw. erfasst worden !")});
    EXPECT_EQ(st().screenMode, 0);
    EXPECT_EQ(st().levels.levels[0].currentCode, "--");
    EXPECT_FALSE(st().paintLock);
}

TEST_F(SlideEntry, SaveSlideWithoutKeysShowsError10AndNoDialog) {
    OpenArchive(1);
    entry().StartNewSlide();
    bool shown = false;
    new WhenShown(&save(), [&] {
        shown = true;
        save().onClose();
    });
    entry().SaveSlide();
    EXPECT_EQ(Errors(), std::vector<int>{10});
    EXPECT_FALSE(shown);
}

struct PrecomputedCase {
    int slide;
    const char* box;
    const char* code;
};

class SlideEntryPrecomputed : public SlideEntry,
                              public ::testing::WithParamInterface<PrecomputedCase> {};

TEST_P(SlideEntryPrecomputed, BoxAndPositionFollowTheSlideNumber) {
    const auto c = GetParam();
    OpenArchive(c.slide - 1, 36, 4);
    entry().StartNewSlide();
    Select({{"B1", "Berge"}});
    QString number, box, code, text;
    InSaveDialog([&](SlideEntryDialog& d) {
        number = d.slideNumberEdit->text();
        box = d.boxNumberEdit->text();
        code = d.magazineCodeEdit->text();
        text = d.infoTextBox->currentText();
        EXPECT_FALSE(main().softButton(1)->isEnabled());
        EXPECT_EQ(st().currentStatus, 20);
    });
    EXPECT_EQ(number, QString::number(c.slide));
    EXPECT_EQ(box, QLatin1String(c.box));
    EXPECT_EQ(code, QLatin1String(c.code));
    EXPECT_EQ(text, QStringLiteral("InformationsText(28)"));
}

INSTANTIATE_TEST_SUITE_P(ThirtySixSlidesFourMagazines, SlideEntryPrecomputed,
                         ::testing::Values(PrecomputedCase{1, "1", "A01"},
                                           PrecomputedCase{36, "1", "A36"},
                                           PrecomputedCase{37, "1", "B01"},
                                           PrecomputedCase{144, "1", "D36"},
                                           PrecomputedCase{145, "2", "A01"}));

TEST_F(SlideEntry, WithoutPrecalculationBoxZeroIsRefused) {
    OpenArchive(1, 50, 2, false);
    entry().StartNewSlide();
    Select({{"B1", "Berge"}});
    const std::string before = arc.read("dias.ddb");
    InSaveDialog([&](SlideEntryDialog& d) {
        EXPECT_EQ(d.boxNumberEdit->text(), QStringLiteral("0"));
        EXPECT_EQ(d.magazineCodeEdit->text(), QStringLiteral("???"));
        d.onSave();
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(Errors(), std::vector<int>{5});
    EXPECT_EQ(arc.read("dias.ddb"), before);
}

TEST_F(SlideEntry, SavingANewSlideAppendsItAndPreparesTheNext) {
    OpenArchive(2);
    main().SetUndoEnabled(true);
    entry().StartNewSlide();
    Select({{"B1", "Berge"}, {"B1A1", "Alpen"}, {"B1A1Z1", "Zugspitze"}});
    msg().queue(DialogAnswer::no()); // keep the keys afterwards
    InSaveDialog([&](SlideEntryDialog& d) {
        EXPECT_EQ(d.keyBoxes[0]->text(), QStringLiteral("Berge"));
        EXPECT_TRUE(d.keyBoxes[2]->isChecked());
        EXPECT_FALSE(d.keyBoxes[2]->isEnabled());
        EXPECT_EQ(d.keyBoxes[3]->text(), QStringLiteral("?"));
        EXPECT_FALSE(d.keyBoxes[3]->isChecked());
        d.infoTextBox->setEditText(QStringLiteral("Urlaub am Meer"));
        QTest::mouseClick(d.saveButton, Qt::LeftButton);

        // Written as record 3: three codes, five empty slots.
        const std::string ddb = arc.read("dias.ddb");
        ASSERT_EQ(ddb.size(), 3u * 82);
        EXPECT_EQ(ddb.substr(2 * 82),
                  RecordBytes({"B1", "B1A1", "B1A1Z1"}, "A03 Urlaub am Meer", 1));
        EXPECT_EQ(ddb.substr(0, 2 * 82), Records(2));
        // Counted, settings saved, undo copies refreshed, undo disabled.
        EXPECT_EQ(st().counters.totalRecords, 3);
        EXPECT_EQ(st().counters.activeSlides, 3);
        EXPECT_NE(arc.read("DIA.INI").find("DIAS=3"), std::string::npos);
        EXPECT_EQ(arc.read("keyword1.old"), kLevel1);
        EXPECT_EQ(arc.read("keyword2.old"), kLevel2);
        EXPECT_EQ(arc.read("keyword3.old"), kLevel3);
        EXPECT_FALSE(main().undoAction()->isEnabled());
        EXPECT_EQ(main().statusPanel(0), QStringLiteral("4"));
        EXPECT_EQ(main().statusPanel(1), QStringLiteral("3"));
        EXPECT_TRUE(sound().played().contains(QStringLiteral("click006")));
        // Still open for the next slide with the same keys and text.
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("4"));
        EXPECT_EQ(d.magazineCodeEdit->text(), QStringLiteral("A04"));
        EXPECT_EQ(d.infoTextBox->currentText(), QStringLiteral("Urlaub am Meer"));
        EXPECT_EQ(st().currentStatus, 20);
        EXPECT_FALSE(main().softButton(1)->isEnabled());

        d.infoTextBox->setEditText(QStringLiteral("Strand"));
        d.onSave();
        EXPECT_EQ(arc.read("dias.ddb").substr(3 * 82),
                  RecordBytes({"B1", "B1A1", "B1A1Z1"}, "A04 Strand", 1));
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("5"));
        EXPECT_EQ(d.infoTextBox->count(), 2); // the history of this run
    });
    // The clear question after closing; "Nein" keeps the keys.
    EXPECT_EQ(Texts(ShownDialog::Confirm),
              std::vector<QString>{QString::fromUtf8(
                  "Sollen die bereits erfassten Schlüssel alle wieder gelöscht werden ?")});
    EXPECT_EQ(st().keys.count, 3);
    EXPECT_EQ(st().screenMode, 110);
    EXPECT_EQ(st().currentStatus, 3);
    EXPECT_TRUE(main().softButton(1)->isEnabled());
}

TEST_F(SlideEntry, ClearQuestionAnsweredYesEmptiesTheSelection) {
    OpenArchive(1);
    entry().StartNewSlide();
    Select({{"B1", "Berge"}});
    msg().queue(DialogAnswer::yes());
    InSaveDialog([](SlideEntryDialog&) {});
    EXPECT_EQ(st().keys.count, 0);
    EXPECT_EQ(st().keys.entries[0].name, "");
    EXPECT_TRUE(sound().played().contains(QStringLiteral("loesch")));
    EXPECT_EQ(st().screenMode, 110);
}

TEST_F(SlideEntry, ShortMagazineCodeIsPaddedToThreeCharacters) {
    OpenArchive(0);
    entry().StartNewSlide();
    Select({{"W1M1", "Meer"}});
    InSaveDialog([](SlideEntryDialog& d) {
        d.magazineCodeEdit->setText(QStringLiteral("B7"));
        d.boxNumberEdit->setText(QStringLiteral("255"));
        d.infoTextBox->setEditText(QStringLiteral("Hafen"));
        d.onSave();
    });
    EXPECT_EQ(arc.read("dias.ddb"), RecordBytes({"W1M1"}, "B7  Hafen", 255));
}

TEST_F(SlideEntry, InvalidBoxNumbersAreRefusedWithError5) {
    OpenArchive(2);
    entry().StartNewSlide();
    Select({{"B1", "Berge"}});
    const std::string ddb = arc.read("dias.ddb");
    const std::string ini = arc.read("DIA.INI");
    InSaveDialog([&](SlideEntryDialog& d) {
        for (const char* box : {"0", "256", "abc", "", "-1"}) {
            d.boxNumberEdit->setText(QLatin1String(box));
            d.onSave();
            EXPECT_TRUE(d.isVisible()) << box;
            EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("3")) << box;
        }
        // The soft buttons stay disabled while the dialog is open.
        EXPECT_FALSE(main().softButton(1)->isEnabled());
    });
    EXPECT_EQ(Errors(), (std::vector<int>{5, 5, 5, 5, 5}));
    EXPECT_EQ(arc.read("dias.ddb"), ddb);
    EXPECT_EQ(arc.read("DIA.INI"), ini);
    EXPECT_EQ(st().counters.totalRecords, 2);
    EXPECT_EQ(st().counters.activeSlides, 2);
}

TEST_F(SlideEntry, SlideThatCannotBeWrittenIsNotCounted) {
    OpenArchive(2);
    main().SetUndoEnabled(true);
    entry().StartNewSlide();
    Select({{"B1", "Berge"}});
    const std::string ini = arc.read("DIA.INI");
    // dias.ddb can no longer be opened for writing.
    std::filesystem::remove(arc.path("dias.ddb"));
    std::filesystem::create_directory(arc.path("dias.ddb"));
    InSaveDialog([&](SlideEntryDialog& d) {
        d.onSave();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("3"));
    });
    EXPECT_EQ(Errors(), std::vector<int>{31});
    EXPECT_EQ(st().counters.totalRecords, 2);
    EXPECT_EQ(st().counters.activeSlides, 2);
    EXPECT_EQ(arc.read("DIA.INI"), ini);
    EXPECT_EQ(arc.read("keyword1.old"), "old one");
    EXPECT_TRUE(main().undoAction()->isEnabled());
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("2"));
}

// The edited slide keeps every stored code, also one no keyword file resolves ("XX"),
// and nothing but its record changes (the undo copies hold its keywords already).
TEST_F(SlideEntry, EditingRewritesTheRecordKeepingEveryCodeAndTouchesNothingElse) {
    ArchiveSetup s;
    s.records = {RecordBytes({"B1"}, "A01 Eins", 1),
                 RecordBytes({"XX", "W1", "", "B1A1"}, "B07 Haus am See  ", 12),
                 RecordBytes({"B1"}, "A03 Drei", 1)};
    s.keyword1 = kLevel1;
    s.keyword2 = kLevel2;
    s.keyword3 = kLevel3;
    s.old1 = kLevel1;
    s.old2 = kLevel2;
    s.old3 = "old three";
    Open(s);
    main().SetUndoEnabled(true);
    const std::string ini = arc.read("DIA.INI");

    msg().queue(DialogAnswer::type(QStringLiteral("2")));
    entry().StartEditSlide();
    ASSERT_EQ(st().screenMode, 110);
    EXPECT_TRUE(st().editExisting);
    EXPECT_EQ(st().currentSlide, 2);
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("2"));
    // Every slot holding a code is a key, in slot order, with its stored code; the one
    // that did not resolve shows its code as unknown.
    ASSERT_EQ(st().keys.count, 3);
    EXPECT_EQ(st().keys.entries[0].name, "XX (unbekannt)");
    EXPECT_EQ(st().keys.entries[0].code, "XX    ");
    EXPECT_EQ(st().keys.entries[1].name, "Wasser");
    EXPECT_EQ(st().keys.entries[1].code, "W1    ");
    EXPECT_EQ(st().keys.entries[2].name, "Alpen");
    EXPECT_EQ(st().keys.entries[2].code, "B1A1  ");
    EXPECT_EQ(main().windowTitle().endsWith(QStringLiteral(" - Dia editieren...")), true);

    InSaveDialog([&](SlideEntryDialog& d) {
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("2"));
        EXPECT_EQ(d.boxNumberEdit->text(), QStringLiteral("12"));
        EXPECT_EQ(d.magazineCodeEdit->text(), QStringLiteral("B07"));
        EXPECT_EQ(d.infoTextBox->currentText(), QStringLiteral("Haus am See"));
        EXPECT_EQ(d.keyBoxes[0]->text(), QStringLiteral("XX (unbekannt)"));
        EXPECT_TRUE(d.keyBoxes[0]->isChecked());
        EXPECT_EQ(d.keyBoxes[2]->text(), QStringLiteral("Alpen"));
        EXPECT_EQ(d.keyBoxes[3]->text(), QStringLiteral("?"));
        d.infoTextBox->setEditText(QStringLiteral("Haus am Meer"));
        d.onSave();
        EXPECT_FALSE(d.isVisible()); // closes after the one save
    });
    const std::string ddb = arc.read("dias.ddb");
    ASSERT_EQ(ddb.size(), 3u * 82);
    EXPECT_EQ(ddb.substr(82, 82), RecordBytes({"XX", "W1", "B1A1"}, "B07 Haus am Meer", 12));
    EXPECT_EQ(ddb.substr(0, 82), RecordBytes({"B1"}, "A01 Eins", 1));
    EXPECT_EQ(ddb.substr(164), RecordBytes({"B1"}, "A03 Drei", 1));
    EXPECT_EQ(st().counters.totalRecords, 3);
    EXPECT_EQ(st().counters.activeSlides, 3);
    EXPECT_EQ(arc.read("DIA.INI"), ini);
    EXPECT_EQ(arc.read("keyword3.old"), "old three");
    EXPECT_TRUE(main().undoAction()->isEnabled());
    // Back to the main menu, without the clear question.
    EXPECT_EQ(st().screenMode, 0);
    EXPECT_EQ(st().currentStatus, 0);
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("BEARBEITEN"));
    EXPECT_TRUE(Texts(ShownDialog::Confirm).empty());
}

// A slide re-recorded with a keyword added since the undo copies: the undo could take
// that keyword away again, so the copies are brought up to date and the undo ends.
TEST_F(SlideEntry, EditedSlideWithAKeywordAddedJustBeforeEndsTheUndo) {
    OpenArchive(1);
    entry().StartNewKeyword();
    msg().queue(DialogAnswer::type(QStringLiteral("Eis")));
    msg().queue(DialogAnswer::yes());
    entry().LevelButton(1);
    ASSERT_EQ(arc.read("keyword1"), "Berge\nB1\nEis\nE1\nWasser\nW1\n*");
    ASSERT_TRUE(main().undoAction()->isEnabled());

    msg().queue(DialogAnswer::type(QStringLiteral("1")));
    entry().StartEditSlide();
    main().onCanvasPress(Qt::RightButton, 100, 60 + 17); // level 1, row 2: "Eis"
    main().onLevelCursorClick(1);
    ASSERT_EQ(st().keys.count, 2);
    InSaveDialog([](SlideEntryDialog& d) { d.onSave(); });
    EXPECT_EQ(arc.read("dias.ddb"), RecordBytes({"B1", "E1"}, "A01 Dia 1", 1));
    EXPECT_FALSE(main().undoAction()->isEnabled());
    for (int level = 1; level <= 3; ++level)
        EXPECT_EQ(arc.read("keyword" + std::to_string(level) + ".old"),
                  arc.read("keyword" + std::to_string(level)))
            << level;
}

// Slide numbers have five digits: the slide 99,999 is the last one stored, a new slide
// after it is refused with a notice.
TEST_F(SlideEntry, NoNewSlideBeyondTheLastFiveDigitNumber) {
    const QString full =
        QStringLiteral("Das Archiv belegt bereits die\rmax. Anzahl von 99999 Dias !");
    ArchiveSetup s;
    s.emptyRecords = 99998;
    s.keyword1 = kLevel1;
    Open(s);
    entry().StartNewSlide();
    ASSERT_EQ(st().currentSlide, 99999);
    Select({{"B1", "Berge"}});
    msg().queue(DialogAnswer::no()); // keep the keys
    InSaveDialog([&](SlideEntryDialog& d) {
        d.onSave();
        EXPECT_FALSE(d.isVisible()); // not prepared for a slide 100,000
    });
    EXPECT_EQ(std::filesystem::file_size(arc.path("dias.ddb")), 99999u * 82);
    EXPECT_EQ(Texts(ShownDialog::Notice), std::vector<QString>{full});
    EXPECT_EQ(st().counters.totalRecords, 99999);

    // "DIA SICHERN" again, and new-slide entry started again: refused, no dialog.
    bool opened = false;
    new WhenShown(&save(), [&] {
        opened = true;
        save().onClose();
    });
    msg().clearShown();
    entry().SaveSlide();
    entry().StartNewSlide();
    EXPECT_FALSE(opened);
    EXPECT_EQ(Texts(ShownDialog::Notice), (std::vector<QString>{full, full}));
    EXPECT_EQ(st().keys.count, 1); // refused before new-slide entry starts again
    EXPECT_EQ(std::filesystem::file_size(arc.path("dias.ddb")), 99999u * 82);
    EXPECT_FALSE(st().paintLock);
}

TEST_F(SlideEntry, EditWithoutSlidesOrCancelledGoesBackToTheMainMenu) {
    OpenArchive(0);
    entry().StartEditSlide();
    EXPECT_EQ(Errors(), std::vector<int>{53});
    EXPECT_TRUE(Texts(ShownDialog::Prompt).empty());

    prog.reset();
    OpenArchive(2);
    entry().StartNewSlide();
    msg().queue(DialogAnswer::cancel());
    entry().StartEditSlide();
    EXPECT_EQ(st().screenMode, 0);
    EXPECT_EQ(st().currentStatus, 0);
    EXPECT_FALSE(st().editExisting);
}

TEST_F(SlideEntry, KeyStoreTakesAndGivesBackTheSelection) {
    OpenArchive(1);
    entry().StartNewSlide();
    entry().ExchangeKeyStore();
    EXPECT_EQ(Errors(), std::vector<int>{23});

    Select({{"B1", "Berge"}, {"W1M1", "Meer"}});
    sound().clearRecord();
    entry().ExchangeKeyStore();
    EXPECT_EQ(st().keyStore.count, 2);
    EXPECT_EQ(st().keyStore.entries[1].name, "Meer");
    EXPECT_EQ(st().keyStore.entries[1].code, "W1M1");
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("harfe")});
    EXPECT_EQ(sound().delayedMs(), 3000);
    EXPECT_EQ(st().currentStatus, 3);

    st().keys.clearAll();
    entry().ExchangeKeyStore();
    EXPECT_EQ(st().keys.count, 2);
    EXPECT_EQ(st().keys.entries[0].name, "Berge");
    EXPECT_EQ(st().keys.entries[1].code, "W1M1");
    EXPECT_EQ(st().currentStatus, 3);
    EXPECT_EQ(Errors(), std::vector<int>{23});
}

TEST_F(SlideEntry, KeyEditorDropsUncheckedKeysAndCanEmptyAll) {
    OpenArchive(1);
    entry().StartNewSlide();
    entry().KeyEditor();
    EXPECT_EQ(Errors(), std::vector<int>{10});

    Select({{"B1", "Berge"}, {"B1A1", "Alpen"}, {"W1", "Wasser"}, {"W1M1", "Meer"}});
    bool ran = false;
    new WhenShown(&selectedKeysDialog(), [&] {
        ran = true;
        auto& d = selectedKeysDialog();
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Selektierte Schlüssel"));
        EXPECT_TRUE(d.keyBoxes[3]->isEnabled());
        EXPECT_TRUE(d.keyBoxes[3]->isChecked());
        EXPECT_FALSE(d.keyBoxes[4]->isEnabled());
        EXPECT_EQ(d.keyBoxes[4]->text(), QStringLiteral("?"));
        QTest::mouseClick(d.keyBoxes[0], Qt::LeftButton, {}, QPoint(8, 11)); // on the box
        d.keyBoxes[2]->setChecked(false);
        QTest::mouseClick(d.updateButton, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(st().keys.count, 2);
        EXPECT_EQ(st().keys.entries[0].name, "Alpen");
        EXPECT_EQ(st().keys.entries[1].name, "Meer");
        EXPECT_EQ(st().keys.entries[1].code, "W1M1");
        EXPECT_EQ(st().keys.entries[2].code, "00    ");
        EXPECT_EQ(d.keyBoxes[0]->text(), QStringLiteral("Alpen"));
        EXPECT_EQ(d.keyBoxes[2]->text(), QStringLiteral("?"));
        EXPECT_EQ(main().statusLine()->text(), QString::fromUtf8("Freie Stichwörter ->6<-"));
        d.onClearAll();
        EXPECT_FALSE(d.isVisible());
    });
    entry().KeyEditor();
    ASSERT_TRUE(ran);
    EXPECT_EQ(st().keys.count, 0);
    EXPECT_EQ(st().keys.entries[0].name, "");
    EXPECT_TRUE(sound().played().contains(QStringLiteral("loesch")));
    EXPECT_EQ(st().currentStatus, 3);
    EXPECT_TRUE(main().softButton(1)->isEnabled());
}

} // namespace
} // namespace lumo::test
