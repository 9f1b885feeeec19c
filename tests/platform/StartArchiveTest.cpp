// The archive remembered for the desktop start, and the choice of the archive to start in.
#include "platform/StartArchive.h"
#include "platform/LastArchive.h"

#include "TestArchive.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace lumo {
namespace {

namespace fs = std::filesystem;

// HOME and XDG_CONFIG_HOME point into a temporary directory for the test's duration.
class StartArchiveTest : public ::testing::Test {
protected:
    test::TempArchive root;
    fs::path home = root.path("home");
    fs::path config = root.path("config");
    fs::path templ = root.path("vorlage");

    void SetUp() override {
        saveEnv("HOME", savedHome_);
        saveEnv("XDG_CONFIG_HOME", savedConfig_);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        root.write("home/.keep", "");
        root.write("vorlage/DIA.INI", "[LUMORETTA]\r\nDIAS=0\r\n");
        root.write("vorlage/dias.ddb", "");
        root.write("vorlage/sounds/bell.wav", "RIFF");
    }
    void TearDown() override {
        restoreEnv("HOME", savedHome_);
        restoreEnv("XDG_CONFIG_HOME", savedConfig_);
    }

    static void saveEnv(const char* name, std::optional<std::string>& slot) {
        if (const char* v = std::getenv(name))
            slot = v;
    }
    static void restoreEnv(const char* name, const std::optional<std::string>& slot) {
        if (slot)
            ::setenv(name, slot->c_str(), 1);
        else
            ::unsetenv(name);
    }

private:
    std::optional<std::string> savedHome_, savedConfig_;
};

TEST_F(StartArchiveTest, RemembersOneAbsoluteLineUnderTheConfigHome) {
    EXPECT_FALSE(RememberedArchive());
    ASSERT_TRUE(RememberArchive(root.path("Dias/Urlaub/")));
    EXPECT_EQ(root.read("config/lumoretta/last-archive"), root.path("Dias/Urlaub").string() + "\n");
    EXPECT_EQ(RememberedArchive(), root.path("Dias/Urlaub"));

    // A name that cannot be kept on one line is refused and the old entry stays.
    EXPECT_FALSE(RememberArchive(root.path("a\nb")));
    EXPECT_EQ(RememberedArchive(), root.path("Dias/Urlaub"));

    // A relative XDG_CONFIG_HOME is not valid: ~/.config is used instead.
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(ConfigDirectory(), home / ".config" / "lumoretta");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(ConfigDirectory(), home / ".config" / "lumoretta");
}

TEST_F(StartArchiveTest, DocumentsDirectoryFromUserDirsThenExistingFolders) {
    EXPECT_EQ(DocumentsDirectory(), home / "Dokumente");
    root.write("home/Documents/.keep", "");
    EXPECT_EQ(DocumentsDirectory(), home / "Documents");
    root.write("home/Dokumente/.keep", "");
    EXPECT_EQ(DocumentsDirectory(), home / "Dokumente");
    root.write("config/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                        "XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n");
    EXPECT_EQ(DocumentsDirectory(), home / "Papiere");
    root.write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n");
    EXPECT_EQ(DocumentsDirectory(), fs::path("/srv/docs"));
    // Set to the home directory itself means "not set" (xdg-user-dirs' convention).
    root.write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n");
    EXPECT_EQ(DocumentsDirectory(), home / "Dokumente");
}

TEST_F(StartArchiveTest, RememberedArchiveIsStartedWithoutTouchingDocuments) {
    root.write("Dias/DIAS.DDB", std::string(82, 'x'));
    ASSERT_TRUE(RememberArchive(root.path("Dias")));
    const StartChoice c = ChooseStartArchive(templ);
    EXPECT_EQ(c.archive, root.path("Dias"));
    EXPECT_FALSE(c.created);
    EXPECT_FALSE(c.unreachable);
    EXPECT_FALSE(fs::exists(home / "Dokumente"));
}

TEST_F(StartArchiveTest, FirstStartCopiesTheTemplateAndRemembersIt) {
    const mode_t mask = ::umask(027);
    const StartChoice c = ChooseStartArchive(templ);
    ::umask(mask);
    const fs::path made = home / "Dokumente" / "Lumoretta-Archiv";
    EXPECT_EQ(c.archive, made);
    EXPECT_TRUE(c.created);
    EXPECT_TRUE(c.error.empty());
    EXPECT_EQ(root.read("home/Dokumente/Lumoretta-Archiv/DIA.INI"), "[LUMORETTA]\r\nDIAS=0\r\n");
    EXPECT_EQ(root.read("home/Dokumente/Lumoretta-Archiv/sounds/bell.wav"), "RIFF");
    EXPECT_TRUE(fs::is_regular_file(made / "dias.ddb"));
    EXPECT_EQ(fs::status(made).permissions(), fs::perms(0750)); // the umask, not private
    EXPECT_EQ(RememberedArchive(), made);
    // No temporary copy is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(home / "Dokumente"), fs::directory_iterator()),
              1);

    // The next start finds it remembered and copies nothing.
    root.write("home/Dokumente/Lumoretta-Archiv/dias.ddb", std::string(82, 'y'));
    const StartChoice again = ChooseStartArchive(templ);
    EXPECT_EQ(again.archive, made);
    EXPECT_FALSE(again.created);
    EXPECT_EQ(root.read("home/Dokumente/Lumoretta-Archiv/dias.ddb"), std::string(82, 'y'));
}

TEST_F(StartArchiveTest, ExistingArchivesAndFoldersAreNeverOverwritten) {
    // An archive already in the documents directory is taken as it is.
    root.write("home/Dokumente/Lumoretta-Archiv/dias.ddb", std::string(164, 'z'));
    StartChoice c = ChooseStartArchive(templ);
    EXPECT_EQ(c.archive, home / "Dokumente" / "Lumoretta-Archiv");
    EXPECT_FALSE(c.created);
    EXPECT_EQ(root.read("home/Dokumente/Lumoretta-Archiv/dias.ddb"), std::string(164, 'z'));
    EXPECT_FALSE(root.exists("home/Dokumente/Lumoretta-Archiv/DIA.INI"));

    // A folder of that name without a slide database, and a file of the next name, stay
    // as they are; the archive goes to the next free name.
    fs::remove(config / "lumoretta" / "last-archive");
    fs::remove(home / "Dokumente" / "Lumoretta-Archiv" / "dias.ddb");
    root.write("home/Dokumente/Lumoretta-Archiv/Brief.txt", "meins");
    root.write("home/Dokumente/Lumoretta-Archiv-2", "auch meins");
    c = ChooseStartArchive(templ);
    EXPECT_EQ(c.archive, home / "Dokumente" / "Lumoretta-Archiv-3");
    EXPECT_TRUE(c.created);
    EXPECT_EQ(root.read("home/Dokumente/Lumoretta-Archiv/Brief.txt"), "meins");
    EXPECT_FALSE(root.exists("home/Dokumente/Lumoretta-Archiv/DIA.INI"));
    EXPECT_EQ(root.read("home/Dokumente/Lumoretta-Archiv-2"), "auch meins");
}

TEST_F(StartArchiveTest, UnreachableRememberedArchiveFallsBackAndStaysRemembered) {
    ASSERT_TRUE(RememberArchive("/media/usb-stick/Dias"));
    const StartChoice c = ChooseStartArchive(templ);
    ASSERT_TRUE(c.unreachable);
    EXPECT_EQ(*c.unreachable, fs::path("/media/usb-stick/Dias"));
    EXPECT_EQ(c.archive, home / "Dokumente" / "Lumoretta-Archiv");
    EXPECT_EQ(RememberedArchive(), fs::path("/media/usb-stick/Dias"));
}

TEST_F(StartArchiveTest, MissingTemplateIsAnErrorAndCreatesNothing) {
    const StartChoice c = ChooseStartArchive(root.path("nirgends"));
    EXPECT_TRUE(c.archive.empty());
    EXPECT_NE(c.error.find("Vorlage"), std::string::npos);
    EXPECT_FALSE(fs::exists(home / "Dokumente" / "Lumoretta-Archiv"));
    EXPECT_FALSE(RememberedArchive());
}

} // namespace
} // namespace lumo
