// The main window from the keyboard and through its accessibility tree: keys sent to the
// widget that has the focus, compared with what the mouse does on the same window.
#include "ShellFixture.h"

#include "editing/SlideDataViewer.h"
#include "search/Reports.h"
#include "search/gui/SearchCommands.h"
#include "shell/ListArea.h"

#include <QAccessible>
#include <QLineEdit>
#include <QRegularExpression>

#include <filesystem>

using namespace lumo;
using namespace lumo::test;

namespace {

// Everything a pick or a move leaves behind that the user can see or hear.
struct Outcome {
    std::vector<std::string> codes;
    std::array<int, 3> rows;
    QStringList sounds;
    std::vector<int> errors;
    QString status;
    QImage canvas;
    std::string report;
    auto heardAndRead() const { return std::tie(codes, rows, sounds, errors, status, report); }
};

// The accessibility tree below an interface as "role:name" lines, indented by depth.
void Walk(QAccessibleInterface* iface, QStringList& out, int depth = 0) {
    out << QString(depth, u' ') + QString::number(iface->role()) + u':' +
               iface->text(QAccessible::Name);
    for (int i = 0; i < iface->childCount(); ++i)
        Walk(iface->child(i), out, depth + 1);
}

class KeyboardTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // Slides 3..20 carry "Meer" and "Stadt": a two-key search finds more than a page.
        std::vector<std::string> records = {RecordBytes({"A1A1A1"}, "A01 Zugspitze", 3),
                                            RecordBytes({"B1"}, "A02 Ostsee", 3)};
        for (int i = 3; i <= 20; ++i)
            records.push_back(RecordBytes({"B1", "C1"}, "A03 Dia " + std::to_string(i), 4));
        writeRecords(records);
        startWith();
        // Both searches' reports must not differ by the second they were written in.
        program->search().setClock([] { return ReportStamp{"05.12.98", "14:30:00"}; });
    }
    // A key as the user types it: to the widget that has the focus.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        if (!QApplication::activeWindow()) { // a closed dialog leaves no window active offscreen
            main().activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
        }
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
    }
    void pressAll(std::initializer_list<int> keys) {
        for (int k : keys)
            press(k);
    }
    Outcome outcome() {
        return {keyCodes(), state().cursor.selectedRow, sound().played(),
                errors(),   statusLineText(),           main().canvas().toImage(),
                {}};
    }
    // Starts the search and returns its report.
    std::string search(const std::function<void()>& start) {
        std::filesystem::remove(archive.path("dialiste.txt"));
        start();
        EXPECT_EQ(state().screenMode, 211);
        return archive.read("dialiste.txt");
    }
    QStringList tree() {
        QStringList out;
        Walk(QAccessible::queryAccessibleInterface(&main()), out);
        return out;
    }
};

TEST_F(KeyboardTest, KeysMoveAndPickAsTheMouseDoes) {
    clickToolButton(5);
    EXPECT_TRUE(main().listArea()->hasFocus());
    clearRecords();
    pressCentre(Qt::RightButton, 100, 77); // Meer
    clickLevelCursor(1);
    pressCentre(Qt::RightButton, 100, 94); // Stadt
    clickLevelCursor(1);
    clickLevelCursor(1); // twice: error 12
    pressCentre(Qt::RightButton, 100, 60);
    pressCentre(Qt::RightButton, 100, 94);
    Outcome mouse = outcome();
    mouse.report = search([&] { clickSoftButton(1); });

    clickToolButton(5);
    EXPECT_TRUE(main().listArea()->hasFocus());
    clearRecords();
    // Up at the top, Left at the first level and Down in an empty level do nothing.
    pressAll({Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Return, Qt::Key_Right, Qt::Key_Home,
              Qt::Key_Left, Qt::Key_End, Qt::Key_Space, Qt::Key_Enter, Qt::Key_PageUp,
              Qt::Key_PageDown});
    EXPECT_EQ(main().listArea()->focusLevel(), 1);
    Outcome keys = outcome();
    EXPECT_EQ(keys.codes, (std::vector<std::string>{"B1", "C1"}));
    EXPECT_EQ(keys.errors, std::vector<int>{12});
    keys.report = search([&] {
        press(Qt::Key_Tab); // to "SUCHE DIAS"
        EXPECT_EQ(QApplication::focusWidget(), main().softButton(1));
        press(Qt::Key_Return);
    });
    EXPECT_EQ(keys.heardAndRead(), mouse.heardAndRead());
    EXPECT_TRUE(keys.canvas == mouse.canvas);
    EXPECT_EQ(state().foundCount, 18);
}

