// The backup copy: groups, order, progress, skipped and failing files, whole copies.
#include "TestArchive.h"

#include "services/logic/BackupCopy.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace lumo;
using namespace lumo::test;

namespace {

const std::vector<std::string> kFixedFiles = {
    "dia.ini",      "kasten.ini",   "dialiste.txt", "kasten.txt",
    "keyliste.txt", "dia.bmp",      "dias.ddb",     "dia.hlp",
    "keyword1",     "keyword2",     "keyword3",     "keyword1.old",
    "keyword2.old", "keyword3.old", "kopfdata.ddb", "bilder/autor.bmp"};

struct Recorder : BackupListener {
    std::string events;
    void GroupStarted(int g) override { events += " G" + std::to_string(g); }
    void SubdirectoryNotCreated(int g) override { events += " S" + std::to_string(g); }
    void Progress(int v) override { events += " " + std::to_string(v); }
};

class BackupCopyTest : public ::testing::Test {
protected:
    TempArchive arc, target;

    // Every fixed file with its own contents (dias.ddb 3 records), memos of slides 1 and 3,
    // the picture of slide 2.
    void SetUp() override {
        for (const auto& name : kFixedFiles)
            arc.write(name, "contents of " + name);
        arc.write("dias.ddb", std::string(3 * 82, 'd'));
        arc.write("memo/1.txt", "memo 1");
        arc.write("memo/3.txt", "memo 3");
        arc.write("bilder/2.bmp", "picture 2");
    }
    BackupRequest Request(CopyFaults* faults = nullptr) const {
        BackupRequest r;
        r.targetDir = target.dir();
        r.groups = {true, true, true, true, true};
        r.totalRecords = 3;
        r.faults = faults;
        return r;
    }
    std::optional<BackupFailure> Run(const BackupRequest& r, Recorder& rec) const {
        return CopyBackupGroups(Archive(arc.dir()), r, rec);
    }
};

} // namespace

TEST_F(BackupCopyTest, AllGroupsAreCopiedInOrderWithTheirProgress) {
    Recorder rec;
    ASSERT_FALSE(Run(Request(), rec));
    for (const auto& name : kFixedFiles)
        EXPECT_EQ(target.read(name), arc.read(name)) << name;
    for (const char* name : {"memo/1.txt", "memo/3.txt", "bilder/2.bmp"})
        EXPECT_EQ(target.read(name), arc.read(name)) << name;
    EXPECT_FALSE(target.exists("memo/2.txt"));
    EXPECT_EQ(rec.events, " G1 3 5 8 10 12 15 17 20 20 G2 23 26 30 33 36 40 40 G3 60"
                          " 60 G4 80 80 G5 81 100");

    // A second run overwrites the old copies; the subdirectories are there already.
    arc.write("dias.ddb", "new");
    Recorder again;
    ASSERT_FALSE(Run(Request(), again));
    EXPECT_EQ(target.read("dias.ddb"), "new");
    EXPECT_NE(again.events.find(" 60 S4 G4 80 80 S5 G5"), std::string::npos) << again.events;
}

TEST_F(BackupCopyTest, OnlyCheckedGroupsAndNoProgressForMissingNumberedFiles) {
    std::filesystem::remove(arc.path("memo/1.txt"));
    std::filesystem::remove(arc.path("memo/3.txt"));
    BackupRequest r = Request();
    r.groups = {false, false, true, true, false};
    Recorder rec;
    ASSERT_FALSE(Run(r, rec));
    EXPECT_EQ(rec.events, " 40 G3 60 60 G4");
    EXPECT_FALSE(target.exists("dias.ddb"));
}

TEST_F(BackupCopyTest, AMissingFileOfTheFirstGroupsEndsTheBackup) {
    std::filesystem::remove(arc.path("dialiste.txt"));
    Recorder rec;
    const auto failure = Run(Request(), rec);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->error, 2);
    EXPECT_EQ(failure->source, "dialiste.txt");
    EXPECT_EQ(failure->target, target.path("dialiste.txt"));
    EXPECT_EQ(rec.events, " G1 3 5");
    EXPECT_TRUE(target.exists("kasten.ini"));
    EXPECT_FALSE(target.exists("kasten.txt"));
}

TEST_F(BackupCopyTest, FailuresAreMappedAndLeaveTheOldBackupWhole) {
    struct Row {
        int createError, writeError;
        long long writeLimit;
        int expected;
        const char* source;
    };
    // Group 1 writes 130 bytes before dias.ddb (246 bytes): a limit of 200 fails inside it.
    const Row rows[] = {{EROFS, 0, -1, 19, "dia.ini"},     {EACCES, 0, -1, 19, "dia.ini"},
                        {EPERM, 0, -1, 19, "dia.ini"},     {0, ENOSPC, 200, 112, "dias.ddb"},
                        {0, EDQUOT, 200, 112, "dias.ddb"}, {0, EIO, 200, EIO, "dias.ddb"}};
    for (const Row& row : rows) {
        TempArchive old;
        for (const auto& name : kFixedFiles)
            old.write(name, "old backup of " + name);
        CopyFaults faults{row.createError, row.writeError, row.writeLimit};
        BackupRequest r = Request(&faults);
        r.targetDir = old.dir();
        Recorder rec;
        const auto failure = Run(r, rec);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->error, row.expected) << row.source;
        EXPECT_EQ(failure->source, row.source);
        EXPECT_EQ(old.read("dias.ddb"), "old backup of dias.ddb");
        for (const auto& entry : std::filesystem::directory_iterator(old.dir()))
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
    }
}

TEST_F(BackupCopyTest, ATargetThatCouldNotBeMadeReportsWhyNotNotFound) {
    BackupRequest r = Request();
    r.targetDir = target.path("missing/Backup");
    r.targetDirError = EACCES;
    Recorder rec;
    const auto failure = Run(r, rec);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->error, 19);
}

TEST_F(BackupCopyTest, AnExistingBackupIsRecognisedByItsSettingsFile) {
    EXPECT_FALSE(PrepareBackupTarget(Archive(arc.dir()), Request()));
    EXPECT_EQ(target.read("dia.ini"), arc.read("dia.ini"));
    EXPECT_TRUE(PrepareBackupTarget(Archive(arc.dir()), Request()));
}
