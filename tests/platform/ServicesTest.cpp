// Sound cues, the wait, launching programs and documents, and the help window.
#include "TestArchive.h"
#include "platform/Help.h"
#include "platform/Launcher.h"
#include "platform/Sound.h"
#include "ui/AppState.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lumo;
using namespace lumo::test;

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}
QString Q(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

void MakeExecutable(const std::filesystem::path& p) {
    std::filesystem::permissions(p,
                                 std::filesystem::perms::owner_all |
                                     std::filesystem::perms::group_read |
                                     std::filesystem::perms::others_read,
                                 std::filesystem::perm_options::replace);
}

class SoundTest : public ::testing::Test {
protected:
    SoundTest() {
        state.archive.setDir(archive.dir());
        sound.setTestMode(true);
    }
    TempArchive archive;
    AppState state;
    SoundCue sound{state.archive, state.settings};
};

} // namespace

TEST_F(SoundTest, SoundOffDoesNothingAtAll) {
    state.settings.sound = false;
    sound.PlaySoundCue(QStringLiteral("harfe"), 3000);
    sound.PlayClick();
    EXPECT_TRUE(sound.played().isEmpty());
    EXPECT_EQ(sound.delayedMs(), 0);
    EXPECT_EQ(sound.beeps(), 0);
}

TEST_F(SoundTest, MissingWaveBeepsAndStillPauses) {
    sound.PlaySoundCue(QStringLiteral("harfe"), 3000);
    EXPECT_EQ(sound.played(), QStringList({QStringLiteral("harfe")}));
    EXPECT_EQ(sound.delayedMs(), 3000);
    EXPECT_EQ(sound.beeps(), 1);
}

TEST_F(SoundTest, WaveFoundWithoutRegardToCaseInTheOpenArchive) {
    archive.write("SOUNDS/HotClik.WAV", "RIFF");
    sound.PlayClick();
    EXPECT_EQ(sound.played(), QStringList({QStringLiteral("hotclik")}));
    EXPECT_EQ(sound.delayedMs(), 180);
    EXPECT_EQ(sound.beeps(), 0);
    EXPECT_EQ(QFileInfo(sound.CueFile(QStringLiteral("hotclik"))).canonicalFilePath(),
              QFileInfo(Q(archive.path("SOUNDS/HotClik.WAV"))).canonicalFilePath());

    // After another archive is opened the cues come from there.
    TempArchive other;
    state.archive.setDir(other.dir());
    sound.PlayClick();
    EXPECT_EQ(sound.beeps(), 1);
    EXPECT_TRUE(sound.CueFile(QStringLiteral("hotclik")).startsWith(Q(other.dir())));
}

TEST_F(SoundTest, DelayServesEventsWhileWaiting) {
    sound.setTestMode(false);
    bool served = false;
    QTimer::singleShot(0, [&] { served = true; });
    sound.Delay(20);
    EXPECT_TRUE(served);
    sound.Delay(0); // returns at once
    EXPECT_EQ(sound.delayedMs(), 0);
}

// --- launching -------------------------------------------------------------------------

TEST(Launcher, OldEditorNameTakesTheRestOfTheLineAsOneFile) {
    const QString tv = Launcher::TextViewProgram();
    EXPECT_EQ(QFileInfo(tv).fileName(), QStringLiteral("lumo_textview"));
    EXPECT_EQ(QFileInfo(tv).absolutePath(), QCoreApplication::applicationDirPath());
    const QString max = Launcher::TextViewMaximisedOption(); // every program starts maximised
    EXPECT_EQ(Launcher::ResolveCommand(U("notepad.exe dialiste.txt")),
              QStringList({tv, max, QStringLiteral("dialiste.txt")}));
    EXPECT_EQ(Launcher::ResolveCommand(U("NOTEPAD.EXE dia.ini")),
              QStringList({tv, max, QStringLiteral("dia.ini")}));
    EXPECT_EQ(Launcher::ResolveCommand(U("write.exe history.wri")),
              QStringList({tv, max, QStringLiteral("history.wri")}));
    EXPECT_EQ(Launcher::ResolveCommand(U("notepad.exe")), QStringList({tv, max}));
    // Shell syntax is just part of the file name.
    EXPECT_EQ(Launcher::ResolveCommand(U("notepad.exe a; rm -rf x")),
              QStringList({tv, max, U("a; rm -rf x")}));
    EXPECT_EQ(Launcher::ResolveCommand(U("notepad.exe $(touch y) `id` | cat > z")),
              QStringList({tv, max, U("$(touch y) `id` | cat > z")}));
    EXPECT_EQ(Launcher::ResolveCommand(U("notepad.exe \"mein bericht.txt\"")),
              QStringList({tv, max, U("mein bericht.txt")}));
    EXPECT_TRUE(Launcher::ResolveCommand(U("   ")).isEmpty());
}

