#include "store/Settings.h"
#include "TestArchive.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace lumo;
using lumo::test::TempArchive;

namespace {

// Every loaded value as "name=value" words.
std::string Describe(const Settings& s, const Counters& c) {
    auto b = [](bool v) { return v ? "1" : "0"; };
    auto n = [](int32_t v) { return std::to_string(v); };
    std::string groups;
    for (bool g : s.backupGroups)
        groups += b(g);
    return "dias=" + n(c.activeSlides) + " unreadable=" + b(s.slideCountWasUnreadable) +
           " drucker=" + b(s.printer) + " tip=" + n(s.tipNumber) + " bmp=" + s.pictureName +
           " fenster=" + n(s.windowTop) + "," + n(s.windowLeft) +
           " kasten=" + n(s.magazinesPerBox) + " magazin=" + n(s.slidesPerMagazine) + "/" +
           n(s.slidesPerMagazineShown) + " sound=" + b(s.sound) +
           " vorber=" + b(s.precomputePosition) + " editor=" + s.editor +
           " auto=" + b(s.autoBackup) + " groups=" + groups;
}

} // namespace

TEST(LoadSettingsTest, ValuesDefaultsAndConversionRules) {
    const std::string defaults = "dias=-1 unreadable=0 drucker=0 tip=1 bmp=dia.bmp fenster=0,0 "
                                 "kasten=2 magazin=50/50 sound=1 vorber=1 editor=notepad.exe "
                                 "auto=0 groups=00000";
    // ini: nullptr for no DIA.INI; without a leading "[" the lines belong to [LUMORETTA].
    // words: each must appear in the description of what was loaded.
    const struct {
        const char* ini;
        std::string words;
    } cases[] = {
        {nullptr, defaults},
        {"[KOPFDATA]\r\nFELDNAMEN=A,B\r\n", defaults},
        {"[LUMORETTA]\r\nDIAS=387\r\nDRUCKER=1\r\nTIP=4\r\nBMPBILD=bilder\\x.bmp\r\n"
         "FENSTER=120,35\r\nKASTEN=4\r\nMAGAZIN=36\r\nSOUND=0\r\nVORBERECHNUNG=0\r\n"
         "EDITOR=kate\r\n[BACKUP]\r\nAUTO=1\r\nDIASDDB=1\r\nKEYSDDB=0\r\nKOPFDDB=1\r\n"
         "MEMODDB=2\r\nBMPSDDB=1\r\n",
         "dias=387 unreadable=0 drucker=1 tip=4 bmp=bilder\\x.bmp fenster=120,35 kasten=4 "
         "magazin=36/36 sound=0 vorber=0 editor=kate auto=1 groups=10101"},
        {"DIAS=?", "dias=-1 unreadable=0"},
        {"DIAS=-1", "dias=-1 unreadable=0"},
        {"DIAS=0", "dias=0 unreadable=0"},
        // Not a number: unknown, so the archive is analysed; the rest still loads.
        {"DIAS=abc\nKASTEN=5", "dias=-1 unreadable=1 kasten=5"},
        {"DIAS=", "dias=-1 unreadable=1"},
        {"DIAS=12x", "dias=-1 unreadable=1"},
        {"KASTEN=7x", "kasten=7"}, // the number rule of the profile functions
        {"SOUND=2\nVORBERECHNUNG=-1\nDRUCKER=2", "sound=1 vorber=1 drucker=0"},
        {"[BACKUP]\nAUTO=2", "auto=0"},
        {"MAGAZIN=255", "magazin=50/255"},
        {"FENSTER=120", "fenster=120,0"},
    };
    for (const auto& c : cases) {
        TempArchive t;
        if (c.ini)
            t.write("DIA.INI", std::string(c.ini[0] == '[' ? "" : "[LUMORETTA]\n") + c.ini + "\n");
        // Start from values that are no default, to see every one of them set.
        Settings s{true, 9, "x.bmp", 9, 9, 9, false, false, "vi", 7, 7, true};
        s.backupGroups.fill(true);
        s.slideCountWasUnreadable = true;
        Counters counters;
        counters.activeSlides = 99;
        LoadSettings(Archive(t.dir()), s, counters);
        const std::string loaded = " " + Describe(s, counters) + " ";
        std::istringstream words(c.words);
        for (std::string w; words >> w;)
            EXPECT_NE(loaded.find(" " + w + " "), std::string::npos)
                << (c.ini ? c.ini : "no file") << ": " << w << " in" << loaded;
    }
}

