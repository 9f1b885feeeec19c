// Lumoretta: the archive is the directory the program is started in.
#include "extras/ExportCommands.h"
#include "platform/QtGerman.h"
#include "shell/Program.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTranslator>

#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    // The exports from a terminal run without a display, before any window exists.
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
