#include "extras/PictureImportCommand.h"

#include "extras/ScanImport.h"
#include "store/ArchiveLock.h"
#include "store/SlideDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <filesystem>
#include <memory>

namespace lumo {

namespace {

constexpr const char* kUsage =
    "Aufruf: lumoretta --import-pictures ORDNER [--first N] [--replace]\n"
    "  ordnet die Bilder des Ordners den Dias des Archivs im aktuellen Verzeichnis zu\n"
    "  (die Dianummer aus dem Dateinamen, mit --first N der Reihe nach ab Dia N);\n"
    "  --replace ersetzt Bilder, die schon da sind.\n";

struct Call {
    std::string folder;
    int32_t first = 0;
    bool replace = false;
};

bool Parse(const std::vector<std::string>& args, Call& call) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--import-pictures" && i + 1 < args.size() && call.folder.empty()) {
            call.folder = args[++i];
        } else if (a == "--first" && i + 1 < args.size()) {
            try {
                size_t used = 0;
                const long n = std::stol(args[++i], &used);
                if (used != args[i].size() || n < 1 || n > kMaxSlideNumber)
                    return false;
                call.first = int32_t(n);
            } catch (...) {
                return false;
            }
        } else if (a == "--replace") {
            call.replace = true;
        } else {
            return false;
        }
    }
    return !call.folder.empty();
}

std::string Text(const QString& s) {
    return s.toStdString();
}

} // namespace

int RunPictureImportCommand(const std::vector<std::string>& args, std::ostream& out,
                            std::ostream& err) {
    Call call;
    if (!Parse(args, call)) {
        err << kUsage;
        return 2;
    }
    // Qt's image plug-ins (TIFF, WebP) are found through the application object; a
    // QCoreApplication needs no display.
    std::unique_ptr<QCoreApplication> app;
    static int argc = 1;
    static char name[] = "lumoretta";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);

    const QString folder = QFile::decodeName(QByteArray::fromStdString(call.folder));
    if (!QDir(folder).exists()) {
        err << "Ordner " << call.folder << " nicht gefunden.\n";
        return 2;
    }
    std::error_code ec;
    Archive archive(std::filesystem::current_path(ec));
    ArchiveLock lock;
    switch (lock.acquire(archive.dir())) {
    case ArchiveLock::Result::Acquired:
        break;
    case ArchiveLock::Result::HeldElsewhere:
        err << "Das Archiv wird gerade von einem anderen Lumoretta-Programm benutzt.\n";
        return 1;
    case ArchiveLock::Result::Unavailable:
        err << "Das Archiv kann nicht beschrieben werden.\n";
        return 1;
    }
    RecoverAfterInterruptedRun(archive, lock);
    Counters counters;
    if (CountRecords(archive, counters)) {
        err << "Archiv DIAS.DDB konnte nicht geöffnet werden !\n";
        return 1;
    }

    const auto rows = PlanScanImport(ListScanFiles(folder), call.first, counters.totalRecords,
                                     PictureLookup(archive), call.replace);
    int imported = 0, kept = 0, failed = 0;
    for (const auto& row : rows) {
        if (row.willImport())
            continue;
        out << Text(SkipText(row)) << '\n';
        ++(row.failedToMatch() ? failed : kept);
    }
    PictureImportRun run(MakeImportJobs(archive, folder, rows), kDefaultJpegQuality);
    run.start();
    while (!run.done())
        for (const auto& outcome : run.take(200)) {
            out << Text(outcome.text) << '\n';
            ++(outcome.ok ? imported : failed);
        }
    out << "Bilder zugeordnet: " << imported << ", nicht ersetzt: " << kept
        << ", fehlerhaft: " << failed << '\n';
    out.flush();
    return failed > 0 ? 1 : 0;
}

} // namespace lumo
