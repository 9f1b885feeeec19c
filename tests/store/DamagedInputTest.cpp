// Cases the fuzz targets found, as byte-exact tests.
#include "TestArchive.h"

#include "editing/logic/KeywordInsertion.h"
#include "store/Keywords.h"
#include "store/Profile.h"

#include <gtest/gtest.h>

namespace lumo::test {
namespace {

// A level file cut off right after its last code (no LF, no "*"): the reader still takes
// that entry, so the insertion must keep it.
TEST(DamagedInputTest, InsertionKeepsTheLastEntryOfAFileCutAfterItsCode) {
    struct Case {
        std::string file, name, expected;
    };
    for (const Case& c : {
             Case{"Natur\nN1", "Alpen", "Alpen\nA1\nNatur\nN1\n*"},
             Case{"Natur\nN1", "Reise", "Natur\nN1\nReise\nR1\n*"},
             Case{"Natur\nN1", "Nebel", "Natur\nN1\nNebel\nN2\n*"},
             Case{"Natur\n", "Alpen", "Alpen\nA1\n*"}, // a text without code is no entry
         }) {
        const auto plan = PlanKeywordInsertion(std::string_view(c.file), 1, c.name, "");
        EXPECT_EQ(plan.outcome, KeywordInsertion::Outcome::Inserted) << c.file << c.name;
        EXPECT_EQ(plan.newFile, c.expected) << c.file << c.name;
    }
}

// Values with blanks around them or enclosing quotes read back as written: the writer
// puts them in double quotes, which the reader takes off.
TEST(DamagedInputTest, IniValuesReadBackAsWritten) {
    struct Case {
        std::string value, line;
    };
    for (const Case& c : {
             Case{"Urlaub", "T1=Urlaub"},
             Case{"\"Urlaub 1998\"", "T1=\"\"Urlaub 1998\"\""},
             Case{"'vi'", "T1=\"'vi'\""},
             Case{" links", "T1=\" links\""},
             Case{"rechts\t", "T1=\"rechts\t\""},
             Case{"\"", "T1=\""},
             Case{"a\"b\"", "T1=a\"b\""},
         }) {
        IniDocument doc = IniDocument::Parse("[K001]\r\n");
        doc.set("K001", "T1", c.value);
        EXPECT_EQ(doc.Serialize(), "[K001]\r\n" + c.line + "\r\n") << c.value;
        EXPECT_EQ(IniDocument::Parse(doc.Serialize()).get("K001", "T1"), c.value) << c.value;
    }
}

// A CR alone ends a line as CR LF and LF do; no line is lost when a value is replaced.
TEST(DamagedInputTest, IniLoneCrEndsALine) {
    const IniDocument doc = IniDocument::Parse("[A]\rX=1\r*junk\nY=2\r\n");
    EXPECT_EQ(doc.Serialize(), "[A]\r\nX=1\r\n*junk\r\nY=2\r\n");
    EXPECT_EQ(doc.get("A", "X"), "1");
    EXPECT_EQ(doc.get("A", "Y"), "2");
    IniDocument changed = doc;
    changed.set("A", "X", "3");
    EXPECT_EQ(changed.Serialize(), "[A]\r\nX=3\r\n*junk\r\nY=2\r\n");
}

} // namespace
} // namespace lumo::test
