// Slide entry in mode 110: starting it, the save dialog TForm11 for new and edited
// slides, KEY ABLAGE and the selected-keys dialog TForm10.
#include "EditingTestSupport.h"

#include "editing/DiaSave.h"
#include "editing/KeyEdit.h"
#include "editing/SlideEntryCommands.h"

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
    void OpenArchive(int records, int magazin = 50, int kasten = 2, bool vorberechnung = true) {
        ArchiveSetup s;
        for (int i = 1; i <= records; ++i)
            s.records.push_back(RecordBytes({"B1"}, "A01 Dia " + std::to_string(i), 1));
        s.keyword1 = kLevel1;
        s.keyword2 = kLevel2;
        s.keyword3 = kLevel3;
        s.old1 = "old one";
        s.magazin = magazin;
        s.kasten = kasten;
        s.vorberechnung = vorberechnung;
        Open(s);
    }
    SlideEntryCommands& entry() { return prog->entry(); }
    TForm11& save() { return *prog->entry().diaSave(); }
    TForm10& keyEdit() { return *prog->entry().keyEdit(); }

    // Opens TForm11 through "DIA SICHERN", runs `act` in it and closes it if still open.
    void InSaveDialog(const std::function<void(TForm11&)>& act) {
        bool ran = false;
        new WhenShown(&save(), [&] {
            ran = true;
            act(save());
            if (save().isVisible())
                save().BitBtn3Click();
        });
        entry().DiaSichern();
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
    QTest::mouseClick(main().speedButton(1), Qt::LeftButton);
    ASSERT_EQ(st().screenMode, 110);
    QTest::mouseClick(main().softButton(1), Qt::LeftButton); // DIA SICHERN
    QTest::mouseClick(main().softButton(2), Qt::LeftButton); // KEY EDITOR
    QTest::mouseClick(main().softButton(3), Qt::LeftButton); // KEY ABLAGE
    EXPECT_EQ(Errors(), (std::vector<int>{10, 10, 23}));

    Select({{"B1", "Berge"}});
    bool ran = false;
    new WhenShown(&save(), [&] {
        ran = true;
        QTest::mouseClick(save().BitBtn1, Qt::LeftButton);
        QTest::mouseClick(save().BitBtn3, Qt::LeftButton);
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

TEST_F(SlideEntry, DiaSichernWithoutKeysShowsError10AndNoDialog) {
    OpenArchive(1);
    entry().StartNewSlide();
    bool shown = false;
    new WhenShown(&save(), [&] {
        shown = true;
        save().BitBtn3Click();
    });
    entry().DiaSichern();
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
    InSaveDialog([&](TForm11& d) {
        number = d.Edit1->text();
        box = d.Edit2->text();
        code = d.Edit4->text();
        text = d.ComboBox1->currentText();
        EXPECT_FALSE(main().softButton(1)->isEnabled());
        EXPECT_EQ(st().currentStatus, 20);
    });
    EXPECT_EQ(number, QString::number(c.slide));
    EXPECT_EQ(box, QLatin1String(c.box));
    EXPECT_EQ(code, QLatin1String(c.code));
    EXPECT_EQ(text, QStringLiteral("InformationsText(28)"));
}

INSTANTIATE_TEST_SUITE_P(Magazin36Kasten4, SlideEntryPrecomputed,
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
    InSaveDialog([&](TForm11& d) {
        EXPECT_EQ(d.Edit2->text(), QStringLiteral("0"));
        EXPECT_EQ(d.Edit4->text(), QStringLiteral("???"));
        d.BitBtn1Click();
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
    InSaveDialog([&](TForm11& d) {
        EXPECT_EQ(d.CheckBox[0]->text(), QStringLiteral("Berge"));
        EXPECT_TRUE(d.CheckBox[2]->isChecked());
        EXPECT_FALSE(d.CheckBox[2]->isEnabled());
        EXPECT_EQ(d.CheckBox[3]->text(), QStringLiteral("?"));
        EXPECT_FALSE(d.CheckBox[3]->isChecked());
        d.ComboBox1->setEditText(QStringLiteral("Urlaub am Meer"));
        QTest::mouseClick(d.BitBtn1, Qt::LeftButton);

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
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("4"));
        EXPECT_EQ(d.Edit4->text(), QStringLiteral("A04"));
        EXPECT_EQ(d.ComboBox1->currentText(), QStringLiteral("Urlaub am Meer"));
        EXPECT_EQ(st().currentStatus, 20);
        EXPECT_FALSE(main().softButton(1)->isEnabled());

        d.ComboBox1->setEditText(QStringLiteral("Strand"));
        d.BitBtn1Click();
        EXPECT_EQ(arc.read("dias.ddb").substr(3 * 82),
                  RecordBytes({"B1", "B1A1", "B1A1Z1"}, "A04 Strand", 1));
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("5"));
        EXPECT_EQ(d.ComboBox1->count(), 2); // the history of this run
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
    InSaveDialog([](TForm11&) {});
    EXPECT_EQ(st().keys.count, 0);
    EXPECT_EQ(st().keys.entries[0].name, "");
    EXPECT_TRUE(sound().played().contains(QStringLiteral("loesch")));
    EXPECT_EQ(st().screenMode, 110);
}

TEST_F(SlideEntry, ShortMagazineCodeIsPaddedToThreeCharacters) {
    OpenArchive(0);
    entry().StartNewSlide();
    Select({{"W1M1", "Meer"}});
    InSaveDialog([](TForm11& d) {
        d.Edit4->setText(QStringLiteral("B7"));
        d.Edit2->setText(QStringLiteral("255"));
        d.ComboBox1->setEditText(QStringLiteral("Hafen"));
        d.BitBtn1Click();
    });
    EXPECT_EQ(arc.read("dias.ddb"), RecordBytes({"W1M1"}, "B7  Hafen", 255));
}

TEST_F(SlideEntry, InvalidBoxNumbersAreRefusedWithError5) {
    OpenArchive(2);
    entry().StartNewSlide();
    Select({{"B1", "Berge"}});
    const std::string ddb = arc.read("dias.ddb");
    const std::string ini = arc.read("DIA.INI");
    InSaveDialog([&](TForm11& d) {
        for (const char* box : {"0", "256", "abc", "", "-1"}) {
            d.Edit2->setText(QLatin1String(box));
            d.BitBtn1Click();
            EXPECT_TRUE(d.isVisible()) << box;
            EXPECT_EQ(d.Edit1->text(), QStringLiteral("3")) << box;
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
    InSaveDialog([&](TForm11& d) {
        d.BitBtn1Click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("3"));
    });
    EXPECT_EQ(Errors(), std::vector<int>{31});
    EXPECT_EQ(st().counters.totalRecords, 2);
    EXPECT_EQ(st().counters.activeSlides, 2);
    EXPECT_EQ(arc.read("DIA.INI"), ini);
    EXPECT_EQ(arc.read("keyword1.old"), "old one");
    EXPECT_TRUE(main().undoAction()->isEnabled());
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("2"));
}

TEST_F(SlideEntry, EditingRewritesTheRecordAndTouchesNothingElse) {
    ArchiveSetup s;
    s.records = {RecordBytes({"B1"}, "A01 Eins", 1),
                 RecordBytes({"XX", "W1", "", "B1A1"}, "B07 Haus am See  ", 12),
                 RecordBytes({"B1"}, "A03 Drei", 1)};
    s.keyword1 = kLevel1;
    s.keyword2 = kLevel2;
    s.keyword3 = kLevel3;
    s.old1 = "old one";
    Open(s);
    main().SetUndoEnabled(true);
    const std::string ini = arc.read("DIA.INI");

    msg().queue(DialogAnswer::type(QStringLiteral("2")));
    entry().StartEditSlide();
    ASSERT_EQ(st().screenMode, 110);
    EXPECT_TRUE(st().editExisting);
    EXPECT_EQ(st().currentSlide, 2);
    EXPECT_EQ(main().statusPanel(0), QStringLiteral("2"));
    // Only the resolved slots are keys, in slot order, with their stored codes.
    ASSERT_EQ(st().keys.count, 2);
    EXPECT_EQ(st().keys.entries[0].name, "Wasser");
    EXPECT_EQ(st().keys.entries[0].code, "W1    ");
    EXPECT_EQ(st().keys.entries[1].name, "Alpen");
    EXPECT_EQ(st().keys.entries[1].code, "B1A1  ");
    EXPECT_EQ(main().windowTitle().endsWith(QStringLiteral(" - Dia editieren...")), true);

    InSaveDialog([&](TForm11& d) {
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("2"));
        EXPECT_EQ(d.Edit2->text(), QStringLiteral("12"));
        EXPECT_EQ(d.Edit4->text(), QStringLiteral("B07"));
        EXPECT_EQ(d.ComboBox1->currentText(), QStringLiteral("Haus am See"));
        EXPECT_EQ(d.CheckBox[1]->text(), QStringLiteral("Alpen"));
        EXPECT_EQ(d.CheckBox[2]->text(), QStringLiteral("?"));
        d.ComboBox1->setEditText(QStringLiteral("Haus am Meer"));
        d.BitBtn1Click();
        EXPECT_FALSE(d.isVisible()); // closes after the one save
    });
    const std::string ddb = arc.read("dias.ddb");
    ASSERT_EQ(ddb.size(), 3u * 82);
    EXPECT_EQ(ddb.substr(82, 82), RecordBytes({"W1", "B1A1"}, "B07 Haus am Meer", 12));
    EXPECT_EQ(ddb.substr(0, 82), RecordBytes({"B1"}, "A01 Eins", 1));
    EXPECT_EQ(ddb.substr(164), RecordBytes({"B1"}, "A03 Drei", 1));
    EXPECT_EQ(st().counters.totalRecords, 3);
    EXPECT_EQ(st().counters.activeSlides, 3);
    EXPECT_EQ(arc.read("DIA.INI"), ini);
    EXPECT_EQ(arc.read("keyword1.old"), "old one");
    EXPECT_TRUE(main().undoAction()->isEnabled());
    // Back to the main menu, without the clear question.
    EXPECT_EQ(st().screenMode, 0);
    EXPECT_EQ(st().currentStatus, 0);
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("BEARBEITEN"));
    EXPECT_TRUE(Texts(ShownDialog::Confirm).empty());
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

TEST_F(SlideEntry, KeyAblageStoresAndRestoresTheSelection) {
    OpenArchive(1);
    entry().StartNewSlide();
    entry().KeyAblage();
    EXPECT_EQ(Errors(), std::vector<int>{23});

    Select({{"B1", "Berge"}, {"W1M1", "Meer"}});
    sound().clearRecord();
    entry().KeyAblage();
    EXPECT_EQ(st().keyStore.count, 2);
    EXPECT_EQ(st().keyStore.entries[1].name, "Meer");
    EXPECT_EQ(st().keyStore.entries[1].code, "W1M1");
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("harfe")});
    EXPECT_EQ(sound().delayedMs(), 3000);
    EXPECT_EQ(st().currentStatus, 3);

    st().keys.clearAll();
    entry().KeyAblage();
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
    new WhenShown(&keyEdit(), [&] {
        ran = true;
        auto& d = keyEdit();
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Selektierte Schlüssel"));
        EXPECT_TRUE(d.CheckBox[3]->isEnabled());
        EXPECT_TRUE(d.CheckBox[3]->isChecked());
        EXPECT_FALSE(d.CheckBox[4]->isEnabled());
        EXPECT_EQ(d.CheckBox[4]->text(), QStringLiteral("?"));
        QTest::mouseClick(d.CheckBox[0], Qt::LeftButton, {}, QPoint(8, 11)); // on the box
        d.CheckBox[2]->setChecked(false);
        QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(st().keys.count, 2);
        EXPECT_EQ(st().keys.entries[0].name, "Alpen");
        EXPECT_EQ(st().keys.entries[1].name, "Meer");
        EXPECT_EQ(st().keys.entries[1].code, "W1M1");
        EXPECT_EQ(st().keys.entries[2].code, "00    ");
        EXPECT_EQ(d.CheckBox[0]->text(), QStringLiteral("Alpen"));
        EXPECT_EQ(d.CheckBox[2]->text(), QStringLiteral("?"));
        EXPECT_EQ(main().statusLine()->text(), QString::fromUtf8("Freie Stichwörter ->6<-"));
        d.BitBtn4Click();
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
