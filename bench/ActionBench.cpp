// The user's other actions, each as the program does it behind the click, on a generated
// archive of 99,999 slides with 20,000 memos, keyword levels filled to 17 keys per list
// (17 / 289 / 4,912 keywords) and all 255 boxes labelled. The real main window runs
// headless in test mode: dialogs are answered through the message seam and sound pauses
// and delays are counted instead of waited for, so the times are the program's own work.
// The QApplication is made by main().
#include "Floors.h"
#include "editing/RecordCommands.h"
#include "editing/SlideDataViewer.h"
#include "editing/SlideDeletionDialog.h"
#include "editing/SlideEntryCommands.h"
#include "editing/SlideEntryDialog.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "services/BackupDialog.h"
#include "services/ServiceCommands.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "store/DemoArchive.h"
#include "store/FileUtil.h"
#include "ui/MessageCatalog.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace lumo {
namespace {

namespace fs = std::filesystem;
constexpr int32_t kSlides = 99999;

// Keyword lists with 17 keys in every visible list: 17 on level 1, 17 below each of them
// on level 2 and 17 below each level-2 key on level 3, except below kTargetParent, which
// holds 16 so that one more fits. At most nine keys of a parent share an initial.
constexpr const char* kTargetParent = "I1K9"; // level-1 row 9, level-2 row 9

std::string Code(const std::string& parent, char initial, int j) {
    return parent + initial + std::to_string(j < 9 ? j + 1 : j - 8);
}

void WriteFullKeywordLevels(const fs::path& dir) {
    std::string l1, l2, l3;
    for (int i = 0; i < 17; ++i) {
        const char initial = char('A' + i);
        const std::string c1 = std::string(1, initial) + "1";
        l1 += std::string(1, initial) + "bene " + std::to_string(10 + i) + "\n" + c1 + "\n";
        for (int j = 0; j < 17; ++j) {
            const char i2 = j < 9 ? 'K' : 'L';
            const std::string c2 = Code(c1, i2, j);
            l2 += std::string(1, i2) + "zweig " + c2 + "\n" + c2 + "\n";
            const int children = c2 == kTargetParent ? 16 : 17;
            for (int k = 0; k < children; ++k) {
                const char i3 = k < 9 ? 'M' : 'N';
                const std::string c3 = Code(c2, i3, k);
                l3 += std::string(1, i3) + "blatt " + c3 + "\n" + c3 + "\n";
            }
        }
    }
    for (auto& [name, text] :
         {std::pair{"keyword1", &l1}, std::pair{"keyword2", &l2}, std::pair{"keyword3", &l3}}) {
        *text += "*";
        WriteFileAtomically(dir / name, *text);
        WriteFileAtomically(dir / (std::string(name) + ".old"), *text);
    }
}

void WriteAllBoxLabels(const fs::path& dir) {
    std::string ini;
    for (int b = 1; b <= 255; ++b) {
        char section[16];
        std::snprintf(section, sizeof section, "[K%03d]\r\n", b);
        ini += section;
        ini += "T1=Magazine " + std::to_string(b) + " bis " + std::to_string(b + 9) + "\r\n";
        ini += "T2=Thema des Kastens " + std::to_string(b) + "\r\n";
    }
    WriteFileAtomically(dir / "KASTEN.INI", ini);
}

struct Fixture {
    fs::path dir;
    std::string iniUnknownCount; // DIA.INI with DIAS=?, so that start-up analyses
    std::string keyword3;
    std::unique_ptr<Program> program;
};

std::unique_ptr<Fixture> gActions;

std::unique_ptr<Program> StartProgram(const fs::path& dir) {
    auto program = std::make_unique<Program>(dir, true);
    if (!program->Start()) {
        std::fprintf(stderr, "the program did not start on the bench archive\n");
        std::abort();
    }
    program->state().settings.sound = false;
    return program;
}

Fixture& Get() {
    if (gActions)
        return *gActions;
    auto fx = std::make_unique<Fixture>();
    fx->dir = fs::temp_directory_path() / ("lumo-actions-" + std::to_string(::getpid()));
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(fs::temp_directory_path() / ("lumo-actions-" + std::to_string(::getpid())),
                       ec);
    });
    DemoOptions options;
    options.slides = kSlides;
    options.memos = 20000;
    options.dataDir = LUMO_DATA_DIR;
    if (const DemoResult made = MakeDemoArchive(fx->dir, options); !made.ok) {
        std::fprintf(stderr, "demo archive: %s\n", made.error.c_str());
        std::abort();
    }
    WriteFullKeywordLevels(fx->dir);
    WriteAllBoxLabels(fx->dir);
    fx->keyword3 = *ReadWholeFile(fx->dir / "keyword3");
    std::string ini = *ReadWholeFile(fx->dir / "DIA.INI");
    const size_t at = ini.find("DIAS=");
    ini.replace(at, ini.find('\r', at) - at, "DIAS=?");
    fx->iniUnknownCount = ini;
    fx->program = StartProgram(fx->dir);
    gActions = std::move(fx);
    return *gActions;
}

