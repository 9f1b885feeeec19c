#include "store/Keywords.h"
#include "TestArchive.h"
#include "store/FileUtil.h"

#include <gtest/gtest.h>

using namespace lumo;
using lumo::test::KeywordBytes;
using lumo::test::TempArchive;

TEST(ParseKeywordFileTest, WalksEntriesUpToTheStar) {
    std::string data = "Natur\nN1\nReise\nR1\n*";
    auto e = ParseKeywordFile(data);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].text, "Natur");
    EXPECT_EQ(e[0].code, "N1");
    EXPECT_EQ(e[0].offset, 0u);
    EXPECT_EQ(e[1].text, "Reise");
    EXPECT_EQ(e[1].code, "R1");
    EXPECT_EQ(e[1].offset, 9u);
    // Anything after the star is not looked at.
    EXPECT_EQ(ParseKeywordFile("Natur\nN1\n*Reise\nR1\n").size(), 1u);
}

TEST(ParseKeywordFileTest, DamagedFiles) {
    EXPECT_TRUE(ParseKeywordFile("").empty());
    EXPECT_TRUE(ParseKeywordFile("*").empty());

    // No final star: the walk ends with the data.
    auto noStar = ParseKeywordFile("Natur\nN1\nReise\nR1\n");
    ASSERT_EQ(noStar.size(), 2u);
    EXPECT_EQ(noStar[1].code, "R1");

    // A CR before the LF stays part of text and code.
    auto crlf = ParseKeywordFile("Natur\r\nN1\r\n*");
    ASSERT_EQ(crlf.size(), 1u);
    EXPECT_EQ(crlf[0].text, "Natur\r");
    EXPECT_EQ(crlf[0].code, "N1\r");

    // Overlong texts are kept whole here; the readers cut them.
    auto longText = ParseKeywordFile("Ein sehr langer Schluesseltext\nE1\n*");
    ASSERT_EQ(longText.size(), 1u);
    EXPECT_EQ(longText[0].text, "Ein sehr langer Schluesseltext");

    // The last code line is missing, or its LF, or the text line's LF.
    auto missingCode = ParseKeywordFile("Natur\nN1\nReise\n");
    ASSERT_EQ(missingCode.size(), 1u);
    EXPECT_EQ(missingCode[0].text, "Natur");
    auto codeWithoutLf = ParseKeywordFile("Natur\nN1\nReise\nR1");
    ASSERT_EQ(codeWithoutLf.size(), 2u);
    EXPECT_EQ(codeWithoutLf[1].code, "R1");
    EXPECT_EQ(ParseKeywordFile("Natur\nN1\nReise").size(), 1u);

    // Bytes of code page 1252 pass unchanged.
    auto umlaut = ParseKeywordFile("K\xfcste\nK1\n*");
    ASSERT_EQ(umlaut.size(), 1u);
    EXPECT_EQ(umlaut[0].text, "K\xfcste");
}

TEST(KeywordFileNameTest, Names) {
    EXPECT_EQ(KeywordFileName(2), "keyword2");
    EXPECT_EQ(KeywordOldFileName(3), "keyword3.old");
}

namespace {

void WriteTree(const TempArchive& t) {
    t.write("keyword1", KeywordBytes({{"Architektur", "A1"}, {"Berge", "B1"}, {"Natur", "N1"}}));
    // Level 2 grouped by parent; an orphan "X1..." whose parent does not exist.
    t.write("keyword2", KeywordBytes({{"Burgen", "A1B1"},
                                      {"Kirchen", "A1K1"},
                                      {"Alpen", "B1A1"},
                                      {"Dolomiten", "B1D1"},
                                      {"Pyrenaeen-Hochgebirge", "B1P1"},
                                      {"Waise", "X1W1"},
                                      {"Blumen", "N1B1"}}));
    t.write("keyword3",
            KeywordBytes({{"Gletscher", "B1A1G1"}, {"Matterhorn", "B1A1M1"}, {"Rosen", "N1B1R1"}}));
}

} // namespace

TEST(LoadLevelListTest, EmptyKeyword1GivesNoSelectionCode) {
    TempArchive t;
    t.write("keyword1", "");
    Archive a(t.dir());
    LevelLists l;
    l.levels[0].currentCode = "B1";
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    EXPECT_EQ(l.levels[0].currentCode, "--");
    EXPECT_EQ(l.levels[0].count, 0);
}

