// The scan cores of the five searches (scan, result list and dialiste.txt, no window) side
// by side with one plain read of dias.ddb and with SQLite answering the same question over
// the same rows. Archives of 10,000 and 99,999 slides come from the demo generator, once
// per process, into a temporary directory.
#include "search/SearchRun.h"
#include "store/DemoArchive.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"
#include "store/SlideDatabase.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace lumo {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct SqliteDeleter {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StmtDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

// One generated archive with its rows also loaded into an in-memory SQLite database.
struct BenchArchive {
    fs::path dir;
    Archive archive;
    int32_t total = 0;
    std::unique_ptr<sqlite3, SqliteDeleter> db;
    // Criteria chosen once: "all" matches (nearly) every row, "one" about 1 % of them.
    KeySelection keysAll, keysOne;
    std::string infoAll = " ", infoOne;
    int32_t boxOne = 1;
    fs::path boxAllDir; // a copy whose records all lie in box 7
    std::string memoAll = "dia ", memoOne;
    std::array<std::string, 8> headerAll, headerOne;
};

fs::path BenchRoot() {
    static fs::path root = [] {
        fs::path p = fs::temp_directory_path() / ("lumo-bench-" + std::to_string(::getpid()));
        fs::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("lumo-bench-" + std::to_string(::getpid())),
                           ec);
        });
        return p;
    }();
    return root;
}

void Exec(sqlite3* db, const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", err ? err : "?");
        std::abort();
    }
}

Stmt Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite prepare: %s\n", sqlite3_errmsg(db));
        std::abort();
    }
    return Stmt(s);
}

// Picks the candidate whose number of matches lies closest to 1 % of `total`.
template <class Count>
std::string ClosestToOnePercent(const std::vector<std::string>& candidates, int32_t total,
                                Count count) {
    std::string best;
    double bestDist = 1e18;
    for (const auto& c : candidates) {
        double d = std::fabs(count(c) - total * 0.01);
        if (d < bestDist) {
            bestDist = d;
            best = c;
        }
    }
    return best;
}

int32_t CountScan(const Archive& archive, const std::function<Problem(SearchRun&)>& scan) {
    std::vector<std::string> list;
    ResultPage page;
    int32_t found = 0;
    SearchRun run(archive, list, page, found);
    scan(run);
    return found;
}

