#include "platform/Launcher.h"

#include "store/Archive.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace lumo {

QString LaunchFailureText(const QString& what) {
    return QStringLiteral("Leider konnte Lumoretta die Datei\r") + what + QStringLiteral("\r") +
           QStringLiteral("oder die erforderliche Anwendung") + QStringLiteral("\r") +
           QStringLiteral("nicht auf Ihrem System lokalisieren !");
}

namespace {

QString BaseNameLower(const QString& program) {
    const qsizetype cut =
        std::max(program.lastIndexOf(QLatin1Char('/')), program.lastIndexOf(QLatin1Char('\\')));
    return program.mid(cut + 1).toLower();
}

bool IsOneOf(const QString& name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (name == QLatin1String(n))
            return true;
    return false;
}

bool IsTextEditorName(const QString& n) {
    return IsOneOf(n, {"notepad.exe", "notepad", "write.exe", "write", "wordpad.exe"});
}
bool IsPaintName(const QString& n) {
    return IsOneOf(n, {"pbrush.exe", "pbrush", "mspaint.exe"});
}
bool IsExplorerName(const QString& n) {
    return IsOneOf(n, {"explorer.exe", "explorer"});
}
bool IsMappedName(const QString& n) {
    return IsTextEditorName(n) || IsPaintName(n) || IsExplorerName(n);
}

// Does the command line start one of the mapped old tools? Its program is the quoted
// first token or the first blank-separated one, as ResolveCommand takes it.
bool NamesMappedTool(const QString& commandLine) {
    const QString cmd = commandLine.trimmed();
    QString program = cmd.section(QLatin1Char(' '), 0, 0);
    if (cmd.startsWith(QLatin1Char('"')))
        program = cmd.mid(1).section(QLatin1Char('"'), 0, 0);
    return IsMappedName(BaseNameLower(program));
}

QString AgainstWorkDir(const QString& path, const QString& workDir) {
    if (QDir::isAbsolutePath(path) || workDir.isEmpty())
        return path;
    return QDir(workDir).filePath(path);
}

bool IsExecutableFile(const QFileInfo& fi) {
    return fi.isFile() && fi.isExecutable();
}

// Whether `path` lies in `dir` (or is it), links followed.
bool InsideDirectory(const QString& path, const QString& dir) {
    if (dir.isEmpty())
        return false;
    const QString d = QFileInfo(dir).canonicalFilePath();
    const QString p = QFileInfo(path).canonicalFilePath();
    return !d.isEmpty() && (p == d || p.startsWith(d + QLatin1Char('/')));
}

// The program a name stands for: an absolute path or a name found in PATH; never a file
// of the archive (workDir), which may come from another computer.
QString FindProgram(const QString& name, const QString& workDir) {
    QString found;
    if (!name.contains(QLatin1Char('/')))
        found = Launcher::FindInPath(name);
    else if (QDir::isAbsolutePath(name) && IsExecutableFile(QFileInfo(name)))
        found = QFileInfo(name).absoluteFilePath();
    return InsideDirectory(found, workDir) ? QString() : found;
}

// A command line's arguments: what follows its program.
QString ArgumentsOf(const QString& commandLine) {
    const QString cmd = commandLine.trimmed();
    if (cmd.startsWith(QLatin1Char('"'))) {
        const qsizetype end = cmd.indexOf(QLatin1Char('"'), 1);
        return end < 0 ? QString() : cmd.mid(end + 1).trimmed();
    }
    const qsizetype cut = cmd.indexOf(QLatin1Char(' '));
    return cut < 0 ? QString() : cmd.mid(cut + 1).trimmed();
}

QString Unquote(const QString& s) {
    if (s.size() >= 2 && s.startsWith(QLatin1Char('"')) && s.endsWith(QLatin1Char('"')))
        return s.mid(1, s.size() - 2);
    return s;
}

} // namespace

QString Launcher::TextViewProgram() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("lumo_textview"));
}

QString Launcher::TextViewMaximisedOption() {
    return QStringLiteral("--maximized");
}

QString Launcher::FindInPath(const QString& name) {
    // Empty, "." and relative entries would mean the working directory, the archive.
    for (const QString& dir : qEnvironmentVariable("PATH").split(QLatin1Char(':'))) {
        if (!QDir::isAbsolutePath(dir))
            continue;
        const QFileInfo fi(QDir(dir).filePath(name));
        if (IsExecutableFile(fi))
            return fi.absoluteFilePath();
    }
    return {};
}

