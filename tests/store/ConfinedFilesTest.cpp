// The file layer opens only regular files below the archive directory, with openat2 and with
// the component-by-component way of kernels without it.
#include "TestArchive.h"

#include "store/Archive.h"
#include "store/ConfinedFiles.h"
#include "store/FileUtil.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo::test {
namespace {

namespace fs = std::filesystem;

class ConfinedFilesTest : public ::testing::TestWithParam<bool> {
protected:
    TempArchive archive, outside;
    void SetUp() override {
        UseOpenat2(GetParam());
        outside.write("bashrc", "echo Hallo\n");
        outside.write("dir/x", "");
        archive.write("dias.ddb", std::string(82, 'd'));
        fs::create_symlink(outside.path("bashrc"), archive.path("out"));
        fs::create_symlink("../" + outside.dir().filename().string() + "/bashrc",
                           archive.path("relative-out"));
        fs::create_directory_symlink(outside.path("dir"), archive.path("memo"));
        ASSERT_EQ(::mkfifo(archive.path("fifo").c_str(), 0644), 0);
    }
    void TearDown() override { UseOpenat2(true); }
};

TEST_P(ConfinedFilesTest, NothingOutsideIsReadWrittenOrWaitedOn) {
    const Archive a(archive.dir());
    for (const char* name : {"out", "relative-out", "memo/x", "fifo", "../x/bashrc"}) {
        SCOPED_TRACE(name);
        int err = 0;
        EXPECT_FALSE(ReadWholeFile(a.resolve(name), &err));
        EXPECT_EQ(err, 5);
        EXPECT_EQ(OpenRegular(a.resolve(name), O_WRONLY | O_APPEND, &err), -1);
    }
    // A link is replaced by the new file, never written through; a FIFO stays.
    for (const char* name : {"out", "memo/x", "fifo"})
        EXPECT_EQ(WriteFileAtomically(a.resolve(name), "neu"), std::string(name) == "out" ? 0 : 5)
            << name;
    EXPECT_EQ(TruncateFile(a.resolve("relative-out")), 0);
    EXPECT_EQ(RemoveFile(a.resolve("memo/x")), 5);
    EXPECT_EQ(outside.read("bashrc"), "echo Hallo\n");
    EXPECT_TRUE(outside.exists("dir/x"));
    EXPECT_EQ(archive.read("out"), "neu");
    EXPECT_FALSE(fs::is_symlink(archive.path("out")));
    // The archive's own files work as before; outside the archive a chosen link is followed.
    EXPECT_EQ(ReadWholeFile(a.resolve("dias.ddb")).value_or(""), std::string(82, 'd'));
    fs::create_symlink(outside.path("bashrc"), outside.path("link"));
    EXPECT_EQ(WriteFileAtomically(outside.path("link"), "gewählt"), 0);
    EXPECT_EQ(outside.read("bashrc"), "gewählt");
}

INSTANTIATE_TEST_SUITE_P(Resolution, ConfinedFilesTest, ::testing::Values(true, false),
                         [](const auto& info) {
                             return info.param ? std::string("Openat2") : std::string("Components");
                         });

} // namespace
} // namespace lumo::test
