// Header data records: a fuzzed kopfdata.ddb is read record by record and searched with
// fuzzed criteria (the fast tests held against plain ones); a record written reads back
// as written and leaves the other records alone.
//   parts: kopfdata.ddb | criteria (one per line) | values to write (one per line) | parameters
#include "FuzzSupport.h"

#include "search/Criteria.h"
#include "search/SearchRun.h"
#include "store/HeaderData.h"

#include <cstring>

namespace {

using namespace lumo;

std::array<std::string, 8> EightLines(std::string_view text) {
    std::array<std::string, 8> out;
    for (size_t i = 0; i < 8; ++i) {
        const size_t lf = text.find('\n');
        out[i] = std::string(text.substr(0, lf));
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    }
    return out;
}

// The bytes of record n the file holds (120, fewer at the end, none beyond it).
std::string_view RecordOf(std::string_view file, int32_t n) {
    const size_t at = static_cast<size_t>(n - 1) * kHeaderRecordSize;
    return at < file.size() ? file.substr(at, kHeaderRecordSize) : std::string_view();
}

// The header test written out plainly.
bool PlainHeaderTest(std::string_view record, const std::array<std::string, 8>& criteria) {
    if (record.empty())
        return false;
    for (size_t i = 0; i < 8; ++i) {
        if (criteria[i] == kUnusedCriterion)
            continue;
        unsigned char field[kHeaderFieldSize] = {};
        const size_t at = i * kHeaderFieldSize;
        if (at < record.size())
            std::memcpy(field, record.data() + at,
                        std::min<size_t>(kHeaderFieldSize, record.size() - at));
        const std::string value = HeaderFieldValue(field);
        if (criteria[i].empty() ||
            fuzz::FoldAscii(value).find(fuzz::FoldAscii(criteria[i])) == std::string::npos)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchArchive scratch;
    auto parts = fuzz::SplitParts(data, size, 4);
    fuzz::Params params(parts[3]);
    const std::string& file = parts[0];
    scratch.clear();
    scratch.write("kopfdata.ddb", file);
    scratch.write("dias.ddb", std::string(kRecordSize * 3, 'x'));
    const Archive archive(scratch.dir());
    const int32_t records =
        static_cast<int32_t>((file.size() + kHeaderRecordSize - 1) / kHeaderRecordSize);

    // Every record (and one beyond the file) read as the plain layout says.
    for (int32_t n = 1; n <= records + 1; ++n) {
        HeaderValues values;
        FUZZ_CHECK(!ReadHeaderRecord(archive, n, values));
        const std::string_view raw = RecordOf(file, n);
        for (size_t i = 0; i < 8; ++i) {
            unsigned char field[kHeaderFieldSize] = {};
            const size_t at = i * kHeaderFieldSize;
            if (at < raw.size())
                std::memcpy(field, raw.data() + at,
                            std::min<size_t>(kHeaderFieldSize, raw.size() - at));
            FUZZ_CHECK(values[i] == HeaderFieldValue(field));
        }
    }

    // The search: fast and block tests against the plain one, and the scan's count.
    std::array<std::string, 8> criteria = EightLines(parts[1]);
    for (auto& c : criteria)
        if (params.flag())
            c = std::string(kUnusedCriterion);
    const HeaderMatcher matcher(criteria);
    int32_t hits = 0;
    for (int32_t n = 1; n <= records; ++n) {
        const std::string_view raw = RecordOf(file, n);
        const bool plain = PlainHeaderTest(raw, criteria);
        FUZZ_CHECK(matcher.matches(raw) == plain);
        if (raw.size() == kHeaderRecordSize) {
            unsigned char block[kHeaderRecordSize + kRecordSlack] = {};
            std::memcpy(block, raw.data(), raw.size());
            FUZZ_CHECK(matcher.matchesInBlock(block) == plain);
        }
        hits += plain;
    }
    std::vector<std::string> list;
    ResultPage page;
    int32_t found = 0;
    std::array<std::string, 8> scanCriteria = criteria;
    {
        SearchRun run(archive, list, page, found, [] {
            return ReportStamp{"01.02.03", "04:05:06"};
        });
        FUZZ_CHECK(!ScanHeaderData(run, records, scanCriteria) && !run.Finish(records));
    }
    bool anyEmpty = false;
    for (const auto& c : criteria)
        anyEmpty |= c.empty();
    // The scan turns empty criteria into "nicht verwendet" first.
    if (!anyEmpty)
        FUZZ_CHECK(found == hits);

    // A record written reads back cut to 15 bytes per field and up to a NUL; no other
    // record changes.
    const HeaderValues written = EightLines(parts[2]);
    const int32_t target =
        1 + static_cast<int32_t>(params.below(static_cast<unsigned>(records) + 2));
    FUZZ_CHECK(!WriteHeaderRecord(archive, target, written));
    HeaderValues back;
    FUZZ_CHECK(!ReadHeaderRecord(archive, target, back));
    for (size_t i = 0; i < 8; ++i) {
        std::string expected = written[i].substr(0, kHeaderFieldSize);
        expected = expected.substr(0, expected.find('\0'));
        FUZZ_CHECK(back[i] == expected);
    }
    const std::string after = scratch.read("kopfdata.ddb");
    const size_t at = static_cast<size_t>(target - 1) * kHeaderRecordSize;
    FUZZ_CHECK(after.size() == std::max(file.size(), at + kHeaderRecordSize));
    for (size_t i = 0; i < file.size(); ++i)
        FUZZ_CHECK((i >= at && i < at + kHeaderRecordSize) || after[i] == file[i]);
    return 0;
}
