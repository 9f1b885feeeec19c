#pragma once
// Archives of plain slides for the deletion, memo, header data and box label windows.
#include "EditingTestSupport.h"

#include "editing/RecordCommands.h"
#include "search/gui/SearchCommands.h"

namespace lumo::test {

class RecordsTest : public EditingTest {
protected:
    // Slide n: key A1, text "A01 Dia n", box 1 for slides 1..5 and box 2 after.
    static std::string Slide(int n) {
        return RecordBytes({"A1"}, "A01 Dia " + std::to_string(n), n <= 5 ? 1 : 2);
    }
    static std::string FreeSlot(int box) {
        return RecordBytes(std::vector<std::string>(8, "00"), kFreeSlotMarker, box);
    }
    void OpenSlides(int n, std::vector<std::string> replaced = {}) {
        ArchiveSetup s;
        for (int i = 1; i <= n; ++i)
            s.records.push_back(i <= static_cast<int>(replaced.size()) && !replaced[i - 1].empty()
                                    ? replaced[i - 1]
                                    : Slide(i));
        Open(s);
        prog->main().show();
    }
    std::string Ddb(int n) {
        std::string all;
        for (int i = 1; i <= n; ++i)
            all += Slide(i);
        return all;
    }
    RecordCommands& records() { return prog->records(); }
    SearchCommands& search() { return prog->search(); }
};

} // namespace lumo::test
