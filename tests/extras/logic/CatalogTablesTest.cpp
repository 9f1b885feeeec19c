// The catalogue as the exports read it, the spreadsheet table against bytes typed from its
// layout, the loading list's order, label places and the sidecar contents.
#include "TestArchive.h"
#include "extras/logic/Catalog.h"
#include "extras/logic/CsvTable.h"
#include "extras/logic/LabelLayout.h"
#include "extras/logic/LoadingList.h"
#include "extras/logic/SidecarContents.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

using test::HeaderRecordBytes;
using test::KeywordBytes;
using test::RecordBytes;
using test::TempArchive;

// The two code page 1252 letters the fixture uses, as UTF-8; everything else is ASCII.
std::string TestUtf8(std::string_view cp1252) {
    std::string out;
    for (char c : cp1252) {
        if (c == '\xFC')
            out += "\xC3\xBC"; // ü
        else if (c == '\x80')
            out += "\xE2\x82\xAC"; // €
        else
            out += c;
    }
    return out;
}

// Keywords Natur (N1) > Blumen (N1B1) > Rosen (N1B1R1), Reise (R1), and a level-3 key
// X1Y1Z1 whose parents are missing from the files.
class CatalogArchive : public ::testing::Test {
protected:
    TempArchive archive;
    Archive store{archive.dir()};

    void SetUp() override {
        archive.write("keyword1", KeywordBytes({{"Natur", "N1"}, {"Reise", "R1"}}));
        archive.write("keyword2", KeywordBytes({{"Blumen", "N1B1"}}));
        archive.write("keyword3", KeywordBytes({{"Rosen", "N1B1R1"}, {"Zaun", "X1Y1Z1"}}));
        archive.write("dias.ddb", RecordBytes({"N1B1R1", "Q7", "R1"},
                                              "A05 Rosen; \"Sorte\" Gl\xFC"
                                              "ck   ",
                                              4) +
                                      RecordBytes({}, "Dia wurde entnommen / Platz frei", 4) +
                                      std::string(82, '\0') +
                                      RecordBytes({"", "N1B1"}, "??? Preis 5\x80", 0) +
                                      RecordBytes({"X1Y1Z1", "00    "}, "B02 Zaun", 4));
        archive.write("kopfdata.ddb",
                      HeaderRecordBytes({"Leica R4", "", "", "", "", "", "", "1.5.82"}) +
                          HeaderRecordBytes({}) + HeaderRecordBytes({}) +
                          HeaderRecordBytes({"", "50mm"}));
        archive.write("DIA.INI", "[KOPFDATA]\r\nFELDNAMEN=Apparat,Linse\r\n");
        archive.write("memo/4.txt", "Zeile 1\r\nZeile \"2\"\r\n");
    }
    std::vector<CatalogSlide> read(std::optional<std::vector<int32_t>> only = std::nullopt) {
        std::vector<CatalogSlide> slides;
        EXPECT_FALSE(ReadCatalog(store, slides, only));
        return slides;
    }
};

TEST(CsvTable, FieldsAreQuotedAsRfc4180Says) {
    // Empty and plain fields and CR LF inside one: the table's bytes below.
    const std::vector<std::pair<std::string, std::string>> cases{{"a;b", "\"a;b\""},
                                                                 {"6\"x7\"", "\"6\"\"x7\"\"\""},
                                                                 {"nur\nLF", "\"nur\nLF\""},
                                                                 {"a,b 'c'", "a,b 'c'"}};
    for (const auto& [field, quoted] : cases)
        EXPECT_EQ(CsvField(field), quoted) << field;
}

TEST_F(CatalogArchive, TableHoldsEverySlideWithPathsHeaderDataAndMemo) {
    const auto slides = read();
    const std::string csv = CatalogCsv(slides, ReadHeaderFields(store).names, TestUtf8);
    const std::string expected =
        "\xEF\xBB\xBF"
        "Dia-Nr.;Kasten;Position;Informationstext;"
        "Schl\xC3\xBCssel 1;Schl\xC3\xBCssel 2;Schl\xC3\xBCssel 3;Schl\xC3\xBCssel 4;"
        "Schl\xC3\xBCssel 5;Schl\xC3\xBCssel 6;Schl\xC3\xBCssel 7;Schl\xC3\xBCssel 8;"
        "Apparat;Linse;Filter;Filmtyp;Format;Belichtung;Blende;Datum;Memo\r\n"
        "1;4;A05;\"Rosen; \"\"Sorte\"\" Gl\xC3\xBC"
        "ck\";Natur / Blumen / Rosen;Q7;Reise;;;;;;"
        "Leica R4;;;;;;;1.5.82;\r\n"
        "4;;???;Preis 5\xE2\x82\xAC;;Natur / Blumen;;;;;;;;50mm;;;;;;;\"Zeile 1\r\nZeile "
        "\"\"2\"\"\"\r\n"
        "5;4;B02;Zaun;X1 / X1Y1 / Zaun;;;;;;;;;;;;;;;;\r\n";
    EXPECT_EQ(csv, expected);
}

