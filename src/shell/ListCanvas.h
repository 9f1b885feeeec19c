#pragma once
// The list area of the main window: the start picture with the title labels, the three
// painted level lists with their cursor labels, or a result page. What it shows is drawn
// onto one canvas picture when the program asks for it; the client area only shows that
// picture. Painting and hit-testing use the same geometry.
#include "store/Problem.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>

#include <array>
#include <functional>

class QLabel;
class QPainter;
class QWidget;

namespace lumo {

struct AppState;
class MessageCatalog;
struct ResultRow;

// Geometry shared by painting and hit-testing (client coordinates).
namespace geo {
inline constexpr int ClientWidth = 638;
inline constexpr int ClientHeight = 440;
inline constexpr int FirstRowY = 60;
inline constexpr int RowPitch = 17;
inline constexpr int HeadingY = 35;
inline constexpr int ColBox = 90, ColSlide = 230, ColCode = 320, ColText = 350;
inline constexpr int HeadBoxX = 55, HeadSlideX = 205, HeadTextX = 320;
inline constexpr std::array<int, 3> LevelX{50, 250, 450};
inline constexpr int ToolBarHeight = 31;
inline constexpr int BottomPanelY = 353;
inline constexpr int ScrollBarX = 624;
// The list area that mouse clicks act on: below the heading line, above the status line
// (the bottom panel), left of the result scroll bar.
inline constexpr int ListTop = HeadingY + RowPitch;
bool InListArea(int x, int y);
// Row 1..17 of a click at client y: y <= 60 is row 1, otherwise (y - 46) / 17 rounded to
// the nearest whole number, limited to 1..17.
int RowFromY(int y);
// The result-page column under x for a left click: the box number opens the box labels,
// the slide number the header data, the text the slide data.
enum class ResultColumn { None, Box, SlideNumber, Text };
ResultColumn ResultColumnAt(int x);
// A right click on a result row opens the memo only right of the code column.
bool OnResultText(int x);
// The level list (1..3) under x, 0 between and outside them.
int LevelAt(int x);
} // namespace geo

// Label colours set through the palette; an invalid background keeps the one it has.
void SetLabelColours(QLabel* label, const QColor& background, const QColor& text);

class ListCanvas {
public:
    // A press on the cursor label of level 1..3, at client coordinates.
    using CursorPress = std::function<void(int level, Qt::MouseButton button, QPoint clientPos)>;

    // Creates the start picture, title labels, level headings and cursor labels on `client`.
    ListCanvas(AppState& state, MessageCatalog& messages, QWidget* client, CursorPress onPress);

    // The bold font of the lists, the status line and the subtitle.
    static QFont ListFont();

    const QPixmap& pixmap() const { return canvas_; }
    bool pictureVisible() const { return pictureVisible_; }
    QLabel* backgroundPicture() const { return picture_; }
    QLabel* titleLabel(int i) const { return titleLabels_.at(i - 1); } // 1..3
    QLabel* levelHeading(int level) const { return levelHeadings_.at(level - 1); }
    QLabel* levelCursor(int level) const { return levelCursors_.at(level - 1); }

    // The start picture with the title labels; the lists are hidden.
    void RestoreStartScreen();
    // Hides picture, titles, headings and cursors and fills the rectangle; the page is emptied.
    void ClearArea(const QColor& colour, int x1, int y1, int x2, int y2);
    void ShowLevelHeaders(int level); // the current level's heading in red
    // Result lines first+1 .. first+17 become the page shown.
    void ShowResultPage(int first);
    void RepaintNow(); // draws the level lists or the page afresh and shows it at once
    void PaintResultRow(int r);
    void DrawResultHeadings();
    void SetBackgroundBlack();
    void ClearLevelCursors(); // captions emptied, hidden
    void RecolourLevelCursors(const QColor& background, const QColor& text);
    // A right click that moves a level cursor: the cursor labels go (caption " ") and
    // the lists right of the new position are blacked out until the next repaint.
    void HideLevelCursorsForMove();
    void BlackOut(int x1, int y1, int x2, int y2);
    void LoadBackgroundPicture(); // settings.pictureName; a failed load keeps the old one
    void SetVersionText(const QString& text);

private:
    void redraw(); // erase and paint onto the canvas, at once
    void paint(QPainter& painter);
    void paintResultPage(QPainter& painter);
    void paintLevelLists(QPainter& painter);
    void drawText(QPainter& p, int x, int y, const QString& text, const QColor& colour,
                  bool fillRow = false);
    void drawResultRow(QPainter& p, int y, const ResultRow& row);
    void drawResultHeadings(QPainter& p);
    void applyLevelCursor(int level, bool shown, QPoint pos, const QString& text,
                          const QColor& background, const QColor& textColour);

    AppState& state_;
    MessageCatalog& messages_;
    QWidget* client_;
    QPixmap canvas_;
    QPixmap background_;
    QFont listFont_;
    QColor listBackground_ = Qt::black;
    bool pictureVisible_ = true;
    Problem paintProblem_; // met while painting, reported once the canvas is released
    QLabel* picture_ = nullptr;
    std::array<QLabel*, 3> titleLabels_{};
    std::array<QLabel*, 3> levelHeadings_{};
    std::array<QLabel*, 3> levelCursors_{};
};

} // namespace lumo
