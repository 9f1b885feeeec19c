#include "store/Profile.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

using namespace lumo;
using lumo::test::TempArchive;

TEST(IniDocumentTest, KeepsEveryLineAndWritesCrLf) {
    // LF-only input with a comment, junk, an unknown section and a last line without LF.
    std::string in = "; Kommentar\n[LUMORETTA]\nDIAS=12\nMuell ohne Gleich\n\n[Fremd]\nX=1\nY=2";
    IniDocument doc = IniDocument::Parse(in);
    EXPECT_EQ(doc.Serialize(), "; Kommentar\r\n[LUMORETTA]\r\nDIAS=12\r\nMuell ohne Gleich\r\n"
                               "\r\n[Fremd]\r\nX=1\r\nY=2\r\n");
    // CR LF input comes back unchanged.
    std::string crlf = "[A]\r\nk=v\r\n";
    EXPECT_EQ(IniDocument::Parse(crlf).Serialize(), crlf);
}

TEST(IniDocumentTest, MatchesWithoutRegardToCaseAndReplacesInPlace) {
    IniDocument doc =
        IniDocument::Parse("[lumoretta]\r\nDias=12\r\nKASTEN = 2 \r\n[Backup]\r\nAUTO=1\r\n");
    EXPECT_EQ(doc.get("LUMORETTA", "DIAS"), "12");
    EXPECT_EQ(doc.get("Lumoretta", "kasten"), "2");        // blanks around key and value dropped
    EXPECT_EQ(doc.get("LUMORETTA", "AUTO"), std::nullopt); // belongs to another section
    doc.set("LUMORETTA", "DIAS", "13");
    doc.set("BACKUP", "auto", "0");
    EXPECT_EQ(doc.Serialize(), "[lumoretta]\r\nDias=13\r\nKASTEN = 2 \r\n[Backup]\r\nAUTO=0\r\n");
}

TEST(IniDocumentTest, CreatesMissingKeysAndSections) {
    IniDocument doc = IniDocument::Parse("[A]\r\nx=1\r\n; Notiz\r\n\r\n[B]\r\n[C]\r\nz=3\r\n");
    doc.set("A", "y", "2");   // after the last key line of [A], before comment and blank
    doc.set("B", "q", "9");   // section without keys: right after its header
    doc.set("NEU", "k", "v"); // new section at the end
    EXPECT_EQ(doc.Serialize(), "[A]\r\nx=1\r\ny=2\r\n; Notiz\r\n\r\n[B]\r\nq=9\r\n[C]\r\nz=3\r\n"
                               "[NEU]\r\nk=v\r\n");
    IniDocument empty;
    empty.set("LUMORETTA", "DIAS", "5");
    EXPECT_EQ(empty.Serialize(), "[LUMORETTA]\r\nDIAS=5\r\n");
}

TEST(IniDocumentTest, DuplicateKeysAndSectionsUseTheFirst) {
    IniDocument doc = IniDocument::Parse("[S]\nk=1\nk=2\n[T]\nk=7\n[s]\nk=3\nneu=4\n");
    EXPECT_EQ(doc.get("S", "k"), "1");
    EXPECT_EQ(doc.get("S", "neu"), std::nullopt); // only the first [S] counts
    doc.set("S", "K", "5");
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk=5\r\nk=2\r\n[T]\r\nk=7\r\n[s]\r\nk=3\r\nneu=4\r\n");
}

TEST(IniDocumentTest, ValuesStayOnOneLine) {
    IniDocument doc;
    doc.set("S", "k", "eins\r\n[BOESE]\r\nx=1");
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk=eins\r\n");
    EXPECT_EQ(doc.get("BOESE", "x"), std::nullopt);
}

TEST(ProfileIntegerTest, ConversionRule) {
    EXPECT_EQ(ProfileInteger("", 2), 2);
    EXPECT_EQ(ProfileInteger("abc", 2), 0);
    EXPECT_EQ(ProfileInteger("7x", 2), 7);
    EXPECT_EQ(ProfileInteger("x7", 2), 7);
    EXPECT_EQ(ProfileInteger("  -12 ", 2), -12);
    EXPECT_EQ(ProfileInteger("+5", 2), 5);
    EXPECT_EQ(ProfileInteger("5-3", 2), 5);
    EXPECT_EQ(ProfileInteger("--5", 2), 0);
    EXPECT_EQ(ProfileInteger("99999999999", 2), 2147483647);
    EXPECT_EQ(ProfileInteger("-99999999999", 2), -2147483647 - 1);
}

