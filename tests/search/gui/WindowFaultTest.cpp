// The windows that write archive files, under faults: each shows its error, the file stays
// as it was, and the program goes on (a new search works).
#include "SearchGuiFixture.h"
#include "store/FaultInjection.h"

#include "editing/BoxLabelsDialog.h"
#include "editing/MemoEditor.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace lumo::test {
namespace {

struct WindowWrite {
    const char* name;
    std::string target;
    // Opens the window with a right or left click on a result row and does the write in it.
    std::function<void(MessageCatalog&, MainWindow&, SearchCommands&)> run;
};

const std::vector<WindowWrite>& Writes() {
    static const std::vector<WindowWrite> writes = {
        {"MemoSaved", "memo/5.txt",
         [](MessageCatalog& messages, MainWindow& main, SearchCommands& search) {
             messages.queue(DialogAnswer::no()); // the save question on closing
             MemoEditor* dlg = search.memoEditor();
             WhenShown(dlg, [dlg] {
                 dlg->memoText->setPlainText(QStringLiteral("neuer Text"));
                 dlg->toolButtons[3]->click(); // save
                 dlg->toolButtons[7]->click(); // close (unsaved: "Nein" to the question)
             });
             main.onCanvasPress(Qt::RightButton, 400, RowY(2));
         }},
        {"MemoDeleted", "memo/5.txt",
         [](MessageCatalog& messages, MainWindow& main, SearchCommands& search) {
             messages.queue(DialogAnswer::yes()); // the delete question
             MemoEditor* dlg = search.memoEditor();
             WhenShown(dlg, [dlg] {
                 dlg->toolButtons[2]->click(); // delete, "Ja"
                 dlg->toolButtons[7]->click();
             });
             main.onCanvasPress(Qt::RightButton, 400, RowY(2));
         }},
        {"BoxLabelSaved", "KASTEN.INI",
         [](MessageCatalog&, MainWindow& main, SearchCommands& search) {
             BoxLabelsDialog* dlg = search.boxLabelsDialog();
             WhenShown(dlg, [dlg] {
                 dlg->magazineEdit->setText(QStringLiteral("Neues Magazin"));
                 dlg->saveButton->click();
                 dlg->cancelButton->click();
             });
             main.onCanvasPress(Qt::LeftButton, 100, RowY(2));
         }},
    };
    return writes;
}

using WindowFaultCase = std::tuple<size_t, Fault>;

class WindowFaultTest : public SearchGui, public ::testing::WithParamInterface<WindowFaultCase> {};

TEST_P(WindowFaultTest, ShowsTheErrorKeepsTheFileAndGoesOn) {
    const WindowWrite& write = Writes()[std::get<0>(GetParam())];
    const Fault fault = std::get<1>(GetParam());
    arc.write("memo/5.txt", "Rosen\r\n");
    arc.write("KASTEN.INI", "[K002]\r\nT1=Sommer 98\r\nT2=Italien\r\n");
    StartWithResults();
    if (fault == Fault::TargetDirectory)
        ReplaceByDirectory(arc.path(write.target));
    const Snapshot before = TakeSnapshot(arc.dir());

    {
        std::optional<WriteProtectedArchive> guard;
        if (fault == Fault::WriteProtected) {
            guard.emplace(arc.dir());
            if (!guard->ok())
                GTEST_SKIP() << "root's write override cannot be lowered here";
        }
        write.run(msg(), main(), search());
    }
    size_t errorsShown = 0;
    for (auto kind : {ShownDialog::Error, ShownDialog::ErrorBox, ShownDialog::IoError})
        errorsShown += shown(kind).size();
    EXPECT_GE(errorsShown, 1u);
    EXPECT_EQ(TakeSnapshot(arc.dir()).at(write.target), before.at(write.target));
    // The program goes on.
    KeySearch({{"U1", "Urlaub"}});
    EXPECT_EQ(st().foundCount, 3);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowFaultTest,
                         ::testing::Combine(::testing::Range<size_t>(0, Writes().size()),
                                            ::testing::Values(Fault::WriteProtected,
                                                              Fault::TargetDirectory)),
                         [](const ::testing::TestParamInfo<WindowFaultCase>& info) {
                             return std::string(Writes()[std::get<0>(info.param)].name) + "_" +
                                    FaultName(std::get<1>(info.param));
                         });

} // namespace
} // namespace lumo::test
