#include "extras/ExportCommands.h"

#include "extras/CsvExport.h"
#include "extras/XmpSidecars.h"
#include "store/ArchiveLock.h"

#include <filesystem>
#include <system_error>

namespace lumo {

namespace {

namespace fs = std::filesystem;

// The archive of the working directory, locked for the command's run; false after the
// message when another program holds it.
bool ClaimWorkingArchive(Archive& archive, ArchiveLock& lock, std::ostream& err) {
    std::error_code ec;
    fs::path dir = fs::current_path(ec);
    if (ec) {
        err << "lumoretta: Das Arbeitsverzeichnis ist nicht lesbar.\n";
        return false;
    }
    archive.setDir(dir);
    switch (lock.acquire(dir)) {
    case ArchiveLock::Result::Acquired:
        RecoverAfterInterruptedRun(archive, lock);
        return true;
    case ArchiveLock::Result::HeldElsewhere:
        err << "lumoretta: Das Archiv " << dir.string()
            << " ist in einem anderen Programm ge\xC3\xB6"
               "ffnet.\n";
        return false;
    case ArchiveLock::Result::Unavailable:
        break;
    }
    // A write-protected archive cannot be locked; exporting the table reads only.
    return true;
}

int Finish(const ExportOutcome& outcome, std::ostream& out, std::ostream& err) {
    if (outcome.ok) {
        out << outcome.message << '\n';
        return 0;
    }
    err << "lumoretta: " << outcome.message << '\n';
    return 1;
}

} // namespace

int RunCsvExportCommand(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
    if (args.size() != 1 || args[0].empty()) {
        err << "lumoretta: --export-csv erwartet genau einen Dateinamen.\n";
        return 2;
    }
    Archive archive;
    ArchiveLock lock;
    if (!ClaimWorkingArchive(archive, lock, err))
        return 1;
    // A relative file name is taken from the working directory, as a shell user means it.
    return Finish(ExportCsv(archive, fs::absolute(args[0])), out, err);
}

int RunXmpExportCommand(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
    if (!args.empty()) {
        err << "lumoretta: --export-xmp erwartet keine weiteren Angaben.\n";
        return 2;
    }
    Archive archive;
    ArchiveLock lock;
    if (!ClaimWorkingArchive(archive, lock, err))
        return 1;
    if (!lock.held()) {
        err << "lumoretta: Das Archiv ist schreibgesch\xC3\xBCtzt.\n";
        return 1;
    }
    const ExportOutcome outcome =
        ExportSidecars(archive, std::nullopt, [&](const std::string& name, const std::string& why) {
            if (why.empty())
                out << name << '\n';
            else
                err << "lumoretta: " << name << ": " << why << '\n';
        });
    return Finish(outcome, out, err);
}

} // namespace lumo
