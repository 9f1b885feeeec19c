// Archives at the limits: a memo of 1 MB, keyword files full at every level, info texts
// with every code page 1252 character, a DIA.INI of 10,000 lines and 99,999 slides. Each
// is read and written again without losing a byte.
#include "LongTexts.h"
#include "TestArchive.h"

#include "search/Reports.h"
#include "search/SearchRun.h"
#include "store/FileUtil.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumo::test {
namespace {

ReportStamp Stamp() {
    return {"01.02.03", "04:05:06"};
}

// A search over the whole archive; the result list lines.
std::vector<std::string> Search(const Archive& a, int32_t total,
                                const std::function<Problem(SearchRun&)>& scan) {
    std::vector<std::string> list;
    ResultPage page;
    int32_t found = 0;
    SearchRun run(a, list, page, found, Stamp);
    Problem p = scan(run);
    if (!p)
        p = run.Finish(total);
    EXPECT_FALSE(p);
    return list;
}

struct LongCase {
    const char* name;
    std::function<void(const TempArchive&)> build;
    std::function<void(const TempArchive&, const Archive&)> check;
};

// 99,999 slides, every tenth a free slot; info "A01 Dia <n>".
void BuildManySlides(const TempArchive& t) {
    std::string dias;
    dias.reserve(99999u * 82);
    for (int n = 1; n <= 99999; ++n)
        dias += n % 10 == 0 ? RecordBytes({"00"}, "Dia wurde entnommen / Platz frei", 0)
                            : RecordBytes({"A1"}, "A01 Dia " + std::to_string(n), n % 255 + 1);
    t.write("dias.ddb", dias);
    t.write("keyword1", KeywordBytes({{"Alpen", "A1"}}));
    t.write("keyword2", "");
    t.write("keyword3", "");
}

void CheckManySlides(const TempArchive& t, const Archive& a) {
    Counters c;
    ASSERT_FALSE(CountRecords(a, c));
    EXPECT_EQ(c.totalRecords, 99999);
    ASSERT_FALSE(AnalyseArchive(a, kFreeSlotMarker, c));
    EXPECT_EQ(c.freeSlots, 9999);
    EXPECT_EQ(c.activeSlides, 90000);
    const auto list = Search(a, c.totalRecords, [&](SearchRun& run) {
        return ScanInfoText(run, c.totalRecords, "Dia 99999", true);
    });
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].substr(0, 8), "04099999"); // box 99999 % 255 + 1 = 40, slide 99999
    // Re-recording the last slide changes its 82 bytes and nothing else.
    const std::string before = t.read("dias.ddb");
    CurrentSlideData slide;
    KeySelection keys;
    ASSERT_FALSE(ReadSlide(a, 99999, slide, keys));
    EXPECT_EQ(keys.entries[0].name, "Alpen");
    slide.infoText = "Z99 Zuletzt";
    ASSERT_FALSE(WriteSlide(a, 99999, slide));
    const std::string after = t.read("dias.ddb");
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, 99998u * 82), before.substr(0, 99998u * 82));
    EXPECT_EQ(after.substr(99998u * 82), RecordBytes({"A1"}, "Z99 Zuletzt", 40));
}

void BuildAllCharacters(const TempArchive& t) {
    std::string dias;
    const auto texts = AllCharacterTexts();
    for (size_t i = 0; i < texts.size(); ++i)
        dias += RecordBytes({"A1"}, "A0" + std::to_string(i) + " " + texts[i], 1);
    t.write("dias.ddb", dias);
    t.write("keyword1", KeywordBytes({{"Alpen", "A1"}}));
    t.write("keyword2", "");
    t.write("keyword3", "");
}

