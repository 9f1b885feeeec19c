// The screen-mode machine of the main window: captions, soft buttons, tool buttons, menu.
#include "ProgramFixture.h"

#include <QProgressBar>
#include <QScrollBar>

using namespace lumo;
using namespace lumo::test;

namespace {
QString U(const char* s) {
    return QString::fromUtf8(s);
}
QStringList Caps(std::initializer_list<const char*> l) {
    QStringList out;
    for (const char* s : l)
        out << U(s);
    return out;
}
} // namespace

class MainModesTest : public ProgramTest {
protected:
    void SetUp() override {
        writeSimpleRecords(3);
        writeIniWithSlides(3);
        writeKeywords(1, {{"Berge", "A1"}, {"Meer", "B1"}, {"Stadt", "C1"}});
        writeKeywords(2, {{"Alpen", "A1A1"}, {"Anden", "A1B1"}});
        writeKeywords(3, {{"Zugspitze", "A1A1A1"}});
        start();
        clearRecords();
    }
    void setMode(int m) {
        state().screenMode = m;
        main().SetScreenCaptions(m);
    }
    QString title() { return main().windowTitle(); }
};

TEST_F(MainModesTest, CaptionTableOfEveryMode) {
    const QString path = QString::fromStdString(archive.dir().string());
    main().SetScreenCaptions(0);
    EXPECT_EQ(buttonCaptions(),
              Caps({"BEARBEITEN", "AUSWERTUNG", "DIENSTE", "HILFE", "FEIERABEND"}));
    EXPECT_EQ(title(), U("Lumoretta 3.03   - Pfad=") + path);

    state().editExisting = false;
    main().SetScreenCaptions(110);
    EXPECT_EQ(buttonCaptions(),
              Caps({"DIA SICHERN", "KEY EDITOR", "KEY ABLAGE", "HILFE", "HAUPTMENUE"}));
    EXPECT_EQ(title(), U("Lumoretta 3.03 - Neues Dia eingeben..."));
    state().editExisting = true;
    main().SetScreenCaptions(110);
    EXPECT_EQ(title(), U("Lumoretta 3.03 - Dia editieren..."));
    state().editExisting = false;

    main().SetScreenCaptions(140);
    EXPECT_EQ(buttonCaptions(),
              Caps({"EBENE <1>", "EBENE <2>", "EBENE <3>", "HILFE", "HAUPTMENUE"}));
    EXPECT_EQ(title(), U("Lumoretta 3.03 - Neue Schlüssel eingeben..."));

    main().SetScreenCaptions(210);
    EXPECT_EQ(buttonCaptions(), Caps({"SUCHE DIAS", "LÖSCHEN", "RESET", "HILFE", "HAUPTMENUE"}));
    EXPECT_EQ(title(), U("Lumoretta 3.03 - Dias über Schlüssel suchen..."));

    main().SetScreenCaptions(211); // keeps the window caption of the key search
    EXPECT_EQ(buttonCaptions(), Caps({"TEXT-EDITOR", "NEUE SUCHE", "", "HILFE", "HAUPTMENUE"}));
    EXPECT_EQ(title(), U("Lumoretta 3.03 - Dias über Schlüssel suchen..."));

    const std::pair<int, const char*> results[] = {{220, " - Dias über Kastennummer suchen..."},
                                                   {240, " - Dias über Informationstext suchen..."},
                                                   {260, " - Dias über Kopfdatenfelder suchen..."}};
    for (const auto& [m, suffix] : results) {
        main().SetScreenCaptions(m);
        EXPECT_EQ(buttonCaptions(), Caps({"TEXT-EDITOR", "NEUE SUCHE", "", "HILFE", "HAUPTMENUE"}))
            << m;
        EXPECT_EQ(title(), U("Lumoretta 3.03") + U(suffix)) << m;
    }
    main().SetScreenCaptions(250);
    EXPECT_EQ(buttonCaptions(),
              Caps({"TEXT-EDITOR", "NEUE SUCHE", "MEMO PRINT", "HILFE", "HAUPTMENUE"}));
    EXPECT_EQ(title(), U("Lumoretta 3.03 - Dias über Memo suchen..."));
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(main().softButton(i)->isEnabled());
}

