#include "store/DemoArchive.h"
#include "TestArchive.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <gtest/gtest.h>

namespace lumo::test {
namespace {

// The demo archive: data files copied, DIAS holds the counted slides, the same seed the same bytes.
TEST(DemoArchiveTest, ConsistentAndDeterministic) {
    TempArchive t, data, again;
    for (const char* name : {"DIA.HLP", "HISTORY.WRI", "sounds/liesmich.txt"})
        data.write(name, name);
    DemoOptions o;
    o.dataDir = data.dir();
    DemoResult r = MakeDemoArchive(t.dir(), o);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(t.read("DIA.HLP") + t.read("history.wri") + t.read("sounds/liesmich.txt"),
              "DIA.HLPHISTORY.WRI");
    Archive a(t.dir());
    Counters c, loaded;
    Settings s;
    ASSERT_FALSE(CountRecords(a, c));
    LoadSettings(a, s, loaded);
    ASSERT_FALSE(AnalyseArchive(a, kFreeSlotMarker, c));
    EXPECT_EQ(std::to_string(c.totalRecords) + " " + std::to_string(s.slidesPerMagazine) + " " +
                  std::to_string(s.magazinesPerBox) + " " + s.editor,
              "400 50 2 notepad.exe");
    EXPECT_EQ(c.activeSlides, loaded.activeSlides);
    EXPECT_EQ(c.activeSlides, r.activeSlides);
    EXPECT_EQ(a.list("memo").size(), static_cast<size_t>(r.memos));
    ASSERT_TRUE(MakeDemoArchive(again.dir(), o).ok);
    for (const char* name : {"dias.ddb", "kopfdata.ddb", "DIA.INI", "keyword1"})
        EXPECT_EQ(t.read(name), again.read(name)) << name;
}

} // namespace
} // namespace lumo::test
