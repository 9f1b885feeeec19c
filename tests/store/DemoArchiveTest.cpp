#include "store/DemoArchive.h"
#include "TestArchive.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace lumo;
using lumo::test::TempArchive;

namespace {

bool HasByteAbove127(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) > 127)
            return true;
    return false;
}

} // namespace

TEST(DemoArchiveTest, ProducesAConsistentArchive) {
    TempArchive t;
    TempArchive data;
    data.write("sounds/click.wav", "RIFF");
    data.write("sounds/liesmich.txt", "nicht kopieren");
    data.write("tips/1.tip", "Tipp");
    data.write("DIA.HLP", "<html></html>");
    data.write("HISTORY.WRI", "Version 3.03\r\n");
    data.write("bilder/autor.bmp", "BM");
    DemoOptions o;
    o.dataDir = data.dir();
    DemoResult r = MakeDemoArchive(t.dir(), o);
    ASSERT_TRUE(r.ok) << r.error;
    Archive a(t.dir());

    Counters c;
    ASSERT_FALSE(CountRecords(a, c));
    EXPECT_EQ(c.totalRecords, 400);
    Settings s;
    Counters loaded;
    LoadSettings(a, s, loaded);
    EXPECT_EQ(s.slidesPerMagazine, 50);
    EXPECT_EQ(s.magazinesPerBox, 2);
    EXPECT_TRUE(s.sound);
    EXPECT_EQ(s.tipNumber, 1);
    EXPECT_EQ(s.editor, "notepad.exe");
    ASSERT_FALSE(AnalyseArchive(a, kFreeSlotMarker, c));
    EXPECT_EQ(c.activeSlides, loaded.activeSlides); // DIAS holds the counted slides
    EXPECT_GT(c.freeSlots, 0);
    EXPECT_EQ(c.activeSlides, r.activeSlides);

    // Every key of every active record resolves; positions follow the box rule.
    KeywordCache cache;
    int checked = 0;
    for (int32_t n = 1; n <= c.totalRecords; ++n) {
        CurrentSlideData slide;
        KeySelection keys;
        ASSERT_FALSE(ReadSlide(a, n, slide, keys, &cache));
        if (slide.infoText == kFreeSlotMarker) {
            EXPECT_EQ(slide.storedKeys[0], kEmptyKeyCode);
            continue;
        }
        int used = 0;
        for (const auto& k : slide.storedKeys)
            if (k != kEmptyKeyCode)
                ++used;
        EXPECT_GE(used, 1);
        EXPECT_EQ(keys.count, used) << n;
        EXPECT_LE(slide.infoText.size(), 32u);
        EXPECT_EQ(slide.infoText.substr(0, 4), PrecomputedPosition(n, 50, 2, true) + " ");
        EXPECT_EQ(slide.boxNumber, PrecomputedBox(n, 50, 2, true));
        ++checked;
    }
    EXPECT_EQ(checked, c.activeSlides);

    // Keyword tree: code rule, at most 17 per list, umlauts on every level.
    for (int level = 1; level <= 3; ++level) {
        auto entries = ParseKeywordFile(t.read(KeywordFileName(level)));
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(t.read(KeywordFileName(level)).back(), '*');
        EXPECT_EQ(t.read(KeywordOldFileName(level)), "");
        bool umlaut = false;
        std::map<std::string, int> perParent;
        std::set<std::string> codes;
        for (const auto& e : entries) {
            ASSERT_EQ(e.code.size(), static_cast<size_t>(level) * 2) << e.code;
            EXPECT_LE(e.text.size(), 18u);
            EXPECT_TRUE(e.text[0] >= 'A' && e.text[0] <= 'Z') << e.text;
            EXPECT_EQ(e.code[e.code.size() - 2], e.text[0]);
            EXPECT_TRUE(e.code.back() >= '1' && e.code.back() <= '9') << e.code;
            EXPECT_TRUE(codes.insert(e.code).second) << e.code;
            ++perParent[e.code.substr(0, e.code.size() - 2)];
            umlaut = umlaut || HasByteAbove127(e.text);
        }
        for (const auto& [parent, count] : perParent)
            EXPECT_LE(count, 17) << parent;
        EXPECT_TRUE(umlaut) << "level " << level;
    }

    // Header data, box labels, memos and copied data files.
    HeaderValues hv;
    int withHeader = 0;
    for (int32_t n = 1; n <= c.totalRecords; ++n) {
        ASSERT_FALSE(ReadHeaderRecord(a, n, hv));
        if (!hv[0].empty())
            ++withHeader;
    }
    EXPECT_GT(withHeader, 50);
    std::string m, th;
    ReadBoxLabel(a, 1, m, th);
    EXPECT_NE(m, kDefaultMagazineText);
    EXPECT_NE(th, kDefaultThemeText);
    EXPECT_EQ(ReadHeaderFields(a).proposals[0].front(), "Nikon F50");
    EXPECT_EQ(r.memos, r.activeSlides / 8);
    int memoFiles = 0;
    for (auto& e : std::filesystem::directory_iterator(t.path("memo"))) {
        std::string text = t.read("memo/" + e.path().filename().string());
        EXPECT_NE(text.find("\r\n"), std::string::npos);
        ++memoFiles;
    }
    EXPECT_EQ(memoFiles, r.memos);
    EXPECT_GT(memoFiles, 0);
    EXPECT_EQ(t.read("sounds/click.wav"), "RIFF");
    EXPECT_FALSE(t.exists("sounds/liesmich.txt"));
    EXPECT_EQ(t.read("tips/1.tip"), "Tipp");
    EXPECT_EQ(t.read("DIA.HLP"), "<html></html>");
    EXPECT_EQ(t.read("history.wri"), "Version 3.03\r\n");
    EXPECT_EQ(t.read("bilder/autor.bmp"), "BM");
}

