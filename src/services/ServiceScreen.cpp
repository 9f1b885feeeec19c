#include "services/ServiceScreen.h"

#include "platform/Help.h"
#include "platform/Launcher.h"
#include "ui/MessageCatalog.h"

#include <QFile>

namespace lumo {

QString ServiceContext::ArchiveDirText() const {
    return QFile::decodeName(QByteArray::fromStdString(state.archive.dir().string()));
}

QPoint ServiceContext::Place(int dx, int dy) const {
    return hooks.MainTopLeft() + QPoint(dx, dy);
}

QWidget* ServiceContext::MainWidget() const {
    return hooks.MainWidget();
}

void ServiceContext::SetScreenCaptions(int mode) const {
    hooks.SetScreenCaptions(mode);
}

void ServiceContext::TakeOverMainScreen() const {
    screen.HideScrollBar();
    screen.RestoreMainScreen();
    state.screenMode = mode::Main;
    SetScreenCaptions(mode::Main);
    SetScreenCaptions(mode::Disabled);
}

void ServiceContext::GiveBackMainScreen() const {
    SetScreenCaptions(state.screenMode);
    messages.ShowStatus(0);
}

void ServiceContext::ShowHelp(int context) const {
    help.ShowHelp(
        QFile::decodeName(QByteArray::fromStdString(state.archive.resolve("DIA.HLP").string())),
        context);
}

void ServiceContext::RunProgram(const QString& commandLine) const {
    if (!launcher.RunProgram(commandLine, ArchiveDirText()))
        messages.ShowNotice(LaunchFailureText(commandLine));
}

} // namespace lumo
