// Clicks on result rows open the box labels, the header data and the memo of the slide; the
// windows that write files keep the file and go on under faults.
#include "SearchGuiFixture.h"
#include "store/FaultInjection.h"

#include "editing/BoxLabelsDialog.h"
#include "editing/MemoEditor.h"
#include "search/gui/HeaderDataDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace lumo::test {
namespace {

using ResultClicks = SearchGui;
const std::string kResults =
    "mode 211, status 13, found 3, panel 3, TEXT-EDITOR / NEUE SUCHE, rows 2 5 6";

TEST_F(ResultClicks, BoxNumberOpensTheBoxLabelsOfThatBox) {
    archive.write("KASTEN.INI", "[K002]\r\nT1=Sommer 98\r\nT2=Italien\r\n");
    StartWithResults();
    BoxLabelsDialog* dlg = search().boxLabelsDialog();
    QString shownLabels;
    QPoint pos;
    bool buttonsDisabled = false;
    new WhenShown(dlg, [&] {
        shownLabels =
            dlg->boxEdit->text() + u'|' + dlg->magazineEdit->text() + u'|' + dlg->themeEdit->text();
        pos = dlg->pos();
        buttonsDisabled = !main().softButton(1)->isEnabled();
        dlg->cancelButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 100, RowY(2)); // slide 5 in box 2
    EXPECT_EQ(shownLabels, QStringLiteral("2|Sommer 98|Italien"));
    EXPECT_EQ(pos, main().pos() + QPoint(119, 146));
    EXPECT_TRUE(buttonsDisabled);
    EXPECT_EQ(Summary(), kResults);
}

// A confirmation left over from an earlier prompt does not store the values abandoned.
TEST_F(ResultClicks, SlideNumberOpensTheHeaderDataAndLeavingWritesNothing) {
    const std::string headers = HeaderRecordBytes({}) + HeaderRecordBytes({"Nikon F50", "", "", "",
                                                                           "", "", "", "12.08.98"});
    archive.write("kopfdata.ddb", headers);
    StartWithResults();
    state().searchConfirmed = true;
    HeaderDataDialog* dlg = search().headerDialog();
    QString prompt, fields;
    QPoint pos;
    new WhenShown(dlg, [&] {
        prompt = dlg->promptLabel->text();
        fields = QString::number(dlg->slideNumberEdit->isVisible()) + u'|' +
                 dlg->slideNumberEdit->text() + u'|' + dlg->okButton->text() + u'|' +
                 dlg->valueBoxes[0]->currentText() + u'|' + dlg->valueBoxes[7]->currentText();
        pos = dlg->pos();
        dlg->valueBoxes[0]->setEditText(QStringLiteral("verworfen"));
        dlg->closeButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 250, RowY(1)); // slide 2
    EXPECT_EQ(prompt, QString::fromUtf8("Zu dem ausgewählten Dia wurden\nfolgende Kopfdaten "
                                        "bereits erfasst"));
    EXPECT_EQ(fields, QStringLiteral("1|2|&Speichern|Nikon F50|12.08.98"));
    EXPECT_EQ(pos, main().pos() + QPoint(58, 93));
    EXPECT_EQ(Summary(), kResults);
    EXPECT_EQ(archive.read("kopfdata.ddb"), headers);
    EXPECT_FALSE(state().searchConfirmed);
}

TEST_F(ResultClicks, HeaderDataEntrySavesChecksAndDeletes) {
    archive.write("kopfdata.ddb", HeaderRecordBytes({"Leica"}));
    StartWithResults();
    HeaderDataDialog* dlg = search().headerDialog();
    new WhenShown(dlg, [&] {
        dlg->valueBoxes[0]->setEditText(QStringLiteral("Canon"));
        dlg->valueBoxes[6]->setEditText(QStringLiteral("f8"));
        dlg->okButton->click();
        for (const char* number : {"8", ""}) { // after saving slide 2: beyond, 7; empty, 35
            dlg->slideNumberEdit->setText(QString::fromUtf8(number));
            dlg->okButton->click();
        }
        dlg->deleteButton->click(); // 35 as well
        dlg->slideNumberEdit->setText(QStringLiteral("4"));
        dlg->deleteButton->click(); // beyond the file: an empty record 4
        dlg->closeButton->click();
    });
    main().onCanvasPress(Qt::LeftButton, 250, RowY(1));
    EXPECT_EQ(errors(), (std::vector<int>{7, 7, 35, 35}));
    EXPECT_EQ(archive.read("kopfdata.ddb"),
              HeaderRecordBytes({"Leica"}) +
                  HeaderRecordBytes({"Canon", "", "", "", "", "", "f8"}) + std::string(120, '\0') +
                  HeaderRecordBytes({}));
}

TEST_F(ResultClicks, RightClickOpensTheMemoOrOnlyTheMemoDocument) {
    archive.write("memo/5.txt", "Rosen\r\n\tam Meer\r\n");
    archive.write("memo/6.doc", "document");
    archive.write("memo/6.txt", "text");
    StartWithResults();
    MemoEditor* dlg = search().memoEditor();
    QString number, text;
    QPoint pos;
    new WhenShown(dlg, [&] {
        number = dlg->slideNumberEdit->text();
        text = dlg->memoText->toPlainText();
        pos = dlg->pos();
        dlg->toolButtons[7]->click(); // leave: unchanged, so no question
    });
    main().onCanvasPress(Qt::RightButton, 400, RowY(2));
    EXPECT_EQ(number, QStringLiteral("5"));
    EXPECT_EQ(text, QStringLiteral("Rosen\n\tam Meer"));
    EXPECT_EQ(pos, main().pos() + QPoint(111, 103));
    EXPECT_TRUE(shownOf(ShownDialog::Confirm).empty());
    main().onCanvasPress(Qt::RightButton, 400, RowY(3)); // slide 6 has a memo document
    EXPECT_EQ(started(), QStringList{QStringLiteral("memo/6.doc")});
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Summary(), kResults);
}

TEST_F(ResultClicks, MemoEditorSavesStepsAndAsksBeforeLosingChanges) {
    archive.write("memo/5.txt", "alt\r\n");
    archive.write("memo/6.txt", "Regen\r\n");
    StartWithResults();
    MemoEditor* dlg = search().memoEditor();
    QString afterStep, numbers;
    new WhenShown(dlg, [&] {
        dlg->memoText->setPlainText(QStringLiteral("\nText")); // an empty first line: 13
        dlg->toolButtons[3]->click();
        // A typed change, saved as CR LF lines in code page 1252.
        dlg->memoText->setPlainText(QString::fromUtf8("Grüße\nzweite Zeile"));
        dlg->toolButtons[3]->click();
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
    messages().queue(DialogAnswer::yes());
    main().onCanvasPress(Qt::RightButton, 400, RowY(2)); // slide 5
    EXPECT_EQ(errors(), (std::vector<int>{13, 11}));
    EXPECT_EQ(texts(ShownDialog::Confirm),
              QStringList{QString::fromUtf8("Soll das geänderte Memo\rgesichert werden ?")});
    EXPECT_EQ(archive.read("memo/5.txt"), "Gr\xFC\xDF"
                                          "e\r\nzweite Zeile\r\ndritte\r\n");
    EXPECT_EQ(afterStep, QStringLiteral("Regen"));
    EXPECT_EQ(numbers, QStringLiteral("677"));
}

// A memo of 1 MB is shown whole in the editor and saved back byte for byte.
TEST_F(ResultClicks, AMegabyteMemoIsShownAndSavedBackUnchanged) {
    std::string memo;
    for (int i = 0; memo.size() < (1u << 20); ++i)
        memo += "Zeile " + std::to_string(i) + " mit \xE4\xF6\xFC und \x80 und \x9F Text\r\n";
    WriteSevenSlides();
    archive.write("memo/3.txt", memo);
    Start();
    MemoEditor* dlg = search().memoEditor();
    qsizetype shownLines = 0;
    new WhenShown(dlg, [&] {
        dlg->slideNumberEdit->setText(QStringLiteral("3"));
        shownLines = dlg->memoText->document()->blockCount();
        dlg->memoText->moveCursor(QTextCursor::End);
        dlg->memoText->insertPlainText(QStringLiteral("\nNeu"));
        dlg->toolButtons[3]->click(); // save
        dlg->toolButtons[7]->click();
    });
    search().EnterMemos();
    EXPECT_GT(shownLines, 20000);
    EXPECT_EQ(archive.read("memo/3.txt"), memo + "Neu\r\n");
}

// Under write faults: the file, the answer to the question, the click on row 2, the work done.
struct WindowWrite {
    const char* name;
    std::string target;
    std::optional<DialogAnswer> answer;
    Qt::MouseButton button;
    std::function<void(SearchCommands&)> window;
};

const std::vector<WindowWrite> kWrites = {
    {"MemoSaved", "memo/5.txt", DialogAnswer::no(), Qt::RightButton,
     [](SearchCommands& s) {
         MemoEditor* dlg = s.memoEditor();
         new WhenShown(dlg, [dlg] {
             dlg->memoText->setPlainText(QStringLiteral("neuer Text"));
             dlg->toolButtons[3]->click(); // save
             dlg->toolButtons[7]->click(); // close, "Nein" to the unsaved question
         });
     }},
    {"MemoDeleted", "memo/5.txt", DialogAnswer::yes(), Qt::RightButton,
     [](SearchCommands& s) {
         MemoEditor* dlg = s.memoEditor();
         new WhenShown(dlg, [dlg] {
             dlg->toolButtons[2]->click(); // delete, "Ja"
             dlg->toolButtons[7]->click();
         });
     }},
    {"BoxLabelSaved", "KASTEN.INI", std::nullopt, Qt::LeftButton,
     [](SearchCommands& s) {
         BoxLabelsDialog* dlg = s.boxLabelsDialog();
         new WhenShown(dlg, [dlg] {
             dlg->magazineEdit->setText(QStringLiteral("Neues Magazin"));
             dlg->saveButton->click();
             dlg->cancelButton->click();
         });
     }},
};

class WindowFaultTest : public SearchGui,
                        public ::testing::WithParamInterface<std::tuple<size_t, Fault>> {};

TEST_P(WindowFaultTest, ShowsTheErrorKeepsTheFileAndGoesOn) {
    const auto [index, fault] = GetParam();
    const WindowWrite& write = kWrites[index];
    archive.write("memo/5.txt", "Rosen\r\n");
    archive.write("KASTEN.INI", "[K002]\r\nT1=Sommer 98\r\nT2=Italien\r\n");
    StartWithResults();
    if (fault == Fault::TargetDirectory)
        ReplaceByDirectory(archive.path(write.target));
    const Snapshot before = TakeSnapshot(archive.dir());
    {
        std::optional<WriteProtectedArchive> guard;
        if (fault == Fault::WriteProtected && !guard.emplace(archive.dir()).ok())
            GTEST_SKIP() << "root's write override cannot be lowered here";
        if (write.answer)
            messages().queue(*write.answer);
        write.window(search());
        main().onCanvasPress(write.button, write.button == Qt::LeftButton ? 100 : 400, RowY(2));
    }
    size_t errorsShown = 0;
    for (auto kind : {ShownDialog::Error, ShownDialog::ErrorBox, ShownDialog::IoError})
        errorsShown += shownOf(kind).size();
    EXPECT_GE(errorsShown, 1u);
    EXPECT_EQ(TakeSnapshot(archive.dir()).at(write.target), before.at(write.target));
    KeySearch({{"U1", "Urlaub"}});
    EXPECT_EQ(state().foundCount, 3);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowFaultTest,
                         ::testing::Combine(::testing::Range<size_t>(0, kWrites.size()),
                                            ::testing::Values(Fault::WriteProtected,
                                                              Fault::TargetDirectory)),
                         [](const auto& info) {
                             return std::string(kWrites[std::get<0>(info.param)].name) + "_" +
                                    FaultName(std::get<1>(info.param));
                         });

} // namespace
} // namespace lumo::test
