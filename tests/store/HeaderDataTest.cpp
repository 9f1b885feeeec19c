#include "store/HeaderData.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

using namespace lumo;
using lumo::test::TempArchive;

namespace {

// One 15-byte field by hand: value, NUL, spaces; 15 bytes without NUL.
std::string Field(std::string_view v) {
    std::string f(v.substr(0, 15));
    if (f.size() < 15) {
        f += '\0';
        f.resize(15, ' ');
    }
    return f;
}

std::string Record(const std::array<std::string, 8>& v) {
    std::string r;
    for (const auto& x : v)
        r += Field(x);
    return r;
}

} // namespace

TEST(HeaderDataTest, WriteIntoEmptyFileGrowsWithZeros) {
    TempArchive t;
    t.write("kopfdata.ddb", "");
    Archive a(t.dir());
    HeaderValues v{"Nikon F50", "50mm", "", "Kodachrome 64", "24x36", "1/125", "f/8", "12.06.87"};
    ASSERT_FALSE(WriteHeaderRecord(a, 3, v));
    std::string bytes = t.read("kopfdata.ddb");
    ASSERT_EQ(bytes.size(), 360u);
    EXPECT_EQ(bytes.substr(0, 240), std::string(240, '\0'));
    EXPECT_EQ(bytes.substr(240), Record(v));
    // "Nikon F50": 9 bytes, a NUL and 5 spaces.
    EXPECT_EQ(bytes.substr(240, 15), std::string("Nikon F50\0     ", 15));
    // An empty value: NUL and 14 spaces.
    EXPECT_EQ(bytes.substr(240 + 30, 15), std::string(1, '\0') + std::string(14, ' '));

    HeaderValues back;
    ASSERT_FALSE(ReadHeaderRecord(a, 3, back));
    EXPECT_EQ(back, v);
    // The never written records below read as empty values (zero bytes).
    ASSERT_FALSE(ReadHeaderRecord(a, 1, back));
    for (const auto& x : back)
        EXPECT_EQ(x, "");
}

TEST(HeaderDataTest, FifteenCharactersFillTheFieldAndLongerAreCut) {
    TempArchive t;
    t.write("kopfdata.ddb", "");
    Archive a(t.dir());
    HeaderValues v;
    v[0] = "123456789012345";  // exactly 15
    v[7] = "1234567890123456"; // 16
    ASSERT_FALSE(WriteHeaderRecord(a, 1, v));
    std::string bytes = t.read("kopfdata.ddb");
    ASSERT_EQ(bytes.size(), 120u);
    EXPECT_EQ(bytes.substr(0, 15), "123456789012345");
    EXPECT_EQ(bytes.substr(105, 15), "123456789012345");
    HeaderValues back;
    ASSERT_FALSE(ReadHeaderRecord(a, 1, back));
    EXPECT_EQ(back[0], "123456789012345");
    EXPECT_EQ(back[7], "123456789012345");
}

TEST(HeaderDataTest, ReadsHandBuiltRecords) {
    TempArchive t;
    std::array<std::string, 8> r1{"Leica R4", "", "Skylight", "", "", "", "", ""};
    std::array<std::string, 8> r2{"Canon AE-1", "28mm", "", "Agfa", "6x6", "1/60", "f/11", "x"};
    t.write("kopfdata.ddb", Record(r1) + Record(r2) + std::string(120 * 3, ' '));
    Archive a(t.dir());
    HeaderValues v;
    ASSERT_FALSE(ReadHeaderRecord(a, 2, v));
    EXPECT_EQ(v[0], "Canon AE-1");
    EXPECT_EQ(v[6], "f/11");
    // Record 10 of a 5-record file: empty values, no problem.
    v[0] = "alt";
    EXPECT_FALSE(ReadHeaderRecord(a, 10, v));
    for (const auto& x : v)
        EXPECT_EQ(x, "");
    // Record 6 begins exactly at the end of the file: does not exist either.
    EXPECT_FALSE(ReadHeaderRecord(a, 6, v));
    EXPECT_EQ(v[0], "");
}