QString Launcher::ImageProgram() {
    for (const char* p : {"gimp", "pinta", "kolourpaint", "krita", "eog", "ristretto", "gthumb"}) {
        const QString found = FindInPath(QString::fromLatin1(p));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QStringList Launcher::ResolveCommand(const QString& commandLine, const QString& workDir) {
    const QString cmd = commandLine.trimmed();
    if (cmd.isEmpty())
        return {};

    // The program: a quoted first token, or the first blank-separated token; an unquoted
    // path with blanks is recognised by trying longer prefixes that name a program.
    QString program;
    QString rest;
    if (cmd.startsWith(QLatin1Char('"'))) {
        const qsizetype end = cmd.indexOf(QLatin1Char('"'), 1);
        program = end < 0 ? cmd.mid(1) : cmd.mid(1, end - 1);
        rest = end < 0 ? QString() : cmd.mid(end + 1).trimmed();
    } else {
        qsizetype cut = cmd.indexOf(QLatin1Char(' '));
        program = cut < 0 ? cmd : cmd.left(cut);
        rest = cut < 0 ? QString() : cmd.mid(cut + 1).trimmed();
        if (!IsMappedName(BaseNameLower(program)) && FindProgram(program, workDir).isEmpty()) {
            while (cut >= 0) {
                const qsizetype next = cmd.indexOf(QLatin1Char(' '), cut + 1);
                const QString candidate = next < 0 ? cmd : cmd.left(next);
                if (!FindProgram(candidate, workDir).isEmpty()) {
                    program = candidate;
                    rest = next < 0 ? QString() : cmd.mid(next + 1).trimmed();
                    break;
                }
                cut = next;
            }
        }
    }
    if (program.isEmpty())
        return {};

    const QString base = BaseNameLower(program);
    if (IsTextEditorName(base)) {
        // Like the old editor, the whole rest of the line is one file name.
        QStringList out{TextViewProgram(), TextViewMaximisedOption()};
        if (!rest.isEmpty())
            out << Unquote(rest);
        return out;
    }
    if (IsExplorerName(base)) {
        QStringList out{QStringLiteral("explorer.exe")};
        if (!rest.isEmpty())
            out << Unquote(rest);
        return out;
    }
    QString resolved;
    if (IsPaintName(base)) {
        resolved = ImageProgram();
        if (resolved.isEmpty())
            return {};
    } else {
        resolved = FindProgram(program, workDir);
        if (resolved.isEmpty())
            return {};
    }
    QStringList out{resolved};
    if (QFileInfo(resolved) == QFileInfo(TextViewProgram()))
        out << TextViewMaximisedOption();
    out << QProcess::splitCommand(rest);
    return out;
}

// The arguments of a resolved command that its command line gave (not the option by which
// our text viewer is started maximised).
namespace {
QStringList ArchiveArguments(const QStringList& cmd) {
    const bool ownOption = cmd.size() > 1 && cmd.at(1) == Launcher::TextViewMaximisedOption();
    return cmd.mid(ownOption ? 2 : 1);
}
} // namespace

bool Launcher::RunProgram(const QString& commandLine, const QString& workDir) {
    return run(commandLine, nullptr, workDir);
}

bool Launcher::RunProgramOnFile(const QString& commandLine, const QString& file,
                                const QString& workDir) {
    return run(commandLine, &file, workDir);
}

void Launcher::ApproveProgram(const QString& commandLine, const QString& workDir) const {
    const QStringList cmd = ResolveCommand(commandLine, workDir);
    if (approvalRecorder_ && !cmd.isEmpty())
        approvalRecorder_(cmd.first(), ArchiveArguments(cmd));
}

bool Launcher::run(const QString& commandLine, const QString* file, const QString& workDir) {
    QStringList cmd = ResolveCommand(commandLine, workDir);
    if (cmd.isEmpty())
        return false;
    // The mapped tools start without a question only as they are, without arguments.
    const bool mapped = NamesMappedTool(commandLine);
    if (approvalGate_ && (!mapped || !ArgumentsOf(commandLine).isEmpty()) &&
        !approvalGate_(cmd.first(), ArchiveArguments(cmd)))
        return true;
    if (testMode_)
        started_.append(file ? commandLine + u' ' + *file : commandLine);
    if (file && cmd.first() != QLatin1String("explorer.exe"))
        cmd << QStringLiteral("--") << *file;
    else if (file)
        cmd << *file;
    if (cmd.first() == QLatin1String("explorer.exe")) {
        const QString target = cmd.size() > 1 ? AgainstWorkDir(cmd.at(1), workDir) : workDir;
        if (!QFileInfo(target).exists())
            return false;
        return openUrl(QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath()).toString());
    }
    return startDetached(cmd, workDir);
}

bool Launcher::startDetached(const QStringList& command, const QString& workDir) {
    const QString program = command.first();
    const QStringList args = command.mid(1);
    if (testMode_) {
        commands_.push_back(command);
        const QFileInfo fi(program);
        return !failStarts_ && fi.isFile() && fi.isExecutable();
    }
    // Never through a shell: the program gets its arguments as they are.
    return QProcess::startDetached(program, args, workDir);
}

bool Launcher::OpenDocument(const QString& fileOrAddress, const QString& workDir) {
    const QString what = fileOrAddress.trimmed();
    if (what.isEmpty())
        return false;
    const QUrl url(what, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && scheme.size() > 1 && scheme != QLatin1String("file")) {
        if (testMode_)
            started_.append(what);
        return openUrl(url.toString());
    }
    // A file: backslashes as separators, relative names found in workDir without regard
    // to case; a missing file is a failure.
    QString path = what;
    if (scheme == QLatin1String("file"))
        path = url.toLocalFile();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString full;
    if (QDir::isAbsolutePath(path)) {
        full = path;
    } else {
        const Archive dir{std::filesystem::path(QFile::encodeName(workDir).toStdString())};
        full = QFile::decodeName(
            QByteArray::fromStdString(dir.resolve(QFile::encodeName(path).toStdString()).string()));
    }
    const QFileInfo fi(full);
    if (!fi.exists())
        return false;
    if (testMode_)
        started_.append(what);
    return openUrl(QUrl::fromLocalFile(fi.absoluteFilePath()).toString());
}

bool Launcher::openUrl(const QString& url) {
    if (testMode_) {
        opened_.append(url);
        return !failStarts_;
    }
    return QDesktopServices::openUrl(QUrl(url));
}

} // namespace lumo
