// Long texts through the windows: a memo of 1 MB is shown in the memo editor and saved back
// byte for byte, an info text with every code page 1252 character reaches the result page.
#include "SearchGuiFixture.h"
#include "store/LongTexts.h"

#include "editing/MemoEditor.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace lumo::test {
namespace {

using LongArchiveGui = SearchGui;

TEST_F(LongArchiveGui, AMegabyteMemoIsShownAndSavedBackUnchanged) {
    std::string memo;
    for (int i = 0; memo.size() < (1u << 20); ++i)
        memo += "Zeile " + std::to_string(i) + " mit \xE4\xF6\xFC und \x80 und \x9F Text\r\n";
    WriteSevenSlides();
    arc.write("memo/3.txt", memo);
    Start();
    MemoEditor* dlg = search().memoEditor();
    qsizetype shownLines = 0;
    WhenShown(dlg, [&] {
        dlg->slideNumberEdit->setText(QStringLiteral("3"));
        shownLines = dlg->memoText->document()->blockCount();
        QTextCursor end = dlg->memoText->textCursor();
        end.movePosition(QTextCursor::End);
        end.insertText(QStringLiteral("\nNeu"));
        dlg->toolButtons[3]->click(); // save
        dlg->toolButtons[7]->click();
    });
    search().EnterMemos();
    EXPECT_GT(shownLines, 20000);
    EXPECT_EQ(arc.read("memo/3.txt"), memo + "Neu\r\n");
}

TEST_F(LongArchiveGui, EveryCharacterOfAnInfoTextReachesTheResultPage) {
    const std::vector<std::string> texts = AllCharacterTexts();
    std::vector<std::string> records;
    for (const auto& t : texts)
        records.push_back(RecordBytes({"N1"}, "A01 " + t, 1));
    WriteArchive(records, static_cast<int>(records.size()));
    Start();
    KeySearch({{"N1", "Natur"}});
    ASSERT_EQ(st().foundCount, static_cast<int32_t>(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(st().page.rows[i].text, " " + texts[i]) << i;
}

} // namespace
} // namespace lumo::test
