// The magazine map driven as a user does: menu, arrow keys, Enter, Page Down, the slide
// data viewer on a taken place and a new slide stored on an empty one.
#include "ExtrasTestSupport.h"

#include "editing/SlideEntryDialog.h"
#include "store/SlideDatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTreeWidget>

namespace lumo::test {
namespace {

TEST_F(ExtrasTest, MapShowsThePlacesAndLeadsToTheViewerAndToANewSlide) {
    OpenArchive();
    MagazineMapWindow& map = *extras().magazineMap();
    SlideDataViewer& viewer = *program->entry().slideDataViewer();
    int viewed = 0;
    WhenShown shown(&map, [&] {
        ASSERT_EQ(map.boxList->topLevelItemCount(), 2);
        const QTreeWidgetItem* first = map.boxList->topLevelItem(0);
        EXPECT_EQ(first->text(1) + u'|' + first->text(2) + u'|' + first->text(3) + u'|' +
                      first->text(4) + u'|' + first->text(5),
                  U("4|18|1|Urlaub|Berge"));
        const PlaceGridModel& m = map.model();
        auto name = [&](int magazine, int place) {
            return m.data(m.cellOf(magazine, place), Qt::AccessibleTextRole).toString();
        };
        EXPECT_EQ(name(0, 1), U("Platz A01 doppelt belegt: Dia 1, Dia 3"));
        EXPECT_EQ(name(0, 2), U("Dia 2, Kasten 1, A02, Schlösser im Sommer"));
        EXPECT_EQ(name(1, 10), U("Platz B10 frei"));
        EXPECT_TRUE(m.data(m.cellOf(0, 2), Qt::ToolTipRole)
                        .toString()
                        .contains(U("Schlüssel: Berge, Alpen\nMit Memo")));
        ASSERT_EQ(map.unplacedList->count(), 1);
        EXPECT_EQ(map.unplacedList->item(0)->text(), U("Dia 4  ??? Ohne"));

        map.grid->setFocus();
        QTest::keyClick(map.grid, Qt::Key_Right);
        WhenShown inViewer(&viewer, [&] {
            viewed = viewer.shownSlide();
            QTest::mouseClick(viewer.closeButton, Qt::LeftButton);
        });
        QTest::keyClick(map.grid, Qt::Key_Return);

        // Page Down: box 2; Page Up back; A03 is free: Enter starts a new slide there.
        QTest::keyClick(map.grid, Qt::Key_PageDown);
        EXPECT_EQ(map.shownBox(), 2);
        QTest::keyClick(map.grid, Qt::Key_PageUp);
        EXPECT_EQ(map.shownBox(), 1);
        QTest::keyClick(map.grid, Qt::Key_Right);
        QTest::keyClick(map.grid, Qt::Key_Right);
        EXPECT_TRUE(map.newSlideButton->isEnabled());
        QTest::keyClick(map.grid, Qt::Key_Enter);
    });
    triggerMenu("&Magazinübersicht...");
    EXPECT_TRUE(shown.ran());
    EXPECT_EQ(viewed, 2);
    ASSERT_EQ(state().screenMode, mode::SlideEntry);

    // The slide entry proposes box 1 and A03 for slide 6 and stores it the usual way.
    clickLevelCursor(1); // the key "Berge"
    SlideEntryDialog& entry = *program->entry().slideEntryDialog();
    QString proposed;
    WhenShown inEntry(&entry, [&] {
        proposed = entry.boxNumberEdit->text() + u' ' + entry.magazineCodeEdit->text();
        entry.infoTextBox->lineEdit()->selectAll();
        QTest::keyClicks(entry.infoTextBox->lineEdit(), U("Neu"));
        QTest::mouseClick(entry.saveButton, Qt::LeftButton);
        QTest::mouseClick(entry.closeButton, Qt::LeftButton);
    });
    messages().queue(DialogAnswer::no()); // keep the keys
    clickSoftButton(1);                   // "DIA SICHERN"
    EXPECT_EQ(proposed, U("1 A03"));
    EXPECT_EQ(archive.read("dias.ddb").substr(5 * 82), RecordBytes({"B1"}, "A03 Neu", 1));
}

TEST_F(ExtrasTest, MapPrintsTheShownBoxAsPdf) {
    OpenArchive();
    MagazineMapWindow& map = *extras().magazineMap();
    const std::string pdf = (archive.dir() / "kasten.pdf").string();
    WhenShown shown(&map, [&] {
        messages().queueFileName(QString::fromStdString(pdf));
        QTest::mouseClick(map.pdfButton, Qt::LeftButton);
        QTest::keyClick(map.grid, Qt::Key_Escape);
    });
    extras().OpenMagazineMap();
    ASSERT_TRUE(shown.ran());
    EXPECT_EQ(archive.read("kasten.pdf").substr(0, 5), "%PDF-");
    EXPECT_TRUE(texts(ShownDialog::Notice).isEmpty());
    EXPECT_EQ(map.footLines(),
              QStringList({U("Dias ohne Platz im Raster:"), U("Dia 4, Kasten 1, ???, Ohne")}));
}

} // namespace
} // namespace lumo::test
