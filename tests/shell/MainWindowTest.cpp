// The main window: screen modes, soft and tool buttons, menu, F1 help, shutdown, programs.
#include "ShellFixture.h"

#include "editing/SlideEntryCommands.h"

#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTextBrowser>

using namespace lumo;
using namespace lumo::test;

namespace {

class MainWindowTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        startWith();
    }
};
const char* kKeySearch = "SUCHE DIAS|LÖSCHEN|RESET|HILFE|HAUPTMENUE";
const char* kResults = "TEXT-EDITOR|NEUE SUCHE||HILFE|HAUPTMENUE";
const char* kEntry = "DIA SICHERN|KEY EDITOR|KEY ABLAGE|HILFE|HAUPTMENUE";
const char* kMemo = " - Dias über Memo suchen...";
const int kToolX[] = {0, 4, 30, 56, 82, 116, 142, 168, 194, 228, 254, 280, 0, 314};

TEST_F(MainWindowTest, CaptionsTitleAndHelpTopicOfEveryMode) {
    // Mode, editing an existing slide, soft-button captions ("*" disabled), title suffix, the
    // topic "HILFE" opens (0: not tried).
    const std::tuple<int, bool, const char*, const char*, int> rows[] = {
        {0, false, "BEARBEITEN|AUSWERTUNG|DIENSTE|HILFE|FEIERABEND", "   - Pfad=", 1},
        {110, false, kEntry, " - Neues Dia eingeben...", 201},
        {110, true, kEntry, " - Dia editieren...", 0},
        {140, false, "EBENE <1>|EBENE <2>|EBENE <3>|HILFE|HAUPTMENUE",
         " - Neue Schlüssel eingeben...", 202},
        {210, false, kKeySearch, " - Dias über Schlüssel suchen...", 301},
        {211, false, kResults, " - Dias über Schlüssel suchen...", 301}, // keeps the title
        {220, false, kResults, " - Dias über Kastennummer suchen...", 303},
        {240, false, kResults, " - Dias über Informationstext suchen...", 302},
        {260, false, kResults, " - Dias über Kopfdatenfelder suchen...", 305},
        {250, false, "TEXT-EDITOR|NEUE SUCHE|MEMO PRINT|HILFE|HAUPTMENUE", kMemo, 304},
        {9, false, "TEXT-EDITOR*|NEUE SUCHE*|MEMO PRINT*|HILFE*|HAUPTMENUE*", kMemo, 0},
        {12345, false, "||||", kMemo, 0},
    };
    const QString path = QString::fromStdString(archive.dir().string());
    for (const auto& [mode, existing, captions, title, context] : rows) {
        state().editExisting = existing;
        setMode(mode);
        EXPECT_EQ(screenState().section(u'|', 1, 5), U(captions)) << mode;
        EXPECT_EQ(main().windowTitle(), U("Lumoretta 3.03") + U(title) + (mode ? QString() : path));
        if (context) {
            clickSoftButton(4);
            EXPECT_EQ(help().lastContext(), context) << "mode " << mode;
        }
    }
    setMode(260);
    clickToolButton(13);
    EXPECT_EQ(help().lastContext(), 1);
    setMode(999); // while busy every soft button only clicks
    for (int i = 1; i <= 5; ++i)
        clickSoftButton(i);
    EXPECT_TRUE(messages().shown().empty() && main().isVisible());
    EXPECT_EQ(help().lastContext(), 1);
}
TEST_F(MainWindowTest, KeySearchEnteredAndLeft) {
    const QString startScreen = U("0|BEARBEITEN|AUSWERTUNG|DIENSTE|HILFE|FEIERABEND|Bild|||Im "
                                  "Archiv sind 20 Dias in 20 Datensätzen gespeichert");
    state().keys.count = 3;
    state().keys.entries[0] = {"A1", "Berge"};
    clickSoftButton(2); // AUSWERTUNG: the key search with one click, the keys reset
    EXPECT_EQ(screenState(), U("210|") + U(kKeySearch) + U("||Ebenen||Freie Stichwörter ->8<-"));
    EXPECT_TRUE(state().keys.entries[0].code.empty());
    clickSoftButton(1); // "SUCHE DIAS" without keys
    EXPECT_TRUE(errorShown(1));
    clickToolButton(11); // the printer set-up leaves the key search
    EXPECT_EQ(screenState(), startScreen);
    showResults(220, 30); // "HAUPTMENUE" leaves a result mode with its scroll bar
    clickSoftButton(5);
    EXPECT_EQ(screenState(), startScreen);
    setMode(211); // the third button of the result modes
    clearRecords();
    clickSoftButton(3);
    EXPECT_EQ(shownOf(ShownDialog::Notice).at(0).text, U("Funktion nicht vorhanden"));
    // An archive without slides has no key search; the paint lock is not left set.
    program.reset();
    archive.write("dias.ddb", "");
    writeIniWithSlides(0);
    start();
    clickToolButton(5);
    EXPECT_TRUE(errorShown(53));
    EXPECT_EQ(state().screenMode, 0);
    EXPECT_FALSE(state().paintLock);
}
TEST_F(MainWindowTest, ToolButtonsAndFastMode) {
    const QStringList hints = Caps(
        "Neues Dia erfassen|Dias editieren|Dias löschen|Neue Schlüssel eingeben|Dias über "
        "Schlüssel suchen|Dias über Informationstext suchen|Dias über Kastennummer suchen|Dias "
        "über Memo suchen|Backup erstellen|Systemeinstellungen ändern|Druckereinrichtung");
    for (int i = 1; i <= 11; ++i) {
        QToolButton* b = main().toolButton(i);
        EXPECT_EQ(b->toolTip(), hints[i - 1]) << i;
        EXPECT_EQ(b->geometry(), QRect(QPoint(kToolX[i], 3), QSize(25, 25))) << i;
    }
    EXPECT_EQ(main().toolButton(13)->toolTip(), U("Hilfe anzeigen"));
    EXPECT_EQ(main().toolButton(13)->x(), kToolX[13]);
    EXPECT_TRUE(main().toolButton(12)->isHidden());
    EXPECT_EQ(main().progressBar()->geometry(), QRect(425, 7, 203, 16));
    QAction* fast = main().fastModeAction();
    fast->trigger();
    EXPECT_TRUE(state().fastMode);
    EXPECT_EQ(fast->text(), U("Fenster bei Suche normal (SlowModus)"));
    fast->trigger();
    EXPECT_EQ(fast->text(), U("Fenster bei Suche minimieren (FastModus)"));
}
TEST_F(MainWindowTest, OnlyClicksInTheListAreaActOnTheList) {
    auto clickAt = [this](Qt::MouseButton button, QPoint at) {
        QWidget* target = main().clientArea()->childAt(at);
        if (!target)
            target = main().clientArea();
        const QPoint local = target->mapFrom(main().clientArea(), at);
        QTest::mousePress(target, button, {}, local);
        QTest::mouseRelease(target, button, {}, local);
    };
    showResults(mode::KeyResults, 17);
    // Tool bar gap, progress bar, heading line, status line, the scroll bar's column.
    const QPoint outside[] = {{111, 10}, {500, 15}, {400, 40}, {100, 370}, {350, 420}, {630, 200}};
    for (QPoint at : outside)
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton})
            EXPECT_TRUE(WithEachModal([&] { clickAt(b, at); }).isEmpty())
                << at.x() << "," << at.y() << " button " << b;
    const QStringList row17 = WithEachModal([&] { clickAt(Qt::LeftButton, {400, 340}); });
    EXPECT_EQ(row17, QStringList{QStringLiteral("lumo::SlideDataViewer")});
    clickToolButton(5); // key modes: a right click outside leaves the level cursor alone
    clickAt(Qt::RightButton, {100, 77});
    ASSERT_EQ(state().cursor.selectedRow[0], 2);
    clickAt(Qt::RightButton, {111, 10});
    clickAt(Qt::RightButton, {100, 45});
    EXPECT_EQ(state().cursor.selectedRow[0], 2);
}
TEST_F(MainWindowTest, F1OpensTheTopicOfTheHighlightedMenuEntry) {
    const QStringList entries =
        Caps("Archiv &öffnen...|101|&Neues Archiv erstellen...|102|"
             "&Ini-Datei Einstellungen anzeigen|103|&Analyse-Dateien anzeigen...|104|&Beenden|105|"
             "&Neue Dias eingeben...|201|Neue &Schlüssel  eingeben...|202|Dias &editieren...|203|"
             "Dias &löschen...|204|&Kastenbezeichnungen eingeben...|205|&Memos eingeben...|206|"
             "Kopfdaten&felder ändern...|207|Kopf&daten eingeben...|208|"
             "&Fenster bei Suche minimieren (FastModus)|300|Dias über &Schlüssel suchen...|301|"
             "Dias über &Informationstext suchen...|302|Dias über &Kastennummer suchen...|303|"
             "Dias über &Memo suchen...|304|Dias über Kopfdaten&felder suchen...|305|"
             "&1 - Liste der Kastenbezeichnungen erstellen...|306|"
             "&2 - Liste der verwendeten Schlüssel erstellen...|307|&Backup erstellen...|401|"
             "&Update History anzeigen...|402|&System-Einstellungen...|403|&Drucker...|404|"
             "&Letzte Änderung der Schlüssellisten revidieren...|405|&Magazinübersicht...|601|"
             "&Bilder zuordnen...|602|&Einleitung|1|&Index|1002|"
             "&Tips anzeigen|505|&Glossary|1001");
    main().SetUndoEnabled(true); // a disabled entry cannot be highlighted
    for (int i = 0; i < entries.size(); i += 2) {
        const QString caption = entries[i];
        const int context = entries[i + 1].toInt();
        QAction* entry = main().findAction(caption);
        ASSERT_NE(entry, nullptr) << caption.toStdString();
        QMenu* menu = qobject_cast<QMenu*>(entry->parent());
        ASSERT_NE(menu, nullptr) << caption.toStdString();
        menu->popup(main().pos());
        menu->setActiveAction(entry);
        QTest::keyClick(menu, Qt::Key_F1);
        EXPECT_EQ(help().lastContext(), context) << caption.toStdString();
        EXPECT_FALSE(menu->isVisible()) << caption.toStdString();
    }
    // A top-level menu open with nothing highlighted; the bar highlighted through Alt.
    QMenu* datei = main().findAction(U("&Datei"))->menu();
    datei->popup(main().pos());
    QTest::keyClick(datei, Qt::Key_F1);
    EXPECT_EQ(help().lastContext(), 1002);
    triggerMenu("&Einleitung");
    QTest::keyClick(&main(), Qt::Key_Alt);
    ASSERT_NE(main().menuBar()->activeAction(), nullptr);
    QTest::keyClick(main().menuBar(), Qt::Key_F1);
    EXPECT_EQ(help().lastContext(), 1002);
}
TEST_F(MainWindowTest, F1OnTheMainWindowAndInEveryDialogOpensItsTopic) {
    main().menuBar()->setActiveAction(nullptr);
    clickToolButton(5); // the main window: the topic of the mode, as "HILFE" shows it
    main().softButton(2)->setFocus();
    QTest::keyClick(main().softButton(2), Qt::Key_F1);
    EXPECT_EQ(help().lastContext(), 301);
    auto menu = [this](const char* caption) { return [this, caption] { triggerMenu(caption); }; };
    const std::vector<std::pair<std::function<void()>, int>> dialogs = {
        {menu("&Kastenbezeichnungen eingeben..."), 205},
        {menu("&Memos eingeben..."), 206},
        {menu("Dias &löschen..."), 204},
        {menu("Kopfdaten&felder ändern..."), 207},
        {menu("Kopf&daten eingeben..."), 208},
        {menu("Dias über Kopfdaten&felder suchen..."), 305},
        {[this] { program->entry().ShowSlideData(2); }, 3001},
        {[this] {
             clickToolButton(1);
             clickLevelCursor(1);
             clickSoftButton(1); // DIA SICHERN: the slide save dialog
         },
         3002},
        {[this] { clickSoftButton(2); }, 3003}, // KEY EDITOR, still in mode 110
        {[this] {
             messages().setTestMode(false); // the message dialogs for real from here on
             messages().ShowError(53);
         },
         201},                                 // the topic of mode 110
        {[this] { clickToolButton(7); }, 303}, // box-number search: the input dialog
    };
    for (const auto& [open, context] : dialogs) {
        int shown = -1;
        const QStringList opened = WithEachModal(open, [&](QWidget* w) {
            if (shown != -1)
                return;
            QTest::keyClick(w, Qt::Key_F1);
            shown = help().lastContext();
        });
        ASSERT_FALSE(opened.isEmpty()) << context;
        EXPECT_EQ(shown, context) << opened.join(u' ').toStdString();
    }
    messages().setTestMode(true);
}
// A failed backup copy at closing is not reported as done; the help window closes too.
TEST_F(MainWindowTest, CloseWithAFailedAutoBackupAndTheHelpWindowOpen) {
    program.reset();
    startWith({"[BACKUP]", "AUTO=1", "DIASDDB=1"});
    archive.write("Backup", "a file where the backup directory would go");
    clickSoftButton(4); // HILFE
    ASSERT_TRUE(help().window() && help().window()->isVisible());
    messages().queue(DialogAnswer::yes());
    main().close();
    for (QWidget* w : QApplication::topLevelWidgets()) // none left to keep the program running
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    for (const auto& notice : shownOf(ShownDialog::Notice))
        EXPECT_FALSE(notice.text.contains(U("abgeschlossen"))) << notice.text.toStdString();
    EXPECT_EQ(archive.read("Backup"), "a file where the backup directory would go");
}
TEST_F(MainWindowTest, ProgramsGetTheFileAsItIsSpelledOnDisk) {
    triggerMenu("&Update History anzeigen...");
    EXPECT_TRUE(launcher().commands().empty());
    EXPECT_EQ(shownOf(ShownDialog::Notice).at(0).text,
              LaunchFailureText(U("write.exe history.wri")));
    clearRecords();
    archive.write("HISTORY.WRI", "Version 3.03\r\n");
    archive.write("DIALISTE.TXT", "Liste\r\n");
    triggerMenu("&Ini-Datei Einstellungen anzeigen");
    showResults(240, 3);
    clickSoftButton(1); // TEXT-EDITOR
    triggerMenu("&Update History anzeigen...");
    const QString ed = QString::fromStdString(editor);
    EXPECT_EQ(launcher().commands(), std::vector<QStringList>({{ed, U("--"), U("DIA.INI")},
                                                               {ed, U("--"), U("DIALISTE.TXT")},
                                                               {Launcher::TextViewProgram(),
                                                                Launcher::TextViewMaximisedOption(),
                                                                U("--"), U("HISTORY.WRI")}}));
}

} // namespace
