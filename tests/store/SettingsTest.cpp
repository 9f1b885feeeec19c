#include "store/Settings.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

using namespace lumo;
using lumo::test::TempArchive;

namespace {

struct Loaded {
    Settings s;
    Counters c;
};

Loaded LoadFrom(const TempArchive& t, std::string_view ini) {
    t.write("DIA.INI", ini);
    Loaded l;
    LoadSettings(Archive(t.dir()), l.s, l.c);
    return l;
}

} // namespace

TEST(LoadSettingsTest, MissingFileGivesDefaults) {
    TempArchive t;
    Loaded l;
    l.c.activeSlides = 99;
    l.s.magazinesPerBox = 9;
    l.s.editor = "vi";
    LoadSettings(Archive(t.dir()), l.s, l.c);
    EXPECT_EQ(l.c.activeSlides, -1);
    EXPECT_FALSE(l.s.slideCountWasUnreadable);
    EXPECT_FALSE(l.s.printer);
    EXPECT_EQ(l.s.tipNumber, 1);
    EXPECT_EQ(l.s.pictureName, "dia.bmp");
    EXPECT_EQ(l.s.windowTop, 0);
    EXPECT_EQ(l.s.windowLeft, 0);
    EXPECT_EQ(l.s.magazinesPerBox, 2);
    EXPECT_EQ(l.s.slidesPerMagazine, 50);
    EXPECT_TRUE(l.s.sound);
    EXPECT_TRUE(l.s.precomputePosition);
    EXPECT_EQ(l.s.editor, "notepad.exe");
    EXPECT_FALSE(l.s.autoBackup);
    for (bool g : l.s.backupGroups)
        EXPECT_FALSE(g);
}

TEST(LoadSettingsTest, AllKeys) {
    TempArchive t;
    Loaded l =
        LoadFrom(t, "[LUMORETTA]\r\nDIAS=387\r\nDRUCKER=1\r\nTIP=4\r\nBMPBILD=bilder\\x.bmp\r\n"
                    "FENSTER=120,35\r\nKASTEN=4\r\nMAGAZIN=36\r\nSOUND=0\r\n"
                    "VORBERECHNUNG=0\r\nEDITOR=kate\r\n[BACKUP]\r\nAUTO=1\r\nDIASDDB=1\r\n"
                    "KEYSDDB=0\r\nKOPFDDB=1\r\nMEMODDB=2\r\nBMPSDDB=1\r\n");
    EXPECT_EQ(l.c.activeSlides, 387);
    EXPECT_TRUE(l.s.printer);
    EXPECT_EQ(l.s.tipNumber, 4);
    EXPECT_EQ(l.s.pictureName, "bilder\\x.bmp");
    EXPECT_EQ(l.s.windowTop, 120);
    EXPECT_EQ(l.s.windowLeft, 35);
    EXPECT_EQ(l.s.magazinesPerBox, 4);
    EXPECT_EQ(l.s.slidesPerMagazine, 36);
    EXPECT_FALSE(l.s.sound);
    EXPECT_FALSE(l.s.precomputePosition);
    EXPECT_EQ(l.s.editor, "kate");
    EXPECT_TRUE(l.s.autoBackup);
    EXPECT_EQ(l.s.backupGroups, (std::array<bool, 5>{true, false, true, false, true}));
}

TEST(LoadSettingsTest, SlideCountValues) {
    TempArchive t;
    EXPECT_EQ(LoadFrom(t, "[LUMORETTA]\r\nDIAS=?\r\n").c.activeSlides, -1);
    EXPECT_EQ(LoadFrom(t, "[LUMORETTA]\r\nKASTEN=2\r\n").c.activeSlides, -1);
    Loaded minusOne = LoadFrom(t, "[LUMORETTA]\r\nDIAS=-1\r\n");
    EXPECT_EQ(minusOne.c.activeSlides, -1);
    EXPECT_FALSE(minusOne.s.slideCountWasUnreadable);
    EXPECT_EQ(LoadFrom(t, "[LUMORETTA]\r\nDIAS=0\r\n").c.activeSlides, 0);

    // Not a number: unknown, so the archive is analysed; the rest still loads.
    Loaded abc = LoadFrom(t, "[LUMORETTA]\r\nDIAS=abc\r\nKASTEN=5\r\n");
    EXPECT_EQ(abc.c.activeSlides, -1);
    EXPECT_TRUE(abc.s.slideCountWasUnreadable);
    EXPECT_EQ(abc.s.magazinesPerBox, 5);
    EXPECT_TRUE(LoadFrom(t, "[LUMORETTA]\r\nDIAS=\r\n").s.slideCountWasUnreadable);
    EXPECT_TRUE(LoadFrom(t, "[LUMORETTA]\r\nDIAS=12x\r\n").s.slideCountWasUnreadable);
}

