// The numbered status and error texts, the status line and the error boxes.
#include "ui/MessagesFixture.h"

#include "platform/Cp1252.h"
#include "ui/NoticeDialog.h"
#include "ui/QuestionDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <map>

using namespace lumo;
using namespace lumo::test;

namespace {

const std::map<int, const char*> kStatusTexts = {
    {4, "Dias werden im Archiv gesucht und am Bildschirm gelistet"},
    {6, "Markierten Memo-Text in das Clipboard kopiert"},
    {7, "Text vom Clipboard in das Memo eingefügt"},
    {8, "Memo auf Datenträger gesichert"},
    {9, "Memo im Speicher und auf Datenträger gelöscht"},
    {10, "Bitte Schlüssellisten mit der rechten Maustaste justieren und Ebene über Taste "
         "anwählen"},
    {13, "Bitte wählen Sie eine neue Funktion aus"},
    {15, "Der geänderte Kopfdaten-Feldname wurde in die Liste kopiert."},
    {16, "Bitte warten - Datendatei wird für Ausdruck erstellt..."},
    {17, "Bitte geben Sie nun den neuen Schlüssel für die Stichwortebene <1> ein"},
    {18, "Bitte geben Sie nun den neuen Schlüssel für die Stichwortebene <2> ein"},
    {19, "Bitte geben Sie nun den neuen Schlüssel für die Stichwortebene <3> ein"},
    {20, "Bitte bestätigen Sie den Dialog-Requester"},
    {21, "Bitte wählen Sie eine Dia-Datenbank aus"},
    {22, "Der geänderte Feldname-Listeneintrag wurde in die Liste kopiert"},
    {28, "Bitte warten - Dateien werden überprüft und bearbeitet..."},
    {30, "Bitte warten - Dateien werden gesichert..."},
    {31, "Ihre Einstellungen wurden angemeldet und in der Datei DIA.INI abgespeichert"},
    {35, "Selektierte Schlüssel wurde(n) in die KEY ABLAGE kopiert !"},
    {36, "Gespeicherte Schlüssel wurde(n) aus der KEY ABLAGE übernommen !"},
};

const std::map<int, const char*> kErrorTexts = {
    {1, "Kein Schlüssel für eine Suche selektiert !"},
    {2, "Suchanfrage leider erfolglos.\rDie eingegebene Kastennummer gibt es noch nicht !"},
    {4, "Leer-String(s) als Eingabe nicht akzeptabel !"},
    {5, "Kastennummer nur im Bereich 1-255 möglich !"},
    {6, "Magazingroesse nur im Bereich 0-99 möglich !"},
    {7, "Ein Dia mit dieser Nummer ist nicht gespeichert !"},
    {8, "Es können maximal 8 Schlüssel\rfür ein Dia selektiert werden !"},
    {9, "Leider wurde im Archiv kein Dia gefunden das Ihren Vorgaben an Schlüsseln komplett "
        "entsprach !"},
    {10, "Es sind noch keine Schlüssel selektiert worden !"},
    {11, "Datenbank Anfang bzw. Ende ist erreicht !"},
    {12, "Dieser Schlüssel wurde bereits verwendet !"},
    {13, "Ein leeres Memo-Feld wird nicht abgespeichert !"},
    {14, "Kastengroesse nur im Bereich 1-24 möglich !"},
    {16, "Die Schlüsselliste der gewählten Stichwortebene belegt bereits die max. Anzahl von 17 "
         "Schlüsseln !"},
    {17, "Der erste Buchstabe eines Schlüssel muß im\rBereich [A]-[Z] liegen !"},
    {18, "Ein Schlüssel mit diesem Namen existiert bereits !"},
    {19, "Zuviele Schlüssel mit gleichem Anfangsbuchstaben !"},
    {20, "Hirachie-Fehler !\rReferenz-Schlüssel auf\rEbene <1> fehlt !"},
    {21, "Hirachie-Fehler !\rReferenz-Schlüssel auf\rEbene <2> fehlt !"},
    {23, "Leider sind noch keine Schlüssel\rin der KEY ABLAGE deponiert !"},
    {26, "Name der Datenbank bzw. Verzeichnis nicht korrekt !"},
    {29, "In das Editfeld sollten Sie nur Zahlen eingeben !"},
    {31, "Archiv DIAS.DDB konnte nicht geöffnet werden !"},
    {34, "Es wurde kein Dia gefunden das\rdie gewählten Kopfdaten enthielt !"},
    {35, "Dianummer bzw. Satznummer fehlt !"},
    {53, "Im Archiv sind noch keine Dias gespeichert !"},
    {54, "Es muß mindestens 1 Schlüssel pro Ebene gespeichert sein !"},
    {80, "Keyword Datei\rFehler Datei löschen!"},
    {81, "Keyword Datei\rFehler Datei umbenennen !"},
};

} // namespace

