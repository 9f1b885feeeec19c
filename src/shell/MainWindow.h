#pragma once
// MainWindow: the main window. Fixed 638 x 440 client area below the menu bar; tool bar,
// the list area (start picture, level lists or a result page), status line, five soft
// buttons and the three-panel status bar. It implements the Screen the feature windows
// and commands talk to.
//   MainWindow.cpp        widgets, menus, tool bar and the Screen primitives
//   ScreenModes.cpp       the soft buttons of every screen mode, as a table
//   UserActions.cpp       soft buttons, tool buttons, menu entries, clicks on the lists, paging
//   KeyboardActions.cpp   the keys on the list area: level cursors, picking, result rows
//   ListCanvas.cpp        painting of the level lists and result pages, hit-testing geometry
//   ListArea.cpp          keyboard focus and focus frame of the list area
//   ListAccessible.cpp    the list area as assistive tools see it
//   StartupShutdown.cpp   start-up, saving the settings, the quit question
#include "shell/ListCanvas.h"
#include "ui/AppState.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace lumo {

class SoundCue;
class Launcher;
class HelpViewer;
class ClientArea;
class ListArea;
class SlideEntryCommands;
class SearchCommands;
class ServiceCommands;
class RecordCommands;
class MapAndScanCommands;
class OutputCommands;
struct ScreenModeRow;
enum class SoftAction;

class MainWindow : public QMainWindow, public Screen {
    Q_OBJECT
public:
    MainWindow(AppState& state, MessageCatalog& messages, SoundCue& sound, Launcher& launcher,
               HelpViewer& help, QWidget* parent = nullptr);
    ~MainWindow() override;

    void setCommands(SlideEntryCommands* entry, SearchCommands* search) {
        entry_ = entry;
        search_ = search;
    }
    void setServices(ServiceCommands* services) { services_ = services; }
    void setRecordCommands(RecordCommands* records) { records_ = records; }
    void setMapAndScanCommands(MapAndScanCommands* commands) { mapAndScan_ = commands; }
    void setOutputCommands(OutputCommands* outputs) { outputs_ = outputs; }

    // Screen
    void SetStatusLine(const QString& text, const QColor& colour) override;
    void SetScreenCaptions(int mode) override;
    void SetWindowCaptionSuffix(const QString& suffix) override;
    void SetStatusPanel(int panel, const QString& text) override;
    void RepaintStatusBar() override;
    void SetProgress(int minimum, int maximum, int value) override;
    void SetProgressValue(int value) override;
    void SetBusyCursor(bool on) override;
    void RestoreMainScreen() override;
    void ClearListArea(const QColor& colour, int x1, int y1, int x2, int y2) override;
    void ClearLevelCursors() override;
    void RepaintNow() override; // synchronous repaint of the client area
    void showResultPage(int first) override;
    void PaintResultRow(int r) override; // at 60 + 17*(r-1)
    void DrawResultHeadings() override;  // the three yellow column titles
    void SetBackgroundBlack() override;
    void LoadBackgroundPicture() override;
    void UpdateCounterPanels() override;
    void HideScrollBar() override;
    void ShowResultScrollBar() override;
    void SetupResultScrollBar(int maximum) override; // also raised; the list area takes the focus
    QPoint MainTopLeft() const override;
    void MoveToStoredPosition() override;
    QWidget* MainWidget() override { return this; }
    void MinimiseForScan(bool on) override;
    void SetUndoEnabled(bool on) override;

    // What the feature windows and commands are handed.
    const FeatureContext& context() const { return ctx_; }

    // Program start and end.
    bool StartUp(); // steps 3..15 of the start; false: fatal, the program must end
    bool closeConfirmed() const { return closeConfirmed_; }
    static QString AnalysisNoticeText(); // shown before the archive is analysed
    // Window caption at start: ProgramTitle + " - letzte Änderung am " + ReleaseDate.
    static QString ProgramTitle() { return QStringLiteral("Lumoretta 3.03"); }
    static QString ProgramVersion() { return QStringLiteral("3.03"); }
    static QString ReleaseDate() { return QStringLiteral("07.06.1999"); }