TEST(Launcher, OtherProgramsGetSplitArgumentsAndNoShell) {
    TempArchive dir;
    dir.write("ed it/my editor", "#!/bin/sh\nexit 0\n");
    MakeExecutable(dir.path("ed it/my editor"));
    const QString editor = Q(dir.path("ed it/my editor"));

    // An editor path with blanks, unquoted, is still found as one program.
    EXPECT_EQ(Launcher::ResolveCommand(editor + U(" dialiste.txt")),
              QStringList({editor, U("dialiste.txt")}));
    EXPECT_EQ(Launcher::ResolveCommand(U("\"") + editor + U("\" \"a b\" c;d")),
              QStringList({editor, U("a b"), U("c;d")}));
    // Metacharacters stay arguments of the program.
    const QStringList cmd = Launcher::ResolveCommand(editor + U(" a;rm -rf x"));
    ASSERT_EQ(cmd.size(), 4);
    EXPECT_EQ(cmd.at(0), editor);
    EXPECT_EQ(cmd.mid(1), QStringList({U("a;rm"), U("-rf"), U("x")}));
    for (const QString& part : cmd)
        EXPECT_FALSE(part.endsWith(QStringLiteral("/sh")));

    Launcher l;
    l.setTestMode(true);
    EXPECT_TRUE(l.RunProgram(editor + U(" dialiste.txt"), Q(dir.dir())));
    ASSERT_EQ(l.commands().size(), 1u);
    EXPECT_EQ(l.commands()[0], QStringList({editor, U("dialiste.txt")}));
}

TEST(Launcher, MissingProgramFailsAndNoticeCarriesTheCommandLine) {
    TempArchive dir;
    Launcher l;
    l.setTestMode(true);
    const QString cmdLine = U("/gibt/es/nicht/editor dialiste.txt");
    EXPECT_FALSE(l.RunProgram(cmdLine, Q(dir.dir())));
    const QString notice = LaunchFailureText(cmdLine);
    EXPECT_EQ(notice, U("Leider konnte Lumoretta die Datei\r/gibt/es/nicht/editor dialiste.txt\r"
                        "oder die erforderliche Anwendung\rnicht auf Ihrem System lokalisieren !"));
    EXPECT_EQ(notice.split(QLatin1Char('\r')).at(1), cmdLine);

    // The real start fails the same way, and a line with shell syntax runs nothing.
    Launcher real;
    EXPECT_FALSE(real.RunProgram(cmdLine, Q(dir.dir())));
    EXPECT_FALSE(real.RunProgram(U("/bin/true; touch pwned"), Q(dir.dir())));
    EXPECT_FALSE(dir.exists("pwned"));
    EXPECT_FALSE(real.RunProgram(QString(), Q(dir.dir())));
}

TEST(Launcher, RecordedStartsFailWhenAskedTo) {
    TempArchive dir;
    Launcher l;
    l.setTestMode(true, /*failStarts=*/true);
    EXPECT_FALSE(l.RunProgram(U("/bin/true"), Q(dir.dir())));
    EXPECT_FALSE(l.RunProgram(U("explorer.exe"), Q(dir.dir())));
}

TEST(Launcher, ExplorerOpensTheArchiveFolder) {
    TempArchive dir;
    Launcher l;
    l.setTestMode(true);
    EXPECT_TRUE(l.RunProgram(U("explorer.exe"), Q(dir.dir())));
    ASSERT_EQ(l.openedUrls().size(), 1u);
    EXPECT_EQ(QUrl(l.openedUrls().at(0)).toLocalFile(), QFileInfo(Q(dir.dir())).absoluteFilePath());
    EXPECT_TRUE(l.commands().empty());
}

