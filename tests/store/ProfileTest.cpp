// DIA.INI and KASTEN.INI: the profile file rules, the settings and the box labels.
#include "store/Profile.h"
#include "TestArchive.h"
#include "store/Settings.h"

#include <gtest/gtest.h>
#include <sstream>

namespace lumo::test {
namespace {

TEST(IniDocumentTest, KeepsEveryLineReplacesInPlaceAndWritesCrLf) {
    using Set = std::array<const char*, 3>; // section, key, value
    const struct {
        std::string in;
        std::vector<Set> sets;
        std::string out;
    } cases[] = {
        // LF-only input with a comment, junk, an unknown section and a last line without LF.
        {"; Kommentar\n[LUMORETTA]\nDIAS=12\nMuell ohne Gleich\n\n[Fremd]\nX=1\nY=2",
         {},
         "; Kommentar\r\n[LUMORETTA]\r\nDIAS=12\r\nMuell ohne "
         "Gleich\r\n\r\n[Fremd]\r\nX=1\r\nY=2\r\n"},
        // A CR alone ends a line as CR LF and LF do; no line is lost when a value is replaced.
        {"[A]\rX=1\r*junk\nY=2\r\n", {{"A", "X", "3"}}, "[A]\r\nX=3\r\n*junk\r\nY=2\r\n"},
        // Sections and keys match without regard to case; the spelling in the file stays.
        {"[lumoretta]\r\nDias=12\r\nKASTEN = 2 \r\n[Backup]\r\nAUTO=1\r\n",
         {{"LUMORETTA", "DIAS", "13"}, {"BACKUP", "auto", "0"}},
         "[lumoretta]\r\nDias=13\r\nKASTEN = 2 \r\n[Backup]\r\nAUTO=0\r\n"},
        // A new key after the last key of its section or right after its header; new sections last.
        {"[A]\r\nx=1\r\n; Notiz\r\n\r\n[B]\r\n[C]\r\nz=3\r\n",
         {{"A", "y", "2"}, {"B", "q", "9"}, {"NEU", "k", "v"}},
         "[A]\r\nx=1\r\ny=2\r\n; Notiz\r\n\r\n[B]\r\nq=9\r\n[C]\r\nz=3\r\n[NEU]\r\nk=v\r\n"},
        // Duplicate keys and sections: the first one is used, the others kept.
        {"[S]\nk=1\nk=2\n[T]\nk=7\n[s]\nk=3\nneu=4\n",
         {{"S", "K", "5"}},
         "[S]\r\nk=5\r\nk=2\r\n[T]\r\nk=7\r\n[s]\r\nk=3\r\nneu=4\r\n"},
        {"", {{"S", "k", "eins\r\n[BOESE]\r\nx=1"}}, "[S]\r\nk=eins\r\n"}, // one line per value
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::Parse(c.in);
        for (const auto& [section, key, value] : c.sets)
            doc.set(section, key, value);
        EXPECT_EQ(doc.Serialize(), c.out) << c.in;
    }
    IniDocument doc =
        IniDocument::Parse("[lumoretta]\nKASTEN = 2 \n[S]\nk=1\nk=2\n[s]\nneu=4\n[A]\rX=1\r");
    // Blanks around key and value dropped; only the first [S]; k is not in [LUMORETTA].
    EXPECT_EQ(doc.get("Lumoretta", "kasten").value_or("-") + doc.get("S", "K").value_or("-") +
                  doc.get("S", "neu").value_or("-") + doc.get("LUMORETTA", "k").value_or("-") +
                  doc.get("A", "X").value_or("-"),
              "21--1");
    // Values with blanks around them or enclosing quotes are written in quotes the reader drops.
    // clang-format off
    for (const auto& [value, line] : std::vector<std::pair<std::string, std::string>>{
             {"Urlaub", "T1=Urlaub"}, {"\"Urlaub 1998\"", "T1=\"\"Urlaub 1998\"\""},
             {" links", "T1=\" links\""}, {"rechts\t", "T1=\"rechts\t\""},
             {"\"", "T1=\""}, {"a\"b\"", "T1=a\"b\""}}) {
        // clang-format on
        IniDocument quoted = IniDocument::Parse("[K001]\r\n");
        quoted.set("K001", "T1", value);
        EXPECT_EQ(quoted.Serialize(), "[K001]\r\n" + line + "\r\n") << value;
        EXPECT_EQ(IniDocument::Parse(quoted.Serialize()).get("K001", "T1"), value) << value;
    }
}

TEST(ProfileValueTest, IntegerAndListRules) {
    // clang-format off
    const std::pair<const char*, int32_t> cases[] = {{"", 2}, {"abc", 0}, {"7x", 7}, {"  -12 ", -12},
        {"+5", 5}, {"--5", 0}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}};
    // clang-format on
    for (auto [text, number] : cases)
        EXPECT_EQ(ProfileInteger(text, 2), number) << text;
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitListValue("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitListValue("a,b,"), (V{"a", "b"}));
    // Elements are cut to 255 characters, the whole value to 32764.
    EXPECT_EQ(SplitListValue(std::string(300, 'x') + ",y"), (V{std::string(255, 'x'), "y"}));
    EXPECT_EQ(SplitListValue(std::string(32763, ',') + ",,z").size(), 32764u);
}

TEST(ProfileStoreTest, ReadsAndWritesValuesListElementsAndBatches) {
    TempArchive t;
    ProfileStore p;
    p.SetIniFile(t.path("DIA.INI"));
    EXPECT_EQ(p.ReadInteger("LUMORETTA", "KASTEN", 2), 2); // no file yet
    ASSERT_TRUE(p.WriteString("LUMORETTA", "EDITOR", "kate"));
    EXPECT_EQ(p.ReadString("lumoretta", "editor", "", 3), "kat"); // cut to the buffer
    // Element 1 of a missing key: an empty element 0, then the value.
    ASSERT_TRUE(p.WriteListString("KOPFDATA", "3", 1, "Kodachrome"));
    EXPECT_EQ(p.ReadListString("KOPFDATA", "3", 0, "leer", 15) + "|" +
                  p.ReadListString("KOPFDATA", "3", 1, "leer", 5) + "|" +
                  p.ReadListString("KOPFDATA", "3", 2, "leer", 15),
              "|Kodac|leer");
    ASSERT_TRUE(p.WriteListInteger("KOPFDATA", "3", 0, -4)); // the others are kept
    EXPECT_EQ(p.ReadListInteger("KOPFDATA", "3", 0, 0), -4);
    EXPECT_EQ(t.read("DIA.INI"), "[LUMORETTA]\r\nEDITOR=kate\r\n[KOPFDATA]\r\n3=-4,Kodachrome\r\n");
    // A batch is read back at once but written once, at the commit.
    t.write("KASTEN.INI", "; Etiketten\r\n[K001]\r\nT1=alt\r\n");
    p.SetIniFile(t.path("KASTEN.INI"));
    p.BeginBatch();
    EXPECT_TRUE(p.WriteString("K001", "T1", "neu"));
    EXPECT_TRUE(p.WriteString("K001", "T2", "Thema"));
    EXPECT_EQ(p.ReadString("K001", "T1", "", 255), "neu");
    EXPECT_EQ(t.read("KASTEN.INI"), "; Etiketten\r\n[K001]\r\nT1=alt\r\n");
    ASSERT_TRUE(p.CommitBatch());
    EXPECT_EQ(t.read("KASTEN.INI"), "; Etiketten\r\n[K001]\r\nT1=neu\r\nT2=Thema\r\n");
}

TEST(ProfileStoreTest, NoFileNameOrADirectoryReadsDefaultsAndFailsWrites) {
    TempArchive t;
    std::filesystem::create_directory(t.path("DIA.INI")); // must not be replaced
    for (const auto& file : {std::filesystem::path(), t.path("DIA.INI")}) {
        ProfileStore p;
        p.SetIniFile(file);
        EXPECT_EQ(p.ReadString("A", "b", "def", 255), "def");
        EXPECT_EQ(p.ReadInteger("A", "b", 42), 42);
        EXPECT_FALSE(p.WriteString("A", "b", "c"));
        p.BeginBatch();
        p.WriteString("A", "b", "c");
        EXPECT_FALSE(p.CommitBatch());
    }
    EXPECT_TRUE(std::filesystem::is_directory(t.path("DIA.INI")));
}

// Every loaded value as "name=value" words.
std::string Describe(const Settings& s, const Counters& c) {
    auto n = [](int32_t v) { return std::to_string(v); };
    std::string groups;
    for (bool g : s.backupGroups)
        groups += n(g);
    return " dias=" + n(c.activeSlides) + " unreadable=" + n(s.slideCountWasUnreadable) +
           " drucker=" + n(s.printer) + " tip=" + n(s.tipNumber) + " bmp=" + s.pictureName +
           " fenster=" + n(s.windowTop) + "," + n(s.windowLeft) +
           " kasten=" + n(s.magazinesPerBox) + " magazin=" + n(s.slidesPerMagazine) + "/" +
           n(s.slidesPerMagazineShown) + " sound=" + n(s.sound) +
           " vorber=" + n(s.precomputePosition) + " editor=" + s.editor +
           " auto=" + n(s.autoBackup) + " groups=" + groups + " ";
}

TEST(LoadSettingsTest, ValuesDefaultsAndConversionRules) {
    const std::string defaults = "dias=-1 unreadable=0 drucker=0 tip=1 bmp=dia.bmp fenster=0,0 "
                                 "kasten=2 magazin=50/50 sound=1 vorber=1 editor=notepad.exe "
                                 "auto=0 groups=00000";
    // ini (nullptr: no DIA.INI; without a leading "[" in [LUMORETTA]), words that must be loaded
    const std::pair<const char*, std::string> cases[] = {
        {nullptr, defaults},
        {"[LUMORETTA]\r\nDIAS=387\r\nDRUCKER=1\r\nTIP=4\r\nBMPBILD=bilder\\x.bmp\r\n"
         "FENSTER=120,35\r\nKASTEN=4\r\nMAGAZIN=36\r\nSOUND=0\r\nVORBERECHNUNG=0\r\n"
         "EDITOR=kate\r\n[BACKUP]\r\nAUTO=1\r\nDIASDDB=1\r\nKEYSDDB=0\r\nKOPFDDB=1\r\n"
         "MEMODDB=2\r\nBMPSDDB=1\r\n",
         "dias=387 unreadable=0 drucker=1 tip=4 bmp=bilder\\x.bmp fenster=120,35 kasten=4 "
         "magazin=36/36 sound=0 vorber=0 editor=kate auto=1 groups=10101"},
        {"DIAS=?", "dias=-1 unreadable=0"},
        {"DIAS=0", "dias=0 unreadable=0"},
        // Not a number: unknown, so the archive is analysed; the rest still loads.
        {"DIAS=abc\nKASTEN=5", "dias=-1 unreadable=1 kasten=5"},
        {"KASTEN=7x", "kasten=7"}, // the number rule of the profile functions
        {"SOUND=2\nVORBERECHNUNG=-1\nDRUCKER=2", "sound=1 vorber=1 drucker=0"},
        {"MAGAZIN=255", "magazin=50/255"},
        {"FENSTER=120", "fenster=120,0"},
    };
    for (const auto& [ini, words] : cases) {
        TempArchive t;
        if (ini)
            t.write("DIA.INI", std::string(ini[0] == '[' ? "" : "[LUMORETTA]\n") + ini + "\n");
        Settings s{true, 9, "x.bmp", 9, 9, 9, false, false, "vi", 7, 7, true};
        s.backupGroups.fill(true);
        s.slideCountWasUnreadable = true;
        Counters counters;
        counters.activeSlides = 99;
        LoadSettings(Archive(t.dir()), s, counters);
        std::istringstream in(words);
        for (std::string w; in >> w;)
            EXPECT_NE(Describe(s, counters).find(" " + w + " "), std::string::npos)
                << (ini ? ini : "no file") << ": " << w << " in" << Describe(s, counters);
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
    EXPECT_FALSE(SaveSettings(Archive(t.path("fehlt")), s, c)); // no archive directory
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
    EXPECT_FALSE(WriteBoxLabel(a, 0, "a", "b"));
    t.write("KASTEN.INI", "[K003]\r\nT1=Urlaub K\xfcste\r\n[k042]\r\nT2=" + std::string(300, 'z') +
                              "\r\n[K000]\r\nT1=null\r\n[K256]\r\nT1=zu gross\r\n");
    // Numbers outside 1..255 leave the texts alone.
    const std::pair<int, std::string> cases[] = {{3, "Urlaub K\xfcste|ThematikText"},
                                                 {42, "MagazinText|" + std::string(255, 'z')},
                                                 {255, "MagazinText|ThematikText"},
                                                 {0, "alt|alt"},
                                                 {256, "alt|alt"}};
    for (const auto& [box, texts] : cases)
        EXPECT_EQ(label(box), texts) << box;
}

} // namespace
} // namespace lumo::test