TEST_F(MainModesTest, CaptionSetNineDisablesAndKeepsCaptions) {
    main().SetScreenCaptions(210);
    const QString before = title();
    main().SetScreenCaptions(9);
    EXPECT_EQ(buttonCaptions(), Caps({"SUCHE DIAS", "LÖSCHEN", "RESET", "HILFE", "HAUPTMENUE"}));
    EXPECT_EQ(title(), before);
    for (int i = 1; i <= 5; ++i)
        EXPECT_FALSE(main().softButton(i)->isEnabled());
    // A disabled button cannot be pressed.
    clickSoftButton(4);
    EXPECT_TRUE(sound().played().isEmpty());
    main().SetScreenCaptions(210);
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(main().softButton(i)->isEnabled());
}

TEST_F(MainModesTest, UnknownCaptionSetEmptiesAllCaptions) {
    main().SetScreenCaptions(9);
    const QString before = title();
    main().SetScreenCaptions(12345);
    EXPECT_EQ(buttonCaptions(), Caps({"", "", "", "", ""}));
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(main().softButton(i)->isEnabled());
    EXPECT_EQ(title(), before);
    main().SetScreenCaptions(999);
    EXPECT_EQ(buttonCaptions(), Caps({"", "", "", "", ""}));
}

TEST_F(MainModesTest, HelpButtonContextPerMode) {
    const std::pair<int, int> table[] = {{0, 1},     {110, 201}, {140, 202}, {210, 301}, {211, 301},
                                         {240, 302}, {220, 303}, {250, 304}, {260, 305}};
    for (const auto& [m, context] : table) {
        setMode(m);
        sound().clearRecord();
        clickSoftButton(4);
        EXPECT_EQ(help().lastContext(), context) << "mode " << m;
        EXPECT_EQ(sound().played(), QStringList{QStringLiteral("hotclik")}) << "mode " << m;
        EXPECT_EQ(state().lastSoftButton, 4);
    }
}

TEST_F(MainModesTest, BusyModeDoesNothingButTheClick) {
    setMode(999);
    state().keys.count = 2;
    for (int i = 1; i <= 5; ++i) {
        clickSoftButton(i);
        EXPECT_EQ(state().lastSoftButton, i);
    }
    EXPECT_EQ(sound().played().size(), 5);
    EXPECT_EQ(sound().played().count(QStringLiteral("hotclik")), 5);
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_EQ(state().screenMode, 999);
    EXPECT_EQ(help().lastContext(), 0);
    EXPECT_TRUE(main().isVisible());
}

TEST_F(MainModesTest, EvaluationInModeZeroEntersTheKeySearchWithOneClick) {
    state().keys.count = 3;
    state().keys.entries[0] = {"A1", "Berge"};
    clickSoftButton(2);
    EXPECT_EQ(state().screenMode, 210);
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("hotclik")});
    EXPECT_EQ(state().keys.count, 0);
    EXPECT_TRUE(state().keys.entries[0].code.empty());
    EXPECT_TRUE(state().keys.entries[0].name.empty());
    EXPECT_FALSE(main().pictureVisible());
    EXPECT_FALSE(state().paintLock);
    EXPECT_EQ(statusLineText(), U("Freie Stichwörter ->8<-"));
    EXPECT_EQ(buttonCaptions(), Caps({"SUCHE DIAS", "LÖSCHEN", "RESET", "HILFE", "HAUPTMENUE"}));
    EXPECT_TRUE(main().levelCursor(1)->isVisible());
    EXPECT_TRUE(main().levelHeading(1)->isVisible());
}

TEST_F(MainModesTest, KeySearchNeedsSlides) {
    program.reset();
    archive.write("dias.ddb", "");
    writeIniWithSlides(0);
    start();
    clearRecords();
    clickToolButton(5);
    EXPECT_TRUE(errorShown(53));
    EXPECT_EQ(state().screenMode, 0);
    EXPECT_FALSE(state().paintLock); // the lock does not stay set on the refusal
}

TEST_F(MainModesTest, SearchSlidesWithoutKeysShowsError1) {
    clickToolButton(5);
    clearRecords();
    clickSoftButton(1);
    EXPECT_TRUE(errorShown(1));
    EXPECT_EQ(sound().played().first(), QStringLiteral("hotclik"));
    EXPECT_EQ(state().screenMode, 210);
}

