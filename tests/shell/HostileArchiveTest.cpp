// An archive from another computer, made to harm: one row per trick. Each row lays out the
// archive as received, does what a user does in the real windows, and checks that the files
// outside the archive stay byte for byte as they were and what the user is told.
#include "ProgramFixture.h"
#include "store/FaultInjection.h"

#include "services/BackupDialog.h"
#include "services/ServiceCommands.h"

#include <QDesktopServices>
#include <QTextBrowser>
#include <QUrl>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace lumo::test {
namespace {

namespace fs = std::filesystem;

QString U(const char* s) {
    return QString::fromUtf8(s);
}

// Records the addresses the desktop would open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QStringList opened;
public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

class HostileArchive : public ProgramTest {
public:
    // The rows below drive the program as the fixture does.
    using ProgramTest::archive, ProgramTest::program, ProgramTest::messages,
        ProgramTest::triggerMenu, ProgramTest::errors, ProgramTest::launcher, ProgramTest::help,
        ProgramTest::main, ProgramTest::writeIni;
    TempArchive home;   // the user's files: .bashrc, bin/, their own archive
    TempArchive volume; // a backup volume and the user's approvals, which may change
    QString approvals;
    bool started = false;
    bool fifoOpened = false;
    UrlRecorder urls;

    void SetUp() override {
        writeSimpleRecords(3);
        writeKeywords(1, {{"Alpen", "A1"}});
        writeKeywords(2, {{"Berge", "A1A1"}});
        writeKeywords(3, {{"Gipfel", "A1A1A1"}});
        writeIni({"[LUMORETTA]", "DIAS=3"});
        home.write(".bashrc", "echo Hallo\n");
        home.write("Archiv/dias.ddb", "mein eigenes Archiv");
        approvals = QString::fromStdString(volume.path("programs.ini").string());
        for (const char* scheme : {"file", "mailto", "https", "smb"})
            QDesktopServices::setUrlHandler(U(scheme), &urls, "open");
    }
    void TearDown() override {
        for (const char* scheme : {"file", "mailto", "https", "smb"})
            QDesktopServices::unsetUrlHandler(U(scheme));
    }
    void link(const std::string& name, const fs::path& target) const {
        fs::create_directories(archive.path(name).parent_path());
        fs::create_symlink(target, archive.path(name));
    }
    void executable(const fs::path& path) const {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\nexit 0\n";
        fs::permissions(path, fs::perms::owner_all);
    }
    // Starts the program; `answer` is queued for a question at start.
    bool startAndApprove(std::optional<DialogAnswer> answer = {}) {
        program = std::make_unique<Program>(archive.dir(), true);
        if (answer)
            messages().queue(*answer);
        started = program->Start();
        if (started) {
            program->enableProgramApproval(approvals);
            program->main().show();
        }
        return started;
    }
    // Starts while a FIFO named `fifo` is watched: a reader that opens it is let go at once
    // (and noted), so a program that blocks on it does not hang the test.
    void startWatchingFifo(const std::string& fifo) {
        std::atomic<bool> done{false};
        std::thread watcher([&] {
            while (!done) {
                const int fd = ::open(archive.path(fifo).c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    fifoOpened = true;
                    ::close(fd);
                }
                ::usleep(1000);
            }
        });
        startAndApprove();
        done = true;
        watcher.join();
    }
    void backupThroughTheWindow(const fs::path& volume) {
        BackupDialog& dlg = program->services().backupDialog();
        const QString root = QString::fromStdString(volume.string());
        dlg.setTargetSource([root] { return QList<BackupTarget>{{root, root}}; });
        WhenShown act(&dlg, [&dlg] {
            QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
            QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
        });
        triggerMenu("&Backup erstellen...");
    }
    bool told(ShownDialog::Kind kind, const QString& part) {
        const auto shown = shownOf(kind);
        return std::any_of(shown.begin(), shown.end(),
                           [&](const ShownDialog& d) { return d.text.contains(part); });
    }
};

struct Trick;
void PrintTo(const Trick& trick, std::ostream* os);

struct Trick {
    const char* name;
    std::function<void(HostileArchive&)> receive; // the archive as it arrives
    std::function<void(HostileArchive&)> act;     // the user's steps
    std::function<void(HostileArchive&)> told;    // what the user is told
};

const Trick kTricks[] = {
    {"1 key list copies keyword1 into a link to ~/.bashrc",
     [](HostileArchive& t) { t.link("keyword1.prt", t.home.path(".bashrc")); },
     [](HostileArchive& t) {
         t.startAndApprove();
         t.messages().queue(DialogAnswer::no()); // do not open the list in the editor
         t.triggerMenu("&2 - Liste der verwendeten Schlüssel erstellen...");
     },
     [](HostileArchive& t) {
         EXPECT_TRUE(t.errors().empty());
         EXPECT_FALSE(fs::is_symlink(t.archive.path("keyword1.prt"))); // the link is replaced
         EXPECT_EQ(t.archive.read("keyword1.prt"), t.archive.read("keyword1"));
     }},
    {"2 analysis at start empties keyword1.old, a link to ~/.bashrc",
     [](HostileArchive& t) {
         t.writeIni({"[LUMORETTA]", "DIAS=?"});
         t.link("keyword1.old", t.home.path(".bashrc"));
     },
     [](HostileArchive& t) { t.startAndApprove(); },
     [](HostileArchive& t) {
         EXPECT_TRUE(t.told(ShownDialog::Notice, MainWindow::AnalysisNoticeText()));
         EXPECT_EQ(t.archive.read("keyword1.old"), "");
     }},
    {"3a automatic backup into Backup, a link to the user's own archive",
     [](HostileArchive& t) {
         t.writeIni({"[LUMORETTA]", "DIAS=3", "[BACKUP]", "AUTO=1", "DIASDDB=1", "MEMODDB=1"});
         t.link("Backup", t.home.path("Archiv"));
     },
     [](HostileArchive& t) {
         t.startAndApprove();
         t.messages().queue(DialogAnswer::yes());
         t.main().close();
     },
     [](HostileArchive& t) {
         EXPECT_TRUE(t.told(ShownDialog::Notice, U("Das Auto-Backup wurde nicht durchgeführt")));
         EXPECT_FALSE(t.told(ShownDialog::Notice, U("abgeschlossen")));
     }},
    {"3b manual backup whose target is the archive itself",
     [](HostileArchive& t) {
         fs::create_directory_symlink(t.archive.dir(), t.home.path("Backup"));
     },
     [](HostileArchive& t) {
         t.startAndApprove();
         t.backupThroughTheWindow(t.home.dir());
     },
     [](HostileArchive& t) {
         EXPECT_TRUE(
             t.told(ShownDialog::Notice, U("ist\rIhr Archiv, liegt in ihm oder enthält es")));
         EXPECT_EQ(t.program->services().backupDialog().statusText(),
                   U("Backup war leider nicht erfolgreich !"));
     }},
    {"4a pbrush.exe with the archive's arguments for the image program",
     [](HostileArchive& t) {
         t.executable(t.home.path("bin/gimp"));
         t.writeIni({"[LUMORETTA]", "DIAS=3", "EDITOR=pbrush.exe -b \"(python-fu-eval)\""});
     },
     [](HostileArchive& t) {
         t.startAndApprove();
         t.messages().queue(DialogAnswer::no());
         t.triggerMenu("&Ini-Datei Einstellungen anzeigen");
     },
     [](HostileArchive& t) {
         const QString gimp = QString::fromStdString(t.home.path("bin/gimp").string());
         EXPECT_TRUE(t.told(ShownDialog::Confirm,
                            gimp + U("\r\rmit den Argumenten:\r-b\r(python-fu-eval)")));
         EXPECT_TRUE(t.launcher().commands().empty());
     }},
    {"4b explorer.exe hands an archive file to the desktop",
     [](HostileArchive& t) {
         t.archive.write("start.desktop", "[Desktop Entry]\nExec=sh -c id\n");
         t.writeIni({"[LUMORETTA]", "DIAS=3", "EDITOR=explorer.exe start.desktop"});
     },
     [](HostileArchive& t) {
         t.startAndApprove();
         t.messages().queue(DialogAnswer::no());
         t.triggerMenu("&Ini-Datei Einstellungen anzeigen");
     },
     [](HostileArchive& t) {
         EXPECT_TRUE(t.told(ShownDialog::Confirm, U("start.desktop")));
         EXPECT_TRUE(t.launcher().openedUrls().isEmpty());
     }},
    {"5 EDITOR names a program that only the archive ships",
     [](HostileArchive& t) {
         t.executable(t.archive.path("mousepad"));
         t.writeIni({"[LUMORETTA]", "DIAS=3", "EDITOR=mousepad"});
     },
     [](HostileArchive& t) {
         t.startAndApprove();
         t.messages().queue(DialogAnswer::yes());
         t.triggerMenu("&Ini-Datei Einstellungen anzeigen");
     },
     [](HostileArchive& t) {
         EXPECT_TRUE(t.launcher().commands().empty());
         EXPECT_TRUE(t.told(ShownDialog::Notice, LaunchFailureText(U("mousepad DIA.INI"))));
     }},
    {"6 dia.bmp is a FIFO",
     [](HostileArchive& t) { ASSERT_EQ(::mkfifo(t.archive.path("dia.bmp").c_str(), 0644), 0); },
     [](HostileArchive& t) { t.startWatchingFifo("dia.bmp"); },
     [](HostileArchive& t) {
         EXPECT_TRUE(t.started);
         EXPECT_FALSE(t.fifoOpened); // never opened, so never waited on
     }},
    {"7a the lock file is a link to ~/.bashrc",
     [](HostileArchive& t) { t.link(".lumoretta.lock", t.home.path(".bashrc")); },
     [](HostileArchive& t) { t.startAndApprove(DialogAnswer::yes()); },
     [](HostileArchive& t) {
         EXPECT_TRUE(t.started);
         EXPECT_TRUE(
             t.told(ShownDialog::Confirm,
                    U("sperren:\rdie Sperrdatei .lumoretta.lock ist\rkeine gewöhnliche Datei.")));
     }},
    {"7b the lock file is a directory",
     [](HostileArchive& t) { fs::create_directory(t.archive.path(".lumoretta.lock")); },
     [](HostileArchive& t) { t.startAndApprove(DialogAnswer::no()); },
     [](HostileArchive& t) {
         EXPECT_FALSE(t.started);
         EXPECT_TRUE(t.program->userLeft());
         EXPECT_TRUE(
             t.told(ShownDialog::Confirm,
                    U("sperren:\rdie Sperrdatei .lumoretta.lock ist\rkeine gewöhnliche Datei.")));
     }},
    {"7c a write-protected directory of writable files", [](HostileArchive&) {},
     [](HostileArchive& t) {
         WriteProtectedArchive guard(t.archive.dir(), 0644);
         if (!guard.ok())
             GTEST_SKIP() << "root's write override cannot be lowered here";
         t.startAndApprove(DialogAnswer::no());
     },
     [](HostileArchive& t) {
         EXPECT_FALSE(t.started);
         EXPECT_TRUE(
             t.told(ShownDialog::Confirm, U("sperren:\rdas Archivverzeichnis ist "
                                            "schreibgeschützt,\rseine Dateien aber nicht.")));
     }},
    {"8a a memo that is a link to ~/.bashrc is backed up",
     [](HostileArchive& t) {
         t.writeIni({"[LUMORETTA]", "DIAS=3", "[BACKUP]", "MEMODDB=1"});
         t.archive.write("memo/2.txt", "Urlaub\r\n");
         t.link("memo/1.txt", t.home.path(".bashrc"));
     },
     [](HostileArchive& t) {
         t.startAndApprove();
         t.backupThroughTheWindow(t.volume.dir());
     },
     [](HostileArchive& t) {
         EXPECT_EQ(t.volume.read("Backup/memo/1.txt").find("Hallo"), std::string::npos);
         EXPECT_TRUE(t.told(ShownDialog::Notice, U("Fehler Nr.5")));
     }},
    {"8b links of every scheme in DIA.HLP",
     [](HostileArchive& t) {
         t.archive.write("DIA.HLP", "<html><body><a name=\"ctx2\"></a>"
                                    "<a href=\"file://" +
                                        t.home.path(".bashrc").string() +
                                        "\">a</a> <a href=\"mailto:x@y.z\">b</a> "
                                        "<a href=\"smb://server/x\">c</a> "
                                        "<a href=\"https://example.org/\">d</a></body></html>");
     },
     [](HostileArchive& t) {
         t.startAndApprove();
         t.triggerMenu("&Index");
         QTextBrowser* browser = t.help().window();
         ASSERT_NE(browser, nullptr);
         browser->activateWindow();
         ASSERT_TRUE(QTest::qWaitForWindowActive(browser));
         browser->setFocus();
         for (int i = 0; i < 4; ++i) {
             QTest::keyClick(browser, Qt::Key_Tab);
             QTest::keyClick(browser, Qt::Key_Return);
         }
     },
     [](HostileArchive& t) { EXPECT_EQ(t.urls.opened, QStringList{U("https://example.org/")}); }},
};

void PrintTo(const Trick& trick, std::ostream* os) {
    *os << trick.name;
}

class HostileArchiveTest : public HostileArchive, public ::testing::WithParamInterface<Trick> {};

TEST_P(HostileArchiveTest, NothingOutsideChangesAndTheUserIsTold) {
    const Trick& trick = GetParam();
    trick.receive(*this);
    const Snapshot outside = TakeSnapshot(home.dir());
    const QByteArray path = qgetenv("PATH");
    // Relative entries would be the working directory: the archive.
    qputenv("PATH", QByteArray("::.:bin:") + home.path("bin").c_str() + ":/usr/bin:/bin");
    trick.act(*this);
    qputenv("PATH", path);
    if (IsSkipped())
        return;
    EXPECT_EQ(TakeSnapshot(home.dir()), outside);
    trick.told(*this);
}

INSTANTIATE_TEST_SUITE_P(Tricks, HostileArchiveTest, ::testing::ValuesIn(kTricks),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

} // namespace
} // namespace lumo::test

#include "HostileArchiveTest.moc"
