// The archive remembered for the desktop start, and the choice of the archive to start in.
#include "platform/StartArchive.h"
#include "platform/LastArchive.h"

#include "TestArchive.h"
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lumo {
namespace {
namespace fs = std::filesystem;

// An environment variable set for the test's duration.
struct ScopedEnv {
    const char* name;
    std::optional<std::string> old;
    ScopedEnv(const char* n, const fs::path& value) : name(n) {
        if (const char* v = std::getenv(n))
            old = v;
        ::setenv(n, value.c_str(), 1);
    }
    ~ScopedEnv() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
};

class StartArchiveTest : public ::testing::Test {
protected:
    test::TempArchive root;
    fs::path home = root.path("home"), config = root.path("config"), templ = root.path("vorlage");
    fs::path docs = home / "Dokumente", made = docs / "Lumoretta-Archiv";
    ScopedEnv homeEnv{"HOME", home}, configEnv{"XDG_CONFIG_HOME", config};

    void SetUp() override {
        root.write("home/.keep", "");
        root.write("vorlage/DIA.INI", "[LUMORETTA]\r\nDIAS=0\r\n");
        root.write("vorlage/dias.ddb", "");
        root.write("vorlage/sounds/bell.wav", "RIFF");
    }
    std::string doc(const std::string& name) { return root.read("home/Dokumente/" + name); }
};

TEST_F(StartArchiveTest, RemembersOneAbsoluteLineUnderTheConfigHome) {
    const StartChoice c = ChooseStartArchive(root.path("nirgends")); // no template: an error
    EXPECT_TRUE(c.archive.empty() && c.error.find("Vorlage") != std::string::npos);
    EXPECT_FALSE(fs::exists(made) || RememberedArchive());
    ASSERT_TRUE(RememberArchive(root.path("Dias/Urlaub/")));
    EXPECT_EQ(root.read("config/lumoretta/last-archive"), root.path("Dias/Urlaub").string() + "\n");
    EXPECT_FALSE(RememberArchive(root.path("a\nb"))); // not one line: the old entry stays
    EXPECT_EQ(RememberedArchive(), root.path("Dias/Urlaub"));
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1); // not valid: ~/.config instead
    EXPECT_EQ(ConfigDirectory(), home / ".config" / "lumoretta");
}

TEST_F(StartArchiveTest, ARememberedArchiveIsTakenAndAnUnreachableOneStaysRemembered) {
    root.write("Dias/DIAS.DDB", std::string(82, 'x'));
    ASSERT_TRUE(RememberArchive(root.path("Dias")));
    StartChoice c = ChooseStartArchive(templ);
    EXPECT_EQ(c.archive, root.path("Dias"));
    EXPECT_FALSE(c.created || c.unreachable || fs::exists(docs)); // nothing made in documents
    ASSERT_TRUE(RememberArchive("/media/usb-stick/Dias"));
    c = ChooseStartArchive(templ);
    EXPECT_EQ(c.unreachable, fs::path("/media/usb-stick/Dias"));
    EXPECT_EQ(c.archive, made);
    EXPECT_EQ(RememberedArchive(), fs::path("/media/usb-stick/Dias"));
}

TEST_F(StartArchiveTest, FirstStartCopiesTheTemplateAndRemembersIt) {
    const mode_t mask = ::umask(027);
    const StartChoice c = ChooseStartArchive(templ);
    ::umask(mask);
    EXPECT_TRUE(c.archive == made && c.created && c.error.empty());
    EXPECT_EQ(doc("Lumoretta-Archiv/DIA.INI"), "[LUMORETTA]\r\nDIAS=0\r\n");
    EXPECT_EQ(doc("Lumoretta-Archiv/sounds/bell.wav"), "RIFF");
    EXPECT_TRUE(fs::is_regular_file(made / "dias.ddb"));
    EXPECT_EQ(fs::status(made).permissions(), fs::perms(0750)); // the umask, not private
    EXPECT_EQ(RememberedArchive(), made);
    EXPECT_EQ(std::distance(fs::directory_iterator(docs), {}), 1); // no temporary copy left
    root.write("home/Dokumente/Lumoretta-Archiv/dias.ddb", std::string(82, 'y'));
    const StartChoice again = ChooseStartArchive(templ);
    EXPECT_TRUE(again.archive == made && !again.created);
    EXPECT_EQ(doc("Lumoretta-Archiv/dias.ddb"), std::string(82, 'y'));
}

TEST_F(StartArchiveTest, ExistingArchivesAndFoldersAreNeverOverwritten) {
    root.write("home/Dokumente/Lumoretta-Archiv/dias.ddb", std::string(164, 'z'));
    StartChoice c = ChooseStartArchive(templ);
    EXPECT_TRUE(c.archive == made && !c.created);
    EXPECT_EQ(doc("Lumoretta-Archiv/dias.ddb"), std::string(164, 'z'));
    EXPECT_FALSE(fs::exists(made / "DIA.INI"));
    // A folder without a slide database and a file of the next name stay; the next free name.
    fs::remove(config / "lumoretta" / "last-archive");
    fs::remove(made / "dias.ddb");
    root.write("home/Dokumente/Lumoretta-Archiv/Brief.txt", "meins");
    root.write("home/Dokumente/Lumoretta-Archiv-2", "auch meins");
    c = ChooseStartArchive(templ);
    EXPECT_TRUE(c.archive == docs / "Lumoretta-Archiv-3" && c.created);
    EXPECT_EQ(doc("Lumoretta-Archiv/Brief.txt") + doc("Lumoretta-Archiv-2"), "meinsauch meins");
    EXPECT_FALSE(fs::exists(made / "DIA.INI"));
}

} // namespace
} // namespace lumo