TEST(SplitListValueTest, SplitRule) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitListValue("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitListValue("a,b,"), (V{"a", "b"}));
    EXPECT_EQ(SplitListValue(""), V{});
    EXPECT_EQ(SplitListValue(",5"), (V{"", "5"}));
    EXPECT_EQ(SplitListValue(",,"), (V{"", ""}));
    auto longElement = SplitListValue(std::string(300, 'x') + ",y");
    ASSERT_EQ(longElement.size(), 2u);
    EXPECT_EQ(longElement[0].size(), 255u);
    EXPECT_EQ(longElement[1], "y");
    // The whole value is read with at most 32764 characters.
    auto overlong = SplitListValue(std::string(32763, ',') + ",,z");
    EXPECT_EQ(overlong.size(), 32764u);
}

TEST(ProfileStoreTest, ReadsWritesAndCreatesTheFile) {
    TempArchive t;
    ProfileStore p;
    p.SetIniFile(t.path("DIA.INI"));
    EXPECT_EQ(p.ReadString("LUMORETTA", "EDITOR", "notepad.exe", 255), "notepad.exe");
    EXPECT_EQ(p.ReadInteger("LUMORETTA", "KASTEN", 2), 2);
    ASSERT_TRUE(p.WriteString("LUMORETTA", "EDITOR", "kate"));
    ASSERT_TRUE(p.WriteString("LUMORETTA", "KASTEN", "7x"));
    EXPECT_EQ(t.read("DIA.INI"), "[LUMORETTA]\r\nEDITOR=kate\r\nKASTEN=7x\r\n");
    EXPECT_EQ(p.ReadInteger("lumoretta", "kasten", 2), 7);
    EXPECT_EQ(p.ReadString("LUMORETTA", "EDITOR", "", 3), "kat"); // cut to the buffer
}

TEST(ProfileStoreTest, ListValues) {
    TempArchive t;
    t.write("DIA.INI", "[LUMORETTA]\r\nFENSTER=120\r\n");
    ProfileStore p;
    p.SetIniFile(t.path("DIA.INI"));
    EXPECT_EQ(p.ReadListInteger("LUMORETTA", "FENSTER", 0, 0), 120);
    EXPECT_EQ(p.ReadListInteger("LUMORETTA", "FENSTER", 1, 0), 0);
    EXPECT_EQ(p.ReadListString("LUMORETTA", "FENSTER", 1, "leer", 15), "leer");
    ASSERT_TRUE(p.WriteListInteger("LUMORETTA", "FENSTER", 1, 0));
    EXPECT_EQ(t.read("DIA.INI"), "[LUMORETTA]\r\nFENSTER=120,0\r\n");

    // Element 1 of a missing key: an empty element 0, then the value.
    ASSERT_TRUE(p.WriteListString("KOPFDATA", "3", 1, "Kodachrome"));
    EXPECT_EQ(p.ReadString("KOPFDATA", "3", "", 255), ",Kodachrome");
    EXPECT_EQ(p.ReadListString("KOPFDATA", "3", 0, "leer", 15), "");
    EXPECT_EQ(p.ReadListString("KOPFDATA", "3", 1, "leer", 5), "Kodac");
    // Replacing one element keeps the others.
    ASSERT_TRUE(p.WriteListString("KOPFDATA", "3", 0, "Agfa"));
    EXPECT_EQ(p.ReadString("KOPFDATA", "3", "", 255), "Agfa,Kodachrome");
}

TEST(ProfileStoreTest, EmptyFileNameReadsDefaultsAndWritesFail) {
    ProfileStore p;
    EXPECT_EQ(p.ReadString("A", "b", "def", 255), "def");
    EXPECT_EQ(p.ReadInteger("A", "b", 42), 42);
    EXPECT_FALSE(p.WriteString("A", "b", "c"));
    EXPECT_FALSE(p.WriteListString("A", "b", 0, "c"));
    p.BeginBatch();
    p.WriteString("A", "b", "c");
    EXPECT_FALSE(p.CommitBatch());
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

TEST(ProfileStoreTest, UnreadableFileIsNeverReplaced) {
    // A directory in the place of the file cannot be read: writing must not replace it.
    TempArchive t;
    std::filesystem::create_directory(t.path("DIA.INI"));
    ProfileStore p;
    p.SetIniFile(t.path("DIA.INI"));
    EXPECT_FALSE(p.WriteString("A", "b", "c"));
    p.BeginBatch();
    p.WriteString("A", "b", "c");
    EXPECT_FALSE(p.CommitBatch());
    EXPECT_TRUE(std::filesystem::is_directory(t.path("DIA.INI")));
}