void CheckAllCharacters(const TempArchive& t, const Archive& a) {
    const auto texts = AllCharacterTexts();
    const std::string before = t.read("dias.ddb");
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto n = static_cast<int32_t>(i + 1);
        CurrentSlideData slide;
        KeySelection keys;
        ASSERT_FALSE(ReadSlide(a, n, slide, keys));
        EXPECT_EQ(slide.infoText, "A0" + std::to_string(i) + " " + texts[i]);
        ASSERT_FALSE(WriteSlide(a, n, slide)); // saved again: the same bytes
        // Each text is found by an exact search and listed with all its bytes.
        const auto list = Search(a, static_cast<int32_t>(texts.size()), [&](SearchRun& run) {
            return ScanInfoText(run, static_cast<int32_t>(texts.size()), texts[i], true);
        });
        ASSERT_EQ(list.size(), 1u) << i;
        EXPECT_EQ(list[0].substr(11), " " + texts[i]);
    }
    EXPECT_EQ(t.read("dias.ddb"), before);
}

// 17 keywords on level 1, 17 below each of them, 17 below each of those.
void BuildFullKeywords(const TempArchive& t) {
    std::vector<std::pair<std::string, std::string>> l1, l2, l3;
    for (int i = 0; i < 17; ++i) {
        const char a = static_cast<char>('A' + i);
        l1.push_back({std::string(1, a) + "-Ebene1", std::string(1, a) + "1"});
        for (int j = 0; j < 17; ++j) {
            const char b = static_cast<char>('A' + j);
            const std::string code2 = std::string(1, a) + "1" + b + "1";
            l2.push_back({std::string(1, b) + "-" + a + "-Ebene2", code2});
            for (int k = 0; k < 17; ++k) {
                const char c = static_cast<char>('A' + k);
                l3.push_back({std::string(1, c) + "-" + a + b + "-Ebene3-lang!", code2 + c + "1"});
            }
        }
    }
    t.write("keyword1", KeywordBytes(l1));
    t.write("keyword2", KeywordBytes(l2));
    t.write("keyword3", KeywordBytes(l3));
    // The last keyword of the tree on a slide.
    t.write("dias.ddb", RecordBytes({"Q1Q1Q1", "Q1Q1", "Q1"}, "A01 Voll", 1));
}

void CheckFullKeywords(const TempArchive& t, const Archive& a) {
    LevelLists lists;
    for (int level = 1; level <= 3; ++level) {
        ASSERT_FALSE(LoadLevelList(a, lists, level, 17));
        EXPECT_EQ(lists.levels[static_cast<size_t>(level - 1)].count, 17) << level;
    }
    EXPECT_EQ(lists.levels[2].currentCode, "Q1Q1Q1");
    EXPECT_EQ(lists.levels[2].texts[16], "Q-QQ-Ebene3-lang!");
    CurrentSlideData slide;
    KeySelection keys;
    ASSERT_FALSE(ReadSlide(a, 1, slide, keys));
    EXPECT_EQ(keys.count, 3);
    EXPECT_EQ(keys.entries[0].name, "Q-QQ-Ebene3-lang!");
    // Through the undo copies and back, byte for byte; the key list names every keyword.
    std::array<std::string, 3> files;
    for (int level = 1; level <= 3; ++level)
        files[static_cast<size_t>(level - 1)] = t.read(KeywordFileName(level));
    RefreshUndoCopies(a);
    ASSERT_EQ(RestoreFromUndoCopies(a), 0);
    for (int level = 1; level <= 3; ++level)
        EXPECT_EQ(t.read(KeywordFileName(level)), files[static_cast<size_t>(level - 1)]);
    ASSERT_FALSE(WriteKeyList(a, Stamp));
    const std::string report = t.read("keyliste.txt");
    for (const auto& level : files)
        for (const auto& e : ParseKeywordFile(level))
            ASSERT_NE(report.find(e.text), std::string::npos) << e.text;
}