TEST_F(MessagesTest, StatusTextsVerbatimAndNumbersWithoutText) {
    for (const auto& [n, text] : kStatusTexts)
        EXPECT_EQ(catalog.StatusText(n), U(text)) << "status " << n;
    for (int n : {1, 2, 5, 12, 14, 23, 24, 25, 26, 27, 29, 32, 33, 34, 37, 38, 99, 1000, -1})
        EXPECT_TRUE(catalog.StatusText(n).isEmpty()) << "status " << n;
}

TEST_F(MessagesTest, StatusTextsWithCounters) {
    state.counters.activeSlides = 5;
    state.counters.totalRecords = 7;
    EXPECT_EQ(catalog.StatusText(0), U("Im Archiv sind 5 Dias in 7 Datensätzen gespeichert"));
    EXPECT_EQ(catalog.StatusText(11),
              U("Bitte geben Sie eine Dianummer im Bereich von 1 bis 7 ein"));
    state.keys.count = 0;
    EXPECT_EQ(catalog.StatusText(3), U("Freie Stichwörter ->8<-"));
    state.keys.count = 3;
    EXPECT_EQ(catalog.StatusText(3), U("Freie Stichwörter ->5<-"));
    state.keys.count = 8;
    EXPECT_EQ(catalog.StatusText(3), U("Freie Stichwörter ->0<-"));
}

TEST_F(MessagesTest, ShowStatusWritesBlueLineAndRecordsNumber) {
    catalog.ShowStatus(13);
    ASSERT_EQ(screen.lines.size(), 1u);
    EXPECT_EQ(screen.lines.back().text, U("Bitte wählen Sie eine neue Funktion aus"));
    EXPECT_EQ(screen.lines.back().colour, QColor(0, 0, 255));
    EXPECT_EQ(state.currentStatus, 13);

    // A number without a text empties the line and is still recorded.
    catalog.ShowStatus(27);
    ASSERT_EQ(screen.lines.size(), 2u);
    EXPECT_TRUE(screen.lines.back().text.isEmpty());
    EXPECT_EQ(state.currentStatus, 27);

    catalog.ShowWarningStatus();
    EXPECT_EQ(screen.lines.back().text, U("Im Eingabefeld wurde kein Text eingegeben !"));
    EXPECT_EQ(screen.lines.back().colour, QColor(128, 0, 128));
    EXPECT_EQ(state.currentStatus, 1);
    // ShowStatus(1) itself has no text: the purple hint is its own operation.
    catalog.ShowStatus(1);
    EXPECT_TRUE(screen.lines.back().text.isEmpty());
}

TEST_F(MessagesTest, ErrorTextsVerbatim) {
    for (const auto& [n, text] : kErrorTexts)
        EXPECT_EQ(catalog.ErrorText(n), U(text)) << "error " << n;
}

TEST_F(MessagesTest, ErrorTextsWithSearchTextAndCounters) {
    state.searchText = "Gr\xFCn \x80"; // code page 1252 bytes
    EXPECT_EQ(catalog.ErrorText(3),
              U("Es wurde kein Dia gefunden.\r>>> Grün € <<<\rwar in keinem Text enthalten."));
    state.searchText = "KEYWORD2";
    EXPECT_EQ(catalog.ErrorText(71), U("Datei KEYWORD2\rkonnte nicht geöffnet werden !"));
    EXPECT_EQ(catalog.ErrorText(72), U("Globalen Speicher für\rDatei KEYWORD2\rnicht bekommen !"));
    EXPECT_EQ(catalog.ErrorText(73), U("Datei KEYWORD2\rkonnte nicht erstellt werden !"));
    state.counters.totalRecords = 1234;
    EXPECT_EQ(catalog.ErrorText(15), U("Eingabebereich nicht korrekt !\r( max. 1 - 1234 )"));
}

TEST_F(MessagesTest, ErrorNumbersWithoutTextShowAndPlayNothing) {
    state.currentStatus = 13;
    std::vector<int> silent = {0, 22, 24, 25, 27, 28, 30, 32, 33, 74, 75, 79, 82, 500, -4};
    for (int n = 36; n <= 52; ++n)
        silent.push_back(n);
    for (int n = 55; n <= 70; ++n)
        silent.push_back(n);
    for (int n : silent) {
        EXPECT_TRUE(catalog.ErrorText(n).isEmpty()) << "error " << n;
        catalog.ShowError(n);
    }
    EXPECT_TRUE(catalog.shown().empty());
    EXPECT_TRUE(sound.played().isEmpty());
    EXPECT_EQ(sound.delayedMs(), 0);
    EXPECT_TRUE(screen.lines.empty());
    EXPECT_TRUE(screen.captions.empty());
    EXPECT_EQ(state.currentStatus, 13);
}

