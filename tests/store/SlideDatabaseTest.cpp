#include "store/SlideDatabase.h"
#include "TestArchive.h"
#include "store/FileUtil.h"
#include "store/Keywords.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace lumo;
using lumo::test::KeywordBytes;
using lumo::test::RecordBytes;
using lumo::test::TempArchive;

namespace {

std::string AsString(const SlideRecord& r) {
    return std::string(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size());
}

SlideRecord FromBytes(std::string_view b) {
    SlideRecord r;
    std::copy(b.begin(), b.end(), r.bytes.begin());
    return r;
}

std::string Spaces(size_t n) {
    return std::string(n, ' ');
}

CurrentSlideData Slide(std::array<std::string, 8> keys, std::string info, int box) {
    CurrentSlideData s;
    s.storedKeys = std::move(keys);
    s.infoText = std::move(info);
    s.boxNumber = box;
    return s;
}

// Three keyword files with a small tree: B1 Berge > B1A1 Alpen > B1A1G1 Gletscher...
void WriteKeywordTree(const TempArchive& t) {
    t.write("keyword1", KeywordBytes({{"Berge", "B1"}, {"Natur", "N1"}}));
    t.write("keyword2", KeywordBytes({{"Alpen", "B1A1"}, {"Blumen", "N1B1"}}));
    t.write("keyword3", KeywordBytes({{"Gletscherspalte im Eis", "B1A1G1"}, {"Rosen", "N1B1R1"}}));
}

} // namespace

TEST(SlideRecordTest, BuildPlacesEveryFieldAsTheRecordTableSays) {
    SlideRecord r =
        SlideRecord::Build({"B1    ", "B1C1  ", "B1C1D1", "00    ", "N1", "", "ABCDEFGH", "X"},
                           "A05 Urlaub Toskana", 300);
    std::string expected;
    expected += "B1    ";
    expected += "B1C1  ";
    expected += "B1C1D1";
    expected += "00    ";
    expected += std::string("N1\0", 3) + Spaces(3); // short code: NUL inside the slot
    expected += std::string("\0", 1) + Spaces(5);   // empty code
    expected += "ABCDEF";                           // cut to six bytes
    expected += std::string("X\0", 2) + Spaces(4);
    expected += "A05 Urlaub Toskana";
    expected += '\0';
    expected += Spaces(80 - 48 - 18 - 1 + 1); // spaces up to offset 80
    expected += static_cast<char>(300 % 256);
    ASSERT_EQ(expected.size(), 82u);
    EXPECT_EQ(AsString(r), expected);
}

TEST(SlideRecordTest, BuildCutsInfoAtThirtyTwoAndWrapsTheBox) {
    std::string info40(40, 'x');
    SlideRecord r = SlideRecord::Build({}, info40, 256);
    EXPECT_EQ(r.bytes[80], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r.bytes[48]), 32), std::string(32, 'x'));
    EXPECT_EQ(r.bytes[81], 0);
    EXPECT_EQ(SlideRecord::Build({}, "", 255).bytes[81], 255);
    EXPECT_EQ(SlideRecord::Build({}, "", -1).bytes[81], 255);
}

TEST(SlideRecordTest, FieldAccessReadsUpToNul) {
    std::string b = RecordBytes({"B1A1G1", "", "N1B1"}, "A01 Rosen", 7);
    b[13] = '\0'; // "N1B1" slot 3 cut inside: code "N"
    SlideRecord r = FromBytes(b);
    EXPECT_EQ(r.keySlot(0), "B1A1G1");
    EXPECT_EQ(r.keySlot(1), "");
    EXPECT_EQ(r.keySlot(2), "N");
    EXPECT_EQ(r.keySlot(3), "");
    EXPECT_EQ(r.infoText(), "A01 Rosen");
    EXPECT_EQ(r.box(), 7);
    // The record text runs from byte 0 to the first NUL: here slot 2 is empty.
    EXPECT_EQ(r.textUpToNul(), "B1A1G1");

    // An info field without NUL gives its 33 bytes, never the box byte.
    std::string full(82, 'k');
    full[81] = 'B';
    EXPECT_EQ(FromBytes(full).infoText(), std::string(33, 'k'));
    EXPECT_EQ(FromBytes(full).textUpToNul().size(), 82u);
}

