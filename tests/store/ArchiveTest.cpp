#include "store/Archive.h"
#include "TestArchive.h"
#include "store/FileUtil.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace lumo;
using lumo::test::TempArchive;

namespace {

size_t FileCount(const std::filesystem::path& dir) {
    auto it = std::filesystem::directory_iterator(dir);
    return static_cast<size_t>(std::distance(begin(it), end(it)));
}

// Writes with the file size limited to 16 bytes, so the write itself fails (for root too);
// SIGXFSZ is ignored so the write reports EFBIG.
int WriteBeyondSizeLimit(const std::filesystem::path& path, Durability durability) {
    struct rlimit old {};
    if (::getrlimit(RLIMIT_FSIZE, &old) != 0)
        return -1;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 16;
    int err = ::setrlimit(RLIMIT_FSIZE, &small) == 0
                  ? WriteFileAtomically(path, std::string(1000, 'x'), durability)
                  : -1;
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return err;
}

} // namespace

TEST(ArchiveResolveTest, MatchesNamesWithoutRegardToCase) {
    TempArchive t;
    for (const char* name : {"DIAS.DDB", "KEYWORD1", "Dia.Ini", "MEMO/12.TXT", "Bilder/3.Bmp",
                             "MEMO/3.txt", "keyword2", "KEYWORD2"})
        t.write(name, "x");
    const struct {
        const char* bare;
        const char* onDisk;
    } cases[] = {
        {"dias.ddb", "DIAS.DDB"},         {"keyword1", "KEYWORD1"},
        {"DIA.INI", "Dia.Ini"},           {"memo/12.txt", "MEMO/12.TXT"},
        {"memo\\12.txt", "MEMO/12.TXT"},  {"bilder/3.bmp", "Bilder/3.Bmp"},
        {"memo/13.txt", "MEMO/13.txt"}, // new file in a directory of other spelling
        {"KEYWORD1.OLD", "KEYWORD1.OLD"}, {"neu/sub/x.txt", "neu/sub/x.txt"},
        {"KEYWORD2", "KEYWORD2"},                                   // the exact spelling wins,
        {"keyword2", "keyword2"},         {"Keyword2", "KEYWORD2"}, // else the first in byte order
    };
    Archive a(t.dir());
    for (const auto& c : cases)
        EXPECT_EQ(a.resolve(c.bare), t.dir() / c.onDisk) << c.bare;
    EXPECT_TRUE(a.exists("Memo\\12.txt"));
    EXPECT_FALSE(a.exists("memo/13.txt"));
    EXPECT_EQ(a.fileSize("dias.DDB"), 1);
    EXPECT_EQ(a.fileSize("fehlt.ddb"), -1);
    EXPECT_EQ(a.list("memo"), (std::vector<std::string>{"12.TXT", "3.txt"}));
    EXPECT_TRUE(a.list("bilder/fehlt").empty());
    EXPECT_FALSE(Archive(t.path("fehlt")).exists("memo/12.txt"));

    // A file created or removed after a lookup is seen by the next one.
    EXPECT_FALSE(a.exists("notiz/5.txt"));
    t.write("Notiz/5.TXT", "x");
    EXPECT_EQ(a.resolve("notiz/5.txt"), t.dir() / "Notiz" / "5.TXT");
    std::filesystem::remove(t.path("Notiz/5.TXT"));
    EXPECT_EQ(a.resolve("notiz/5.txt"), t.dir() / "Notiz" / "5.txt");

    // Absolute names, and relative ones leaving the archive ("..\\bilder\\x.bmp").
    TempArchive other;
    other.write("Bild.BMP", "BM");
    EXPECT_EQ(a.resolve((other.dir() / "bild.bmp").string()), other.path("Bild.BMP"));
    EXPECT_TRUE(a.exists("..\\" + other.dir().filename().string() + "\\BILD.bmp"));
}

TEST(SystemErrorNumberTest, Mapping) {
    const std::pair<int, int> cases[] = {{ENOENT, 2},   {EACCES, 19},  {EPERM, 19}, {EROFS, 19},
                                         {ENOSPC, 112}, {EDQUOT, 112}, {EIO, EIO}};
    for (auto [err, number] : cases)
        EXPECT_EQ(SystemErrorNumber(err), number) << err;
}

TEST(FileUtilTest, WritesWholeFilesThroughATemporaryFile) {
    TempArchive t;
    ASSERT_EQ(WriteFileAtomically(t.path("a.ini"), std::string("x\0y", 3)), 0);
    EXPECT_EQ(ReadWholeFile(t.path("a.ini")), std::string("x\0y", 3));
    ASSERT_EQ(TruncateFile(t.path("b.ini")), 0); // creates the file
    ASSERT_EQ(WriteFileAtomically(t.path("c.ini"), "", Durability::NoSync), 0);
    EXPECT_EQ(t.read("b.ini") + t.read("c.ini"), "");
    EXPECT_EQ(FileCount(t.dir()), 3u); // no temporary files left behind
    int err = 0;
    EXPECT_FALSE(ReadWholeFile(t.path("fehlt"), &err));
    EXPECT_EQ(err, 2);
    EXPECT_EQ(WriteFileAtomically(t.path("nicht/da.ini"), "x"), 2);

    // The file behind a link is replaced, the link stays, the permissions are kept.
    ASSERT_EQ(::chmod(t.path("a.ini").c_str(), 0640), 0);
    std::filesystem::create_symlink("a.ini", t.path("verweis.ini"));
    for (auto durability : {Durability::Durable, Durability::NoSync}) {
        const std::string data(durability == Durability::NoSync ? "neu\0er" : "neu\0ab", 6);
        ASSERT_EQ(WriteFileAtomically(t.path("verweis.ini"), data, durability), 0);
        EXPECT_EQ(t.read("a.ini"), data);
        EXPECT_TRUE(std::filesystem::is_symlink(t.path("verweis.ini")));
        struct stat st {};
        ASSERT_EQ(::stat(t.path("a.ini").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
    }
}

TEST(FileUtilTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    for (auto durability : {Durability::Durable, Durability::NoSync}) {
        TempArchive t;
        t.write("DIA.INI", "[LUMORETTA]\r\nDIAS=5\r\n");
        EXPECT_EQ(WriteBeyondSizeLimit(t.path("DIA.INI"), durability), EFBIG);
        EXPECT_EQ(t.read("DIA.INI"), "[LUMORETTA]\r\nDIAS=5\r\n");
        EXPECT_EQ(FileCount(t.dir()), 1u);
        // A failing rename (a directory in the target's place); a failing copy.
        std::filesystem::create_directories(t.path("ziel/inhalt"));
        EXPECT_NE(WriteFileAtomically(t.path("ziel"), "daten", durability), 0);
        EXPECT_TRUE(std::filesystem::is_directory(t.path("ziel/inhalt")));
        EXPECT_EQ(CopyFileOver(t.path("fehlt"), t.path("DIA.INI")), 2);
        EXPECT_EQ(t.read("DIA.INI"), "[LUMORETTA]\r\nDIAS=5\r\n");
        EXPECT_EQ(FileCount(t.dir()), 2u);
    }
}
