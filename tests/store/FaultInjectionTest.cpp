// Every write under every fault: the failure is reported, each file is as before or as
// written without the fault, and no temporary file is left.
#include "FaultInjection.h"

#include "editing/logic/KeywordInsertion.h"
#include "search/Reports.h"
#include "search/SearchRun.h"
#include "store/DemoArchive.h"
#include "store/FileUtil.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumo::test {
namespace {

// The outcomes the reliability table names for an operation under a fault: R refused (the
// failure reported, the target as before), N refused and never created, W written (success,
// the target as written without the fault), D deleted.

struct WriteOperation {
    const char* name;
    std::string target; // the file it writes (others it writes are judged the same way)
    bool inPlace;       // writes records into the existing file instead of replacing it
    const char* cells;  // write-protected, file system full, a directory, removed
    std::function<bool(const Archive&)> run; // true when it reports success
};

CurrentSlideData NewSlide() {
    CurrentSlideData s{{}, "B07 Neu aufgenommen", 4};
    s.storedKeys.fill("00    ");
    s.storedKeys[0] = "N1    ";
    return s;
}
ReportStamp Stamp() {
    return {"01.02.03", "04:05:06"};
}
const HeaderValues kHeader{"Leica", "Summicron", "", "", "", "", "", ""};

const std::vector<WriteOperation>& Operations() {
    static const std::vector<WriteOperation> ops = {
        {"SlideReRecorded", "dias.ddb", true, "RWRN",
         [](const Archive& a) { return !WriteSlide(a, 5, NewSlide()); }},
        {"SlideAppended", "dias.ddb", true, "RRRN",
         [](const Archive& a) {
             Counters c;
             return !CountRecords(a, c) && !WriteSlide(a, c.totalRecords + 1, NewSlide());
         }},
        {"KeywordInserted", "keyword1", false, "RRRN",
         [](const Archive& a) { // the file steps of the keyword window
             const auto data = ReadWholeFile(a.resolve("keyword1"));
             if (!data)
                 return false;
             const auto plan = PlanKeywordInsertion(std::string_view(*data), 1, "Quelle", "");
             RefreshUndoCopies(a);
             return plan.outcome == KeywordInsertion::Outcome::Inserted &&
                    WriteFileAtomically(a.resolve("keyword1"), plan.newFile) == 0;
         }},
        {"KeywordsUndone", "keyword1", false, "RRRW",
         [](const Archive& a) { return RestoreFromUndoCopies(a) == 0; }},
        {"SettingsSaved", "DIA.INI", false, "RRRW",
         [](const Archive& a) {
             Settings s;
             Counters c{20, 17, 3};
             s.tipNumber = 42;
             return SaveSettings(a, s, c);
         }},
        {"BoxLabelSaved", "KASTEN.INI", false, "RRRW",
         [](const Archive& a) { return WriteBoxLabel(a, 3, "Magazin Drei", "Thema Drei"); }},
        {"MemoSaved", "memo/7.txt", false, "RRRW",
         [](const Archive& a) {
             return WriteFileAtomically(a.resolve("memo/7.txt"),
                                        "Neues Memo " + std::string(60, 'm')) == 0;
         }},
        {"MemoDeleted", "memo/7.txt", true, "RDRD",
         [](const Archive& a) { // a missing memo is nothing to delete, no failure
             const int err = RemoveFile(a.resolve("memo/7.txt"));
             return err == 0 || err == 2;
         }},
        {"HeaderDataSaved", "kopfdata.ddb", true, "RWRN",
         [](const Archive& a) { return !WriteHeaderRecord(a, 5, kHeader); }},
        {"HeaderDataAppended", "kopfdata.ddb", true, "RRRN",
         [](const Archive& a) {
             const auto n = static_cast<int32_t>(std::max(0LL, a.fileSize("kopfdata.ddb")) / 120);
             return !WriteHeaderRecord(a, n + 1, kHeader);
         }},
        {"FieldNamesSaved", "DIA.INI", false, "RRRW",
         [](const Archive& a) {
             return WriteFieldNames(
                 a, {"Apparat", "Linse", "Filter", "Film", "Format", "Zeit", "Blende", "Tag"});
         }},
        {"ResultReportWritten", "dialiste.txt", false, "RRRW",
         [](const Archive& a) {
             std::vector<std::string> list;
             ResultPage page;
             int32_t found = 0;
             SearchRun run(a, list, page, found, Stamp);
             return !ScanBox(run, 20, 1) && !run.Finish(20);
         }},
        {"BoxListWritten", "kasten.txt", false, "RRRW",
         [](const Archive& a) { return !WriteBoxList(a, Stamp); }},
        {"ProposalsSaved", "DIA.INI", false, "RRRW",
         [](const Archive& a) {
             return WriteProposalList(a, 1, {"Leica", "Nikon", "Zeiss"});
         }},
        {"KeyListWritten", "keyliste.txt", false, "RRRW",
         [](const Archive& a) { return !WriteKeyList(a, Stamp, nullptr); }},
        {"MemoListWritten", "memo.txt", false, "RRRW",
         [](const Archive& a) {
             std::vector<int32_t> slides; // the slides whose memos the demo wrote
             for (const auto& name : a.list("memo"))
                 if (name[0] != '.')
                     slides.push_back(std::stoi(name));
             return !WriteMemoList(a, slides, Stamp);
         }},
    };
    return ops;
}

using FaultCase = std::tuple<size_t, Fault>;

class WriteFaultTest : public ::testing::TestWithParam<FaultCase> {
protected:
    // A demo archive with memos, undo copies that differ from the lists, and old reports.
    static void SetUpTestSuite() {
        templateArchive = new TempArchive;
        DemoOptions options;
        options.slides = 20;
        options.memos = 3;
        ASSERT_TRUE(MakeDemoArchive(templateArchive->dir(), options).ok);
        for (int level = 1; level <= 3; ++level)
            templateArchive->write(KeywordOldFileName(level),
                                   "Altes\nA1\nAlte Reisen\nA2\nAlte Zeiten\nA3\nAlte Wege\nA4\n*");
        for (const char* report : {"dialiste.txt", "kasten.txt", "keyliste.txt", "memo.txt"})
            templateArchive->write(report, "alter Bericht\r\n");
    }
    static void TearDownTestSuite() { delete templateArchive; }
    static TempArchive* templateArchive;
    TempArchive archive, reference;
};
TempArchive* WriteFaultTest::templateArchive = nullptr;

TEST_P(WriteFaultTest, ReportedAndEveryFileBeforeOrAfter) {
    namespace fs = std::filesystem;
    const WriteOperation& op = Operations()[std::get<0>(GetParam())];
    const Fault fault = std::get<1>(GetParam());
    fs::remove(archive.dir());
    fs::copy(templateArchive->dir(), archive.dir(), fs::copy_options::recursive);
    if (fault == Fault::TargetRemoved)
        fs::remove(archive.path(op.target));
    fs::remove(reference.dir());
    fs::copy(archive.dir(), reference.dir(), fs::copy_options::recursive);
    // What the operation writes without the fault (with the target removed it may fail).
    ASSERT_TRUE(op.run(Archive(reference.dir())) || fault == Fault::TargetRemoved);
    const Snapshot after = TakeSnapshot(reference.dir());
    if (fault == Fault::TargetDirectory)
        ReplaceByDirectory(archive.path(op.target));
    const Snapshot before = TakeSnapshot(archive.dir());
    std::optional<WriteProtectedArchive> guard;
    std::optional<FileSizeLimit> limit;
    if (fault == Fault::WriteProtected && !guard.emplace(archive.dir()).ok())
        GTEST_SKIP() << "root's write override cannot be lowered here";
    // A file written in place may grow by less than a record; a new file not beyond 40 bytes.
    if (fault == Fault::FileSystemFull)
        limit.emplace(op.inPlace ? fs::file_size(archive.path(op.target)) + 40 : 40);
    const bool ok = op.run(Archive(archive.dir()));
    guard.reset();
    limit.reset();
    const Snapshot now = TakeSnapshot(archive.dir());
    EXPECT_EQ(NeitherBeforeNorAfter(before, after, now), "");
    const auto state = [&](const Snapshot& s) {
        return s.count(op.target) ? s.at(op.target) : std::string("<none>");
    };
    // The cell of the table, stated for this operation and fault.
    const char cell = op.cells[static_cast<size_t>(fault)];
    EXPECT_EQ(ok, cell == 'W' || cell == 'D') << "success or failure as the table says";
    const std::string expected = cell == 'R'   ? state(before)
                                 : cell == 'W' ? state(after)
                                               : std::string("<none>");
    EXPECT_EQ(state(now), expected) << op.target;
    EXPECT_TRUE(cell != 'W' || state(now) != state(before)) << op.target << " was not written";
}

INSTANTIATE_TEST_SUITE_P(
    Operations, WriteFaultTest,
    ::testing::Combine(::testing::Range<size_t>(0, Operations().size()),
                       ::testing::Values(Fault::WriteProtected, Fault::FileSystemFull,
                                         Fault::TargetDirectory, Fault::TargetRemoved)),
    [](const ::testing::TestParamInfo<FaultCase>& info) {
        return std::string(Operations()[std::get<0>(info.param)].name) + "_" +
               FaultName(std::get<1>(info.param));
    });

} // namespace
} // namespace lumo::test
