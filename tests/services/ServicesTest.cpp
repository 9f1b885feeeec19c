// Archives, backup, preferences and tips, driving the real windows.
#include "ProgramFixture.h"
#include "platform/ProgramApproval.h"
#include "services/BackupDialog.h"
#include "services/PreferencesDialog.h"
#include "services/ServiceCommands.h"
#include "services/TipsDialog.h"
#include "services/TrayIcon.h"
#include "services/logic/NewArchive.h"
#include "store/ArchiveLock.h"
#include "store/SlideTypes.h"
#include "ui/ArchiveGuard.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <cerrno>
#include <sys/stat.h>

using namespace lumo;
using namespace lumo::test;

namespace {
const auto U = [](const char* s) { return QString::fromUtf8(s); };
const auto Text = [](const std::filesystem::path& p) { return QString::fromStdString(p.string()); };

class ServicesTest : public ProgramTest {
protected:
    std::filesystem::path savedWorkingDir = std::filesystem::current_path();
    ServiceCommands& services() { return program->services(); }
    // n slides with a stored count, sounds on; `more` lines follow [LUMORETTA]'s keys.
    void startWith(int n, const std::vector<std::string>& more = {}) {
        writeSimpleRecords(n);
        std::vector<std::string> ini{"[LUMORETTA]", "DIAS=" + std::to_string(n), "SOUND=1"};
        ini.insert(ini.end(), more.begin(), more.end());
        writeIni(ini);
        start();
        clearRecords();
    }
    bool iniHas(const std::string& line) {
        return archive.read("DIA.INI").find(line + "\r\n") != std::string::npos;
    }
    void openArchive(const std::filesystem::path& database) {
        messages().queueFileName(Text(database));
        triggerMenu("Archiv &öffnen...");
    }
    void TearDown() override {
        ProgramTest::TearDown();
        std::filesystem::current_path(savedWorkingDir); // opening an archive moves it
    }
};
} // namespace

TEST_F(ServicesTest, OpeningAnotherArchiveLeavesNothingOfTheOldOne) {
    startWith(3);
    TempArchive other; // upper-case database name, no DIA.INI, no picture
    other.write("DIAS.DDB", RecordBytes({"A1"}, "A01 Eins", 1) +
                                RecordBytes({"00"}, std::string(kFreeSlotMarker), 0));
    AppState& st = state();
    st.keys.count = 2;
    st.keyStore.count = 1;
    st.infoHistory = {"Urlaub"};
    st.searchResultList = {"old result"};
    st.foundCount = 1;
    st.page.rows[0].text = "A01 Dia 1";
    main().SetUndoEnabled(true);
    openArchive(other.path("DIAS.DDB"));
    EXPECT_EQ(st.archive.dir(), other.dir());
    EXPECT_EQ(std::filesystem::current_path(), other.dir());
    EXPECT_NE(other.read("DIA.INI").find("DIAS=1\r\n"), std::string::npos);
    const auto shown = texts(ShownDialog::Notice);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].startsWith(U("Ihr Archiv wird nun analysiert")) &&
                shown[1].startsWith(U("Im aktuellen Verzeichnis ist noch kein")));
    EXPECT_EQ(statusLineText(), U("Im Archiv sind 1 Dias in 2 Datensätzen gespeichert"));
    EXPECT_TRUE(main().windowTitle().endsWith(U("Pfad=") + Text(other.dir())));
    EXPECT_EQ(st.keys.count + st.keyStore.count + st.foundCount, 0);
    EXPECT_TRUE(st.infoHistory.empty() && st.searchResultList.empty() && st.page.rows[0].empty());
    EXPECT_FALSE(main().undoAction()->isEnabled());
    ArchiveLock probe; // the program holds the new archive and has let the old one go
    EXPECT_EQ(probe.acquire(other.dir()), ArchiveLock::Result::HeldElsewhere);
    EXPECT_EQ(probe.acquire(archive.dir()), ArchiveLock::Result::Acquired);
    TempArchive third; // the window goes where this archive's settings left it
    third.write("dias.ddb", RecordBytes({"A1"}, "A01 Drei", 1));
    third.write("DIA.INI", "[LUMORETTA]\r\nDIAS=1\r\nFENSTER=30,40\r\n");
    main().move(150, 100);
    openArchive(third.path("dias.ddb"));
    EXPECT_EQ(main().pos(), QPoint(40, 30));
}

