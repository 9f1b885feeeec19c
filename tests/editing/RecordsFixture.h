#pragma once
// Archives of plain slides for the deletion, memo, header data and box label windows. The
// fixture stands between the message catalogue and the main window and keeps every status
// text shown, so a test can tell which texts appeared on the way.
#include "EditingTestSupport.h"

#include "editing/RecordCommands.h"
#include "search/gui/SearchCommands.h"

#include <algorithm>

namespace lumo::test {

class RecordsTest : public EditingTest, public Screen {
protected:
    // Slide n: key A1, text "A01 Dia n", box 1 for slides 1..5 and box 2 after.
    static std::string Slide(int n) {
        return RecordBytes({"A1"}, "A01 Dia " + std::to_string(n), n <= 5 ? 1 : 2);
    }
    static std::string Slides(int first, int last) {
        std::string all;
        for (int i = first; i <= last; ++i)
            all += Slide(i);
        return all;
    }
    static std::string FreeSlot(int box) {
        return RecordBytes(std::vector<std::string>(8, "00"), kFreeSlotMarker, box);
    }
    // Slides 1..n, the first ones replaced by `own` where it is not empty.
    void OpenSlides(int n, std::vector<std::string> own = {}) {
        ArchiveSetup s;
        for (int i = 1; i <= n; ++i)
            s.records.push_back(i <= int(own.size()) && !own[i - 1].empty() ? own[i - 1]
                                                                            : Slide(i));
        Open(s);
        main().show();
        msg().setScreen(this);
    }
    void TearDown() override {
        if (prog)
            msg().setScreen(&main());
    }
    long StatusCount(int n) {
        return std::count(status.begin(), status.end(), msg().StatusText(n));
    }
    RecordCommands& records() { return prog->records(); }
    SearchCommands& search() { return prog->search(); }

    std::vector<QString> status;
    void SetStatusLine(const QString& t, const QColor& c) override {
        status.push_back(t);
        main().SetStatusLine(t, c);
    }
    void SetScreenCaptions(int mode) override { main().SetScreenCaptions(mode); }
    QPoint MainTopLeft() const override { return prog->main().MainTopLeft(); }
    QWidget* MainWidget() override { return &main(); }
    void ShowResultScrollBar() override { main().ShowResultScrollBar(); }
    void SetWindowCaptionSuffix(const QString& suffix) override {
        main().SetWindowCaptionSuffix(suffix);
    }
    void SetStatusPanel(int panel, const QString& text) override {
        main().SetStatusPanel(panel, text);
    }
    void RepaintStatusBar() override { main().RepaintStatusBar(); }
    void SetProgress(int minimum, int maximum, int value) override {
        main().SetProgress(minimum, maximum, value);
    }
    void SetProgressValue(int value) override { main().SetProgressValue(value); }
    void SetBusyCursor(bool on) override { main().SetBusyCursor(on); }
    void RestoreMainScreen() override { main().RestoreMainScreen(); }
    void ClearListArea(const QColor& colour, int x1, int y1, int x2, int y2) override {
        main().ClearListArea(colour, x1, y1, x2, y2);
    }
    void ClearLevelCursors() override { main().ClearLevelCursors(); }
    void RepaintNow() override { main().RepaintNow(); }
    void showResultPage(int first) override { main().showResultPage(first); }
    void PaintResultRow(int row) override { main().PaintResultRow(row); }
    void DrawResultHeadings() override { main().DrawResultHeadings(); }
    void SetBackgroundBlack() override { main().SetBackgroundBlack(); }
    void LoadBackgroundPicture() override { main().LoadBackgroundPicture(); }
    void UpdateCounterPanels() override { main().UpdateCounterPanels(); }
    void HideScrollBar() override { main().HideScrollBar(); }
    void SetupResultScrollBar(int maximum) override { main().SetupResultScrollBar(maximum); }
    void MinimiseForScan(bool on) override { main().MinimiseForScan(on); }
    void SetUndoEnabled(bool on) override { main().SetUndoEnabled(on); }
};

} // namespace lumo::test
