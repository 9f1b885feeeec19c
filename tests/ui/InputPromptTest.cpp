// The one-line input dialog: set-up per kind, the checks of "&Suchen", "&Beenden", help.
#include "ui/MessagesFixture.h"

#include "platform/Cp1252.h"
#include "ui/InputPrompt.h"
#include "ui/QuestionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace lumo;
using namespace lumo::test;

namespace {

std::vector<int> ErrorsShown(const MessageCatalog& c) {
    std::vector<int> out;
    for (const auto& d : c.shown())
        if (d.kind == ShownDialog::Error)
            out.push_back(d.number);
    return out;
}

// Types text key by key as the keyboard gives it (any character, not only ASCII).
void TypeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

} // namespace

class PromptTest : public MessagesTest {
protected:
    InputPrompt* dlg() { return catalog.inputPrompt(); }
};

TEST_F(PromptTest, SetUpPerKind) {
    struct Row {
        int kind;
        const char* preset;
        int maxLength;
        const char* check;
        bool checkVisible;
        const char* prompt;
    };
    state.searchText = "<2>";
    const Row rows[] = {
        {1, "Dia wurde entnommen / Platz frei", 32, "&Groß- / Kleinschreibung unterscheiden", true,
         "Bitte geben Sie nun den gewünschten Informationstext für die Suche ein."},
        {2, "", 3, "&Archiv komplett durchsuchen", false,
         "Bitte geben Sie nun die gewünschte Kastennummer für die Suche ein."},
        {3, "", 32, "&Groß- / Kleinschreibung unterscheiden", true,
         "Bitte geben Sie nun den gewünschten Memotext für die Suche ein."},
        {4, "", 5, "", false, "Bitte geben Sie nun die gewünschte Dianummer ein."},
        {5, "", 18, "", false,
         "Bitte geben Sie den neuen Schlüssel für die Stichwortebene <2> ein."},
    };
    for (const Row& r : rows) {
        catalog.SetPromptText(U("alter Text"));
        catalog.queue(DialogAnswer::cancel());
        catalog.SearchPrompt(r.kind);
        SCOPED_TRACE(r.kind);
        EXPECT_EQ(dlg()->input->text(), U(r.preset));
        EXPECT_EQ(dlg()->input->maxLength(), r.maxLength);
        EXPECT_EQ(dlg()->optionBox->text(), U(r.check));
        EXPECT_EQ(!dlg()->optionBox->isHidden(), r.checkVisible);
        EXPECT_EQ(dlg()->promptLabel->text(), U(r.prompt));
        EXPECT_EQ(dlg()->promptLabel->width(), 270);
        EXPECT_EQ(dlg()->kindLabel->text(), QString::number(r.kind));
        EXPECT_TRUE(dlg()->kindLabel->isHidden());
        EXPECT_EQ(catalog.shown().back().kind, ShownDialog::Prompt);
        EXPECT_EQ(catalog.shown().back().number, r.kind);
        EXPECT_EQ(catalog.shown().back().text, U(r.prompt));
    }
    // Kind 6: a directory proposal and the longest input.
    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(6);
    EXPECT_FALSE(dlg()->input->text().isEmpty());
    EXPECT_EQ(dlg()->input->maxLength(), 255);
    EXPECT_TRUE(dlg()->optionBox->isHidden());
    EXPECT_EQ(dlg()->promptLabel->text(),
              U("Bitte geben Sie nun den gewünschten Pfad für das neue Archiv ein."));

    EXPECT_EQ(dlg()->windowTitle(), U("Systemdatenerfassung"));
    EXPECT_EQ(dlg()->searchButton->text(), U("&Suchen"));
    EXPECT_TRUE(dlg()->searchButton->isDefault());
    EXPECT_EQ(dlg()->helpButton->text(), U("&Hilfe"));
    EXPECT_EQ(dlg()->quitButton->text(), U("&Beenden"));
    EXPECT_EQ(dlg()->pos(), QPoint(154, 199));
}