TEST_F(ServicesTest, AnArchiveAnotherProgramHoldsOpensOnlyWhenTheUserSaysSo) {
    startWith(3);
    openArchive(archive.path("dias.ddb"));
    EXPECT_TRUE(shownOf(ShownDialog::Confirm).empty());
    EXPECT_TRUE(state().archiveLock.held());
    TempArchive other;
    other.write("other.ddb", RecordBytes({"A1"}, "A01", 1));
    std::filesystem::create_directory(other.path("dias.ddb")); // not a file: cannot be read
    for (const auto& [name, error] : {std::pair{"other.ddb", 26}, std::pair{"dias.ddb", 31}}) {
        clearRecords();
        openArchive(other.path(name));
        EXPECT_TRUE(errorShown(error)) << name;
        EXPECT_TRUE(state().archive.dir() == archive.dir() && state().counters.totalRecords == 3);
        EXPECT_NE(std::filesystem::current_path(), other.dir()) << name;
    }
    std::filesystem::remove(other.path("dias.ddb"));
    other.write("dias.ddb", RecordBytes({"A1"}, "A01 Eins", 1));
    ArchiveLock elsewhere;
    ASSERT_EQ(elsewhere.acquire(other.dir()), ArchiveLock::Result::Acquired);
    for (const bool goOn : {false, true}) {
        clearRecords();
        messages().queue(goOn ? DialogAnswer::yes() : DialogAnswer::no());
        openArchive(other.path("dias.ddb"));
        const auto asked = shownOf(ShownDialog::Confirm);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].text, SecondProgramQuestion());
        EXPECT_EQ(state().archive.dir(), goOn ? other.dir() : archive.dir());
        EXPECT_EQ(state().archiveLock.held(), !goOn);
    }
}

TEST_F(ServicesTest, ANewArchiveIsLaidOutOnlyWhereNoDataIsLost) {
    startWith(3);
    archive.write("bilder/autor.bmp", "BM author");
    TempArchive parent;
    struct Row {
        const char *dir, *existingFile; // dir inside `parent`; nullptr: the open archive
        std::optional<bool> answer;     // to "Das angegebene Verzeichnis existiert bereits..."
        bool created;
        const char* notice;
    };
    const Row rows[] = {
        {"neu", nullptr, {}, true, "Ein neues Archiv wurde erstellt."},
        {"leer", "", false, false, nullptr},
        {"leer2", "", true, true, "Ein neues Archiv wurde erstellt."},
        {"voll", "data", {}, false, "Im angegebenen Verzeichnis liegt bereits ein Archiv"},
        {nullptr, nullptr, {}, false, "Das angegebene Verzeichnis enthält das geöffnete Archiv"},
    };
    parent.write("leer2/DIA.INI", "[KOPFDATA]\r\nFELDNAMEN=Eigen\r\n"); // its own, kept
    parent.write("leer2/bilder/AUTOR.BMP", "BM own");
    for (const Row& row : rows) {
        clearRecords();
        const auto dir = row.dir ? parent.path(row.dir) : archive.dir();
        SCOPED_TRACE(dir.string());
        if (row.existingFile)
            parent.write(std::string(row.dir) + "/DIAS.DDB", row.existingFile);
        const std::string ownIni = row.dir ? parent.read(std::string(row.dir) + "/DIA.INI") : "";
        messages().queue(DialogAnswer::type(Text(dir)));
        if (row.answer)
            messages().queue(*row.answer ? DialogAnswer::yes() : DialogAnswer::no());
        triggerMenu("&Neues Archiv erstellen...");
        EXPECT_EQ(shownOf(ShownDialog::Confirm).size(), row.answer ? 1u : 0u);
        const Archive made(dir);
        if (row.created) {
            for (const auto& group : kNewArchiveFiles)
                for (std::string_view name : group)
                    EXPECT_EQ(made.fileSize(name), 0) << name; // keyword files too: no "*"
            EXPECT_TRUE(made.exists("memo") && made.exists("bilder"));
            EXPECT_EQ(parent.read(std::string(row.dir) + "/DIA.INI"),
                      ownIni.empty() ? archive.read("DIA.INI") : ownIni);
        } else if (row.dir) {
            EXPECT_FALSE(made.exists("KEYWORD1") || made.exists("memo"));
        }
        const auto shown = texts(ShownDialog::Notice);
        EXPECT_EQ(!shown.empty() && shown.back().startsWith(U(row.notice ? row.notice : "-")),
                  row.notice != nullptr);
        EXPECT_EQ(state().archive.dir(), archive.dir());
    }
    EXPECT_EQ(archive.read("dias.ddb").size(), 3u * 82);
    EXPECT_EQ(parent.read("voll/DIAS.DDB"), "data");
    EXPECT_EQ(parent.read("neu/bilder/autor.bmp"), "BM author");
    EXPECT_EQ(parent.read("leer2/bilder/AUTOR.BMP"), "BM own");
    EXPECT_FALSE(parent.exists("leer2/bilder/autor.bmp"));
    TempArchive home; // a relative path lies in the home directory, not in the open archive
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QByteArray::fromStdString(home.dir().string()));
    messages().queue(DialogAnswer::type(U("relativ")));
    triggerMenu("&Neues Archiv erstellen...");
    qputenv("HOME", savedHome);
    EXPECT_TRUE(home.exists("relativ/DIAS.DDB"));
    EXPECT_FALSE(archive.exists("relativ"));
}

