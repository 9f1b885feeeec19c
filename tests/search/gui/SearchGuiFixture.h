#pragma once
// A whole program in test mode over a small hand-built archive, for the search windows.
#include "TestArchive.h"

#include "platform/Launcher.h"
#include "platform/Sound.h"
#include "search/Reports.h"
#include "search/gui/SearchCommands.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "ui/MessageCatalog.h"

#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumo::test {

// Runs `action` once `dialog` is on screen (inside its modal loop). Polls on the event
// loop, so it waits for the dialog to open, not for any time to pass.
inline void WhenShown(QDialog* dialog, std::function<void()> action) {
    auto* timer = new QTimer(dialog);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, dialog, [dialog, timer, action] {
        if (!dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

// The cp1252 bytes of a literal written in UTF-8 (the test sources are UTF-8).
std::string Cp(const char* utf8);

// One header data field: the value, a NUL and spaces up to 15 bytes (15 bytes: no NUL).
std::string HeaderField(const std::string& value);
std::string HeaderRecord(const std::vector<std::string>& values);

// Report pieces written out from the format tables.
std::string Stars();
std::string BoxBlank();
std::string Divider();
std::string Head5(); // the five head lines for 05.12.98 / 10:11:12
std::string ColumnHead();
std::string ResultLineText(int box, int slide, const std::string& infoField);
std::string Statistics(int total, int found, const std::string& percent);

class SearchGui : public ::testing::Test {
protected:
    TempArchive arc;
    std::unique_ptr<Program> prog;

    // Keyword files, DIA.INI (with DIAS = active slides, editor "myedit", no tips) and
    // dias.ddb from the given records.
    void WriteArchive(const std::vector<std::string>& records, int activeSlides);
    // The seven slides most tests use: slides 1, 3, 5 carry N1 (or a key below it);
    // 4 and 7 are free slots; boxes 1 (slides 1-4) and 2 (5-7).
    void WriteSevenSlides();
    void Start();

    AppState& st() { return prog->state(); }
    MainWindow& main() { return prog->main(); }
    MessageCatalog& msg() { return prog->messages(); }
    SearchCommands& search() { return prog->search(); }
    std::vector<ShownDialog> shown(ShownDialog::Kind kind) const;
    std::vector<int> errors() const;
    // Mode 210 through tool button 5, the given keys selected, then "SUCHE DIAS".
    void KeySearch(const std::vector<std::pair<std::string, std::string>>& codesAndNames);
    // The result lines of dialiste.txt (lines between the column head and the statistics).
    std::vector<std::string> ReportResultLines() const;
};

} // namespace lumo::test