TEST(CountRecordsTest, RoundsToTheNearestRecord) {
    TempArchive t;
    Archive a(t.dir());
    Counters c;
    struct Case {
        size_t size;
        int32_t records;
    } cases[] = {{0, 0}, {82, 1}, {246, 3}, {246 + 40, 3}, {246 + 41, 4}, {246 + 81, 4}, {40, 0}};
    for (const auto& cs : cases) {
        t.write("dias.ddb", std::string(cs.size, 'a'));
        c.totalRecords = -5;
        EXPECT_FALSE(CountRecords(a, c)) << cs.size;
        EXPECT_EQ(c.totalRecords, cs.records) << cs.size;
    }
}

TEST(CountRecordsTest, MissingFileIsError31AndUpperCaseNameIsFound) {
    TempArchive t;
    Archive a(t.dir());
    Counters c;
    Problem p = CountRecords(a, c);
    EXPECT_EQ(p.kind, ProblemKind::Error31);
    EXPECT_EQ(p.sysError, 2);
    t.write("DIAS.DDB", std::string(164, ' '));
    EXPECT_FALSE(CountRecords(a, c));
    EXPECT_EQ(c.totalRecords, 2);
}

TEST(ReadSlideTest, ResolvesKeysThroughTheThreeFiles) {
    TempArchive t;
    WriteKeywordTree(t);
    t.write("dias.ddb",
            RecordBytes({}, "A01 erstes", 1) +
                RecordBytes({"B1A1G1", "ZZ", "B1A1", "B1", "00", "", "N1B1R1"}, "A02 Alpen", 2));
    // Slot 6 (index 5) is an empty code; slot 8 keeps RecordBytes' empty code too.
    Archive a(t.dir());
    CurrentSlideData s;
    KeySelection k;
    k.count = 5;
    k.entries[7].name = "alt";
    ASSERT_FALSE(ReadSlide(a, 2, s, k));

    EXPECT_EQ(s.storedKeys[0], "B1A1G1");
    EXPECT_EQ(s.storedKeys[1], "ZZ    ");
    EXPECT_EQ(s.storedKeys[2], "B1A1  ");
    EXPECT_EQ(s.storedKeys[3], "B1    ");
    EXPECT_EQ(s.storedKeys[4], "00    ");
    EXPECT_EQ(s.storedKeys[5], "");
    EXPECT_EQ(s.storedKeys[6], "N1B1R1");
    EXPECT_EQ(s.infoText, "A02 Alpen");
    EXPECT_EQ(s.boxNumber, 2);

    EXPECT_EQ(k.count, 4);
    EXPECT_EQ(k.entries[0].code, "B1A1G1");
    EXPECT_EQ(k.entries[0].name, "Gletscherspalte im"); // cut to 18
    EXPECT_EQ(k.entries[1].code, kEmptyKeyCode);        // in no file: no name, empty code
    EXPECT_EQ(k.entries[1].name, "");
    EXPECT_EQ(k.entries[2].code, "B1A1"); // level 2: 4 characters, no padding
    EXPECT_EQ(k.entries[2].name, "Alpen");
    EXPECT_EQ(k.entries[3].code, "B1");
    EXPECT_EQ(k.entries[3].name, "Berge");
    EXPECT_EQ(k.entries[4].code, kEmptyKeyCode);
    EXPECT_EQ(k.entries[6].code, "N1B1R1");
    EXPECT_EQ(k.entries[6].name, "Rosen");
    EXPECT_EQ(k.entries[7].name, ""); // reset
}

