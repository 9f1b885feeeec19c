// New keywords in mode 140, the undo copies and the undo of the keyword lists, driven
// through the main window's commands with the dialogs answered by the message seam.
#include "EditingTestSupport.h"

#include "editing/SlideEntryCommands.h"
#include "store/SlideDatabase.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <array>
#include <filesystem>

namespace lumo::test {
namespace {

const std::string kLevel1 = KeywordBytes({{"Berge", "B1"}, {"Wasser", "W1"}});
const std::string kLevel2 = KeywordBytes({{"Alpen", "B1A1"}, {"Meer", "W1M1"}});
const std::string kLevel3 = KeywordBytes({{"Zugspitze", "B1A1Z1"}});

class KeywordEntry : public EditingTest {
protected:
    void OpenWithKeywords() {
        ArchiveSetup s;
        s.records = {RecordBytes({"B1"}, "A01 Eins", 1)};
        s.keyword1 = kLevel1;
        s.keyword2 = kLevel2;
        s.keyword3 = kLevel3;
        s.old1 = "stale1";
        Open(s);
    }
    SlideEntryCommands& entry() { return prog->entry(); }

    // The canvas and the three key cursors are those a fresh paint of the lists gives:
    // the lists on disk and the cursors the next insertion starts from.
    void ExpectScreenShowsTheLists() {
        const QImage shown = main().canvas().toImage();
        std::array<QString, 3> texts;
        std::array<QPoint, 3> places;
        std::array<bool, 3> hidden{};
        for (int l = 1; l <= 3; ++l) {
            const QLabel* label = main().levelCursor(l);
            texts[static_cast<size_t>(l - 1)] = label->text();
            places[static_cast<size_t>(l - 1)] = label->pos();
            hidden[static_cast<size_t>(l - 1)] = label->isHidden();
        }
        main().RepaintNow();
        EXPECT_TRUE(main().canvas().toImage() == shown);
        for (int l = 1; l <= 3; ++l) {
            const QLabel* label = main().levelCursor(l);
            EXPECT_EQ(label->isHidden(), hidden[static_cast<size_t>(l - 1)]) << l;
            if (!label->isHidden()) {
                EXPECT_EQ(label->text(), texts[static_cast<size_t>(l - 1)]) << l;
                EXPECT_EQ(label->pos(), places[static_cast<size_t>(l - 1)]) << l;
            }
        }
    }
};

TEST_F(KeywordEntry, InsertionAsksWritesUndoCopiesAndUndoRestoresThem) {
    OpenWithKeywords();
    ASSERT_FALSE(main().undoAction()->isEnabled());
    entry().StartNewKeyword();
    EXPECT_EQ(st().screenMode, 140);
    EXPECT_EQ(st().currentStatus, 10);

    msg().queue(DialogAnswer::type(QStringLiteral("Blumen")));
    msg().queue(DialogAnswer::yes());
    entry().LevelButton(1);

    const auto questions = Texts(ShownDialog::Confirm);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], QString::fromUtf8("Soll der neue Schlüssel\r\"Blumen\"\rin die "
                                              "Stichwortebene <1> \reinsortiert werden ?"));
    EXPECT_EQ(arc.read("keyword1"), "Berge\nB1\nBlumen\nB2\nWasser\nW1\n*");
    EXPECT_EQ(arc.read("keyword2"), kLevel2);
    EXPECT_EQ(arc.read("keyword3"), kLevel3);
    // The undo copies hold the lists before the insertion.
    EXPECT_EQ(arc.read("keyword1.old"), kLevel1);
    EXPECT_EQ(arc.read("keyword2.old"), kLevel2);
    EXPECT_EQ(arc.read("keyword3.old"), kLevel3);
    EXPECT_TRUE(main().undoAction()->isEnabled());
    EXPECT_EQ(st().screenMode, 140);
    EXPECT_EQ(st().currentStatus, 10);
    EXPECT_TRUE(Errors().empty());

    // The new keyword shows at once in the level list (no stale cache).
    KeySelection keys;
    CurrentSlideData slide;
    slide.storedKeys = {"B2    ", "", "", "", "", "", "", ""};
    ResolveKeys(st().archive, slide, keys, &st().keywordCache);
    EXPECT_EQ(keys.entries[0].name, "Blumen");

