// The level lists, key picking, result pages, paging, and the mouse on both.
#include "ShellFixture.h"

#include <QScrollBar>

#include <tuple>

using namespace lumo;
using namespace lumo::test;

namespace {

const QColor kLime(0, 255, 0), kAqua(0, 255, 255), kYellow(255, 255, 0), kRed(255, 0, 0),
    kFuchsia(255, 0, 255), kWhite(255, 255, 255), kBlack(0, 0, 0);

TEST(MainGeometry, RowOfAClick) {
    for (auto [y, row] :
         {std::pair{0, 1}, {71, 1}, {72, 2}, {88, 2}, {89, 3}, {335, 17}, {5000, 17}})
        EXPECT_EQ(geo::RowFromY(y), row) << y;
}
class MainListsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        startWith();
        clickToolButton(5); // mode 210 with the three lists
        clearRecords();
    }
    QColor background(int level) {
        return main().levelCursor(level)->palette().color(QPalette::Window);
    }
    QColor foreground(QLabel* label) { return label->palette().color(QPalette::WindowText); }
    // The current level, then each level's cursor label as text@x,y ("-" when hidden).
    QString cursors() {
        QString out = QString::number(state().cursor.currentLevel);
        for (int l = 1; l <= 3; ++l) {
            QLabel* c = main().levelCursor(l);
            out += c->isVisible()
                       ? QStringLiteral(" %1@%2,%3").arg(c->text()).arg(c->x()).arg(c->y())
                       : QStringLiteral(" -");
        }
        return out;
    }
};
TEST_F(MainListsTest, LevelListsTheirCursorsAndColours) {
    EXPECT_EQ(main().levelHeading(1)->text(), U("Stichwortebene <1>"));
    EXPECT_EQ(foreground(main().levelHeading(1)), kRed);
    EXPECT_EQ(foreground(main().levelCursor(1)), kBlack);
    pressCentre(Qt::RightButton, 300, 94);          // level 2 holds 2 keys under A1: row 3 is empty
    pressCentre(Qt::RightButton, 100, 60 + 17 * 5); // level 1 row 6 of 3
    pressCentre(Qt::RightButton, 250, 60);          // the border between the columns
    pressCentre(Qt::LeftButton, 100, 77);           // the left button does not move
    EXPECT_TRUE(sound().played().isEmpty() && messages().shown().empty());
    EXPECT_EQ(cursors(), U("1 Berge@50,60 Alpen@250,60 Zugspitze@450,60"));
    EXPECT_GT(countColour(rowRect(50, 3), kLime), 0);  // "Stadt"
    EXPECT_EQ(countColour(rowRect(50, 4), kLime), 0);  // nothing below
    EXPECT_EQ(countColour(rowRect(250, 3), kLime), 0); // "Ostsee" is under B1
    pressCentre(Qt::RightButton, 100, 77);
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("click001")});
    EXPECT_EQ(cursors(), U("1 Meer@50,77 Ostsee@250,60 -")); // no level-3 keys below B1A1
    EXPECT_EQ(countColour(QRect(450, 60, 170, 17 * 17), kLime), 0);
    pressCentre(Qt::RightButton, 100, 60);
    pressCentre(Qt::RightButton, 300, 77); // level 2, row 2
    EXPECT_EQ(cursors(), U("2 Berge@50,60 Anden@250,77 -"));
    EXPECT_EQ(foreground(main().levelHeading(2)), kRed);
    pressCentre(Qt::RightButton, 300, 60); // back to Alpen
    pressCentre(Qt::RightButton, 500, 77); // level 3, row 2
    EXPECT_EQ(cursors(), U("3 Berge@50,60 Alpen@250,60 Watzmann@450,77"));
    for (auto [m, existing, back] :
         {std::tuple{140, false, kYellow}, {110, false, kWhite}, {110, true, kFuchsia}}) {
        state().screenMode = m;
        state().editExisting = existing;
        main().RepaintNow();
        EXPECT_EQ(background(1), back) << m;
    }
    state().paintLock = true;
    pressCentre(Qt::RightButton, 100, 77);
    EXPECT_FALSE(main().levelCursor(1)->isVisible()); // hidden by the move, not redrawn
    state().paintLock = false;
    main().RepaintNow();
    EXPECT_EQ(main().levelCursor(1)->pos(), QPoint(50, 77));
}
TEST_F(MainListsTest, PickingKeys) {
    clickLevelCursor(1);
    clickLevelCursor(2);
    clickLevelCursor(3);
    EXPECT_EQ(keyCodes(), std::vector<std::string>({"A1", "A1A1", "A1A1A1"}));
    EXPECT_EQ(state().keys.entries[0].name, "Berge" + std::string(13, ' '));
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->5<-"));
    clickLevelCursor(1); // the same key twice
    EXPECT_TRUE(errorShown(12));
    // A key taken from a slide record carries its code padded with blanks.
    auto& keys = state().keys;
    keys.entries[3] = {"B1    ", "Meer"};
    keys.count = 4;
    messages().clearShown();
    pressCentre(Qt::RightButton, 100, 77); // "Meer" (B1)
    clickLevelCursor(1);
    EXPECT_TRUE(errorShown(12));
    pressCentre(Qt::RightButton, 100, 94); // "Stadt" (C1)
    clickLevelCursor(1);
    EXPECT_EQ(keyCodes(), std::vector<std::string>({"A1", "A1A1", "A1A1A1", "B1    ", "C1"}));
    // The eighth key leaves no free place; a ninth is refused.
    for (int i = 0; i < 8; ++i)
        keys.entries[i] = {"X" + std::to_string(i), "Name"};
    keys.count = 7;
    pressCentre(Qt::RightButton, 100, 60); // "Berge"
    clickLevelCursor(1);
    EXPECT_EQ(keys.count, 8);
    keys.entries[7] = {"X7", "Name"};
    messages().clearShown();
    clickLevelCursor(1);
    EXPECT_TRUE(errorShown(8));
    EXPECT_EQ(keys.count, 8);
    // Nothing is picked while new keys are entered.
    keys.count = 0;
    setMode(140);
    main().RepaintNow();
    clickLevelCursor(1);
    EXPECT_EQ(keys.count, 0);
}
TEST_F(MainListsTest, DeleteRemovesTheLastKeyAndResetAll) {
    clickSoftButton(2); // nothing to delete or reset
    EXPECT_TRUE(errorShown(10));
    messages().clearShown();
    clickSoftButton(3);
    EXPECT_TRUE(errorShown(10) && shownOf(ShownDialog::Confirm).empty());
    clickLevelCursor(1);
    clickLevelCursor(2);
    clickLevelCursor(3);
    clearRecords();
    messages().queue(DialogAnswer::no());
    clickSoftButton(2);
    EXPECT_EQ(state().keys.count, 3);
    messages().queue(DialogAnswer::yes());
    clickSoftButton(2);
    EXPECT_EQ(keyCodes(), std::vector<std::string>({"A1", "A1A1"}));
    EXPECT_TRUE(state().keys.entries[2].code.empty());
    EXPECT_EQ(shownOf(ShownDialog::Confirm).at(1).text,
              U("Soll der bereits selektierte Schlüssel Zugspitze         \raus "
                "der Suchliste gelöscht werden ?"));
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->6<-"));
    clearRecords();
    messages().queue(DialogAnswer::yes());
    clickSoftButton(3);
    EXPECT_TRUE(state().keys.count == 0 && state().keys.entries[0].code.empty());
    EXPECT_EQ(shownOf(ShownDialog::Confirm).at(0).text,
              U("Sollen die bereits erfassten Schlüssel alle wieder gelöscht werden ?"));
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->8<-"));
}
TEST_F(MainListsTest, ResultPageIsFilledFromTheListColumns) {
    auto& s = state();
    s.searchResultList = {"00700042A05 Sonnenuntergang", "12012345Dia wurde entnommen / Platz frei",
                          "0030000" + std::string("7B12") + std::string(40, 'x')};
    s.foundCount = 3;
    s.screenMode = 211;
    main().showResultPage(0);
    const auto& rows = s.page.rows;
    const std::vector<std::string> want[] = {
        {"7", "42", "A05", " Sonnenuntergang"},
        {"120", "12345", "Dia", " wurde entnommen / Platz frei"},
        {"3", "7", "B12", std::string(34, 'x')}}; // cut to 34
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(
            std::vector<std::string>({rows[i].box, rows[i].slide, rows[i].code, rows[i].text}),
            want[i])
            << i;
    EXPECT_TRUE(rows[3].empty());
    EXPECT_GT(countColour(QRect(55, 35, 400, 15), kYellow), 0);
    EXPECT_GT(countColour(rowRect(350, 1, 250), kLime), 0);
    EXPECT_GT(countColour(rowRect(350, 2, 250), kWhite), 0); // the free slot: white, not lime
    EXPECT_EQ(countColour(rowRect(350, 2, 250), kLime), 0);
    EXPECT_EQ(countColour(rowRect(0, 4, 620), kLime), 0);
    // The marker in row 1 means "nothing found", even with a count.
    main().ClearListArea(Qt::black, 0, 30, 640, 354);
    for (auto& r : s.page.rows)
        r.text = kNoResultMarker;
    s.foundCount = 5;
    main().RepaintNow();
    EXPECT_EQ(countColour(QRect(0, 31, 620, 320), kYellow), 0);
    EXPECT_EQ(countColour(QRect(0, 31, 620, 320), kLime), 0);
}
TEST_F(MainListsTest, PagingAndTheThumb) {
    showResults(211, 40);
    QScrollBar* bar = main().scrollBar();
    auto expectShown = [&](int first, const char* slide) {
        EXPECT_EQ(bar->value(), first);
        EXPECT_EQ(state().page.rows[0].slide, slide);
    };
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    expectShown(17, "18");
    bar->setSliderPosition(30); // the wheel, without a drag, does not move the page
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    expectShown(34, "35");
    EXPECT_TRUE(state().page.rows[6].empty());
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // last page: nothing
    expectShown(34, "35");
    state().firstShown = 10; // after a thumb release in the middle of the first pages
    sound().clearRecord();
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    expectShown(0, "1");
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("next")});
    // A released thumb shows its line, not rounded to a page, at most the last page.
    for (auto [to, first] : {std::pair{20, 20}, {40, 34}}) {
        bar->setSliderDown(true);
        bar->setSliderPosition(to);
        bar->setSliderDown(false);
        EXPECT_EQ(state().page.rows[0].slide, std::to_string(first + 1));
    }
    showResults(220, 34); // at the end of whole pages the last full page is shown
    main().onResultScroll(MainWindow::ScrollThumbReleased, 34);
    EXPECT_EQ(state().firstShown, 17);
    EXPECT_EQ(state().page.rows[16].slide, "34");
}
TEST_F(MainListsTest, ResultClicksOpenTheDialogOfTheirColumn) {
    showResults(211, 3);
    clearRecords();
    pressCentre(Qt::LeftButton, 170, 60);   // between the box and slide columns
    pressCentre(Qt::LeftButton, 100, 111);  // row 4 is empty
    pressCentre(Qt::RightButton, 300, 60);  // right button left of 320
    pressCentre(Qt::RightButton, 400, 111); // right button on an empty row
    EXPECT_TRUE(sound().played().isEmpty() && messages().shown().empty());
    for (auto [button, x, dialog] : {std::tuple{Qt::LeftButton, 100, "BoxLabelsDialog"},
                                     {Qt::LeftButton, 250, "HeaderDataDialog"},
                                     {Qt::LeftButton, 400, "SlideDataViewer"},
                                     {Qt::RightButton, 400, "MemoEditor"}})
        EXPECT_EQ(WithEachModal([&] { pressCentre(button, x, 77); }),
                  QStringList{U("lumo::") + U(dialog)});
}

} // namespace
