// Archives at the limits, read and written again without losing a byte.
#include "LongTexts.h"
#include "TestArchive.h"

#include "search/Reports.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <gtest/gtest.h>

namespace lumo::test {
namespace {

ReportStamp Stamp() {
    return {"01.02.03", "04:05:06"};
}

TEST(LongArchiveTest, AllCharactersAreReadAndSavedAgainUnchanged) {
    TempArchive t;
    std::string dias;
    for (const auto& text : AllCharacterTexts())
        dias += RecordBytes({"A1"}, "A01 " + text, 1);
    t.write("dias.ddb", dias);
    for (const char* name : {"keyword2", "keyword3"})
        t.write(name, "");
    t.write("keyword1", KeywordBytes({{"Alpen", "A1"}}));
    Archive a(t.dir());
    for (int32_t n = 1; n <= static_cast<int32_t>(AllCharacterTexts().size()); ++n) {
        CurrentSlideData slide;
        KeySelection keys;
        ASSERT_FALSE(ReadSlide(a, n, slide, keys));
        EXPECT_EQ(slide.infoText, "A01 " + AllCharacterTexts()[n - 1]);
        ASSERT_FALSE(WriteSlide(a, n, slide));
    }
    EXPECT_EQ(t.read("dias.ddb"), dias);
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
    const std::string tail = "Ende des langen Memos \xE4\xF6\xFC\xDF\r\n";
    std::string memo;
    for (int i = 0; memo.size() < (1u << 20); ++i)
        memo += "Zeile " + std::to_string(i) + " " + std::string(50, char('a' + i % 26)) + "\r\n";
    memo += tail;
    TempArchive t;
    t.write("dias.ddb", RecordBytes({"A1"}, "A01 Memo", 1));
    t.write("memo/1.txt", memo);
    Archive a(t.dir());
    // A memo of 1 MB is listed whole in memo.txt.
    ASSERT_FALSE(WriteMemoList(a, {1}, Stamp));
    EXPECT_NE(t.read("memo.txt").find(tail), std::string::npos);
    EXPECT_GT(t.read("memo.txt").size(), memo.size());
}

} // namespace
} // namespace lumo::test