TEST(LoadLevelListTest, SelectsThePositionAmongTheChildren) {
    TempArchive t;
    WriteTree(t);
    Archive a(t.dir());
    LevelLists l;
    ASSERT_FALSE(LoadLevelList(a, l, 1, 2));
    EXPECT_EQ(l.levels[0].count, 3);
    EXPECT_EQ(l.levels[0].texts[0], "Architektur");
    EXPECT_EQ(l.levels[0].currentCode, "B1");
    EXPECT_EQ(l.levels[0].currentText, "Berge" + std::string(14, ' '));

    // Position 3 of level 2 is the third child of Berge, not line 3 of the file.
    ASSERT_FALSE(LoadLevelList(a, l, 2, 3));
    EXPECT_EQ(l.levels[1].count, 3);
    EXPECT_EQ(l.levels[1].texts[0], "Alpen");
    EXPECT_EQ(l.levels[1].texts[2], "Pyrenaeen-Hochgebi"); // cut to 18
    EXPECT_EQ(l.levels[1].currentCode, "B1P1");
    EXPECT_EQ(l.levels[1].currentText, "Pyrenaeen-Hochgebir"); // cut to 19
    EXPECT_TRUE(l.levels[1].texts[3].empty());

    ASSERT_FALSE(LoadLevelList(a, l, 2, 1));
    ASSERT_FALSE(LoadLevelList(a, l, 3, 2));
    EXPECT_EQ(l.levels[2].count, 2);
    EXPECT_EQ(l.levels[2].currentCode, "B1A1M1");
    EXPECT_EQ(l.levels[2].currentText, "Matterhorn" + std::string(9, ' '));
}

TEST(LoadLevelListTest, OrphanEntriesAreNeverShown) {
    TempArchive t;
    WriteTree(t);
    Archive a(t.dir());
    LevelLists l;
    for (int s1 = 1; s1 <= 3; ++s1) {
        ASSERT_FALSE(LoadLevelList(a, l, 1, s1));
        ASSERT_FALSE(LoadLevelList(a, l, 2, 1));
        for (int i = 0; i < l.levels[1].count; ++i)
            EXPECT_NE(l.levels[1].texts[static_cast<size_t>(i)], "Waise");
    }
    // With no level-1 selection ("--") the level-2 list is empty.
    ASSERT_FALSE(LoadLevelList(a, l, 1, 0));
    EXPECT_EQ(l.levels[0].currentCode, "--");
    ASSERT_FALSE(LoadLevelList(a, l, 2, 1));
    EXPECT_EQ(l.levels[1].count, 0);
    EXPECT_EQ(l.levels[1].currentCode, "----");
}

TEST(LoadLevelListTest, NothingSelectedKeepsTextAndLevelThreeCode) {
    TempArchive t;
    WriteTree(t);
    Archive a(t.dir());
    LevelLists l;
    ASSERT_FALSE(LoadLevelList(a, l, 1, 2));
    ASSERT_FALSE(LoadLevelList(a, l, 2, 1));
    ASSERT_FALSE(LoadLevelList(a, l, 3, 1));
    ASSERT_EQ(l.levels[2].currentCode, "B1A1G1");
    // Position 5 does not exist: the level-3 code and every current text stay.
    ASSERT_FALSE(LoadLevelList(a, l, 3, 5));
    EXPECT_EQ(l.levels[2].currentCode, "B1A1G1");
    EXPECT_EQ(l.levels[2].currentText, "Gletscher" + std::string(10, ' '));
    ASSERT_FALSE(LoadLevelList(a, l, 2, 9));
    EXPECT_EQ(l.levels[1].currentCode, "----");
    EXPECT_EQ(l.levels[1].currentText, "Alpen" + std::string(14, ' '));
}

TEST(LoadLevelListTest, DamagedFileWithMoreThanSeventeenChildren) {
    TempArchive t;
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 25; ++i)
        many.push_back({"Wort" + std::to_string(i), "W" + std::to_string(i % 10)});
    t.write("keyword1", KeywordBytes(many));
    Archive a(t.dir());
    LevelLists l;
    ASSERT_FALSE(LoadLevelList(a, l, 1, 20));
    EXPECT_EQ(l.levels[0].count, 17);
    EXPECT_EQ(l.levels[0].texts[16], "Wort16");
    EXPECT_EQ(l.levels[0].currentCode, "--"); // position 20 is not shown
}

TEST(LoadLevelListTest, MissingFileKeepsTheListAndEmptyFileEmptiesIt) {
    TempArchive t;
    WriteTree(t);
    Archive a(t.dir());
    LevelLists l;
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    std::filesystem::remove(t.path("keyword1"));
    Problem p = LoadLevelList(a, l, 1, 1);
    EXPECT_EQ(p.kind, ProblemKind::Io);
    EXPECT_EQ(p.sysError, 2);
    EXPECT_EQ(l.levels[0].count, 3);
    EXPECT_EQ(l.levels[0].currentCode, "A1");

    // A file emptied by an undo must not go on showing its old keywords.
    t.write("keyword1", "");
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    EXPECT_EQ(l.levels[0].count, 0);
    EXPECT_TRUE(l.levels[0].texts[0].empty());
    EXPECT_EQ(l.levels[0].currentCode, "--");
}

TEST(LoadLevelListTest, CodesAreTakenWithTheirLevelsLength) {
    // Lines ending in CR LF (a file saved by a text editor): the CR stays in the texts,
    // but the current codes keep 2 and 4 characters, so the children are still found.
    TempArchive t;
    t.write("keyword1", "Natur\r\nN1\r\n*");
    t.write("keyword2", "Blumen\r\nN1B1\r\n*");
    Archive a(t.dir());
    LevelLists l;
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    EXPECT_EQ(l.levels[0].currentCode, "N1");
    EXPECT_EQ(l.levels[0].texts[0], "Natur\r");
    ASSERT_FALSE(LoadLevelList(a, l, 2, 1));
    EXPECT_EQ(l.levels[1].count, 1);
    EXPECT_EQ(l.levels[1].currentCode, "N1B1");
}