TEST_F(KeyboardTest, ResultRowsOpenAndPageFromTheKeys) {
    showResults(211, 40);
    ASSERT_TRUE(main().listArea()->hasFocus());
    press(Qt::Key_Up); // stays on row 1
    press(Qt::Key_Down);
    EXPECT_EQ(main().listArea()->focusRow(), 2);
    for (auto [modifiers, dialog] : {std::pair{Qt::NoModifier, "SlideDataViewer"},
                                     {Qt::ShiftModifier, "MemoEditor"},
                                     {Qt::ControlModifier, "BoxLabelsDialog"},
                                     {Qt::AltModifier, "HeaderDataDialog"}})
        EXPECT_EQ(WithEachModal([&, m = modifiers] { press(Qt::Key_Return, m); }),
                  QStringList{U("lumo::") + U(dialog)});
    // Enter opened the slide of row 2, as a click on its text does.
    EXPECT_EQ(state().keys.count, 1); // slide 2 carries one key, the others two
    clearRecords();
    press(Qt::Key_PageDown);
    EXPECT_EQ(main().scrollBar()->value(), 17);
    EXPECT_EQ(state().page.rows[0].slide, "18");
    press(Qt::Key_PageUp);
    EXPECT_EQ(main().scrollBar()->value(), 0);
    EXPECT_EQ(sound().played(), QStringList({U("next"), U("next")}));
    // The frame is the keyboard's: it goes with a mouse press and comes with a key.
    ListArea* area = main().listArea();
    EXPECT_TRUE(area->frameShown());
    const QRect frame = area->frameRect();
    auto yellowOnFrame = [&] {
        const QImage image = area->grab().toImage();
        return image.pixelColor(frame.left() + 1, frame.center().y()) == QColor(255, 255, 0);
    };
    EXPECT_TRUE(yellowOnFrame());
    pressCentre(Qt::LeftButton, 170, 400); // on the status line: nothing else happens
    EXPECT_FALSE(area->frameShown());
    EXPECT_FALSE(yellowOnFrame());
}

TEST_F(KeyboardTest, AccessibilityTreeNamesControlsAndListsTheKeywords) {
    clickToolButton(5);
    press(Qt::Key_Down); // Meer
    press(Qt::Key_Return);
    const QStringList t = tree();
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}) // there is no twelfth tool button
        EXPECT_TRUE(t.contains(QRegularExpression(
            U("^ +%1:%2$").arg(int(QAccessible::Button)).arg(main().toolButton(i)->toolTip()))))
            << i;
    // The walk from the window reaches the keywords of the lists.
    const int at =
        t.indexOf(QRegularExpression(U("^ +%1:Stichwortebene <2>$").arg(int(QAccessible::List))));
    ASSERT_GE(at, 0);
    EXPECT_TRUE(t.value(at + 1).endsWith(U("%1:Ostsee").arg(int(QAccessible::ListItem))));
    QAccessibleInterface* area = QAccessible::queryAccessibleInterface(main().listArea());
    QAccessibleInterface* level1 = area->child(0);
    ASSERT_EQ(level1->childCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(level1->child(i)->text(QAccessible::Name), Caps("Berge|Meer|Stadt")[i]);
    EXPECT_EQ(level1->text(QAccessible::Name), U("Stichwortebene <1>"));
    EXPECT_EQ(level1->role(), QAccessible::List);
    QAccessibleInterface* meer = level1->child(1);
    EXPECT_TRUE(meer->state().selected && meer->state().focused);
    EXPECT_FALSE(level1->child(0)->state().selected || level1->child(0)->state().focused);
    EXPECT_EQ(area->focusChild(), meer);
    EXPECT_EQ(area->child(1)->child(0)->text(QAccessible::Name), U("Ostsee"));
    // The result page: a table with the columns of its headings.
    showResults(211, 3);
    press(Qt::Key_Down);
    QAccessibleInterface* table = area->child(0);
    ASSERT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 3);
    QStringList row2;
    for (int c = 0; c < 3; ++c)
        row2 << cells->columnDescription(c) + u'=' + cells->cellAt(1, c)->text(QAccessible::Name);
    EXPECT_EQ(row2, QStringList({U("Kasten-Nummer=3"), U("Dia-Nummer=2"),
                                 U("Dia-Informationstext=A02 Dia Nummer 2")}));
    EXPECT_EQ(cells->selectedRows(), QList<int>{1});
    EXPECT_TRUE(tree().contains(
        QRegularExpression(U("^ +%1:Ergebnisseite$").arg(int(QAccessible::ScrollBar)))));
}

// A whole key search without the mouse: AUSWERTUNG, two keys, SUCHE DIAS, a found slide.
TEST_F(KeyboardTest, WholeKeySearchFromTheKeyboard) {
    for (int i = 0; i < 8 && QApplication::focusWidget() != main().softButton(2); ++i)
        press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), main().softButton(2)); // "AUSWERTUNG"
    press(Qt::Key_Return);
    ASSERT_EQ(state().screenMode, 210);
    pressAll({Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Tab,
              Qt::Key_Space}); // Meer, Stadt, "SUCHE DIAS"
    ASSERT_EQ(state().screenMode, 211);
    EXPECT_EQ(state().foundCount, 18);
    press(Qt::Key_Down);
    QString shown;
    const QStringList seen = WithEachModal([&] { press(Qt::Key_Return); },
                                           [&](QWidget* w) {
                                               auto* viewer = static_cast<SlideDataViewer*>(w);
                                               shown = viewer->slideNumberEdit->text();
                                               QTest::keyClick(w, Qt::Key_Escape);
                                           });
    EXPECT_EQ(seen, QStringList{U("lumo::SlideDataViewer")});
    EXPECT_EQ(shown, U("4")); // the second slide found
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), main().softButton(1));
    press(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), main().listArea());
}

} // namespace
