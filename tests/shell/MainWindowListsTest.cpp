// The painted centre of the main window: level lists, key picking, result pages, paging,
// and the mouse on both.
#include "ProgramFixture.h"

#include "editing/BoxLabelsDialog.h"
#include "editing/MemoEditor.h"
#include "editing/SlideDataViewer.h"
#include "editing/SlideEntryCommands.h"
#include "search/gui/HeaderDataDialog.h"
#include "search/gui/SearchCommands.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QScrollBar>
#include <QTimer>

using namespace lumo;
using namespace lumo::test;

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

const QColor kLime(0, 255, 0), kAqua(0, 255, 255), kYellow(255, 255, 0), kRed(255, 0, 0),
    kFuchsia(255, 0, 255), kWhite(255, 255, 255);

int CountColour(const QImage& img, const QRect& r, const QColor& c) {
    int n = 0;
    const QRgb want = c.rgb();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF))
                ++n;
    return n;
}

// One line of the result list: box (3), slide (5), position code (3), text.
std::string Line(int box, int slide, const std::string& code, const std::string& text) {
    char head[16];
    std::snprintf(head, sizeof head, "%03d%05d", box, slide);
    return head + code + text;
}

} // namespace

TEST(MainGeometry, RowOfAClick) {
    EXPECT_EQ(geo::RowFromY(0), 1);
    EXPECT_EQ(geo::RowFromY(35), 1);
    EXPECT_EQ(geo::RowFromY(60), 1);
    EXPECT_EQ(geo::RowFromY(61), 1);
    EXPECT_EQ(geo::RowFromY(71), 1);
    EXPECT_EQ(geo::RowFromY(72), 2);
    EXPECT_EQ(geo::RowFromY(88), 2);
    EXPECT_EQ(geo::RowFromY(89), 3);
    EXPECT_EQ(geo::RowFromY(46 + 17 * 17), 17);
    EXPECT_EQ(geo::RowFromY(46 + 17 * 18), 17); // row 18 becomes 17
    EXPECT_EQ(geo::RowFromY(5000), 17);
}

class MainListsTest : public ProgramTest {
protected:
    void SetUp() override {
        writeRecords({RecordBytes({"A1A1A1"}, "A01 Zugspitze im Winter", 3),
                      RecordBytes({"B1"}, "A02 Ostsee", 3), RecordBytes({"C1"}, "A03 Rom", 4)});
        writeIniWithSlides(3);
        writeKeywords(1, {{"Berge", "A1"}, {"Meer", "B1"}, {"Stadt", "C1"}});
        writeKeywords(2, {{"Alpen", "A1A1"}, {"Anden", "A1B1"}, {"Ostsee", "B1A1"}});
        writeKeywords(3, {{"Zugspitze", "A1A1A1"}, {"Watzmann", "A1A1B1"}});
        start();
        clickToolButton(5); // mode 210 with the three lists
        clearRecords();
    }
    QImage canvas() { return main().canvas().toImage(); }
    QRect rowRect(int x, int row, int width = 120) {
        return QRect(x, 60 + 17 * (row - 1), width, 17);
    }
    // Fills the result list with n lines and shows page `first` in mode m.
    void showResults(int m, int n, int first = 0) {
        auto& s = state();
        s.searchResultList.clear();
        for (int i = 1; i <= n; ++i)
            s.searchResultList.push_back(Line(1 + i % 3, i, "A0" + std::to_string(i % 10),
                                              " Dia Nummer " + std::to_string(i)));
        s.foundCount = n;
        s.lastPageRows = n % 17;
        s.firstShown = first;
        s.screenMode = m;
        main().SetScreenCaptions(m);
        main().showResultPage(first);
        main().SetupResultScrollBar(n);
    }
};

