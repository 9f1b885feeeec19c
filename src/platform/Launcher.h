#pragma once
// Starting outside programs and opening documents, never through a shell.
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace lumo {

// The notice shown when a program or document could not be started:
// "Leider konnte Lumoretta die Datei\r" + what + "\roder die erforderliche Anwendung\r"
// "nicht auf Ihrem System lokalisieren !".
QString LaunchFailureText(const QString& what);

class Launcher {
public:
    // Splits the command line like a command line (quotes respected), maps the old
    // Windows tools (notepad.exe, write.exe, pbrush.exe, explorer.exe) to the desktop's
    // programs, and starts it detached with the working directory `workDir`.
    // False when it could not be started.
    bool RunProgram(const QString& commandLine, const QString& workDir);
    // Asked before a command line is started that names none of the mapped old tools
    // (notepad.exe, write.exe, pbrush.exe, explorer.exe); when it answers false nothing is
    // started and RunProgram returns true: the user declined, nothing failed.
    void setApprovalGate(std::function<bool(const QString& commandLine)> gate) {
        approvalGate_ = std::move(gate);
    }
    // Records a program the user chose on this computer (the preferences' editor), so that
    // the gate lets it start without asking.
    void setApprovalRecorder(std::function<void(const QString& command)> recorder) {
        approvalRecorder_ = std::move(recorder);
    }
    void ApproveProgram(const QString& command) const {
        if (approvalRecorder_)
            approvalRecorder_(command);
    }
    // Opens a file (relative names against workDir) or web address with its program.
    bool OpenDocument(const QString& fileOrAddress, const QString& workDir);

    // Test seam: record instead of starting anything; `failStarts` makes every start fail.
    void setTestMode(bool on, bool failStarts = false) {
        testMode_ = on;
        failStarts_ = failStarts;
    }
    // The command lines given to RunProgram and the documents given to OpenDocument
    // that reached the start (recorded in test mode).
    const QStringList& started() const { return started_; }
    // Program and arguments of every start (test mode), and the addresses opened.
    const std::vector<QStringList>& commands() const { return commands_; }
    const QStringList& openedUrls() const { return opened_; }
    void clearRecord() {
        started_.clear();
        commands_.clear();
        opened_.clear();
    }

    // The program and arguments a command line resolves to (exposed for tests); empty
    // when there is nothing to start. "explorer.exe" resolves to {"explorer.exe"} and is
    // opened as a folder by RunProgram. Relative program names with a path are taken
    // against workDir.
    static QStringList ResolveCommand(const QString& commandLine, const QString& workDir = {});
    // Our own text editor next to the running program, and the option that opens its
    // window maximised (its first argument; every program is started maximised).
    static QString TextViewProgram();
    static QString TextViewMaximisedOption();
    // The desktop's image program found in PATH, or empty.
    static QString ImageProgram();

private:
    bool startDetached(const QStringList& command, const QString& workDir);
    bool openUrl(const QString& url);

    std::function<bool(const QString&)> approvalGate_;
    std::function<void(const QString&)> approvalRecorder_;
    bool testMode_ = false;
    bool failStarts_ = false;
    QStringList started_;
    std::vector<QStringList> commands_;
    QStringList opened_;
};

} // namespace lumo
