#include "ui/FeatureContext.h"

#include "platform/Help.h"
#include "platform/Launcher.h"
#include "store/Settings.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QFile>

namespace lumo {

void FeatureContext::ShowHelp(int context) const {
    help.ShowHelp(QString::fromStdString(state.archive.resolve("DIA.HLP").string()), context);
}

void FeatureContext::RunProgram(const QString& commandLine) const {
    if (!launcher.RunProgram(commandLine, ArchivePathText()))
        messages.ShowNotice(LaunchFailureText(commandLine));
}

void FeatureContext::RunProgramOnFile(const QString& program, std::string_view bareName) const {
    const std::string onDisk = state.archive.resolve(bareName).filename().string();
    RunProgram(program + u' ' + QFile::decodeName(QByteArray::fromStdString(onDisk)));
}

void FeatureContext::OpenDocument(const QString& file) const {
    if (!launcher.OpenDocument(file, ArchivePathText()))
        messages.ShowNotice(LaunchFailureText(file));
}

bool FeatureContext::SaveSettings() const {
    const QPoint topLeft = screen.MainTopLeft();
    state.settings.windowTop = topLeft.y();
    state.settings.windowLeft = topLeft.x();
    if (lumo::SaveSettings(state.archive, state.settings, state.counters))
        return true;
    messages.ShowNotice(
        QString::fromUtf8("Ini-Datei für Lumoretta konnte nicht\rkorrekt gesichert werden !"));
    return false;
}

QString FeatureContext::ArchivePathText() const {
    return QString::fromStdString(state.archive.dir().string());
}

} // namespace lumo