TEST_F(MainListsTest, LevelListsArePaintedWithTheCursorLabels) {
    ASSERT_EQ(state().screenMode, 210);
    for (int l = 1; l <= 3; ++l)
        EXPECT_TRUE(main().levelHeading(l)->isVisible());
    EXPECT_EQ(main().levelHeading(1)->text(), U("Stichwortebene <1>"));
    EXPECT_EQ(main().levelHeading(1)->palette().color(QPalette::WindowText), kRed);
    EXPECT_EQ(main().levelHeading(2)->palette().color(QPalette::WindowText), kWhite);

    QLabel* a = main().levelCursor(1);
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(a->pos(), QPoint(50, 60));
    EXPECT_EQ(a->text(), U("Berge"));
    EXPECT_EQ(a->palette().color(QPalette::Window), kAqua);
    EXPECT_EQ(a->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(main().levelCursor(2)->pos(), QPoint(250, 60));
    EXPECT_EQ(main().levelCursor(2)->text(), U("Alpen"));
    EXPECT_EQ(main().levelCursor(3)->pos(), QPoint(450, 60));
    EXPECT_EQ(main().levelCursor(3)->text(), U("Zugspitze"));

    const QImage img = canvas();
    EXPECT_GT(CountColour(img, rowRect(50, 2), kLime), 0);  // "Meer"
    EXPECT_GT(CountColour(img, rowRect(50, 3), kLime), 0);  // "Stadt"
    EXPECT_EQ(CountColour(img, rowRect(50, 4), kLime), 0);  // nothing below
    EXPECT_GT(CountColour(img, rowRect(250, 2), kLime), 0); // "Anden"
    EXPECT_EQ(CountColour(img, rowRect(250, 3), kLime), 0); // "Ostsee" is under B1
    EXPECT_GT(CountColour(img, rowRect(450, 2), kLime), 0); // "Watzmann"
}

TEST_F(MainListsTest, RightClickMovesTheLevelOneCursor) {
    pressCentre(Qt::RightButton, 100, 77);
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("click001")});
    EXPECT_EQ(state().cursor.currentLevel, 1);
    EXPECT_EQ(state().cursor.selectedRow, (std::array<int, 3>{2, 1, 1}));
    EXPECT_EQ(main().levelCursor(1)->pos(), QPoint(50, 77));
    EXPECT_EQ(main().levelCursor(1)->text(), U("Meer"));
    EXPECT_EQ(main().levelCursor(2)->text(), U("Ostsee"));
    EXPECT_FALSE(main().levelCursor(3)->isVisible()); // no level-3 keys below B1A1
    const QImage img = canvas();
    EXPECT_GT(CountColour(img, rowRect(50, 1), kLime), 0); // "Berge" now drawn
    EXPECT_EQ(CountColour(img, rowRect(250, 2), kLime), 0);
    EXPECT_EQ(CountColour(img, QRect(450, 60, 170, 17 * 17), kLime), 0);
}

TEST_F(MainListsTest, RightClickOnLowerLevels) {
    pressCentre(Qt::RightButton, 300, 77); // level 2, row 2 "Anden"
    EXPECT_EQ(state().cursor.currentLevel, 2);
    EXPECT_EQ(state().cursor.selectedRow, (std::array<int, 3>{1, 2, 1}));
    EXPECT_EQ(main().levelCursor(2)->text(), U("Anden"));
    EXPECT_FALSE(main().levelCursor(3)->isVisible());
    EXPECT_EQ(main().levelHeading(2)->palette().color(QPalette::WindowText), kRed);
    EXPECT_EQ(main().levelHeading(1)->palette().color(QPalette::WindowText), kWhite);

    pressCentre(Qt::RightButton, 300, 60); // back to Alpen
    pressCentre(Qt::RightButton, 500, 77); // level 3, row 2 "Watzmann"
    EXPECT_EQ(state().cursor.currentLevel, 3);
    EXPECT_EQ(state().cursor.selectedRow, (std::array<int, 3>{1, 1, 2}));
    EXPECT_EQ(main().levelCursor(3)->text(), U("Watzmann"));
    EXPECT_EQ(main().levelCursor(3)->pos(), QPoint(450, 77));
}

