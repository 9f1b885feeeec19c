#include "store/Archive.h"
#include "TestArchive.h"
#include "store/FileUtil.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace lumo;
using lumo::test::TempArchive;

TEST(ArchiveResolveTest, ExistingFilesKeepTheirSpelling) {
    TempArchive t;
    t.write("DIAS.DDB", "x");
    t.write("KEYWORD1", "");
    t.write("Dia.Ini", "");
    t.write("MEMO/12.TXT", "memo");
    t.write("Bilder/3.Bmp", "bmp");
    Archive a(t.dir());
    EXPECT_EQ(a.resolve("dias.ddb"), t.path("DIAS.DDB"));
    EXPECT_EQ(a.resolve("keyword1"), t.path("KEYWORD1"));
    EXPECT_EQ(a.resolve("DIA.INI"), t.path("Dia.Ini"));
    EXPECT_EQ(a.resolve("memo/12.txt"), t.dir() / "MEMO" / "12.TXT");
    EXPECT_EQ(a.resolve("memo\\12.txt"), t.dir() / "MEMO" / "12.TXT");
    EXPECT_EQ(a.resolve("bilder/3.bmp"), t.dir() / "Bilder" / "3.Bmp");
    EXPECT_TRUE(a.exists("Memo\\12.txt"));
    EXPECT_EQ(a.fileSize("dias.DDB"), 1);
    EXPECT_EQ(a.fileSize("fehlt.ddb"), -1);
}

TEST(ArchiveResolveTest, NewFilesGetTheSpellingGiven) {
    TempArchive t;
    t.write("MEMO/1.txt", "");
    Archive a(t.dir());
    // A new file in an existing directory of other spelling.
    EXPECT_EQ(a.resolve("memo/13.txt"), t.dir() / "MEMO" / "13.txt");
    EXPECT_EQ(a.resolve("KEYWORD1.OLD"), t.path("KEYWORD1.OLD"));
    EXPECT_EQ(a.resolve("neu/sub/x.txt"), t.dir() / "neu" / "sub" / "x.txt");
    EXPECT_FALSE(a.exists("memo/13.txt"));
}

TEST(ArchiveResolveTest, ExactSpellingWinsAndNewFilesAreSeen) {
    TempArchive t;
    t.write("keyword1", "a");
    t.write("KEYWORD1", "b");
    Archive a(t.dir());
    EXPECT_EQ(a.resolve("KEYWORD1"), t.path("KEYWORD1"));
    EXPECT_EQ(a.resolve("keyword1"), t.path("keyword1"));
    EXPECT_EQ(a.resolve("Keyword1"), t.path("KEYWORD1")); // first in byte order

    // A file created after a lookup is found by the next one.
    EXPECT_FALSE(a.exists("memo/5.txt"));
    t.write("Memo/5.TXT", "x");
    EXPECT_EQ(a.resolve("memo/5.txt"), t.dir() / "Memo" / "5.TXT");
    std::filesystem::remove(t.path("Memo/5.TXT"));
    EXPECT_EQ(a.resolve("memo/5.txt"), t.dir() / "Memo" / "5.txt");
}

TEST(ArchiveResolveTest, AbsoluteAndParentNames) {
    TempArchive t;
    TempArchive other;
    other.write("Bild.BMP", "BM");
    Archive a(t.dir());
    EXPECT_EQ(a.resolve((other.dir() / "bild.bmp").string()), other.path("Bild.BMP"));
    EXPECT_TRUE(a.exists((other.dir() / "BILD.bmp").string()));
    // A relative name may leave the archive directory ("..\\bilder\\x.bmp" from BMPBILD).
    const std::string up = "..\\" + other.dir().filename().string() + "\\bild.bmp";
    EXPECT_TRUE(a.exists(up));
}

TEST(ArchiveResolveTest, ListsASubdirectory) {
    TempArchive t;
    t.write("Memo/12.txt", "");
    t.write("Memo/3.TXT", "");
    Archive a(t.dir());
    EXPECT_EQ(a.list("memo"), (std::vector<std::string>{"12.txt", "3.TXT"}));
    EXPECT_TRUE(a.list("bilder").empty());
    EXPECT_TRUE(a.exists("MEMO"));
    EXPECT_FALSE(Archive(t.path("fehlt")).exists("memo/12.txt"));
    EXPECT_TRUE(Archive(t.dir()).exists(""));
}

