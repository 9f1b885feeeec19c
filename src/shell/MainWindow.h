#pragma once
// MainWindow: the main window. Fixed 638 x 440 client area below the menu bar; tool bar,
// painted centre (level lists or a result page), status line, five soft buttons and
// the three-panel status bar.
#include "editing/EditingScreen.h"
#include "ui/AppState.h"
#include "ui/MessageCatalog.h"

#include <QFont>
#include <QMainWindow>
#include <QPixmap>

#include <array>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QToolButton;
class QStatusBar;

namespace lumo {

class SoundCue;
class Launcher;
class HelpViewer;
class ClientArea;
class SlideEntryCommands;
class SearchCommands;
class RecordCommands;

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
// Row 1..17 of a click at client y: y <= 60 is row 1, otherwise (y - 46) / 17 rounded to
// the nearest whole number, limited to 1..17.
int RowFromY(int y);
} // namespace geo

class MainWindow : public QMainWindow, public Screen, public EditingScreen {
    Q_OBJECT
public:
    MainWindow(AppState& state, MessageCatalog& messages, SoundCue& sound, Launcher& launcher,
               HelpViewer& help, QWidget* parent = nullptr);
    ~MainWindow() override;

    void setCommands(SlideEntryCommands* entry, SearchCommands* search) {
        entry_ = entry;
        search_ = search;
    }
    void setRecordCommands(RecordCommands* records) { records_ = records; }

    // Screen
    void SetStatusLine(const QString& text, const QColor& colour) override;
    void SetScreenCaptions(int mode) override;
    QPoint MainTopLeft() const override;
    QWidget* MainWidget() override { return this; }
    void ShowResultScrollBar() override;

    // Screen primitives used by the commands.
    void RestoreMainScreen() override;
    void ClearListArea(const QColor& colour, int x1, int y1, int x2, int y2);
    void ShowLevelHeaders(int level);
    void showResultPage(int first);
    void RepaintNow(); // synchronous repaint of the client area
    void SetWindowCaptionSuffix(const QString& suffix) override; // ProgramTitle + suffix
    void SetStatusPanel(int panel, const QString& text);         // 0..2
    void RepaintStatusBar();
    void SetProgress(int minimum, int maximum, int value);
    void SetProgressValue(int value);
    void HideScrollBar();
    void SetupResultScrollBar(int maximum); // range 0..maximum, position 0, shown, focused
    void SetBusyCursor(bool on) override;
    void SetUndoEnabled(bool on); // the undo entry of the services menu
    void ClearLevelCursors();     // captions emptied, hidden
    void RecolourLevelCursors(const QColor& bg, const QColor& fg);
    void LoadBackgroundPicture(); // from settings.pictureName
    void PaintResultRow(int r);   // one page row during a scan, at 60 + 17*(r-1)
    void DrawResultHeadings();    // the three yellow column titles
    void SetBackgroundBlack();
    void MinimiseForScan(bool on);       // fast mode during a scan
    void UpdateCounterPanels() override; // panels 0/1/2 from the counters

    // Program start and end.
    bool StartUp(); // steps 3..15 of the start; false: fatal, the program must end
    bool closeConfirmed() const { return closeConfirmed_; }
    // SaveSettings with the window's current position; a failed write gives the notice.
    bool SaveSettingsNow() override;
    // The automatic backup on close. Does nothing yet: the backup arrives with the
    // backup dialog.
    void RunAutoBackup();
    // Window caption at start: ProgramTitle + " - letzte Änderung am " + ReleaseDate.
    static QString ProgramTitle() { return QStringLiteral("Lumoretta 3.03"); }
    static QString ProgramVersion() { return QStringLiteral("3.03"); }
    static QString ReleaseDate() { return QStringLiteral("07.06.1999"); }
    QString ArchivePathText() const;

