#include "store/Archive.h"
#include "FaultInjection.h" // failed writes: WriteFaultTest
#include "store/FileUtil.h"

#include <gtest/gtest.h>

namespace lumo::test {
namespace {

TEST(ArchiveResolveTest, MatchesNamesWithoutRegardToCase) {
    TempArchive t;
    for (const char* name : {"DIAS.DDB", "KEYWORD1", "Dia.Ini", "MEMO/12.TXT", "Bilder/3.Bmp",
                             "MEMO/3.txt", "keyword2", "KEYWORD2"})
        t.write(name, "x");
    const std::pair<const char*, const char*> cases[] = {
        {"dias.ddb", "DIAS.DDB"},         {"DIA.INI", "Dia.Ini"},
        {"memo\\12.txt", "MEMO/12.TXT"},  {"bilder/3.bmp", "Bilder/3.Bmp"},
        {"memo/13.txt", "MEMO/13.txt"}, // new file in a directory of other spelling
        {"KEYWORD1.OLD", "KEYWORD1.OLD"}, {"neu/sub/x.txt", "neu/sub/x.txt"},
        {"KEYWORD2", "KEYWORD2"},                                   // the exact spelling wins,
        {"keyword2", "keyword2"},         {"Keyword2", "KEYWORD2"}, // else the first in byte order
    };
    Archive a(t.dir());
    for (const auto& [bare, onDisk] : cases)
        EXPECT_EQ(a.resolve(bare), t.dir() / onDisk) << bare;
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
    int err = 0;
    EXPECT_FALSE(ReadWholeFile(t.path("fehlt"), &err));
    EXPECT_EQ(err, 2);
    EXPECT_EQ(WriteFileAtomically(t.path("nicht/da.ini"), "x"), 2);
    EXPECT_EQ(CopyFileOver(t.path("fehlt"), t.path("b.ini")), 2);
    // The file behind a link is replaced, the link stays, the permissions are kept.
    ASSERT_EQ(::chmod(t.path("a.ini").c_str(), 0640), 0);
    std::filesystem::create_symlink("a.ini", t.path("verweis.ini"));
    for (auto durability : {Durability::Durable, Durability::NoSync}) {
        const std::string data(durability == Durability::NoSync ? "neu\0er" : "neu\0ab", 6);
        ASSERT_EQ(WriteFileAtomically(t.path("verweis.ini"), data, durability), 0);
        // No temporary file left (the link is listed under the name of its file).
        EXPECT_EQ(TakeSnapshot(t.dir()), (Snapshot{{"a.ini", data}, {"b.ini", ""}, {"c.ini", ""}}));
        EXPECT_TRUE(std::filesystem::is_symlink(t.path("verweis.ini")));
        EXPECT_EQ(std::filesystem::status(t.path("a.ini")).permissions(),
                  std::filesystem::perms(0640));
    }
}

} // namespace
} // namespace lumo::test
