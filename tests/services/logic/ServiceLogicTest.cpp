// The backup copy (groups, order, progress, failing files, whole copies), new archives, tips.
#include "TestArchive.h"
#include "services/logic/BackupCopy.h"
#include "services/logic/NewArchive.h"
#include "services/logic/Tips.h"
#include <cerrno>
#include <gtest/gtest.h>

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

// Every fixed file (dias.ddb: 3 records), memos of slides 1 and 3, the picture of slide 2.
class BackupCopyTest : public ::testing::Test {
protected:
    TempArchive arc, target;
    Recorder rec;
    BackupRequest request{target.dir(), {true, true, true, true, true}, 3};

    void SetUp() override {
        for (const auto& name : kFixedFiles)
            arc.write(name, "contents of " + name);
        arc.write("dias.ddb", std::string(3 * 82, 'd'));
        arc.write("memo/1.txt", "memo 1");
        arc.write("memo/3.txt", "memo 3");
        arc.write("bilder/2.bmp", "picture 2");
    }
    std::optional<BackupFailure> Run() {
        return CopyBackupGroups(Archive(arc.dir()), request, rec);
    }
};
} // namespace

TEST_F(BackupCopyTest, AllGroupsAreCopiedInOrderWithTheirProgress) {
    ASSERT_FALSE(PrepareBackupTarget(Archive(arc.dir()), request)); // copies dia.ini first
    EXPECT_EQ(target.read("dia.ini"), arc.read("dia.ini"));
    EXPECT_TRUE(PrepareBackupTarget(Archive(arc.dir()), request)); // a backup is there now
    ASSERT_FALSE(Run());
    for (const auto& name : kFixedFiles)
        EXPECT_EQ(target.read(name), arc.read(name)) << name;
    for (const char* name : {"memo/1.txt", "memo/3.txt", "bilder/2.bmp"})
        EXPECT_EQ(target.read(name), arc.read(name)) << name;
    EXPECT_FALSE(target.exists("memo/2.txt"));
    EXPECT_EQ(rec.events, " G1 3 5 8 10 12 15 17 20 20 G2 23 26 30 33 36 40 40 G3 60"
                          " 60 G4 80 80 G5 81 100");
    // A second run overwrites the old copies; the subdirectories are there already.
    arc.write("dias.ddb", "new");
    rec.events.clear();
    ASSERT_FALSE(Run());
    EXPECT_EQ(target.read("dias.ddb"), "new");
    EXPECT_NE(rec.events.find(" 60 S4 G4 80 80 S5 G5"), std::string::npos) << rec.events;
}

TEST_F(BackupCopyTest, OnlyCheckedGroupsAndNoProgressForMissingNumberedFiles) {
    std::filesystem::remove(arc.path("memo/1.txt"));
    std::filesystem::remove(arc.path("memo/3.txt"));
    request.groups = {false, false, true, true, false};
    ASSERT_FALSE(Run());
    EXPECT_EQ(rec.events, " 40 G3 60 60 G4");
    EXPECT_FALSE(target.exists("dias.ddb"));
}