    // Handlers of the soft buttons, tool buttons, menu, scroll bar and canvas.
    void onSoftButton1();
    void onSoftButton2();
    void onSoftButton3();
    void onSoftButton4();
    void onSoftButton5();
    void onNewSlides();
    void onEditSlides();
    void onDeleteSlides();
    void onNewKeywords();
    void onKeySearch();
    void onInfoTextSearch();
    void onBoxNumberSearch();
    void onMemoSearch();
    void onBackup();
    void onPreferences();
    void onPrinterSetup();
    void onHelpIntroduction();
    void onToggleFastMode();
    void onUndoKeywordLists(); // undo of the keyword lists
    void onQuit();
    // scrollCode: a QAbstractSlider::SliderAction, or ScrollThumbReleased at the end of a drag.
    static constexpr int ScrollThumbReleased = 100;
    void onResultScroll(int scrollCode, int position);
    void onCanvasPress(Qt::MouseButton button, int x, int y);
    void onLevelCursorClick(int level);        // left click on the cursor label of level 1..3
    void paintCanvas(class QPainter& painter); // draws the centre onto the client canvas
    void onLevelCursorPress(int level, Qt::MouseButton button, QPoint clientPos);

    // Access for commands and tests.
    AppState& state() { return state_; }
    MessageCatalog& messages() { return messages_; }
    SoundCue& sound() { return sound_; }
    Launcher& launcher() { return launcher_; }
    HelpViewer& help() { return help_; }
    QPushButton* softButton(int i) const { return softButtons_.at(i - 1); } // 1..5
    QToolButton* toolButton(int i) const { return toolButtons_.at(i - 1); } // 1..13
    QScrollBar* scrollBar() const { return scrollBar_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* statusLine() const { return statusLine_; }
    QString statusPanel(int i) const;
    QLabel* levelCursor(int level) const { return levelCursors_.at(level - 1); }
    QLabel* levelHeading(int level) const { return levelHeadings_.at(level - 1); }
    QLabel* titleLabel(int i) const {
        return titleLabels_.at(i - 1);
    } // 1..3: name, version, subtitle
    QLabel* backgroundPicture() const { return backgroundPicture_; }
    bool pictureVisible() const { return pictureVisible_; }
    const QPixmap& canvas() const { return canvas_; } // what the centre shows now
    QAction* undoAction() const { return undoAction_; }
    QAction* fastModeAction() const { return fastModeAction_; }
    QAction* findAction(const QString& caption) const; // by menu caption, "&" included
    ClientArea* clientArea() const { return client_; }
    void ShowHelp(int context) override;
    // RunProgram / OpenDocument with the program's failure notice.
    void RunProgram(const QString& commandLine);
    void OpenDocument(const QString& file);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    friend class ClientArea;
    void buildUi();
    void buildMenus();
    void buildToolBar();
    bool confirmQuit();     // the quit question and shutdown; true: may close
    void NotYetAvailable(); // menu entries and tool buttons of later features: the click only
    void BackToMainMenu();  // "HAUPTMENUE"
    void onShowIniFile();
    void onShowUpdateHistory();
    void onHelpIndex();
    void onHelpGlossary();
    void KeySearchDelete(); // mode 210 "LÖSCHEN"
    void KeySearchReset();  // mode 210 "RESET"
    void redrawCanvas();    // erase and paintCanvas onto the canvas, at once
    void drawText(QPainter& p, int x, int y, const QString& text, const QColor& colour,
                  bool fillRow = false);
    void applyKeyLabel(int level, bool shown, QPoint pos, const QString& text, const QColor& bg,
                       const QColor& fg);
    void setLabelColours(QLabel* label, const QColor& bg, const QColor& fg);

    AppState& state_;
    MessageCatalog& messages_;
    SoundCue& sound_;
    Launcher& launcher_;
    HelpViewer& help_;
    SlideEntryCommands* entry_ = nullptr;
    SearchCommands* search_ = nullptr;
    RecordCommands* records_ = nullptr;

    ClientArea* client_ = nullptr;
    std::array<QPushButton*, 5> softButtons_{};
    std::array<QToolButton*, 13> toolButtons_{};
    std::array<QLabel*, 3> levelCursors_{};
    std::array<QLabel*, 3> levelHeadings_{};
    std::array<QLabel*, 3> titleLabels_{};
    std::array<QLabel*, 3> statusPanels_{};
    QLabel* backgroundPicture_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* fastModeAction_ = nullptr;
    QPixmap background_;
    QPixmap canvas_;
    QWidget* statusBar_ = nullptr; // StatusBar1
    bool busyCursor_ = false;
    Problem paintProblem_; // met by paintCanvas, reported once the canvas is released
    QFont listFont_;
    QColor listBackground_ = Qt::black;
    bool pictureVisible_ = true;
    bool closeConfirmed_ = false;
};

} // namespace lumo
