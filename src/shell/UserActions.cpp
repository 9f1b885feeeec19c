// What the main window does for the user: the soft buttons (through the screen-mode
// table), the tool buttons and menu entries, clicks on the lists and result pages, and
// paging through the results.
#include "shell/MainWindow.h"

#include "editing/RecordCommands.h"
#include "editing/SlideEntryCommands.h"
#include "platform/Cp1252.h"
#include "platform/Launcher.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "services/ServiceCommands.h"
#include "shell/ListAccessible.h"
#include "shell/ListArea.h"
#include "shell/ScreenModes.h"
#include "ui/Colours.h"

#include <QAbstractSlider>
#include <QAction>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScrollBar>

#include <algorithm>
#include <charconv>

namespace lumo {

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::string Pad6(std::string s) {
    if (s.size() < 6)
        s.append(6 - s.size(), ' ');
    return s;
}

int32_t ToInt(const std::string& s) {
    int32_t v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Soft buttons

void MainWindow::onSoftButton(int i) {
    if (i < 1 || i > 5)
        return;
    const ScreenModeRow* row = FindScreenMode(state_.screenMode);
    const SoftAction action =
        row ? row->buttons[static_cast<size_t>(i - 1)].action : SoftAction::None;
    if (!PlaysOwnClick(action))
        sound_.PlayClick();
    state_.lastSoftButton = i;
    if (row)
        runSoftAction(action, *row);
}

void MainWindow::runSoftAction(SoftAction action, const ScreenModeRow& row) {
    switch (action) {
    case SoftAction::None:
        break;
    case SoftAction::NewSlides:
        onNewSlides();
        break;
    case SoftAction::KeySearch:
        onKeySearch();
        break;
    case SoftAction::Preferences:
        onPreferences();
        break;
    case SoftAction::Help:
        ctx_.ShowHelp(row.helpTopic);
        break;
    case SoftAction::Quit:
        close();
        break;
    case SoftAction::MainMenu:
        BackToMainMenu();
        break;
    case SoftAction::SaveSlide:
        if (entry_)
            entry_->SaveSlide();
        break;
    case SoftAction::EditSelectedKeys:
        if (entry_)
            entry_->KeyEditor();
        break;
    case SoftAction::KeyStore:
        if (entry_)
            entry_->ExchangeKeyStore();
        break;
    case SoftAction::NewKeywordLevel1:
    case SoftAction::NewKeywordLevel2:
    case SoftAction::NewKeywordLevel3:
        if (entry_)
            entry_->LevelButton(1 + static_cast<int>(action) -
                                static_cast<int>(SoftAction::NewKeywordLevel1));
        break;
    case SoftAction::SearchByKeys:
        if (state_.keys.count == 0) {
            messages_.ShowError(1);
        } else {
            if (search_)
                search_->SearchByKeys();
            SetScreenCaptions(state_.screenMode);
        }
        break;
    case SoftAction::DeleteLastKey:
        KeySearchDelete();
        break;
    case SoftAction::ResetKeys:
        KeySearchReset();
        break;
    case SoftAction::TextEditor:
        if (search_)
            search_->TextEditor();
        break;
    case SoftAction::InfoTextSearch:
        onInfoTextSearch();
        break;
    case SoftAction::BoxNumberSearch:
        onBoxNumberSearch();
        break;
    case SoftAction::MemoSearch:
        onMemoSearch();
        break;
    case SoftAction::HeaderDataSearch:
        if (search_)
            search_->HeaderDataSearch();
        break;
    case SoftAction::NoFunction:
        messages_.ShowNotice(Q("Funktion nicht vorhanden"));
        break;
    case SoftAction::MemoPrint:
        if (search_)
            search_->MemoPrint();
        break;
    }
}

void MainWindow::BackToMainMenu() {
    RestoreMainScreen();
    state_.screenMode = mode::Main;
    SetScreenCaptions(mode::Main);
    messages_.ShowStatus(0);
}

void MainWindow::KeySearchDelete() {
    KeySelection& keys = state_.keys;
    if (keys.count <= 0) {
        messages_.ShowError(10);
        return;
    }
    const int last = std::min(keys.count, 8) - 1;
    const QString question = Q("Soll der bereits selektierte Schlüssel ") +
                             FromCp1252(keys.entries[static_cast<size_t>(last)].name) +
                             QChar(u'\r') + Q("aus der Suchliste gelöscht werden ?");
    if (!messages_.AskConfirmation(question))
        return;
    sound_.PlaySoundCue(QStringLiteral("loesch"), 0);
    keys.entries[static_cast<size_t>(last)].name.clear();
    keys.entries[static_cast<size_t>(last)].code.clear();
    keys.count = last;
    canvas_->RecolourLevelCursors(colour::Aqua, Qt::black);
    messages_.ShowStatus(3);
}

void MainWindow::KeySearchReset() {
    KeySelection& keys = state_.keys;
    if (keys.count <= 0) {
        messages_.ShowError(10);
        return;
    }
    if (!messages_.AskConfirmation(
            Q("Sollen die bereits erfassten Schlüssel alle wieder gelöscht werden ?")))
        return;
    sound_.PlaySoundCue(QStringLiteral("loesch"), 0);
    keys.clearAll();
    canvas_->RecolourLevelCursors(colour::Aqua, Qt::black);
    messages_.ShowStatus(3);
}

// ---------------------------------------------------------------------------------------
// Tool buttons and menu

void MainWindow::onNewSlides() {
    if (entry_)
        entry_->StartNewSlide();
}

void MainWindow::onEditSlides() {
    if (entry_)
        entry_->StartEditSlide();
}

void MainWindow::onDeleteSlides() {
    records_->DeleteSlides();
}

void MainWindow::onNewKeywords() {
    if (entry_)
        entry_->StartNewKeyword();
}

void MainWindow::onKeySearch() {
    state_.paintLock = true;
    state_.editExisting = false;
    sound_.PlayClick();
    state_.searchResultList.clear();
    state_.foundCount = 0;
    state_.firstShown = 0;
    scrollBar_->hide();
    if (state_.counters.totalRecords == 0) {
        // Leave the lock off again: nothing else would clear it on this way out.
        state_.paintLock = false;
        messages_.ShowError(53);
        return;
    }
    state_.cursor.reset();
    state_.keys.count = 0;
    SetProgress(0, 100, 100);
    ClearListArea(Qt::black, 0, 30, 640, 354);
    state_.screenMode = mode::KeySearchSetup;
    state_.keys.clearAll();
    SetScreenCaptions(mode::KeySearchSetup);
    messages_.ShowStatus(3);
    ClearLevelCursors();
    state_.paintLock = false;
    RepaintNow();
}

void MainWindow::onInfoTextSearch() {
    if (search_)
        search_->InfoTextSearch();
}

void MainWindow::onBoxNumberSearch() {
    if (search_)
        search_->BoxNumberSearch();
}

void MainWindow::onMemoSearch() {
    if (search_)
        search_->MemoSearch();
}

void MainWindow::onBackup() {
    services_->OpenBackup();
} // backup
void MainWindow::onPreferences() {
    services_->OpenPreferences();
} // preferences

void MainWindow::onPrinterSetup() {
    sound_.PlayClick();
    RestoreMainScreen();
    state_.screenMode = mode::Main;
    SetScreenCaptions(mode::Main);
    SetScreenCaptions(mode::Disabled);
    messages_.ShowStatus(20);
    if (!messages_.testMode()) {
        QPrinter printer;
        QPageSetupDialog dialog(&printer, this);
        dialog.exec();
    }
    SetScreenCaptions(mode::Main);
    messages_.ShowStatus(0);
}

void MainWindow::onHelpIntroduction() {
    sound_.PlayClick();
    ctx_.ShowHelp(1);
}

void MainWindow::onToggleFastMode() {
    sound_.PlayClick();
    state_.fastMode = !state_.fastMode;
    fastModeAction_->setText(state_.fastMode ? Q("Fenster bei Suche normal (SlowModus)")
                                             : Q("Fenster bei Suche minimieren (FastModus)"));
}

void MainWindow::onUndoKeywordLists() {
    if (entry_)
        entry_->UndoKeywordLists();
}

void MainWindow::onQuit() {
    sound_.PlayClick();
    close();
}

void MainWindow::NotYetAvailable() {
    sound_.PlayClick();
}

void MainWindow::onShowIniFile() {
    sound_.PlayClick();
    ctx_.RunProgramOnFile(FromCp1252(state_.settings.editor), "dia.ini");
}

void MainWindow::onShowUpdateHistory() {
    sound_.PlayClick();
    // An archive without the history file gets the notice, not an empty new document.
    if (!state_.archive.exists("history.wri")) {
        messages_.ShowNotice(LaunchFailureText(QStringLiteral("write.exe history.wri")));
        return;
    }
    ctx_.RunProgramOnFile(QStringLiteral("write.exe"), "history.wri");
}

void MainWindow::onHelpIndex() {
    sound_.PlayClick();
    ctx_.ShowHelp(1002);
}

void MainWindow::onHelpGlossary() {
    sound_.PlayClick();
    ctx_.ShowHelp(1001);
}

// ---------------------------------------------------------------------------------------
// Paging

void MainWindow::onResultScroll(int scrollCode, int position) {
    auto& s = state_;
    switch (scrollCode) {
    case ScrollThumbReleased:
        sound_.PlaySoundCue(QStringLiteral("next"), 0);
        s.firstShown = std::clamp(position, 0, std::max(0, s.foundCount));
        if (s.firstShown == s.foundCount) {
            // The end of the bar shows the last page; when the count fills whole pages
            // that is the last full page, not an empty one.
            const int rows = s.lastPageRows > 0 ? s.lastPageRows : kPageRows;
            s.firstShown = std::max(0, s.foundCount - rows);
        }
        showResultPage(s.firstShown);
        scrollBar_->setValue(position);
        break;
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderPageStepSub:
        if (s.firstShown - kPageRows <= 0)
            s.firstShown = kPageRows;
        sound_.PlaySoundCue(QStringLiteral("next"), 0);
        s.firstShown -= kPageRows;
        showResultPage(s.firstShown);
        scrollBar_->setValue(s.firstShown);
        scrollBar_->setSliderPosition(s.firstShown);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderPageStepAdd:
        if (s.firstShown + kPageRows < s.foundCount) {
            sound_.PlaySoundCue(QStringLiteral("next"), 0);
            s.firstShown += kPageRows;
            showResultPage(s.firstShown);
            scrollBar_->setValue(s.firstShown);
            scrollBar_->setSliderPosition(s.firstShown);
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------
// Clicks on the list area

void MainWindow::onCanvasPress(Qt::MouseButton button, int x, int y) {
    // The tool bar, the headings, the status line and the scroll bar are no list rows.
    if (!geo::InListArea(x, y))
        return;
    const int row = geo::RowFromY(y);
    const int m = state_.screenMode;
    if (mode::IsResultMode(m))
        onResultRowPress(button, x, row);
    else if (mode::IsKeyMode(m) && button == Qt::RightButton)
        moveLevelCursor(geo::LevelAt(x), row);
}

void MainWindow::onResultRowPress(Qt::MouseButton button, int x, int row) {
    RowAction action = RowAction::None;
    if (button == Qt::LeftButton) {
        switch (geo::ResultColumnAt(x)) {
        case geo::ResultColumn::Box:
            action = RowAction::BoxLabels;
            break;
        case geo::ResultColumn::SlideNumber:
            action = RowAction::HeaderData;
            break;
        case geo::ResultColumn::Text:
            action = RowAction::SlideData;
            break;
        case geo::ResultColumn::None:
            break;
        }
    } else if (button == Qt::RightButton && geo::OnResultText(x)) {
        action = RowAction::Memo;
    }
    openResultRow(action, row);
}

void MainWindow::openResultRow(RowAction action, int row) {
    if (row < 1 || row > kPageRows)
        return;
    const ResultRow& rr = state_.page.rows[static_cast<size_t>(row - 1)];
    // The left-click actions need the box number, the memo the slide number.
    if (action == RowAction::None || (action == RowAction::Memo ? rr.slide : rr.box).empty())
        return;
    switch (action) {
    case RowAction::BoxLabels:
        if (search_)
            search_->ShowBoxLabels(ToInt(rr.box));
        break;
    case RowAction::HeaderData:
        if (search_)
            search_->ShowHeaderData(ToInt(rr.slide));
        break;
    case RowAction::SlideData:
        if (entry_)
            entry_->ShowSlideData(ToInt(rr.slide));
        break;
    case RowAction::Memo:
        if (search_)
            search_->ShowMemo(ToInt(rr.slide));
        break;
    case RowAction::None:
        break;
    }
}

void MainWindow::moveLevelCursor(int level, int row) {
    if (level < 1 || level > 3)
        return;
    if (row > state_.levels.levels[static_cast<size_t>(level - 1)].count)
        return;
    auto& cur = state_.cursor;
    sound_.PlaySoundCue(QStringLiteral("click001"), 0);
    canvas_->HideLevelCursorsForMove();
    cur.currentLevel = level;
    if (level == 1) {
        cur.selectedRow = {row, 1, 1};
        canvas_->BlackOut(250, 60, 450, 350);
        canvas_->BlackOut(450, 60, 630, 350);
    } else if (level == 2) {
        cur.selectedRow[1] = row;
        cur.selectedRow[2] = 1;
        canvas_->BlackOut(450, 60, 630, 350);
    } else {
        cur.selectedRow[2] = row;
    }
    RepaintNow();
    listArea_->setFocusLevel(level);
    AnnounceListsChanged(listArea_);
    AnnounceFocusedPart(listArea_);
}

void MainWindow::onLevelCursorPress(int level, Qt::MouseButton button, QPoint clientPos) {
    if (button == Qt::LeftButton)
        onLevelCursorClick(level);
    else if (button == Qt::RightButton)
        onCanvasPress(button, clientPos.x(), clientPos.y());
}

void MainWindow::onLevelCursorClick(int level) {
    if (level < 1 || level > 3)
        return;
    const int m = state_.screenMode;
    if (m == mode::NewKeyword || !mode::IsKeyMode(m))
        return;
    const LevelList& list = state_.levels.levels[static_cast<size_t>(level - 1)];
    if (list.count <= 0)
        return; // an empty level shows no cursor label
    KeySelection& keys = state_.keys;
    if (keys.count >= 8) {
        messages_.ShowError(8);
        return;
    }
    sound_.PlaySoundCue(QStringLiteral("camera1"), 0);
    QLabel* label = canvas_->levelCursor(level);
    SetLabelColours(label, colour::Red, Qt::white);
    const bool lock = state_.paintLock;
    state_.paintLock = true;
    label->repaint();
    state_.paintLock = lock;

    const std::string code = list.currentCode;
    const std::string padded = Pad6(code);
    for (int i = 0; i < keys.count && i < 8; ++i) {
        if (Pad6(keys.entries[static_cast<size_t>(i)].code) == padded) {
            messages_.ShowError(12);
            return;
        }
    }
    KeyEntry& e = keys.entries[static_cast<size_t>(keys.count)];
    e.code = code;
    e.name = list.currentText.substr(0, 18);
    ++keys.count;
    messages_.ShowStatus(3);
    AnnouncePickedKey(listArea_, level);
}

} // namespace lumo
