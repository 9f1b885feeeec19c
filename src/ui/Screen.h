#pragma once
// The screen as feature windows and commands see it: status line and captions, the
// status bar and progress, the list area, the result scroll bar, the busy cursor and
// where dialogs go. The main window implements it; tests can fake it.
#include <QColor>
#include <QPoint>
#include <QString>

class QWidget;

namespace lumo {

class Screen {
public:
    virtual ~Screen() = default;

    // Status line, soft-button captions and window title.
    virtual void SetStatusLine(const QString& text, const QColor& colour) = 0;
    // Captions and title of a screen mode; mode::Disabled greys the soft buttons.
    virtual void SetScreenCaptions(int mode) = 0;
    virtual void SetWindowCaptionSuffix(const QString& suffix) = 0; // program title + suffix

    // Status bar, progress and cursor.
    virtual void SetStatusPanel(int panel, const QString& text) = 0; // 0..2
    virtual void RepaintStatusBar() = 0;
    virtual void SetProgress(int minimum, int maximum, int value) = 0;
    virtual void SetProgressValue(int value) = 0;
    virtual void SetBusyCursor(bool on) = 0;

    // The list area: start picture, level lists, result pages.
    virtual void RestoreMainScreen() = 0; // the start picture with the title labels
    virtual void ClearListArea(const QColor& colour, int x1, int y1, int x2, int y2) = 0;
    virtual void ClearLevelCursors() = 0;       // captions emptied, hidden
    virtual void RepaintNow() = 0;              // redraws the level lists or result page at once
    virtual void showResultPage(int first) = 0; // result lines first+1.. as the page shown
    virtual void PaintResultRow(int row) = 0;   // one page row during a scan
    virtual void DrawResultHeadings() = 0;      // the three column titles
    virtual void SetBackgroundBlack() = 0;
    virtual void LoadBackgroundPicture() = 0; // from the setting BMPBILD
    virtual void UpdateCounterPanels() = 0;   // status bar panels 0..2 from the counters

    // The result scroll bar.
    virtual void HideScrollBar() = 0;
    virtual void ShowResultScrollBar() = 0;
    virtual void SetupResultScrollBar(int maximum) = 0; // range 0..maximum, at 0, shown

    // The window: dialogs are placed relative to it and parented to it.
    virtual QPoint MainTopLeft() const = 0;
    // To the position the archive's settings hold (FENSTER), kept on the screen.
    virtual void MoveToStoredPosition() {}
    virtual QWidget* MainWidget() = 0;
    virtual void MinimiseForScan(bool on) = 0; // fast mode during a scan
    virtual void SetUndoEnabled(bool on) = 0;  // the undo entry of the keyword lists
};

} // namespace lumo