TEST(SaveSettingsTest, WritesTheKeysInOrderAndReplacesValuesInPlace) {
    TempArchive t;
    Archive a(t.dir());
    t.write("DIA.INI", "; eigene Notiz\r\n[KOPFDATA]\r\nFELDNAMEN=Kamera,Objektiv\r\n");
    Settings s;
    Counters c;
    c.activeSlides = -1;
    s.windowTop = 120;
    s.backupGroups = {true, false, false, true, false};
    ASSERT_TRUE(SaveSettings(a, s, c));
    EXPECT_EQ(t.read("DIA.INI"),
              "; eigene Notiz\r\n[KOPFDATA]\r\nFELDNAMEN=Kamera,Objektiv\r\n"
              "[LUMORETTA]\r\nDIAS=-1\r\nKASTEN=2\r\nMAGAZIN=50\r\nSOUND=1\r\nVORBERECHNUNG=1\r\n"
              "DRUCKER=0\r\nTIP=1\r\nBMPBILD=dia.bmp\r\nFENSTER=120,0\r\nEDITOR=notepad.exe\r\n"
              "[BACKUP]\r\nAUTO=0\r\nDIASDDB=1\r\nKEYSDDB=0\r\nKOPFDDB=0\r\nMEMODDB=1\r\n"
              "BMPSDDB=0\r\n");

    t.write("DIA.INI", "[LUMORETTA]\nEDITOR=vi\nDIAS=?\nFENSTER=5,6,7\n");
    LoadSettings(a, s, c);
    c.activeSlides = 12;
    s.windowLeft = 9;
    ASSERT_TRUE(SaveSettings(a, s, c));
    EXPECT_EQ(t.read("DIA.INI").substr(0, 58),
              "[LUMORETTA]\r\nEDITOR=vi\r\nDIAS=12\r\nFENSTER=5,9,7\r\nKASTEN=2\r\n");

    // A directory in the file's place, an archive directory that does not exist.
    std::filesystem::remove(t.path("DIA.INI"));
    std::filesystem::create_directory(t.path("DIA.INI"));
    EXPECT_FALSE(SaveSettings(a, s, c));
    EXPECT_FALSE(SaveSettings(Archive(t.path("fehlt")), s, c));
}

TEST(BoxLabelTest, ReadAndWrite) {
    TempArchive t;
    Archive a(t.dir());
    auto label = [&](int box) {
        std::string magazine = "alt", theme = "alt";
        ReadBoxLabel(a, box, magazine, theme);
        return magazine + "|" + theme;
    };
    EXPECT_EQ(label(3), "MagazinText|ThematikText"); // no KASTEN.INI
    ASSERT_TRUE(WriteBoxLabel(a, 7, "Magazin 7", "Thema \xdc"));
    EXPECT_FALSE(WriteBoxLabel(a, 0, "a", "b"));
    EXPECT_EQ(t.read("KASTEN.INI"), "[K007]\r\nT1=Magazin 7\r\nT2=Thema \xdc\r\n");

    t.write("KASTEN.INI", "[K003]\r\nT1=Urlaub K\xfcste\r\n[k042]\r\nT2=" + std::string(300, 'z') +
                              "\r\n[K000]\r\nT1=null\r\n[K256]\r\nT1=zu gross\r\n");
    const std::pair<int, std::string> cases[] = {
        {3, "Urlaub K\xfcste|ThematikText"},
        {42, "MagazinText|" + std::string(255, 'z')},
        {255, "MagazinText|ThematikText"},
        {0, "alt|alt"}, // numbers outside 1..255 leave the texts alone
        {256, "alt|alt"},
    };
    for (const auto& [box, texts] : cases)
        EXPECT_EQ(label(box), texts) << box;
}