TEST_F(ServicesTest, BackupErrorsAreReportedAndTheDialogStaysUsable) {
    startWith(1, {"[BACKUP]", "DIASDDB=1"});
    TempArchive volume;
    BackupDialog& dlg = services().backupDialog();
    CopyFaults readOnly{EROFS};
    dlg.setCopyFaults(&readOnly);
    EXPECT_FALSE(dlg.RunBackup(volume.path("Backup"), true));
    EXPECT_EQ(texts(ShownDialog::Notice),
              QStringList{U("Beim Backup trat folgendes Problem auf...\rFehler Nr.19 --> "
                            "Datenträger schreibgeschützt\rQuelle war dia.ini\rZiel ist ") +
                          Text(volume.path("Backup/dia.ini"))});
    EXPECT_EQ(dlg.statusText(), U("Backup war leider nicht erfolgreich !"));
    EXPECT_TRUE(dlg.startButton()->isEnabled() && dlg.groupBox(1)->isEnabled());
    state().counters.totalRecords = 0;
    clickToolButton(9);
    EXPECT_TRUE(errorShown(53));
}

TEST_F(ServicesTest, ClosingWithAutoBackupCopiesIntoTheArchivesBackupDirectory) {
    archive.write("kopfdata.ddb", HeaderRecordBytes({"Leica"}));
    startWith(2, {"[BACKUP]", "AUTO=1", "KOPFDDB=1"});
    messages().queue(DialogAnswer::yes());
    main().close();
    EXPECT_EQ(archive.read("Backup/kopfdata.ddb"), archive.read("kopfdata.ddb"));
    EXPECT_FALSE(archive.exists("Backup/dias.ddb"));
    EXPECT_EQ(texts(ShownDialog::Notice),
              (QStringList{U("Lumoretta führt nun im Hintergrund\rnoch ein Auto-Backup durch."),
                           U("Der Backup Prozess von Lumoretta\rist nun abgeschlossen.")}));
}

TEST_F(ServicesTest, PreferencesAreCheckedBeforeTheyTakeEffect) {
    startWith(1);
    PreferencesDialog& dlg = services().preferencesDialog();
    const std::tuple<const char*, const char*, int, int, int> rows[] = {
        {"24", "99", 0, 24, 99}, {"3", "0", 0, 3, 0},  {"25", "7", 14, 2, 50},
        {"0", "7", 14, 2, 50},   {"", "7", 14, 2, 50}, {"5", "-1", 6, 5, 50},
        {"5", "", 6, 5, 50},     {"+5", "7", 0, 5, 7}, {" 5", "7", 14, 2, 50},
        {"7x", "7", 14, 2, 50},  {"1", "7x", 6, 1, 50}};
    for (const auto& [box, magazine, error, perBox, perMagazine] : rows) {
        SCOPED_TRACE(std::string(box) + "/" + magazine);
        clearRecords();
        state().settings.magazinesPerBox = 2;
        state().settings.slidesPerMagazine = 50;
        dlg.boxSizeEdit()->setText(U(box));
        dlg.magazineSizeEdit()->setText(U(magazine));
        dlg.SaveAndClose();
        EXPECT_EQ(shownOf(ShownDialog::Error).size(), error ? 1u : 0u);
        EXPECT_TRUE(!error || errorShown(error));
        EXPECT_EQ(std::pair(state().settings.magazinesPerBox, state().settings.slidesPerMagazine),
                  std::pair(perBox, perMagazine));
        EXPECT_EQ(iniHas("KASTEN=" + std::to_string(perBox)), error == 0);
    }
}