    msg().clearShown();
    msg().queue(DialogAnswer::yes());
    entry().UndoKeywordLists();
    const auto undoQuestion = Texts(ShownDialog::Confirm);
    ASSERT_EQ(undoQuestion.size(), 1u);
    EXPECT_EQ(undoQuestion[0], QString::fromUtf8("Möchten Sie die letzte Änderung\rihrer "
                                                 "Schlüssellisten revidierden ?"));
    EXPECT_EQ(arc.read("keyword1"), kLevel1);
    EXPECT_EQ(arc.read("keyword2"), kLevel2);
    EXPECT_EQ(arc.read("keyword3"), kLevel3);
    EXPECT_FALSE(main().undoAction()->isEnabled());
    EXPECT_TRUE(sound().played().contains(QStringLiteral("loesch")));
    EXPECT_EQ(st().screenMode, 140);
    EXPECT_EQ(st().currentStatus, 10);
}

// After each insertion, done or refused, the screen shows the lists with the new keyword
// and the cursors the next insertion uses: a level-3 key entered next goes under the
// level-2 key the user sees highlighted.
TEST_F(KeywordEntry, ScreenShowsTheListsTheNextInsertionUses) {
    ArchiveSetup s;
    s.keyword1 = kLevel1;
    s.keyword2 = KeywordBytes({{"Alpen", "B1A1"}, {"Anden", "B1A2"}});
    Open(s);
    entry().StartNewKeyword();
    main().onCanvasPress(Qt::RightButton, 300, 60 + 17); // level 2, row 2: "Anden"
    ASSERT_EQ(main().levelCursor(2)->text(), QStringLiteral("Anden"));

    msg().queue(DialogAnswer::type(QStringLiteral("Atlas")));
    msg().queue(DialogAnswer::yes());
    entry().LevelButton(2);
    ASSERT_EQ(arc.read("keyword2"),
              KeywordBytes({{"Alpen", "B1A1"}, {"Anden", "B1A2"}, {"Atlas", "B1A3"}}));
    // Lists 2 and 3 start again at row 1, and the new keyword is in the list.
    EXPECT_EQ(main().levelCursor(2)->text(), QStringLiteral("Alpen"));
    EXPECT_EQ(st().levels.levels[1].count, 3);
    ExpectScreenShowsTheLists();

    main().onCanvasPress(Qt::RightButton, 300, 60 + 17);
    msg().queue(DialogAnswer::type(QStringLiteral("Gipfel")));
    entry().LevelButton(3); // the first level-3 key: written without a question
    EXPECT_EQ(arc.read("keyword3"), "Gipfel\nB1A2G1\n*");
    EXPECT_EQ(main().levelCursor(3)->text(), QStringLiteral("Gipfel"));
    EXPECT_FALSE(main().levelCursor(3)->isHidden());
    ExpectScreenShowsTheLists();

    msg().queue(DialogAnswer::type(QStringLiteral("Alpen")));
    entry().LevelButton(2); // refused: error 18
    EXPECT_EQ(Errors(), std::vector<int>{18});
    ExpectScreenShowsTheLists();
}

TEST_F(KeywordEntry, MainWindowButtonsAndMenuReachTheCommands) {
    OpenWithKeywords();
    main().show();
    QTest::mouseClick(main().toolButton(4), Qt::LeftButton);
    ASSERT_EQ(st().screenMode, 140);
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("EBENE <1>"));
    msg().queue(DialogAnswer::type(QStringLiteral("Tal")));
    msg().queue(DialogAnswer::yes());
    QTest::mouseClick(main().softButton(1), Qt::LeftButton);
    EXPECT_EQ(arc.read("keyword1"), "Berge\nB1\nTal\nT1\nWasser\nW1\n*");
    EXPECT_EQ(st().lastSoftButton, 1);
    ASSERT_TRUE(main().undoAction()->isEnabled());

    msg().queue(DialogAnswer::yes());
    main().undoAction()->trigger();
    EXPECT_EQ(arc.read("keyword1"), kLevel1);
    EXPECT_FALSE(main().undoAction()->isEnabled());
}

TEST_F(KeywordEntry, UndoDeclinedChangesNothing) {
    OpenWithKeywords();
    entry().StartNewKeyword();
    msg().queue(DialogAnswer::type(QStringLiteral("Blumen")));
    msg().queue(DialogAnswer::yes());
    entry().LevelButton(1);
    const std::string after = arc.read("keyword1");
    msg().queue(DialogAnswer::no());
    entry().UndoKeywordLists();
    EXPECT_EQ(arc.read("keyword1"), after);
    EXPECT_TRUE(main().undoAction()->isEnabled());
    EXPECT_EQ(st().currentStatus, 10);
}

TEST_F(KeywordEntry, AnsweringNoLeavesEveryFileAsItWas) {
    OpenWithKeywords();
    entry().StartNewKeyword();
    msg().queue(DialogAnswer::type(QStringLiteral("Blumen")));
    msg().queue(DialogAnswer::no());
    entry().LevelButton(1);
    EXPECT_EQ(Texts(ShownDialog::Confirm).size(), 1u);
    EXPECT_EQ(arc.read("keyword1"), kLevel1);
    EXPECT_EQ(arc.read("keyword1.old"), "stale1");
    EXPECT_FALSE(main().undoAction()->isEnabled());
}