TEST_F(MainModesTest, MainMenuFromKeySearchRestoresTheStartScreen) {
    clickToolButton(5);
    ASSERT_EQ(state().screenMode, 210);
    clickSoftButton(5);
    EXPECT_EQ(state().screenMode, 0);
    EXPECT_TRUE(main().pictureVisible());
    EXPECT_TRUE(main().titleLabel(1)->isVisible());
    EXPECT_FALSE(main().levelHeading(1)->isVisible());
    EXPECT_FALSE(main().levelCursor(1)->isVisible());
    EXPECT_EQ(buttonCaptions(),
              Caps({"BEARBEITEN", "AUSWERTUNG", "DIENSTE", "HILFE", "FEIERABEND"}));
    EXPECT_EQ(statusLineText(), U("Im Archiv sind 3 Dias in 3 Datensätzen gespeichert"));
}

TEST_F(MainModesTest, MainMenuFromResultModeHidesTheScrollBar) {
    setMode(220);
    main().SetupResultScrollBar(30);
    ASSERT_TRUE(main().scrollBar()->isVisible());
    clickSoftButton(5);
    EXPECT_FALSE(main().scrollBar()->isVisible());
    EXPECT_EQ(state().screenMode, 0);
}

TEST_F(MainModesTest, ThirdButtonInResultModes) {
    setMode(211);
    clickSoftButton(3);
    auto notices = shownOf(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, U("Funktion nicht vorhanden"));

    for (int m : {220, 240, 260}) {
        setMode(m);
        clearRecords();
        clickSoftButton(3);
        EXPECT_TRUE(messages().shown().empty()) << m;
        EXPECT_TRUE(launcher().started().isEmpty()) << m;
        EXPECT_EQ(sound().played(), QStringList{QStringLiteral("hotclik")}) << m;
        EXPECT_EQ(state().screenMode, m);
    }
}

TEST_F(MainModesTest, TextEditorStartsTheEditorWithTheReport) {
    writeIni({"[LUMORETTA]", "DIAS=3", "EDITOR=mein-editor"});
    state().settings.editor = "mein-editor";
    setMode(240);
    clickSoftButton(1);
    ASSERT_EQ(launcher().started().size(), 1);
    EXPECT_EQ(launcher().started().first(), U("mein-editor dialiste.txt"));
}

TEST_F(MainModesTest, SoftButtonClickRulesInModeZero) {
    // Buttons 1 and 2 start commands that play the click themselves.
    state().keys.count = 0;
    clickSoftButton(2); // key search set-up
    EXPECT_EQ(sound().played().count(QStringLiteral("hotclik")), 1);
}

TEST_F(MainModesTest, PrinterSetUpReturnsToTheMainMenu) {
    clickToolButton(5);
    ASSERT_EQ(state().screenMode, 210);
    clearRecords();
    clickToolButton(11);
    EXPECT_EQ(state().screenMode, 0);
    EXPECT_TRUE(main().pictureVisible());
    EXPECT_EQ(sound().played(), QStringList{QStringLiteral("hotclik")});
    EXPECT_EQ(state().currentStatus, 0);
    EXPECT_EQ(buttonCaptions(),
              Caps({"BEARBEITEN", "AUSWERTUNG", "DIENSTE", "HILFE", "FEIERABEND"}));
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(main().softButton(i)->isEnabled());
}

TEST_F(MainModesTest, ToolButtonHints) {
    const char* hints[] = {"Neues Dia erfassen",
                           "Dias editieren",
                           "Dias löschen",
                           "Neue Schlüssel eingeben",
                           "Dias über Schlüssel suchen",
                           "Dias über Informationstext suchen",
                           "Dias über Kastennummer suchen",
                           "Dias über Memo suchen",
                           "Backup erstellen",
                           "Systemeinstellungen ändern",
                           "Druckereinrichtung"};
    for (int i = 1; i <= 11; ++i) {
        EXPECT_EQ(main().toolButton(i)->toolTip(), U(hints[i - 1])) << i;
        EXPECT_EQ(main().toolButton(i)->size(), QSize(25, 25));
        EXPECT_EQ(main().toolButton(i)->y(), 3);
    }
    EXPECT_EQ(main().toolButton(13)->toolTip(), U("Hilfe anzeigen"));
    EXPECT_TRUE(main().toolButton(12)->isHidden());
    // The buttons do not overlap each other or the progress bar.
    for (int i = 1; i <= 13; ++i) {
        if (i == 12)
            continue;
        EXPECT_LT(main().toolButton(i)->geometry().right(), 425) << i;
        if (i > 1 && i != 13) {
            EXPECT_GT(main().toolButton(i)->x(), main().toolButton(i - 1)->geometry().right());
        }
    }
    EXPECT_EQ(main().progressBar()->geometry(), QRect(425, 7, 203, 16));
}

