// Whole searches as the user runs them: the real main window (headless), started from its
// tool buttons, soft buttons and menu over a generated archive of 99,999 slides with
// 20,000 memo files. Dialogs are answered through the message seam, sounds are off; what
// is timed is everything from the click to the status text after the statistics notice.
#include "Floors.h"
#include "platform/Sound.h"
#include "search/Criteria.h"
#include "search/gui/HeaderDataDialog.h"
#include "search/gui/SearchCommands.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "store/DemoArchive.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"
#include "ui/InputPrompt.h"
#include "ui/MessageCatalog.h"
#include "ui/NoticeDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace lumo {
namespace {

namespace fs = std::filesystem;
constexpr int32_t kSlides = 99999;

// The application and the program live until TearDownWholeSearch(), called by main()
// before it returns: a QApplication must not be destroyed by the exit handlers, after
// Qt's own globals are gone.
std::unique_ptr<QApplication> gApplication;

void EnsureApplication() {
    if (gApplication || QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "lumo_bench";
    static char* argv[] = {name, nullptr};
    gApplication = std::make_unique<QApplication>(argc, argv);
}

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct Fixture {
    fs::path dir;
    std::unique_ptr<Program> program;
    std::string keyOne;  // a level-2/3 code on about 1 % of the slides
    std::string infoOne; // a magazine position on about 1 % of the slides
    std::string camera;  // field 1 of slide 1's header data
    int found = 0;
};

// Slot-start occurrences per code prefix, counted straight from the record bytes.
std::string KeyNearOnePercent(const fs::path& dir) {
    const std::string slideFile = ReadAll(dir / "dias.ddb");
    std::map<std::string, int> count;
    for (size_t off = 0; off + 82 <= slideFile.size(); off += 82)
        for (int s = 0; s < 8; ++s) {
            std::string slot(slideFile.data() + off + s * 6, 6);
            slot = slot.substr(0, slot.find_first_of(std::string(" \0", 2)));
            for (size_t len : {4u, 6u})
                if (slot.size() >= len)
                    ++count[slot.substr(0, len)];
        }
    std::string best;
    double bestDist = 1e18;
    for (const auto& [code, c] : count) {
        const double d = std::abs(c - kSlides * 0.01);
        if (d < bestDist) {
            bestDist = d;
            best = code;
        }
    }
    return best;
}

std::string InfoNearOnePercent(const fs::path& dir) {
    const std::string slideFile = ReadAll(dir / "dias.ddb");
    std::map<std::string, int> count;
    for (size_t off = 0; off + 82 <= slideFile.size(); off += 82)
        ++count[std::string(slideFile.data() + off + 48, 3)];
    std::string best;
    double bestDist = 1e18;
    for (const auto& [pos, c] : count) {
        const double d = std::abs(c - kSlides * 0.01);
        if (d < bestDist) {
            bestDist = d;
            best = pos;
        }
    }
    return best;
}

std::unique_ptr<Fixture> gFixture;

Fixture& Get() {
    if (gFixture)
        return *gFixture;
    gFixture = [] {
        EnsureApplication();
        auto fx = std::make_unique<Fixture>();
        fx->dir = fs::temp_directory_path() / ("lumo-wholesearch-" + std::to_string(::getpid()));
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(
                fs::temp_directory_path() / ("lumo-wholesearch-" + std::to_string(::getpid())), ec);
        });
        DemoOptions options;
        options.slides = kSlides;
        options.memos = 20000;
        const DemoResult made = MakeDemoArchive(fx->dir, options);
        if (!made.ok) {
            std::fprintf(stderr, "demo archive: %s\n", made.error.c_str());
            std::abort();
        }
        fx->keyOne = KeyNearOnePercent(fx->dir);
        fx->infoOne = InfoNearOnePercent(fx->dir);
        HeaderValues first;
        ReadHeaderRecord(Archive(fx->dir), 1, first);
        fx->camera = first[0].empty() ? std::string("a") : first[0];
        fx->program = std::make_unique<Program>(fx->dir, true);
        if (!fx->program->Start()) {
            std::fprintf(stderr, "the program did not start on the demo archive\n");
            std::abort();
        }
        fx->program->state().settings.sound = false;
        return fx;
    }();
    return *gFixture;
}

void Finish(benchmark::State& state, Fixture& f) {
    state.counters["found"] = f.program->state().foundCount;
    state.counters["records"] = f.program->state().counters.totalRecords;
    f.program->messages().clearShown();
}

// Mode 210 through tool button 5, one key picked, "SUCHE DIAS".
void KeySearch(benchmark::State& state, const std::string& code) {
    Fixture& f = Get();
    MainWindow& main = f.program->main();
    for (auto _ : state) {
        main.toolButton(5)->click();
        auto& keys = f.program->state().keys;
        keys.entries[0] = {code, "Auswahl"};
        keys.count = 1;
        main.softButton(1)->click();
        main.SetScreenCaptions(f.program->state().screenMode);
    }
    Finish(state, f);
}

void PromptSearch(benchmark::State& state, int toolButton, const QString& text) {
    Fixture& f = Get();
    for (auto _ : state) {
        f.program->messages().queue(DialogAnswer::type(text, false));
        f.program->main().toolButton(toolButton)->click();
    }
    Finish(state, f);
}