TEST(DemoArchiveTest, DeterministicAndSized) {
    TempArchive a, b;
    DemoOptions o;
    o.slides = 1200;
    o.memos = 30;
    ASSERT_TRUE(MakeDemoArchive(a.dir(), o).ok);
    ASSERT_TRUE(MakeDemoArchive(b.dir(), o).ok);
    EXPECT_EQ(a.read("dias.ddb"), b.read("dias.ddb"));
    EXPECT_EQ(a.read("kopfdata.ddb"), b.read("kopfdata.ddb"));
    EXPECT_EQ(a.read("DIA.INI"), b.read("DIA.INI"));
    EXPECT_EQ(a.read("dias.ddb").size(), 1200u * 82u);
    int memos = 0;
    for (auto& e : std::filesystem::directory_iterator(a.path("memo"))) {
        (void)e;
        ++memos;
    }
    EXPECT_EQ(memos, 30);
    // Boxes beyond 255 do not occur: 1200 slides fill boxes 1..12.
    Archive arch(a.dir());
    CurrentSlideData s;
    KeySelection k;
    ASSERT_FALSE(ReadSlide(arch, 1200, s, k));
    EXPECT_EQ(s.boxNumber, 12);
    o.seed = 7;
    TempArchive c;
    ASSERT_TRUE(MakeDemoArchive(c.dir(), o).ok);
    EXPECT_NE(a.read("dias.ddb"), c.read("dias.ddb"));
}

TEST(DemoArchiveTest, Latin1FromUtf8) {
    EXPECT_EQ(Latin1FromUtf8("Gebäude Übersee Straße"), "Geb\xe4ude \xdc"
                                                        "bersee Stra\xdf"
                                                        "e");
    EXPECT_EQ(Latin1FromUtf8("a–b €"), "a\x96"
                                       "b \x80");
    EXPECT_EQ(Latin1FromUtf8("日"), "?");
}
