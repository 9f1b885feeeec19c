// The numbered status and error texts, the status line, the error and notice dialogs.
#include "ui/MessagesFixture.h"

#include "ui/NoticeDialog.h"
#include "ui/QuestionDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <utility>

using namespace lumo;
using namespace lumo::test;

namespace {

using Texts = std::vector<std::pair<int, const char*>>;

// With 5 slides in 1234 records, 3 keys picked and the search text "KEYWORD2".
const Texts kStatusTexts = {
    {0, "Im Archiv sind 5 Dias in 1234 Datensätzen gespeichert"},
    {3, "Freie Stichwörter ->5<-"},
    {4, "Dias werden im Archiv gesucht und am Bildschirm gelistet"},
    {6, "Markierten Memo-Text in das Clipboard kopiert"},
    {7, "Text vom Clipboard in das Memo eingefügt"},
    {8, "Memo auf Datenträger gesichert"},
    {9, "Memo im Speicher und auf Datenträger gelöscht"},
    {10, "Bitte Schlüssellisten mit der rechten Maustaste justieren und Ebene über Taste "
         "anwählen"},
    {11, "Bitte geben Sie eine Dianummer im Bereich von 1 bis 1234 ein"},
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
const Texts kErrorTexts = {
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
    {15, "Eingabebereich nicht korrekt !\r( max. 1 - 1234 )"},
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
    {71, "Datei KEYWORD2\rkonnte nicht geöffnet werden !"},
    {72, "Globalen Speicher für\rDatei KEYWORD2\rnicht bekommen !"},
    {73, "Datei KEYWORD2\rkonnte nicht erstellt werden !"},
    {80, "Keyword Datei\rFehler Datei löschen!"},
    {81, "Keyword Datei\rFehler Datei umbenennen !"},
};
// A question dialog as the user sees it: captions, message, buttons, place, message width.
QString Describe(const QuestionDialog* r) {
    return QStringList{
        r->windowTitle(),
        r->titleLabel->text(),
        r->messageLabel->text(),
        r->acceptButton->text(),
        r->declineButton->isHidden() ? QString() : r->declineButton->text(),
        QStringLiteral("%1,%2 w%3").arg(r->x()).arg(r->y()).arg(r->messageLabel->width())}
        .join(u'|');
}

} // namespace

TEST_F(MessagesTest, TextsVerbatimAndNumbersWithoutText) {
    state.counters.activeSlides = 5;
    state.counters.totalRecords = 1234;
    state.keys.count = 3;
    state.searchText = "KEYWORD2";
    for (const auto& [n, text] : kStatusTexts)
        EXPECT_EQ(catalog.StatusText(n), U(text)) << "status " << n;
    for (const auto& [n, text] : kErrorTexts)
        EXPECT_EQ(catalog.ErrorText(n), U(text)) << "error " << n;
    state.keys.count = 8;
    EXPECT_EQ(catalog.StatusText(3), U("Freie Stichwörter ->0<-"));
    state.searchText = "Gr\xFCn \x80"; // code page 1252 bytes
    EXPECT_EQ(catalog.ErrorText(3),
              U("Es wurde kein Dia gefunden.\r>>> Grün € <<<\rwar in keinem Text enthalten."));
    for (int n : {1, 2, 5, 12, 14, 23, 27, 29, 32, 34, 37, 1000, -1})
        EXPECT_TRUE(catalog.StatusText(n).isEmpty()) << "status " << n;
    state.currentStatus = 13; // error numbers without a text show, play and change nothing
    for (int n : {0, 22, 24, 30, 33, 36, 52, 55, 70, 74, 79, 82, 500, -4}) {
        EXPECT_TRUE(catalog.ErrorText(n).isEmpty()) << "error " << n;
        catalog.ShowError(n);
    }
    EXPECT_TRUE(catalog.shown().empty() && sound.played().isEmpty() && screen.lines.empty());
    EXPECT_EQ(state.currentStatus, 13);
}
TEST_F(MessagesTest, StatusLineErrorAndQuestionDialogs) {
    catalog.ShowWarningStatus();
    EXPECT_EQ(screen.lines.back().text, U("Im Eingabefeld wurde kein Text eingegeben !"));
    EXPECT_EQ(screen.lines.back().colour, QColor(128, 0, 128));
    catalog.ShowStatus(27); // a number without a text empties the line and is recorded
    EXPECT_TRUE(screen.lines.back().text.isEmpty());
    EXPECT_EQ(state.currentStatus, 27);
    catalog.ShowStatus(13);
    EXPECT_EQ(screen.lines.back().colour, QColor(0, 0, 255));
    state.screenMode = 211;
    screen.lines.clear();
    state.confirmAnswer = false;
    catalog.ShowError(8);
    QuestionDialog* r = catalog.questionDialog();
    EXPECT_EQ(Describe(r), U("Systemmeldung an den Anwender|System Fehler Nr.8|Es können maximal "
                             "8 Schlüssel\nfür ein Dia selektiert werden !|Danke||174,211 w250"));
    EXPECT_TRUE(r->isModal() && !(r->windowFlags() & Qt::WindowCloseButtonHint));
    // Error cue, the click of "Danke", the pause of 50 ms after closing; "Danke" answers 1.
    EXPECT_EQ(sound.played(), L("error hotclik"));
    EXPECT_EQ(sound.delayedMs(), 180 + 50);
    EXPECT_TRUE(state.confirmAnswer);
    // Status 20 while open, then the remembered text; soft buttons off, then mode 211.
    ASSERT_EQ(screen.lines.size(), 2u);
    EXPECT_EQ(screen.lines[0].text + screen.lines[1].text,
              catalog.StatusText(20) + catalog.StatusText(13));
    EXPECT_EQ(screen.captions, std::vector<int>({9, 211}));
    state.settings.sound = false; // no cue, but still the pause after the dialog
    sound.clearRecord();
    catalog.ShowError(4);
    EXPECT_TRUE(sound.played().isEmpty());
    EXPECT_EQ(sound.delayedMs(), 50);
    // The question: "Ja" and "Nein"; Esc leaves no stale "Ja".
    state.settings.sound = true;
    sound.clearRecord();
    screen.captions.clear();
    state.screenMode = 210;
    catalog.queue(DialogAnswer::yes());
    EXPECT_TRUE(catalog.AskConfirmation(U("Soll das sein ?")));
    EXPECT_TRUE(state.confirmAnswer);
    EXPECT_EQ(Describe(r), U("Systemmeldung an den Anwender|Bitte bestätigen Sie die "
                             "Anweisung|Soll das sein ?|Ja|Nein|174,211 w250"));
    EXPECT_EQ(sound.played(), L("bell hotclik"));
    catalog.queue(DialogAnswer::no());
    EXPECT_FALSE(catalog.AskConfirmation(U("Wirklich ?")));
    EXPECT_FALSE(state.confirmAnswer);
    EXPECT_EQ(screen.captions, std::vector<int>({9, 210, 9, 210}));
    catalog.queue(DialogAnswer::yes());
    catalog.AskConfirmation(U("Frage"));
    ASSERT_TRUE(state.confirmAnswer);
    r->Fill(U("Bitte bestätigen Sie die Anweisung"), U("Frage"), true);
    QTest::keyClick(r, Qt::Key_Escape);
    EXPECT_FALSE(state.confirmAnswer);
}
TEST_F(MessagesTest, ErrorBoxesOfProblems) {
    using K = ProblemKind;
    const std::pair<Problem, const char*> rows[] = {
        {{K::KeywordOpenFailed, 0, 2},
         "Fehler|System-Fehler 002\r\rDatei KEYWORD2 konnte nicht geöffnet werden !"},
        {{K::KeywordNoMemory, 0, 3},
         "Fehler|System-Fehler 003\r\rGlobalen Speicher für KEYWORD3 nicht bekommen !"},
        {{K::SlidesOpenFailed, 0, 0}, "Fehler|Lumoretta kann seine Daten nicht lokalisieren !"},
        {{K::ArchiveOpenFailed, 0, 0},
         "Fehler|System-Fehler 001\r\rArchiv DIAS.DDB konnte nicht geöffnet werden !"},
        {Problem::io(112), "Fehler|I/O-Fehler 112"},
        {{K::Error31, 0, 0}, "System Fehler Nr.31|Archiv DIAS.DDB konnte nicht geöffnet werden !"}};
    for (const auto& [problem, shown] : rows) {
        catalog.clearShown();
        catalog.Report(problem);
        ASSERT_EQ(catalog.shown().size(), 1u) << shown;
        EXPECT_EQ(catalog.shown()[0].title + u'|' + catalog.shown()[0].text, U(shown));
    }
    catalog.clearShown();
    catalog.Report(Problem{});
    EXPECT_TRUE(catalog.shown().empty());
}
TEST_F(MessagesTest, ShowNoticeUsesTheNoticeDialog) {
    catalog.ShowNotice(U("Funktion nicht vorhanden\rZweite Zeile"));
    EXPECT_EQ(catalog.shown().at(0).title, U("Lumoretta 3.0 - Systemanalyse"));
    NoticeDialog* h = catalog.noticeDialog();
    EXPECT_EQ(QStringList({h->windowTitle(), h->messageLabel->text(), h->thanksButton->text()}),
              QStringList({U("Rückmeldung an den Anwender"),
                           U("Funktion nicht vorhanden\nZweite Zeile"), U("Danke")}));
    EXPECT_EQ(h->messageLabel->width(), 270);
    EXPECT_EQ(h->pos(), QPoint(178, 190));
    EXPECT_EQ(sound.played(), L("harfe hotclik"));
    EXPECT_EQ(screen.captions, std::vector<int>({9, 0}));
    screen.topLeft = QPoint(300, 20);
    catalog.ShowError(4);
    catalog.ShowNotice(U("x"));
    EXPECT_EQ(catalog.questionDialog()->pos(), QPoint(374, 181));
    EXPECT_EQ(catalog.noticeDialog()->pos(), QPoint(378, 160));
    EXPECT_EQ(catalog.questionDialog()->parentWidget(), &screen.widget);
}