TEST(ReadSlideTest, ComparisonCodesArePaddedPerLevel) {
    TempArchive t;
    // A level-1 code only matches "B1" + 4 spaces, a level-2 code only its 4 + 2 spaces;
    // a stored short code "B1" (NUL in the slot) matches nothing.
    t.write("keyword1", KeywordBytes({{"Berge", "B1"}}));
    t.write("keyword2", KeywordBytes({{"Alpen", "B1A1"}}));
    t.write("keyword3", "");
    std::string rec = RecordBytes({"B1A1G1", "B1A1", "B1", "B1A1", "B1"}, "A01", 0);
    rec[14] = '\0';    // slot 3: "B1" then NUL
    rec[18 + 2] = 'x'; // slot 4 becomes "B1x1  ", a code in no file
    t.write("dias.ddb", rec);
    Archive a(t.dir());
    CurrentSlideData s;
    KeySelection k;
    ASSERT_FALSE(ReadSlide(a, 1, s, k));
    EXPECT_EQ(s.storedKeys[2], "B1");
    EXPECT_EQ(k.entries[0].code, kEmptyKeyCode); // "B1A1G1" is in no file
    EXPECT_EQ(k.entries[1].code, "B1A1");
    EXPECT_EQ(k.entries[2].code, kEmptyKeyCode);
    EXPECT_EQ(k.entries[3].code, kEmptyKeyCode);
    EXPECT_EQ(k.entries[4].code, "B1");
    EXPECT_EQ(k.count, 2);
}

TEST(ReadSlideTest, ScanWithFrozenCacheResolvesLikeReadSlide) {
    TempArchive t;
    WriteKeywordTree(t);
    t.write("dias.ddb", RecordBytes({"N1B1R1", "B1"}, "A01 Rosen", 1) +
                            RecordBytes({"B1A1", "XX"}, "A02 Alpen", 1));
    Archive a(t.dir());
    KeywordCache cache;
    cache.setFrozen(true);
    std::vector<KeySelection> scanned;
    ASSERT_FALSE(ForEachRecord(a, 1, 2, [&](int32_t, const SlideRecord& r) {
        CurrentSlideData s;
        KeySelection k;
        k.clearAll(kEmptyKeyCode);
        SlideFromRecord(r, s);
        EXPECT_FALSE(ResolveKeys(a, s, k, &cache));
        scanned.push_back(k);
        return true;
    }));
    ASSERT_EQ(scanned.size(), 2u);
    for (int32_t n = 1; n <= 2; ++n) {
        CurrentSlideData s;
        KeySelection k;
        ASSERT_FALSE(ReadSlide(a, n, s, k));
        const KeySelection& viaScan = scanned[static_cast<size_t>(n - 1)];
        EXPECT_EQ(viaScan.count, k.count);
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(viaScan.entries[i].code, k.entries[i].code);
            EXPECT_EQ(viaScan.entries[i].name, k.entries[i].name);
        }
    }
    EXPECT_EQ(scanned[0].count, 2);
    EXPECT_EQ(scanned[0].entries[0].name, "Rosen");
    EXPECT_EQ(scanned[1].entries[0].name, "Alpen");
}

TEST(ReadSlideTest, DuplicateCodesInADamagedFileCountASlotOnce) {
    TempArchive t;
    t.write("keyword1", KeywordBytes({{"Berge", "B1"}, {"Berge neu", "B1"}}));
    t.write("keyword2", "");
    t.write("keyword3", "");
    t.write("dias.ddb", RecordBytes({"B1", "B1"}, "A01", 0));
    Archive a(t.dir());
    CurrentSlideData s;
    KeySelection k;
    ASSERT_FALSE(ReadSlide(a, 1, s, k));
    EXPECT_EQ(k.count, 2);
    EXPECT_EQ(k.entries[0].name, "Berge neu");
}

TEST(ReadSlideTest, MissingKeywordFileStopsResolvingThere) {
    TempArchive t;
    WriteKeywordTree(t);
    std::filesystem::remove(t.path("keyword2"));
    t.write("dias.ddb", RecordBytes({"B1A1G1", "B1A1", "B1"}, "A01", 0));
    Archive a(t.dir());
    CurrentSlideData s;
    KeySelection k;
    Problem p = ReadSlide(a, 1, s, k);
    EXPECT_EQ(p.kind, ProblemKind::KeywordOpenFailed);
    EXPECT_EQ(p.level, 2);
    EXPECT_EQ(p.sysError, 2);
    EXPECT_EQ(k.entries[0].code, "B1A1G1");      // keyword3 came first
    EXPECT_EQ(k.entries[2].code, kEmptyKeyCode); // keyword1 was skipped
    EXPECT_EQ(k.count, 1);
}

