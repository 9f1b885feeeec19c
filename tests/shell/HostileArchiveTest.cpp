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
    using ProgramTest::archive, ProgramTest::program, ProgramTest::main, ProgramTest::help,
        ProgramTest::launcher;
    TempArchive home;   // the user's files that must not change: .bashrc, bin/, their archive
    TempArchive volume; // a backup volume and the user's approvals, which may change
    bool started = false;
    bool fifoOpened = false;
    UrlRecorder urls;

    void SetUp() override {
        writeSimpleRecords(3);
        writeKeywords(1, {{"Alpen", "A1"}});
        writeKeywords(2, {{"Berge", "A1A1"}});
        writeKeywords(3, {{"Gipfel", "A1A1A1"}});
        home.write(".bashrc", "echo Hallo\n");
        home.write("Archiv/dias.ddb", "mein eigenes Archiv");
        for (const char* scheme : {"file", "mailto", "https", "smb"})
            QDesktopServices::setUrlHandler(U(scheme), &urls, "open");
    }
    void TearDown() override {
        for (const char* scheme : {"file", "mailto", "https", "smb"})
            QDesktopServices::unsetUrlHandler(U(scheme));
    }
    static void Executable(const fs::path& path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\nexit 0\n";
        fs::permissions(path, fs::perms::owner_all);
    }
    // Starts the program while dia.bmp is watched: a reader that opens it as a FIFO is let
    // go at once (and noted), so a program that blocks on it does not hang the test.
    void startWatchingFifo(std::optional<DialogAnswer> answer) {
        std::atomic<bool> done{false};
        std::thread watcher([&] {
            for (; !done; ::usleep(1000))
                if (const int fd = ::open(archive.path("dia.bmp").c_str(), O_WRONLY | O_NONBLOCK);
                    fd >= 0 && (fifoOpened = true))
                    ::close(fd);
        });
        program = std::make_unique<Program>(archive.dir(), true);
        if (answer)
            messages().queue(*answer);
        started = program->Start();
        done = true;
        watcher.join();
        if (started) {
            program->enableProgramApproval(QString::fromStdString(volume.path("p.ini").string()));
            program->main().show();
        }
    }
    void backupThroughTheWindow() {
        BackupDialog& dlg = program->services().backupDialog();
        const QString root = QString::fromStdString(volume.dir().string());
        dlg.setTargetSource([root] { return QList<BackupTarget>{{root, root}}; });
        WhenShown act(&dlg, [&dlg] {
            QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
            QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
        });
        triggerMenu("&Backup erstellen...");
    }
    bool told(ShownDialog::Kind kind, const QString& part) {
        return std::ranges::any_of(shownOf(kind),
                                   [&](const ShownDialog& d) { return d.text.contains(part); });
    }
};

using Step = std::function<void(HostileArchive&)>;
const std::vector<std::string> kIni = {"[LUMORETTA]", "DIAS=3"};
const QString kNoLock = U("gegen ein zweites LUMORETTA sperren:\r");
constexpr auto kAsk = ShownDialog::Confirm;
constexpr auto kNotice = ShownDialog::Notice;

struct Trick {
    const char* name;
    std::vector<std::string> ini = kIni;                    // DIA.INI as received
    std::vector<std::pair<std::string, std::string>> links; // archive name -> user's file
    Step receive;                                           // what else the archive holds
    bool writeProtectedDirectory = false;                   // while the program starts
    std::optional<DialogAnswer> atStart;                    // the answer to a question at start
    const char* menu = nullptr;                             // the user's step, or
    Step act;                                               // the user's steps
    std::optional<DialogAnswer> answer;                     // to a question after the step
    ShownDialog::Kind kind = kNotice;                       // what the user is told
    QString told;
    Step check; // and what else holds
};
void PrintTo(const Trick& trick, std::ostream* os) {
    *os << trick.name;
}

const char* const kIniMenu = "&Ini-Datei Einstellungen anzeigen";
void Backup(HostileArchive& t) {
    t.backupThroughTheWindow();
}