// pbrush.exe starts an image program found in PATH, with its arguments; without one
// in PATH the start fails. PATH holds only the test's own directories here.
TEST(Launcher, PaintStartsAnImageProgramFromThePath) {
    TempArchive bin, work;
    bin.write("eog", "#!/bin/sh\n");
    MakeExecutable(bin.path("eog"));
    bin.write("nothing/readme", "");
    const QByteArray oldPath = qgetenv("PATH");
    Launcher l;
    l.setTestMode(true);

    qputenv("PATH", QFile::encodeName(Q(bin.dir())));
    const bool started = l.RunProgram(U("pbrush.exe 12.bmp"), Q(work.dir()));
    qputenv("PATH", QFile::encodeName(Q(bin.path("nothing"))));
    const bool startedWithout = l.RunProgram(U("pbrush.exe 12.bmp"), Q(work.dir()));
    qputenv("PATH", oldPath);

    EXPECT_TRUE(started);
    ASSERT_EQ(l.commands().size(), 1u);
    EXPECT_EQ(l.commands()[0], QStringList({Q(bin.path("eog")), U("12.bmp")}));
    EXPECT_FALSE(startedWithout);
    EXPECT_EQ(l.commands().size(), 1u);
}

TEST(Launcher, OpenDocumentFindsFilesWithoutRegardToCase) {
    TempArchive dir;
    dir.write("MEMO/12.Doc", "doc");
    Launcher l;
    l.setTestMode(true);
    EXPECT_TRUE(l.OpenDocument(U("memo\\12.doc"), Q(dir.dir())));
    ASSERT_EQ(l.openedUrls().size(), 1u);
    EXPECT_EQ(QFileInfo(QUrl(l.openedUrls().at(0)).toLocalFile()).canonicalFilePath(),
              QFileInfo(Q(dir.path("MEMO/12.Doc"))).canonicalFilePath());

    EXPECT_FALSE(l.OpenDocument(U("memo\\13.doc"), Q(dir.dir())));
    EXPECT_EQ(l.openedUrls().size(), 1u);

    EXPECT_TRUE(l.OpenDocument(U("https://www.example.org/lumoretta"), Q(dir.dir())));
    EXPECT_EQ(l.openedUrls().last(), U("https://www.example.org/lumoretta"));
}

// --- help ------------------------------------------------------------------------------

TEST(HelpViewer, MissingFileIsSaidInTheWindow) {
    TempArchive dir;
    HelpViewer h;
    h.ShowHelp(Q(dir.path("DIA.HLP")), 201);
    ASSERT_NE(h.window(), nullptr);
    EXPECT_EQ(h.window()->windowTitle(), U("Lumoretta Hilfe"));
    EXPECT_TRUE(
        h.window()->toPlainText().contains(U("Die Hilfedatei DIA.HLP wurde nicht gefunden.")));
    EXPECT_TRUE(h.window()->isVisible());
    EXPECT_FALSE(h.window()->isModal());
    EXPECT_EQ(h.lastContext(), 201);
    h.window()->close();
}

TEST(HelpViewer, ShowsTopicAndSaysWhenOneIsMissing) {
    TempArchive dir;
    std::string html = "<html><body><a name=\"ctx1\"></a><h1>Einleitung</h1>";
    for (int i = 0; i < 200; ++i)
        html += "<p>F\xFCllzeile " + std::to_string(i) + "</p>";
    html += "<a name=\"ctx302\"></a><h2>Suche \xFC"
            "ber den Informationstext</h2></body></html>";
    dir.write("DIA.HLP", html);
    HelpViewer h;
    h.ShowHelp(Q(dir.path("DIA.HLP")), 302);
    const QString text = h.window()->toPlainText();
    EXPECT_TRUE(text.contains(U("Suche über den Informationstext")));
    EXPECT_FALSE(text.contains(U("keinen Eintrag")));
    const int at302 = h.window()->verticalScrollBar()->value();
    EXPECT_GT(at302, 1000); // scrolled down past the 200 lines to the topic

    h.ShowHelp(Q(dir.path("DIA.HLP")), 1);
    EXPECT_LT(h.window()->verticalScrollBar()->value(), at302 / 10);

    h.ShowHelp(Q(dir.path("DIA.HLP")), 999);
    EXPECT_TRUE(
        h.window()->toPlainText().contains(U("Zum Hilfethema 999 gibt es keinen Eintrag.")));
    EXPECT_FALSE(h.window()->toPlainText().contains(U("Zum Hilfethema 1 ")));
    h.window()->close();
}
