#include "store/Keywords.h"
#include "TestArchive.h"
#include "editing/logic/KeywordInsertion.h"
#include "store/FileUtil.h"

#include <gtest/gtest.h>

namespace lumo::test {
namespace {

// "text/code@offset" per entry, separated by blanks.
std::string Describe(const std::vector<KeywordEntry>* entries) {
    std::string s;
    for (const auto& e : *entries)
        s += (s.empty() ? "" : " ") + e.text + "/" + e.code + "@" + std::to_string(e.offset);
    return s;
}

// "count texts current-code [current-text]", the texts joined with "|" up to the last one.
std::string Summary(const LevelList& list) {
    std::string texts;
    for (const auto& t : list.texts)
        texts += t + "|";
    texts.erase(texts.find_last_not_of('|') + 1);
    return std::to_string(list.count) + " " + texts + " " + list.currentCode + " [" +
           list.currentText + "]";
}

TEST(ParseKeywordFileTest, WalksEntriesUpToTheStarOrTheEndOfTheData) {
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"Natur\nN1\nReise\nR1\n*", "Natur/N1@0 Reise/R1@9"}, {"", ""}, {"*", ""},
        {"Natur\nN1\n*Reise\nR1\n", "Natur/N1@0"},            // nothing after the star counts
        {"Natur\r\nN1\r\n*", "Natur\r/N1\r@0"},                 // a CR stays in text and code
        {"Natur\nN1\nReise\n", "Natur/N1@0"}, {"Natur\nN1\nReise\nR1", "Natur/N1@0 Reise/R1@9"},
        {"K\xfcste\nK1\n*", "K\xfcste/K1@0"}, // cp1252 bytes
    };
    // clang-format on
    for (const auto& [data, entries] : cases) {
        const auto parsed = ParseKeywordFile(data);
        EXPECT_EQ(Describe(&parsed), entries) << data;
    }
    // A file cut right after its last code: the insertion keeps that entry.
    using Row = std::array<std::string, 3>; // file, new keyword, file afterwards
    const Row rows[] = {{"Natur\nN1", "Alpen", "Alpen\nA1\nNatur\nN1\n*"},
                        {"Natur\nN1", "Nebel", "Natur\nN1\nNebel\nN2\n*"},
                        {"Natur\n", "Alpen", "Alpen\nA1\n*"}}; // a text without code is no entry
    for (const auto& [file, name, expected] : rows) {
        const auto plan = PlanKeywordInsertion(std::string_view(file), 1, name, "");
        EXPECT_EQ(plan.outcome, KeywordInsertion::Outcome::Inserted) << file << name;
        EXPECT_EQ(plan.newFile, expected) << file << name;
    }
}

TEST(LoadLevelListTest, ShowsTheChildrenOfTheCurrentCodeAndSelectsAPosition) {
    TempArchive t;
    t.write("keyword1", KeywordBytes({{"Architektur", "A1"}, {"Berge", "B1"}, {"Natur", "N1"}}));
    // Level 2 grouped by parent; an orphan X1W1 whose parent does not exist.
    t.write("keyword2", "Burgen\nA1B1\nKirchen\nA1K1\nAlpen\nB1A1\nDolomiten\nB1D1\n"
                        "Pyrenaeen-Hochgebirge\nB1P1\nWaise\nX1W1\nBlumen\nN1B1\n*");
    t.write("keyword3", KeywordBytes({{"Gletscher", "B1A1G1"}, {"Matterhorn", "B1A1M1"}}));
    Archive a(t.dir());
    LevelLists l;
    const std::string level1 = "3 Architektur|Berge|Natur ",
                      berge = "3 Alpen|Dolomiten|Pyrenaeen-Hochgebi ",
                      level3 = "2 Gletscher|Matterhorn B1A1M1 [Matterhorn         ]";
    const struct {
        int level, selected;
        std::string list; // afterwards
    } steps[] = {
        {1, 2, level1 + "B1 [Berge              ]"},
        // The third child of Berge, not line 3; the list cuts to 18 bytes, the text to 19.
        {2, 3, berge + "B1P1 [Pyrenaeen-Hochgebir]"},
        {2, 1, berge + "B1A1 [Alpen              ]"},
        {3, 2, level3},
        {3, 5, level3}, // a position that does not exist keeps the texts and the level-3 code
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
    // More than 17 entries: the rest is neither shown nor selectable.
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 25; ++i)
        many.push_back({"W" + std::to_string(i), "W" + std::to_string(i % 10)});
    t.write("keyword1", KeywordBytes(many));
    ASSERT_FALSE(LoadLevelList(a, l, 1, 20));
    EXPECT_EQ(Summary(l.levels[0]).substr(0, 6) + l.levels[0].texts[16] + l.levels[0].currentCode,
              "17 W0|W16--");
    // CR LF lines: the CR stays in the texts, but the codes keep 2 and 4 characters.
    t.write("keyword1", "Natur\r\nN1\r\n*");
    t.write("keyword2", "Blumen\r\nN1B1\r\n*");
    ASSERT_FALSE(LoadLevelList(a, l, 1, 1));
    EXPECT_EQ(l.levels[0].currentCode + l.levels[0].texts[0], "N1Natur\r");
    ASSERT_FALSE(LoadLevelList(a, l, 2, 1));
    EXPECT_EQ(std::to_string(l.levels[1].count) + l.levels[1].currentCode, "1N1B1");
}