TEST_F(PromptTest, BoxNumberRefusesOutOfRangeAndAcceptsLimit) {
    state.searchConfirmed = false;
    for (const char* bad : {"0", "256", "12a", "", "-3", "+"})
        catalog.queue(DialogAnswer::type(U(bad)));
    catalog.queue(DialogAnswer::type(U("255")));
    catalog.SearchPrompt(2);
    EXPECT_EQ(ErrorsShown(catalog), std::vector<int>({5, 5, 5, 5, 5, 5}));
    EXPECT_EQ(state.boxNumber, 255);
    EXPECT_TRUE(state.searchConfirmed);
    EXPECT_EQ(catalog.pendingAnswers(), 0u);
    // Every press of "&Suchen" gives the camera cue with its pause.
    EXPECT_EQ(sound.played().count(QStringLiteral("camera1")), 7);
}

TEST_F(PromptTest, BoxNumberOneIsAccepted) {
    catalog.queue(DialogAnswer::type(U("1")));
    catalog.SearchPrompt(2);
    EXPECT_TRUE(ErrorsShown(catalog).empty());
    EXPECT_EQ(state.boxNumber, 1);
    EXPECT_TRUE(state.searchConfirmed);
}

TEST_F(PromptTest, RefusalKeepsDialogOpenAndRestoresScreenEachTime) {
    state.screenMode = 220;
    catalog.ShowStatus(13);
    screen.lines.clear();
    catalog.queue(DialogAnswer::type(U("300")));
    catalog.queue(DialogAnswer::type(U("7")));
    catalog.SearchPrompt(2);
    // prompt opens (9); error opens (9) and closes (220); refusal disables again (9);
    // prompt closes (220).
    EXPECT_EQ(screen.captions, std::vector<int>({9, 9, 220, 9, 220}));
    EXPECT_EQ(state.currentStatus, 13);
    EXPECT_EQ(screen.lines.back().text, catalog.StatusText(13));
    EXPECT_EQ(state.boxNumber, 7);
    EXPECT_FALSE(dlg()->isVisible());
    // bell, camera (refused), error, click of "Danke", camera (accepted)
    EXPECT_EQ(sound.played(), QStringList({QStringLiteral("bell"), QStringLiteral("camera1"),
                                           QStringLiteral("error"), QStringLiteral("hotclik"),
                                           QStringLiteral("camera1")}));
    EXPECT_EQ(sound.delayedMs(), 781 + (180 + 50) + 781 + 50);
}

TEST_F(PromptTest, SlideNumberBounds) {
    state.counters.totalRecords = 40;
    catalog.queue(DialogAnswer::type(U("1")));
    catalog.SearchPrompt(4);
    EXPECT_EQ(state.currentSlide, 1);
    EXPECT_TRUE(state.searchConfirmed);

    state.searchConfirmed = false;
    catalog.queue(DialogAnswer::type(U("40")));
    catalog.SearchPrompt(4);
    EXPECT_EQ(state.currentSlide, 40);
    EXPECT_TRUE(state.searchConfirmed);

    state.searchConfirmed = false;
    catalog.clearShown();
    catalog.queue(DialogAnswer::type(U("41")));
    catalog.queue(DialogAnswer::type(U("0")));
    catalog.queue(DialogAnswer::type(U("x1")));
    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(4);
    EXPECT_EQ(ErrorsShown(catalog), std::vector<int>({7, 7, 7}));
    EXPECT_EQ(state.currentSlide, 40);
    EXPECT_FALSE(state.searchConfirmed);
}

TEST_F(PromptTest, SlideNumberInEmptyArchiveIsRefused) {
    state.counters.totalRecords = 0;
    catalog.queue(DialogAnswer::type(U("1")));
    catalog.SearchPrompt(4);
    EXPECT_EQ(ErrorsShown(catalog), std::vector<int>({7}));
    EXPECT_FALSE(state.searchConfirmed);
    EXPECT_TRUE(catalog.shown().front().unanswered); // left with "&Beenden" for want of answers
}

