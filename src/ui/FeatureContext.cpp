#include "ui/FeatureContext.h"

#include "platform/Help.h"
#include "platform/Launcher.h"
#include "store/Settings.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QFile>

namespace lumo {

namespace {

QString PathText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

} // namespace

void FeatureContext::ShowHelp(int context) const {
    help.ShowHelp(PathText(state.archive.resolve("DIA.HLP")), context);
}

void FeatureContext::RunProgram(const QString& commandLine) const {
    if (!launcher.RunProgram(commandLine, ArchivePathText()))
        messages.ShowNotice(LaunchFailureText(commandLine));
}

void FeatureContext::RunProgramOnFile(const QString& program, std::string_view bareName) const {
    const QString onDisk = PathText(state.archive.resolve(bareName).filename());
    if (!launcher.RunProgramOnFile(program, onDisk, ArchivePathText()))
        messages.ShowNotice(LaunchFailureText(program + u' ' + onDisk));
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
    return PathText(state.archive.dir());
}

QPoint FeatureContext::Place(int dx, int dy) const {
    return screen.MainTopLeft() + QPoint(dx, dy);
}

QWidget* FeatureContext::MainWidget() const {
    return screen.MainWidget();
}

void FeatureContext::SetScreenCaptions(int mode) const {
    screen.SetScreenCaptions(mode);
}

void FeatureContext::TakeOverMainScreen() const {
    screen.HideScrollBar();
    screen.RestoreMainScreen();
    state.screenMode = mode::Main;
    screen.SetScreenCaptions(mode::Main);
    screen.SetScreenCaptions(mode::Disabled);
}

void FeatureContext::GiveBackMainScreen() const {
    screen.SetScreenCaptions(state.screenMode);
    messages.ShowStatus(0);
}

} // namespace lumo