TEST(ReadSlideTest, KeywordFileTooLargeForMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer aborts on absurd allocations instead of failing them";
#else
    TempArchive t;
    WriteKeywordTree(t);
    t.write("dias.ddb", RecordBytes({"B1"}, "A01", 0));
    // A sparse file of 3 TiB: no memory block of that size can be had.
    std::error_code ec;
    std::filesystem::resize_file(t.path("keyword3"), 3ull << 40, ec);
    if (ec)
        GTEST_SKIP() << "file system refuses a sparse file of that size";
    Archive a(t.dir());
    CurrentSlideData s;
    KeySelection k;
    Problem p = ReadSlide(a, 1, s, k);
    EXPECT_EQ(p.kind, ProblemKind::KeywordNoMemory);
    EXPECT_EQ(p.level, 3);
    EXPECT_EQ(p.sysError, 12);
    EXPECT_EQ(k.count, 0); // resolving stopped before keyword1
    KeywordCache cache;
    EXPECT_EQ(ReadSlide(a, 1, s, k, &cache).kind, ProblemKind::KeywordNoMemory);
#endif
}

TEST(ReadSlideTest, MissingDatabaseGivesResetValues) {
    TempArchive t;
    WriteKeywordTree(t);
    Archive a(t.dir());
    CurrentSlideData s = Slide({"B1    "}, "A01 alt", 4);
    KeySelection k;
    k.count = 3;
    Problem p = ReadSlide(a, 1, s, k);
    EXPECT_EQ(p.kind, ProblemKind::SlidesOpenFailed);
    for (const auto& key : s.storedKeys)
        EXPECT_EQ(key, kEmptyKeyCode);
    EXPECT_EQ(k.count, 0);
    EXPECT_EQ(k.entries[0].code, kEmptyKeyCode);
}

TEST(ReadSlideTest, ShortLastRecordReadsAsIfPaddedWithZeros) {
    TempArchive t;
    WriteKeywordTree(t);
    std::string second = RecordBytes({"N1B1R1"}, "A02 Rosen im Garten", 9).substr(0, 54);
    t.write("dias.ddb", RecordBytes({}, "A01", 1) + second);
    Archive a(t.dir());
    Counters c;
    ASSERT_FALSE(CountRecords(a, c));
    EXPECT_EQ(c.totalRecords, 2); // 136 bytes: the 54-byte tail counts
    CurrentSlideData s;
    KeySelection k;
    ASSERT_FALSE(ReadSlide(a, 2, s, k));
    EXPECT_EQ(s.storedKeys[0], "N1B1R1");
    EXPECT_EQ(s.infoText, "A02 Ro"); // bytes 48..53, then zero
    EXPECT_EQ(s.boxNumber, 0);
    EXPECT_EQ(k.entries[0].name, "Rosen");
}

TEST(ReadSlideTest, CacheFollowsChangedFiles) {
    TempArchive t;
    WriteKeywordTree(t);
    t.write("dias.ddb", RecordBytes({"B1"}, "A01", 0));
    Archive a(t.dir());
    KeywordCache cache;
    CurrentSlideData s;
    KeySelection k;
    ASSERT_FALSE(ReadSlide(a, 1, s, k, &cache));
    EXPECT_EQ(k.entries[0].name, "Berge");
    // Rewritten the way the program rewrites keyword files (same size, new content).
    ASSERT_EQ(
        WriteFileAtomically(t.path("keyword1"), KeywordBytes({{"Burgs", "B1"}, {"Natur", "N1"}})),
        0);
    ASSERT_FALSE(ReadSlide(a, 1, s, k, &cache));
    EXPECT_EQ(k.entries[0].name, "Burgs");
    std::filesystem::remove(t.path("keyword1"));
    Problem p = ReadSlide(a, 1, s, k, &cache);
    EXPECT_EQ(p.kind, ProblemKind::KeywordOpenFailed);
    EXPECT_EQ(p.level, 1);
}

