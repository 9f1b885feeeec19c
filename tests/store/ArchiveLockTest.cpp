#include "ChildProcess.h"
#include "TestArchive.h"

#include "store/ArchiveLock.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <string>

namespace lumo::test {
namespace {

// A child that takes the archive's lock, reports the result and then waits for the
// parent before it ends the way `ending` says.
enum class Ending { Killed, Released, ExitWithoutRelease };

class LockHolder {
public:
    LockHolder(const std::filesystem::path& dir, Ending ending)
        : ending_(ending), child_([&dir, ending](int report, int goOn) {
              ArchiveLock lock;
              Report(report, static_cast<unsigned char>(lock.acquire(dir)));
              WaitForParent(goOn); // or killed
              if (ending == Ending::ExitWithoutRelease)
                  ::_exit(0); // as a crash would: the lock is never given back by the program
              return 0;       // a normal end: the lock's destructor releases it
          }) {
        result_ = child_.readByte();
    }
    ArchiveLock::Result result() const { return static_cast<ArchiveLock::Result>(result_); }
    // Ends the child as chosen and waits for it.
    void end() {
        if (ending_ == Ending::Killed)
            child_.kill(SIGKILL);
        else
            child_.goOn();
        child_.wait();
    }

private:
    Ending ending_;
    ChildProcess child_;
    int result_ = -1;
};

struct EndingCase {
    Ending ending;
    bool interrupted; // what the next program learns about the run before it
};

class ArchiveLockEndingTest : public ::testing::TestWithParam<EndingCase> {
protected:
    TempArchive archive;
};

TEST_P(ArchiveLockEndingTest, ASecondProgramIsRefusedUntilTheFirstEnds) {
    LockHolder first(archive.dir(), GetParam().ending);
    ASSERT_EQ(first.result(), ArchiveLock::Result::Acquired);

    ArchiveLock second;
    EXPECT_EQ(second.acquire(archive.dir()), ArchiveLock::Result::HeldElsewhere);
    EXPECT_FALSE(second.held());

    first.end();
    EXPECT_TRUE(archive.exists(kArchiveLockName)); // the file stays, its lock does not
    ASSERT_EQ(second.acquire(archive.dir()), ArchiveLock::Result::Acquired);
    EXPECT_EQ(second.previousRunInterrupted(), GetParam().interrupted);
    second.release();
    EXPECT_EQ(archive.read(kArchiveLockName), ""); // a normal end leaves no mark
}

INSTANTIATE_TEST_SUITE_P(Endings, ArchiveLockEndingTest,
                         ::testing::Values(EndingCase{Ending::Killed, true},
                                           EndingCase{Ending::Released, false},
                                           EndingCase{Ending::ExitWithoutRelease, true}));

TEST(ArchiveLockTest, TwoLocksInOneProcessExcludeEachOther) {
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
    {
        int pids[2];
        ASSERT_EQ(::pipe(pids), 0);
        ChildProcess holder([&](int report, int goOn) {
            ArchiveLock lock;
            lock.acquire(archive.dir());
            // The pipe closes when the started program has replaced the forked copy.
            int exec[2];
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
        ASSERT_EQ(::read(pids[0], &grandchild, sizeof grandchild),
                  static_cast<ssize_t>(sizeof grandchild));
        ::close(pids[0]);
        ::close(pids[1]);
        holder.kill(SIGKILL);
        holder.wait();
    }
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
