// Lumoretta: the archive is the directory the program is started in.
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
#include <string_view>
#include <system_error>

int main(int argc, char** argv) {
    // Batch commands run without a display: before any QApplication.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--import-pictures")
            return lumo::RunPictureImportCommand({argv + 1, argv + argc}, std::cout, std::cerr);
    if (const auto status = lumo::RunExportCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumoretta 3.0"));
    QApplication::setDesktopFileName(QStringLiteral("lumoretta"));
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