TEST(LoadLevelListTest, FindsUpperCaseFileNames) {
    TempArchive t;
    t.write("KEYWORD1", KeywordBytes({{"Natur", "N1"}}));
    Archive a(t.dir());
    LevelLists l;
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    EXPECT_EQ(l.levels[0].currentCode, "N1");
}

TEST(KeywordCacheTest, ReloadsChangedFilesAndReportsMissingOnes) {
    TempArchive t;
    WriteTree(t);
    Archive a(t.dir());
    KeywordCache cache;
    Problem p;
    const auto* e = cache.entries(a, 1, p);
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(p);
    EXPECT_EQ(e->size(), 3u);
    EXPECT_EQ(cache.entries(a, 1, p), e); // unchanged: the same parsed list

    ASSERT_EQ(WriteFileAtomically(t.path("keyword1"), KeywordBytes({{"Natur", "N1"}})), 0);
    e = cache.entries(a, 1, p);
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->size(), 1u);
    EXPECT_EQ((*e)[0].text, "Natur");

    // Changed in place with the same size (another program): invalidate() forces a reload.
    t.write("keyword1", KeywordBytes({{"Nebel", "N1"}}));
    cache.invalidate();
    e = cache.entries(a, 1, p);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ((*e)[0].text, "Nebel");

    std::filesystem::remove(t.path("keyword3"));
    EXPECT_EQ(cache.entries(a, 3, p), nullptr);
    EXPECT_EQ(p.kind, ProblemKind::KeywordOpenFailed);
    EXPECT_EQ(p.level, 3);
}

TEST(KeywordCacheTest, FrozenCacheSkipsTheFileChecksUntilThawed) {
    TempArchive t;
    WriteTree(t);
    Archive a(t.dir());
    KeywordCache cache;
    Problem p;
    ASSERT_NE(cache.entries(a, 1, p), nullptr);
    cache.setFrozen(true);
    ASSERT_EQ(WriteFileAtomically(t.path("keyword1"), KeywordBytes({{"Natur", "N1"}})), 0);
    EXPECT_EQ(cache.entries(a, 1, p)->size(), 3u); // the scan keeps the list it started with
    cache.setFrozen(false);
    EXPECT_EQ(cache.entries(a, 1, p)->size(), 1u);
    // Another archive is never served from the lists of the first one.
    TempArchive other;
    other.write("keyword1", KeywordBytes({{"Reise", "R1"}, {"Sport", "S1"}}));
    cache.setFrozen(true);
    const auto* e = cache.entries(Archive(other.dir()), 1, p);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ((*e)[0].text, "Reise");
}

TEST(UndoCopiesTest, RefreshEmptyAndRestore) {
    TempArchive t;
    Archive a(t.dir());
    std::string k1 = KeywordBytes({{"Natur", "N1"}});
    std::string k2 = KeywordBytes({{"Blumen", "N1B1"}});
    std::string k3 = KeywordBytes({{"Rosen", "N1B1R1"}});
    t.write("keyword1", k1);
    t.write("keyword2", k2);
    t.write("keyword3", k3);
    t.write("KEYWORD2.OLD", "alt");

    RefreshUndoCopies(a);
    EXPECT_EQ(t.read("keyword1.old"), k1);
    EXPECT_EQ(t.read("KEYWORD2.OLD"), k2); // existing spelling kept
    EXPECT_FALSE(t.exists("keyword2.old"));
    EXPECT_EQ(t.read("keyword3.old"), k3);

    t.write("keyword1", KeywordBytes({{"Natur", "N1"}, {"Reise", "R1"}}));
    t.write("keyword3", "");
    EXPECT_EQ(RestoreFromUndoCopies(a), 0);
    EXPECT_EQ(t.read("keyword1"), k1);
    EXPECT_EQ(t.read("keyword3"), k3);

    EmptyUndoCopies(a);
    EXPECT_EQ(std::filesystem::file_size(t.path("keyword1.old")), 0u);
    EXPECT_EQ(std::filesystem::file_size(t.path("KEYWORD2.OLD")), 0u);
    EXPECT_EQ(std::filesystem::file_size(t.path("keyword3.old")), 0u);
}

TEST(UndoCopiesTest, RestoreStopsAtTheFirstFailure) {
    TempArchive t;
    Archive a(t.dir());
    t.write("keyword1", "eins");
    t.write("keyword2", "zwei");
    t.write("keyword3", "drei");
    t.write("keyword1.old", "alt1");
    t.write("keyword3.old", "alt3");
    EXPECT_EQ(RestoreFromUndoCopies(a), 2); // keyword2.old missing
    EXPECT_EQ(t.read("keyword1"), "alt1");
    EXPECT_EQ(t.read("keyword2"), "zwei");
    EXPECT_EQ(t.read("keyword3"), "drei"); // not reached
}