void FillSqlite(BenchArchive& b) {
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    b.db.reset(raw);
    sqlite3* db = raw;
    Exec(db, "CREATE TABLE slides(n INTEGER PRIMARY KEY, keys BLOB, info TEXT, box INTEGER);"
             "CREATE TABLE memos(n INTEGER PRIMARY KEY, text TEXT);"
             "CREATE TABLE headers(n INTEGER PRIMARY KEY, f1 TEXT, f2 TEXT, f3 TEXT, f4 TEXT,"
             " f5 TEXT, f6 TEXT, f7 TEXT, f8 TEXT);"
             "BEGIN;");
    std::string slideFile = ReadAll(b.archive.resolve("dias.ddb"));
    auto ins = Prepare(db, "INSERT INTO slides VALUES(?,?,?,?)");
    for (int32_t n = 1; n <= b.total; ++n) {
        const auto* rec = reinterpret_cast<const unsigned char*>(slideFile.data()) + (n - 1) * 82;
        std::string_view keys = RecordTextUpToNul(rec).substr(0, 48);
        std::string_view info = RecordInfo(rec);
        sqlite3_bind_int(ins.get(), 1, n);
        sqlite3_bind_text(ins.get(), 2, keys.data(), static_cast<int>(keys.size()), SQLITE_STATIC);
        sqlite3_bind_text(ins.get(), 3, info.data(), static_cast<int>(info.size()), SQLITE_STATIC);
        sqlite3_bind_int(ins.get(), 4, rec[81]);
        sqlite3_step(ins.get());
        sqlite3_reset(ins.get());
    }
    auto memo = Prepare(db, "INSERT INTO memos VALUES(?,?)");
    for (const auto& e : fs::directory_iterator(b.archive.resolve("memo"))) {
        std::string text = ReadAll(e.path());
        int n = std::atoi(e.path().stem().c_str());
        sqlite3_bind_int(memo.get(), 1, n);
        sqlite3_bind_text(memo.get(), 2, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        sqlite3_step(memo.get());
        sqlite3_reset(memo.get());
    }
    std::string headerFile = ReadAll(b.archive.resolve("kopfdata.ddb"));
    auto head = Prepare(db, "INSERT INTO headers VALUES(?,?,?,?,?,?,?,?,?)");
    for (size_t off = 0; off + 120 <= headerFile.size(); off += 120) {
        sqlite3_bind_int(head.get(), 1, static_cast<int>(off / 120 + 1));
        for (int f = 0; f < 8; ++f) {
            std::string v = HeaderFieldValue(
                reinterpret_cast<const unsigned char*>(headerFile.data()) + off + f * 15);
            sqlite3_bind_text(head.get(), f + 2, v.data(), static_cast<int>(v.size()),
                              SQLITE_TRANSIENT);
        }
        sqlite3_step(head.get());
        sqlite3_reset(head.get());
    }
    // The rows of the all-box-7 copy for the all-matching box question.
    Exec(db, "CREATE TABLE slides7 AS SELECT n, keys, info, 7 AS box FROM slides;"
             "COMMIT;");
}

BenchArchive& Get(int32_t slides) {
    static std::map<int32_t, std::unique_ptr<BenchArchive>> cache;
    auto& slot = cache[slides];
    if (slot)
        return *slot;
    auto b = std::make_unique<BenchArchive>();
    b->dir = BenchRoot() / ("archive-" + std::to_string(slides));
    DemoOptions options;
    options.slides = slides;
    options.memos = slides >= 99999 ? 20000 : slides / 5;
    DemoResult made = MakeDemoArchive(b->dir, options);
    if (!made.ok) {
        std::fprintf(stderr, "demo archive: %s\n", made.error.c_str());
        std::abort();
    }
    b->archive = Archive(b->dir);
    b->total = slides;

    // Criteria. Keys: "00" stands at a slot start of nearly every record (free slots and
    // unused slots); for 1 % the level-2/3 code whose share lies closest.
    b->keysAll.entries[0] = {"00", "leer"};
    b->keysAll.count = 1;
    std::vector<std::string> codes;
    for (int level = 2; level <= 3; ++level)
        for (const auto& e : ParseKeywordFile(ReadAll(b->archive.resolve(KeywordFileName(level)))))
            codes.push_back(e.code.substr(0, level * 2));
    std::string code = ClosestToOnePercent(codes, slides, [&](const std::string& c) {
        KeySelection k;
        k.entries[0] = {c, "x"};
        k.count = 1;
        return CountScan(b->archive, [&](SearchRun& r) { return ScanKeys(r, slides, k); });
    });
    b->keysOne.entries[0] = {code, "Auswahl"};
    b->keysOne.count = 1;

    std::vector<std::string> positions;
    for (char letter : {'A', 'B'})
        for (int p = 1; p <= 50; p += 7) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "%c%02d", letter, p);
            positions.push_back(buf);
        }
    b->infoOne = ClosestToOnePercent(positions, slides, [&](const std::string& t) {
        return CountScan(b->archive,
                         [&](SearchRun& r) { return ScanInfoText(r, slides, t, false); });
    });
    b->boxOne = 7;

    // A copy of dias.ddb with every record in box 7, for the all-matching box search.
    b->boxAllDir = BenchRoot() / ("box-all-" + std::to_string(slides));
    fs::create_directories(b->boxAllDir);
    std::string slideFile = ReadAll(b->archive.resolve("dias.ddb"));
    for (size_t off = 81; off < slideFile.size(); off += 82)
        slideFile[off] = 7;
    std::ofstream(b->boxAllDir / "dias.ddb", std::ios::binary) << slideFile;

    std::vector<std::string> memoWords;
    for (int k = 1; k <= 99; ++k)
        memoWords.push_back("Dia " + std::to_string(k));
    for (const auto& p : positions)
        memoWords.push_back(p);
    b->memoOne = ClosestToOnePercent(memoWords, slides, [&](const std::string& t) {
        return CountScan(b->archive, [&](SearchRun& r) { return ScanMemo(r, slides, t, false); });
    });

    b->headerAll.fill("nicht verwendet");
    std::vector<std::string> years;
    for (int y = 62; y <= 99; ++y)
        years.push_back(std::string(".") += std::to_string(y));
    std::string year = ClosestToOnePercent(years, slides, [&](const std::string& y) {
        auto c = b->headerAll;
        c[7] = y;
        return CountScan(b->archive, [&](SearchRun& r) { return ScanHeaderData(r, slides, c); });
    });
    b->headerOne = b->headerAll;
    b->headerOne[7] = year;

    FillSqlite(*b);
    slot = std::move(b);
    return *slot;
}