TEST_F(KeywordEntry, LevelTwoUsesTheSelectedLevelOneKeyAsParent) {
    OpenWithKeywords();
    entry().StartNewKeyword();
    st().cursor.selectedRow[0] = 2; // "Wasser"
    msg().queue(DialogAnswer::type(QStringLiteral("Hafen")));
    msg().queue(DialogAnswer::yes());
    entry().LevelButton(2);
    EXPECT_EQ(Texts(ShownDialog::Confirm).at(0),
              QString::fromUtf8("Soll der neue Schlüssel\r\"Hafen\"\rin die Stichwortebene <2> "
                                "\reinsortiert werden ?"));
    EXPECT_EQ(arc.read("keyword2"),
              KeywordBytes({{"Alpen", "B1A1"}, {"Hafen", "W1H1"}, {"Meer", "W1M1"}}));
    EXPECT_EQ(arc.read("keyword2.old"), kLevel2);
    EXPECT_EQ(arc.read("keyword1.old"), kLevel1);
    // Lists 2 and 3 start again at row 1; list 1 keeps its row.
    EXPECT_EQ(st().cursor.selectedRow[0], 2);
    EXPECT_EQ(st().cursor.selectedRow[1], 1);
}

TEST_F(KeywordEntry, DuplicateUnderAnotherParentIsRefusedWithError18) {
    OpenWithKeywords();
    entry().StartNewKeyword(); // level 1 row 1: "Berge" (B1); "Meer" lives under W1
    msg().queue(DialogAnswer::type(QStringLiteral("Meer")));
    entry().LevelButton(2);
    EXPECT_EQ(Errors(), std::vector<int>{18});
    EXPECT_TRUE(Texts(ShownDialog::Confirm).empty());
    EXPECT_EQ(arc.read("keyword2"), kLevel2);
    EXPECT_EQ(arc.read("keyword2.old"), "");
}

TEST_F(KeywordEntry, LowerCaseInitialIsRefusedWithError17) {
    OpenWithKeywords();
    entry().StartNewKeyword();
    msg().queue(DialogAnswer::type(QStringLiteral("blumen")));
    msg().queue(DialogAnswer::cancel());
    entry().LevelButton(1);
    EXPECT_EQ(Errors(), std::vector<int>{17});
    EXPECT_EQ(arc.read("keyword1"), kLevel1);
}

TEST_F(KeywordEntry, TenthKeyWithOneInitialIsRefusedWithError19) {
    std::vector<std::pair<std::string, std::string>> nine;
    for (int i = 1; i <= 9; ++i)
        nine.emplace_back("A" + std::string(static_cast<size_t>(i), 'a'), "A" + std::to_string(i));
    ArchiveSetup s;
    s.keyword1 = KeywordBytes(nine);
    Open(s);
    prog->entry().StartNewKeyword();
    msg().queue(DialogAnswer::type(QStringLiteral("Azur")));
    prog->entry().LevelButton(1);
    EXPECT_EQ(Errors(), std::vector<int>{19});
    EXPECT_EQ(arc.read("keyword1"), KeywordBytes(nine));
}

TEST_F(KeywordEntry, FirstKeywordOfAnEmptyArchiveIsWrittenWithoutQuestion) {
    ArchiveSetup s;
    Open(s);
    prog->entry().StartNewKeyword();
    // The notice, then mode 140 all the same.
    const auto notices = Texts(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], QString::fromUtf8("Es sind noch keine Schlüssel im Archiv !\rangelegt "
                                            "bzw. erfasst worden !"));
    EXPECT_EQ(st().screenMode, 140);
    EXPECT_FALSE(st().paintLock);

    msg().queue(DialogAnswer::type(QStringLiteral("Natur")));
    prog->entry().LevelButton(1);
    EXPECT_TRUE(Texts(ShownDialog::Confirm).empty());
    EXPECT_EQ(arc.read("keyword1"), "Natur\nN1\n*");
    EXPECT_EQ(arc.read("keyword1.old"), "");
    EXPECT_FALSE(main().undoAction()->isEnabled());
    // It is drawn at once, and the list takes right clicks.
    EXPECT_EQ(main().levelCursor(1)->text(), QStringLiteral("Natur"));
    EXPECT_FALSE(main().levelCursor(1)->isHidden());
    sound().clearRecord();
    main().onCanvasPress(Qt::RightButton, 100, 60);
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("click001")});
    ExpectScreenShowsTheLists();

    // Level 2 below it, into the empty keyword2: reference code + initial + "1".
    msg().queue(DialogAnswer::type(QStringLiteral("Wald")));
    prog->entry().LevelButton(2);
    EXPECT_EQ(arc.read("keyword2"), "Wald\nN1W1\n*");
    EXPECT_TRUE(Errors().empty());
}