// The backup stops at the failing file with its mapped error (the mapping of each error
// number: ArchiveTest); the old backup's copy of it and of the next file stay whole, and no
// temporary file is left.
TEST_F(BackupCopyTest, FailuresAreMappedAndLeaveTheOldBackupWhole) {
    // Group 1 writes 130 bytes before dias.ddb (246 bytes): a limit of 200 fails inside it.
    using Row = std::tuple<const char*, int, int, long long, int, const char*, const char*>;
    const Row rows[] = {{"dialiste.txt", 0, 0, -1, 2, "dialiste.txt", "kasten.txt"},
                        {nullptr, EROFS, 0, -1, 19, "dia.ini", "kasten.ini"},
                        {nullptr, 0, ENOSPC, 200, 112, "dias.ddb", "dia.hlp"},
                        {nullptr, 0, EIO, 200, EIO, "dias.ddb", "dia.hlp"}};
    for (const auto& [missing, createError, writeError, writeLimit, expected, source, next] :
         rows) {
        SCOPED_TRACE(expected);
        if (missing)
            std::filesystem::rename(arc.path(missing), arc.path("moved"));
        TempArchive old;
        for (const auto& name : kFixedFiles)
            old.write(name, "old backup of " + name);
        CopyFaults faults{createError, writeError, writeLimit};
        request.targetDir = old.dir();
        request.faults = &faults;
        const auto failure = Run();
        ASSERT_TRUE(failure);
        EXPECT_EQ(std::tuple(failure->error, failure->source, failure->target),
                  std::tuple(expected, std::string(source), old.path(source)));
        for (const char* name : {source, next})
            EXPECT_EQ(old.read(name), std::string("old backup of ") + name);
        for (const auto& entry : std::filesystem::directory_iterator(old.dir()))
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
        if (missing)
            std::filesystem::rename(arc.path("moved"), arc.path(missing));
    }
    // A memo copy that fails keeps the copies made before it, whole, in the group built
    // beside the old one and file by file alike; the failing one keeps its old copy.
    for (const long long freeBytes : {-1LL, 0LL}) {
        TempArchive old;
        old.write("memo/1.txt", "old 1");
        old.write("memo/3.txt", "old 3");
        CopyFaults faults{0, ENOSPC, 8}; // memo 1 (6 bytes) is written, memo 3 fails
        faults.freeBytes = freeBytes;
        request = {old.dir(), {false, false, false, true, false}, 3, 0, &faults};
        EXPECT_EQ(Run().value_or(BackupFailure{}).error, 112);
        EXPECT_EQ(old.read("memo/1.txt") + old.read("memo/3.txt"), "memo 1old 3");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(old.path("memo")), {}), 2);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(old.dir()), {}), 1);
    }
    // A target directory that could not be made reports why, not "not found".
    request = {target.path("missing/Backup"), {true}, 3, EACCES};
    EXPECT_EQ(Run().value_or(BackupFailure{}).error, 19);
}

TEST(NewArchive, TargetsAndEmptyFilesNeverCutData) {
    using enum NewArchiveTarget;
    const std::tuple<const char*, const char*, NewArchiveTarget> rows[] = {
        {nullptr, "", Usable},
        {"DIAS.DDB", "", Usable},
        {"dia.ini", "[LUMORETTA]", Usable},
        {"dias.ddb", "x", HoldsData},
        {"keyword2", "A\nAA\n*", HoldsData},
        {"Kopfdata.ddb", "x", HoldsData},
        {"dialiste.txt", "report", HoldsData}};
    TempArchive open;
    for (const auto& [file, bytes, expected] : rows) {
        TempArchive dir;
        if (file)
            dir.write(file, bytes);
        EXPECT_EQ(CheckNewArchiveTarget(dir.dir(), open.dir()), expected) << file;
    }
    EXPECT_EQ(CheckNewArchiveTarget(open.dir() / ".", open.dir()), OpenArchive);

    open.write("keyword1", "");
    open.write("dias.ddb", "data");
    EXPECT_EQ(CreateEmptyArchiveFile(open.dir(), "KEYWORD1"), 0);
    EXPECT_FALSE(open.exists("KEYWORD1")); // the existing spelling is kept
    EXPECT_EQ(CreateEmptyArchiveFile(open.dir(), "KASTEN.TXT"), 0);
    EXPECT_TRUE(open.exists("KASTEN.TXT") && open.read("KASTEN.TXT").empty());
    EXPECT_EQ(CreateEmptyArchiveFile(open.dir(), "DIAS.DDB"), EEXIST);
    EXPECT_EQ(open.read("dias.ddb"), "data");
    EXPECT_NE(CreateEmptyArchiveFile(open.dir() / "missing", "KEYWORD1"), 0);
}

TEST(TipNumbers, WrapAroundAndStartFallback) {
    TempArchive arc;
    EXPECT_EQ(StartupTipNumber(Archive(arc.dir()), 1), 0); // no tips at all
    for (const char* name : {"tips/2.tip", "tips/3.tip", "tips/4.TIP", "tips/07.tip"})
        arc.write(name, "tip");
    const Archive a(arc.dir());
    // After 4 comes 1 (no 5.tip); a missing start tip gives the first there is; 0 is "off".
    EXPECT_EQ(std::tuple(NextTipNumber(a, 2), NextTipNumber(a, 4), NextTipNumber(a, 0)),
              std::tuple(3, 1, 1));
    EXPECT_EQ(std::tuple(StartupTipNumber(a, 3), StartupTipNumber(a, 9), StartupTipNumber(a, 0)),
              std::tuple(3, 2, 0));
}