void Count(benchmark::State& state, Fixture& f) {
    state.counters["records"] = f.program->state().counters.totalRecords;
    f.program->messages().clearShown();
}

// Program start on an archive whose DIA.INI does not know the number of slides: all
// windows made, settings read, every record analysed, undo copies made, DIA.INI saved.
void BM_ActionStartWithAnalysis(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        state.PauseTiming();
        WriteFileAtomically(f.dir / "DIA.INI", f.iniUnknownCount);
        state.ResumeTiming();
        auto program = StartProgram(f.dir);
        QCoreApplication::processEvents(); // the first paint
        state.PauseTiming();
        state.counters["active"] = program->state().counters.activeSlides;
        program.reset();
        state.ResumeTiming();
    }
}

// "Datensatz speichern" for a new slide with three keys: the record appended, DIA.INI
// saved, the three keyword lists copied to their undo copies, the dialog prepared again.
// Every run stores slide 99,999 into an archive of 99,998 records.
void BM_ActionSaveNewSlide(benchmark::State& state) {
    Fixture& f = Get();
    Program& p = *f.program;
    AppState& st = p.state();
    p.entry().StartNewSlide();
    st.keys.clearAll();
    st.keys.entries[0] = {"A1", "Abene 10"};
    st.keys.entries[1] = {"A1K1", "Kzweig A1K1"};
    st.keys.entries[2] = {"A1K1M1", "Mblatt A1K1M1"};
    st.keys.count = 3;
    for (auto _ : state) {
        state.PauseTiming();
        fs::resize_file(f.dir / "dias.ddb", uintmax_t(kSlides - 1) * 82);
        st.counters.totalRecords = kSlides - 1;
        st.currentSlide = kSlides;
        p.entry().slideEntryDialog()->Prepare();
        state.ResumeTiming();
        p.entry().slideEntryDialog()->onSave();
    }
    Count(state, f);
}

// "Dias editieren": the slide number answered, the slide read and shown with its keys,
// the save dialog prepared and "Datensatz speichern" (the record rewritten in place).
void BM_ActionReRecordSlide(benchmark::State& state) {
    Fixture& f = Get();
    Program& p = *f.program;
    for (auto _ : state) {
        p.messages().queue(DialogAnswer::type(QStringLiteral("50000")));
        p.entry().StartEditSlide();
        p.entry().slideEntryDialog()->Prepare();
        p.entry().slideEntryDialog()->onSave();
    }
    Count(state, f);
}

// The slide data viewer: one step to the next or previous slide (record, keys, picture).
void BM_ActionStepViewer(benchmark::State& state) {
    Fixture& f = Get();
    SlideDataViewer& viewer = *f.program->entry().slideDataViewer();
    viewer.Fill(50000);
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            viewer.onNextSlide();
        else
            viewer.onPreviousSlide();
        forward = !forward;
    }
    Count(state, f);
}

// "EBENE <3>" in mode 140 below a level-2 key with 16 keys: name typed, question answered
// "Ja", the 4,913th level-3 keyword sorted in and the lists rewritten with undo copies.
void BM_ActionInsertKeywordIntoFullLevel(benchmark::State& state) {
    Fixture& f = Get();
    Program& p = *f.program;
    AppState& st = p.state();
    for (auto _ : state) {
        state.PauseTiming();
        WriteFileAtomically(f.dir / "keyword3", f.keyword3);
        p.entry().StartNewKeyword();
        st.cursor.currentLevel = 2;
        st.cursor.selectedRow = {9, 9, 1};
        p.main().RepaintNow();
        p.messages().queue(DialogAnswer::type(QStringLiteral("Nblatt neu")));
        p.messages().queue(DialogAnswer::yes());
        state.ResumeTiming();
        p.entry().LevelButton(3);
    }
    state.counters["level3"] = double(std::count(f.keyword3.begin(), f.keyword3.end(), '\n') / 2);
    if (ReadWholeFile(f.dir / "keyword3")->find("Nblatt neu\nI1K9N8\n") == std::string::npos)
        state.SkipWithError("the keyword was not inserted");
    WriteFileAtomically(f.dir / "keyword3", f.keyword3);
    Count(state, f);
}

