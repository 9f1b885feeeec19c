#include "ui/ArchiveGuard.h"

#include "platform/ProgramApproval.h"
#include "store/Archive.h"
#include "store/ArchiveLock.h"
#include "ui/MessageCatalog.h"

namespace lumo {

QString SecondProgramQuestion() {
    return QString::fromUtf8("Dieses Archiv ist bereits in\r"
                             "einem anderen LUMORETTA\r"
                             "geöffnet !\r\r"
                             "Wenn beide Programme es ändern,\r"
                             "können Daten verloren gehen.\r\r"
                             "Möchten Sie trotzdem\r"
                             "weiterarbeiten ?");
}

QString ProgramApprovalQuestion(const QString& program, const QStringList& args) {
    QString shown;
    for (const QString& arg : args)
        shown += QStringLiteral("\r") + ProgramApproval::Command(arg, {});
    return QString::fromUtf8("Das Archiv möchte dieses\rProgramm starten:\r\r") + program +
           (args.isEmpty() ? QString::fromUtf8("\r\rohne Argumente")
                           : QString::fromUtf8("\r\rmit den Argumenten:") + shown) +
           QString::fromUtf8("\r\rEs wurde auf diesem Computer noch\r"
                             "nicht freigegeben. Möchten Sie es\r"
                             "freigeben und starten ?");
}

QString NoLockQuestion(ArchiveLock::Obstacle why) {
    QString reason;
    switch (why) {
    case ArchiveLock::Obstacle::NoLocks:
        reason = QString::fromUtf8("das Dateisystem kennt keine Sperren.");
        break;
    case ArchiveLock::Obstacle::NotAFile:
        reason = QString::fromUtf8("die Sperrdatei .lumoretta.lock ist\rkeine gewöhnliche Datei.");
        break;
    default:
        reason = QString::fromUtf8("das Archivverzeichnis ist schreibgeschützt,\r"
                                   "seine Dateien aber nicht.");
        break;
    }
    return QString::fromUtf8("Lumoretta kann dieses Archiv nicht\r"
                             "gegen ein zweites LUMORETTA sperren:\r") +
           reason +
           QString::fromUtf8("\r\rWenn zwei Programme es ändern,\r"
                             "können Daten verloren gehen.\r\r"
                             "Möchten Sie ohne diesen Schutz\r"
                             "weiterarbeiten ?");
}

bool ClaimArchive(ArchiveLock& lock, const Archive& archive, MessageCatalog& messages) {
    switch (lock.acquire(archive.dir())) {
    case ArchiveLock::Result::HeldElsewhere:
        return messages.AskConfirmation(SecondProgramQuestion());
    case ArchiveLock::Result::Unavailable:
        // Only an archive that no program can change needs no lock; otherwise the user
        // learns that it is unprotected and may leave.
        if (lock.whyUnavailable() == ArchiveLock::Obstacle::NothingWritable ||
            lock.whyUnavailable() == ArchiveLock::Obstacle::NoDirectory)
            return true;
        return messages.AskConfirmation(NoLockQuestion(lock.whyUnavailable()));
    case ArchiveLock::Result::Acquired:
        break;
    }
    RecoverAfterInterruptedRun(archive, lock);
    return true;
}

bool ApproveArchiveProgram(ProgramApproval& approval, const QString& program,
                           const QStringList& args, MessageCatalog& messages) {
    const QString command = ProgramApproval::Command(program, args);
    if (approval.isApproved(command))
        return true;
    if (!messages.AskConfirmation(ProgramApprovalQuestion(program, args),
                                  MessageCatalog::DefaultAnswer::No))
        return false;
    approval.approve(command);
    return true;
}

} // namespace lumo
