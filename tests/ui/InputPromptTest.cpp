// The one-line input dialog: set-up per kind, the checks of "&Suchen", "&Beenden", help.
#include "ui/MessagesFixture.h"

#include "ui/InputPrompt.h"
#include "ui/QuestionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
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

class PromptTest : public MessagesTest {
protected:
    InputPrompt* dlg() { return catalog.inputPrompt(); }
    std::vector<int> errorsShown() const {
        std::vector<int> out;
        for (const auto& d : catalog.shown())
            if (d.kind == ShownDialog::Error)
                out.push_back(d.number);
        return out;
    }
};
TEST_F(PromptTest, SetUpPerKind) {
    // Preset text, its longest length, check box (+ shown, - hidden), prompt.
    const QString caseCheck = U("&Groß- / Kleinschreibung unterscheiden");
    const std::pair<int, QString> rows[] = {
        {1, U("Dia wurde entnommen / Platz frei|32|") + caseCheck +
                U("+|Bitte geben Sie nun den gewünschten Informationstext für die Suche ein.")},
        {2, U("|3|&Archiv komplett durchsuchen-|Bitte geben Sie nun die gewünschte Kastennummer "
              "für die Suche ein.")},
        {3, U("|32|") + caseCheck +
                U("+|Bitte geben Sie nun den gewünschten Memotext für die Suche ein.")},
        {4, U("|5|-|Bitte geben Sie nun die gewünschte Dianummer ein.")},
        {5, U("|18|-|Bitte geben Sie den neuen Schlüssel für die Stichwortebene <2> ein.")},
        {6, QDir::homePath() +
                U("/dia1|255|-|Bitte geben Sie nun den gewünschten Pfad für das neue Archiv ein.")},
    };
    state.searchText = "<2>";
    for (const auto& [kind, expected] : rows) {
        catalog.SetPromptText(U("alter Text"));
        catalog.queue(DialogAnswer::cancel());
        catalog.SearchPrompt(kind);
        InputPrompt* d = dlg();
        EXPECT_EQ(QStringList({d->input->text(), QString::number(d->input->maxLength()),
                               d->optionBox->text() + (d->optionBox->isHidden() ? u'-' : u'+'),
                               d->promptLabel->text()})
                      .join(u'|'),
                  expected);
        EXPECT_EQ(d->promptLabel->width(), 270);
    }
    EXPECT_EQ(QStringList({dlg()->windowTitle(), dlg()->searchButton->text(),
                           dlg()->helpButton->text(), dlg()->quitButton->text()}),
              L("Systemdatenerfassung &Suchen &Hilfe &Beenden"));
    EXPECT_TRUE(dlg()->searchButton->isDefault());
    EXPECT_EQ(dlg()->pos(), QPoint(154, 199));
}
// Each press of "&Suchen" checks the input; a refusal shows its error and asks again.
TEST_F(PromptTest, InputChecksPerKind) {
    // Kind, inputs (the prompt is left unanswered after the last), errors, box/slide number.
    const struct {
        int kind;
        std::vector<const char*> typed;
        std::vector<int> errors;
        int value;
    } rows[] = {
        {2, {"0", "256", "12a", "", "255"}, {5, 5, 5, 5}, 255},
        {2, {"1"}, {}, 1},
        {4, {"41", "0", "x1", "1"}, {7, 7, 7}, 1},
        {4, {"40"}, {}, 40},
        {1, {"", "Wasserfall"}, {4}, 0},
        {5, {"berge", "Äpfel", "3D-Bilder", "", " Berge", "Berge"}, {17, 17, 17, 4, 17}, 0},
        {6, {"", "   ", "/tmp/dia2"}, {4, 4}, 0},
    };
    state.counters.totalRecords = 40;
    QStringList inserted;
    catalog.setKeywordInsertion([&](const QString& k) { inserted << k; });
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.kind << " " << r.typed.back());
        catalog.clearShown();
        sound.clearRecord();
        state.searchConfirmed = state.confirmAnswer = false;
        for (const char* t : r.typed)
            catalog.queue(DialogAnswer::type(U(t)));
        catalog.SearchPrompt(r.kind);
        const bool accepted = r.errors.size() < r.typed.size();
        EXPECT_EQ(errorsShown(), r.errors);
        EXPECT_EQ(catalog.shown().front().unanswered, !accepted);
        // Kinds 5 (insert a key) and 6 (new archive) confirm no search.
        EXPECT_EQ(state.searchConfirmed, accepted && r.kind < 5);
        if (accepted) { // a refusal's "Danke" answers yes itself
            EXPECT_EQ(catalog.PromptText(), U(r.typed.back()));
            EXPECT_EQ(state.confirmAnswer, r.kind == 6 || !r.errors.empty());
        }
        EXPECT_EQ(r.kind == 2 ? state.boxNumber : r.kind == 4 ? state.currentSlide : 0, r.value);
    }
    EXPECT_EQ(inserted, QStringList({U("Berge")}));
    state.counters.totalRecords = 0; // in an empty archive no slide number is valid
    catalog.clearShown();
    catalog.queue(DialogAnswer::type(U("1")));
    catalog.SearchPrompt(4);
    EXPECT_EQ(errorsShown(), std::vector<int>({7}));
    EXPECT_FALSE(state.searchConfirmed);
}
// "&Beenden" confirms nothing and leaves the caller's answer; "&Hilfe" opens the kind's topic.
TEST_F(PromptTest, QuitAndHelp) {
    state.confirmAnswer = true;
    for (int m : {0, 140, 211}) {
        state.screenMode = m;
        screen.scrollBarShown = 0;
        catalog.queue(DialogAnswer::cancel());
        catalog.SearchPrompt(2);
        EXPECT_EQ(screen.scrollBarShown, m == 211) << m; // only outside modes 0 and 140
    }
    EXPECT_FALSE(state.searchConfirmed);
    EXPECT_TRUE(state.confirmAnswer);
    const int topics[] = {0, 302, 303, 304, 203, 202, 102};
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(InputPrompt::HelpContext(k), topics[k]);
    catalog.queue(DialogAnswer::help());
    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(5);
    EXPECT_EQ(help.lastContext(), 202);
    EXPECT_TRUE(help.window() && help.window()->isVisible());
}
TEST_F(PromptTest, InputLineRefusesCharactersOutsideTheCodePage) {
    catalog.queue(DialogAnswer::cancel());
    catalog.SearchPrompt(3);
    QLineEdit* edit = dlg()->input;
    for (QChar c : U("Grün€Āłß")) // key by key as the keyboard gives it
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &key);
        }
    EXPECT_EQ(edit->text(), U("Grün€ß"));
}
// The real modal loop: a refusal hides the dialog behind the error, then it opens again;
// soft buttons off while a dialog is open, the mode's captions and the status line back after.
TEST_F(PromptTest, RealModalRefusalReopensDialog) {
    catalog.ShowStatus(13);
    catalog.setTestMode(false);
    int step = 0, ticks = 0;
    QTimer driver;
    driver.setInterval(0);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        InputPrompt* input = catalog.inputPrompt();
        QuestionDialog* req = catalog.questionDialog();
        if ((step == 0 || step == 2) && modal == input && input->isVisible()) {
            input->input->setText(U(step == 0 ? "999" : "42"));
            QTest::mouseClick(input->searchButton, Qt::LeftButton);
            ++step;
        } else if (step == 1 && modal == req && req->isVisible()) {
            EXPECT_FALSE(input->isVisible()); // hidden behind the refusal
            EXPECT_EQ(req->titleLabel->text(), U("System Fehler Nr.5"));
            QTest::mouseClick(req->acceptButton, Qt::LeftButton);
            step = 2;
        } else if (++ticks > 100000 && modal) {
            static_cast<QDialog*>(modal)->reject(); // never hang the test run
        }
    });
    driver.start();
    catalog.SearchPrompt(2);
    EXPECT_EQ(step, 3);
    EXPECT_EQ(state.boxNumber, 42);
    EXPECT_EQ(screen.lines.back().text, catalog.StatusText(13)); // restored after each dialog
    EXPECT_EQ(screen.captions, std::vector<int>({9, 9, 0, 9, 0}));
}

} // namespace
