#include "store/HeaderData.h"
#include "TestArchive.h"

#include <gtest/gtest.h>

using namespace lumo;
using namespace std::string_literals;
using lumo::test::HeaderRecordBytes;
using lumo::test::TempArchive;

namespace {

std::string Joined(const std::array<std::string, 8>& values) {
    std::string s = values[0];
    for (size_t i = 1; i < values.size(); ++i)
        s += "|" + values[i];
    return s;
}

} // namespace

TEST(HeaderDataTest, WritesFieldsInPlaceAndGrowsTheFileWithZeros) {
    TempArchive t;
    t.write("kopfdata.ddb", "");
    Archive a(t.dir());
    HeaderValues v{"Nikon F50", "50mm", "", "Kodachrome 64", "24x36", "1/125", "f/8", "12.06.87"};
    ASSERT_FALSE(WriteHeaderRecord(a, 3, v));
    const std::string third = HeaderRecordBytes({v.begin(), v.end()});
    EXPECT_EQ(t.read("kopfdata.ddb"), std::string(240, '\0') + third);
    // A value, a NUL and spaces; an empty value: a NUL and 14 spaces.
    EXPECT_EQ(third.substr(0, 45), "Nikon F50\0     50mm\0          \0              "s);

    // Fifteen characters fill the field without NUL, longer values are cut.
    ASSERT_FALSE(
        WriteHeaderRecord(a, 1, {"123456789012345", "", "", "", "", "", "", "1234567890123456"}));
    EXPECT_EQ(t.read("kopfdata.ddb"),
              HeaderRecordBytes({"123456789012345", "", "", "", "", "", "", "123456789012345"}) +
                  std::string(120, '\0') + third);
    HeaderValues back;
    ASSERT_FALSE(ReadHeaderRecord(a, 3, back));
    EXPECT_EQ(back, v);
}

TEST(HeaderDataTest, ReadsHandBuiltRecords) {
    std::string withNul = HeaderRecordBytes({"Leica R4", "", "123456789012345"});
    withNul.replace(15, 5, "AB\0CD"s); // bytes after the NUL do not count
    const std::string five =
        HeaderRecordBytes({"Leica R4", "", "Skylight"}) +
        HeaderRecordBytes({"Canon AE-1", "28mm", "", "Agfa", "6x6", "1/60", "f/11", "x"}) +
        withNul + std::string(240, ' ');
    // File ending in record 2: fields 1 and 2 whole, field 3 cut after 10 bytes.
    const std::string cut =
        std::string(120, '\0') +
        HeaderRecordBytes({"Olympus OM-2", "Zoom 35-105", "UV", "Fuji"}).substr(0, 40);
    const struct {
        const std::string& file;
        int32_t n;
        std::string values;
    } cases[] = {
        {five, 2, "Canon AE-1|28mm||Agfa|6x6|1/60|f/11|x"},
        {five, 3, "Leica R4|AB|123456789012345|||||"},
        {five, 6, "|||||||"},                         // begins exactly at the end of the file
        {five, 10, "|||||||"},                        // beyond it
        {cut, 2, "Olympus OM-2|Zoom 35-105|UV|||||"}, // missing bytes read as zero
    };
    TempArchive t;
    Archive a(t.dir());
    for (const auto& c : cases) {
        t.write("kopfdata.ddb", c.file);
        HeaderValues v;
        v.fill("alt");
        EXPECT_FALSE(ReadHeaderRecord(a, c.n, v)) << c.n;
        EXPECT_EQ(Joined(v), c.values) << c.n;
    }
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

TEST(HeaderFieldsTest, NamesAndProposals) {
    TempArchive t;
    Archive a(t.dir());
    HeaderFields k = ReadHeaderFields(a); // no DIA.INI
    const std::string builtIn = "Kamera|Objektiv|Filter|Filmtyp|Format|Belichtung|Blende|Datum";
    EXPECT_EQ(Joined(k.names), builtIn);
    for (const auto& p : k.proposals)
        EXPECT_TRUE(p.empty());

    // Proposals are cut to 15 bytes; "leer" is no entry. An empty field name keeps the
    // built-in one instead of an empty label.
    t.write("DIA.INI", "[KOPFDATA]\r\nFELDNAMEN=Apparat,,Filterglas\r\n"
                       "0=Nikon F50,leer,Leica R4 mit langem Namen\r\n3=,Agfa\r\n");
    k = ReadHeaderFields(a);
    EXPECT_EQ(Joined(k.names),
              "Apparat|Objektiv|Filterglas|Filmtyp|Format|Belichtung|Blende|Datum");
    EXPECT_EQ(k.proposals[0], (std::vector<std::string>{"Nikon F50", "Leica R4 mit la"}));
    EXPECT_EQ(k.proposals[3], (std::vector<std::string>{"", "Agfa"}));

    t.write("DIA.INI", "");
    ASSERT_TRUE(WriteFieldNames(a, k.names));
    ASSERT_TRUE(WriteProposalList(a, 3, {"Kodachrome", "Fuji"}));
    EXPECT_EQ(t.read("DIA.INI"),
              "[KOPFDATA]\r\nFELDNAMEN=Apparat,Objektiv,Filterglas,Filmtyp,Format,Belichtung,"
              "Blende,Datum\r\n3=Kodachrome,Fuji\r\n");
    // Fewer entries leave the elements beyond them as they are.
    ASSERT_TRUE(WriteProposalList(a, 3, {"Agfa"}));
    EXPECT_EQ(ReadHeaderFields(a).proposals[3], (std::vector<std::string>{"Agfa", "Fuji"}));
    EXPECT_FALSE(WriteProposalList(a, 8, {"x"}));
}
