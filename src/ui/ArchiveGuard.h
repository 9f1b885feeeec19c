#pragma once
// What guards the archive beyond its own files: one program per archive (a second one
// asks before it writes anything and lets the user leave), a new analysis after a run
// that did not end normally, and the user's approval of the programs an archive names.
#include "store/ArchiveLock.h"

#include <QString>

namespace lumo {

class Archive;
class MessageCatalog;
class ProgramApproval;

// Takes the archive's lock. When another program holds the archive, the user is asked
// whether to work on all the same; false when they choose to leave (nothing has been
// written then). Holding the lock, it clears what an interrupted run left behind
// (RecoverAfterInterruptedRun).
bool ClaimArchive(ArchiveLock& lock, const Archive& archive, MessageCatalog& messages);

// The launcher's gate for a program and the arguments an archive names: true when it may
// start, because exactly this was approved before or the user approves it now (then
// recorded in `approval`). The question shows both in full; "Nein" is its default.
bool ApproveArchiveProgram(ProgramApproval& approval, const QString& program,
                           const QStringList& args, MessageCatalog& messages);

QString SecondProgramQuestion();
// Asked when the archive cannot be locked but could be changed.
QString NoLockQuestion(ArchiveLock::Obstacle why);
QString ProgramApprovalQuestion(const QString& program, const QStringList& args);

} // namespace lumo
