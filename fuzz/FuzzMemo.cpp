// Memo files in the memo search and the memo list: a fuzzed memo/2.txt is searched with
// a fuzzed text (the fast test held against a plain line-by-line one) and listed.
//   parts: memo bytes | search text | parameters
#include "FuzzSupport.h"

#include "search/Criteria.h"
#include "search/Reports.h"
#include "search/SearchRun.h"

namespace {

using namespace lumo;

// The memo test written out plainly: the file split into lines at CR and LF, and any line
// holds the search text.
bool PlainMemoTest(std::string_view bytes, std::string_view needle, bool caseSensitive) {
    if (needle.empty())
        return false;
    const std::string n = caseSensitive ? std::string(needle) : fuzz::FoldAscii(needle);
    size_t pos = 0;
    while (pos <= bytes.size()) {
        const size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
        const std::string_view line = bytes.substr(pos, end - pos);
        if ((caseSensitive ? std::string(line) : fuzz::FoldAscii(line)).find(n) !=
            std::string::npos)
            return true;
        pos = end + 1;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchArchive scratch;
    auto parts = fuzz::SplitParts(data, size, 3);
    fuzz::Params params(parts[2]);
    const std::string& memo = parts[0];
    const std::string& needle = parts[1];
    const bool caseSensitive = params.flag();

    const bool plain = PlainMemoTest(memo, needle, caseSensitive);
    FUZZ_CHECK(MemoTextTest(memo, needle, caseSensitive) == plain);

    // The lines of the memo list: joined again with their breaks they give the file back
    // up to the kind of break.
    const auto lines = SplitMemoLines(memo);
    std::string joined, normalised;
    for (const auto& l : lines) {
        FUZZ_CHECK(l.find_first_of("\r\n") == std::string::npos);
        joined += l + "\n";
    }
    for (size_t i = 0; i < memo.size(); ++i) {
        if (memo[i] == '\r' && i + 1 < memo.size() && memo[i + 1] == '\n')
            continue;
        normalised += memo[i] == '\r' ? '\n' : memo[i];
    }
    if (!normalised.empty() && normalised.back() != '\n')
        normalised += '\n';
    FUZZ_CHECK(joined == normalised);

    // The scan over an archive of three slides whose second has the memo.
    scratch.clear();
    scratch.write("dias.ddb", std::string(kRecordSize * 3, 'y'));
    const std::string dir = params.flag() ? "memo/" : "MEMO/";
    scratch.write(dir + (params.flag() ? "2.txt" : "2.TXT"), memo);
    scratch.write(dir + ".2.txt.tmpABCDEF", needle); // a left-over temporary file is no memo
    const Archive archive(scratch.dir());
    std::vector<std::string> list;
    ResultPage page;
    int32_t found = 0;
    {
        SearchRun run(archive, list, page, found, [] {
            return ReportStamp{"01.02.03", "04:05:06"};
        });
        FUZZ_CHECK(!ScanMemo(run, 3, needle, caseSensitive) && !run.Finish(3));
    }
    FUZZ_CHECK(found == (plain ? 1 : 0));

    // The memo list holds the memo's block.
    FUZZ_CHECK(!WriteMemoList(archive, {2}, [] { return ReportStamp{"01.02.03", "04:05:06"}; }));
    FUZZ_CHECK(scratch.read("memo.txt").find(MemoBlock(2, lines)) != std::string::npos);
    return 0;
}
