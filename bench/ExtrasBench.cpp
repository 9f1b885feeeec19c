// The magazine map and the scan import. The map: opened on a demo archive of 99,999
// slides (20,000 memos, every record in one of the 255 boxes, about 400 slides each, so
// every place is claimed several times), and the switch to the fullest box, each through
// the real window, headless, painted once. The import: 100 scans of 3000 x 2000 pixels
// into a demo archive of 100 slides, on the worker threads the dialog and the command line
// use, once as JPEG (copied, small picture decoded at its size) and once as PNG (decoded
// whole, written as JPEG). The QApplication is made by main().
#include "extras/MagazineMapWindow.h"
#include "extras/MapAndScanCommands.h"
#include "extras/ScanImport.h"
#include "shell/Program.h"
#include "store/DemoArchive.h"
#include "store/SlideDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <unistd.h>

namespace lumo {
namespace {

namespace fs = std::filesystem;

fs::path TempDir(const char* what) {
    return fs::temp_directory_path() /
           ("lumo-extras-" + std::string(what) + "-" + std::to_string(::getpid()));
}

void MakeArchive(const fs::path& dir, int32_t slides, int32_t memos) {
    DemoOptions options;
    options.slides = slides;
    options.memos = memos;
    if (const DemoResult made = MakeDemoArchive(dir, options); !made.ok) {
        std::fprintf(stderr, "demo archive: %s\n", made.error.c_str());
        std::abort();
    }
}

struct MapFixture {
    fs::path dir = TempDir("map");
    std::unique_ptr<Program> program;
};
std::unique_ptr<MapFixture> gMap;

MapFixture& Map() {
    if (gMap)
        return *gMap;
    gMap = std::make_unique<MapFixture>();
    MakeArchive(gMap->dir, 99999, 20000);
    std::atexit([] { fs::remove_all(TempDir("map")); });
    qAddPostRoutine([] { gMap.reset(); }); // the program goes before the QApplication does
    gMap->program = std::make_unique<Program>(gMap->dir, true);
    if (!gMap->program->Start())
        std::abort();
    return *gMap;
}

void BM_ExtrasOpenMagazineMap(benchmark::State& state) {
    MagazineMapWindow& map = *Map().program->mapAndScan().magazineMap();
    for (auto _ : state) {
        map.Reload(-1);
        map.show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        map.hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["boxes"] = double(map.boxList->topLevelItemCount());
}

void BM_ExtrasSwitchToFullestBox(benchmark::State& state) {
    MagazineMapWindow& map = *Map().program->mapAndScan().magazineMap();
    map.Reload(-1);
    map.show();
    CollectionIndex index;
    index.Load(Map().program->state().archive);
    BoxSummary fullest;
    for (const BoxSummary& s : index.Boxes(2, 50))
        if (s.slides > fullest.slides)
            fullest = s;
    for (auto _ : state) {
        state.PauseTiming();
        map.ShowBox(fullest.box == 1 ? 2 : 1);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        map.ShowBox(fullest.box);
        map.grid->repaint();
    }
    map.hide();
    state.counters["slides"] = fullest.slides;
}

// One scan of 3000 x 2000: smooth colours with some grain, as a photograph has.
QImage Scan() {
    QImage image(3000, 2000, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 3000, 2000);
    g.setColorAt(0, QColor(200, 120, 60));
    g.setColorAt(1, QColor(30, 60, 140));
    p.fillRect(image.rect(), g);
    p.end();
    std::mt19937 rng(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(rng() % 17) - 8;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                           qBound(0, qBlue(c) + n, 255));
        }
    }
    return image;
}

void ImportHundred(benchmark::State& state, const char* format) {
    const fs::path dir = TempDir(format);
    const fs::path scans = dir.string() + "-scans";
    MakeArchive(dir, 100, 0);
    fs::create_directories(scans);
    const QString first = QString::fromStdString((scans / (std::string("1.") + format)).string());
    Scan().save(first, format, 90);
    for (int n = 2; n <= 100; ++n)
        fs::copy_file(first.toStdString(), scans / (std::to_string(n) + "." + format));
    const Archive archive(dir);
    Counters counters;
    CountRecords(archive, counters);
    const QString folder = QString::fromStdString(scans.string());
    int ok = 0;
    for (auto _ : state) {
        const auto rows = PlanScanImport(ListScanFiles(folder), 0, counters.totalRecords,
                                         PictureLookup(archive), true);
        PictureImportRun run(MakeImportJobs(archive, folder, rows), kDefaultJpegQuality);
        run.start();
        ok = 0;
        while (!run.done())
            for (const auto& outcome : run.take(100))
                ok += outcome.ok;
    }
    state.counters["imported"] = ok;
    state.counters["scan_kB"] = double(fs::file_size(first.toStdString()) / 1024);
    fs::remove_all(dir);
    fs::remove_all(scans);
    if (ok != 100)
        state.SkipWithError("not every scan was imported");
}

void BM_ExtrasImportHundredJpegScans(benchmark::State& state) {
    ImportHundred(state, "jpg");
}
void BM_ExtrasImportHundredPngScans(benchmark::State& state) {
    ImportHundred(state, "png");
}

BENCHMARK(BM_ExtrasOpenMagazineMap)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtrasSwitchToFullestBox)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExtrasImportHundredJpegScans)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK(BM_ExtrasImportHundredPngScans)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace
} // namespace lumo