TEST_F(MainModesTest, MenuTreeHoldsEveryEntry) {
    const char* entries[] = {"Archiv &öffnen...",
                             "&Neues Archiv erstellen...",
                             "&Ini-Datei Einstellungen anzeigen",
                             "&Analyse-Dateien anzeigen...",
                             "&Beenden",
                             "&Neue Dias eingeben...",
                             "Neue &Schlüssel  eingeben...",
                             "Dias &editieren...",
                             "Dias &löschen...",
                             "&Kastenbezeichnungen eingeben...",
                             "&Memos eingeben...",
                             "Kopfdaten&felder ändern...",
                             "Kopf&daten eingeben...",
                             "Dias über &Schlüssel suchen...",
                             "Dias über &Informationstext suchen...",
                             "Dias über &Kastennummer suchen...",
                             "Dias über &Memo suchen...",
                             "Dias über Kopfdaten&felder suchen...",
                             "&Fenster bei Suche minimieren (FastModus)",
                             "&1 - Liste der Kastenbezeichnungen erstellen...",
                             "&2 - Liste der verwendeten Schlüssel erstellen...",
                             "&Backup erstellen...",
                             "&Update History anzeigen...",
                             "&System-Einstellungen...",
                             "&Drucker...",
                             "&Letzte Änderung der Schlüssellisten revidieren...",
                             "&Einleitung",
                             "&Index",
                             "&Glossary",
                             "&Tips anzeigen"};
    for (const char* e : entries)
        EXPECT_NE(main().findAction(U(e)), nullptr) << e;
    for (const char* top : {"&Datei", "&Bearbeiten", "&Auswertung", "Dien&ste", "&Hilfe"})
        EXPECT_NE(main().findAction(U(top)), nullptr) << top;
}

TEST_F(MainModesTest, FastModeCaptionAlternates) {
    QAction* a = main().fastModeAction();
    EXPECT_FALSE(state().fastMode);
    a->trigger();
    EXPECT_TRUE(state().fastMode);
    EXPECT_EQ(a->text(), U("Fenster bei Suche normal (SlowModus)"));
    a->trigger();
    EXPECT_FALSE(state().fastMode);
    EXPECT_EQ(a->text(), U("Fenster bei Suche minimieren (FastModus)"));
    EXPECT_EQ(sound().played().count(QStringLiteral("hotclik")), 2);
}

TEST_F(MainModesTest, HelpMenuContexts) {
    triggerMenu("&Index");
    EXPECT_EQ(help().lastContext(), 1002);
    triggerMenu("&Glossary");
    EXPECT_EQ(help().lastContext(), 1001);
    triggerMenu("&Einleitung");
    EXPECT_EQ(help().lastContext(), 1);
    clickToolButton(13);
    EXPECT_EQ(help().lastContext(), 1);
    EXPECT_EQ(sound().played().count(QStringLiteral("hotclik")), 4);
}

TEST_F(MainModesTest, UpdateHistoryAndIniFileStartPrograms) {
    archive.write("history.wri", "Version 3.03\r\n");
    triggerMenu("&Update History anzeigen...");
    triggerMenu("&Ini-Datei Einstellungen anzeigen");
    ASSERT_EQ(launcher().started().size(), 2);
    EXPECT_EQ(launcher().started()[0], U("write.exe history.wri"));
    EXPECT_EQ(launcher().started()[1], U("notepad.exe DIA.INI"));
}

TEST_F(MainModesTest, FailedProgramStartShowsTheNotice) {
    launcher().setTestMode(true, true);
    triggerMenu("&Update History anzeigen...");
    auto notices = shownOf(ShownDialog::Notice);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, U("Leider konnte Lumoretta die Datei\rwrite.exe history.wri\roder "
                                 "die erforderliche Anwendung\rnicht auf Ihrem System "
                                 "lokalisieren !"));
}
