#include "search/gui/SearchCommands.h"

#include "editing/BoxLabelsDialog.h"
#include "editing/MemoEditor.h"
#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "search/SearchRun.h"
#include "search/gui/HeaderDataDialog.h"
#include "store/FileUtil.h"
#include "store/SlideDatabase.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>
#include <bitset>
#include <fcntl.h>
#include <unistd.h>

namespace lumo {

namespace {
// Progress, counters and rows are brought to the screen at display rate, not per record.
constexpr qint64 kDisplayIntervalMs = 30;

int ResultModeOf(int kind) {
    static const int modes[] = {mode::KeyResults, mode::InfoResults, mode::BoxResults,
                                mode::MemoResults, mode::HeaderResults};
    return modes[kind];
}
} // namespace

SearchCommands::SearchCommands(const FeatureContext& ctx) : ctx_(ctx) {
    headerDialog_ = new HeaderDataDialog(ctx, *this);
    boxLabelsDialog_ = new BoxLabelsDialog(ctx);
    memoEditor_ = new MemoEditor(ctx);
}

SearchCommands::~SearchCommands() = default;

void SearchCommands::setClock(ReportClock clock) {
    memoEditor_->setClock(clock);
    clock_ = std::move(clock);
}

QString SearchCommands::Editor() const {
    return FromCp1252(ctx_.state.settings.editor);
}

// ---------------------------------------------------------------- the archive scan

void SearchCommands::EndScanFailed() {
    auto& st = ctx_.state;
    st.paintLock = false;
    ctx_.screen.RestoreMainScreen();
    st.screenMode = mode::Main;
    ctx_.screen.SetScreenCaptions(mode::Main);
    ctx_.messages.ShowStatus(0);
}

void SearchCommands::RunScan(Kind kind, HeaderValues* criteria) {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    const int resultMode = ResultModeOf(static_cast<int>(kind));
    // Slides beyond the five digits of a result line are never listed: such a line would
    // read back as another slide.
    const int32_t total = std::min(st.counters.totalRecords, kMaxSlideNumber);
    const bool paintsBlack = kind == Kind::Info || kind == Kind::Memo || kind == Kind::Header;
    const bool readsSlide = kind == Kind::Memo || kind == Kind::Header;

    st.searchResultList.clear();
    st.firstShown = 0;
    if (st.fastMode)
        ctx_.screen.MinimiseForScan(true);
    st.screenMode = resultMode;
    ctx_.screen.SetScreenCaptions(resultMode);
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    st.page.clear();

    SearchRun run(st.archive, st.searchResultList, st.page, st.foundCount, clock_);

    QElapsedTimer clock;
    clock.start();
    std::bitset<kPageRows + 1> dirtyRows;
    int32_t reached = 0;
    bool busy = false;
    int32_t lastMatch = 0; // memo and header search: the match read as the current slide
    bool blackPending = false;
    auto flush = [&](bool force) {
        if (!force && clock.elapsed() < kDisplayIntervalMs)
            return;
        clock.restart();
        if (blackPending) {
            // The background went black at the start of the page now on screen; its rows
            // filled so far are drawn on it.
            blackPending = false;
            ctx_.screen.SetBackgroundBlack();
            for (int r = 1; r <= kPageRows; ++r)
                if (!st.page.rows[static_cast<size_t>(r - 1)].empty())
                    dirtyRows.set(static_cast<size_t>(r));
        }
        for (int r = 1; r <= kPageRows; ++r)
            if (dirtyRows[r])
                ctx_.screen.PaintResultRow(r);
        dirtyRows.reset();
        ctx_.screen.SetProgressValue(ProgressPosition(reached, total));
        ctx_.screen.SetStatusPanel(0, QString::number(reached));
        ctx_.screen.SetStatusPanel(2, QString::number(st.foundCount));
        ctx_.screen.RepaintStatusBar();
        // Keep the window drawn, but no input reaches it while the scan runs.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };

    ScanCallbacks cb;
    cb.begun = [&] {
        ctx_.screen.ClearListArea(Qt::black, 0, 30, 640, 354);
        ctx_.screen.SetStatusPanel(0, QStringLiteral("0"));
        ctx_.screen.SetStatusPanel(2, QStringLiteral("0"));
        ctx_.screen.RepaintStatusBar();
        ctx_.screen.DrawResultHeadings();
        msg.ShowStatus(4);
        ctx_.screen.SetBusyCursor(true);
        busy = true;
        clock.restart();
    };
    cb.progress = [&](int32_t n) {
        reached = n;
        st.currentSlide = n;
        flush(false);
    };
    cb.pageStarted = [&] {
        if (paintsBlack) {
            blackPending = true;
            st.paintLock = true;
        }
    };
    cb.rowFilled = [&](int row, int32_t n) {
        if (n > reached)
            reached = n;
        st.currentSlide = n;
        if (readsSlide)
            lastMatch = n;
        dirtyRows.set(static_cast<size_t>(row));
        flush(false);
    };

    Problem p;
    switch (kind) {
    case Kind::Keys:
        p = ScanKeys(run, total, st.keys, cb);
        break;
    case Kind::Info:
        p = ScanInfoText(run, total, st.searchText, st.caseSensitive, cb);
        break;
    case Kind::Box:
        p = ScanBox(run, total, st.boxNumber, cb);
        break;
    case Kind::Memo:
        p = ScanMemo(run, total, st.searchText, st.caseSensitive, cb);
        break;
    case Kind::Header:
        p = ScanHeaderData(run, total, *criteria, cb);
        break;
    }
    if (!p)
        p = run.Finish(total);
    // Each match of the memo and header data search becomes the current slide in turn;
    // only the last one stays, so only that one is read.
    if (lastMatch > 0) {
        if (const Problem rp =
                ReadSlide(st.archive, lastMatch, st.slide, st.keys, &st.keywordCache))
            msg.Report(rp);
    }
    if (run.lastExamined() > 0)
        st.currentSlide = run.lastExamined();
    flush(true);
    if (kind == Kind::Box)
        ctx_.screen.SetProgressValue(100);
    if (busy)
        ctx_.screen.SetBusyCursor(false);
    if (st.fastMode)
        ctx_.screen.MinimiseForScan(false);
    if (p) {
        // dias.ddb (or a memo, or the report) failed: the scan ends, the screen goes back
        // to the main menu so no half-built result list stays behind.
        if (p.kind == ProblemKind::Error31)
            msg.ShowError(31);
        else
            msg.Report(p);
        st.foundCount = 0;
        st.searchResultList.clear();
        EndScanFailed();
        return;
    }

    const int32_t found = st.foundCount;
    const QString statistics = FromCp1252(StatisticsMessage(total, found));
    if (found > 0) {
        ctx_.sound.Delay(100);
        st.paintLock = false;
        ctx_.screen.showResultPage(0);
        ctx_.screen.SetupResultScrollBar(found);
        st.lastPageRows = run.lastPageRows();
        ctx_.screen.RepaintStatusBar();
    }
    msg.ShowStatus(20);
    if (found > 0) {
        msg.ShowNotice(statistics);
        if (kind != Kind::Box)
            st.keys.count = 0;
        ctx_.screen.SetBusyCursor(false);
        if (kind != Kind::Keys) // the key search's caller applies 211
            ctx_.screen.SetScreenCaptions(resultMode);
        msg.ShowStatus(13);
        return;
    }

    // Nothing found.
    int error = 3;
    if (kind == Kind::Keys) {
        for (auto& e : st.keys.entries) {
            e.code = std::string(kEmptyKeyCode);
            e.name.clear();
        }
        for (auto& k : st.slide.storedKeys)
            k = std::string(kEmptyKeyCode);
        error = 9;
    } else {
        MarkNoResult(st.page);
        error = kind == Kind::Box ? 2 : kind == Kind::Header ? 34 : 3;
    }
    msg.ShowError(error);
    ctx_.screen.RestoreMainScreen();
    st.screenMode = mode::Main;
    msg.ShowStatus(0);
    st.paintLock = false;
    // The soft buttons must name the functions of the main menu again.
    ctx_.screen.SetScreenCaptions(mode::Main);
}

// ---------------------------------------------------------------- start commands

void SearchCommands::SearchByKeys() {
    RunScan(Kind::Keys, nullptr);
}

void SearchCommands::StartPromptSearch(Kind kind) {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    const int resultMode = ResultModeOf(static_cast<int>(kind));
    ctx_.screen.HideScrollBar();
    ctx_.sound.PlayClick();
    if (st.counters.totalRecords == 0) {
        msg.ShowError(53);
        return;
    }
    if (st.screenMode != resultMode) {
        ctx_.screen.RestoreMainScreen();
        st.screenMode = mode::Main;
        ctx_.screen.SetScreenCaptions(mode::Main);
        ctx_.screen.SetScreenCaptions(mode::Disabled);
    }
    st.searchConfirmed = false;
    if (kind == Kind::Info)
        msg.SetPromptText(FromCp1252(kFreeSlotMarker));
    else if (kind == Kind::Memo)
        msg.SetPromptText(QString());
    const int promptKind = kind == Kind::Info ? 1 : kind == Kind::Box ? 2 : 3;
    msg.SearchPrompt(promptKind);
    ctx_.screen.SetProgress(0, 100, 100);
    if (kind != Kind::Box) {
        st.searchText = ToCp1252Lossy(msg.PromptText());
        st.caseSensitive = msg.PromptChecked();
    }
    if (st.searchConfirmed) {
        RunScan(kind, nullptr);
        if (kind != Kind::Box)
            return;
        ctx_.screen.RepaintNow();
    }
    msg.ShowStatus(st.screenMode == mode::Main ? 0 : 13);
    ctx_.screen.SetScreenCaptions(st.screenMode);
}

void SearchCommands::InfoTextSearch() {
    StartPromptSearch(Kind::Info);
}
void SearchCommands::BoxNumberSearch() {
    StartPromptSearch(Kind::Box);
}
void SearchCommands::MemoSearch() {
    StartPromptSearch(Kind::Memo);
}

void SearchCommands::HeaderDataSearch() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.screen.HideScrollBar();
    ctx_.sound.PlayClick();
    if (st.counters.totalRecords == 0) {
        msg.ShowError(53);
        return;
    }
    if (st.screenMode != mode::HeaderResults) {
        ctx_.screen.RestoreMainScreen();
        st.screenMode = mode::Main;
        ctx_.screen.SetScreenCaptions(mode::Main);
        ctx_.screen.SetScreenCaptions(mode::Disabled);
    }
    st.searchConfirmed = false;
    headerDialog_->Init();
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    headerDialog_->move(ctx_.screen.MainTopLeft() + QPoint(58, 93));
    ctx_.sound.PlaySoundCue(QStringLiteral("bell"), 0);
    headerDialog_->SetSearchMode();
    msg.ShowStatus(20);
    headerDialog_->exec();
    ctx_.screen.SetProgress(0, 100, 100);
    if (st.searchConfirmed) {
        headerDialog_->RunSearch();
        return;
    }
    msg.ShowStatus(st.screenMode == mode::Main ? 0 : 13);
    ctx_.screen.SetScreenCaptions(st.screenMode);
}

void SearchCommands::RunHeaderDataScan(HeaderDataDialog& form) {
    auto& st = ctx_.state;
    // kopfdata.ddb is opened before anything else: without it the scan does not start
    // and the previous report and result list stay as they were.
    {
        int err = 0;
        const int probe = OpenRegular(st.archive.resolve("kopfdata.ddb"), O_RDONLY, &err);
        if (probe >= 0)
            ::close(probe);
        if (probe < 0) {
            ctx_.messages.ShowError(31);
            if (mode::IsResultMode(st.screenMode) && st.foundCount > 0)
                ctx_.screen.ShowResultScrollBar();
            ctx_.messages.ShowStatus(st.screenMode == mode::Main ? 0 : 13);
            ctx_.screen.SetScreenCaptions(st.screenMode);
            return;
        }
    }
    HeaderValues criteria = form.Values();
    NormaliseHeaderCriteria(criteria);
    form.SetValues(criteria); // empty boxes now read "nicht verwendet"
    RunScan(Kind::Header, &criteria);
}

void SearchCommands::TextEditor() {
    ctx_.RunProgramOnFile(Editor(), "dialiste.txt");
}

// ---------------------------------------------------------------- list reports

void SearchCommands::MemoPrint() {
    auto& st = ctx_.state;
    ctx_.screen.SetBusyCursor(true);
    std::vector<int32_t> slides;
    slides.reserve(st.searchResultList.size());
    for (const auto& line : st.searchResultList)
        slides.push_back(std::stoi(RowFromListLine(line).slide));
    const Problem p = WriteMemoList(st.archive, slides, clock_);
    ctx_.screen.SetBusyCursor(false);
    if (p) {
        ctx_.messages.Report(p);
        return;
    }
    ctx_.RunProgramOnFile(Editor(), "memo.txt");
}

void SearchCommands::WriteBoxList() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    ctx_.screen.RestoreMainScreen();
    st.screenMode = mode::Main;
    msg.ShowStatus(20);
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.screen.SetWindowCaptionSuffix(
        QStringLiteral(" - Liste der Kastenbezeichnungen erstellen..."));
    msg.ShowNotice(QStringLiteral("Die Datei kasten.txt wird nun neu erstellt.\rUnter "
                                  "Datei/Analyse-Dateien anzeigen...\rkönnen Sie diese "
                                  "jederzeit laden und modifizieren."));
    ctx_.screen.SetBusyCursor(true);
    msg.ShowStatus(16);
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    const Problem p = lumo::WriteBoxList(st.archive, clock_);
    // The list walks every box; the last one read stays the current box.
    st.boxNumber = 255;
    ReadBoxLabel(st.archive, 255, st.magazineText, st.themeText);
    ctx_.screen.SetBusyCursor(false);
    if (p) {
        msg.Report(p);
    } else {
        const bool edit = msg.AskConfirmation(QStringLiteral(
            "Die Datei kasten.txt wurde erstellt.\rMöchten Sie die Datei bearbeiten ?"));
        ctx_.screen.RepaintNow();
        if (edit)
            ctx_.RunProgramOnFile(Editor(), "kasten.txt");
    }
    msg.ShowStatus(0);
    ctx_.screen.SetScreenCaptions(mode::Main);
}