TEST(SystemErrorNumberTest, Mapping) {
    EXPECT_EQ(SystemErrorNumber(ENOENT), 2);
    EXPECT_EQ(SystemErrorNumber(EACCES), 19);
    EXPECT_EQ(SystemErrorNumber(EROFS), 19);
    EXPECT_EQ(SystemErrorNumber(ENOSPC), 112);
    EXPECT_EQ(SystemErrorNumber(EIO), EIO);
}

TEST(FileUtilTest, WriteReadCopyTruncate) {
    TempArchive t;
    ASSERT_EQ(WriteFileAtomically(t.path("a.ini"), std::string("x\0y", 3)), 0);
    EXPECT_EQ(ReadWholeFile(t.path("a.ini")), std::string("x\0y", 3));
    ASSERT_EQ(WriteFileAtomically(t.path("a.ini"), "neu"), 0);
    EXPECT_EQ(t.read("a.ini"), "neu");
    ASSERT_EQ(CopyFileOver(t.path("a.ini"), t.path("b.ini")), 0);
    EXPECT_EQ(t.read("b.ini"), "neu");
    ASSERT_EQ(TruncateFile(t.path("b.ini")), 0);
    EXPECT_EQ(t.read("b.ini"), "");
    EXPECT_TRUE(t.exists("b.ini"));
    ASSERT_EQ(TruncateFile(t.path("c.ini")), 0);
    EXPECT_TRUE(t.exists("c.ini"));

    int err = 0;
    EXPECT_FALSE(ReadWholeFile(t.path("fehlt"), &err));
    EXPECT_EQ(err, 2);
    EXPECT_EQ(CopyFileOver(t.path("fehlt"), t.path("b.ini")), 2);
    EXPECT_EQ(t.read("b.ini"), "");
    // No temporary files are left behind.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(t.dir())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 3);
}

TEST(FileUtilTest, WriteWithoutSyncReplacesAtomicallyAllTheSame) {
    TempArchive t;
    t.write("dialiste.txt", "alter Bericht");
    ASSERT_EQ(::chmod(t.path("dialiste.txt").c_str(), 0640), 0);
    std::filesystem::create_symlink("dialiste.txt", t.path("verweis.txt"));
    ASSERT_EQ(
        WriteFileAtomically(t.path("verweis.txt"), std::string("neu\0er", 6), Durability::NoSync),
        0);
    // The file behind the link is replaced, the link stays, the permissions are kept.
    EXPECT_EQ(t.read("dialiste.txt"), std::string("neu\0er", 6));
    EXPECT_TRUE(std::filesystem::is_symlink(t.path("verweis.txt")));
    struct stat st {};
    ASSERT_EQ(::stat(t.path("dialiste.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(WriteFileAtomically(t.path("kasten.txt"), "", Durability::NoSync), 0);
    EXPECT_TRUE(t.exists("kasten.txt"));
    EXPECT_EQ(t.read("kasten.txt"), "");

    // A failed write leaves the old file and no temporary file.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int err =
        WriteFileAtomically(t.path("dialiste.txt"), std::string(1000, 'x'), Durability::NoSync);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(err, EFBIG);
    EXPECT_EQ(t.read("dialiste.txt"), std::string("neu\0er", 6));
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(t.dir())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 3); // dialiste.txt, verweis.txt, kasten.txt
}

TEST(FileUtilTest, FailedWriteLeavesTheOldFileIntact) {
    TempArchive t;
    t.write("DIA.INI", "[LUMORETTA]\r\nDIAS=5\r\n");
    // Let writes fail after 16 bytes (works for root too); the signal is ignored so the
    // write reports EFBIG.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int err = WriteFileAtomically(t.path("DIA.INI"), std::string(1000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(err, EFBIG);
    EXPECT_EQ(t.read("DIA.INI"), "[LUMORETTA]\r\nDIAS=5\r\n");
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(t.dir())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1); // the temporary file is gone

    // A failing rename (a directory in the target's place) also leaves no temporary file.
    std::filesystem::create_directories(t.path("ziel/inhalt"));
    EXPECT_NE(WriteFileAtomically(t.path("ziel"), "daten"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(t.path("ziel/inhalt")));
    files = 0;
    for (auto& e : std::filesystem::directory_iterator(t.dir())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 2);
    // A directory that does not exist.
    EXPECT_EQ(WriteFileAtomically(t.path("nicht/da.ini"), "x"), 2);
}
