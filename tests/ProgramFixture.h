#pragma once
// A whole program over a temporary archive, for GUI tests: write the archive files,
// call start(), drive the real main window; dialogs are answered through the message
// seam (queue answers before the action, read back messages().shown()).
#include "TestArchive.h"

#include "platform/Help.h"
#include "platform/Launcher.h"
#include "platform/Sound.h"
#include "shell/ClientArea.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "ui/MessageCatalog.h"

#include <QAction>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lumo::test {

// Runs `act` from the event loop of `dialog`'s modal run, once it has been shown.
class WhenShown : public QObject {
public:
    WhenShown(QDialog* dialog, std::function<void()> act) : QObject(dialog), act_(std::move(act)) {
        dialog->installEventFilter(this);
    }
    bool ran() const { return ran_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !ran_) {
            ran_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { act_(); });
        }
        return false;
    }

private:
    std::function<void()> act_;
    bool ran_ = false;
};

class ProgramTest : public ::testing::Test {
protected:
    TempArchive archive;
    std::unique_ptr<Program> program;

    // dias.ddb from records built with RecordBytes.
    void writeRecords(const std::vector<std::string>& records) const {
        std::string all;
        for (const auto& r : records)
            all += r;
        archive.write("dias.ddb", all);
    }
    // n ordinary records "A01 Dia 1" ... in box 1, with the key A1 in slot 1.
    void writeSimpleRecords(int n) const {
        std::vector<std::string> recs;
        for (int i = 1; i <= n; ++i)
            recs.push_back(RecordBytes({"A1"}, "A01 Dia " + std::to_string(i), 1));
        writeRecords(recs);
    }
    void writeKeywords(int level,
                       const std::vector<std::pair<std::string, std::string>>& entries) const {
        archive.write("keyword" + std::to_string(level), KeywordBytes(entries));
    }
    // DIA.INI, lines given without line ends (CR LF added).
    void writeIni(const std::vector<std::string>& lines) const {
        std::string text;
        for (const auto& l : lines)
            text += l + "\r\n";
        archive.write("DIA.INI", text);
    }
    // DIA.INI with a known number of slides, so start-up does not analyse.
    void writeIniWithSlides(int slideCount) const {
        writeIni({"[LUMORETTA]", "DIAS=" + std::to_string(slideCount), "SOUND=1"});
    }

    // Creates the program in test mode and runs the start-up; the start is expected to
    // succeed. The main window is shown (offscreen).
    Program& start() {
        program = std::make_unique<Program>(archive.dir(), true);
        const bool ok = program->Start();
        EXPECT_TRUE(ok) << "start-up failed";
        program->main().show();
        return *program;
    }
    // As start(), but returns the result of the start-up without judging it.
    bool tryStart() {
        program = std::make_unique<Program>(archive.dir(), true);
        return program->Start();
    }

    MainWindow& main() { return program->main(); }
    AppState& state() { return program->state(); }
    MessageCatalog& messages() { return program->messages(); }
    SoundCue& sound() { return program->sound(); }
    Launcher& launcher() { return program->launcher(); }
    HelpViewer& help() { return program->help(); }

    void clickSoftButton(int i) { QTest::mouseClick(main().softButton(i), Qt::LeftButton); }
    void clickToolButton(int i) { QTest::mouseClick(main().toolButton(i), Qt::LeftButton); }
    // Triggers a menu entry by its caption ("&" included); fails the test when it is missing.
    void triggerMenu(const QString& caption) {
        QAction* a = main().findAction(caption);
        ASSERT_NE(a, nullptr) << caption.toStdString();
        a->trigger();
    }
    void triggerMenu(const char* utf8Caption) { triggerMenu(QString::fromUtf8(utf8Caption)); }
    // A mouse press at client coordinates of the centre.
    void pressCentre(Qt::MouseButton button, int x, int y) {
        QTest::mousePress(main().clientArea(), button, {}, QPoint(x, y));
        QTest::mouseRelease(main().clientArea(), button, {}, QPoint(x, y));
    }
    void clickLevelCursor(int level) {
        QLabel* l = main().levelCursor(level);
        QTest::mouseClick(l, Qt::LeftButton, {}, QPoint(2, 2));
    }

    std::vector<ShownDialog> shownOf(ShownDialog::Kind kind) {
        std::vector<ShownDialog> out;
        for (const auto& d : messages().shown())
            if (d.kind == kind)
                out.push_back(d);
        return out;
    }
    QStringList texts(ShownDialog::Kind kind) {
        QStringList out;
        for (const auto& d : shownOf(kind))
            out << d.text;
        return out;
    }
    std::vector<int> errors() {
        std::vector<int> out;
        for (const auto& d : shownOf(ShownDialog::Error))
            out.push_back(d.number);
        return out;
    }
    bool errorShown(int n) { return std::ranges::count(errors(), n) > 0; }
    QString statusLineText() { return main().statusLine()->text(); }
    void clearRecords() {
        messages().clearShown();
        sound().clearRecord();
        launcher().clearRecord();
    }

    void TearDown() override { program.reset(); }
};

} // namespace lumo::test
