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
    // False when it could not be started. Programs are found in PATH (absolute entries
    // only) or by an absolute path, never in workDir (the archive) or below it.
    bool RunProgram(const QString& commandLine, const QString& workDir);
    // RunProgram with a file the program adds (not the archive): it is handed over after
    // "--", so a name starting with "-" is never taken as an option.
    bool RunProgramOnFile(const QString& commandLine, const QString& file, const QString& workDir);
    // Asked before a program starts with what the command line names: any program but the
    // mapped old tools, and those too when the command line gives them arguments. It gets
    // the absolute program and exactly those arguments; when it answers false nothing is
    // started and RunProgram returns true: the user declined, nothing failed.
    using ApprovalGate = std::function<bool(const QString& program, const QStringList& args)>;
    void setApprovalGate(ApprovalGate gate) { approvalGate_ = std::move(gate); }
    // Records a program the user chose on this computer (the preferences' editor), so that
    // the gate lets it start without asking: its absolute path and its arguments.
    void setApprovalRecorder(ApprovalGate recorder) { approvalRecorder_ = std::move(recorder); }
    void ApproveProgram(const QString& commandLine, const QString& workDir = {}) const;
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
    // opened as a folder by RunProgram. A program that is not found (or lies in workDir)
    // resolves to nothing.
    static QStringList ResolveCommand(const QString& commandLine, const QString& workDir = {});
    // An executable file of that name in an absolute PATH entry, or empty.
    static QString FindInPath(const QString& name);
    // Our own text editor next to the running program, and the option that opens its
    // window maximised (its first argument; every program is started maximised).
    static QString TextViewProgram();
    static QString TextViewMaximisedOption();
    // The desktop's image program found in PATH, or empty.
    static QString ImageProgram();

private:
    bool startDetached(const QStringList& command, const QString& workDir);
    bool openUrl(const QString& url);
    bool run(const QString& commandLine, const QString* file, const QString& workDir);

    ApprovalGate approvalGate_;
    ApprovalGate approvalRecorder_;
    bool testMode_ = false;
    bool failStarts_ = false;
    QStringList started_;
    std::vector<QStringList> commands_;
    QStringList opened_;
};

} // namespace lumo