// A DIA.INI of 10,000 lines: the settings among sections, keys and comments of other
// programs.
std::string LongIni() {
    std::string ini = "[LUMORETTA]\r\nDIAS=1\r\nTIP=3\r\nEDITOR=notepad.exe\r\n";
    for (int i = 0; i < 9996; ++i) {
        if (i % 100 == 0)
            ini += "[FREMD" + std::to_string(i / 100) + "]\r\n";
        else if (i % 7 == 0)
            ini += "; Kommentar " + std::to_string(i) + "\r\n";
        else
            ini += "Schluessel" + std::to_string(i) + "=Wert " + std::to_string(i) + "\r\n";
    }
    return ini;
}

void CheckLongIni(const TempArchive& t, const Archive& a) {
    Settings s;
    Counters c;
    LoadSettings(a, s, c);
    EXPECT_EQ(s.tipNumber, 3);
    EXPECT_EQ(c.activeSlides, 1);
    s.tipNumber = 4;
    ASSERT_TRUE(SaveSettings(a, s, c));
    // Every line is still there, in its place; only TIP changed and the new keys were added
    // to the program's sections.
    std::string expected = LongIni();
    expected.replace(expected.find("TIP=3"), 5, "TIP=4");
    const std::string saved = t.read("DIA.INI");
    const size_t otherStart = expected.find("[FREMD0]");
    EXPECT_EQ(saved.substr(saved.find("[FREMD0]"), saved.find("[BACKUP]") - saved.find("[FREMD0]")),
              expected.substr(otherStart));
    Settings again;
    LoadSettings(a, again, c);
    EXPECT_EQ(again.tipNumber, 4);
}

const std::string kLongMemoTail = "Ende des langen Memos \xE4\xF6\xFC\xDF";

// A memo of 1 MB: 16,384 lines of 62 bytes and CR LF.
std::string LongMemo() {
    std::string memo;
    for (int i = 0; memo.size() < (1u << 20) - 64; ++i) {
        std::string line = "Zeile " + std::to_string(i) + " ";
        line.resize(62, static_cast<char>('a' + i % 26));
        memo += line + "\r\n";
    }
    return memo + kLongMemoTail + "\r\n";
}

void CheckLongMemo(const TempArchive& t, const Archive& a) {
    const std::string memo = LongMemo();
    EXPECT_GE(memo.size(), 1000000u);
    const auto read = ReadWholeFile(a.resolve("memo/1.txt"));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, memo);
    const auto list =
        Search(a, 1, [&](SearchRun& run) { return ScanMemo(run, 1, "ende des langen", false); });
    EXPECT_EQ(list.size(), 1u);
    // Listed whole in memo.txt, and written back unchanged.
    ASSERT_FALSE(WriteMemoList(a, {1}, Stamp));
    EXPECT_NE(t.read("memo.txt").find(kLongMemoTail), std::string::npos);
    EXPECT_GT(t.read("memo.txt").size(), memo.size());
    ASSERT_EQ(WriteFileAtomically(a.resolve("memo/1.txt"), *read), 0);
    EXPECT_EQ(t.read("memo/1.txt"), memo);
}

class LongArchiveTest : public ::testing::TestWithParam<LongCase> {};

TEST_P(LongArchiveTest, LoadsAndSavesWithoutLoss) {
    TempArchive t;
    GetParam().build(t);
    GetParam().check(t, Archive(t.dir()));
}

INSTANTIATE_TEST_SUITE_P(
    Limits, LongArchiveTest,
    ::testing::Values(LongCase{"ManySlides", BuildManySlides, CheckManySlides},
                      LongCase{"AllCharacters", BuildAllCharacters, CheckAllCharacters},
                      LongCase{"FullKeywords", BuildFullKeywords, CheckFullKeywords},
                      LongCase{"LongIni",
                               [](const TempArchive& t) { t.write("DIA.INI", LongIni()); },
                               CheckLongIni},
                      LongCase{"LongMemo",
                               [](const TempArchive& t) {
                                   t.write("dias.ddb", RecordBytes({"A1"}, "A01 Memo", 1));
                                   t.write("memo/1.txt", LongMemo());
                               },
                               CheckLongMemo}),
    [](const ::testing::TestParamInfo<LongCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace lumo::test