TEST_F(KeywordEntry, LevelButtonsCheckTheHierarchyAndTheListSize) {
    ArchiveSetup s;
    Open(s);
    prog->entry().StartNewKeyword();
    prog->entry().LevelButton(2);
    prog->entry().LevelButton(3);
    EXPECT_EQ(Errors(), (std::vector<int>{20, 21}));
    EXPECT_TRUE(Texts(ShownDialog::Prompt).empty());
}

TEST_F(KeywordEntry, LevelThreeNeedsAChildOfTheSelectedLevelOneKey) {
    ArchiveSetup s;
    s.keyword1 = kLevel1;
    s.keyword2 = KeywordBytes({{"Alpen", "B1A1"}});
    Open(s);
    prog->entry().StartNewKeyword();
    st().cursor.selectedRow[0] = 2; // "Wasser" has no level-2 keys
    prog->entry().LevelButton(3);
    EXPECT_EQ(Errors(), std::vector<int>{21});
}

TEST_F(KeywordEntry, FullLevelListIsRefusedWithError16) {
    std::vector<std::pair<std::string, std::string>> full;
    for (char c = 'A'; c < 'A' + 17; ++c)
        full.emplace_back(std::string(1, c) + "x", std::string(1, c) + "1");
    ArchiveSetup s;
    s.keyword1 = KeywordBytes(full);
    Open(s);
    prog->entry().StartNewKeyword();
    prog->entry().LevelButton(1);
    EXPECT_EQ(Errors(), std::vector<int>{16});
    EXPECT_TRUE(Texts(ShownDialog::Prompt).empty());
    // Level 2 under "Ax" is empty and may take keys.
    msg().queue(DialogAnswer::cancel());
    prog->entry().LevelButton(2);
    EXPECT_EQ(Texts(ShownDialog::Prompt).size(), 1u);
    EXPECT_EQ(st().searchText, "<2>");
}

TEST_F(KeywordEntry, MissingLevelFileIsReportedWithError71) {
    OpenWithKeywords();
    std::filesystem::remove(arc.path("keyword2"));
    prog->entry().StartNewKeyword();
    msg().queue(DialogAnswer::type(QStringLiteral("Hafen")));
    prog->entry().LevelButton(2);
    EXPECT_EQ(Errors(), std::vector<int>{71});
    // The error, then the lists drawn again: the missing list file is reported there.
    const auto& shown = msg().shown();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2].text,
              QString::fromUtf8("Datei keyword2\rkonnte nicht geöffnet werden !"));
    EXPECT_EQ(shown.back().text, QStringLiteral("I/O-Fehler 2"));
    EXPECT_FALSE(arc.exists("keyword2"));
}

TEST_F(KeywordEntry, UndoCopyThatCannotBeReplacedIsReportedAndTheInsertionGoesOn) {
    OpenWithKeywords();
    // keyword1.old is a directory with content: it can be neither deleted nor replaced.
    std::filesystem::remove(arc.path("keyword1.old"));
    arc.write("keyword1.old/inside", "x");
    prog->entry().StartNewKeyword();
    msg().queue(DialogAnswer::type(QStringLiteral("Blumen")));
    msg().queue(DialogAnswer::yes());
    prog->entry().LevelButton(1);
    EXPECT_EQ(Errors(), (std::vector<int>{80, 81}));
    EXPECT_EQ(arc.read("keyword1"), "Berge\nB1\nBlumen\nB2\nWasser\nW1\n*");
    EXPECT_EQ(arc.read("keyword2.old"), kLevel2);
    EXPECT_EQ(st().screenMode, 140);
}

TEST_F(KeywordEntry, UndoReportsAMissingCopyWithError80) {
    OpenWithKeywords();
    prog->entry().StartNewKeyword();
    msg().queue(DialogAnswer::type(QStringLiteral("Blumen")));
    msg().queue(DialogAnswer::yes());
    prog->entry().LevelButton(1);
    std::filesystem::remove(arc.path("keyword1.old"));
    arc.write("keyword1.old/inside", "x");
    msg().clearShown();
    msg().queue(DialogAnswer::yes());
    prog->entry().UndoKeywordLists();
    EXPECT_EQ(Errors(), std::vector<int>{80});
    EXPECT_EQ(st().screenMode, 140);
    EXPECT_EQ(st().currentStatus, 10);
}

} // namespace
} // namespace lumo::test