TEST(LoadSettingsTest, IntegerAndFlagRules) {
    TempArchive t;
    EXPECT_EQ(LoadFrom(t, "[LUMORETTA]\r\nKASTEN=abc\r\n").s.magazinesPerBox, 0);
    EXPECT_EQ(LoadFrom(t, "[LUMORETTA]\r\nKASTEN=\r\n").s.magazinesPerBox, 2);
    EXPECT_EQ(LoadFrom(t, "[LUMORETTA]\r\nKASTEN=7x\r\n").s.magazinesPerBox, 7);
    EXPECT_TRUE(LoadFrom(t, "[LUMORETTA]\r\nSOUND=2\r\n").s.sound);
    EXPECT_TRUE(LoadFrom(t, "[LUMORETTA]\r\nVORBERECHNUNG=-1\r\n").s.precomputePosition);
    EXPECT_FALSE(LoadFrom(t, "[LUMORETTA]\r\nDRUCKER=2\r\n").s.printer);
    EXPECT_FALSE(LoadFrom(t, "[BACKUP]\r\nAUTO=2\r\n").s.autoBackup);
    Loaded m = LoadFrom(t, "[LUMORETTA]\r\nMAGAZIN=255\r\n");
    EXPECT_EQ(m.s.slidesPerMagazine, 50);
    EXPECT_EQ(m.s.slidesPerMagazineShown, 255);
    Loaded f = LoadFrom(t, "[LUMORETTA]\r\nFENSTER=120\r\n");
    EXPECT_EQ(f.s.windowTop, 120);
    EXPECT_EQ(f.s.windowLeft, 0);
    // No [LUMORETTA] section at all, other sections present.
    Loaded other = LoadFrom(t, "[KOPFDATA]\r\nFELDNAMEN=A,B\r\n");
    EXPECT_EQ(other.c.activeSlides, -1);
    EXPECT_EQ(other.s.magazinesPerBox, 2);
}

TEST(SaveSettingsTest, WritesTheKeysInOrderAndKeepsOtherLines) {
    TempArchive t;
    t.write("DIA.INI", "; eigene Notiz\r\n[KOPFDATA]\r\nFELDNAMEN=Kamera,Objektiv\r\n");
    Archive a(t.dir());
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
    // Round trip.
    Settings back;
    Counters cb;
    LoadSettings(a, back, cb);
    EXPECT_EQ(cb.activeSlides, -1);
    EXPECT_EQ(back.windowTop, 120);
    EXPECT_EQ(back.backupGroups, s.backupGroups);
}

TEST(SaveSettingsTest, ReplacesValuesInPlace) {
    TempArchive t;
    t.write("DIA.INI", "[LUMORETTA]\nEDITOR=vi\nDIAS=?\nFENSTER=5,6,7\n");
    Archive a(t.dir());
    Settings s;
    Counters c;
    LoadSettings(a, s, c);
    c.activeSlides = 12;
    s.windowLeft = 9;
    ASSERT_TRUE(SaveSettings(a, s, c));
    std::string out = t.read("DIA.INI");
    EXPECT_EQ(out.substr(0, 58),
              "[LUMORETTA]\r\nEDITOR=vi\r\nDIAS=12\r\nFENSTER=5,9,7\r\nKASTEN=2\r\n");
}

TEST(SaveSettingsTest, FailureReturnsFalse) {
    TempArchive t;
    std::filesystem::create_directory(t.path("DIA.INI"));
    Settings s;
    Counters c;
    EXPECT_FALSE(SaveSettings(Archive(t.dir()), s, c));
    EXPECT_FALSE(SaveSettings(Archive(t.path("fehlt")), s, c));
}

TEST(BoxLabelTest, ReadWithDefaultsAndRange) {
    TempArchive t;
    Archive a(t.dir());
    EXPECT_EQ(BoxSection(7), "K007");
    EXPECT_EQ(BoxSection(255), "K255");
    std::string m = "x", th = "y";
    ReadBoxLabel(a, 3, m, th); // no KASTEN.INI
    EXPECT_EQ(m, "MagazinText");
    EXPECT_EQ(th, "ThematikText");

    t.write("KASTEN.INI",
            "[K003]\r\nT1=Urlaub K\xfcste\r\n[k042]\r\nT2=" + std::string(300, 'z') + "\r\n");
    ReadBoxLabel(a, 3, m, th);
    EXPECT_EQ(m, "Urlaub K\xfcste");
    EXPECT_EQ(th, "ThematikText");
    ReadBoxLabel(a, 42, m, th);
    EXPECT_EQ(m, "MagazinText");
    EXPECT_EQ(th, std::string(255, 'z'));

    m = "bleibt";
    th = "auch";
    ReadBoxLabel(a, 0, m, th);
    ReadBoxLabel(a, 256, m, th);
    EXPECT_EQ(m, "bleibt");
    EXPECT_EQ(th, "auch");
}

TEST(BoxLabelTest, Write) {
    TempArchive t;
    Archive a(t.dir());
    ASSERT_TRUE(WriteBoxLabel(a, 7, "Magazin 7", "Thema \xdc"));
    EXPECT_EQ(t.read("KASTEN.INI"), "[K007]\r\nT1=Magazin 7\r\nT2=Thema \xdc\r\n");
    EXPECT_FALSE(WriteBoxLabel(a, 0, "a", "b"));
    std::string m, th;
    ReadBoxLabel(a, 7, m, th);
    EXPECT_EQ(th, "Thema \xdc");
}
