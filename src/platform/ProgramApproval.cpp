#include "platform/ProgramApproval.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace lumo {

namespace {

const QString kKey = QStringLiteral("approved/commands");

} // namespace

ProgramApproval::ProgramApproval(QString file) : file_(std::move(file)) {
    if (file_.isEmpty())
        file_ = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                    .filePath(QStringLiteral("lumoretta/programs.ini"));
}

QStringList ProgramApproval::approved() const {
    return QSettings(file_, QSettings::IniFormat).value(kKey).toStringList();
}

bool ProgramApproval::isApproved(const QString& command) const {
    return approved().contains(command);
}

bool ProgramApproval::approve(const QString& command) {
    QSettings settings(file_, QSettings::IniFormat);
    QStringList list = settings.value(kKey).toStringList();
    if (!list.contains(command))
        list.append(command);
    settings.setValue(kKey, list);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString ProgramApproval::Command(const QString& program, const QStringList& args) {
    QStringList words;
    for (const QString& word : QStringList{program} + args) {
        const bool plain = !word.isEmpty() && !word.contains(QLatin1Char(' ')) &&
                           !word.contains(QLatin1Char('"')) && !word.contains(QLatin1Char('\t'));
        words << (plain
                      ? word
                      : QLatin1Char('"') +
                            QString(word).replace(QStringLiteral("\""), QStringLiteral("\"\"\"")) +
                            QLatin1Char('"'));
    }
    return words.join(QLatin1Char(' '));
}

QString ProgramApproval::NamedCommand(const QString& commandLine, const QString& editor) {
    if (!editor.isEmpty() &&
        (commandLine == editor || commandLine.startsWith(editor + QLatin1Char(' '))))
        return editor;
    return commandLine;
}

} // namespace lumo
