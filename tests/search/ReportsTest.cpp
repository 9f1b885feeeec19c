// Report layout pieces, the list reports against files typed from their layout, and the
// behaviour of the report writers when writing fails.
#include "search/Reports.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumo {
namespace {

using test::KeywordBytes;
using test::TempArchive;

const ReportClock kFixedClock = [] { return ReportStamp{"05.12.98", "14:30:00"}; };

std::string Expected(const std::string& caseName, const std::string& file) {
    std::ifstream in(std::string(LUMO_TEST_DATA) + "/reports/" + caseName + "/" + file,
                     std::ios::binary);
    EXPECT_TRUE(in.good()) << caseName << "/" << file;
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(ReportPieces, PercentHasTwoDecimalsAndAPoint) {
    EXPECT_EQ(Percent(3, 7), "42.86");
    EXPECT_EQ(Percent(7, 7), "100.00");
    EXPECT_EQ(Percent(0, 7), "0.00");
    EXPECT_EQ(Percent(1, 3), "33.33");
    EXPECT_EQ(Percent(2, 3), "66.67");
    EXPECT_EQ(Percent(1, 99999), "0.00");
    EXPECT_EQ(Percent(1, 800), "0.13"); // 0.125: halves round up
    EXPECT_EQ(Percent(1, 1600), "0.06");
    EXPECT_EQ(Percent(1, 8), "12.50");
    EXPECT_EQ(Percent(0, 0), "0.00"); // never divides by zero
}

TEST(ReportPieces, StatisticsMessageText) {
    EXPECT_EQ(StatisticsMessage(7, 3),
              "Ihr Archiv ist komplett durchsucht worden.\rEs wurden 7 Datens\xe4"
              "tze ausgewertet.\rDavon entsprachen 3 Dias den Vorgaben.\rDies entspricht 42.86 "
              "% Ihres Archivs.");
}

TEST(ReportPieces, HeaderDateWidths) {
    std::string eight = ReportHeader({"05.12.98", "09:05:01"});
    EXPECT_NE(eight.find("\r\n* Datum: 05.12.98  !                             !"),
              std::string::npos);
    EXPECT_NE(eight.find("\r\n* Zeit:  09:05:01  !"), std::string::npos);
    // Every line of the head is 69 characters with these widths.
    std::istringstream in(eight);
    for (std::string line; std::getline(in, line);)
        EXPECT_EQ(line.size(), 70u) << line; // 69 + CR
    // Other widths are written as they come.
    std::string ten = ReportHeader({"05.12.1998", "09:05:01"});
    EXPECT_NE(ten.find("* Datum: 05.12.1998!"), std::string::npos);
}

TEST(ReportPieces, CriterionLinesFitOrGrow) {
    EXPECT_EQ(CriterionLine("Rom"),
              "*       ===> Rom                                                    *\r\n");
    std::string c54(54, 'x');
    EXPECT_EQ(CriterionLine(c54), "*       ===> " + c54 + " *\r\n");
    std::string c60(60, 'y');
    // Too long for the box: kept whole, the line grows.
    EXPECT_EQ(CriterionLine(c60), "*       ===> " + c60 + " *\r\n");
}

TEST(ReportPieces, ResultLineColumns) {
    ResultRow row{"7", "42", "A05", " Urlaub"};
    std::string expected = "*        7     !      42   ! A05 Urlaub";
    expected += std::string(68 - expected.size(), ' ') + "*\r\n";
    EXPECT_EQ(ResultLine(row), expected);
    EXPECT_EQ(ResultLine(row)[15], '!');
    EXPECT_EQ(ResultLine(row)[27], '!');
}

TEST(ReportPieces, PageSkipsBlankAndNoResultRows) {
    ResultPage page;
    page.rows[1] = {"1", "2", "A01", " zwei"};
    page.rows[3] = {"1", "4", "A02", " vier"};
    page.rows[5].text = kNoResultMarker;
    std::string lines = ResultPageLines(page);
    EXPECT_EQ(lines, ResultLine(page.rows[1]) + ResultLine(page.rows[3]));
}

TEST(ReportPieces, KeyNamesAreNormalisedInTheSelection) {
    KeySelection keys;
    keys.entries[0].name = "Natur";
    keys.entries[1].name = std::string(18, ' ');
    keys.entries[2].name = "Exakt achtzehn Zei";
    NormaliseKeyNames(keys);
    EXPECT_EQ(keys.entries[0].name, "Natur             ");
    EXPECT_EQ(keys.entries[1].name, "nicht belegt      ");
    EXPECT_EQ(keys.entries[2].name, "Exakt achtzehn Zei");
    EXPECT_EQ(keys.entries[7].name, "nicht belegt      ");
}

TEST(ReportPieces, MemoLinesSplitLikeATextList) {
    EXPECT_EQ(SplitMemoLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitMemoLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitMemoLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitMemoLines("").empty());
}

// --- list reports ---

TEST(ListReports, BoxListWithoutLabels) {
    TempArchive a;
    Archive archive(a.dir());
    ASSERT_FALSE(WriteBoxList(archive, kFixedClock));
    EXPECT_EQ(a.read("kasten.txt"), Expected("kasten-empty", "expected-kasten.txt"));
}

TEST(ListReports, BoxListLeavesOutDefaultThemesAndLetsLongLinesGrow) {
    TempArchive a;
    a.write("KASTEN.INI", "[K001]\r\nT1=Dias 1-100\r\nT2=Italien 1998\r\n"
                          "[K007]\r\nT1=Nur ein Magazintext\r\nT2=ThematikText\r\n"
                          "[K012]\r\nT1=\r\nT2=Gr\xfc\xdf"
                          "e aus Wien\r\n"
                          "[K200]\r\nT1=Magazine mit einer sehr langen Bezeichnung\r\n"
                          "T2=Thema \xdc"
                          "berl\xe4nge f\xfcr den Kasten zweihundert\r\n"
                          "[K050]\r\nT1=Ohne Thema\r\n");
    Archive archive(a.dir());
    ASSERT_FALSE(WriteBoxList(archive, kFixedClock));
    EXPECT_EQ(a.read("kasten.txt"), Expected("kasten-labelled", "expected-kasten.txt"));
}

void WriteExampleKeywords(const TempArchive& a) {
    a.write("keyword1", KeywordBytes({{"Natur", "N1"}, {"Urlaub", "U1"}, {"Zoo", "Z1"}}));
    a.write("keyword2", KeywordBytes({{"Blumen", "N1B1"}, {"Tiere", "N1T1"}, {"Italien", "U1I1"}}));
    a.write("keyword3",
            KeywordBytes({{"Rosen", "N1B1R1"}, {"Tulpen", "N1B1T1"}, {"Rom", "U1I1R1"}}));
}

TEST(ListReports, KeyListTreeOfTheExample) {
    TempArchive a;
    WriteExampleKeywords(a);
    Archive archive(a.dir());
    int emptyLevel = -1;
    ASSERT_FALSE(WriteKeyList(archive, kFixedClock, &emptyLevel));
    EXPECT_EQ(emptyLevel, 0);
    EXPECT_EQ(a.read("keyliste.txt"), Expected("keyliste-example", "expected-keyliste.txt"));
    // The copies stay in the archive.
    for (int level = 1; level <= 3; ++level) {
        std::string name = "keyword" + std::to_string(level);
        EXPECT_EQ(a.read(name + ".prt"), a.read(name));
    }
}

TEST(ListReports, KeyListOneLevelOneKeyWithoutChildren) {
    TempArchive a;
    a.write("keyword1", KeywordBytes({{"Natur", "N1"}}));
    a.write("keyword2", "*");
    a.write("keyword3", "*");
    Archive archive(a.dir());
    ASSERT_FALSE(WriteKeyList(archive, kFixedClock));
    EXPECT_EQ(a.read("keyliste.txt"), Expected("keyliste-single", "expected-keyliste.txt"));
}

TEST(ListReports, KeyListRefusedWhenAKeywordFileIsEmpty) {
    TempArchive a;
    WriteExampleKeywords(a);
    a.write("keyword2", "");
    a.write("keyliste.txt", "old");
    Archive archive(a.dir());
    EXPECT_EQ(FirstEmptyKeywordFile(archive), 2);
    int emptyLevel = 0;
    EXPECT_FALSE(WriteKeyList(archive, kFixedClock, &emptyLevel));
    EXPECT_EQ(emptyLevel, 2);
    EXPECT_EQ(a.read("keyliste.txt"), "old");
    EXPECT_FALSE(a.exists("keyword1.prt"));
}

TEST(ListReports, MemoListWithTwoBlocks) {
    TempArchive a;
    a.write("memo/3.txt", "Erste Zeile\r\nZweite Zeile mit Umlaut \xe4\r\n");
    a.write("memo/12.txt", "Nur eine Zeile");
    Archive archive(a.dir());
    // Piece by piece, as the memo editor writes it ...
    ASSERT_FALSE(WriteMemoListHeader(archive, kFixedClock));
    ASSERT_FALSE(AppendMemoBlock(archive, 3, {"Erste Zeile", "Zweite Zeile mit Umlaut \xe4"}));
    ASSERT_FALSE(AppendMemoBlock(archive, 12, {"Nur eine Zeile"}));
    std::string expected = Expected("memo-two", "expected-memo.txt");
    EXPECT_EQ(a.read("memo.txt"), expected);
    // ... and in one go for the found slides.
    a.write("memo.txt", "");
    ASSERT_FALSE(WriteMemoList(archive, {3, 12}, kFixedClock));
    EXPECT_EQ(a.read("memo.txt"), expected);
}

TEST(ListReports, MemoListWithAMissingMemoLeavesTheOldFile) {
    TempArchive a;
    a.write("memo/3.txt", "x");
    a.write("memo.txt", "old");
    Archive archive(a.dir());
    Problem p = WriteMemoList(archive, {3, 4}, kFixedClock);
    EXPECT_EQ(p.kind, ProblemKind::Io);
    EXPECT_EQ(p.sysError, 2);
    EXPECT_EQ(a.read("memo.txt"), "old");
}

// --- failing writes ---

TEST(ReportWrites, HeadThatCannotBeWrittenIsReported) {
    TempArchive a;
    std::filesystem::create_directories(a.path("dialiste.txt")); // a directory in the way
    Archive archive(a.dir());
    EXPECT_EQ(WriteBoxSearchHeader(archive, kFixedClock).kind, ProblemKind::Io);
}

} // namespace
} // namespace lumo