void Report(benchmark::State& state, int32_t found, int32_t total) {
    state.counters["found"] = found;
    state.counters["match%"] = 100.0 * found / total;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * total);
}

// --- one plain read ---

void BM_ReadSlideFile(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    std::vector<char> buf(82 * 4096);
    auto path = b.archive.resolve("dias.ddb");
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDONLY);
        size_t sum = 0;
        for (ssize_t r; (r = ::read(fd, buf.data(), buf.size())) > 0;)
            sum += static_cast<size_t>(r) + static_cast<unsigned char>(buf[0]);
        ::close(fd);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * b.total);
}

// The head of dialiste.txt alone: written whole (a new file renamed into place, not
// flushed to the disk) before the scan starts.
void BM_WriteReportHead(benchmark::State& state) {
    BenchArchive& b = Get(10000);
    for (auto _ : state)
        if (WriteBoxSearchHeader(b.archive))
            state.SkipWithError("head not written");
}

// --- scan cores ---

template <class Scan>
void RunCore(benchmark::State& state, const Archive& archive, int32_t total, Scan scan) {
    std::vector<std::string> list;
    ResultPage page;
    int32_t found = 0;
    for (auto _ : state) {
        SearchRun run(archive, list, page, found);
        if (scan(run) || run.Finish(total))
            state.SkipWithError("scan failed");
    }
    Report(state, found, total);
}

void BM_ScanKeys(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    KeySelection keys = state.range(1) ? b.keysAll : b.keysOne;
    RunCore(state, b.archive, b.total, [&](SearchRun& r) {
        KeySelection k = keys;
        return ScanKeys(r, b.total, k);
    });
}

void BM_ScanInfoText(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    const std::string& text = state.range(1) ? b.infoAll : b.infoOne;
    RunCore(state, b.archive, b.total,
            [&](SearchRun& r) { return ScanInfoText(r, b.total, text, false); });
}

void BM_ScanBox(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    Archive archive(state.range(1) ? b.boxAllDir : b.dir);
    RunCore(state, archive, b.total, [&](SearchRun& r) { return ScanBox(r, b.total, 7); });
}

void BM_ScanMemo(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    const std::string& text = state.range(1) ? b.memoAll : b.memoOne;
    RunCore(state, b.archive, b.total,
            [&](SearchRun& r) { return ScanMemo(r, b.total, text, false); });
}

void BM_ScanHeaderData(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    const auto& criteria = state.range(1) ? b.headerAll : b.headerOne;
    RunCore(state, b.archive, b.total, [&](SearchRun& r) {
        auto c = criteria;
        return ScanHeaderData(r, b.total, c);
    });
}

// --- SQLite over the same rows (rows collected as the scan collects them) ---