TEST_F(MainListsTest, ClicksOutsideTheListsAreIgnored) {
    pressCentre(Qt::RightButton, 300, 94);          // level 2 holds 2 keys under A1: row 3 is empty
    pressCentre(Qt::RightButton, 100, 60 + 17 * 5); // level 1 row 6 of 3
    pressCentre(Qt::RightButton, 250, 60);          // the border between the columns
    pressCentre(Qt::LeftButton, 100, 77);           // the left button does not move
    EXPECT_TRUE(sound().played().isEmpty());
    EXPECT_EQ(state().cursor.selectedRow, (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ(state().cursor.currentLevel, 1);
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(MainListsTest, CursorLabelColoursFollowTheMode) {
    state().screenMode = 140;
    main().RepaintNow();
    EXPECT_EQ(main().levelCursor(1)->palette().color(QPalette::Window), kYellow);
    state().screenMode = 110;
    main().RepaintNow();
    EXPECT_EQ(main().levelCursor(1)->palette().color(QPalette::Window), kWhite);
    state().editExisting = true;
    main().RepaintNow();
    EXPECT_EQ(main().levelCursor(1)->palette().color(QPalette::Window), kFuchsia);
    EXPECT_EQ(main().levelCursor(1)->palette().color(QPalette::WindowText), kWhite);
}

TEST_F(MainListsTest, PaintLockSuppressesDrawing) {
    state().paintLock = true;
    pressCentre(Qt::RightButton, 100, 77);
    EXPECT_TRUE(state().paintLock);
    EXPECT_FALSE(main().levelCursor(1)->isVisible()); // hidden by the move, not redrawn
    state().paintLock = false;
    main().RepaintNow();
    EXPECT_FALSE(state().paintLock);
    EXPECT_EQ(main().levelCursor(1)->pos(), QPoint(50, 77));
    EXPECT_TRUE(main().levelCursor(1)->isVisible());
}

TEST_F(MainListsTest, PickingKeys) {
    clickLevelCursor(1);
    auto& keys = state().keys;
    ASSERT_EQ(keys.count, 1);
    EXPECT_EQ(keys.entries[0].code, "A1");
    EXPECT_EQ(keys.entries[0].name, "Berge" + std::string(13, ' '));
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("camera1")});
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->7<-"));
    EXPECT_EQ(main().levelCursor(1)->palette().color(QPalette::Window), kRed);
    EXPECT_EQ(main().levelCursor(1)->palette().color(QPalette::WindowText), kWhite);

    clickLevelCursor(2);
    clickLevelCursor(3);
    ASSERT_EQ(keys.count, 3);
    EXPECT_EQ(keys.entries[1].code, "A1A1");
    EXPECT_EQ(keys.entries[2].code, "A1A1A1");
    EXPECT_EQ(keys.entries[2].name, "Zugspitze" + std::string(9, ' '));
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->5<-"));
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(MainListsTest, SameKeyTwiceIsRefused) {
    clickLevelCursor(1);
    clickLevelCursor(1);
    EXPECT_TRUE(errorShown(12));
    EXPECT_EQ(state().keys.count, 1);
}

TEST_F(MainListsTest, DuplicateCheckUsesBlankPaddedCodes) {
    // A key taken from a slide record carries its code padded with blanks.
    state().keys.entries[0] = {"B1    ", "Meer"};
    state().keys.count = 1;
    pressCentre(Qt::RightButton, 100, 77); // cursor to "Meer" (B1)
    clickLevelCursor(1);
    EXPECT_TRUE(errorShown(12));
    EXPECT_EQ(state().keys.count, 1);
    // A different key is still taken.
    pressCentre(Qt::RightButton, 100, 94); // "Stadt" (C1)
    clickLevelCursor(1);
    EXPECT_EQ(state().keys.count, 2);
    EXPECT_EQ(state().keys.entries[1].code, "C1");
}

TEST_F(MainListsTest, NinthKeyIsRefused) {
    auto& keys = state().keys;
    for (int i = 0; i < 8; ++i)
        keys.entries[i] = {"X" + std::to_string(i), "Name"};
    keys.count = 8;
    clickLevelCursor(1);
    EXPECT_TRUE(errorShown(8));
    EXPECT_EQ(keys.count, 8);
    EXPECT_FALSE(sound().played().contains(QStringLiteral("camera1")));
}

TEST_F(MainListsTest, StatusTextCountsFreeKeyPlaces) {
    auto& keys = state().keys;
    for (int i = 0; i < 7; ++i)
        keys.entries[i] = {"X" + std::to_string(i), "Name"};
    keys.count = 7;
    clickLevelCursor(1);
    EXPECT_EQ(keys.count, 8);
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->0<-"));
}

TEST_F(MainListsTest, NoPickingInNewKeywordMode) {
    state().screenMode = 140;
    main().SetScreenCaptions(140);
    main().RepaintNow();
    clickLevelCursor(1);
    EXPECT_EQ(state().keys.count, 0);
    EXPECT_TRUE(sound().played().isEmpty());
}

TEST_F(MainListsTest, DeleteRemovesOnlyTheLastKey) {
    clickLevelCursor(1);
    clickLevelCursor(2);
    clickLevelCursor(3);
    clearRecords();
    messages().queue(DialogAnswer::no());
    clickSoftButton(2);
    EXPECT_EQ(state().keys.count, 3);

    messages().queue(DialogAnswer::yes());
    clickSoftButton(2);
    auto& keys = state().keys;
    EXPECT_EQ(keys.count, 2);
    EXPECT_EQ(keys.entries[0].code, "A1");
    EXPECT_EQ(keys.entries[1].code, "A1A1");
    EXPECT_TRUE(keys.entries[2].code.empty());
    EXPECT_TRUE(keys.entries[2].name.empty());
    auto asked = shownOf(ShownDialog::Confirm);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].text, U("Soll der bereits selektierte Schlüssel Zugspitze         \raus "
                               "der Suchliste gelöscht werden ?"));
    EXPECT_TRUE(sound().played().contains(QStringLiteral("loesch")));
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->6<-"));
    for (int l = 1; l <= 3; ++l) {
        EXPECT_EQ(main().levelCursor(l)->palette().color(QPalette::Window), kAqua);
        EXPECT_EQ(main().levelCursor(l)->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
}

TEST_F(MainListsTest, DeleteAndResetNeedKeys) {
    clickSoftButton(2);
    EXPECT_TRUE(errorShown(10));
    messages().clearShown();
    clickSoftButton(3);
    EXPECT_TRUE(errorShown(10));
    EXPECT_TRUE(shownOf(ShownDialog::Confirm).empty());
}

TEST_F(MainListsTest, ResetClearsAllKeys) {
    clickLevelCursor(1);
    clickLevelCursor(2);
    messages().queue(DialogAnswer::yes());
    clickSoftButton(3);
    EXPECT_EQ(state().keys.count, 0);
    for (const auto& e : state().keys.entries) {
        EXPECT_TRUE(e.code.empty());
        EXPECT_TRUE(e.name.empty());
    }
    auto asked = shownOf(ShownDialog::Confirm);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text,
              U("Sollen die bereits erfassten Schlüssel alle wieder gelöscht werden ?"));
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->8<-"));
}

TEST_F(MainListsTest, ResultPageIsFilledFromTheListColumns) {
    auto& s = state();
    s.searchResultList = {Line(7, 42, "A05", " Sonnenuntergang"),
                          Line(120, 12345, "Dia", " wurde entnommen / Platz frei"),
                          "0030000" + std::string("7B12") + std::string(40, 'x')};
    s.foundCount = 3;
    s.screenMode = 211;
    main().showResultPage(0);
    const auto& rows = s.page.rows;
    EXPECT_EQ(rows[0].box, "7");
    EXPECT_EQ(rows[0].slide, "42");
    EXPECT_EQ(rows[0].code, "A05");
    EXPECT_EQ(rows[0].text, " Sonnenuntergang");
    EXPECT_EQ(rows[1].box, "120");
    EXPECT_EQ(rows[1].slide, "12345");
    EXPECT_EQ(rows[1].code, "Dia");
    EXPECT_EQ(rows[2].box, "3");
    EXPECT_EQ(rows[2].slide, "7");
    EXPECT_EQ(rows[2].code, "B12");
    EXPECT_EQ(rows[2].text, std::string(34, 'x')); // cut to 34
    EXPECT_TRUE(rows[3].empty());

    const QImage img = canvas();
    EXPECT_GT(CountColour(img, QRect(55, 35, 400, 15), kYellow), 0);
    EXPECT_GT(CountColour(img, rowRect(90, 1, 60), kWhite), 0);
    EXPECT_GT(CountColour(img, rowRect(230, 1, 60), kAqua), 0);
    EXPECT_GT(CountColour(img, rowRect(320, 1, 28), kRed), 0);
    EXPECT_GT(CountColour(img, rowRect(350, 1, 250), kLime), 0);
    // The free slot: its remaining text in white, not lime.
    EXPECT_GT(CountColour(img, rowRect(350, 2, 250), kWhite), 0);
    EXPECT_EQ(CountColour(img, rowRect(350, 2, 250), kLime), 0);
    EXPECT_EQ(CountColour(img, rowRect(0, 4, 620), kLime), 0);
    EXPECT_FALSE(main().pictureVisible());
}

TEST_F(MainListsTest, NoResultPageDrawsNothing) {
    auto& s = state();
    s.foundCount = 0;
    s.screenMode = 211;
    main().ClearListArea(Qt::black, 0, 30, 640, 354);
    for (auto& r : s.page.rows)
        r.text = kNoResultMarker;
    s.foundCount = 5; // even with a count, the marker in row 1 means "nothing"
    main().RepaintNow();
    const QImage img = canvas();
    EXPECT_EQ(CountColour(img, QRect(0, 31, 620, 320), kYellow), 0);
    EXPECT_EQ(CountColour(img, QRect(0, 31, 620, 320), kLime), 0);
}

TEST_F(MainListsTest, PagingDownStopsOnTheLastPage) {
    showResults(211, 40);
    QScrollBar* bar = main().scrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(state().firstShown, 17);
    EXPECT_EQ(bar->value(), 17);
    EXPECT_EQ(state().page.rows[0].slide, "18");
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(state().firstShown, 34);
    EXPECT_EQ(state().page.rows[5].slide, "40");
    EXPECT_TRUE(state().page.rows[6].empty());
    sound().clearRecord();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // last page: nothing
    EXPECT_EQ(state().firstShown, 34);
    EXPECT_EQ(bar->value(), 34);
    EXPECT_TRUE(sound().played().isEmpty());
}

TEST_F(MainListsTest, PagingUpFromTheFirstPagesShowsLineOne) {
    showResults(211, 40);
    state().firstShown = 10; // after a thumb release in the middle of the first pages
    sound().clearRecord();
    main().scrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(state().firstShown, 0);
    EXPECT_EQ(main().scrollBar()->value(), 0);
    EXPECT_EQ(state().page.rows[0].slide, "1");
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("next")});
    main().scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); // at 0 already
    EXPECT_EQ(state().firstShown, 0);

    state().firstShown = 30;
    main().scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(state().firstShown, 13);
    EXPECT_EQ(state().page.rows[0].slide, "14");
}

