// Backup, automatic backup, preferences, tips and the tray menu, driving the real windows.
#include "ServicesFixture.h"

#include "platform/ProgramApproval.h"

#include <QTemporaryDir>

#include "platform/Launcher.h"
#include "services/BackupDialog.h"
#include "services/PreferencesDialog.h"
#include "services/TipsDialog.h"
#include "services/TrayIcon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSystemTrayIcon>

#include <cerrno>
#include <sys/stat.h>

using namespace lumo;
using namespace lumo::test;

namespace {
const char* kGroupOneAndTwo[] = {"kasten.ini", "dialiste.txt", "kasten.txt",   "keyliste.txt",
                                 "dia.bmp",    "dia.hlp",      "keyword1",     "keyword2",
                                 "keyword3",   "keyword1.old", "keyword2.old", "keyword3.old"};
} // namespace

TEST_F(ServicesTest, BackupFromTheDialogAndAgainOverTheFirstOne) {
    for (const char* name : kGroupOneAndTwo)
        archive.write(name, std::string("bytes of ") + name);
    startWith(2, {"[BACKUP]", "DIASDDB=1", "KEYSDDB=1"});
    TempArchive volume;
    BackupDialog& dlg = services().backupDialog();
    dlg.setTargetSource([&] {
        return QList<BackupTarget>{{QStringLiteral("Stick"), Text(volume.dir())}};
    });
    new WhenShown(&dlg, [&] {
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Backup erstellen"));
        EXPECT_EQ(dlg.statusText(),
                  QString::fromUtf8("Bitte markieren Sie Ihre Backup-Einstellungen."));
        EXPECT_TRUE(dlg.groupBox(2)->isChecked() && !dlg.groupBox(3)->isChecked());
        QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
        EXPECT_TRUE(notices().empty());
        QTest::mouseClick(dlg.startButton(), Qt::LeftButton);
        EXPECT_EQ(dlg.statusText(), QString::fromUtf8("Backup erfolgreich beendet..."));
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    });
    clickToolButton(9);
    EXPECT_FALSE(dlg.isVisible());
    for (const char* name : kGroupOneAndTwo)
        EXPECT_EQ(volume.read(std::string("Backup/") + name), archive.read(name)) << name;
    EXPECT_EQ(volume.read("Backup/dias.ddb"), archive.read("dias.ddb"));
    EXPECT_FALSE(volume.exists("Backup/kopfdata.ddb"));
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_TRUE(notices()[0].endsWith(QStringLiteral("Backup verwendet den Pfad ") +
                                      Text(volume.path("Backup")) + QStringLiteral("/")));
    EXPECT_TRUE(sound().played().contains(QStringLiteral("bell")));
    EXPECT_EQ(statusLineText(),
              QString::fromUtf8("Im Archiv sind 2 Dias in 2 Datensätzen gespeichert"));
}

TEST_F(ServicesTest, AReadOnlyTargetStopsTheBackupWithError19) {
    startWith(1, {"[BACKUP]", "DIASDDB=1"});
    TempArchive volume;
    BackupDialog& dlg = services().backupDialog();
    CopyFaults readOnly{EROFS};
    dlg.setCopyFaults(&readOnly);
    EXPECT_FALSE(dlg.RunBackup(volume.path("Backup"), true));
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0], QString::fromUtf8("Beim Backup trat folgendes Problem auf...\rFehler "
                                              "Nr.19 --> Datenträger schreibgeschützt\rQuelle war "
                                              "dia.ini\rZiel ist ") +
                                Text(volume.path("Backup/dia.ini")));
    EXPECT_EQ(dlg.statusText(), QString::fromUtf8("Backup war leider nicht erfolgreich !"));
    EXPECT_TRUE(dlg.startButton()->isEnabled() && dlg.groupBox(1)->isEnabled());
    EXPECT_EQ(dlg.progressBar()->value(), 0);
}

TEST_F(ServicesTest, NoBackupOfAnArchiveWithoutSlides) {
    startWith(0);
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
    EXPECT_EQ(
        notices(),
        (std::vector<QString>{
            QString::fromUtf8("Lumoretta führt nun im Hintergrund\rnoch ein Auto-Backup durch."),
            QString::fromUtf8("Der Backup Prozess von Lumoretta\rist nun abgeschlossen.")}));
}

TEST_F(ServicesTest, PreferencesAreCheckedBeforeTheyTakeEffect) {
    startWith(1);
    PreferencesDialog& dlg = services().preferencesDialog();
    struct Row {
        const char *box, *magazine;
        int error, magazinesPerBox, slidesPerMagazine;
    };
    // A refused magazine size still leaves the accepted box size in effect.
    const Row rows[] = {{"24", "99", 0, 24, 99}, {"3", "0", 0, 3, 0},  {"25", "7", 14, 2, 50},
                        {"0", "7", 14, 2, 50},   {"", "7", 14, 2, 50}, {"-1", "7", 14, 2, 50},
                        {"5", "-1", 6, 5, 50},   {"5", "", 6, 5, 50}};
    for (const Row& row : rows) {
        clearRecords();
        state().settings.magazinesPerBox = 2;
        state().settings.slidesPerMagazine = 50;
        dlg.boxSizeEdit()->setText(QString::fromUtf8(row.box));
        dlg.magazineSizeEdit()->setText(QString::fromUtf8(row.magazine));
        dlg.SaveAndClose();
        EXPECT_EQ(shownOf(ShownDialog::Error).size(), row.error ? 1u : 0u) << row.box;
        EXPECT_TRUE(!row.error || errorShown(row.error)) << row.box << "/" << row.magazine;
        EXPECT_EQ(state().settings.magazinesPerBox, row.magazinesPerBox) << row.box;
        EXPECT_EQ(state().settings.slidesPerMagazine, row.slidesPerMagazine) << row.magazine;
        EXPECT_EQ(iniHas("KASTEN=" + std::to_string(row.magazinesPerBox)), row.error == 0)
            << row.box;
    }
}