TEST(HeaderDataTest, FileEndingInsideARecord) {
    TempArchive t;
    std::array<std::string, 8> r{"Olympus OM-2", "Zoom 35-105", "UV", "Fuji", "", "", "", ""};
    // 120 + 40 bytes: field 1 and 2 of record 2 whole, field 3 cut after 10 bytes.
    t.write("kopfdata.ddb", std::string(120, '\0') + Record(r).substr(0, 40));
    Archive a(t.dir());
    HeaderValues v;
    ASSERT_FALSE(ReadHeaderRecord(a, 2, v));
    EXPECT_EQ(v[0], "Olympus OM-2");
    EXPECT_EQ(v[1], "Zoom 35-105");
    EXPECT_EQ(v[2], "UV");
    EXPECT_EQ(v[3], ""); // missing bytes read as zero
}

TEST(HeaderDataTest, CannotOpenIsError31) {
    TempArchive t;
    Archive a(t.dir());
    HeaderValues v{"x"};
    EXPECT_EQ(ReadHeaderRecord(a, 1, v).kind, ProblemKind::Error31);
    EXPECT_EQ(v[0], "");
    EXPECT_EQ(WriteHeaderRecord(a, 1, v).kind, ProblemKind::Error31);
    EXPECT_FALSE(t.exists("kopfdata.ddb")); // never created here
    std::filesystem::create_directory(t.path("KOPFDATA.DDB"));
    EXPECT_EQ(WriteHeaderRecord(a, 1, v).kind, ProblemKind::Error31);
}

TEST(HeaderDataTest, FieldValueStopsAtNulOrFifteen) {
    const unsigned char withNul[15] = {'A', 'B', 0,   'C', ' ', ' ', ' ', ' ',
                                       ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    EXPECT_EQ(HeaderFieldValue(withNul), "AB");
    unsigned char full[16];
    std::fill(full, full + 16, 'q');
    EXPECT_EQ(HeaderFieldValue(full), std::string(15, 'q'));
}

TEST(HeaderFieldsTest, NamesAndProposals) {
    TempArchive t;
    Archive a(t.dir());
    HeaderFields k = ReadHeaderFields(a); // no DIA.INI
    EXPECT_EQ(k.names, (std::array<std::string, 8>{"Kamera", "Objektiv", "Filter", "Filmtyp",
                                                   "Format", "Belichtung", "Blende", "Datum"}));
    for (const auto& p : k.proposals)
        EXPECT_TRUE(p.empty());

    t.write("DIA.INI", "[KOPFDATA]\r\nFELDNAMEN=Apparat,Linse\r\n"
                       "0=Nikon F50,leer,Leica R4 mit langem Namen\r\n3=,Agfa\r\n");
    k = ReadHeaderFields(a);
    EXPECT_EQ(k.names[0], "Apparat");
    EXPECT_EQ(k.names[1], "Linse");
    EXPECT_EQ(k.names[2], "Filter");
    EXPECT_EQ(k.names[7], "Datum");
    EXPECT_EQ(k.proposals[0], (std::vector<std::string>{"Nikon F50", "Leica R4 mit la"}));
    EXPECT_EQ(k.proposals[3], (std::vector<std::string>{"", "Agfa"}));

    // An empty field name keeps the built-in one instead of an empty label.
    t.write("DIA.INI", "[KOPFDATA]\r\nFELDNAMEN=,Linse\r\n");
    EXPECT_EQ(ReadHeaderFields(a).names[0], "Kamera");
}

TEST(HeaderFieldsTest, WriteNamesAndLists) {
    TempArchive t;
    Archive a(t.dir());
    ASSERT_TRUE(WriteFieldNames(
        a, {"Kamera", "Objektiv", "Filter", "Filmtyp", "Format", "Belichtung", "Blende", "Datum"}));
    ASSERT_TRUE(WriteProposalList(a, 3, {"Kodachrome", "Fuji"}));
    EXPECT_EQ(t.read("DIA.INI"),
              "[KOPFDATA]\r\nFELDNAMEN=Kamera,Objektiv,Filter,Filmtyp,Format,Belichtung,Blende,"
              "Datum\r\n3=Kodachrome,Fuji\r\n");
    // Fewer entries leave the elements beyond them as they are.
    ASSERT_TRUE(WriteProposalList(a, 3, {"Agfa"}));
    EXPECT_EQ(ReadHeaderFields(a).proposals[3], (std::vector<std::string>{"Agfa", "Fuji"}));
    EXPECT_FALSE(WriteProposalList(a, 8, {"x"}));
}
