// Clicks on the rows of a result list open the box labels, the header data and the memo
// of the slide; the dialogs are driven through their real controls.
#include "SearchGuiFixture.h"

#include "editing/BoxLabelsDialog.h"
#include "editing/MemoEditor.h"
#include "platform/Cp1252.h"
#include "search/gui/HeaderDataDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

namespace lumo::test {
namespace {

class ResultClicks : public SearchGui {
protected:
    // Seven slides, all of box 1 and 2 listed by a search for "U1" (slides 2, 5, 6).
    void StartWithResults() {
        WriteSevenSlides();
        Start();
        KeySearch({{"U1", "Urlaub"}});
        ASSERT_EQ(st().foundCount, 3);
        msg().clearShown();
        prog->sound().clearRecord();
    }
    static int RowY(int row) { return 60 + 17 * (row - 1) + 5; }
};

TEST_F(ResultClicks, BoxNumberOpensTheBoxLabelsOfThatBox) {
    arc.write("KASTEN.INI", "[K002]\r\nT1=Sommer 98\r\nT2=Italien\r\n");
    StartWithResults();
    BoxLabelsDialog* dlg = search().boxLabelsDialog();
    QString box, magazine, theme;
    QPoint pos;
    bool buttonsDisabled = false;
    int statusWhileOpen = 0;
    WhenShown(dlg, [&] {
        box = dlg->boxEdit->text();
        magazine = dlg->magazineEdit->text();
        theme = dlg->themeEdit->text();
        pos = dlg->pos();
        buttonsDisabled = !main().softButton(1)->isEnabled();
        statusWhileOpen = st().currentStatus;
        dlg->cancelButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 100, RowY(2)); // slide 5 in box 2

    EXPECT_EQ(box, QStringLiteral("2"));
    EXPECT_EQ(magazine, QStringLiteral("Sommer 98"));
    EXPECT_EQ(theme, QStringLiteral("Italien"));
    EXPECT_EQ(pos, main().pos() + QPoint(119, 146));
    EXPECT_TRUE(buttonsDisabled);
    EXPECT_EQ(statusWhileOpen, 20);
    EXPECT_EQ(st().boxNumber, 2);
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_TRUE(main().softButton(1)->isEnabled());
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("TEXT-EDITOR"));
    EXPECT_EQ(prog->sound().played().value(0), QStringLiteral("hotclik"));
}

TEST_F(ResultClicks, BoxLabelsAreValidatedAndSavedIntoTheirSection) {
    StartWithResults();
    BoxLabelsDialog* dlg = search().boxLabelsDialog();
    std::vector<int> errorsSeen;
    WhenShown(dlg, [&] {
        for (const char* bad : {"1a", "256", "000", "-5"}) {
            dlg->boxEdit->setText(QString::fromUtf8(bad));
            dlg->saveButton->click();
        }
        EXPECT_FALSE(arc.exists("KASTEN.INI"));
        dlg->boxEdit->setText(QStringLiteral("7"));
        dlg->magazineEdit->setText(QStringLiteral("Urlaub 1997"));
        dlg->themeEdit->setText(QString::fromUtf8("Toskana Süd"));
        dlg->saveButton->click();
        EXPECT_TRUE(dlg->isVisible()); // the dialog stays open for the next box
        dlg->cancelButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 100, RowY(1));

    EXPECT_EQ(errors(), (std::vector<int>{29, 5, 5, 5}));
    EXPECT_NE(arc.read("KASTEN.INI")
                  .find("[K007]\r\nT1=Urlaub 1997\r\nT2=Toskana S\xFC"
                        "d\r\n"),
              std::string::npos);
    EXPECT_EQ(st().boxNumber, 7);
    EXPECT_TRUE(prog->sound().played().contains(QStringLiteral("click006")));
}

TEST_F(ResultClicks, SlideNumberColumnOpensTheHeaderDataInEntryMode) {
    arc.write("kopfdata.ddb",
              HeaderRecord({}) + HeaderRecord({"Nikon F50", "", "", "", "", "", "", "12.08.98"}));
    StartWithResults();
    HeaderDataDialog* dlg = search().headerDialog();
    QString prompt, slide, okCaption, camera, date;
    bool slideShown = false;
    QPoint pos;
    WhenShown(dlg, [&] {
        prompt = dlg->promptLabel->text();
        slide = dlg->slideNumberEdit->text();
        slideShown = dlg->slideNumberEdit->isVisible();
        okCaption = dlg->okButton->text();
        camera = dlg->valueBoxes[0]->currentText();
        date = dlg->valueBoxes[7]->currentText();
        pos = dlg->pos();
        dlg->closeButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 250, RowY(1)); // slide 2

    EXPECT_EQ(prompt, QStringLiteral("Zu dem ausgewählten Dia wurden\nfolgende Kopfdaten bereits "
                                     "erfasst"));
    EXPECT_EQ(slide, QStringLiteral("2"));
    EXPECT_TRUE(slideShown);
    EXPECT_EQ(okCaption, QStringLiteral("&Speichern"));
    EXPECT_EQ(camera, QStringLiteral("Nikon F50"));
    EXPECT_EQ(date, QStringLiteral("12.08.98"));
    EXPECT_EQ(pos, main().pos() + QPoint(58, 93));
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_TRUE(main().softButton(2)->isEnabled());
    // Leaving without saving writes nothing.
    EXPECT_EQ(arc.read("kopfdata.ddb"),
              HeaderRecord({}) + HeaderRecord({"Nikon F50", "", "", "", "", "", "", "12.08.98"}));
}

TEST_F(ResultClicks, HeaderDataEntrySavesChecksAndDeletes) {
    arc.write("kopfdata.ddb", HeaderRecord({"Leica"}));
    StartWithResults();
    HeaderDataDialog* dlg = search().headerDialog();
    WhenShown(dlg, [&] {
        // Save for the slide shown (2): the file grows to two records.
        dlg->valueBoxes[0]->setEditText(QStringLiteral("Canon"));
        dlg->valueBoxes[6]->setEditText(QStringLiteral("f8"));
        dlg->okButton->click();
        // A number beyond the archive: error 7, nothing loaded or written.
        dlg->slideNumberEdit->setText(QStringLiteral("8"));
        dlg->okButton->click();
        dlg->slideNumberEdit->clear();
        dlg->okButton->click();     // error 35
        dlg->deleteButton->click(); // error 35 as well
        // Delete slide 4 (beyond the file): an empty record 4, the file grows.
        dlg->slideNumberEdit->setText(QStringLiteral("4"));
        dlg->deleteButton->click();
        dlg->closeButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 250, RowY(1));

    EXPECT_EQ(errors(), (std::vector<int>{7, 7, 35, 35}));
    EXPECT_EQ(arc.read("kopfdata.ddb"), HeaderRecord({"Leica"}) +
                                            HeaderRecord({"Canon", "", "", "", "", "", "f8"}) +
                                            std::string(120, '\0') + HeaderRecord({}));
    EXPECT_TRUE(prog->sound().played().contains(QStringLiteral("click006")));
    EXPECT_TRUE(prog->sound().played().contains(QStringLiteral("loesch")));
}

TEST_F(ResultClicks, RightClickOpensTheMemoOfTheSlide) {
    arc.write("memo/5.txt", "Rosen\r\n\tam Meer\r\n");
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
    EXPECT_EQ(st().currentStatus, 13);
    EXPECT_TRUE(main().softButton(1)->isEnabled());
    EXPECT_EQ(main().softButton(1)->text(), QStringLiteral("TEXT-EDITOR"));
}

TEST_F(ResultClicks, RightClickOnASlideWithAMemoDocumentOpensTheDocumentOnly) {
    arc.write("memo/6.doc", "document");
    arc.write("memo/6.txt", "text");
    StartWithResults();
    main().onCanvasPress(Qt::RightButton, 400, RowY(3)); // slide 6
    EXPECT_EQ(prog->launcher().started(), QStringList{QStringLiteral("memo/6.doc")});
    EXPECT_FALSE(search().memoEditor()->isVisible());
    EXPECT_EQ(st().currentStatus, 13); // untouched by the document path
}

TEST_F(ResultClicks, MemoEditorSavesStepsAndAsksBeforeLosingChanges) {
    arc.write("memo/5.txt", "alt\r\n");
    arc.write("memo/6.txt", "Regen\r\n");
    StartWithResults();
    MemoEditor* dlg = search().memoEditor();
    QString afterStep;
    std::vector<int> status;
    WhenShown(dlg, [&] {
        // An empty first line is never saved.
        dlg->memoText->setPlainText(QStringLiteral("\nText"));
        dlg->toolButtons[3]->click();
        // A typed change, saved as CR LF lines in code page 1252.
        dlg->memoText->setPlainText(QString::fromUtf8("Grüße\nzweite Zeile"));
        EXPECT_TRUE(dlg->modified());
        dlg->toolButtons[3]->click();
        EXPECT_FALSE(dlg->modified());
        status.push_back(st().currentStatus);
        // Another change, then "Dia +1": the question is asked and answered yes.
        dlg->memoText->appendPlainText(QStringLiteral("dritte"));
        dlg->toolButtons[5]->click();
        afterStep = dlg->memoText->toPlainText();
        EXPECT_EQ(dlg->slideNumberEdit->text(), QStringLiteral("6"));
        // Slide 7 is the last one: a further "Dia +1" gives error 11.
        dlg->toolButtons[5]->click();
        EXPECT_EQ(dlg->slideNumberEdit->text(), QStringLiteral("7"));
        dlg->toolButtons[5]->click();
        EXPECT_EQ(dlg->slideNumberEdit->text(), QStringLiteral("7"));
        dlg->toolButtons[7]->click();
    });
    msg().queue(DialogAnswer::yes());
    main().onCanvasPress(Qt::RightButton, 400, RowY(2)); // slide 5

    EXPECT_EQ(errors(), (std::vector<int>{13, 11}));
    const auto questions = shown(ShownDialog::Confirm);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, QStringLiteral("Soll das geänderte Memo\rgesichert werden ?"));
    EXPECT_EQ(arc.read("memo/5.txt"), "Gr\xFC\xDF"
                                      "e\r\nzweite Zeile\r\ndritte\r\n");
    EXPECT_EQ(afterStep, QStringLiteral("Regen"));
    EXPECT_EQ(status, std::vector<int>{20});
}

TEST_F(ResultClicks, MemoEditorDeletesAfterTheQuestionAndCopiesIntoMemoTxt) {
    arc.write("memo/5.txt", "Rosen\r\n");
    StartWithResults();
    MemoEditor* dlg = search().memoEditor();
    WhenShown(dlg, [&] {
        dlg->toolButtons[9]->click(); // new memo.txt with this memo
        dlg->toolButtons[2]->click(); // delete: answered "Nein"
        EXPECT_TRUE(arc.exists("memo/5.txt"));
        dlg->toolButtons[2]->click(); // delete: answered "Ja"
        EXPECT_TRUE(dlg->memoText->toPlainText().isEmpty());
        dlg->toolButtons[8]->click(); // append without a memo file: error 13
        dlg->toolButtons[7]->click();
    });
    msg().queue(DialogAnswer::no());
    msg().queue(DialogAnswer::yes());
    main().onCanvasPress(Qt::RightButton, 400, RowY(2));

    EXPECT_FALSE(arc.exists("memo/5.txt"));
    EXPECT_EQ(errors(), std::vector<int>{13});
    const auto questions = shown(ShownDialog::Confirm);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].text,
              QString::fromUtf8("Möchten Sie das Memo\rwirklich komplett löschen ?"));
    const std::string memo = arc.read("memo.txt");
    EXPECT_EQ(memo.substr(0, Head5().size()), Head5());
    EXPECT_NE(memo.find(" \r\n MEMO zu DIA Nr.5\r\n \r\n Rosen\r\n \r\n" + Divider()),
              std::string::npos);
}

TEST_F(ResultClicks, MemoClipboardButtonsCopyAndInsert) {
    StartWithResults();
    MemoEditor* dlg = search().memoEditor();
    WhenShown(dlg, [&] {
        dlg->memoText->setPlainText(QStringLiteral("eins zwei"));
        dlg->memoText->selectAll();
        dlg->toolButtons[0]->click();
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("eins zwei"));
        QApplication::clipboard()->setText(QStringLiteral("drei"));
        QTextCursor c = dlg->memoText->textCursor();
        c.movePosition(QTextCursor::End);
        dlg->memoText->setTextCursor(c);
        dlg->toolButtons[1]->click();
        EXPECT_EQ(dlg->memoText->toPlainText(), QStringLiteral("eins zweidrei"));
        // Text that code page 1252 cannot hold is refused, not mangled.
        QApplication::clipboard()->setText(QString::fromUtf8("Zażółć\r\nx"));
        dlg->toolButtons[1]->click();
        EXPECT_EQ(dlg->memoText->toPlainText(), QStringLiteral("eins zweidrei"));
        QApplication::clipboard()->setText(QString::fromUtf8("\r\nGrüße"));
        dlg->toolButtons[1]->click();
        EXPECT_EQ(dlg->memoText->toPlainText(), QString::fromUtf8("eins zweidrei\nGrüße"));
        dlg->toolButtons[7]->click(); // changed: the question, answered "Nein"
    });
    msg().queue(DialogAnswer::no());
    main().onCanvasPress(Qt::RightButton, 400, RowY(1));
    EXPECT_EQ(shown(ShownDialog::Confirm).size(), 1u);
    EXPECT_FALSE(arc.exists("memo/2.txt"));
}

TEST_F(ResultClicks, ClicksOutsideTheColumnsOrOnEmptyRowsOpenNothing) {
    StartWithResults();
    main().onCanvasPress(Qt::LeftButton, 180, RowY(1));  // between the columns
    main().onCanvasPress(Qt::RightButton, 250, RowY(1)); // right click left of 320
    main().onCanvasPress(Qt::LeftButton, 100, RowY(5));  // empty row
    EXPECT_TRUE(prog->sound().played().isEmpty());
    EXPECT_TRUE(msg().shown().empty());
    EXPECT_EQ(st().currentStatus, 13);
}

} // namespace
} // namespace lumo::test