TEST_F(PromptTest, NewKeywordInitialMustBeCapitalAtoZ) {
    state.searchText = "<1>";
    QStringList inserted;
    catalog.setKeywordInsertion([&](const QString& k) { inserted << k; });
    for (const char* bad : {"berge", "Äpfel", "3D-Bilder", "", " Berge"})
        catalog.queue(DialogAnswer::type(U(bad)));
    catalog.queue(DialogAnswer::type(U("Berge")));
    state.searchConfirmed = false;
    catalog.SearchPrompt(5);
    EXPECT_EQ(ErrorsShown(catalog), std::vector<int>({17, 17, 17, 4, 17}));
    EXPECT_EQ(inserted, QStringList({U("Berge")}));
    EXPECT_FALSE(state.searchConfirmed); // kind 5 only inserts

    catalog.queue(DialogAnswer::type(U("Zugspitze")));
    catalog.SearchPrompt(5);
    catalog.queue(DialogAnswer::type(U("Alpen")));
    catalog.SearchPrompt(5);
    EXPECT_EQ(inserted, QStringList({U("Berge"), U("Zugspitze"), U("Alpen")}));
}

TEST_F(PromptTest, InfoAndMemoTextMustNotBeEmpty) {
    for (int kind : {1, 3}) {
        state.searchConfirmed = false;
        catalog.clearShown();
        catalog.queue(DialogAnswer::type(QString()));
        catalog.queue(DialogAnswer::type(U("Wasserfall")));
        catalog.SearchPrompt(kind);
        EXPECT_EQ(ErrorsShown(catalog), std::vector<int>({4})) << kind;
        EXPECT_TRUE(state.searchConfirmed) << kind;
        EXPECT_EQ(catalog.PromptText(), U("Wasserfall")) << kind;
    }
}

TEST_F(PromptTest, CaseOptionCarriesOverBetweenPrompts) {
    EXPECT_FALSE(state.caseSensitive);
    catalog.queue(DialogAnswer::type(U("A05"), true));
    catalog.SearchPrompt(1);
    EXPECT_TRUE(state.caseSensitive);
    EXPECT_TRUE(catalog.PromptChecked());

    // The box-number prompt hides the box but leaves its state alone.
    catalog.queue(DialogAnswer::type(U("3")));
    catalog.SearchPrompt(2);
    EXPECT_TRUE(state.caseSensitive);

    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(3);
    EXPECT_TRUE(dlg()->optionBox->isChecked());
    EXPECT_TRUE(state.caseSensitive);

    // A state set elsewhere (a fresh start) comes into the dialog.
    state.caseSensitive = false;
    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(1);
    EXPECT_FALSE(dlg()->optionBox->isChecked());
}

TEST_F(PromptTest, NewArchiveDirectory) {
    state.confirmAnswer = false;
    state.searchConfirmed = false;
    catalog.queue(DialogAnswer::type(QString()));
    catalog.queue(DialogAnswer::type(U("/tmp/dia1")));
    catalog.SearchPrompt(6);
    EXPECT_EQ(ErrorsShown(catalog), std::vector<int>({4}));
    EXPECT_TRUE(state.confirmAnswer);
    EXPECT_FALSE(state.searchConfirmed);
    EXPECT_EQ(catalog.PromptText(), U("/tmp/dia1"));
}

TEST_F(PromptTest, QuitShowsScrollBarOnlyOutsideModes0And140) {
    for (int m : {0, 140, 211, 220, 240, 250, 260, 110}) {
        state.screenMode = m;
        screen.scrollBarShown = 0;
        state.searchConfirmed = false;
        state.confirmAnswer = true;
        catalog.queue(DialogAnswer::cancel());
        catalog.SearchPrompt(2);
        EXPECT_EQ(screen.scrollBarShown, (m == 0 || m == 140) ? 0 : 1) << m;
        EXPECT_FALSE(state.searchConfirmed) << m;
        EXPECT_TRUE(state.confirmAnswer) << m; // left as the caller set it
        EXPECT_EQ(sound.played().last(), QStringLiteral("hotclik"));
    }
}

