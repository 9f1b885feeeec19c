// The memo editor: its tool buttons, and what happens to the text when a save, a delete or
// a paste does not go through.
#include "RecordsFixture.h"

#include "editing/MemoEditor.h"
#include "search/Reports.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

namespace lumo::test {
namespace {

class Memo : public RecordsTest {
protected:
    // "&Memos eingeben..." with the answers queued and `act` run inside the editor.
    void Edit(std::vector<DialogAnswer> answers, std::function<void(MemoEditor&)> act) {
        for (auto& a : answers)
            msg().queue(a);
        WhenShown w(search().memoEditor(), [this, &act] { act(*search().memoEditor()); });
        search().EnterMemos();
    }
    const DialogAnswer yes = DialogAnswer::yes(), no = DialogAnswer::no();
};

TEST_F(Memo, ToolButtonsShowPicturesNamedByTheirHints) {
    OpenSlides(1);
    for (QToolButton* b : search().memoEditor()->toolButtons) {
        EXPECT_TRUE(!b->icon().isNull() && b->text().isEmpty()) << b->toolTip().toStdString();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name), b->toolTip());
    }
    EXPECT_EQ(search().memoEditor()->toolButtons[8]->toolTip(),
              QString::fromUtf8("Memo an die Datei memo.txt anhängen"));
}

TEST_F(Memo, TheEditorStaysWithItsTextWhenTheSaveDidNotHappen) {
    OpenSlides(3);
    arc.write("memo", "a file where the memo directory belongs: every write fails");
    QString number, text;
    Edit({yes, yes, yes, no}, [&](MemoEditor& d) {
        d.memoText->setPlainText(QStringLiteral("Notiz"));
        d.toolButtons[5]->click(); // "Dia +1", "Ja": the write fails
        number = d.slideNumberEdit->text();
        d.toolButtons[7]->click();                       // leave, "Ja": fails again
        d.slideNumberEdit->setText(QStringLiteral("9")); // error 7, the text stays
        d.toolButtons[7]->click();                       // "Ja": error 7
        text = d.memoText->toPlainText();
        d.toolButtons[7]->click(); // "Nein"
    });
    EXPECT_EQ(number + text, QStringLiteral("1Notiz"));
    EXPECT_EQ(Errors(), (std::vector<int>{7, 7}));
    EXPECT_EQ(Texts(ShownDialog::IoError).size(), 2u);
    EXPECT_EQ(Texts(ShownDialog::Confirm).size(), 4u);
    EXPECT_EQ(StatusCount(8), 0);
}

TEST_F(Memo, DeletingReportsStatus9OnlyWhenNoFileStays) {
    OpenSlides(3);
    arc.write("memo/2.txt/blocker", ""); // a directory in the memo's place
    QString text;
    Edit({yes, yes, no}, [&](MemoEditor& d) {
        d.slideNumberEdit->setText(QStringLiteral("3")); // no memo file: deleted all the same
        d.memoText->setPlainText(QStringLiteral("neu"));
        d.toolButtons[2]->click();
        EXPECT_TRUE(d.memoText->toPlainText().isEmpty());
        d.slideNumberEdit->setText(QStringLiteral("2"));
        d.memoText->setPlainText(QStringLiteral("bleibt"));
        d.toolButtons[2]->click();
        text = d.memoText->toPlainText();
        d.toolButtons[7]->click(); // "Nein"
    });
    EXPECT_EQ(text, QStringLiteral("bleibt"));
    EXPECT_EQ(Texts(ShownDialog::IoError).size(), 1u);
    EXPECT_EQ(StatusCount(9), 1);
}

TEST_F(Memo, ANumberTypedStartsUnchangedAndARefusedPasteShowsNoStatus) {
    OpenSlides(3);
    arc.write("memo/2.txt", "zwei\r\n");
    Edit({yes}, [&](MemoEditor& d) {
        d.memoText->setPlainText(QStringLiteral("verworfen"));
        d.slideNumberEdit->setText(QStringLiteral("2"));
        EXPECT_EQ(d.memoText->toPlainText(), QStringLiteral("zwei"));
        QApplication::clipboard()->setText(QString::fromUtf8("Zażółć"));
        d.toolButtons[1]->click();
        d.toolButtons[7]->click(); // unchanged: no question
    });
    EXPECT_TRUE(Texts(ShownDialog::Confirm).empty());
    EXPECT_EQ(StatusCount(7), 0);
    EXPECT_EQ(arc.read("memo/2.txt"), "zwei\r\n");
}

TEST_F(Memo, NewAndAppendedMemoListMatchTheReportLayout) {
    OpenSlides(12);
    search().setClock([] { return ReportStamp{"05.12.98", "14:30:00"}; });
    arc.write("memo/3.txt", "Erste Zeile\r\nZweite Zeile mit Umlaut \xe4\r\n");
    arc.write("memo/12.txt", "Nur eine Zeile");
    Edit({}, [&](MemoEditor& d) {
        d.slideNumberEdit->setText(QStringLiteral("3"));
        d.toolButtons[9]->click(); // memo.txt anew
        d.slideNumberEdit->setText(QStringLiteral("12"));
        d.toolButtons[8]->click(); // appended
        d.toolButtons[7]->click();
    });
    EXPECT_EQ(arc.read("memo.txt"),
              arc.read(std::string(LUMO_TEST_DATA) + "/reports/memo-two/expected-memo.txt"));
}

} // namespace
} // namespace lumo::test
