// Clicks on the rows of a result list open the box labels, the header data and the memo of
// the slide; the dialogs are driven through their real controls.
#include "SearchGuiFixture.h"

#include "editing/BoxLabelsDialog.h"
#include "editing/MemoEditor.h"
#include "search/gui/HeaderDataDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace lumo::test {
namespace {

using ResultClicks = SearchGui;
const std::string kResults =
    "mode 211, status 13, found 3, panel 3, TEXT-EDITOR / NEUE SUCHE, rows 2 5 6";

TEST_F(ResultClicks, BoxNumberOpensTheBoxLabelsOfThatBox) {
    arc.write("KASTEN.INI", "[K002]\r\nT1=Sommer 98\r\nT2=Italien\r\n");
    StartWithResults();
    BoxLabelsDialog* dlg = search().boxLabelsDialog();
    QString shownLabels;
    QPoint pos;
    bool buttonsDisabled = false;
    int statusWhileOpen = 0;
    WhenShown(dlg, [&] {
        shownLabels =
            dlg->boxEdit->text() + u'|' + dlg->magazineEdit->text() + u'|' + dlg->themeEdit->text();
        pos = dlg->pos();
        buttonsDisabled = !main().softButton(1)->isEnabled();
        statusWhileOpen = st().currentStatus;
        dlg->boxEdit->setText(QStringLiteral("7"));
        dlg->magazineEdit->setText(QStringLiteral("Urlaub 1997"));
        dlg->saveButton->click();
        dlg->cancelButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 100, RowY(2)); // slide 5 in box 2

    EXPECT_EQ(shownLabels, QStringLiteral("2|Sommer 98|Italien"));
    EXPECT_EQ(pos, main().pos() + QPoint(119, 146));
    EXPECT_TRUE(buttonsDisabled);
    EXPECT_EQ(statusWhileOpen, 20);
    EXPECT_NE(arc.read("KASTEN.INI").find("[K007]\r\nT1=Urlaub 1997\r\nT2=Italien\r\n"),
              std::string::npos);
    EXPECT_EQ(st().boxNumber, 7);
    EXPECT_EQ(Summary(), kResults);
    EXPECT_TRUE(main().softButton(1)->isEnabled());
    EXPECT_EQ(prog->sound().played().value(0), QStringLiteral("hotclik"));
    EXPECT_TRUE(prog->sound().played().contains(QStringLiteral("click006")));
}

// The header data in entry mode; a confirmation left over from an earlier prompt does not
// store the values typed and abandoned.
TEST_F(ResultClicks, SlideNumberOpensTheHeaderDataAndLeavingWritesNothing) {
    const std::string headers = HeaderRecordBytes({}) + HeaderRecordBytes({"Nikon F50", "", "", "",
                                                                           "", "", "", "12.08.98"});
    arc.write("kopfdata.ddb", headers);
    StartWithResults();
    st().searchConfirmed = true;
    HeaderDataDialog* dlg = search().headerDialog();
    QString prompt, fields;
    bool slideShown = false;
    QPoint pos;
    WhenShown(dlg, [&] {
        prompt = dlg->promptLabel->text();
        slideShown = dlg->slideNumberEdit->isVisible();
        fields = dlg->slideNumberEdit->text() + u'|' + dlg->okButton->text() + u'|' +
                 dlg->valueBoxes[0]->currentText() + u'|' + dlg->valueBoxes[7]->currentText();
        pos = dlg->pos();
        dlg->valueBoxes[0]->setEditText(QStringLiteral("verworfen"));
        dlg->closeButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 250, RowY(1)); // slide 2

    EXPECT_EQ(prompt, QString::fromUtf8("Zu dem ausgewählten Dia wurden\nfolgende Kopfdaten "
                                        "bereits erfasst"));
    EXPECT_TRUE(slideShown);
    EXPECT_EQ(fields, QStringLiteral("2|&Speichern|Nikon F50|12.08.98"));
    EXPECT_EQ(pos, main().pos() + QPoint(58, 93));
    EXPECT_EQ(Summary(), kResults);
    EXPECT_TRUE(main().softButton(2)->isEnabled());
    EXPECT_EQ(arc.read("kopfdata.ddb"), headers);
    EXPECT_FALSE(st().searchConfirmed);
}

TEST_F(ResultClicks, HeaderDataEntrySavesChecksAndDeletes) {
    arc.write("kopfdata.ddb", HeaderRecordBytes({"Leica"}));
    StartWithResults();
    HeaderDataDialog* dlg = search().headerDialog();
    WhenShown(dlg, [&] {
        // Save for the slide shown (2): the file grows to two records.
        dlg->valueBoxes[0]->setEditText(QStringLiteral("Canon"));
        dlg->valueBoxes[6]->setEditText(QStringLiteral("f8"));
        dlg->okButton->click();
        for (const char* number : {"8", ""}) { // beyond the archive: 7; empty: 35
            dlg->slideNumberEdit->setText(QString::fromUtf8(number));
            dlg->okButton->click();
        }
        dlg->deleteButton->click(); // 35 as well
        // Delete slide 4 (beyond the file): an empty record 4, the file grows.
        dlg->slideNumberEdit->setText(QStringLiteral("4"));
        dlg->deleteButton->click();
        dlg->closeButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 250, RowY(1));

    EXPECT_EQ(errors(), (std::vector<int>{7, 7, 35, 35}));
    EXPECT_EQ(arc.read("kopfdata.ddb"), HeaderRecordBytes({"Leica"}) +
                                            HeaderRecordBytes({"Canon", "", "", "", "", "", "f8"}) +
                                            std::string(120, '\0') + HeaderRecordBytes({}));
    EXPECT_TRUE(prog->sound().played().contains(QStringLiteral("click006")));
    EXPECT_TRUE(prog->sound().played().contains(QStringLiteral("loesch")));
}

TEST_F(ResultClicks, RightClickOpensTheMemoOrOnlyTheMemoDocument) {
    arc.write("memo/5.txt", "Rosen\r\n\tam Meer\r\n");
    arc.write("memo/6.doc", "document");
    arc.write("memo/6.txt", "text");
    StartWithResults();
    MemoEditor* dlg = search().memoEditor();
    QString number, text;
    QPoint pos;
    bool modified = true;
    WhenShown(dlg, [&] {
        number = dlg->slideNumberEdit->text();
        text = dlg->memoText->toPlainText();
        pos = dlg->pos();
        modified = dlg->modified();
        dlg->toolButtons[7]->click(); // leave: unchanged, so no question
    });
    main().onCanvasPress(Qt::RightButton, 400, RowY(2));
    EXPECT_EQ(number, QStringLiteral("5"));
    EXPECT_EQ(text, QStringLiteral("Rosen\n\tam Meer"));
    EXPECT_EQ(pos, main().pos() + QPoint(111, 103));
    EXPECT_FALSE(modified);
    EXPECT_TRUE(shown(ShownDialog::Confirm).empty());
    EXPECT_EQ(Summary(), kResults);
    EXPECT_TRUE(main().softButton(1)->isEnabled());

    main().onCanvasPress(Qt::RightButton, 400, RowY(3)); // slide 6 has a memo document
    EXPECT_EQ(started(), QStringList{QStringLiteral("memo/6.doc")});
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Summary(), kResults);
}

TEST_F(ResultClicks, MemoEditorSavesStepsAndAsksBeforeLosingChanges) {
    arc.write("memo/5.txt", "alt\r\n");
    arc.write("memo/6.txt", "Regen\r\n");
    StartWithResults();
    MemoEditor* dlg = search().memoEditor();
    QString afterStep, numbers;
    std::vector<int> status;
    WhenShown(dlg, [&] {
        dlg->memoText->setPlainText(QStringLiteral("\nText")); // an empty first line: 13
        dlg->toolButtons[3]->click();
        // A typed change, saved as CR LF lines in code page 1252.
        dlg->memoText->setPlainText(QString::fromUtf8("Grüße\nzweite Zeile"));
        EXPECT_TRUE(dlg->modified());
        dlg->toolButtons[3]->click();
        EXPECT_FALSE(dlg->modified());
        status.push_back(st().currentStatus);
        // Another change, then "Dia +1": the question is asked and answered yes.
        dlg->memoText->appendPlainText(QStringLiteral("dritte"));
        for (int i = 0; i < 3; ++i) { // 6, 7, then error 11 at the last slide
            dlg->toolButtons[5]->click();
            if (i == 0)
                afterStep = dlg->memoText->toPlainText();
            numbers += dlg->slideNumberEdit->text();
        }
        dlg->toolButtons[7]->click();
    });
    msg().queue(DialogAnswer::yes());
    main().onCanvasPress(Qt::RightButton, 400, RowY(2)); // slide 5

    EXPECT_EQ(errors(), (std::vector<int>{13, 11}));
    ASSERT_EQ(shown(ShownDialog::Confirm).size(), 1u);
    EXPECT_EQ(shown(ShownDialog::Confirm)[0].text,
              QString::fromUtf8("Soll das geänderte Memo\rgesichert werden ?"));
    EXPECT_EQ(arc.read("memo/5.txt"), "Gr\xFC\xDF"
                                      "e\r\nzweite Zeile\r\ndritte\r\n");
    EXPECT_EQ(afterStep, QStringLiteral("Regen"));
    EXPECT_EQ(numbers, QStringLiteral("677"));
    EXPECT_EQ(status, std::vector<int>{20});
}

TEST_F(ResultClicks, ClicksOutsideTheColumnsOrOnEmptyRowsOpenNothing) {
    StartWithResults();
    main().onCanvasPress(Qt::LeftButton, 180, RowY(1));  // between the columns
    main().onCanvasPress(Qt::RightButton, 250, RowY(1)); // right click left of 320
    main().onCanvasPress(Qt::LeftButton, 100, RowY(5));  // empty row
    EXPECT_TRUE(prog->sound().played().isEmpty());
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(Summary(), kResults);
}

} // namespace
} // namespace lumo::test
