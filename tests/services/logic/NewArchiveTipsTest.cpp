// New archive files and target rules, preference sizes, tip numbers.
#include "TestArchive.h"

#include "services/logic/NewArchive.h"
#include "services/logic/Preferences.h"
#include "services/logic/Tips.h"

#include <gtest/gtest.h>

using namespace lumo;
using namespace lumo::test;

TEST(NewArchive, TargetsWithDataOrTheOpenArchiveAreRefused) {
    struct Row {
        const char* file;
        const char* bytes;
        NewArchiveTarget expected;
    };
    const Row rows[] = {{nullptr, "", NewArchiveTarget::Usable},
                        {"DIAS.DDB", "", NewArchiveTarget::Usable},
                        {"dia.ini", "[LUMORETTA]", NewArchiveTarget::Usable},
                        {"dias.ddb", "x", NewArchiveTarget::HoldsData},
                        {"keyword2", "A\nAA\n*", NewArchiveTarget::HoldsData},
                        {"Kopfdata.ddb", "x", NewArchiveTarget::HoldsData},
                        {"dialiste.txt", "report", NewArchiveTarget::HoldsData}};
    TempArchive open;
    for (const Row& row : rows) {
        TempArchive dir;
        if (row.file)
            dir.write(row.file, row.bytes);
        EXPECT_EQ(CheckNewArchiveTarget(dir.dir(), open.dir()), row.expected) << row.file;
    }
    EXPECT_EQ(CheckNewArchiveTarget(open.dir() / ".", open.dir()), NewArchiveTarget::OpenArchive);
}

TEST(NewArchive, EmptyFilesAreMadeButDataIsNeverCut) {
    TempArchive dir;
    dir.write("keyword1", "");
    dir.write("dias.ddb", "data");
    EXPECT_EQ(CreateEmptyArchiveFile(dir.dir(), "KEYWORD1"), 0);
    EXPECT_FALSE(dir.exists("KEYWORD1")); // the existing spelling is kept
    EXPECT_EQ(CreateEmptyArchiveFile(dir.dir(), "KASTEN.TXT"), 0);
    EXPECT_TRUE(dir.exists("KASTEN.TXT"));
    EXPECT_EQ(dir.read("KASTEN.TXT"), "");
    EXPECT_EQ(CreateEmptyArchiveFile(dir.dir(), "DIAS.DDB"), EEXIST);
    EXPECT_EQ(dir.read("dias.ddb"), "data");
    EXPECT_NE(CreateEmptyArchiveFile(dir.dir() / "missing", "KEYWORD1"), 0);
}

TEST(NewArchive, ProgramFilesAreCopiedWhereTheOpenArchiveHasThem) {
    TempArchive from, to;
    from.write("dia.ini", "[LUMORETTA]\r\nDIAS=4\r\n");
    from.write("DIA.HLP", "<html>");
    from.write("BILDER/autor.bmp", "BM");
    std::filesystem::create_directory(to.path("bilder"));
    CopyArchiveTemplates(Archive(from.dir()), to.dir());
    EXPECT_EQ(to.read("dia.ini"), from.read("dia.ini"));
    EXPECT_EQ(to.read("DIA.HLP"), "<html>");
    EXPECT_EQ(to.read("bilder/autor.bmp"), "BM");
    EXPECT_FALSE(to.exists("DIA.BMP"));
    EXPECT_FALSE(to.exists("history.wri"));
}

TEST(PreferenceSizes, WholeNumbersInRangeOnly) {
    struct Row {
        const char* text;
        SizeField field;
        std::optional<int32_t> expected;
    };
    const Row rows[] = {
        {"24", SizeField::Box, 24},      {"1", SizeField::Box, 1},
        {"+5", SizeField::Box, 5},       {"25", SizeField::Box, {}},
        {"0", SizeField::Box, {}},       {"", SizeField::Box, {}},
        {"-1", SizeField::Box, {}},      {" 5", SizeField::Box, {}},
        {"7x", SizeField::Box, {}},      {"99", SizeField::Magazine, 99},
        {"0", SizeField::Magazine, 0},   {"100", SizeField::Magazine, {}},
        {"-5", SizeField::Magazine, {}}, {"", SizeField::Magazine, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ParseSize(row.text, row.field), row.expected) << row.text;
}

TEST(TipNumbers, WrapAroundAndStartFallback) {
    TempArchive arc;
    EXPECT_EQ(StartupTipNumber(Archive(arc.dir()), 1), 0); // no tips at all
    for (const char* name : {"tips/2.tip", "tips/3.tip", "tips/4.TIP", "tips/07.tip"})
        arc.write(name, "tip");
    const Archive a(arc.dir());
    EXPECT_EQ(NextTipNumber(a, 2), 3);
    EXPECT_EQ(NextTipNumber(a, 4), 1); // no 5.tip
    EXPECT_EQ(NextTipNumber(a, 0), 1);
    EXPECT_EQ(StartupTipNumber(a, 3), 3);
    EXPECT_EQ(StartupTipNumber(a, 9), 2); // missing: the first tip there is
    EXPECT_EQ(StartupTipNumber(a, 0), 0); // tips off
}