TEST_F(MainListsTest, ThumbReleaseShowsThatLine) {
    showResults(220, 40);
    QScrollBar* bar = main().scrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(20);
    bar->setSliderDown(false);
    EXPECT_EQ(state().firstShown, 20); // not rounded to a page
    EXPECT_EQ(state().page.rows[0].slide, "21");
    EXPECT_EQ(bar->value(), 20);

    bar->setSliderDown(true);
    bar->setSliderPosition(40);
    bar->setSliderDown(false);
    EXPECT_EQ(state().firstShown, 34); // FoundCount - LastPageRows
    EXPECT_EQ(state().page.rows[0].slide, "35");
    EXPECT_EQ(bar->value(), 40);
}

TEST_F(MainListsTest, ThumbAtTheEndWithWholePagesShowsTheLastFullPage) {
    showResults(211, 34);
    ASSERT_EQ(state().lastPageRows, 0);
    main().onResultScroll(MainWindow::ScrollThumbReleased, 34);
    EXPECT_EQ(state().firstShown, 17);
    EXPECT_EQ(state().page.rows[0].slide, "18");
    EXPECT_EQ(state().page.rows[16].slide, "34");
}

TEST_F(MainListsTest, OtherScrollEventsDoNothing) {
    showResults(211, 40);
    sound().clearRecord();
    main().scrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    main().scrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(state().firstShown, 0);
    EXPECT_EQ(main().scrollBar()->value(), 0);
    EXPECT_TRUE(sound().played().isEmpty());
}

