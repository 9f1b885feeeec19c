// The exports and printouts of the extras, each through its window as the user starts it
// (headless, test mode: the file dialog and the notice answered by the message seam), on a
// generated archive of 99,999 slides with 20,000 memos, 1,000 pictures bilder/<n>.jpg
// (slides 1..1,000) and box 1 holding slides 1..1,000. The QApplication is made by main().
#include "extras/ExportDialog.h"
#include "extras/LabelsDialog.h"
#include "extras/OutputCommands.h"
#include "shell/Program.h"
#include "store/DemoArchive.h"
#include "store/FileUtil.h"
#include "ui/MessageCatalog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>

namespace lumo {
namespace {

namespace fs = std::filesystem;
constexpr int32_t kSlides = 99999;
constexpr int32_t kThousand = 1000;

struct Fixture {
    fs::path dir;
    fs::path out; // where the exports go
    std::unique_ptr<Program> program;
};

std::unique_ptr<Fixture> gExtras;

Fixture& Get() {
    if (gExtras)
        return *gExtras;
    auto fx = std::make_unique<Fixture>();
    const std::string tag = std::to_string(::getpid());
    fx->dir = fs::temp_directory_path() / ("lumo-extras-" + tag);
    fx->out = fs::temp_directory_path() / ("lumo-extras-out-" + tag);
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(gExtras->dir, ec);
        fs::remove_all(gExtras->out, ec);
    });
    DemoOptions options;
    options.slides = kSlides;
    options.memos = 20000;
    options.dataDir = LUMO_DATA_DIR;
    if (const DemoResult made = MakeDemoArchive(fx->dir, options); !made.ok) {
        std::fprintf(stderr, "demo archive: %s\n", made.error.c_str());
        std::abort();
    }
    fs::create_directories(fx->out);
    std::fstream db(fx->dir / "dias.ddb", std::ios::in | std::ios::out | std::ios::binary);
    for (int32_t n = 1; n <= kThousand; ++n) {
        db.seekp(std::streamoff{82} * n - 1);
        db.put('\x01');
        WriteFileAtomically(fx->dir / "bilder" / (std::to_string(n) + ".jpg"), "\xFF\xD8\xFF\xD9",
                            Durability::NoSync);
    }
    db.close();
    fx->program = std::make_unique<Program>(fx->dir, true);
    if (!fx->program->Start())
        std::abort();
    fx->program->state().settings.sound = false;
    gExtras = std::move(fx);
    return *gExtras;
}

QString OutFile(const Fixture& f, const char* name) {
    return QString::fromStdString((f.out / name).string());
}

// "Exportieren" of the whole archive as a table: every record, key path, header data and
// memo read, the table converted and written durably.
void BM_ExtrasCsvWholeArchive(benchmark::State& state) {
    Fixture& f = Get();
    ExportDialog* dialog = f.program->outputs().exportDialog();
    dialog->Prepare({});
    dialog->csvChoice->setChecked(true);
    dialog->fileEdit->setText(OutFile(f, "dias.csv"));
    for (auto _ : state) {
        f.program->messages().queue(DialogAnswer::ok());
        dialog->onExport();
    }
    state.counters["bytes"] = double(fs::file_size(f.out / "dias.csv"));
    f.program->messages().clearShown();
}

// "Exportieren" as XMP sidecars: 1,000 pictures, each sidecar read back, merged with Exiv2
// and replaced (the first run creates them).
void BM_ExtrasThousandSidecars(benchmark::State& state) {
    Fixture& f = Get();
    ExportDialog* dialog = f.program->outputs().exportDialog();
    dialog->Prepare({});
    dialog->xmpChoice->setChecked(true);
    for (auto _ : state) {
        f.program->messages().queue(DialogAnswer::ok());
        dialog->onExport();
    }
    int sidecars = 0;
    for (const auto& entry : fs::directory_iterator(f.dir / "bilder"))
        sidecars += entry.path().extension() == ".xmp";
    state.counters["sidecars"] = sidecars;
    f.program->messages().clearShown();
}

// "Als PDF speichern..." of the labels of slides 1..1,000 on 38,1 x 21,2 mm sheets.
void BM_ExtrasThousandLabels(benchmark::State& state) {
    Fixture& f = Get();
    LabelsDialog* dialog = f.program->outputs().labelsDialog();
    dialog->Prepare({});
    dialog->fromEdit->setValue(1);
    dialog->toEdit->setValue(kThousand);
    dialog->sheetChoice->setCurrentIndex(3);
    for (auto _ : state) {
        f.program->messages().queueFileName(OutFile(f, "labels.pdf"));
        f.program->messages().queue(DialogAnswer::ok());
        dialog->onSavePdf();
    }
    state.counters["bytes"] = double(fs::file_size(f.out / "labels.pdf"));
    f.program->messages().clearShown();
}

// "Als PDF speichern..." of the loading list of box 1 (1,000 slides in 20 magazines).
void BM_ExtrasLoadingListOfThousand(benchmark::State& state) {
    Fixture& f = Get();
    LabelsDialog* dialog = f.program->outputs().labelsDialog();
    dialog->Prepare({});
    dialog->tabs->setCurrentIndex(1);
    dialog->boxEdit->setValue(1);
    for (auto _ : state) {
        f.program->messages().queueFileName(OutFile(f, "loading.pdf"));
        f.program->messages().queue(DialogAnswer::ok());
        dialog->onSavePdf();
    }
    dialog->tabs->setCurrentIndex(0);
    state.counters["bytes"] = double(fs::file_size(f.out / "loading.pdf"));
    f.program->messages().clearShown();
}

const bool registered = [] {
    using Bench = void (*)(benchmark::State&);
    const std::pair<const char*, Bench> extras[] = {
        {"BM_ExtrasCsvWholeArchive", BM_ExtrasCsvWholeArchive},
        {"BM_ExtrasThousandSidecars", BM_ExtrasThousandSidecars},
        {"BM_ExtrasThousandLabels", BM_ExtrasThousandLabels},
        {"BM_ExtrasLoadingListOfThousand", BM_ExtrasLoadingListOfThousand},
    };
    for (const auto& [name, fn] : extras)
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    return true;
}();

} // namespace
} // namespace lumo
