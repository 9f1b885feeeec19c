// Archives at the limits: 99,999 slides, info texts with every code page 1252 character,
// keyword files full at every level, a DIA.INI of 10,000 lines and a memo of 1 MB. Each is
// read and written again without losing a byte.
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
    EXPECT_FALSE(scan(run) || run.Finish(total));
    return list;
}

// Slides with key A1 (keyword "Alpen"), the info texts given; "" is a free slot.
void WriteSlides(const TempArchive& t, const std::vector<std::string>& infos) {
    std::string dias;
    dias.reserve(infos.size() * kRecordSize);
    for (size_t i = 0; i < infos.size(); ++i)
        dias += infos[i].empty() ? RecordBytes({"00"}, "Dia wurde entnommen / Platz frei", 0)
                                 : RecordBytes({"A1"}, infos[i], static_cast<int>(i + 1) % 255 + 1);
    t.write("dias.ddb", dias);
    t.write("keyword1", KeywordBytes({{"Alpen", "A1"}}));
    t.write("keyword2", "");
    t.write("keyword3", "");
}

TEST(LongArchiveTest, ManySlides) {
    TempArchive t;
    std::vector<std::string> infos(99999);
    for (int n = 1; n <= 99999; ++n)
        infos[n - 1] = n % 10 == 0 ? "" : "A01 Dia " + std::to_string(n); // every tenth free
    WriteSlides(t, infos);
    Archive a(t.dir());
    Counters c;
    ASSERT_FALSE(CountRecords(a, c));
    EXPECT_EQ(c.totalRecords, 99999);
    ASSERT_FALSE(AnalyseArchive(a, kFreeSlotMarker, c));
    EXPECT_EQ(c.freeSlots * 100000 + c.activeSlides, 9999 * 100000 + 90000);
    const auto list = Search(a, c.totalRecords, [&](SearchRun& run) {
        return ScanInfoText(run, c.totalRecords, "Dia 99999", true);
    });
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].substr(0, 8), "04099999"); // box 99999 % 255 + 1 = 40, slide 99999
    // Re-recording the last slide changes its 82 bytes and nothing else.
    std::string expected = t.read("dias.ddb");
    CurrentSlideData slide;
    KeySelection keys;
    ASSERT_FALSE(ReadSlide(a, 99999, slide, keys));
    EXPECT_EQ(keys.entries[0].name, "Alpen");
    slide.infoText = "Z99 Zuletzt";
    ASSERT_FALSE(WriteSlide(a, 99999, slide));
    EXPECT_TRUE(t.read("dias.ddb") ==
                expected.replace(99998u * 82, 82, RecordBytes({"A1"}, "Z99 Zuletzt", 40)));
}

TEST(LongArchiveTest, AllCharacters) {
    TempArchive t;
    const auto texts = AllCharacterTexts();
    std::vector<std::string> infos;
    for (size_t i = 0; i < texts.size(); ++i)
        infos.push_back("A0" + std::to_string(i) + " " + texts[i]);
    WriteSlides(t, infos);
    Archive a(t.dir());
    const std::string before = t.read("dias.ddb");
    const auto total = static_cast<int32_t>(texts.size());
    for (int32_t n = 1; n <= total; ++n) {
        CurrentSlideData slide;
        KeySelection keys;
        ASSERT_FALSE(ReadSlide(a, n, slide, keys));
        EXPECT_EQ(slide.infoText, infos[n - 1]);
        ASSERT_FALSE(WriteSlide(a, n, slide)); // saved again: the same bytes
        // Each text is found by an exact search and listed with all its bytes.
        const auto list = Search(
            a, total, [&](SearchRun& run) { return ScanInfoText(run, total, texts[n - 1], true); });
        ASSERT_EQ(list.size(), 1u) << n;
        EXPECT_EQ(list[0].substr(11), " " + texts[n - 1]);
    }
    EXPECT_EQ(t.read("dias.ddb"), before);
}