    // Handlers of the soft buttons, tool buttons, menu, scroll bar and list area.
    void onSoftButton(int i); // 1..5, as the screen-mode table says
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
    void onLevelCursorClick(int level); // left click on the cursor label of level 1..3
    void onLevelCursorPress(int level, Qt::MouseButton button, QPoint clientPos);
    // A key on the list area (Qt::Key, modifiers without the keypad flag); true: used.
    bool onListKey(int key, Qt::KeyboardModifiers modifiers);

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
    QLabel* levelCursor(int level) const { return canvas_->levelCursor(level); }
    QLabel* levelHeading(int level) const { return canvas_->levelHeading(level); }
    QLabel* titleLabel(int i) const { return canvas_->titleLabel(i); } // name, version, subtitle
    QLabel* backgroundPicture() const { return canvas_->backgroundPicture(); }
    bool pictureVisible() const { return canvas_->pictureVisible(); }
    const QPixmap& canvas() const { return canvas_->pixmap(); } // what the centre shows now
    QAction* undoAction() const { return undoAction_; }
    QAction* fastModeAction() const { return fastModeAction_; }
    QAction* findAction(const QString& caption) const; // by menu caption, "&" included
    ClientArea* clientArea() const { return client_; }
    ListArea* listArea() const { return listArea_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void buildUi();
    void buildScrollBar();
    void buildBottomPanel();
    void buildMenus();
    void buildToolBar();
    void runSoftAction(SoftAction action, const ScreenModeRow& row);
    void onResultRowPress(Qt::MouseButton button, int x, int row);
    // What a result row opens: by the mouse from the column and button, by the keys from
    // the modifiers of Enter.
    enum class RowAction { None, BoxLabels, HeaderData, SlideData, Memo };
    void openResultRow(RowAction action, int row);
    bool onLevelListKey(int key);
    bool onResultPageKey(int key, Qt::KeyboardModifiers modifiers);
    void setUpKeyboard();             // tab order, Enter on the soft buttons, accessible names
    void onScreenModeShown(int mode); // the list area takes the focus when a list mode starts
    void moveLevelCursor(int level, int row); // right click on a level list
    bool confirmQuit();                       // the quit question and shutdown; true: may close
    void NotYetAvailable(); // menu entries and tool buttons of later features: the click only
    void BackToMainMenu();  // "HAUPTMENUE"
    void onShowIniFile();
    void onShowUpdateHistory();
    void onHelpIndex();
    void onHelpGlossary();
    void KeySearchDelete(); // mode 210 "LÖSCHEN"
    void KeySearchReset();  // mode 210 "RESET"

    AppState& state_;
    MessageCatalog& messages_;
    SoundCue& sound_;
    Launcher& launcher_;
    HelpViewer& help_;
    FeatureContext ctx_;
    SlideEntryCommands* entry_ = nullptr;
    SearchCommands* search_ = nullptr;
    ServiceCommands* services_ = nullptr;
    RecordCommands* records_ = nullptr;
    MapAndScanCommands* mapAndScan_ = nullptr;
    OutputCommands* outputs_ = nullptr;

    ClientArea* client_ = nullptr;
    std::unique_ptr<ListCanvas> canvas_;
    ListArea* listArea_ = nullptr;
    int shownMode_ = -1; // the mode whose captions were set last (disabling aside)
    std::array<QPushButton*, 5> softButtons_{};
    std::array<QToolButton*, 13> toolButtons_{};
    std::array<QLabel*, 3> statusPanels_{};
    QLabel* statusLine_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* fastModeAction_ = nullptr;
    QWidget* statusBar_ = nullptr;
    bool busyCursor_ = false;
    bool closeConfirmed_ = false;
};

} // namespace lumo
