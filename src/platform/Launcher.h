#pragma once
// Starting outside programs and opening documents, never through a shell.
#include <QString>
#include <QStringList>

namespace lumo {

class Launcher {
public:
    // Splits the command line like a command line (quotes respected), maps the old
    // Windows tools (notepad.exe, write.exe, pbrush.exe, explorer.exe) to the desktop's
    // programs, and starts it detached with the working directory `workDir`.
    // False when it could not be started.
    bool RunProgram(const QString& commandLine, const QString& workDir);
    // Opens a file (relative names against workDir) or web address with its program.
    bool OpenDocument(const QString& fileOrAddress, const QString& workDir);

    // Test seam: record instead of starting anything; `failStarts` makes every start fail.
    void setTestMode(bool on, bool failStarts = false) {
        testMode_ = on;
        failStarts_ = failStarts;
    }
    const QStringList& started() const { return started_; }
    void clearRecord() { started_.clear(); }

    // The program and arguments a command line resolves to (exposed for tests).
    static QStringList ResolveCommand(const QString& commandLine);

private:
    bool testMode_ = false;
    bool failStarts_ = false;
    QStringList started_;
};

} // namespace lumo