// "&1 - Liste der Kastenbezeichnungen erstellen...": kasten.txt for 255 labelled boxes.
void BM_ActionBoxListReport(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        f.program->messages().queue(DialogAnswer::no()); // do not open the editor
        f.program->search().WriteBoxList();
    }
    Count(state, f);
}

// "&2 - Liste der verwendeten Schlüssel erstellen...": keyliste.txt of the full levels.
void BM_ActionKeyListReport(benchmark::State& state) {
    Fixture& f = Get();
    for (auto _ : state) {
        f.program->messages().queue(DialogAnswer::no());
        f.program->search().WriteKeyList();
    }
    Count(state, f);
}

// "MEMO PRINT" after a memo search that found all 20,000 memos: memo.txt with every memo.
// Each run is preceded by that memo search (tool button 8, "Dia"), timed apart, so that
// "by_search" compares the two in the same run over the same files.
void BM_ActionMemoListReport(benchmark::State& state) {
    Fixture& f = Get();
    Program& p = *f.program;
    const std::vector<std::string> memos = MemoPaths(f.dir);
    FloorRecord record, bySearch;
    for (auto _ : state) {
        state.PauseTiming();
        p.messages().queue(DialogAnswer::type(QStringLiteral("Dia"), false));
        auto start = std::chrono::steady_clock::now();
        p.main().toolButton(8)->click();
        bySearch.floor(MsSince(start));
        state.ResumeTiming();
        start = std::chrono::steady_clock::now();
        p.search().MemoPrint();
        record.action(MsSince(start));
        bySearch.action(MsSince(start));
        state.PauseTiming();
        record.floor(ReadFilesMs(memos));
        state.ResumeTiming();
    }
    state.counters["memos"] = p.state().foundCount;
    record.report(state);
    bySearch.report(state, "search_ms", "by_search");
    Count(state, f);
}

// The bytes of a slide range in every file that a deletion changes, to put them back.
struct RangeFiles {
    std::string records, headerData;
    std::map<fs::path, std::string> memosAndPictures;
};

constexpr int32_t kDeleteFirst = 50001, kDeleteLast = 51000;

std::string ReadRange(const fs::path& file, size_t recordSize) {
    std::string all = *ReadWholeFile(file);
    return all.substr((kDeleteFirst - 1) * recordSize,
                      (kDeleteLast - kDeleteFirst + 1) * recordSize);
}

void WriteRange(const fs::path& file, size_t recordSize, const std::string& bytes) {
    std::string all = *ReadWholeFile(file);
    all.replace((kDeleteFirst - 1) * recordSize, bytes.size(), bytes);
    WriteFileAtomically(file, all);
}

// "Dias &löschen" for slides 50,001 to 51,000 with all four check boxes: range checked,
// question answered, archive analysed, 1,000 records marked, their header data blanked,
// their memos and pictures removed, DIA.INI saved. The range is restored between runs.
void BM_ActionDeleteThousandSlides(benchmark::State& state) {
    Fixture& f = Get();
    Program& p = *f.program;
    SlideDeletionDialog& dialog = *p.records().slideDeletionDialog();
    RangeFiles saved{ReadRange(f.dir / "dias.ddb", 82), ReadRange(f.dir / "kopfdata.ddb", 120), {}};
    for (int32_t n = kDeleteFirst; n <= kDeleteLast; ++n)
        for (const fs::path& file : {f.dir / "memo" / (std::to_string(n) + ".txt"),
                                     f.dir / "bilder" / (std::to_string(n) + ".bmp")})
            if (fs::exists(file))
                saved.memosAndPictures[file] = *ReadWholeFile(file);
    dialog.fromEdit->setText(QString::number(kDeleteFirst));
    dialog.toEdit->setText(QString::number(kDeleteLast));
    for (auto _ : state) {
        state.PauseTiming();
        WriteRange(f.dir / "dias.ddb", 82, saved.records);
        WriteRange(f.dir / "kopfdata.ddb", 120, saved.headerData);
        for (const auto& [file, bytes] : saved.memosAndPictures)
            WriteFileAtomically(file, bytes);
        p.messages().queue(DialogAnswer::yes());
        state.ResumeTiming();
        dialog.onDelete();
    }
    state.counters["memos"] = double(saved.memosAndPictures.size());
    if (ReadWholeFile(f.dir / "dias.ddb")->find("Dia wurde entnommen / Platz frei") ==
        std::string::npos)
        state.SkipWithError("no slide was deleted");
    WriteRange(f.dir / "dias.ddb", 82, saved.records);
    WriteRange(f.dir / "kopfdata.ddb", 120, saved.headerData);
    for (const auto& [file, bytes] : saved.memosAndPictures)
        WriteFileAtomically(file, bytes);
    Count(state, f);
}

