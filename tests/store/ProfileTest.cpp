#include "store/Profile.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

using namespace lumo;
using lumo::test::TempArchive;

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
        {"[A]\r\nk=v\r\n", {}, "[A]\r\nk=v\r\n"},
        // Sections and keys match without regard to case; the spelling in the file stays.
        {"[lumoretta]\r\nDias=12\r\nKASTEN = 2 \r\n[Backup]\r\nAUTO=1\r\n",
         {{"LUMORETTA", "DIAS", "13"}, {"BACKUP", "auto", "0"}},
         "[lumoretta]\r\nDias=13\r\nKASTEN = 2 \r\n[Backup]\r\nAUTO=0\r\n"},
        // A new key goes after the last key line of its section (before comment and blank
        // line), into a section without keys right after its header; a new section at the end.
        {"[A]\r\nx=1\r\n; Notiz\r\n\r\n[B]\r\n[C]\r\nz=3\r\n",
         {{"A", "y", "2"}, {"B", "q", "9"}, {"NEU", "k", "v"}},
         "[A]\r\nx=1\r\ny=2\r\n; Notiz\r\n\r\n[B]\r\nq=9\r\n[C]\r\nz=3\r\n[NEU]\r\nk=v\r\n"},
        {"", {{"LUMORETTA", "DIAS", "5"}}, "[LUMORETTA]\r\nDIAS=5\r\n"},
        // Duplicate keys and sections: the first one is used, the others kept.
        {"[S]\nk=1\nk=2\n[T]\nk=7\n[s]\nk=3\nneu=4\n",
         {{"S", "K", "5"}},
         "[S]\r\nk=5\r\nk=2\r\n[T]\r\nk=7\r\n[s]\r\nk=3\r\nneu=4\r\n"},
        // A value stays on one line.
        {"", {{"S", "k", "eins\r\n[BOESE]\r\nx=1"}}, "[S]\r\nk=eins\r\n"},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::Parse(c.in);
        for (const auto& [section, key, value] : c.sets)
            doc.set(section, key, value);
        EXPECT_EQ(doc.Serialize(), c.out) << c.in;
    }
    IniDocument doc = IniDocument::Parse("[lumoretta]\nKASTEN = 2 \n[S]\nk=1\nk=2\n[s]\nneu=4\n");
    EXPECT_EQ(doc.get("Lumoretta", "kasten"), "2"); // blanks around key and value dropped
    EXPECT_EQ(doc.get("S", "K"), "1");
    EXPECT_EQ(doc.get("S", "neu"), std::nullopt);       // only the first [S] counts
    EXPECT_EQ(doc.get("LUMORETTA", "k"), std::nullopt); // belongs to another section
}

TEST(ProfileValueTest, IntegerAndListRules) {
    const std::pair<const char*, int32_t> numbers[] = {
        {"", 2},
        {"abc", 0},
        {"7x", 7},
        {"x7", 7},
        {"  -12 ", -12},
        {"+5", 5},
        {"5-3", 5},
        {"--5", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (auto [text, number] : numbers)
        EXPECT_EQ(ProfileInteger(text, 2), number) << text;

    using V = std::vector<std::string>;
    EXPECT_EQ(SplitListValue("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitListValue("a,b,"), (V{"a", "b"}));
    EXPECT_EQ(SplitListValue(""), V{});
    EXPECT_EQ(SplitListValue(",,"), (V{"", ""}));
    // Elements are cut to 255 characters, the whole value to 32764.
    EXPECT_EQ(SplitListValue(std::string(300, 'x') + ",y"), (V{std::string(255, 'x'), "y"}));
    EXPECT_EQ(SplitListValue(std::string(32763, ',') + ",,z").size(), 32764u);
}

TEST(ProfileStoreTest, ReadsAndWritesValuesAndListElements) {
    TempArchive t;
    ProfileStore p;
    p.SetIniFile(t.path("DIA.INI"));
    EXPECT_EQ(p.ReadInteger("LUMORETTA", "KASTEN", 2), 2); // no file yet
    ASSERT_TRUE(p.WriteString("LUMORETTA", "EDITOR", "kate"));
    EXPECT_EQ(p.ReadString("lumoretta", "editor", "", 3), "kat"); // cut to the buffer
    // Element 1 of a missing key: an empty element 0, then the value.
    ASSERT_TRUE(p.WriteListString("KOPFDATA", "3", 1, "Kodachrome"));
    EXPECT_EQ(p.ReadListString("KOPFDATA", "3", 0, "leer", 15), "");
    EXPECT_EQ(p.ReadListString("KOPFDATA", "3", 1, "leer", 5), "Kodac");
    EXPECT_EQ(p.ReadListString("KOPFDATA", "3", 2, "leer", 15), "leer");
    ASSERT_TRUE(p.WriteListInteger("KOPFDATA", "3", 0, -4)); // the others are kept
    EXPECT_EQ(p.ReadListInteger("KOPFDATA", "3", 0, 0), -4);
    EXPECT_EQ(t.read("DIA.INI"), "[LUMORETTA]\r\nEDITOR=kate\r\n[KOPFDATA]\r\n3=-4,Kodachrome\r\n");
}

TEST(ProfileStoreTest, BatchWritesTheFileOnce) {
    TempArchive t;
    t.write("KASTEN.INI", "; Etiketten\r\n[K001]\r\nT1=alt\r\n");
    ProfileStore p;
    p.SetIniFile(t.path("KASTEN.INI"));
    p.BeginBatch();
    EXPECT_TRUE(p.WriteString("K001", "T1", "neu"));
    EXPECT_TRUE(p.WriteString("K001", "T2", "Thema"));
    EXPECT_EQ(p.ReadString("K001", "T1", "", 255), "neu");                  // reads see the batch
    EXPECT_EQ(t.read("KASTEN.INI"), "; Etiketten\r\n[K001]\r\nT1=alt\r\n"); // not yet written
    ASSERT_TRUE(p.CommitBatch());
    EXPECT_EQ(t.read("KASTEN.INI"), "; Etiketten\r\n[K001]\r\nT1=neu\r\nT2=Thema\r\n");
}

TEST(ProfileStoreTest, NoFileNameOrAnUnreadableFileReadsDefaultsAndFailsWrites) {
    // No file name at all; a directory in the place of the file, which must not be replaced.
    TempArchive t;
    std::filesystem::create_directory(t.path("DIA.INI"));
    for (const auto& file : {std::filesystem::path(), t.path("DIA.INI")}) {
        ProfileStore p;
        p.SetIniFile(file);
        EXPECT_EQ(p.ReadString("A", "b", "def", 255), "def");
        EXPECT_EQ(p.ReadInteger("A", "b", 42), 42);
        EXPECT_FALSE(p.WriteString("A", "b", "c"));
        EXPECT_FALSE(p.WriteListString("A", "b", 0, "c"));
        p.BeginBatch();
        p.WriteString("A", "b", "c");
        EXPECT_FALSE(p.CommitBatch());
    }
    EXPECT_TRUE(std::filesystem::is_directory(t.path("DIA.INI")));
}