TEST(WriteSlideTest, AppendGrowsByExactlyOneRecord) {
    TempArchive t;
    std::string first = RecordBytes({"B1"}, "A01 eins", 1);
    t.write("dias.ddb", first);
    Archive a(t.dir());
    auto s = Slide({"B1A1G1", "N1B1  ", "00    ", "00    ", "00    ", "00    ", "00    ", "00    "},
                   "A02 Gletscher", 1);
    ASSERT_FALSE(WriteSlide(a, 2, s));
    std::string bytes = t.read("dias.ddb");
    ASSERT_EQ(bytes.size(), 164u);
    EXPECT_EQ(bytes.substr(0, 82), first);
    EXPECT_EQ(bytes.substr(82), RecordBytes({"B1A1G1", "N1B1  ", "00    ", "00    ", "00    ",
                                             "00    ", "00    ", "00    "},
                                            "A02 Gletscher", 1));
    // Rewriting record 1 changes only record 1.
    ASSERT_FALSE(WriteSlide(a, 1, Slide({"N1    "}, "A01 neu", 3)));
    bytes = t.read("dias.ddb");
    ASSERT_EQ(bytes.size(), 164u);
    EXPECT_EQ(bytes.substr(0, 6), "N1    ");
    EXPECT_EQ(bytes.substr(48, 8), std::string("A01 neu\0", 8));
    EXPECT_EQ(static_cast<unsigned char>(bytes[81]), 3);
    EXPECT_EQ(bytes.substr(82, 6), "B1A1G1");
}

TEST(WriteSlideTest, RefusesRecordsBeyondTheNextOne) {
    TempArchive t;
    std::string old = RecordBytes({"B1"}, "A01", 1);
    t.write("dias.ddb", old);
    Archive a(t.dir());
    EXPECT_EQ(WriteSlide(a, 3, Slide({}, "A03", 1)).kind, ProblemKind::Io);
    EXPECT_EQ(WriteSlide(a, 0, Slide({}, "A00", 1)).kind, ProblemKind::Io);
    EXPECT_EQ(t.read("dias.ddb"), old);
}

TEST(WriteSlideTest, MissingFileIsError31AndNotCreated) {
    TempArchive t;
    Archive a(t.dir());
    Problem p = WriteSlide(a, 1, Slide({}, "A01", 1));
    EXPECT_EQ(p.kind, ProblemKind::Error31);
    EXPECT_FALSE(t.exists("dias.ddb"));
}

TEST(WriteSlideTest, FileThatCannotBeOpenedForWritingIsError31) {
    // A directory or a FIFO named dias.ddb cannot be opened for writing, even by root.
    {
        TempArchive t;
        std::filesystem::create_directory(t.path("dias.ddb"));
        Archive a(t.dir());
        EXPECT_EQ(WriteSlide(a, 1, Slide({}, "A01", 1)).kind, ProblemKind::Error31);
        EXPECT_TRUE(std::filesystem::is_directory(t.path("dias.ddb")));
    }
    {
        TempArchive t;
        ASSERT_EQ(::mkfifo(t.path("dias.ddb").c_str(), 0644), 0);
        Archive a(t.dir());
        // Would block forever if the open waited for a reader.
        EXPECT_EQ(WriteSlide(a, 1, Slide({}, "A01", 1)).kind, ProblemKind::Error31);
        Counters c;
        EXPECT_EQ(CountRecords(a, c).kind, ProblemKind::Error31);
    }
}

TEST(WriteSlideTest, WriteProtectedFileIsError31AndUnchanged) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes through file permissions; covered by the directory and "
                        "FIFO cases";
    TempArchive t;
    std::string old = RecordBytes({"B1"}, "A01", 1);
    t.write("dias.ddb", old);
    ASSERT_EQ(::chmod(t.path("dias.ddb").c_str(), 0444), 0);
    Archive a(t.dir());
    Problem p = WriteSlide(a, 1, Slide({"N1    "}, "A01 neu", 2));
    EXPECT_EQ(p.kind, ProblemKind::Error31);
    EXPECT_EQ(p.sysError, 19);
    EXPECT_EQ(t.read("dias.ddb"), old);
}