TEST_F(MainListsTest, ResultClicksOutsideTheColumnsDoNothing) {
    showResults(211, 3);
    clearRecords();
    pressCentre(Qt::LeftButton, 170, 60);   // between the box and slide columns
    pressCentre(Qt::LeftButton, 100, 111);  // row 4 is empty
    pressCentre(Qt::RightButton, 300, 60);  // right button left of 320
    pressCentre(Qt::RightButton, 400, 111); // right button on an empty row
    EXPECT_TRUE(sound().played().isEmpty());
    EXPECT_TRUE(messages().shown().empty());
}

// Which dialog a result-row click opens: the modal window is recorded and closed.
class ResultClickTest : public MainListsTest {
protected:
    QWidget* modalOpenedBy(Qt::MouseButton button, int x, int y) {
        QWidget* seen = nullptr;
        QTimer::singleShot(0, [&seen] {
            seen = QApplication::activeModalWidget();
            if (auto* d = qobject_cast<QDialog*>(seen))
                d->reject();
            else if (seen)
                seen->close();
        });
        pressCentre(button, x, y);
        return seen;
    }
};

TEST_F(ResultClickTest, ColumnsOpenTheirDialogs) {
    showResults(211, 3);
    QWidget* box = modalOpenedBy(Qt::LeftButton, 100, 77);
    EXPECT_NE(box, nullptr);
    EXPECT_EQ(box, static_cast<QWidget*>(program->search().boxLabelsDialog()));

    QWidget* header = modalOpenedBy(Qt::LeftButton, 250, 77);
    EXPECT_NE(header, nullptr);
    EXPECT_EQ(header, static_cast<QWidget*>(program->search().headerDialog()));

    QWidget* slide = modalOpenedBy(Qt::LeftButton, 400, 77);
    EXPECT_NE(slide, nullptr);
    EXPECT_EQ(slide, static_cast<QWidget*>(program->entry().slideDataViewer()));

    QWidget* memo = modalOpenedBy(Qt::RightButton, 400, 77);
    EXPECT_NE(memo, nullptr);
    EXPECT_EQ(memo, static_cast<QWidget*>(program->search().memoEditor()));
}