// clang-format off: one trick per paragraph
const Trick kTricks[] = {
    {.name = "1 key list copies keyword1 into a link to bashrc",
     .links = {{"keyword1.prt", ".bashrc"}},
     .menu = "&2 - Liste der verwendeten Schlüssel erstellen...",
     .answer = DialogAnswer::no(),
     .check =
         [](HostileArchive& t) {
             EXPECT_FALSE(fs::is_symlink(t.archive.path("keyword1.prt"))); // the link is replaced
             EXPECT_EQ(t.archive.read("keyword1.prt"), t.archive.read("keyword1"));
         }},
    {.name = "2 analysis at start empties keyword1.old, a link to bashrc",
     .ini = {"[LUMORETTA]", "DIAS=?"},
     .links = {{"keyword1.old", ".bashrc"}},
     .told = MainWindow::AnalysisNoticeText(),
     .check = [](HostileArchive& t) { EXPECT_EQ(t.archive.read("keyword1.old"), ""); }},
    {.name = "3a automatic backup into Backup, a link to the user's own archive",
     .ini = {"[LUMORETTA]", "DIAS=3", "[BACKUP]", "AUTO=1", "DIASDDB=1", "MEMODDB=1"},
     .links = {{"Backup", "Archiv"}},
     .act = [](HostileArchive& t) { t.main().close(); },
     .answer = DialogAnswer::yes(),
     .told = U("Das Auto-Backup wurde nicht durchgeführt"),
     .check = [](HostileArchive& t) { EXPECT_FALSE(t.told(kNotice, U("abgeschlossen"))); }},
    {.name = "3b manual backup whose target is the archive itself",
     .receive =
         [](HostileArchive& t) {
             fs::create_directory_symlink(t.archive.dir(), t.volume.path("Backup"));
         },
     .act = Backup,
     .told = U("ist\rIhr Archiv, liegt in ihm oder enthält es"),
     .check =
         [](HostileArchive& t) {
             EXPECT_EQ(t.program->services().backupDialog().statusText(),
                       U("Backup war leider nicht erfolgreich !"));
         }},
    {.name = "4a pbrush.exe with the archive's arguments for the image program",
     .ini = {"[LUMORETTA]", "DIAS=3", "EDITOR=pbrush.exe -b \"(python-fu-eval)\""},
     .receive = [](HostileArchive& t) { HostileArchive::Executable(t.home.path("bin/gimp")); },
     .menu = kIniMenu,
     .answer = DialogAnswer::no(),
     .kind = kAsk,
     .told = U("/bin/gimp\r\rmit den Argumenten:\r-b\r(python-fu-eval)"),
     .check = [](HostileArchive& t) { EXPECT_TRUE(t.launcher().commands().empty()); }},
    {.name = "4b explorer.exe hands an archive file to the desktop",
     .ini = {"[LUMORETTA]", "DIAS=3", "EDITOR=explorer.exe start.desktop"},
     .receive =
         [](HostileArchive& t) { t.archive.write("start.desktop", "[Desktop Entry]\nExec=id\n"); },
     .menu = kIniMenu,
     .answer = DialogAnswer::no(),
     .kind = kAsk,
     .told = U("mit den Argumenten:\rstart.desktop"),
     .check = [](HostileArchive& t) { EXPECT_TRUE(t.launcher().openedUrls().isEmpty()); }},
    {.name = "5 EDITOR names a program that only the archive ships",
     .ini = {"[LUMORETTA]", "DIAS=3", "EDITOR=mousepad"},
     .receive = [](HostileArchive& t) { HostileArchive::Executable(t.archive.path("mousepad")); },
     .menu = kIniMenu,
     .answer = DialogAnswer::yes(),
     .told = LaunchFailureText(U("mousepad DIA.INI")),
     .check = [](HostileArchive& t) { EXPECT_TRUE(t.launcher().commands().empty()); }},
    {.name = "6 dia.bmp is a FIFO",
     .receive =
         [](HostileArchive& t) { ASSERT_EQ(::mkfifo(t.archive.path("dia.bmp").c_str(), 0644), 0); },
     .check =
         [](HostileArchive& t) {
             EXPECT_TRUE(t.started);
             EXPECT_FALSE(t.fifoOpened); // never opened, so never waited on
         }},
    {.name = "7a the lock file is a link to bashrc",
     .links = {{".lumoretta.lock", ".bashrc"}},
     .atStart = DialogAnswer::yes(),
     .kind = kAsk,
     .told = kNoLock + U("die Sperrdatei .lumoretta.lock ist\rkeine gewöhnliche Datei."),
     .check = [](HostileArchive& t) { EXPECT_TRUE(t.started); }},
    {.name = "7b the lock file is a directory",
     .receive = [](HostileArchive& t) { fs::create_directory(t.archive.path(".lumoretta.lock")); },
     .atStart = DialogAnswer::no(),
     .kind = kAsk,
     .told = kNoLock + U("die Sperrdatei .lumoretta.lock"),
     .check = [](HostileArchive& t) { EXPECT_TRUE(!t.started && t.program->userLeft()); }},
    {.name = "7c a write-protected directory of writable files",
     .writeProtectedDirectory = true,
     .atStart = DialogAnswer::no(),
     .kind = kAsk,
     .told = kNoLock + U("das Archivverzeichnis ist schreibgeschützt,\rseine Dateien aber nicht."),
     .check = [](HostileArchive& t) { EXPECT_FALSE(t.started); }},
    {.name = "8a a memo that is a link to bashrc is backed up",
     .ini = {"[LUMORETTA]", "DIAS=3", "[BACKUP]", "MEMODDB=1"},
     .links = {{"memo/1.txt", ".bashrc"}},
     .receive = [](HostileArchive& t) { t.archive.write("memo/2.txt", "Urlaub\r\n"); },
     .act = Backup,
     .told = U("Fehler Nr.5"),
     .check =
         [](HostileArchive& t) {
             EXPECT_EQ(t.volume.read("Backup/memo/1.txt").find("Hallo"), std::string::npos);
         }},
    {.name = "8b links of every scheme in DIA.HLP",
     .receive =
         [](HostileArchive& t) {
             t.archive.write(
                 "DIA.HLP",
                 "<html><body><a href=\"file://" + t.home.path(".bashrc").string() +
                     "\">a</a> <a href=\"mailto:x@y.z\">b</a> <a href=\"smb://server/x\">c</a> "
                     "<a href=\"https://example.org/\">d</a></body></html>");
         },
     .menu = "&Index",
     .act =
         [](HostileArchive& t) { // each link in turn from the keyboard
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
     .check =
         [](HostileArchive& t) {
             EXPECT_EQ(t.urls.opened, QStringList{U("https://example.org/")});
         }},
};
// clang-format on

class HostileArchiveTest : public HostileArchive, public ::testing::WithParamInterface<Trick> {};

TEST_P(HostileArchiveTest, NothingOutsideChangesAndTheUserIsTold) {
    const Trick& trick = GetParam();
    writeIni(trick.ini);
    for (const auto& [name, target] : trick.links) {
        fs::create_directories(archive.path(name).parent_path());
        fs::create_symlink(home.path(target), archive.path(name));
    }
    if (trick.receive)
        trick.receive(*this);
    const Snapshot outside = TakeSnapshot(home.dir());
    const QByteArray path = qgetenv("PATH");
    // Relative entries would be the working directory: the archive.
    qputenv("PATH", QByteArray("::.:bin:") + home.path("bin").c_str() + ":/usr/bin:/bin");
    {
        std::optional<WriteProtectedArchive> guard;
        if (trick.writeProtectedDirectory && !guard.emplace(archive.dir(), 0644).ok())
            GTEST_SKIP() << "root's write override cannot be lowered here";
        startWatchingFifo(trick.atStart);
    }
    if (started && (trick.menu || trick.act)) {
        if (trick.answer)
            messages().queue(*trick.answer);
        if (trick.menu)
            triggerMenu(trick.menu);
        if (trick.act)
            trick.act(*this);
    }
    qputenv("PATH", path);
    EXPECT_EQ(TakeSnapshot(home.dir()), outside);
    EXPECT_TRUE(trick.told.isEmpty() || told(trick.kind, trick.told)) << trick.told.toStdString();
    trick.check(*this);
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
