// Lumoretta: the archive is the directory the program is started in.
#include "app/CommandLine.h"
#include "extras/ExportCommands.h"
#include "extras/PictureImportCommand.h"
#include "platform/QtGerman.h"
#include "shell/Program.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTranslator>

#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

int RunWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumoretta 3.0"));
    // The desktop entry org.lumoretta.Lumoretta.desktop: docks and window lists show its icon.
    QApplication::setDesktopFileName(QStringLiteral("org.lumoretta.Lumoretta"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("lumoretta")));
    // Qt's file dialogs ("Archiv öffnen", "System-Editor auswählen") and standard buttons.
    QTranslator qtGerman;
    lumo::InstallQtGerman(qtGerman);

    std::error_code ec;
    std::filesystem::path archive = std::filesystem::current_path(ec);
    if (ec)
        archive = ".";

    lumo::Program program(archive, false);
    if (!program.Start()) {
        if (program.userLeft())
            return 0;
        // Fatal exit: nothing is saved.
        QMessageBox::critical(nullptr, QStringLiteral("Lumoretta 3.0"),
                              QStringLiteral("Programm Lumoretta wird abgebrochen !"));
        return 1;
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    // The options are read before anything of Qt starts, so they work without a display.
    using namespace lumo::cli;
    const Call call = ReadCall(Tool::Lumoretta, argc, argv);
    if (call.exitStatus)
        return *call.exitStatus;
    switch (call.command.action) {
    case Action::ImportPictures: {
        std::vector<std::string> args{"--import-pictures"};
        args.insert(args.end(), call.command.args.begin(), call.command.args.end());
        return lumo::RunPictureImportCommand(args, std::cout, std::cerr);
    }
    case Action::ExportCsv:
        return lumo::RunCsvExportCommand(call.command.args, std::cout, std::cerr);
    case Action::ExportXmp:
        return lumo::RunXmpExportCommand(call.command.args, std::cout, std::cerr);
    default:
        return RunWindow(argc, argv);
    }
}