void BM_KeySearchAllMatching(benchmark::State& state) {
    KeySearch(state, "00");
}
void BM_KeySearchOnePercent(benchmark::State& state) {
    KeySearch(state, Get().keyOne);
}
void BM_InfoTextSearchAllMatching(benchmark::State& state) {
    PromptSearch(state, 6, QStringLiteral(" "));
}
void BM_InfoTextSearchOnePercent(benchmark::State& state) {
    PromptSearch(state, 6, QString::fromLatin1(Get().infoOne));
}
void BM_BoxSearch(benchmark::State& state) {
    PromptSearch(state, 7, QStringLiteral("7"));
}
// The memo search beside its floor: every memo file opened, read and closed.
void BM_MemoSearch(benchmark::State& state) {
    Fixture& f = Get();
    const std::vector<std::string> memos = MemoPaths(f.dir);
    FloorRecord record;
    for (auto _ : state) {
        f.program->messages().queue(DialogAnswer::type(QStringLiteral("Dia"), false));
        const auto start = std::chrono::steady_clock::now();
        f.program->main().toolButton(8)->click();
        record.action(MsSince(start));
        state.PauseTiming();
        record.floor(ReadFilesMs(memos));
        state.ResumeTiming();
    }
    record.report(state);
    Finish(state, f);
}

// Ends the statistics notice as soon as it is on screen and notes when that was: the
// result page is painted before it opens.
class NoticeWatch : public QObject {
public:
    std::chrono::steady_clock::time_point shownAt;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<NoticeDialog*>(object)) {
            shownAt = std::chrono::steady_clock::now();
            QTimer::singleShot(0, object,
                               [object] { static_cast<NoticeDialog*>(object)->onThanks(); });
        }
        return false;
    }
};

// The memo search as a user meets it: tool button 8, "Dia" typed into the real prompt,
// timed from the click on "&Suchen" to the statistics notice over the result page. The
// dialogs are real modal dialogs and the pauses on the way are waited for: 50 ms after
// the prompt closes and 100 ms before the result page (sounds stay off). Each iteration
// also runs the search as BM_MemoSearch does (dialogs answered, pauses counted), so
// "ratio" is (click to result - pauses) / that own time, both from the same run.
void BM_MemoSearchFromClick(benchmark::State& state) {
    constexpr double kPausesMs = 150;
    Fixture& f = Get();
    MessageCatalog& messages = f.program->messages();
    NoticeWatch watch;
    std::chrono::steady_clock::time_point clickedAt;
    std::vector<double> own, click;
    for (auto _ : state) {
        state.PauseTiming();
        messages.queue(DialogAnswer::type(QStringLiteral("Dia"), false));
        const auto start = std::chrono::steady_clock::now();
        f.program->main().toolButton(8)->click();
        own.push_back(MsSince(start));
        messages.setTestMode(false);
        f.program->sound().setTestMode(false);
        qApp->installEventFilter(&watch);
        state.ResumeTiming();
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* prompt = qobject_cast<InputPrompt*>(w); prompt && prompt->isVisible()) {
                    prompt->input->setText(QStringLiteral("Dia"));
                    clickedAt = std::chrono::steady_clock::now();
                    prompt->searchButton->click();
                }
        });
        f.program->main().toolButton(8)->click();
        const std::chrono::duration<double> took = watch.shownAt - clickedAt;
        state.SetIterationTime(took.count());
        click.push_back(took.count() * 1000);
        qApp->removeEventFilter(&watch);
        messages.setTestMode(true);
        f.program->sound().setTestMode(true);
    }
    std::sort(own.begin(), own.end());
    std::sort(click.begin(), click.end());
    const double ownMs = own[own.size() / 2], clickMs = click[click.size() / 2];
    state.counters["own_ms"] = ownMs;
    state.counters["ratio"] = (clickMs - kPausesMs) / ownMs;
    Finish(state, f);
}

void BM_HeaderDataSearch(benchmark::State& state) {
    Fixture& f = Get();
    HeaderDataDialog* dlg = f.program->search().headerDialog();
    const QString camera = QString::fromLatin1(f.camera);
    QAction* action =
        f.program->main().findAction(QString::fromUtf8("Dias über Kopfdaten&felder suchen..."));
    for (auto _ : state) {
        // Fill the criterion and press "&Suchen" as soon as the dialog is up.
        auto* timer = new QTimer(dlg);
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, dlg, [dlg, timer, camera] {
            if (!dlg->isVisible())
                return;
            timer->stop();
            timer->deleteLater();
            dlg->valueBoxes[0]->setEditText(camera);
            dlg->okButton->click();
        });
        timer->start();
        action->trigger();
    }
    Finish(state, f);
}

BENCHMARK(BM_KeySearchAllMatching)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KeySearchOnePercent)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InfoTextSearchAllMatching)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InfoTextSearchOnePercent)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BoxSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemoSearch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemoSearchFromClick)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_HeaderDataSearch)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

void TearDownWholeSearch() {
    gFixture.reset();
    gApplication.reset();
}

} // namespace lumo
