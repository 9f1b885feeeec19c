#pragma once
// Programs that an archive names (DIA.INI's EDITOR) start only after the user of this
// computer approved that exact command once. An archive copied from someone else can name
// any command; the approvals therefore live in the user's own settings
// (~/.config/lumoretta/programs.ini), never in the archive.
#include <QString>
#include <QStringList>

namespace lumo {

class ProgramApproval {
public:
    // The approvals of this user; `file` replaces the settings file (tests).
    explicit ProgramApproval(QString file = {});

    const QString& file() const { return file_; }
    bool isApproved(const QString& command) const;
    // Records the approval of `command` (exactly as written). The preferences dialog calls
    // this for the editor the user chooses there. False when the settings cannot be written.
    bool approve(const QString& command);
    QStringList approved() const;

    // The command an archive names in a command line the program builds from it: the
    // editor setting when the line starts with it (the program only adds a file name),
    // otherwise the whole line.
    static QString NamedCommand(const QString& commandLine, const QString& editor);
    // What is approved: the absolute program and exactly its arguments, written as one
    // command line (arguments with blanks or quotes in double quotes, quotes doubled).
    static QString Command(const QString& program, const QStringList& args);

private:
    QString file_;
};

} // namespace lumo
