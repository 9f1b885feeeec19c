#include "store/DemoArchive.h"
#include "TestArchive.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace lumo::test {
namespace {

TEST(DemoArchiveTest, ProducesAConsistentArchive) {
    TempArchive t, data;
    for (const char* name : {"sounds/click.wav", "tips/1.tip", "DIA.HLP", "HISTORY.WRI",
                             "bilder/autor.bmp", "sounds/liesmich.txt"})
        data.write(name, name);
    DemoOptions o;
    o.dataDir = data.dir();
    DemoResult r = MakeDemoArchive(t.dir(), o);
    ASSERT_TRUE(r.ok) << r.error;
    std::string copied;
    for (const char* name : {"sounds/click.wav", "tips/1.tip", "DIA.HLP", "history.wri",
                             "bilder/autor.bmp", "sounds/liesmich.txt"})
        copied += t.read(name) + "|";
    EXPECT_EQ(copied, "sounds/click.wav|tips/1.tip|DIA.HLP|HISTORY.WRI|bilder/autor.bmp||");
    Archive a(t.dir());
    Counters c, loaded;
    Settings s;
    ASSERT_FALSE(CountRecords(a, c));
    EXPECT_EQ(c.totalRecords, 400);
    LoadSettings(a, s, loaded);
    EXPECT_EQ(std::to_string(s.slidesPerMagazine) + " " + std::to_string(s.magazinesPerBox) + " " +
                  std::to_string(s.sound) + " " + std::to_string(s.tipNumber) + " " + s.editor,
              "50 2 1 1 notepad.exe");
    ASSERT_FALSE(AnalyseArchive(a, kFreeSlotMarker, c));
    EXPECT_EQ(c.activeSlides, loaded.activeSlides); // DIAS holds the counted slides
    EXPECT_EQ(c.activeSlides, r.activeSlides);
    EXPECT_GT(c.freeSlots, 0);

    // Every key of every active record resolves; positions follow the box rule.
    KeywordCache cache;
    int checked = 0, withHeader = 0;
    for (int32_t n = 1; n <= c.totalRecords; ++n) {
        CurrentSlideData slide;
        KeySelection keys;
        HeaderValues hv;
        ASSERT_FALSE(ReadSlide(a, n, slide, keys, &cache));
        ASSERT_FALSE(ReadHeaderRecord(a, n, hv));
        withHeader += !hv[0].empty();
        if (slide.infoText == kFreeSlotMarker) {
            EXPECT_EQ(slide.storedKeys[0], kEmptyKeyCode);
            continue;
        }
        const auto used = 8 - std::count(slide.storedKeys.begin(), slide.storedKeys.end(),
                                         std::string(kEmptyKeyCode));
        EXPECT_GE(used, 1);
        EXPECT_EQ(keys.count, used) << n;
        EXPECT_LE(slide.infoText.size(), 32u);
        EXPECT_EQ(slide.infoText.substr(0, 4), PrecomputedPosition(n, 50, 2, true) + " ");
        EXPECT_EQ(slide.boxNumber, PrecomputedBox(n, 50, 2, true));
        ++checked;
    }
    EXPECT_EQ(checked, c.activeSlides);
    EXPECT_GT(withHeader, 50);

    // Keyword tree: code rule, at most 17 per list, umlauts on every level.
    for (int level = 1; level <= 3; ++level) {
        const std::string file = t.read(KeywordFileName(level));
        const auto entries = ParseKeywordFile(file);
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(file.back(), '*');
        EXPECT_EQ(t.read(KeywordOldFileName(level)), "");
        bool umlaut = false;
        std::map<std::string, int> perParent;
        std::set<std::string> codes;
        for (const auto& e : entries) {
            ASSERT_EQ(e.code.size(), static_cast<size_t>(level) * 2) << e.code;
            EXPECT_LE(e.text.size(), 18u);
            EXPECT_TRUE(e.text[0] >= 'A' && e.text[0] <= 'Z' && e.code.back() >= '1' &&
                        e.code.back() <= '9' && e.code[e.code.size() - 2] == e.text[0])
                << e.text << " " << e.code;
            EXPECT_TRUE(codes.insert(e.code).second) << e.code;
            EXPECT_LE(++perParent[e.code.substr(0, e.code.size() - 2)], 17) << e.code;
            umlaut = umlaut ||
                     std::any_of(e.text.begin(), e.text.end(), [](char ch) { return ch & 0x80; });
        }
        EXPECT_TRUE(umlaut) << "level " << level;
    }
    std::string m, th;
    ReadBoxLabel(a, 1, m, th);
    EXPECT_NE(m, kDefaultMagazineText);
    EXPECT_NE(th, kDefaultThemeText);
    EXPECT_EQ(ReadHeaderFields(a).proposals[0].front(), "Nikon F50");
    EXPECT_EQ(r.memos, r.activeSlides / 8);
    EXPECT_GT(r.memos, 0);
    EXPECT_EQ(a.list("memo").size(), static_cast<size_t>(r.memos));
    for (const auto& name : a.list("memo"))
        EXPECT_NE(t.read("memo/" + name).find("\r\n"), std::string::npos) << name;
}

TEST(DemoArchiveTest, DeterministicAndSized) {
    TempArchive a, b, c;
    DemoOptions o;
    o.slides = 1200;
    o.memos = 30;
    ASSERT_TRUE(MakeDemoArchive(a.dir(), o).ok);
    ASSERT_TRUE(MakeDemoArchive(b.dir(), o).ok);
    for (const char* name : {"dias.ddb", "kopfdata.ddb", "DIA.INI"})
        EXPECT_EQ(a.read(name), b.read(name)) << name;
    EXPECT_EQ(a.read("dias.ddb").size(), 1200u * 82u);
    EXPECT_EQ(Archive(a.dir()).list("memo").size(), 30u);
    // Boxes beyond 255 do not occur: 1200 slides fill boxes 1..12.
    EXPECT_EQ(static_cast<unsigned char>(a.read("dias.ddb").back()), 12);
    o.seed = 7;
    ASSERT_TRUE(MakeDemoArchive(c.dir(), o).ok);
    EXPECT_NE(a.read("dias.ddb"), c.read("dias.ddb"));
    EXPECT_EQ(Latin1FromUtf8("Gebäude Übersee Straße"), "Geb\xe4ude \xdc"
                                                        "bersee Stra\xdf"
                                                        "e");
    EXPECT_EQ(Latin1FromUtf8("a–b €"), "a\x96"
                                       "b \x80");
    EXPECT_EQ(Latin1FromUtf8("日"), "?");
}

} // namespace
} // namespace lumo::test
