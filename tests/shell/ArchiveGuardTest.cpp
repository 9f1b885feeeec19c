// Two programs on one archive, a run that was killed, and programs an archive names.
#include "ProgramFixture.h"
#include "store/ChildProcess.h"

#include "platform/Launcher.h"
#include "platform/ProgramApproval.h"
#include "store/ArchiveLock.h"
#include "ui/ArchiveGuard.h"
#include "ui/QuestionDialog.h"

#include <QTemporaryDir>

namespace lumo::test {
namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}
class ArchiveGuardTest : public ProgramTest {
protected:
    QTemporaryDir settingsDir;
    void SetUp() override {
        writeSimpleRecords(3);
        writeKeywords(1, {{"Alpen", "A1"}});
    }
    std::vector<ShownDialog> confirmations() { return shownOf(ShownDialog::Confirm); }
    QString approvals() const { return settingsDir.filePath(QStringLiteral("programs.ini")); }
    void startWithEditor(const std::string& editor) {
        program.reset();
        writeIni({"[LUMORETTA]", "DIAS=3", "EDITOR=" + editor});
        start();
        program->enableProgramApproval(approvals());
        clearRecords();
    }
    void showIniFile() { triggerMenu("&Ini-Datei Einstellungen anzeigen"); }
};
TEST_F(ArchiveGuardTest, ASecondProgramAsksBeforeItWritesAndLetsTheUserLeave) {
    writeIni({"[LUMORETTA]", "DIAS=?"}); // a start would analyse and save the settings
    const std::string iniBefore = archive.read("DIA.INI");
    ArchiveLock first;
    ASSERT_EQ(first.acquire(archive.dir()), ArchiveLock::Result::Acquired);
    for (bool goOn : {false, true}) {
        program = std::make_unique<Program>(archive.dir(), true);
        messages().queue(goOn ? DialogAnswer::yes() : DialogAnswer::no());
        EXPECT_EQ(program->Start(), goOn);
        EXPECT_EQ(program->userLeft(), !goOn);
        ASSERT_EQ(confirmations().size(), 1u);
        EXPECT_EQ(confirmations()[0].text, SecondProgramQuestion());
        if (!goOn) {
            EXPECT_EQ(archive.read("DIA.INI"), iniBefore);
        }
    }
}
TEST_F(ArchiveGuardTest, AKilledProgramDoesNotBlockAndItsCountersAreRecounted) {
    // DIA.INI says 5 slides, the file holds 3: killed between appending and saving.
    writeIni({"[LUMORETTA]", "DIAS=5"});
    {
        ChildProcess killed([&](int report, int goOn) {
            ArchiveLock lock;
            Report(report, static_cast<unsigned char>(lock.acquire(archive.dir())));
            WaitForParent(goOn);
            return 0;
        });
        ASSERT_EQ(killed.readByte(), static_cast<int>(ArchiveLock::Result::Acquired));
        killed.kill(SIGKILL);
        killed.wait();
    }
    start();
    EXPECT_TRUE(confirmations().empty());
    EXPECT_EQ(state().counters.activeSlides, 3);
    EXPECT_NE(archive.read("DIA.INI").find("DIAS=3"), std::string::npos);
    // After a normal end the stored number is trusted again.
    program.reset();
    EXPECT_EQ(archive.read(kArchiveLockName), "");
    writeIni({"[LUMORETTA]", "DIAS=5"});
    start();
    EXPECT_EQ(state().counters.activeSlides, 5);
}
TEST_F(ArchiveGuardTest, AHostileEditorStartsOnlyAfterTheUserApprovedIt) {
    const std::string hostile = "sh -c \"rm -rf ~; echo\"";
    startWithEditor(hostile);
    const std::string iniBefore = archive.read("DIA.INI");
    const QString sh = Launcher::FindInPath(U("sh"));
    const QStringList args{U("-c"), U("rm -rf ~; echo")};
    const QString command = ProgramApproval::Command(sh, args);
    messages().queue(DialogAnswer::no());
    showIniFile();
    EXPECT_EQ(confirmations().at(0).text, ProgramApprovalQuestion(sh, args));
    EXPECT_TRUE(messages().questionDialog()->declineButton->isDefault());
    EXPECT_TRUE(launcher().commands().empty());
    EXPECT_TRUE(shownOf(ShownDialog::Notice).empty()); // declined is no failure
    EXPECT_FALSE(ProgramApproval(approvals()).isApproved(command));
    clearRecords();
    messages().queue(DialogAnswer::yes());
    showIniFile();
    EXPECT_EQ(launcher().commands().at(0).mid(1), (args + QStringList{U("--"), U("DIA.INI")}));
    EXPECT_TRUE(ProgramApproval(approvals()).isApproved(command));
    // Approved once on this computer: no further question. The archive holds no trace.
    clearRecords();
    showIniFile();
    EXPECT_TRUE(confirmations().empty());
    EXPECT_EQ(launcher().commands().size(), 1u);
    EXPECT_EQ(archive.read("DIA.INI"), iniBefore);
}
TEST_F(ArchiveGuardTest, BuiltInEditorsAndEditorsChosenInThePreferencesNeedNoQuestion) {
    ProgramApproval(approvals()).approve(QStringLiteral("/bin/true")); // the preferences
    for (const std::string editor : {"notepad.exe", "WRITE.EXE", "/bin/true"}) {
        startWithEditor(editor);
        showIniFile();
        EXPECT_TRUE(confirmations().empty()) << editor;
        EXPECT_EQ(launcher().started().size(), 1) << editor;
    }
    // The same program with other arguments is another command.
    startWithEditor("/bin/true --anders");
    messages().queue(DialogAnswer::no());
    showIniFile();
    EXPECT_EQ(confirmations().size(), 1u);
    EXPECT_TRUE(launcher().started().isEmpty());
}
TEST(ProgramApprovalTest, KeepsEachCommandExactlyAndOnlyThat) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lumoretta/programs.ini"));
    const QStringList commands = {U("sh -c 'a, b; c=d # e'"),
                                  U("\"C:\\Programme\\Übel\\x.exe\" /p"), U("editor,mit,kommas"),
                                  U("  leer vorn")};
    for (const QString& c : commands)
        ASSERT_TRUE(ProgramApproval(file).approve(c)) << c.toStdString();
    const ProgramApproval again(file);
    for (const QString& c : commands) {
        EXPECT_TRUE(again.isApproved(c)) << c.toStdString();
        EXPECT_FALSE(again.isApproved(c + QLatin1Char(' '))) << c.toStdString();
    }
    EXPECT_EQ(again.approved().size(), commands.size());
}

} // namespace
} // namespace lumo::test