TEST(LongArchiveTest, FullKeywords) {
    // 17 keywords on level 1, 17 below each of them, 17 below each of those.
    TempArchive t;
    std::vector<std::pair<std::string, std::string>> l1, l2, l3;
    for (char a = 'A'; a < 'A' + 17; ++a) {
        l1.push_back({a + std::string("-Ebene1"), a + std::string("1")});
        for (char b = 'A'; b < 'A' + 17; ++b) {
            const std::string code2 = a + std::string("1") + b + "1";
            l2.push_back({b + std::string("-") + a + "-Ebene2", code2});
            for (char c = 'A'; c < 'A' + 17; ++c)
                l3.push_back({c + std::string("-") + a + b + "-Ebene3-lang!", code2 + c + "1"});
        }
    }
    const std::array<std::string, 3> files{KeywordBytes(l1), KeywordBytes(l2), KeywordBytes(l3)};
    for (int level = 1; level <= 3; ++level)
        t.write(KeywordFileName(level), files[level - 1]);
    t.write("dias.ddb", RecordBytes({"Q1Q1Q1", "Q1Q1", "Q1"}, "A01 Voll", 1)); // the last one
    Archive a(t.dir());
    LevelLists lists;
    for (int level = 1; level <= 3; ++level) {
        ASSERT_FALSE(LoadLevelList(a, lists, level, 17));
        EXPECT_EQ(lists.levels[level - 1].count, 17) << level;
    }
    EXPECT_EQ(lists.levels[2].currentCode + lists.levels[2].texts[16], "Q1Q1Q1Q-QQ-Ebene3-lang!");
    CurrentSlideData slide;
    KeySelection keys;
    ASSERT_FALSE(ReadSlide(a, 1, slide, keys));
    EXPECT_EQ(keys.count, 3);
    EXPECT_EQ(keys.entries[0].name, "Q-QQ-Ebene3-lang!");
    // Through the undo copies and back, byte for byte; the key list names every keyword.
    RefreshUndoCopies(a);
    ASSERT_EQ(RestoreFromUndoCopies(a), 0);
    for (int level = 1; level <= 3; ++level)
        EXPECT_EQ(t.read(KeywordFileName(level)), files[level - 1]);
    ASSERT_FALSE(WriteKeyList(a, Stamp));
    const std::string report = t.read("keyliste.txt");
    for (const auto& level : {l1, l2, l3})
        for (const auto& [text, code] : level)
            ASSERT_NE(report.find(text), std::string::npos) << text;
}

TEST(LongArchiveTest, LongIni) {
    // 10,000 lines: the settings among sections, keys and comments of other programs.
    std::string ini = "[LUMORETTA]\r\nDIAS=1\r\nTIP=3\r\nEDITOR=notepad.exe\r\n";
    for (int i = 0; i < 9996; ++i)
        ini += i % 100 == 0 ? "[FREMD" + std::to_string(i / 100) + "]\r\n"
               : i % 7 == 0
                   ? "; Kommentar " + std::to_string(i) + "\r\n"
                   : "Schluessel" + std::to_string(i) + "=Wert " + std::to_string(i) + "\r\n";
    TempArchive t;
    t.write("DIA.INI", ini);
    Archive a(t.dir());
    Settings s;
    Counters c;
    LoadSettings(a, s, c);
    EXPECT_EQ(s.tipNumber * 10 + c.activeSlides, 31);
    s.tipNumber = 4;
    ASSERT_TRUE(SaveSettings(a, s, c));
    // Every other line is still there, in its place; the new keys went to the own sections.
    const std::string saved = t.read("DIA.INI");
    const size_t other = saved.find("[FREMD0]");
    EXPECT_EQ(saved.substr(other, saved.find("[BACKUP]") - other),
              ini.substr(ini.find("[FREMD0]")));
    EXPECT_NE(saved.substr(0, other).find("TIP=4\r\n"), std::string::npos);
    Settings again;
    LoadSettings(a, again, c);
    EXPECT_EQ(again.tipNumber, 4);
}

TEST(LongArchiveTest, LongMemo) {
    // A memo of 1 MB: 16,384 lines of 62 bytes and CR LF.
    const std::string tail = "Ende des langen Memos \xE4\xF6\xFC\xDF\r\n";
    std::string memo;
    for (int i = 0; memo.size() < (1u << 20) - 64; ++i) {
        std::string line = "Zeile " + std::to_string(i) + " ";
        line.resize(62, static_cast<char>('a' + i % 26));
        memo += line + "\r\n";
    }
    memo += tail;
    TempArchive t;
    t.write("dias.ddb", RecordBytes({"A1"}, "A01 Memo", 1));
    t.write("memo/1.txt", memo);
    Archive a(t.dir());
    const auto read = ReadWholeFile(a.resolve("memo/1.txt"));
    ASSERT_TRUE(read);
    EXPECT_TRUE(*read == memo);
    EXPECT_EQ(
        Search(a, 1, [&](SearchRun& run) { return ScanMemo(run, 1, "ende des langen", false); })
            .size(),
        1u);
    // Listed whole in memo.txt, and written back unchanged.
    ASSERT_FALSE(WriteMemoList(a, {1}, Stamp));
    EXPECT_NE(t.read("memo.txt").find(tail), std::string::npos);
    EXPECT_GT(t.read("memo.txt").size(), memo.size());
    ASSERT_EQ(WriteFileAtomically(a.resolve("memo/1.txt"), *read), 0);
    EXPECT_TRUE(t.read("memo/1.txt") == memo);
}

} // namespace
} // namespace lumo::test