struct Hit {
    int32_t n;
    int32_t box;
    std::string info;
};

void RunSql(benchmark::State& state, BenchArchive& b, const char* sql,
            const std::function<void(sqlite3_stmt*)>& bind) {
    auto stmt = Prepare(b.db.get(), sql);
    std::vector<Hit> hits;
    for (auto _ : state) {
        hits.clear();
        sqlite3_reset(stmt.get());
        bind(stmt.get());
        while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
            hits.push_back({sqlite3_column_int(stmt.get(), 0), sqlite3_column_int(stmt.get(), 1),
                            reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 2))});
        }
    }
    Report(state, static_cast<int32_t>(hits.size()), b.total);
}

void BindText(sqlite3_stmt* s, int i, const std::string& t) {
    sqlite3_bind_text(s, i, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
}

void BM_SqliteKeys(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    std::string code = (state.range(1) ? b.keysAll : b.keysOne).entries[0].code;
    RunSql(state, b,
           "SELECT n, box, info FROM slides WHERE instr(keys, ?1) > 0 AND "
           "(instr(keys, ?1) - 1) % 6 = 0 ORDER BY n",
           [&](sqlite3_stmt* s) { BindText(s, 1, code); });
}

void BM_SqliteInfoText(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    std::string text = UpperAscii(state.range(1) ? b.infoAll : b.infoOne);
    RunSql(state, b, "SELECT n, box, info FROM slides WHERE instr(upper(info), ?1) > 0 ORDER BY n",
           [&](sqlite3_stmt* s) { BindText(s, 1, text); });
}

void BM_SqliteBox(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    const char* sql = state.range(1) ? "SELECT n, box, info FROM slides7 WHERE box = ?1 ORDER BY n"
                                     : "SELECT n, box, info FROM slides WHERE box = ?1 ORDER BY n";
    RunSql(state, b, sql, [&](sqlite3_stmt* s) { sqlite3_bind_int(s, 1, 7); });
}

void BM_SqliteMemo(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    std::string text = UpperAscii(state.range(1) ? b.memoAll : b.memoOne);
    RunSql(state, b,
           "SELECT m.n, s.box, s.info FROM memos m JOIN slides s ON s.n = m.n "
           "WHERE instr(upper(m.text), ?1) > 0 ORDER BY m.n",
           [&](sqlite3_stmt* s) { BindText(s, 1, text); });
}

void BM_SqliteHeaderData(benchmark::State& state) {
    BenchArchive& b = Get(static_cast<int32_t>(state.range(0)));
    std::string year = state.range(1) ? std::string() : b.headerOne[7];
    RunSql(state, b,
           "SELECT h.n, s.box, s.info FROM headers h JOIN slides s ON s.n = h.n "
           "WHERE ?1 = '' OR instr(upper(h.f8), ?1) > 0 ORDER BY h.n",
           [&](sqlite3_stmt* s) { BindText(s, 1, year); });
}

// Arguments: slides, 1 = all-matching criterion / 0 = about 1 % matching.
void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t slides : {10000, 99999})
        for (int64_t all : {0, 1})
            b->Args({slides, all});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ReadSlideFile)->Arg(10000)->Arg(99999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteReportHead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanKeys)->Apply(Sizes);
BENCHMARK(BM_SqliteKeys)->Apply(Sizes);
BENCHMARK(BM_ScanInfoText)->Apply(Sizes);
BENCHMARK(BM_SqliteInfoText)->Apply(Sizes);
BENCHMARK(BM_ScanBox)->Apply(Sizes);
BENCHMARK(BM_SqliteBox)->Apply(Sizes);
BENCHMARK(BM_ScanMemo)->Apply(Sizes);
BENCHMARK(BM_SqliteMemo)->Apply(Sizes);
BENCHMARK(BM_ScanHeaderData)->Apply(Sizes);
BENCHMARK(BM_SqliteHeaderData)->Apply(Sizes);

} // namespace
} // namespace lumo
