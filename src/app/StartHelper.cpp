// lumoretta-start: the desktop menu's way into Lumoretta. The program works in the
// directory it is started in; this helper changes into the archive used last (or on the
// first start into a new one made from the installed template under the documents
// directory) and starts the program there.
#include "app/CommandLine.h"
#include "platform/StartArchive.h"

#include <QApplication>
#include <QMessageBox>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

void ShowMessage(QMessageBox::Icon icon, const std::string& text) {
    int argc = 1;
    char name[] = "lumoretta-start";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QMessageBox box(icon, QStringLiteral("Lumoretta"), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.exec();
}

} // namespace

int main(int argc, char** argv) {
    if (const auto call = lumo::cli::ReadCall(lumo::cli::Tool::StartHelper, argc, argv);
        call.exitStatus)
        return *call.exitStatus;

    std::error_code ec;
    const fs::path bin = fs::read_symlink("/proc/self/exe", ec).parent_path();
    const fs::path templateDir = (bin / LUMO_TEMPLATE_FROM_BIN).lexically_normal();

    const lumo::StartChoice choice = lumo::ChooseStartArchive(templateDir);
    if (choice.archive.empty()) {
        ShowMessage(QMessageBox::Critical,
                    "Lumoretta kann nicht gestartet werden.\n\n" + choice.error);
        return 1;
    }
    if (choice.unreachable)
        ShowMessage(QMessageBox::Information,
                    "Das zuletzt benutzte Archiv\n" + choice.unreachable->string() +
                        "\nist nicht erreichbar.\n\nLumoretta startet nun mit dem Archiv\n" +
                        choice.archive.string() +
                        ".\nÜber \"Datei / Archiv öffnen...\" wählen Sie ein anderes.");
    if (::chdir(choice.archive.c_str()) != 0) {
        ShowMessage(QMessageBox::Critical,
                    "Das Archiv " + choice.archive.string() +
                        " kann nicht geöffnet werden: " + std::strerror(errno));
        return 1;
    }
    const fs::path program = bin / "lumoretta";
    ::execl(program.c_str(), "lumoretta", static_cast<char*>(nullptr));
    ShowMessage(QMessageBox::Critical, "Das Programm " + program.string() +
                                           " kann nicht gestartet werden: " + std::strerror(errno));
    return 1;
}
