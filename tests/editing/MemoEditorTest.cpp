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
    MemoEditor* editor() { return search().memoEditor(); }
    // Menu "&Memos eingeben..." with `act` run inside the editor.
    void Edit(std::function<void(MemoEditor&)> act) {
        WhenShown w(editor(), [this, &act] { act(*editor()); });
        search().EnterMemos();
    }
    bool StatusShown(int n) {
        return std::count(log->texts.begin(), log->texts.end(), msg().StatusText(n)) > 0;
    }
    void Log() {
        log = std::make_unique<StatusLog>(main());
        msg().setScreen(log.get());
    }
    void TearDown() override { msg().setScreen(&main()); }
    std::unique_ptr<StatusLog> log;
};

TEST_F(Memo, ToolButtonsShowPicturesNamedByTheirHints) {
    OpenSlides(1);
    const char* hints[] = {"markierten Text ins Clipboard kopieren",
                           "Text vom Clipboard einfügen",
                           "Memo löschen",
                           "Memo abspeichern",
                           "Dia -1",
                           "Dia +1",
                           "Hilfe zum Memo anzeigen",
                           "Memo verlassen",
                           "Memo an die Datei memo.txt anhängen",
                           "Memo in der Datei memo.txt neu erstellen"};
    for (int i = 0; i < 10; ++i) {
        QToolButton* b = editor()->toolButtons[static_cast<size_t>(i)];
        EXPECT_FALSE(b->icon().isNull()) << i;
        EXPECT_TRUE(b->text().isEmpty()) << i;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(hints[i]));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name),
                  QString::fromUtf8(hints[i]));
    }
}

TEST_F(Memo, TheEditorStaysWithItsTextWhenTheSaveDidNotHappen) {
    OpenSlides(3);
    arc.write("memo", "a file where the memo directory belongs: every write fails");
    Log();
    std::vector<QString> numbers;
    for (auto a :
         {DialogAnswer::yes(), DialogAnswer::yes(), DialogAnswer::yes(), DialogAnswer::no()})
        msg().queue(a);
    Edit([&](MemoEditor& d) {
        d.memoText->setPlainText(QStringLiteral("Notiz"));
        d.toolButtons[5]->click(); // "Dia +1", "Ja": the write fails
        numbers.push_back(d.slideNumberEdit->text());
        d.toolButtons[7]->click();                       // leave, "Ja": fails again
        d.slideNumberEdit->setText(QStringLiteral("9")); // error 7, the text stays
        d.toolButtons[7]->click();                       // "Ja": error 7
        numbers.push_back(d.memoText->toPlainText());
        d.toolButtons[7]->click(); // "Nein"
    });
    EXPECT_EQ(numbers, (std::vector<QString>{QStringLiteral("1"), QStringLiteral("Notiz")}));
    EXPECT_EQ(Errors(), (std::vector<int>{7, 7}));
    EXPECT_EQ(Texts(ShownDialog::IoError).size(), 2u);
    EXPECT_EQ(Texts(ShownDialog::Confirm).size(), 4u);
    EXPECT_FALSE(StatusShown(8));
}

TEST_F(Memo, DeletingReportsStatus9OnlyWhenNoFileStays) {
    OpenSlides(3);
    arc.write("memo/2.txt/blocker", ""); // a directory in the memo's place
    Log();
    QString text;
    for (auto a : {DialogAnswer::yes(), DialogAnswer::yes(), DialogAnswer::no()})
        msg().queue(a);
    Edit([&](MemoEditor& d) {
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
    EXPECT_EQ(std::count(log->texts.begin(), log->texts.end(), msg().StatusText(9)), 1);
}

TEST_F(Memo, ANumberTypedStartsUnchangedAndARefusedPasteShowsNoStatus) {
    OpenSlides(3);
    arc.write("memo/2.txt", "zwei\r\n");
    Log();
    msg().queue(DialogAnswer::yes());
    Edit([&](MemoEditor& d) {
        d.memoText->setPlainText(QStringLiteral("verworfen"));
        d.slideNumberEdit->setText(QStringLiteral("2"));
        EXPECT_EQ(d.memoText->toPlainText(), QStringLiteral("zwei"));
        QApplication::clipboard()->setText(QString::fromUtf8("Zażółć"));
        d.toolButtons[1]->click();
        d.toolButtons[7]->click(); // unchanged: no question
    });
    EXPECT_TRUE(Texts(ShownDialog::Confirm).empty());
    EXPECT_FALSE(StatusShown(7));
    EXPECT_EQ(arc.read("memo/2.txt"), "zwei\r\n");
}

TEST_F(Memo, NewAndAppendedMemoListMatchTheReportLayout) {
    OpenSlides(12);
    search().setClock([] { return ReportStamp{"05.12.98", "14:30:00"}; });
    arc.write("memo/3.txt", "Erste Zeile\r\nZweite Zeile mit Umlaut \xe4\r\n");
    arc.write("memo/12.txt", "Nur eine Zeile");
    Edit([&](MemoEditor& d) {
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