TEST(KeywordCacheTest, ReloadsChangedFilesUnlessFrozen) {
    TempArchive t;
    const auto path = t.path("keyword1");
    t.write("keyword1", KeywordBytes({{"Architektur", "A1"}, {"Berge", "B1"}, {"Natur", "N1"}}));
    Archive a(t.dir());
    KeywordCache cache;
    Problem p;
    const auto* e = cache.entries(a, 1, p);
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(p);
    EXPECT_EQ(Describe(e), "Architektur/A1@0 Berge/B1@15 Natur/N1@24");
    EXPECT_EQ(cache.entries(a, 1, p), e); // unchanged: the same parsed list
    // Rewritten with the same size and time stamp, then shorter, then in place + invalidate().
    const auto stamp = std::filesystem::last_write_time(path);
    ASSERT_EQ(WriteFileAtomically(
                  path, KeywordBytes({{"Architektur", "A1"}, {"Burgs", "B1"}, {"Natur", "N1"}})),
              0);
    std::filesystem::last_write_time(path, stamp);
    EXPECT_EQ(Describe(cache.entries(a, 1, p)), "Architektur/A1@0 Burgs/B1@15 Natur/N1@24");
    ASSERT_EQ(WriteFileAtomically(path, KeywordBytes({{"Natur", "N1"}})), 0);
    EXPECT_EQ(Describe(cache.entries(a, 1, p)), "Natur/N1@0");
    t.write("keyword1", KeywordBytes({{"Nebel", "N1"}}));
    cache.invalidate();
    EXPECT_EQ(Describe(cache.entries(a, 1, p)), "Nebel/N1@0");
    // A frozen cache keeps the lists it has, but never serves another archive from them.
    cache.setFrozen(true);
    ASSERT_EQ(WriteFileAtomically(path, KeywordBytes({{"Reise", "R1"}})), 0);
    EXPECT_EQ(Describe(cache.entries(a, 1, p)), "Nebel/N1@0");
    TempArchive other;
    other.write("keyword1", KeywordBytes({{"Sport", "S1"}}));
    EXPECT_EQ(Describe(cache.entries(Archive(other.dir()), 1, p)), "Sport/S1@0");
    cache.setFrozen(false);
    EXPECT_EQ(Describe(cache.entries(a, 1, p)), "Reise/R1@0");
    EXPECT_EQ(cache.entries(a, 3, p), nullptr);
    EXPECT_TRUE(p.kind == ProblemKind::KeywordOpenFailed && p.level * 100 + p.sysError == 302);
}

TEST(UndoCopiesTest, RefreshRestoreAndEmpty) {
    TempArchive t;
    Archive a(t.dir());
    const auto files = [&](const char* a, const char* b, const char* c) {
        return t.read(a) + "," + t.read(b) + "," + t.read(c);
    };
    for (auto [name, text] : {std::pair{"keyword1", "eins"},
                              {"keyword2", "zwei"},
                              {"keyword3", "drei"},
                              {"KEYWORD2.OLD", "alt"}})
        t.write(name, text);
    RefreshUndoCopies(a);
    EXPECT_EQ(files("keyword1.old", "KEYWORD2.OLD", "keyword3.old"), "eins,zwei,drei");
    EXPECT_FALSE(t.exists("keyword2.old")); // the existing spelling is kept
    t.write("keyword1", "neu1");
    t.write("keyword3", "");
    EXPECT_EQ(RestoreFromUndoCopies(a), 0);
    EXPECT_EQ(files("keyword1", "keyword2", "keyword3"), "eins,zwei,drei");
    EmptyUndoCopies(a);
    for (const char* name : {"keyword1.old", "KEYWORD2.OLD", "keyword3.old"})
        EXPECT_EQ(std::filesystem::file_size(t.path(name)), 0u) << name;
    // Restoring stops at the first copy that is missing.
    t.write("keyword1.old", "alt1");
    std::filesystem::remove(t.path("KEYWORD2.OLD"));
    t.write("keyword3.old", "alt3");
    EXPECT_EQ(RestoreFromUndoCopies(a), 2);
    EXPECT_EQ(files("keyword1", "keyword2", "keyword3"), "alt1,zwei,drei");
}

} // namespace
} // namespace lumo::test