TEST_F(PromptTest, UnansweredPromptIsCancelledAndMarked) {
    catalog.queue(DialogAnswer::yes()); // not an answer for a prompt
    catalog.SearchPrompt(2);
    ASSERT_EQ(catalog.shown().size(), 1u);
    EXPECT_TRUE(catalog.shown()[0].unanswered);
    EXPECT_FALSE(state.searchConfirmed);
    EXPECT_EQ(catalog.pendingAnswers(), 1u); // the "Ja" stays for the next question
}

TEST_F(PromptTest, HelpButtonOpensTopicOfTheKind) {
    archive.write("dia.hlp", "<html><body><a name=\"ctx303\"></a><h2>Kastennummer</h2>"
                             "<a name=\"ctx202\"></a><h2>Neuer Schl\xFCssel</h2></body></html>");
    catalog.queue(DialogAnswer::help());
    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(2);
    EXPECT_EQ(help.lastContext(), 303);
    ASSERT_NE(help.window(), nullptr);
    EXPECT_TRUE(help.window()->isVisible());
    EXPECT_TRUE(help.window()->toPlainText().contains(U("Kastennummer")));

    state.searchText = "<3>";
    catalog.queue(DialogAnswer::help());
    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(5);
    EXPECT_EQ(help.lastContext(), 202);
    EXPECT_TRUE(help.window()->toPlainText().contains(U("Neuer Schlüssel")));

    const int expected[] = {0, 302, 303, 304, 203, 202, 102};
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(InputPrompt::HelpContext(k), expected[k]);
    help.window()->close();
}

TEST_F(PromptTest, InputLineRefusesCharactersOutsideTheCodePage) {
    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(3);
    QLineEdit* edit = dlg()->input;
    edit->clear();
    TypeText(edit, U("Grün€"));
    TypeText(edit, U("Ā"));
    TypeText(edit, U("ł"));
    TypeText(edit, U("ß"));
    EXPECT_EQ(edit->text(), U("Grün€ß"));
    ASSERT_TRUE(ToCp1252(edit->text()).has_value());
}

// The real modal loop: a refused input hides the dialog, the error questionDialog comes in
// front, and the dialog opens again. Driven from a zero-interval timer acting on the
// dialog that is modal at the moment; nothing waits for time to pass.
TEST_F(PromptTest, RealModalRefusalReopensDialog) {
    catalog.setTestMode(false);
    state.searchConfirmed = false;
    int step = 0;
    int ticks = 0;
    QTimer driver;
    driver.setInterval(0);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        ++ticks;
        QWidget* modal = QApplication::activeModalWidget();
        InputPrompt* input = catalog.inputPrompt();
        QuestionDialog* req = catalog.questionDialog();
        if (step == 0 && modal == input && input->isVisible()) {
            input->input->setText(U("999"));
            QTest::mouseClick(input->searchButton, Qt::LeftButton);
            step = 1;
        } else if (step == 1 && modal == req && req->isVisible()) {
            EXPECT_FALSE(input->isVisible()); // hidden behind the refusal
            EXPECT_EQ(req->titleLabel->text(), U("System Fehler Nr.5"));
            QTest::mouseClick(req->acceptButton, Qt::LeftButton);
            step = 2;
        } else if (step == 2 && modal == input && input->isVisible()) {
            input->input->setText(U("42"));
            QTest::mouseClick(input->searchButton, Qt::LeftButton);
            step = 3;
        } else if (ticks > 100000) {
            // Never hang the test run: leave whatever is open.
            if (modal)
                static_cast<QDialog*>(modal)->reject();
        }
    });
    driver.start();
    catalog.SearchPrompt(2);
    driver.stop();
    EXPECT_EQ(step, 3);
    EXPECT_EQ(state.boxNumber, 42);
    EXPECT_TRUE(state.searchConfirmed);
    EXPECT_EQ(screen.captions, std::vector<int>({9, 9, 0, 9, 0}));
}
