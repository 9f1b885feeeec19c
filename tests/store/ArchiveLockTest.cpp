#include "ChildProcess.h"
#include "TestArchive.h"

#include "store/ArchiveLock.h"

#include <gtest/gtest.h>

#include <fcntl.h>

namespace lumo::test {
namespace {

// A child holds the lock; it is killed (a crash) or releases it.
TEST(ArchiveLockTest, ASecondProgramIsRefusedUntilTheFirstEnds) {
    for (bool killed : {true, false}) {
        TempArchive archive;
        ChildProcess first([&](int report, int goOn) {
            ArchiveLock lock;
            Report(report, static_cast<unsigned char>(lock.acquire(archive.dir())));
            WaitForParent(goOn);
            return 0; // the lock's destructor releases it
        });
        ASSERT_EQ(first.readByte(), static_cast<int>(ArchiveLock::Result::Acquired));
        ArchiveLock second;
        EXPECT_EQ(second.acquire(archive.dir()), ArchiveLock::Result::HeldElsewhere);
        killed ? first.kill(SIGKILL) : first.goOn();
        first.wait();
        EXPECT_TRUE(archive.exists(kArchiveLockName)); // the file stays, its lock does not
        ASSERT_EQ(second.acquire(archive.dir()), ArchiveLock::Result::Acquired);
        EXPECT_EQ(second.previousRunInterrupted(), killed);
        second.release();
        EXPECT_EQ(archive.read(kArchiveLockName), ""); // a normal end leaves no mark
    }
    // Two locks in one process exclude each other too.
    TempArchive archive;
    ArchiveLock a, b;
    ASSERT_EQ(a.acquire(archive.dir()), ArchiveLock::Result::Acquired);
    EXPECT_FALSE(a.previousRunInterrupted());
    EXPECT_EQ(b.acquire(archive.dir()), ArchiveLock::Result::HeldElsewhere);
    a.release();
    EXPECT_EQ(b.acquire(archive.dir()), ArchiveLock::Result::Acquired);
}

TEST(ArchiveLockTest, ProgramsStartedByTheHolderDoNotInheritTheLock) {
    TempArchive archive;
    pid_t grandchild = -1;
    int pids[2];
    ASSERT_EQ(::pipe(pids), 0);
    {
        ChildProcess holder([&](int report, int goOn) {
            ArchiveLock lock;
            lock.acquire(archive.dir());
            int exec[2]; // closes when the started program has replaced the forked copy
            if (::pipe2(exec, O_CLOEXEC) != 0)
                return 1;
            const pid_t p = ::fork();
            if (p == 0) {
                ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
                ::_exit(127);
            }
            ::close(exec[1]);
            char c;
            (void)!::read(exec[0], &c, 1);
            (void)!::write(pids[1], &p, sizeof p);
            Report(report, 1);
            WaitForParent(goOn);
            return 0;
        });
        ASSERT_EQ(holder.readByte(), 1);
        ASSERT_EQ(::read(pids[0], &grandchild, sizeof grandchild), ssize_t(sizeof grandchild));
    }
    ::close(pids[0]);
    ::close(pids[1]);
    // The started program still runs, but the lock died with the holder.
    ArchiveLock next;
    EXPECT_EQ(next.acquire(archive.dir()), ArchiveLock::Result::Acquired);
    if (grandchild > 0)
        ::kill(grandchild, SIGKILL);
}

TEST(ArchiveLockTest, NoDirectoryMeansNoLock) {
    TempArchive archive;
    ArchiveLock lock;
    EXPECT_EQ(lock.acquire(archive.path("fehlt")), ArchiveLock::Result::Unavailable);
    archive.write(std::string(kArchiveLockName) + "/x", ""); // a directory of that name
    EXPECT_EQ(lock.acquire(archive.dir()), ArchiveLock::Result::Unavailable);
}

} // namespace
} // namespace lumo::test
