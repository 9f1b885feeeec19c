// Code padding, info text trimming and the compaction of the selected keys.
#include "editing/logic/SlideEntryLogic.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

KeySelection Selection(std::initializer_list<std::pair<const char*, const char*>> keys) {
    KeySelection s;
    s.clearAll();
    for (const auto& [code, name] : keys) {
        s.entries[static_cast<size_t>(s.count)] = {code, name};
        ++s.count;
    }
    return s;
}

TEST(SlideEntryLogic, CodesArePaddedToSixBytes) {
    EXPECT_EQ(PadKeyCode("B1"), "B1    ");
    EXPECT_EQ(PadKeyCode("B1W2"), "B1W2  ");
    EXPECT_EQ(PadKeyCode("B1W2K3"), "B1W2K3");
    EXPECT_EQ(PadKeyCode("B1    "), "B1    ");
    EXPECT_EQ(PadKeyCode(""), "");
}

TEST(SlideEntryLogic, SlotCodesTakeTheUsedEntriesAndLeaveTheRestEmpty) {
    const auto s = Selection({{"B1", "Berge"}, {"B1A1", "Alpen"}, {"B1A1Z1", "Zugspitze"}});
    const auto slots = SlotCodesFromSelection(s);
    EXPECT_EQ(slots[0], "B1    ");
    EXPECT_EQ(slots[1], "B1A1  ");
    EXPECT_EQ(slots[2], "B1A1Z1");
    for (size_t i = 3; i < 8; ++i)
        EXPECT_EQ(slots[i], "") << i;

    // Entries emptied by the selected-keys dialog carry EmptyKeyCode: still empty slots.
    KeySelection t = s;
    t.entries[3] = {std::string(kEmptyKeyCode), ""};
    t.count = 3;
    EXPECT_EQ(SlotCodesFromSelection(t)[3], "");
}

TEST(SlideEntryLogic, MagazineCodeIsThreeBytes) {
    EXPECT_EQ(PadMagazineCode("A07"), "A07");
    EXPECT_EQ(PadMagazineCode("A7"), "A7 ");
    EXPECT_EQ(PadMagazineCode(""), "   ");
    EXPECT_EQ(PadMagazineCode("A071"), "A07");
}

TEST(SlideEntryLogic, InformationTextEndsAtThePairOfSpaces) {
    EXPECT_EQ(TrimInformationText("A01 Urlaub am Meer"), "Urlaub am Meer");
    EXPECT_EQ(TrimInformationText("A01 Urlaub  am Meer"), "Urlaub");
    // A single space directly before the end is dropped.
    EXPECT_EQ(TrimInformationText("A01 Urlaub "), "Urlaub");
    EXPECT_EQ(TrimInformationText("A01 Urlaub   "), "Urlaub");
    // Only 28 bytes from the fifth on are looked at.
    EXPECT_EQ(TrimInformationText("A01 1234567890123456789012345678XYZ"),
              "1234567890123456789012345678");
    EXPECT_EQ(TrimInformationText("A01 123456789012345678901234567 X"),
              "123456789012345678901234567");
    EXPECT_EQ(TrimInformationText("A01"), "");
    EXPECT_EQ(TrimInformationText("A01 "), "");
    EXPECT_EQ(TrimInfoString("B12 Haus am See  "), "B12 Haus am See");
    // The free-slot marker fills the layout exactly and survives.
    EXPECT_EQ(TrimInfoString("Dia wurde entnommen / Platz frei"),
              "Dia wurde entnommen / Platz frei");
}

// Every slot holding a code is kept in slot order; one that did not resolve shows its
// code and the marker. Empty slots (no code, blanks, EmptyKeyCode) carry no key.
TEST(SlideEntryLogic, EditedSlideKeepsEveryStoredCodeInOrder) {
    CurrentSlideData slide;
    slide.storedKeys = {"XX    ", "B1    ", "", "B1A1Z1", "00    ", "      ", "Q9A1B1", "00"};
    KeySelection resolved;
    resolved.clearAll(kEmptyKeyCode);
    resolved.entries[1] = {"B1", "Berge"};
    resolved.entries[3] = {"B1A1Z1", "Zugspitze"};
    resolved.count = 2;

    const auto keys = SelectionFromSlide(slide, resolved);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"XX (unbekannt)", "XX    "},
        {"Berge", "B1    "},
        {"Zugspitze", "B1A1Z1"},
        {"Q9A1B1 (unbekannt)", "Q9A1B1"}};
    ASSERT_EQ(keys.count, 4);
    for (size_t i = 0; i < 8; ++i) {
        const auto [name, code] =
            i < expected.size() ? expected[i] : std::pair<std::string, std::string>{"", "00    "};
        EXPECT_EQ(keys.entries[i].name, name) << i;
        EXPECT_EQ(keys.entries[i].code, code) << i;
    }
    // Saved again, the record holds the same codes.
    const auto slots = SlotCodesFromSelection(keys);
    EXPECT_EQ(slots,
              (std::array<std::string, 8>{"XX    ", "B1    ", "B1A1Z1", "Q9A1B1", "", "", "", ""}));
}

TEST(SlideEntryLogic, CompactionDropsUncheckedKeysAndKeepsTheOrder) {
    auto s =
        Selection({{"A1", "Alpen"}, {"B1", "Berge"}, {"C1", "City"}, {"D1", "Dom"}, {"E1", "Eis"}});
    CompactSelection(s, {false, true, false, true, true, false, false, false});
    EXPECT_EQ(s.count, 3);
    EXPECT_EQ(s.entries[0].name, "Berge");
    EXPECT_EQ(s.entries[0].code, "B1");
    EXPECT_EQ(s.entries[1].name, "Dom");
    EXPECT_EQ(s.entries[2].name, "Eis");
    EXPECT_EQ(s.entries[2].code, "E1");
    for (size_t i = 3; i < 8; ++i) {
        EXPECT_EQ(s.entries[i].name, "") << i;
        EXPECT_EQ(s.entries[i].code, kEmptyKeyCode) << i;
    }
}

TEST(SlideEntryLogic, CompactionOfAFullSelectionKeepingOnlyTheLast) {
    auto s = Selection({{"A1", "a"},
                        {"B1", "b"},
                        {"C1", "c"},
                        {"D1", "d"},
                        {"E1", "e"},
                        {"F1", "f"},
                        {"G1", "g"},
                        {"H1", "h"}});
    CompactSelection(s, {false, false, false, false, false, false, false, true});
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(s.entries[0].name, "h");
    EXPECT_EQ(s.entries[0].code, "H1");
    EXPECT_EQ(s.entries[7].name, "");

    auto all = Selection({{"A1", "a"}, {"B1", "b"}});
    CompactSelection(all, {true, true, false, false, false, false, false, false});
    EXPECT_EQ(all.count, 2);
    EXPECT_EQ(all.entries[1].name, "b");

    auto none = Selection({{"A1", "a"}, {"B1", "b"}});
    CompactSelection(none, {});
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(none.entries[0].name, "");
    EXPECT_EQ(none.entries[0].code, kEmptyKeyCode);
}

} // namespace
} // namespace lumo