TEST(AnalyseArchiveTest, CountsFreeSlots) {
    TempArchive t;
    std::string marker(kFreeSlotMarker);
    // Keys in all eight slots, so the record text runs on into the info field.
    auto full = [](std::string first) {
        return std::vector<std::string>{first, "B1", "B1", "B1", "B1", "B1", "B1", "B1"};
    };
    t.write("dias.ddb",
            RecordBytes(full("B1"), "A01 normal", 1) +                           // active
                RecordBytes({"00", "00", "00"}, marker, 1) +                     // free (both)
                RecordBytes(full("B1"), "DIA WURDE ENTNOMMEN / PLATZ FREI", 1) + // ASCII fold
                RecordBytes({"00", "B1"}, "A04 noch beschriftet", 2) +           // free: slot 1
                RecordBytes({"", "00"}, marker, 0) + // slot 1 empty code: text is empty
                RecordBytes({"B1"}, marker, 0) +     // slot 2 empty code: text ends there
                RecordBytes(full("B1"), "A06 dia wurde entnommen / platz frei", 2) + // cut at 32
                RecordBytes(full("N1"), "Dia wurde entnommen / Platz frei", 3));     // free
    Archive a(t.dir());
    Counters c;
    ASSERT_FALSE(CountRecords(a, c));
    ASSERT_EQ(c.totalRecords, 8);
    std::vector<int32_t> progress;
    ASSERT_FALSE(AnalyseArchive(a, kFreeSlotMarker, c, [&](int32_t n) { progress.push_back(n); }));
    // Record 7's info is cut to 32 bytes: "A06 dia wurde entnommen / platz " - no marker.
    EXPECT_EQ(c.freeSlots, 4);
    EXPECT_EQ(c.activeSlides, 4);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 8);
}

TEST(AnalyseArchiveTest, EmptyAndMissingFiles) {
    TempArchive t;
    Archive a(t.dir());
    Counters c;
    c.freeSlots = 7;
    c.activeSlides = 9;
    Problem p = AnalyseArchive(a, kFreeSlotMarker, c);
    EXPECT_EQ(p.kind, ProblemKind::ArchiveOpenFailed);
    EXPECT_EQ(c.freeSlots, 0);
    EXPECT_EQ(c.activeSlides, 0);

    t.write("dias.ddb", "");
    ASSERT_FALSE(CountRecords(a, c));
    ASSERT_FALSE(AnalyseArchive(a, kFreeSlotMarker, c));
    EXPECT_EQ(c.totalRecords, 0);
    EXPECT_EQ(c.freeSlots, 0);
    EXPECT_EQ(c.activeSlides, 0);
}

TEST(IsFreeSlotTest, FoldsAsciiLettersOnly) {
    SlideRecord r = FromBytes(
        RecordBytes({"B1", "B1", "B1", "B1", "B1", "B1", "B1", "B1"}, "A01 \xe4rger im Haus", 1));
    EXPECT_FALSE(IsFreeSlot(r, "ARGER"));
    EXPECT_FALSE(IsFreeSlot(r, "\xc4RGER IM HAUS")); // umlaut is not folded
    EXPECT_TRUE(IsFreeSlot(r, "\xe4RGER IM HAUS"));
    EXPECT_TRUE(IsFreeSlot(r, "B1    A01"));
}