TEST_F(ServicesTest, PreferencesShowAThreeDigitSizeWholeAndRefuseIt) {
    startWith(1, {"KASTEN=100", "MAGAZIN=255"});
    const std::string ini = archive.read("DIA.INI");
    PreferencesDialog& dlg = services().preferencesDialog();
    QString shown;
    new WhenShown(&dlg, [&] {
        shown = dlg.boxSizeEdit()->text() + u'|' + dlg.magazineSizeEdit()->text();
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton); // error 14
        QTest::keyClick(dlg.boxSizeEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dlg.boxSizeEdit(), U("12"));
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton); // error 6
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    });
    clickSoftButton(3); // DIENSTE
    EXPECT_EQ(shown, U("100|255"));
    EXPECT_EQ(errors(), (std::vector<int>{14, 6}));
    EXPECT_EQ(archive.read("DIA.INI"), ini);
}

// The chosen editor is approved and takes effect at once, saved with the next save; no program
// is refused with a notice.
TEST_F(ServicesTest, PreferencesShowTheFileAndTheChosenEditorTakesEffectAtOnce) {
    startWith(1);
    QTemporaryDir settingsDir;
    const QString approvals = settingsDir.filePath(U("programs.ini"));
    program->enableProgramApproval(approvals);
    writeIni({"[LUMORETTA]", "DIAS=1", "KASTEN=9", "EDITOR=/usr/bin/mousepad"});
    archive.write("tools/myedit", "#!/bin/sh\n");
    ::chmod(archive.path("tools/myedit").c_str(), 0755);
    archive.write("tools/readme", "not a program");
    PreferencesDialog& dlg = services().preferencesDialog();
    new WhenShown(&dlg, [&] {
        EXPECT_EQ(dlg.boxSizeEdit()->text() + dlg.editorEdit()->text(), U("9MOUSEPAD"));
        EXPECT_TRUE(dlg.editorEdit()->isReadOnly());
        for (const char* file : {"tools/readme", "tools/myedit"}) {
            messages().queueFileName(Text(archive.path(file)));
            dlg.ChooseEditor();
        }
        EXPECT_EQ(dlg.editorEdit()->text(), U("MYEDIT"));
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    });
    clickSoftButton(3); // DIENSTE
    EXPECT_EQ(texts(ShownDialog::Notice).size(), 1u);
    EXPECT_EQ(state().settings.editor, archive.path("tools/myedit").string());
    EXPECT_TRUE(iniHas("EDITOR=/usr/bin/mousepad"));
    EXPECT_EQ(ProgramApproval(approvals).approved(),
              QStringList{Text(archive.path("tools/myedit"))});
}

TEST_F(ServicesTest, TipsStepOnAndFollowTheCheckBox) {
    archive.write("tips/1.tip", "Tip 1\r\nZeile");
    archive.write("tips/2.tip", "Tip 2");
    startWith(1, {"TIP=2"});
    TipsDialog& dlg = services().tipsDialog();
    new WhenShown(&dlg, [&] {
        EXPECT_EQ(dlg.tipText(), U("Tip 1\nZeile"));
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    });
    triggerMenu("&Tips anzeigen");
    EXPECT_TRUE(state().settings.tipNumber == 2 && iniHas("TIP=2"));
    dlg.showAtStartCheck()->click();
    EXPECT_TRUE(iniHas("TIP=0"));
    dlg.showAtStartCheck()->click();
    EXPECT_TRUE(iniHas("TIP=1"));
    std::filesystem::remove_all(archive.path("tips")); // no tips: one message, no window
    clearRecords();
    WhenShown empty(&dlg, [&] { QTest::mouseClick(dlg.closeButton(), Qt::LeftButton); });
    triggerMenu("&Tips anzeigen");
    EXPECT_FALSE(empty.ran());
    EXPECT_EQ(texts(ShownDialog::IoError).size() + messages().shown().size(), 2u);
}

// The tray menu's "Internet" entry opens the installed HTML user guide as a file:// address
// in the browser, with the notice when it is missing (as beside the test program).
TEST_F(ServicesTest, TheTrayMenuOpensTheUserGuide) {
    startWith(1);
    const QList<QAction*> entries = services().trayIcon().menu()->actions();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[3]->text(), U("Internet"));
    const QString address = TrayIcon::UserGuideAddress();
    EXPECT_TRUE(address.startsWith(U("file:///")) &&
                address.endsWith(U("/share/doc/lumoretta/lumoretta.html")))
        << address.toStdString();
    entries[3]->trigger();
    EXPECT_EQ(texts(ShownDialog::Notice), QStringList{LaunchFailureText(address)});
}