namespace lumo::test {
namespace {

class MoreClicks : public SearchGui {};

TEST_F(MoreClicks, ALeftoverConfirmationDoesNotStoreAbandonedHeaderData) {
    WriteSevenSlides();
    arc.write("kopfdata.ddb", HeaderRecord({"Leica"}) + HeaderRecord({"Canon"}));
    Start();
    KeySearch({{"U1", "Urlaub"}});
    ASSERT_EQ(st().foundCount, 3);
    st().searchConfirmed = true; // left over from an earlier prompt
    HeaderDataDialog* dlg = search().headerDialog();
    WhenShown(dlg, [dlg] {
        dlg->valueBoxes[0]->setEditText(QStringLiteral("verworfen"));
        dlg->closeButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 250, 65); // slide 2
    EXPECT_EQ(arc.read("kopfdata.ddb"), HeaderRecord({"Leica"}) + HeaderRecord({"Canon"}));
    EXPECT_FALSE(st().searchConfirmed);
}

TEST_F(MoreClicks, BoxLabelsFromTheMenuStartWithThePresets) {
    WriteSevenSlides();
    arc.write("KASTEN.INI", "[K001]\r\nT1=Gespeichert\r\nT2=Nicht gezeigt\r\n");
    Start();
    BoxLabelsDialog* dlg = search().boxLabelsDialog();
    QString box, magazine, theme, title;
    bool disabled = false;
    WhenShown(dlg, [&] {
        box = dlg->boxEdit->text();
        magazine = dlg->magazineEdit->text();
        theme = dlg->themeEdit->text();
        title = main().windowTitle();
        disabled = !main().softButton(5)->isEnabled();
        dlg->cancelButton->click();
    });
    search().EnterBoxLabels();
    EXPECT_EQ(box, QStringLiteral("000"));
    EXPECT_EQ(magazine, QStringLiteral("MagazinText"));
    EXPECT_EQ(theme, QStringLiteral("ThematikText"));
    EXPECT_EQ(title, QStringLiteral("Lumoretta 3.03 - Kastenbezeichnungen eingeben..."));
    EXPECT_TRUE(disabled);
    EXPECT_EQ(st().currentStatus, 0); // the status shown before comes back
    EXPECT_TRUE(main().softButton(5)->isEnabled());
}

TEST_F(MoreClicks, MemoNumberFieldLoadsValidSlidesAndRefusesOthers) {
    WriteSevenSlides();
    arc.write("memo/3.txt", "drei\r\n");
    arc.write("memo/1.txt", "eins\r\n");
    Start();
    MemoEditor* dlg = search().memoEditor();
    WhenShown(dlg, [&] {
        EXPECT_EQ(dlg->memoText->toPlainText(), QStringLiteral("eins"));
        dlg->slideNumberEdit->setText(
            QStringLiteral("8")); // beyond the archive: error 7, text kept
        EXPECT_EQ(dlg->memoText->toPlainText(), QStringLiteral("eins"));
        dlg->slideNumberEdit->setText(QStringLiteral("03"));
        EXPECT_EQ(dlg->slideNumberEdit->text(), QStringLiteral("3"));
        EXPECT_EQ(dlg->memoText->toPlainText(), QStringLiteral("drei"));
        EXPECT_FALSE(dlg->modified());
        dlg->toolButtons[4]->click(); // Dia -1: slide 2 has no memo
        EXPECT_EQ(dlg->slideNumberEdit->text(), QStringLiteral("2"));
        EXPECT_TRUE(dlg->memoText->toPlainText().isEmpty());
        dlg->toolButtons[4]->click();
        dlg->toolButtons[4]->click(); // at slide 1: error 11
        EXPECT_EQ(dlg->slideNumberEdit->text(), QStringLiteral("1"));
        dlg->toolButtons[7]->click();
    });
    search().EnterMemos();
    EXPECT_EQ(errors(), (std::vector<int>{7, 11}));
    EXPECT_TRUE(shown(ShownDialog::Confirm).empty());
}

} // namespace
} // namespace lumo::test