TEST_F(ServicesTest, PreferencesShowTheFileAndTheChosenEditorTakesEffectAtOnce) {
    startWith(1);
    QTemporaryDir settingsDir;
    const QString approvals = settingsDir.filePath(QStringLiteral("programs.ini"));
    program->enableProgramApproval(approvals);
    writeIni({"[LUMORETTA]", "DIAS=1", "KASTEN=9", "EDITOR=/usr/bin/mousepad"});
    archive.write("tools/myedit", "#!/bin/sh\n");
    ::chmod(archive.path("tools/myedit").c_str(), 0755);
    archive.write("tools/readme", "not a program");
    PreferencesDialog& dlg = services().preferencesDialog();
    new WhenShown(&dlg, [&] {
        EXPECT_EQ(dlg.boxSizeEdit()->text(), QStringLiteral("9"));
        EXPECT_EQ(dlg.editorEdit()->text(), QStringLiteral("MOUSEPAD"));
        EXPECT_TRUE(dlg.editorEdit()->isReadOnly());
        messages().queueFileName(Text(archive.path("tools/readme")));
        dlg.ChooseEditor(); // not a program: refused with the launcher's notice
        messages().queueFileName(Text(archive.path("tools/myedit")));
        dlg.ChooseEditor();
        EXPECT_EQ(dlg.editorEdit()->text(), QStringLiteral("MYEDIT"));
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    });
    clickSoftButton(3); // DIENSTE
    EXPECT_EQ(notices().size(), 1u);
    EXPECT_EQ(state().settings.editor, archive.path("tools/myedit").string());
    EXPECT_TRUE(iniHas("EDITOR=/usr/bin/mousepad")); // saved only with the next save
    // Chosen by the user here: it will start without the approval question.
    EXPECT_EQ(ProgramApproval(approvals).approved(),
              QStringList{Text(archive.path("tools/myedit"))});
}

TEST_F(ServicesTest, TipsStepAroundAndFollowTheCheckBox) {
    for (int n = 1; n <= 3; ++n)
        archive.write("tips/" + std::to_string(n) + ".tip",
                      "Tip " + std::to_string(n) + "\r\nZeile");
    startWith(1, {"TIP=3"});
    TipsDialog& dlg = services().tipsDialog();
    new WhenShown(&dlg, [&] {
        EXPECT_EQ(dlg.tipText(), QStringLiteral("Tip 1\nZeile")); // after 3 comes 1
        QTest::mouseClick(dlg.nextButton(), Qt::LeftButton);
        EXPECT_EQ(dlg.tipText(), QStringLiteral("Tip 2\nZeile"));
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    });
    triggerMenu("&Tips anzeigen");
    EXPECT_EQ(state().settings.tipNumber, 3); // closing steps on once more
    EXPECT_TRUE(iniHas("TIP=3"));
    dlg.showAtStartCheck()->click();
    EXPECT_TRUE(iniHas("TIP=0"));
    dlg.showAtStartCheck()->click();
    EXPECT_TRUE(iniHas("TIP=1"));
}

TEST_F(ServicesTest, StartUpTakesTheFirstTipThereIsWhenTheStoredOneIsMissing) {
    archive.write("tips/2.tip", "Zwei");
    archive.write("tips/3.tip", "Drei");
    startWith(1, {"TIP=7"});
    EXPECT_TRUE(state().tipReady);
    EXPECT_EQ(state().tipText, "Zwei");
    TipsDialog& dlg = services().tipsDialog();
    new WhenShown(&dlg, [&] {
        EXPECT_EQ(dlg.tipText(), QStringLiteral("Zwei"));
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
    });
    services().ShowStartupTip();
    EXPECT_EQ(state().settings.tipNumber, 3);
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(ServicesTest, TheTrayMenuStartsTheLauncherPrograms) {
    startWith(1);
    TrayIcon& tray = services().trayIcon();
    const auto actions = tray.menu()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text() + actions[1]->text() + actions[2]->text(),
              QStringLiteral("NotepadPaintExplorer"));
    actions[0]->trigger();
    actions[2]->trigger();
    EXPECT_EQ(launcher().started(),
              (QStringList{QStringLiteral("notepad.exe"), QStringLiteral("explorer.exe")}));
    EXPECT_TRUE(
        launcher().openedUrls().contains(QUrl::fromLocalFile(Text(archive.dir())).toString()));
    EXPECT_EQ(tray.shown(), QSystemTrayIcon::isSystemTrayAvailable());
}
