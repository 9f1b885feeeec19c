// The deletion window opened by tool button 3 and its menu entry, driven through its
// controls; dias.ddb and kopfdata.ddb compared with records built from the format tables.
#include "RecordsFixture.h"

#include "editing/SlideDeletionDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace lumo::test {
namespace {

const QString kMarked = QString::fromUtf8(
    "Die Dias wurden aus dem Lumoretta gelöscht.\rAlle Datensätze sind entsprechend "
    "markiert\rworden und der Zähler für die Dias wurde\rentsprechend korrigiert und gesichert.");
const QString kNothing = QString::fromUtf8("Ausgewählte Dias waren bereits gelöscht !\rEs wurden "
                                           "keine Veränderungen in Ihrem\rArchiv vorgenommen !");

class SlideDeletion : public RecordsTest {
protected:
    // Tool button 3, the range typed, the check boxes set, "Dias &löschen" clicked and the
    // question answered "Ja"; a window still open afterwards is closed.
    void Run(const char* from, const char* to, std::array<bool, 4> boxes = {1, 1, 1, 1}) {
        msg().queue(DialogAnswer::yes());
        SlideDeletionDialog* d = records().slideDeletionDialog();
        WhenShown w(d, [&] {
            d->fromEdit->setText(QString::fromUtf8(from));
            d->toEdit->setText(QString::fromUtf8(to));
            for (size_t i = 0; i < 4; ++i)
                d->choiceBoxes[i]->setChecked(boxes[i]);
            d->deleteButton->click();
            stayedOpen = d->isVisible();
            if (stayedOpen)
                d->closeButton->click();
        });
        QTest::mouseClick(main().toolButton(3), Qt::LeftButton);
    }
    bool stayedOpen = false;
};

TEST_F(SlideDeletion, OneSlideBecomesAFreeSlotInItsBoxWithItsFilesGone) {
    OpenSlides(10);
    arc.write("kopfdata.ddb", "");
    for (const char* f : {"memo/5.txt", "memo/4.txt", "bilder/5.bmp"})
        arc.write(f, "x");
    Run("5", "5");
    EXPECT_EQ(arc.read("dias.ddb"), Slides(1, 4) + FreeSlot(1) + Slides(6, 10));
    EXPECT_EQ(arc.read("kopfdata.ddb"), std::string(4 * 120, '\0') + HeaderRecordBytes({}));
    EXPECT_FALSE(arc.exists("memo/5.txt") || arc.exists("bilder/5.bmp"));
    EXPECT_TRUE(arc.exists("memo/4.txt"));
    EXPECT_EQ(st().counters.activeSlides, 9);
    EXPECT_EQ(st().counters.totalRecords, 10);
    EXPECT_NE(arc.read("DIA.INI").find("DIAS=9\r\n"), std::string::npos);
    EXPECT_EQ(Texts(ShownDialog::Confirm)[0],
              QString::fromUtf8("Möchten Sie Informationen zu den\rDias Nr.5 bis Nr.5\rwirklich "
                                "aus dem Archiv löschen ?"));
    EXPECT_EQ(Texts(ShownDialog::Notice), std::vector<QString>{kMarked});
    EXPECT_EQ(main().statusPanel(1), QStringLiteral("9"));
    EXPECT_EQ(st().currentStatus, 0);
    EXPECT_FALSE(stayedOpen);
}

TEST_F(SlideDeletion, FreeSlotsOrKeptRecordsChangeNoRecord) {
    OpenSlides(6, {"", "", FreeSlot(1), FreeSlot(1)});
    arc.write("kopfdata.ddb", HeaderRecordBytes({"Leica"}));
    for (const char* f : {"memo/2.txt", "memo/3.txt", "memo/4.txt"})
        arc.write(f, "x");
    const std::string ddb = arc.read("dias.ddb");
    Run("3", "4");
    Run("1", "2", {false, false, true, false}); // "Memos" alone
    EXPECT_EQ(arc.read("dias.ddb"), ddb);
    EXPECT_EQ(arc.read("kopfdata.ddb"), HeaderRecordBytes({"Leica"}));
    EXPECT_TRUE(arc.exists("memo/3.txt") && arc.exists("memo/4.txt"));
    EXPECT_FALSE(arc.exists("memo/2.txt"));
    EXPECT_EQ(st().counters.activeSlides, 4);
    EXPECT_EQ(Texts(ShownDialog::Notice), (std::vector<QString>{kNothing, kNothing}));
}

TEST_F(SlideDeletion, ARangeOutOfOrderOrEscDeletesNothingAndTheCheckBoxesStayAsSet) {
    OpenSlides(10);
    SlideDeletionDialog* d = records().slideDeletionDialog();
    for (bool first : {true, false}) {
        WhenShown w(d, [&] {
            EXPECT_EQ(d->choiceBoxes[2]->isChecked(), first);
            d->choiceBoxes[2]->setChecked(false);
            d->fromEdit->setText(QStringLiteral("7"));
            d->toEdit->setText(QStringLiteral("3"));
            if (first)
                d->deleteButton->click(); // error 15, the window stays
            QTest::keyClick(d, Qt::Key_Escape);
        });
        main().findAction(QString::fromUtf8("Dias &löschen..."))->trigger();
    }
    EXPECT_EQ(Texts(ShownDialog::Error), std::vector<QString>{QStringLiteral(
                                             "Eingabebereich nicht korrekt !\r( max. 1 - 10 )")});
    EXPECT_EQ(msg().shown().size(), 1u);
    EXPECT_EQ(arc.read("dias.ddb"), Slides(1, 10));
}

TEST_F(SlideDeletion, AFailedRecordWriteStopsTheRunAndRecountsTheSlides) {
    OpenSlides(4); // no kopfdata.ddb: the header data record of slide 2 cannot be written
    Run("2", "4");
    EXPECT_EQ(Errors(), std::vector<int>{31});
    EXPECT_EQ(arc.read("dias.ddb"), Slide(1) + FreeSlot(1) + Slides(3, 4));
    EXPECT_EQ(st().counters.activeSlides, 3);
    EXPECT_NE(arc.read("DIA.INI").find("DIAS=3\r\n"), std::string::npos);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(Texts(ShownDialog::Notice).empty());
}

} // namespace
} // namespace lumo::test
