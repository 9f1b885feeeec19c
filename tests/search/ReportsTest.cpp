// Report layout pieces, the list reports against files typed from their layout, and the
// report writers when writing fails.
#include "search/Reports.h"
#include "TestArchive.h"
#include "store/FileUtil.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumo {
namespace {

using test::KeywordBytes;
using test::TempArchive;

const ReportClock kFixedClock = [] { return ReportStamp{"05.12.98", "14:30:00"}; };

std::string Expected(const std::string& caseName, const std::string& file) {
    return ReadWholeFile(std::string(LUMO_TEST_DATA) + "/reports/" + caseName + "/" + file)
        .value_or("(missing " + caseName + ")");
}

// Edge cases beyond the whole reports below.
TEST(ReportPieces, PercentHeadCriterionPageAndKeyNames) {
    EXPECT_EQ(Percent(2, 3), "66.67");
    EXPECT_EQ(Percent(1, 800), "0.13"); // 0.125: halves round up
    EXPECT_EQ(Percent(1, 1600), "0.06");
    EXPECT_EQ(Percent(7, 7), "100.00");
    EXPECT_EQ(Percent(0, 0), "0.00"); // never divides by zero
    EXPECT_NE(ReportHeader({"05.12.1998", "09:05:01"}).find("* Datum: 05.12.1998!"),
              std::string::npos); // other widths are written as they come
    for (size_t len : {54, 60})   // too long for the box: kept whole, the line grows
        EXPECT_EQ(CriterionLine(std::string(len, 'x')),
                  "*       ===> " + std::string(len, 'x') + " *\r\n");
    ResultPage page;
    page.rows[1] = {"7", "42", "A05", " Urlaub"};
    page.rows[3] = {"1", "4", "A02", " vier"};
    page.rows[5].text = kNoResultMarker; // blank and no-result rows are skipped
    EXPECT_EQ(ResultPageLines(page), ResultLine(page.rows[1]) + ResultLine(page.rows[3]));
    KeySelection keys;
    keys.entries[0].name = std::string(18, ' ');
    keys.entries[1].name = "Exakt achtzehn Zei";
    NormaliseKeyNames(keys);
    EXPECT_EQ(keys.entries[0].name, "nicht belegt      ");
    EXPECT_EQ(keys.entries[1].name, "Exakt achtzehn Zei");
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitMemoLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitMemoLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_TRUE(SplitMemoLines("").empty());
}

TEST(ListReports, BoxListsLeaveOutDefaultThemesAndLetLongLinesGrow) {
    TempArchive a;
    Archive archive(a.dir());
    ASSERT_FALSE(WriteBoxList(archive, kFixedClock));
    EXPECT_EQ(a.read("kasten.txt"), Expected("kasten-empty", "expected-kasten.txt"));
    a.write("KASTEN.INI", "[K001]\r\nT1=Dias 1-100\r\nT2=Italien 1998\r\n"
                          "[K007]\r\nT1=Nur ein Magazintext\r\nT2=ThematikText\r\n"
                          "[K012]\r\nT1=\r\nT2=Gr\xfc\xdf"
                          "e aus Wien\r\n"
                          "[K200]\r\nT1=Magazine mit einer sehr langen Bezeichnung\r\n"
                          "T2=Thema \xdc"
                          "berl\xe4nge f\xfcr den Kasten zweihundert\r\n"
                          "[K050]\r\nT1=Ohne Thema\r\n");
    Archive labelled(a.dir());
    ASSERT_FALSE(WriteBoxList(labelled, kFixedClock));
    EXPECT_EQ(a.read("kasten.txt"), Expected("kasten-labelled", "expected-kasten.txt"));
}

TEST(ListReports, KeyListsAndTheirCopies) {
    TempArchive a;
    a.write("keyword1", KeywordBytes({{"Natur", "N1"}, {"Urlaub", "U1"}, {"Zoo", "Z1"}}));
    a.write("keyword2", KeywordBytes({{"Blumen", "N1B1"}, {"Tiere", "N1T1"}, {"Italien", "U1I1"}}));
    a.write("keyword3",
            KeywordBytes({{"Rosen", "N1B1R1"}, {"Tulpen", "N1B1T1"}, {"Rom", "U1I1R1"}}));
    Archive archive(a.dir());
    int emptyLevel = -1;
    ASSERT_FALSE(WriteKeyList(archive, kFixedClock, &emptyLevel));
    EXPECT_EQ(emptyLevel, 0);
    EXPECT_EQ(a.read("keyliste.txt"), Expected("keyliste-example", "expected-keyliste.txt"));
    for (const char* name : {"keyword1", "keyword2", "keyword3"}) // the copies stay
        EXPECT_EQ(a.read(std::string(name) + ".prt"), a.read(name)) << name;

    // An empty keyword file refuses the list and leaves the old one.
    a.write("keyword2", "");
    std::filesystem::remove(a.path("keyword1.prt"));
    EXPECT_EQ(FirstEmptyKeywordFile(archive), 2);
    EXPECT_FALSE(WriteKeyList(archive, kFixedClock, &emptyLevel));
    EXPECT_EQ(emptyLevel, 2);
    EXPECT_EQ(a.read("keyliste.txt"), Expected("keyliste-example", "expected-keyliste.txt"));
    EXPECT_FALSE(a.exists("keyword1.prt"));

    // One level, one key without children.
    a.write("keyword1", KeywordBytes({{"Natur", "N1"}}));
    a.write("keyword2", "*");
    a.write("keyword3", "*");
    ASSERT_FALSE(WriteKeyList(archive, kFixedClock));
    EXPECT_EQ(a.read("keyliste.txt"), Expected("keyliste-single", "expected-keyliste.txt"));
}

TEST(ListReports, MemoListPieceByPieceAndInOneGo) {
    TempArchive a;
    a.write("memo/3.txt", "Erste Zeile\r\nZweite Zeile mit Umlaut \xe4\r\n");
    a.write("memo/12.txt", "Nur eine Zeile");
    Archive archive(a.dir());
    // As the memo editor writes it ...
    ASSERT_FALSE(WriteMemoListHeader(archive, kFixedClock));
    ASSERT_FALSE(AppendMemoBlock(archive, 3, {"Erste Zeile", "Zweite Zeile mit Umlaut \xe4"}));
    ASSERT_FALSE(AppendMemoBlock(archive, 12, {"Nur eine Zeile"}));
    const std::string expected = Expected("memo-two", "expected-memo.txt");
    EXPECT_EQ(a.read("memo.txt"), expected);
    // ... and in one go for the found slides.
    a.write("memo.txt", "");
    ASSERT_FALSE(WriteMemoList(archive, {3, 12}, kFixedClock));
    EXPECT_EQ(a.read("memo.txt"), expected);
    // A missing memo leaves the old file.
    Problem p = WriteMemoList(archive, {3, 4}, kFixedClock);
    EXPECT_EQ(p.kind, ProblemKind::Io);
    EXPECT_EQ(p.sysError, 2);
    EXPECT_EQ(a.read("memo.txt"), expected);
}

TEST(ReportWrites, HeadThatCannotBeWrittenIsReported) {
    TempArchive a;
    std::filesystem::create_directories(a.path("dialiste.txt")); // a directory in the way
    Archive archive(a.dir());
    EXPECT_EQ(WriteBoxSearchHeader(archive, kFixedClock).kind, ProblemKind::Io);
}

} // namespace
} // namespace lumo