TEST_F(MessagesTest, ShowErrorFillsTheDialogAndRestoresScreen) {
    state.screenMode = 211;
    state.counters.activeSlides = 2;
    state.counters.totalRecords = 2;
    catalog.ShowStatus(13);
    screen.lines.clear();
    state.confirmAnswer = false;

    catalog.ShowError(8);

    ASSERT_EQ(catalog.shown().size(), 1u);
    const ShownDialog& d = catalog.shown().front();
    EXPECT_EQ(d.kind, ShownDialog::Error);
    EXPECT_EQ(d.number, 8);
    EXPECT_EQ(d.title, U("System Fehler Nr.8")); // no blank before the number
    EXPECT_EQ(d.text, U("Es können maximal 8 Schlüssel\rfür ein Dia selektiert werden !"));

    QuestionDialog* r = catalog.questionDialog();
    EXPECT_EQ(r->windowTitle(), U("Systemmeldung an den Anwender"));
    EXPECT_EQ(r->titleLabel->text(), U("System Fehler Nr.8"));
    // CR is a line break on screen.
    EXPECT_EQ(r->messageLabel->text(),
              U("Es können maximal 8 Schlüssel\nfür ein Dia selektiert werden !"));
    EXPECT_EQ(r->messageText(), d.text);
    EXPECT_EQ(r->messageLabel->width(), 250);
    EXPECT_TRUE(r->messageLabel->wordWrap());
    EXPECT_EQ(r->acceptButton->text(), U("Danke"));
    EXPECT_TRUE(r->declineButton->isHidden());
    EXPECT_EQ(r->pos(), QPoint(174, 211));
    EXPECT_TRUE(r->isModal());
    EXPECT_TRUE(r->windowFlags() & Qt::Tool);
    EXPECT_FALSE(r->windowFlags() & Qt::WindowCloseButtonHint);

    // Error cue first, the click of "Danke" after; the pause of 50 ms after closing.
    EXPECT_EQ(sound.played(), QStringList({QStringLiteral("error"), QStringLiteral("hotclik")}));
    EXPECT_EQ(sound.delayedMs(), 180 + 50);
    EXPECT_TRUE(state.confirmAnswer); // "Danke" answers 1

    // Status 20 while open, then the remembered text; soft buttons off, then mode 211.
    ASSERT_EQ(screen.lines.size(), 2u);
    EXPECT_EQ(screen.lines[0].text, catalog.StatusText(20));
    EXPECT_EQ(screen.lines[1].text, catalog.StatusText(13));
    EXPECT_EQ(state.currentStatus, 13);
    EXPECT_EQ(screen.captions, std::vector<int>({9, 211}));
}

TEST_F(MessagesTest, ErrorTitleForTwoDigitNumbers) {
    catalog.ShowError(53);
    ASSERT_EQ(catalog.shown().size(), 1u);
    EXPECT_EQ(catalog.shown()[0].title, U("System Fehler Nr.53"));
}

TEST_F(MessagesTest, SoundOffMeansNoCueButStillThePauseAfterTheDialog) {
    state.settings.sound = false;
    catalog.ShowError(4);
    EXPECT_TRUE(sound.played().isEmpty());
    EXPECT_EQ(sound.delayedMs(), 50);
    ASSERT_EQ(catalog.shown().size(), 1u);
}

TEST_F(MessagesTest, AskConfirmationAnswers) {
    state.screenMode = 210;
    catalog.queue(DialogAnswer::yes());
    EXPECT_TRUE(catalog.AskConfirmation(U("Soll das sein ?")));
    EXPECT_TRUE(state.confirmAnswer);

    QuestionDialog* r = catalog.questionDialog();
    EXPECT_EQ(r->titleLabel->text(), U("Bitte bestätigen Sie die Anweisung"));
    EXPECT_EQ(r->acceptButton->text(), U("Ja"));
    EXPECT_EQ(r->declineButton->text(), U("Nein"));
    EXPECT_FALSE(r->declineButton->isHidden());
    EXPECT_EQ(r->pos(), QPoint(174, 211));
    EXPECT_EQ(sound.played(), QStringList({QStringLiteral("bell"), QStringLiteral("hotclik")}));

    catalog.queue(DialogAnswer::no());
    EXPECT_FALSE(catalog.AskConfirmation(U("Wirklich ?")));
    EXPECT_FALSE(state.confirmAnswer);

    // No queued answer: the question is answered "Nein" and marked, even after an old "Ja".
    state.confirmAnswer = true;
    EXPECT_FALSE(catalog.AskConfirmation(U("Noch einmal ?")));
    EXPECT_FALSE(state.confirmAnswer);
    ASSERT_EQ(catalog.shown().size(), 3u);
    EXPECT_FALSE(catalog.shown()[0].unanswered);
    EXPECT_TRUE(catalog.shown()[2].unanswered);
    EXPECT_EQ(catalog.shown()[2].kind, ShownDialog::Confirm);
    EXPECT_EQ(catalog.shown()[2].text, U("Noch einmal ?"));
    EXPECT_EQ(screen.captions, std::vector<int>({9, 210, 9, 210, 9, 210}));
}

