// Entry point of lumo_bench; the benchmarks register themselves from their own files.
// After the usual console output a table puts each scan core (BM_Scan<Kind>) next to
// SQLite answering the same question (BM_Sqlite<Kind>, same arguments) and next to one
// plain read of dias.ddb (BM_ReadSlideFile, same number of slides).
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Timing {
    double realMs = 0;
    double cpuMs = 0;
    double matchPercent = -1;
};

double ToMs(double value, benchmark::TimeUnit unit) {
    switch (unit) {
    case benchmark::kNanosecond:
        return value / 1e6;
    case benchmark::kMicrosecond:
        return value / 1e3;
    case benchmark::kMillisecond:
        return value;
    case benchmark::kSecond:
        return value * 1e3;
    }
    return value;
}

class SideBySideReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            // With repetitions the median stands for the family; without, the single run.
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!single && !median)
                continue;
            Timing t;
            t.realMs = ToMs(run.GetAdjustedRealTime(), run.time_unit);
            t.cpuMs = ToMs(run.GetAdjustedCPUTime(), run.time_unit);
            if (auto it = run.counters.find("match%"); it != run.counters.end())
                t.matchPercent = it->second.value;
            timings_[{run.run_name.function_name, run.run_name.args}] = t;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::vector<std::string> lines;
        for (const auto& [key, scan] : timings_) {
            const auto& [name, args] = key;
            if (name.rfind("BM_Scan", 0) != 0)
                continue;
            const std::string kind = name.substr(7);
            const auto sql = timings_.find({"BM_Sqlite" + kind, args});
            const std::string slides = args.substr(0, args.find('/'));
            const auto read = timings_.find({"BM_ReadSlideFile", slides});
            char line[256];
            std::snprintf(line, sizeof line, "%-11s %-9s %6.1f %9.3f %9.3f", kind.c_str(),
                          args.c_str(), scan.matchPercent, scan.realMs, scan.cpuMs);
            std::string s = line;
            if (sql != timings_.end()) {
                std::snprintf(line, sizeof line, " %9.3f %9.3f %8.2f", sql->second.realMs,
                              sql->second.cpuMs, scan.cpuMs / sql->second.cpuMs);
                s += line;
            } else {
                s += "         -         -        -";
            }
            if (read != timings_.end()) {
                std::snprintf(line, sizeof line, " %9.3f %8.2f", read->second.cpuMs,
                              scan.cpuMs / read->second.cpuMs);
                s += line;
            }
            lines.push_back(s);
        }
        if (lines.empty())
            return;
        auto& out = GetOutputStream();
        out << "\nScan cores beside SQLite and one plain read of dias.ddb (ms per run; "
               "args = slides/all-matching)\n"
            << "core        args        match%  scan wall  scan CPU  SQL wall   SQL CPU "
               "scan/SQL  read CPU scan/read\n";
        for (const auto& l : lines)
            out << l << '\n';
        out.flush();
    }

private:
    std::map<std::pair<std::string, std::string>, Timing> timings_;
};

} // namespace

namespace lumo {
// End the fixtures (their program windows) while the application is still alive.
void TearDownActions();
void TearDownWholeSearch();
} // namespace lumo

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The program's windows need an application; headless unless a platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SideBySideReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    lumo::TearDownActions();
    lumo::TearDownWholeSearch();
    benchmark::Shutdown();
    return 0;
}
