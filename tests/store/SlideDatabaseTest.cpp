// dias.ddb and kopfdata.ddb against records built by hand from the format tables.
#include "store/SlideDatabase.h"
#include "TestArchive.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"

#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace lumo::test {
namespace {
using namespace std::string_literals;
namespace fs = std::filesystem;

SlideRecord FromBytes(std::string_view b) {
    SlideRecord r;
    std::copy(b.begin(), b.end(), r.bytes.begin());
    return r;
}
std::string AsString(const SlideRecord& r) {
    return std::string(r.bytes.begin(), r.bytes.end());
}
CurrentSlideData Slide(std::array<std::string, 8> keys, std::string info, int box) {
    return {std::move(keys), std::move(info), box};
}
template <class Values> std::string Joined(const Values& values) {
    std::string s;
    for (const auto& v : values)
        s += v + "|";
    return s.substr(0, s.size() - 1);
}
// A small tree: B1 Berge > B1A1 Alpen > B1A1G1 Gletscher..., N1 Natur > N1B1 > N1B1R1.
void WriteKeywordTree(const TempArchive& t) {
    t.write("keyword1", KeywordBytes({{"Berge", "B1"}, {"Natur", "N1"}}));
    t.write("keyword2", KeywordBytes({{"Alpen", "B1A1"}, {"Blumen", "N1B1"}}));
    t.write("keyword3", KeywordBytes({{"Gletscherspalte im Eis", "B1A1G1"}, {"Rosen", "N1B1R1"}}));
}

TEST(SlideRecordTest, BuildPlacesEveryFieldAsTheRecordTableSays) {
    // Short codes end with a NUL, long ones are cut; info, NUL, spaces to 80; box mod 256.
    EXPECT_EQ(AsString(SlideRecord::Build(
                  {"B1    ", "B1C1  ", "B1C1D1", "00    ", "N1", "", "ABCDEFGH", "X"},
                  "A05 Urlaub Toskana", 300)),
              "B1    B1C1  B1C1D100    N1\0   \0     ABCDEFX\0    A05 Urlaub Toskana\0"
              "              \x2c"s);
    for (auto [info, box] :
         {std::pair{std::string(40, 'x'), 256}, {"", -1}, {std::string(31, 'y'), 7}})
        EXPECT_EQ(AsString(SlideRecord::Build({}, info, box)), RecordBytes({}, info, box)) << box;
    // An info field without NUL gives its 33 bytes, never the box byte.
    std::string full(82, 'k');
    full[81] = 'B';
    EXPECT_EQ(FromBytes(full).infoText(), std::string(33, 'k'));
}

TEST(CountRecordsTest, RoundsToTheNearestRecordAndFindsUpperCaseNames) {
    TempArchive t;
    Counters c;
    for (auto [size, records] :
         {std::pair<size_t, int32_t>{0, 0}, {40, 0}, {136, 2}, {286, 3}, {287, 4}}) {
        t.write("DIAS.DDB", std::string(size, 'a'));
        c.totalRecords = -5;
        EXPECT_FALSE(CountRecords(Archive(t.dir()), c)) << size;
        EXPECT_EQ(c.totalRecords, records) << size;
    }
}

TEST(ReadSlideTest, ResolvesEachSlotThroughTheLevelOfItsLength) {
    struct Slot {
        std::string bytes, stored, code, name; // bytes: the six bytes of the slot
    };
    const std::string none(kEmptyKeyCode);
    // A level-1 code only matches "B1" + 4 spaces, a level-2 code its 4 + 2 spaces.
    const std::array<Slot, 8> slots{{
        {"B1A1G1", "B1A1G1", "B1A1G1", "Gletscherspalte im"}, // name cut to 18
        {"B1x1  ", "B1x1  ", none, ""},                       // in no file
        {"B1A1  ", "B1A1  ", "B1A1", "Alpen"},                // level-2 code, no padding
        {"B1\0   "s, "B1", none, ""},                         // a short code matches nothing
        {"B1    ", "B1    ", "B1", "Berge neu"}, // a damaged file: the last one counts once
        {"\0     "s, "", none, ""},              // empty code
        {"B1A1G ", "B1A1G ", none, ""},          // not level 2 although it starts with B1A1
        {"N1B1R1", "N1B1R1", "N1B1R1", "Rosen"},
    }};
    TempArchive t;
    WriteKeywordTree(t);
    t.write("keyword1", KeywordBytes({{"Berge", "B1"}, {"Natur", "N1"}, {"Berge neu", "B1"}}));
    std::string rec = RecordBytes({}, "A02 Alpen", 2);
    for (size_t i = 0; i < 8; ++i)
        rec.replace(i * 6, 6, slots[i].bytes);
    t.write("dias.ddb", RecordBytes({}, "A01 erstes", 1) + rec);
    Archive a(t.dir());
    // ReadSlide with and without a cache, and a scan resolving with a frozen cache.
    for (int way = 0; way < 3; ++way) {
        CurrentSlideData s;
        KeySelection k;
        k.count = 5;
        k.entries[5].name = "alt";
        KeywordCache cache;
        cache.setFrozen(way == 2);
        if (way < 2)
            ASSERT_FALSE(ReadSlide(a, 2, s, k, way == 1 ? &cache : nullptr));
        else
            ASSERT_FALSE(ForEachRecord(a, 2, 2, [&](int32_t, const SlideRecord& r) {
                k.clearAll(kEmptyKeyCode);
                SlideFromRecord(r, s);
                EXPECT_FALSE(ResolveKeys(a, s, k, &cache));
                return true;
            }));
        EXPECT_EQ(s.infoText + "/" + std::to_string(s.boxNumber * 10 + k.count), "A02 Alpen/24");
        for (size_t i = 0; i < 8; ++i)
            EXPECT_EQ(s.storedKeys[i] + "|" + k.entries[i].code + "|" + k.entries[i].name,
                      slots[i].stored + "|" + slots[i].code + "|" + slots[i].name)
                << way << " slot " << i;
    }
}

TEST(ReadSlideTest, UnreadableKeywordFileStopsResolvingThere) {
    // level, huge (a sparse 3 TiB file: no memory for it), kind, error, keys resolved before
    const std::tuple<int, bool, ProblemKind, int, int32_t> cases[] = {
        {2, false, ProblemKind::KeywordOpenFailed, 2, 1},
        {3, true, ProblemKind::KeywordNoMemory, 12, 0}};
    for (const auto& [level, huge, kind, sysError, count] : cases) {
#if defined(__SANITIZE_ADDRESS__)
        if (huge)
            continue; // AddressSanitizer aborts on absurd allocations instead of failing them
#endif
        TempArchive t;
        WriteKeywordTree(t);
        t.write("dias.ddb", RecordBytes({"B1A1G1", "B1A1", "B1"}, "A01", 0));
        const auto file = t.path("keyword" + std::to_string(level));
        std::error_code ec;
        huge ? fs::resize_file(file, 3ull << 40, ec) : (void)fs::remove(file);
        if (ec)
            continue; // the file system refuses a sparse file of that size
        KeywordCache cache;
        for (KeywordCache* with : {static_cast<KeywordCache*>(nullptr), &cache}) {
            CurrentSlideData s;
            KeySelection k;
            Problem p = ReadSlide(Archive(t.dir()), 1, s, k, with);
            EXPECT_TRUE(p.kind == kind && p.level == level && p.sysError == sysError &&
                        k.count == count && k.entries[2].code == kEmptyKeyCode)
                << level << " " << p.sysError << " " << k.count;
        }
    }
}

TEST(ReadSlideTest, ShortLastRecordReadsAsIfPaddedWithZeros) {
    TempArchive t;
    WriteKeywordTree(t);
    Archive a(t.dir());
    // A 54-byte tail is record 2 (info: bytes 48..53), its missing bytes read as zero.
    t.write("dias.ddb", RecordBytes({}, "A01", 1) +
                            RecordBytes({"N1B1R1"}, "A02 Rosen im Garten", 9).substr(0, 54));
    CurrentSlideData s;
    KeySelection k;
    ASSERT_FALSE(ReadSlide(a, 2, s, k));
    EXPECT_EQ(s.storedKeys[0] + "|" + s.infoText + "|" + std::to_string(s.boxNumber) +
                  k.entries[0].name,
              "N1B1R1|A02 Ro|0Rosen");
}

TEST(WriteSlideTest, WritesWholeRecordsInPlaceOrAppended) {
    TempArchive t;
    t.write("dias.ddb", RecordBytes({"B1"}, "A01 eins", 1));
    Archive a(t.dir());
    const std::array<std::string, 8> keys{"B1A1G1", "N1B1  ", "00    ", "00    ",
                                          "00    ", "00    ", "00    ", "00    "};
    ASSERT_FALSE(WriteSlide(a, 2, Slide(keys, "A02 Gletscher", 1)));
    const std::string second = RecordBytes({keys.begin(), keys.end()}, "A02 Gletscher", 1);
    EXPECT_EQ(t.read("dias.ddb"), RecordBytes({"B1"}, "A01 eins", 1) + second);
    ASSERT_FALSE(WriteSlide(a, 1, Slide({"N1    "}, "A01 neu", 3)));
    EXPECT_EQ(t.read("dias.ddb"), RecordBytes({"N1    "}, "A01 neu", 3) + second);
    // Neither record 0 nor records beyond the next one.
    EXPECT_EQ(WriteSlide(a, 4, Slide({}, "A04", 1)).kind, ProblemKind::Io);
    EXPECT_EQ(WriteSlide(a, 0, Slide({}, "A00", 1)).kind, ProblemKind::Io);
    EXPECT_EQ(t.read("dias.ddb").size(), 164u);
}

// A dias.ddb that cannot be read (missing, a directory, a fifo that must not block): Error31,
// nothing created, ReadSlide resets slide and keys. Failed writes: WriteFaultTest.
TEST(SlideFileTest, FileThatCannotBeOpenedIsReportedAndLeftAlone) {
    for (int kind = 0; kind < 3; ++kind) {
        TempArchive t;
        const auto file = t.path("dias.ddb");
        kind == 1   ? (void)fs::create_directory(file)
        : kind == 2 ? (void)::mkfifo(file.c_str(), 0644)
                    : void();
        const auto type = fs::symlink_status(file).type();
        Archive a(t.dir());
        Counters counters{1, 9, 7};
        EXPECT_EQ(CountRecords(a, counters).kind, ProblemKind::Error31) << kind;
        EXPECT_EQ(AnalyseArchive(a, kFreeSlotMarker, counters).kind,
                  ProblemKind::ArchiveOpenFailed);
        EXPECT_EQ(counters.freeSlots + counters.activeSlides, 0) << kind;
        EXPECT_EQ(ForEachRecord(a, 1, 1, [](int32_t, const SlideRecord&) { return true; }).kind,
                  ProblemKind::Error31);
        CurrentSlideData s = Slide({"B1    "}, "A01 alt", 4);
        KeySelection k;
        k.count = 3;
        const Problem p = ReadSlide(a, 1, s, k);
        EXPECT_EQ(p.kind, ProblemKind::SlidesOpenFailed) << kind;
        EXPECT_EQ(kind == 0 ? p.sysError : 2, 2);
        EXPECT_EQ(Joined(s.storedKeys) + k.entries[0].code + std::to_string(k.count),
                  Joined(std::vector<std::string>(8, std::string(kEmptyKeyCode))) +
                      std::string(kEmptyKeyCode) + "0");
        EXPECT_EQ(fs::symlink_status(file).type(), type) << kind;
    }
}

TEST(AnalyseArchiveTest, CountsFreeSlots) {
    TempArchive t;
    Archive a(t.dir());
    // Keys in all eight slots, so the record text runs on into the info field (other cases:
    // FreeSlotRule).
    const std::vector<std::string> full(8, "B1");
    t.write("dias.ddb",
            RecordBytes(full, "A01 normal", 1) + RecordBytes({"00", "B1"}, "A04 frei", 2) +
                RecordBytes(full, "A06 dia wurde entnommen / platz frei", 2) + // cut at 32
                RecordBytes(full, "DIA WURDE ENTNOMMEN / PLATZ FREI", 3));
    Counters c;
    ASSERT_FALSE(CountRecords(a, c));
    int32_t progress = 0;
    ASSERT_FALSE(AnalyseArchive(a, kFreeSlotMarker, c, [&](int32_t n) { progress = n; }));
    EXPECT_EQ(c.freeSlots * 100 + c.activeSlides * 10 + progress, 224);
    // Only ASCII letters are folded.
    SlideRecord r = FromBytes(RecordBytes(std::vector<std::string>(8, "B1"), "A01 \xe4rger", 1));
    EXPECT_FALSE(IsFreeSlot(r, "ARGER"));
    EXPECT_FALSE(IsFreeSlot(r, "\xc4RGER"));
    EXPECT_TRUE(IsFreeSlot(r, "\xe4RGER"));
    EXPECT_TRUE(IsFreeSlot(r, "B1    A01"));
}

TEST(PrecomputedTest, BoxAndPosition) {
    // n, slides per magazine, magazines per box, precomputed, box, position ("-": not checked)
    std::istringstream cases("50 50 2 1 1 A50  51 50 2 1 1 B01  101 50 2 1 2 A01  99999 50 2 1 "
                             "1000 B49  144 36 4 1 1 D36  145 36 4 1 2 A01  9 5 1 1 2 A04 "
                             "17 50 2 0 0 ???  17 0 2 1 0 -  17 50 0 1 0 -");
    int32_t n, m, k, box;
    bool on;
    for (std::string pos; cases >> n >> m >> k >> on >> box >> pos;) {
        EXPECT_EQ(PrecomputedBox(n, m, k, on), box) << n << " " << m << " " << k;
        EXPECT_EQ(pos == "-" ? pos : PrecomputedPosition(n, m, k, on), pos) << n << " " << m;
    }
}

TEST(ForEachRecordTest, BlocksCoverTheRangeAndReadZerosPastTheEnd) {
    TempArchive t;
    std::string bytes;
    const int total = 1700; // several blocks
    for (int n = 1; n <= total; ++n)
        bytes += RecordBytes({"B1"}, "A01 Dia " + std::to_string(n), n);
    bytes += RecordBytes({"C1"}, "A02 kurz", 9).substr(0, 50); // a short last record
    t.write("dias.ddb", bytes);
    Archive a(t.dir());
    const int32_t first = 3, last = total + 3;
    std::string seen;
    int32_t next = first;
    ASSERT_FALSE(
        ForEachRecordBlock(a, first, last, [&](int32_t n, const unsigned char* r, int32_t k) {
            EXPECT_EQ(n, next);
            seen.append(reinterpret_cast<const char*>(r), static_cast<size_t>(k) * kRecordSize);
            next = n + k;
            return true;
        }));
    EXPECT_EQ(seen, bytes.substr(static_cast<size_t>(first - 1) * kRecordSize) +
                        std::string(kRecordSize * 3 - 50, '\0'));
    // Record by record across a block boundary, stopped by the callback.
    int32_t expectedNext = 2;
    ASSERT_FALSE(ForEachRecord(a, 2, total, [&](int32_t n, const SlideRecord& r) {
        return n == expectedNext++ && r.infoText() == "A01 Dia " + std::to_string(n) &&
               r.box() == (n & 0xFF) && n < 1650;
    }));
    EXPECT_EQ(expectedNext, 1651);
}

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
    const std::string cut = std::string(120, '\0') +
                            HeaderRecordBytes({"Olympus OM-2", "Zoom 35-105", "UV"}).substr(0, 40);
    const struct {
        const std::string& file;
        int32_t n;
        std::string values;
    } cases[] = {
        {five, 2, "Canon AE-1|28mm||Agfa|6x6|1/60|f/11|x"},
        {five, 3, "Leica R4|AB|123456789012345|||||"},
        {five, 6, "|||||||"},                         // begins exactly at the end of the file
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
    // Cannot open: Error31, the values emptied (the file never created: WriteFaultTest).
    fs::remove(t.path("kopfdata.ddb"));
    HeaderValues v{"x"};
    EXPECT_EQ(ReadHeaderRecord(a, 1, v).kind, ProblemKind::Error31);
    EXPECT_EQ(v[0] + (WriteHeaderRecord(a, 1, v).kind == ProblemKind::Error31 ? "31" : "?"), "31");
}

TEST(HeaderFieldsTest, NamesAndProposals) {
    TempArchive t;
    Archive a(t.dir());
    HeaderFields k = ReadHeaderFields(a); // no DIA.INI
    EXPECT_EQ(Joined(k.names), "Kamera|Objektiv|Filter|Filmtyp|Format|Belichtung|Blende|Datum");
    for (const auto& p : k.proposals)
        EXPECT_TRUE(p.empty());
    // Proposals cut to 15 bytes, "leer" no entry, an empty field name keeps the built-in one.
    t.write("DIA.INI", "[KOPFDATA]\r\nFELDNAMEN=Apparat,,Filterglas\r\n"
                       "0=Nikon F50,leer,Leica R4 mit langem Namen\r\n3=,Agfa\r\n");
    k = ReadHeaderFields(a);
    EXPECT_EQ(Joined(k.names),
              "Apparat|Objektiv|Filterglas|Filmtyp|Format|Belichtung|Blende|Datum");
    EXPECT_EQ(Joined(k.proposals[0]), "Nikon F50|Leica R4 mit la");
    EXPECT_EQ(k.proposals[3], (std::vector<std::string>{"", "Agfa"}));
    // Fewer entries leave the elements beyond them as they are.
    ASSERT_TRUE(WriteProposalList(a, 3, {"Kodachrome", "Fuji"}));
    ASSERT_TRUE(WriteProposalList(a, 3, {"Agfa"}));
    EXPECT_EQ(Joined(ReadHeaderFields(a).proposals[3]), "Agfa|Fuji");
    EXPECT_FALSE(WriteProposalList(a, 8, {"x"}));
}

} // namespace
} // namespace lumo::test