TEST(PrecomputedTest, BoxAndPositionExamples) {
    struct Case {
        int32_t n, m, k;
        int32_t box;
        const char* pos;
    } cases[] = {
        {1, 50, 2, 1, "A01"},   {50, 50, 2, 1, "A50"},  {51, 50, 2, 1, "B01"},
        {100, 50, 2, 1, "B50"}, {101, 50, 2, 2, "A01"}, {1, 36, 4, 1, "A01"},
        {36, 36, 4, 1, "A36"},  {37, 36, 4, 1, "B01"},  {144, 36, 4, 1, "D36"},
        {145, 36, 4, 2, "A01"}, {9, 5, 1, 2, "A04"},    {99999, 50, 2, 1000, "B49"},
        {200, 50, 2, 2, "B50"}, {201, 50, 2, 3, "A01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrecomputedBox(c.n, c.m, c.k, true), c.box) << c.n << " " << c.m << " " << c.k;
        EXPECT_EQ(PrecomputedPosition(c.n, c.m, c.k, true), c.pos)
            << c.n << " " << c.m << " " << c.k;
    }
}

TEST(PrecomputedTest, OffOrZeroSizes) {
    EXPECT_EQ(PrecomputedBox(17, 50, 2, false), 0);
    EXPECT_EQ(PrecomputedPosition(17, 50, 2, false), "???");
    EXPECT_EQ(PrecomputedBox(17, 0, 2, true), 0);
    EXPECT_EQ(PrecomputedBox(17, 50, 0, true), 0);
    // Below ten places the number has a leading zero, from ten on two digits.
    EXPECT_EQ(PrecomputedPosition(9, 50, 2, true), "A09");
    EXPECT_EQ(PrecomputedPosition(10, 50, 2, true), "A10");
    // K = 1: every magazine is letter A.
    EXPECT_EQ(PrecomputedPosition(51, 50, 1, true), "A01");
}

TEST(ForEachRecordTest, BlocksCoverTheRangeAndReadZerosPastTheEnd) {
    TempArchive t;
    std::string bytes;
    const int total = 1700;
    for (int n = 1; n <= total; ++n)
        bytes += RecordBytes({"B1"}, "A01 Dia " + std::to_string(n), n);
    bytes += RecordBytes({"C1"}, "A02 kurz", 9).substr(0, 50); // a short last record
    t.write("dias.ddb", bytes);
    std::string expected = bytes + std::string(static_cast<size_t>(kRecordSize) * 3 - 50, '\0');
    const int32_t first = 3, last = total + 3;
    std::string seen;
    int32_t next = first;
    int blocks = 0;
    ASSERT_FALSE(ForEachRecordBlock(Archive(t.dir()), first, last,
                                    [&](int32_t n, const unsigned char* records, int32_t count) {
                                        EXPECT_EQ(n, next);
                                        EXPECT_GT(count, 0);
                                        seen.append(reinterpret_cast<const char*>(records),
                                                    static_cast<size_t>(count) * kRecordSize);
                                        next = n + count;
                                        ++blocks;
                                        return true;
                                    }));
    EXPECT_EQ(next, last + 1);
    EXPECT_GT(blocks, 1);
    EXPECT_EQ(seen, expected.substr(static_cast<size_t>(first - 1) * kRecordSize));
    // Stopped after the first block.
    blocks = 0;
    ASSERT_FALSE(
        ForEachRecordBlock(Archive(t.dir()), 1, total, [&](int32_t, const unsigned char*, int32_t) {
            ++blocks;
            return false;
        }));
    EXPECT_EQ(blocks, 1);
}

TEST(ForEachRecordTest, VisitsRecordsAcrossBlocksInOrder) {
    TempArchive t;
    std::string bytes;
    const int total = 2500; // several blocks
    for (int n = 1; n <= total; ++n)
        bytes += RecordBytes({"B1"}, "A01 Dia " + std::to_string(n), n);
    t.write("dias.ddb", bytes);
    Archive a(t.dir());
    int32_t expected = 1;
    bool allMatch = true;
    ASSERT_FALSE(ForEachRecord(a, 1, total, [&](int32_t n, const SlideRecord& r) {
        allMatch = allMatch && n == expected && r.infoText() == "A01 Dia " + std::to_string(n) &&
                   r.box() == (n & 0xFF);
        ++expected;
        return true;
    }));
    EXPECT_TRUE(allMatch);
    EXPECT_EQ(expected, total + 1);

    // A range in the middle, stopped early by the callback.
    std::vector<int32_t> seen;
    ASSERT_FALSE(ForEachRecord(a, 799, 2000, [&](int32_t n, const SlideRecord& r) {
        EXPECT_EQ(r.infoText(), "A01 Dia " + std::to_string(n));
        seen.push_back(n);
        return n < 805;
    }));
    EXPECT_EQ(seen, (std::vector<int32_t>{799, 800, 801, 802, 803, 804, 805}));

    EXPECT_EQ(ForEachRecord(Archive(t.path("nirgends")), 1, 2,
                            [](int32_t, const SlideRecord&) { return true; })
                  .kind,
              ProblemKind::Error31);
}
