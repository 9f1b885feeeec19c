#include "store/Keywords.h"
#include "TestArchive.h"
#include "store/FileUtil.h"

#include <gtest/gtest.h>

using namespace lumo;
using lumo::test::KeywordBytes;
using lumo::test::TempArchive;

namespace {

// "text/code@offset" per entry, separated by blanks.
std::string Describe(const std::vector<KeywordEntry>& entries) {
    std::string s;
    for (const auto& e : entries)
        s += (s.empty() ? "" : " ") + e.text + "/" + e.code + "@" + std::to_string(e.offset);
    return s;
}

// A level list as "count texts current-code [current-text]", the texts joined with "|"
// without the empty places after them.
std::string Summary(const LevelList& list) {
    std::string texts;
    for (const auto& t : list.texts)
        texts += t + "|";
    texts.erase(texts.find_last_not_of('|') + 1);
    return std::to_string(list.count) + " " + texts + " " + list.currentCode + " [" +
           list.currentText + "]";
}

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

TEST(ParseKeywordFileTest, WalksEntriesUpToTheStarOrTheEndOfTheData) {
    const struct {
        std::string data, entries;
    } cases[] = {
        {"Natur\nN1\nReise\nR1\n*", "Natur/N1@0 Reise/R1@9"},
        {"Natur\nN1\n*Reise\nR1\n", "Natur/N1@0"}, // nothing after the star is looked at
        {"", ""},
        {"*", ""},
        {"Natur\nN1\nReise\nR1\n", "Natur/N1@0 Reise/R1@9"}, // no final star
        {"Natur\r\nN1\r\n*", "Natur\r/N1\r@0"},              // a CR stays in text and code
        {"Ein sehr langer Schluesseltext\nE1\n*", "Ein sehr langer Schluesseltext/E1@0"},
        {"Natur\nN1\nReise\n", "Natur/N1@0"}, // last code line missing
        {"Natur\nN1\nReise\nR1", "Natur/N1@0 Reise/R1@9"},
        {"Natur\nN1\nReise", "Natur/N1@0"},
        {"K\xfcste\nK1\n*", "K\xfcste/K1@0"}, // code page 1252 bytes pass unchanged
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(ParseKeywordFile(c.data)), c.entries) << c.data;
}

TEST(LoadLevelListTest, ShowsTheChildrenOfTheCurrentCodeAndSelectsAPosition) {
    TempArchive t;
    WriteTree(t);
    Archive a(t.dir());
    LevelLists l;
    const std::string level1 = "3 Architektur|Berge|Natur ",
                      berge = "3 Alpen|Dolomiten|Pyrenaeen-Hochgebi ";
    const struct {
        int level, selected;
        std::string list; // afterwards
    } steps[] = {
        {1, 2, level1 + "B1 [Berge              ]"},
        // Position 3 of level 2 is the third child of Berge, not line 3 of the file; the
        // list cuts to 18 bytes, the current text to 19.
        {2, 3, berge + "B1P1 [Pyrenaeen-Hochgebir]"},
        {2, 1, berge + "B1A1 [Alpen              ]"},
        {3, 2, "2 Gletscher|Matterhorn B1A1M1 [Matterhorn         ]"},
        // A position that does not exist keeps every current text and the level-3 code.
        {3, 5, "2 Gletscher|Matterhorn B1A1M1 [Matterhorn         ]"},
        {2, 9, berge + "---- [Alpen              ]"},
        {1, 1, level1 + "A1 [Architektur        ]"},
        {2, 1, "2 Burgen|Kirchen A1B1 [Burgen             ]"}, // the orphan never shows
        {1, 0, level1 + "-- [Architektur        ]"},
        {2, 1, "0  ---- [Burgen             ]"}, // no level-1 selection: no children
    };
    for (const auto& s : steps) {
        ASSERT_FALSE(LoadLevelList(a, l, s.level, s.selected));
        EXPECT_EQ(Summary(l.levels[static_cast<size_t>(s.level - 1)]), s.list)
            << s.level << "/" << s.selected;
    }

    // A missing file keeps the list; an emptied one (an undo) must not show old keywords.
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    std::filesystem::remove(t.path("keyword1"));
    Problem p = LoadLevelList(a, l, 1, 2);
    EXPECT_EQ(p.kind, ProblemKind::Io);
    EXPECT_EQ(p.sysError, 2);
    EXPECT_EQ(Summary(l.levels[0]), level1 + "A1 [Architektur        ]");
    t.write("keyword1", "");
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    EXPECT_EQ(Summary(l.levels[0]), "0  -- [Architektur        ]");
}

TEST(LoadLevelListTest, DamagedFiles) {
    TempArchive t;
    Archive a(t.dir());
    LevelLists l;
    // More than 17 entries: the rest is not shown, nor can it be selected.
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 25; ++i)
        many.push_back({"Wort" + std::to_string(i), "W" + std::to_string(i % 10)});
    t.write("keyword1", KeywordBytes(many));
    ASSERT_FALSE(LoadLevelList(a, l, 1, 20));
    EXPECT_EQ(l.levels[0].count, 17);
    EXPECT_EQ(l.levels[0].texts[16], "Wort16");
    EXPECT_EQ(l.levels[0].currentCode, "--");