void SearchCommands::WriteKeyList() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    if (FirstEmptyKeywordFile(st.archive) != 0) {
        msg.ShowError(54);
        return;
    }
    ctx_.screen.RestoreMainScreen();
    st.screenMode = mode::Main;
    msg.ShowStatus(20);
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.screen.SetWindowCaptionSuffix(
        QStringLiteral(" - Liste der verwendeten Schlüssel erstellen..."));
    msg.ShowNotice(QStringLiteral("Die Datei keyliste.txt wird nun neu erstellt.\rUnter "
                                  "Datei/Analyse-Dateien anzeigen...\rkönnen Sie diese "
                                  "jederzeit laden und modifizieren."));
    ctx_.screen.RepaintNow();
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.screen.SetBusyCursor(true);
    msg.ShowStatus(16);
    int emptyLevel = 0;
    const Problem p = lumo::WriteKeyList(st.archive, clock_, &emptyLevel);
    ctx_.screen.SetBusyCursor(false);
    if (emptyLevel != 0) {
        msg.ShowError(54);
    } else if (p) {
        msg.Report(p);
    } else {
        const bool edit = msg.AskConfirmation(QStringLiteral(
            "Die Schlüsselliste wurde erstellt.\rMöchten Sie die Datei bearbeiten ?"));
        ctx_.screen.RepaintNow();
        if (edit)
            ctx_.RunProgramOnFile(Editor(), "keyliste.txt");
    }
    msg.ShowStatus(0);
    ctx_.screen.SetScreenCaptions(mode::Main);
}

