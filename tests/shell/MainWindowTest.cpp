// The main window as a whole: which clicks reach the lists, F1 help everywhere, the
// windows at shutdown, and the files handed to outside programs.
#include "ProgramFixture.h"

#include "editing/SlideEntryCommands.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QTimer>

#include <filesystem>
#include <functional>

using namespace lumo;
using namespace lumo::test;

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

// Runs `open`; each modal window that comes up meanwhile gets `onModal` once it is the
// active window, and is then closed. Returns the class names of those windows.
QStringList WithEachModal(const std::function<void()>& open,
                          const std::function<void(QWidget*)>& onModal = {}) {
    QStringList seen;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || QApplication::activeWindow() != w)
            return;
        seen << QString::fromLatin1(w->metaObject()->className());
        if (onModal)
            onModal(w);
        w->close();
    });
    poll.start();
    open();
    return seen;
}

class MainWindowTest : public ProgramTest {
protected:
    std::string editor;

    void SetUp() override {
        writeSimpleRecords(20);
        writeKeywords(1, {{"Berge", "A1"}, {"Meer", "B1"}, {"Stadt", "C1"}});
        writeKeywords(2, {{"Alpen", "A1A1"}});
        writeKeywords(3, {{"Zugspitze", "A1A1A1"}});
        archive.write("myeditor", "#!/bin/sh\nexit 0\n");
        std::filesystem::permissions(archive.path("myeditor"), std::filesystem::perms::owner_all);
        editor = archive.path("myeditor").string();
    }
    void startWith(std::vector<std::string> iniLines) {
        iniLines.insert(iniLines.begin(), {"[LUMORETTA]", "DIAS=20", "EDITOR=" + editor});
        writeIni(iniLines);
        start();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
        clearRecords();
    }
    // A result page of 17 slides in mode 211, as a key search leaves it.
    void showResultPage() {
        state().searchResultList.clear();
        for (int i = 1; i <= 17; ++i)
            state().searchResultList.push_back(
                QString::asprintf("%03d%05dA%02dDia %d", 1, i, i, i).toStdString());
        state().foundCount = 17;
        state().screenMode = mode::KeyResults;
        main().SetScreenCaptions(mode::KeyResults);
        main().showResultPage(0);
    }
    // A press where the user clicks: on the widget under the point, as the mouse would.
    void clickAt(Qt::MouseButton button, QPoint at) {
        QWidget* target = main().clientArea()->childAt(at);
        if (!target)
            target = main().clientArea();
        const QPoint local = target->mapFrom(main().clientArea(), at);
        QTest::mousePress(target, button, {}, local);
        QTest::mouseRelease(target, button, {}, local);
    }
    std::vector<QStringList> commands() { return launcher().commands(); }
};

} // namespace

TEST_F(MainWindowTest, OnlyClicksInTheListAreaActOnTheList) {
    startWith({});
    showResultPage();
    // Tool bar gap, progress bar, heading line, status line, the scroll bar's column.
    const QPoint outside[] = {{111, 10}, {500, 15}, {400, 40}, {100, 370}, {350, 420}, {630, 200}};
    for (QPoint at : outside)
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton})
            EXPECT_TRUE(WithEachModal([&] { clickAt(b, at); }).isEmpty())
                << at.x() << "," << at.y() << " button " << b;
    EXPECT_EQ(WithEachModal([&] {
                  clickAt(Qt::LeftButton, {400, 340});
              }),
              QStringList{QStringLiteral("lumo::SlideDataViewer")}); // slide data of row 17

    // Key modes: a right click outside leaves the level cursor where it is.
    clickToolButton(5);
    clickAt(Qt::RightButton, {100, 77});
    ASSERT_EQ(state().cursor.selectedRow[0], 2);
    clickAt(Qt::RightButton, {111, 10});
    clickAt(Qt::RightButton, {100, 45});
    EXPECT_EQ(state().cursor.selectedRow[0], 2);
}