    // Upper-case names and CR LF lines (a text editor): the CR stays in the texts, but the
    // current codes keep 2 and 4 characters, so the children are still found.
    std::filesystem::remove(t.path("keyword1"));
    t.write("KEYWORD1", "Natur\r\nN1\r\n*");
    t.write("KEYWORD2", "Blumen\r\nN1B1\r\n*");
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    EXPECT_EQ(l.levels[0].currentCode, "N1");
    EXPECT_EQ(l.levels[0].texts[0], "Natur\r");
    ASSERT_FALSE(LoadLevelList(a, l, 2, 1));
    EXPECT_EQ(l.levels[1].count, 1);
    EXPECT_EQ(l.levels[1].currentCode, "N1B1");
}

TEST(KeywordCacheTest, ReloadsChangedFilesUnlessFrozen) {
    TempArchive t;
    WriteTree(t);
    Archive a(t.dir());
    KeywordCache cache;
    Problem p;
    const auto* e = cache.entries(a, 1, p);
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(p);
    EXPECT_EQ(Describe(*e), "Architektur/A1@0 Berge/B1@15 Natur/N1@24");
    EXPECT_EQ(cache.entries(a, 1, p), e); // unchanged: the same parsed list

    // Rewritten the way the program does it: with the same size and time stamp (within
    // one tick), then shorter; then in place with the same size (another program), where
    // invalidate() forces the reload.
    const auto stamp = std::filesystem::last_write_time(t.path("keyword1"));
    ASSERT_EQ(WriteFileAtomically(
                  t.path("keyword1"),
                  KeywordBytes({{"Architektur", "A1"}, {"Burgs", "B1"}, {"Natur", "N1"}})),
              0);
    std::filesystem::last_write_time(t.path("keyword1"), stamp);
    EXPECT_EQ(Describe(*cache.entries(a, 1, p)), "Architektur/A1@0 Burgs/B1@15 Natur/N1@24");
    ASSERT_EQ(WriteFileAtomically(t.path("keyword1"), KeywordBytes({{"Natur", "N1"}})), 0);
    EXPECT_EQ(Describe(*cache.entries(a, 1, p)), "Natur/N1@0");
    t.write("keyword1", KeywordBytes({{"Nebel", "N1"}}));
    cache.invalidate();
    EXPECT_EQ(Describe(*cache.entries(a, 1, p)), "Nebel/N1@0");

    // A frozen cache keeps the lists it has, but never serves another archive from them.
    cache.setFrozen(true);
    ASSERT_EQ(WriteFileAtomically(t.path("keyword1"), KeywordBytes({{"Reise", "R1"}})), 0);
    EXPECT_EQ(Describe(*cache.entries(a, 1, p)), "Nebel/N1@0");
    TempArchive other;
    other.write("keyword1", KeywordBytes({{"Sport", "S1"}}));
    EXPECT_EQ(Describe(*cache.entries(Archive(other.dir()), 1, p)), "Sport/S1@0");
    cache.setFrozen(false);
    EXPECT_EQ(Describe(*cache.entries(a, 1, p)), "Reise/R1@0");

    std::filesystem::remove(t.path("keyword3"));
    EXPECT_EQ(cache.entries(a, 3, p), nullptr);
    EXPECT_EQ(p.kind, ProblemKind::KeywordOpenFailed);
    EXPECT_EQ(p.level, 3);
    EXPECT_EQ(p.sysError, 2);
}

TEST(UndoCopiesTest, RefreshRestoreAndEmpty) {
    TempArchive t;
    Archive a(t.dir());
    t.write("keyword1", "eins");
    t.write("keyword2", "zwei");
    t.write("keyword3", "drei");
    t.write("KEYWORD2.OLD", "alt");
    RefreshUndoCopies(a);
    EXPECT_EQ(t.read("keyword1.old") + t.read("KEYWORD2.OLD") + t.read("keyword3.old"),
              "einszweidrei");
    EXPECT_FALSE(t.exists("keyword2.old")); // the existing spelling is kept

    t.write("keyword1", "neu1");
    t.write("keyword3", "");
    EXPECT_EQ(RestoreFromUndoCopies(a), 0);
    EXPECT_EQ(t.read("keyword1") + t.read("keyword2") + t.read("keyword3"), "einszweidrei");

    EmptyUndoCopies(a);
    for (const char* name : {"keyword1.old", "KEYWORD2.OLD", "keyword3.old"})
        EXPECT_EQ(std::filesystem::file_size(t.path(name)), 0u) << name;

    // Restoring stops at the first copy that is missing.
    t.write("keyword1.old", "alt1");
    std::filesystem::remove(t.path("KEYWORD2.OLD"));
    t.write("keyword3.old", "alt3");
    EXPECT_EQ(RestoreFromUndoCopies(a), 2);
    EXPECT_EQ(t.read("keyword1") + t.read("keyword2") + t.read("keyword3"), "alt1zweidrei");
}