TEST_F(CatalogArchive, OnlyTheChosenSlidesAndNoUnreadableMemo) {
    const auto slides = read(std::vector<int32_t>{5, 2, 99});
    ASSERT_EQ(slides.size(), 1u); // 2 is free, 99 does not exist
    EXPECT_EQ(slides[0].number, 5);

    std::filesystem::remove(archive.path("memo/4.txt"));
    std::filesystem::create_directory(archive.path("memo/4.txt"));
    std::vector<CatalogSlide> out;
    EXPECT_EQ(ReadCatalog(store, out).kind, ProblemKind::Io);
    std::filesystem::remove(archive.path("dias.ddb"));
    EXPECT_EQ(ReadCatalog(store, out).kind, ProblemKind::Error31);
}

TEST_F(CatalogArchive, SidecarContentsNameResolvedKeysOnly) {
    const auto slides = read();
    const SidecarContents c = SidecarContentsOf(slides[0], TestUtf8);
    EXPECT_EQ(c.subjects, (std::vector<std::string>{"Natur", "Blumen", "Rosen", "Reise"}));
    EXPECT_EQ(c.hierarchical, (std::vector<std::string>{"Natur|Blumen|Rosen", "Reise"}));
    EXPECT_EQ(c.title, "Rosen; \"Sorte\" Gl\xC3\xBC"
                       "ck");
}

TEST_F(CatalogArchive, LabelTextsAndLoadingListOrder) {
    archive.write("dias.ddb", RecordBytes({"R1"}, "B01 Bus", 4) + RecordBytes({}, "A10 Zug", 4) +
                                  RecordBytes({}, "??? Ohne", 4) + RecordBytes({}, "A02 Rad", 4) +
                                  RecordBytes({}, "A01 Anderer Kasten", 5));
    const auto slides = read();
    EXPECT_EQ(LabelTextOf(slides[0]).head,
              "Dia 1  K 4  B01"); // info and key: the label PDF's words

    const LoadingList list = BuildLoadingList(4, slides, "Urlaub", "Sommer 1998");
    ASSERT_EQ(list.magazines.size(), 3u);
    EXPECT_EQ(list.slideCount(), 4u);
    std::vector<std::string> order;
    for (const auto& m : list.magazines)
        for (const auto& r : m.rows)
            order.push_back(m.letter + ":" + r.position + " " + std::to_string(r.number));
    EXPECT_EQ(order, (std::vector<std::string>{"A:A02 4", "A:A10 2", "B:B01 1", ":??? 3"}));
}

TEST(LabelLayout, StartPositionOnAPartlyUsedSheetAndNextSheets) {
    const LabelSheet& sheet = CommonLabelSheets()[2]; // 35,6 x 16,9 mm, 5 x 16
    ASSERT_EQ(sheet.perSheet(), 80);
    const auto places = PlaceLabels(sheet, 79, 4);
    ASSERT_EQ(places.size(), 4u);
    EXPECT_EQ(places[0].sheet, 0);
    EXPECT_DOUBLE_EQ(places[0].x, sheet.left + 3 * sheet.pitchX);
    EXPECT_DOUBLE_EQ(places[0].y, sheet.top + 15 * sheet.pitchY);
    EXPECT_EQ(places[2].sheet, 1);
    EXPECT_DOUBLE_EQ(places[2].x, sheet.left);
    EXPECT_DOUBLE_EQ(places[2].y, sheet.top);
    EXPECT_EQ(PlaceLabels(sheet, 81, 1)[0].sheet, 0); // beyond the sheet: from the first label
    for (const LabelSheet& s : CommonLabelSheets()) {
        EXPECT_GE(s.left, -1e-9) << s.name;
        EXPECT_LE(s.left + (s.columns - 1) * s.pitchX + s.labelWidth, kA4Width + 1e-9) << s.name;
        EXPECT_LE(s.top + (s.rows - 1) * s.pitchY + s.labelHeight, kA4Height + 1e-9) << s.name;
    }
    const LabelSheet own = LabelSheetOfSize(50, 20); // (194 + 2) / 52 and (281 + 2) / 22
    EXPECT_EQ(own.columns, 3);
    EXPECT_EQ(own.rows, 12);
    EXPECT_EQ(LabelSheetOfSize(200, 20).perSheet(), 0);
    EXPECT_TRUE(PlaceLabels(LabelSheetOfSize(0, 10), 1, 3).empty());
}

} // namespace
} // namespace lumo