// A second archive of the same size beside the first one, made once.
fs::path OtherArchive(Fixture& f) {
    const fs::path other = f.dir.string() + "-other";
    if (!fs::exists(other)) {
        fs::copy(f.dir, other, fs::copy_options::recursive);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() /
                               ("lumo-actions-" + std::to_string(::getpid()) + "-other"),
                           ec);
        });
    }
    return other;
}

void OpenArchive(Program& p, const fs::path& dir) {
    p.messages().queueFileName(QFile::decodeName((dir / "dias.ddb").c_str()));
    p.services().OpenArchive();
}

// "Archiv &öffnen...": dias.ddb of another archive of 99,999 slides chosen, its settings
// read, every record analysed, DIA.INI saved, the background picture loaded. The runs
// open the two archives in turn.
void BM_ActionOpenOtherArchive(benchmark::State& state) {
    Fixture& f = Get();
    Program& p = *f.program;
    const fs::path archives[] = {OtherArchive(f), f.dir};
    size_t next = 0;
    for (auto _ : state) {
        OpenArchive(p, archives[next]);
        next = 1 - next;
    }
    if (p.state().archive.dir() != archives[1 - next])
        state.SkipWithError("the archive was not opened");
    if (p.state().archive.dir() != f.dir)
        OpenArchive(p, f.dir);
    state.counters["active"] = p.state().counters.activeSlides;
    Count(state, f);
}

// "&Backup starten" with all five groups checked into a new Backup directory: the slide
// database files, keyword lists, header data, 20,000 memos and the pictures, each copy
// written durably.
void BM_ActionBackupAllGroups(benchmark::State& state) {
    Fixture& f = Get();
    Program& p = *f.program;
    const fs::path target = f.dir.string() + "-backup";
    p.state().settings.backupGroups = {true, true, true, true, true};
    // The floor writes the same copies: every file the backup leaves in its directory.
    fs::remove_all(target);
    fs::create_directory(target);
    bool ok = p.services().backupDialog().RunBackup(target / "Backup", true);
    std::vector<std::pair<std::string, std::string>> copies;
    for (const auto& e : fs::recursive_directory_iterator(target / "Backup"))
        if (e.is_regular_file())
            copies.emplace_back(fs::relative(e.path(), target / "Backup").string(),
                                *ReadWholeFile(e.path()));
    FloorRecord record;
    // Every run and its floor write into new directories, removed only at the end: ext4
    // spends long on a new file where many were removed a moment before (it looks for an
    // inode that was not freed recently), which would measure the removal, not the copies.
    for (int run = 0; state.KeepRunning(); ++run) {
        const fs::path into = target / ("Run" + std::to_string(run));
        fs::create_directory(into);
        const auto start = std::chrono::steady_clock::now();
        ok = p.services().backupDialog().RunBackup(into / "Backup", true) && ok;
        record.action(MsSince(start));
        state.PauseTiming();
        record.floor(WriteFilesMs(into / "Floor", copies));
        state.ResumeTiming();
    }
    record.report(state);
    state.counters["memos"] = double(std::distance(
        fs::directory_iterator(target / "Backup" / "memo"), fs::directory_iterator()));
    state.counters["files"] = double(copies.size());
    fs::remove_all(target);
    if (!ok)
        state.SkipWithError("the backup failed");
    Count(state, f);
}

// Registered in the order a user meets them, all timed in milliseconds of wall time.
const bool kRegistered = [] {
    using Fn = void (*)(benchmark::State&);
    const std::pair<const char*, Fn> actions[] = {
        {"BM_ActionStartWithAnalysis", BM_ActionStartWithAnalysis},
        {"BM_ActionSaveNewSlide", BM_ActionSaveNewSlide},
        {"BM_ActionReRecordSlide", BM_ActionReRecordSlide},
        {"BM_ActionStepViewer", BM_ActionStepViewer},
        {"BM_ActionInsertKeywordIntoFullLevel", BM_ActionInsertKeywordIntoFullLevel},
        {"BM_ActionBoxListReport", BM_ActionBoxListReport},
        {"BM_ActionKeyListReport", BM_ActionKeyListReport},
        {"BM_ActionMemoListReport", BM_ActionMemoListReport},
        {"BM_ActionDeleteThousandSlides", BM_ActionDeleteThousandSlides},
        {"BM_ActionOpenOtherArchive", BM_ActionOpenOtherArchive},
        {"BM_ActionBackupAllGroups", BM_ActionBackupAllGroups},
    };
    for (const auto& [name, fn] : actions)
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    return true;
}();

} // namespace

void TearDownActions() {
    gActions.reset();
}

} // namespace lumo