void SearchCommands::ShowReportFiles() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    const QString chosen = ctx_.messages.GetOpenFileName(
        QStringLiteral("Analysedatei auswählen"), QString::fromStdString(st.archive.dir().string()),
        QStringLiteral("Analysedatei (*.txt)"), QStringLiteral("dialiste.txt"));
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.screen.SetWindowCaptionSuffix(QStringLiteral(" - Analyse-Dateien anzeigen..."));
    if (!chosen.isEmpty()) {
        // The editor gets the name the file has in the archive directory.
        ctx_.RunProgramOnFile(Editor(),
                              QFile::encodeName(QFileInfo(chosen).fileName()).toStdString());
    }
    ctx_.screen.SetScreenCaptions(st.screenMode);
}

// ---------------------------------------------------------------- result-row clicks

void SearchCommands::ShowBoxLabels(int32_t box) {
    boxLabelsDialog_->OpenForBox(box);
}

void SearchCommands::ShowHeaderData(int32_t slide) {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    headerDialog_->Init();
    headerDialog_->move(ctx_.screen.MainTopLeft() + QPoint(58, 93));
    headerDialog_->SetEntryMode(
        QStringLiteral("Zu dem ausgewählten Dia wurden\rfolgende Kopfdaten bereits erfasst"));
    headerDialog_->ShowSlide(slide);
    ctx_.messages.ShowStatus(20);
    // Only an explicit confirmation may write after the dialog; a flag left over from an
    // earlier prompt must not store the values the user walked away from.
    st.searchConfirmed = false;
    headerDialog_->slideNumberEdit->setFocus();
    headerDialog_->exec();
    if (st.searchConfirmed) {
        bool ok = false;
        const int n = headerDialog_->slideNumberEdit->text().toInt(&ok);
        if (ok && n > 0 && n <= st.counters.totalRecords) {
            if (const Problem p = WriteHeaderRecord(st.archive, n, headerDialog_->Values()))
                ctx_.messages.Report(p);
        }
        st.searchConfirmed = false;
    }
    ctx_.screen.SetScreenCaptions(st.screenMode);
    ctx_.messages.ShowStatus(13);
}

void SearchCommands::ShowMemo(int32_t slide) {
    ctx_.sound.PlayClick();
    const std::string doc = "memo/" + std::to_string(slide) + ".doc";
    if (ctx_.state.archive.exists(doc)) {
        // The name as it is spelled on disk, relative to the archive.
        const auto rel =
            ctx_.state.archive.resolve(doc).lexically_relative(ctx_.state.archive.dir());
        ctx_.OpenDocument(QFile::decodeName(rel.string().c_str()));
        return;
    }
    memoEditor_->OpenForSlide(slide);
}

void SearchCommands::EnterBoxLabels() {
    boxLabelsDialog_->OpenFromMenu();
}
void SearchCommands::EnterMemos() {
    memoEditor_->OpenFromMenu();
}
void SearchCommands::EnterHeaderData() {
    headerDialog_->OpenForEntry();
}

} // namespace lumo