TEST_F(MainListsTest, SearchSlidesListsTheFoundSlides) {
    clickLevelCursor(1); // "Berge" (A1): slide 1 carries A1A1A1 below it
    clickSoftButton(1);
    EXPECT_EQ(state().screenMode, 211);
    EXPECT_EQ(state().foundCount, 1);
    EXPECT_EQ(main().softButton(1)->text(), U("TEXT-EDITOR"));
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(main().softButton(i)->isEnabled());
    EXPECT_EQ(state().page.rows[0].slide, "1");
    EXPECT_EQ(state().page.rows[0].box, "3");
    EXPECT_TRUE(main().scrollBar()->isVisible());
    const QImage img = canvas();
    EXPECT_GT(CountColour(img, rowRect(350, 1, 250), kLime), 0);
    EXPECT_GT(CountColour(img, QRect(55, 35, 400, 15), kYellow), 0);
    EXPECT_EQ(CountColour(img, rowRect(350, 2, 250), kLime), 0);
}

TEST_F(MainListsTest, WheelOnTheScrollBarDoesNotMoveThePage) {
    showResults(211, 40);
    QScrollBar* bar = main().scrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ASSERT_EQ(bar->value(), 17);
    bar->setSliderPosition(30);  // what the wheel does, without a drag
    EXPECT_EQ(bar->value(), 17); // the thumb stays with the page shown
    EXPECT_EQ(state().firstShown, 17);
    EXPECT_EQ(state().page.rows[0].slide, "18");
}
