// The slide data viewer SlideDataViewer opened from a result row: typed numbers, stepping, the
// range errors and the picture.
#include "EditingTestSupport.h"

#include "editing/SlideDataViewer.h"
#include "editing/SlideEntryCommands.h"
#include "platform/Launcher.h"

#include <QCheckBox>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace lumo::test {
namespace {

class SlideViewer : public EditingTest {
protected:
    void SetUp() override {
        ArchiveSetup s;
        for (int i = 1; i <= 7; ++i)
            s.records.push_back(
                RecordBytes({"B1"}, "A0" + std::to_string(i) + " Dia " + std::to_string(i), i));
        s.records[1] = RecordBytes({"XX", "W1", "", "B1A1"}, "B07 Haus am See  ", 12);
        s.records[3] = RecordBytes({"00    "}, "Dia wurde entnommen / Platz frei", 0);
        s.keyword1 = KeywordBytes({{"Berge", "B1"}, {"Wasser", "W1"}});
        s.keyword2 = KeywordBytes({{"Alpen", "B1A1"}});
        s.keyword3 = "";
        arc.write("KASTEN.INI", "[K012]\r\nT1=Magazin Nord\r\nT2=Reisen\r\n");
        WritePicture("bilder/autor.bmp", 10, 10);
        WritePicture("bilder/07.bmp", 20, 12);
        Open(s);
    }
    void WritePicture(const std::string& name, int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(QColor(Qt::red));
        arc.write(name, "");
        ASSERT_TRUE(img.save(QString::fromStdString(arc.path(name).string()), "BMP"));
    }
    SlideDataViewer& viewer() { return *prog->entry().slideDataViewer(); }
    void InViewer(int32_t slide, const std::function<void(SlideDataViewer&)>& act) {
        bool ran = false;
        new WhenShown(&viewer(), [&] {
            ran = true;
            act(viewer());
            if (viewer().isVisible())
                viewer().onClose();
        });
        prog->entry().ShowSlideData(slide);
        ASSERT_TRUE(ran);
    }
};

TEST_F(SlideViewer, ShowsTheClickedSlideAsStored) {
    InViewer(2, [&](SlideDataViewer& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Daten zum Dia anzeigen"));
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("2"));
        EXPECT_EQ(d.boxNumberEdit->text(), QStringLiteral("12"));
        EXPECT_EQ(d.infoTextLabel->text(), QStringLiteral("B07 Haus am See  ")); // not trimmed
        // Slot 1 holds a code no keyword has: empty and unchecked.
        EXPECT_EQ(d.keyBoxes[0]->text(), QString());
        EXPECT_FALSE(d.keyBoxes[0]->isChecked());
        EXPECT_EQ(d.keyBoxes[1]->text(), QStringLiteral("Wasser"));
        EXPECT_TRUE(d.keyBoxes[1]->isChecked());
        EXPECT_EQ(d.keyBoxes[3]->text(), QStringLiteral("Alpen"));
        for (auto* c : d.keyBoxes)
            EXPECT_FALSE(c->isEnabled());
        EXPECT_FALSE(d.refreshButton->isVisible());
        EXPECT_EQ(d.pictureFile(), QStringLiteral("bilder/autor.bmp"));
        EXPECT_EQ(st().boxNumber, 12);
        EXPECT_EQ(st().magazineText, "Magazin Nord");
        EXPECT_EQ(st().currentStatus, 20);
        EXPECT_FALSE(main().softButton(1)->isEnabled());
        EXPECT_EQ(d.pos(), main().MainTopLeft() + QPoint(100, 109));

        // A free slot is shown like any slide.
        d.slideNumberEdit->setText(QStringLiteral("4"));
        EXPECT_EQ(d.infoTextLabel->text(), QStringLiteral("Dia wurde entnommen / Platz frei"));
        EXPECT_EQ(d.boxNumberEdit->text(), QStringLiteral("0"));
        for (auto* c : d.keyBoxes)
            EXPECT_FALSE(c->isChecked());
    });
    EXPECT_TRUE(Errors().empty());
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_TRUE(main().softButton(1)->isEnabled());
}

TEST_F(SlideViewer, NumbersOutsideTheArchiveGiveError7AndKeepTheShownSlide) {
    InViewer(2, [&](SlideDataViewer& d) {
        for (const char* n : {"0", "8", "x"}) {
            d.slideNumberEdit->setText(QLatin1String(n));
            EXPECT_EQ(d.infoTextLabel->text(), QStringLiteral("B07 Haus am See  ")) << n;
            EXPECT_FALSE(main().softButton(1)->isEnabled()) << n;
        }
        d.slideNumberEdit->setText(QString()); // empty: nothing at all
        EXPECT_EQ(d.boxNumberEdit->text(), QStringLiteral("12"));
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(Errors(), (std::vector<int>{7, 7, 7}));
}

TEST_F(SlideViewer, SteppingStopsAtBothEndsWithError11) {
    InViewer(6, [&](SlideDataViewer& d) {
        QTest::mouseClick(d.nextButton, Qt::LeftButton);
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("7"));
        EXPECT_EQ(d.infoTextLabel->text(), QStringLiteral("A07 Dia 7"));
        d.onNextSlide();
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("7"));
        d.slideNumberEdit->setText(QStringLiteral("1"));
        d.onPreviousSlide();
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("1"));
        d.onNextSlide();
        EXPECT_EQ(d.slideNumberEdit->text(), QStringLiteral("2"));
        EXPECT_EQ(d.boxNumberEdit->text(), QStringLiteral("12"));
        d.onPreviousSlide();
        EXPECT_EQ(d.infoTextLabel->text(), QStringLiteral("A01 Dia 1"));
    });
    EXPECT_EQ(Errors(), (std::vector<int>{11, 11}));
    EXPECT_EQ(sound().played().count(QStringLiteral("next")), 5);
}

TEST_F(SlideViewer, PictureFollowsTheNumberAsTypedAndOpensTheJpeg) {
    InViewer(7, [&](SlideDataViewer& d) {
        EXPECT_EQ(d.pictureFile(), QStringLiteral("bilder/autor.bmp"));
        d.slideNumberEdit->setText(QStringLiteral("07"));
        EXPECT_EQ(d.pictureFile(), QStringLiteral("bilder/07.bmp"));
        ASSERT_NE(d.pictureLabel->pixmap().isNull(), true);
        EXPECT_EQ(d.pictureLabel->pixmap().size(), QSize(20, 12));

        // No bilder/07.jpg: the launch failure notice names the file.
        d.onOpenPicture();
        const auto notices = Texts(ShownDialog::Notice);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_TRUE(notices[0].contains(QStringLiteral("bilder/07.jpg")));

        arc.write("bilder/07.jpg", "not really a jpeg");
        QTest::mouseClick(d.pictureLabel, Qt::LeftButton);
        EXPECT_EQ(prog->launcher().started(), QStringList{QStringLiteral("bilder/07.jpg")});
        EXPECT_EQ(sound().played().count(QStringLiteral("camera1")), 2);
    });
}

TEST_F(SlideViewer, NeitherPictureLeavesTheAreaEmpty) {
    std::filesystem::remove(arc.path("bilder/autor.bmp"));
    InViewer(3, [&](SlideDataViewer& d) {
        EXPECT_TRUE(d.pictureFile().isEmpty());
        EXPECT_TRUE(d.pictureLabel->pixmap().isNull());
    });
}

} // namespace
} // namespace lumo::test
