#pragma once
// A whole program in test mode over a small hand-built archive, for the search windows.
#include "ProgramFixture.h"

#include "search/Reports.h"
#include "search/gui/SearchCommands.h"
#include "store/FileUtil.h"

namespace lumo::test {

inline std::string Expected(const std::string& caseName, const std::string& file) {
    return ReadWholeFile(std::string(LUMO_TEST_DATA) + "/reports/" + caseName + "/" + file)
        .value_or("(missing " + caseName + ")");
}

// The canvas y of a result row (1..17).
inline int RowY(int row) {
    return 60 + 17 * (row - 1) + 5;
}

class SearchGui : public ProgramTest {
protected:
    // Keyword files, DIA.INI (the editor /bin/true, no tips) and dias.ddb from the records.
    void WriteArchive(const std::string& records, int activeSlides) {
        archive.write("keyword1", KeywordBytes({{"Natur", "N1"}, {"Urlaub", "U1"}}));
        archive.write("keyword2", KeywordBytes({{"Blumen", "N1B1"}}));
        archive.write("keyword3", KeywordBytes({{"Rosen", "N1B1R1"}}));
        archive.write("DIA.INI", "[LUMORETTA]\r\nDIAS=" + std::to_string(activeSlides) +
                                     "\r\nEDITOR=/bin/true\r\nTIP=0\r\nSOUND=1\r\n");
        archive.write("dias.ddb", records);
    }
    // Slides 1, 3, 5 carry N1 (or below); 4 and 7 are free; box 1 holds 1-4, box 2 5-7.
    void WriteSevenSlides() {
        const std::string freeSlot = "Dia wurde entnommen / Platz frei";
        WriteArchive(
            RecordBytes({"N1"}, "A01 Wiese", 1) + RecordBytes({"U1"}, "A02 Strand", 1) +
                RecordBytes({"N1B1"}, "A03 Garten", 1) + RecordBytes({"00    "}, freeSlot, 1) +
                RecordBytes({"N1B1R1", "U1"}, "B01 Rosen am Meer", 2) +
                RecordBytes({"U1"}, "B02 Rom im Regen", 2) + RecordBytes({"00    "}, freeSlot, 2),
            5);
    }
    void Start() {
        program = std::make_unique<Program>(archive.dir(), true);
        ASSERT_TRUE(program->Start());
        search().setClock([] { return ReportStamp{"05.12.98", "14:30:00"}; });
        messages().clearShown();
        program->sound().clearRecord();
        program->launcher().clearRecord();
    }
    // The seven slides listed by a search for U1 (slides 2, 5, 6 on rows 1-3).
    void StartWithResults() {
        WriteSevenSlides();
        Start();
        KeySearch({{"U1", "Urlaub"}});
        ASSERT_EQ(state().foundCount, 3);
        messages().clearShown();
        program->sound().clearRecord();
    }
    SearchCommands& search() { return program->search(); }
    QStringList started() { return program->launcher().started(); }
    // Mode 210 through tool button 5, the given keys selected, then "SUCHE DIAS".
    void KeySearch(const std::vector<std::pair<std::string, std::string>>& codesAndNames) {
        main().toolButton(5)->click();
        ASSERT_EQ(state().screenMode, mode::KeySearchSetup);
        for (const auto& [code, name] : codesAndNames)
            state().keys.entries[static_cast<size_t>(state().keys.count++)] = {code, name};
        messages().clearShown();
        ASSERT_TRUE(main().softButton(1)->isEnabled());
        main().softButton(1)->click();
    }
    // Mode, status, found count, status panel 3, soft buttons 1 and 2, the slides on screen.
    std::string Summary() {
        std::string s = "mode " + std::to_string(state().screenMode) + ", status " +
                        std::to_string(state().currentStatus) + ", found " +
                        std::to_string(state().foundCount) + ", panel " +
                        main().statusPanel(2).toStdString() + ", " +
                        main().softButton(1)->text().toStdString() + " / " +
                        main().softButton(2)->text().toStdString() + ", rows";
        for (const auto& row : state().page.rows)
            s += row.slide.empty() ? "" : " " + row.slide;
        return s;
    }
};

} // namespace lumo::test