TEST_F(MainWindowTest, F1OpensTheTopicOfTheHighlightedMenuEntry) {
    startWith({});
    const std::pair<const char*, int> entries[] = {
        {"Archiv &öffnen...", 101},
        {"&Neues Archiv erstellen...", 102},
        {"&Ini-Datei Einstellungen anzeigen", 103},
        {"&Analyse-Dateien anzeigen...", 104},
        {"&Beenden", 105},
        {"&Neue Dias eingeben...", 201},
        {"Neue &Schlüssel  eingeben...", 202},
        {"Dias &editieren...", 203},
        {"Dias &löschen...", 204},
        {"&Kastenbezeichnungen eingeben...", 205},
        {"&Memos eingeben...", 206},
        {"Kopfdaten&felder ändern...", 207},
        {"Kopf&daten eingeben...", 208},
        {"&Fenster bei Suche minimieren (FastModus)", 300},
        {"Dias über &Schlüssel suchen...", 301},
        {"Dias über &Informationstext suchen...", 302},
        {"Dias über &Kastennummer suchen...", 303},
        {"Dias über &Memo suchen...", 304},
        {"Dias über Kopfdaten&felder suchen...", 305},
        {"&1 - Liste der Kastenbezeichnungen erstellen...", 306},
        {"&2 - Liste der verwendeten Schlüssel erstellen...", 307},
        {"&Backup erstellen...", 401},
        {"&Update History anzeigen...", 402},
        {"&System-Einstellungen...", 403},
        {"&Drucker...", 404},
        {"&Letzte Änderung der Schlüssellisten revidieren...", 405},
        {"&Einleitung", 1},
        {"&Tips anzeigen", 505},
        {"&Glossary", 1001},
    };
    main().SetUndoEnabled(true); // a disabled entry cannot be highlighted
    for (const auto& [caption, context] : entries) {
        QAction* entry = main().findAction(U(caption));
        ASSERT_NE(entry, nullptr) << caption;
        QMenu* menu = qobject_cast<QMenu*>(entry->parent());
        ASSERT_NE(menu, nullptr) << caption;
        menu->popup(main().pos());
        menu->setActiveAction(entry);
        QTest::keyClick(menu, Qt::Key_F1);
        EXPECT_EQ(help().lastContext(), context) << caption;
        EXPECT_FALSE(menu->isVisible()) << caption;
    }
    // A top-level menu open with no entry highlighted; then one highlighted in the bar
    // through the keyboard (Alt), without its menu open.
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
    startWith({});
    main().menuBar()->setActiveAction(nullptr);
    // The main window: the topic of the screen mode, as its "HILFE" shows it.
    clickToolButton(5);
    main().softButton(2)->setFocus();
    QTest::keyClick(main().softButton(2), Qt::Key_F1);
    EXPECT_EQ(help().lastContext(), 301);

    // Each dialog, opened the way the user opens it.
    auto menu = [this](const char* caption) { return [this, caption] { triggerMenu(caption); }; };
    const std::vector<std::pair<std::function<void()>, int>> dialogs = {
        {menu("&Kastenbezeichnungen eingeben..."), 205},
        {menu("&Memos eingeben..."), 206},
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
         201}, // the topic of mode 110
        {[this] { messages().ShowNotice(U("Hinweis")); }, 201},
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

TEST_F(MainWindowTest, HelpWindowClosesWithTheMainWindow) {
    startWith({});
    clickSoftButton(4); // HILFE
    ASSERT_NE(help().window(), nullptr);
    ASSERT_TRUE(help().window()->isVisible());
    messages().queue(DialogAnswer::yes());
    main().close();
    // No window is left that would keep the program running.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
}

TEST_F(MainWindowTest, AutoBackupOnCloseClaimsNothingWhenTheCopyFailed) {
    startWith({"[BACKUP]", "AUTO=1", "DIASDDB=1"});
    archive.write("Backup", "a file where the backup directory would go");
    messages().queue(DialogAnswer::yes());
    main().close();
    EXPECT_FALSE(main().isVisible());
    for (const auto& notice : shownOf(ShownDialog::Notice))
        EXPECT_FALSE(notice.text.contains(U("abgeschlossen"))) << notice.text.toStdString();
    EXPECT_EQ(archive.read("Backup"), "a file where the backup directory would go");
}

TEST_F(MainWindowTest, EditorsGetTheFileAsItIsSpelledOnDisk) {
    archive.write("DIALISTE.TXT", "Liste\r\n");
    startWith({});
    triggerMenu("&Ini-Datei Einstellungen anzeigen");
    showResultPage();
    clickSoftButton(1); // TEXT-EDITOR
    ASSERT_EQ(commands().size(), 2u);
    EXPECT_EQ(commands()[0], QStringList({QString::fromStdString(editor), U("DIA.INI")}));
    EXPECT_EQ(commands()[1], QStringList({QString::fromStdString(editor), U("DIALISTE.TXT")}));
    EXPECT_TRUE(shownOf(ShownDialog::Notice).empty());
}

TEST_F(MainWindowTest, UpdateHistoryOpensTheShippedFileOrSaysItIsMissing) {
    startWith({});
    triggerMenu("&Update History anzeigen...");
    EXPECT_TRUE(commands().empty());
    const auto notices = shownOf(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, LaunchFailureText(U("write.exe history.wri")));

    archive.write("HISTORY.WRI", "Version 3.03\r\n");
    triggerMenu("&Update History anzeigen...");
    ASSERT_EQ(commands().size(), 1u);
    EXPECT_EQ(commands()[0], QStringList({Launcher::TextViewProgram(),
                                          Launcher::TextViewMaximisedOption(), U("HISTORY.WRI")}));
}