TEST_F(MessagesTest, EscapeOnTheQuestionMeansNo) {
    catalog.queue(DialogAnswer::yes());
    catalog.AskConfirmation(U("Frage"));
    ASSERT_TRUE(state.confirmAnswer);
    // The user leaves the question with Esc: no stale "Ja" remains.
    QuestionDialog* r = catalog.questionDialog();
    r->Fill(U("Bitte bestätigen Sie die Anweisung"), U("Frage"), true);
    QTest::keyClick(r, Qt::Key_Escape);
    EXPECT_FALSE(state.confirmAnswer);
}

TEST_F(MessagesTest, ErrorBoxesAndProblems) {
    catalog.Report(Problem{ProblemKind::KeywordOpenFailed, 0, 2});
    catalog.Report(Problem{ProblemKind::KeywordNoMemory, 0, 3});
    catalog.Report(Problem{ProblemKind::SlidesOpenFailed, 0, 0});
    catalog.Report(Problem{ProblemKind::ArchiveOpenFailed, 0, 0});
    catalog.Report(Problem::io(112));
    catalog.Report(Problem{ProblemKind::Error31, 0, 0});
    catalog.Report(Problem{});

    const auto& s = catalog.shown();
    ASSERT_EQ(s.size(), 6u);
    EXPECT_EQ(s[0].kind, ShownDialog::ErrorBox);
    EXPECT_EQ(s[0].title, U("Fehler"));
    EXPECT_EQ(s[0].text, U("System-Fehler 002\r\rDatei KEYWORD2 konnte nicht geöffnet werden !"));
    EXPECT_EQ(s[1].text, U("System-Fehler 003\r\rGlobalen Speicher für KEYWORD3 nicht bekommen !"));
    EXPECT_EQ(s[2].text, U("Lumoretta kann seine Daten nicht lokalisieren !"));
    EXPECT_EQ(s[3].text, U("System-Fehler 001\r\rArchiv DIAS.DDB konnte nicht geöffnet werden !"));
    EXPECT_EQ(s[4].kind, ShownDialog::IoError);
    EXPECT_EQ(s[4].text, U("I/O-Fehler 112"));
    EXPECT_EQ(s[5].kind, ShownDialog::Error);
    EXPECT_EQ(s[5].number, 31);
    // Each error box comes after the "error" cue.
    EXPECT_EQ(sound.played().count(QStringLiteral("error")), 5);
}

TEST_F(MessagesTest, ShowNoticeUsesTheNoticeDialog) {
    catalog.ShowStatus(0);
    state.screenMode = 0;
    screen.captions.clear();
    catalog.ShowNotice(U("Funktion nicht vorhanden\rZweite Zeile"));
    ASSERT_EQ(catalog.shown().size(), 1u);
    EXPECT_EQ(catalog.shown()[0].kind, ShownDialog::Notice);
    EXPECT_EQ(catalog.shown()[0].title, U("Lumoretta 3.0 - Systemanalyse"));
    NoticeDialog* h = catalog.noticeDialog();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->windowTitle(), U("Rückmeldung an den Anwender"));
    EXPECT_EQ(h->messageLabel->text(), U("Funktion nicht vorhanden\nZweite Zeile"));
    EXPECT_EQ(h->messageLabel->width(), 270);
    EXPECT_EQ(h->thanksButton->text(), U("Danke"));
    EXPECT_EQ(h->pos(), QPoint(178, 190));
    EXPECT_EQ(sound.played(), QStringList({QStringLiteral("harfe"), QStringLiteral("hotclik")}));
    EXPECT_EQ(screen.captions, std::vector<int>({9, 0}));
    EXPECT_EQ(state.currentStatus, 0);
}

TEST_F(MessagesTest, DialogsFollowTheMainWindow) {
    screen.topLeft = QPoint(300, 20);
    catalog.ShowError(4);
    catalog.ShowNotice(U("x"));
    EXPECT_EQ(catalog.questionDialog()->pos(), QPoint(374, 181));
    EXPECT_EQ(catalog.noticeDialog()->pos(), QPoint(378, 160));
    // The dialogs belong to the main window.
    EXPECT_EQ(catalog.questionDialog()->parentWidget(), &screen.widget);
}
