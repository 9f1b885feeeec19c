// Lays out the demo archive:
//   lumo_demo_archive <targetdir> [<datadir>] [--slides N] [--memos M] [--seed S]
#include "store/DemoArchive.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

int Usage() {
    std::fprintf(stderr, "Aufruf: lumo_demo_archive <Zielverzeichnis> [<Datenverzeichnis>] "
                         "[--slides N] [--memos M] [--seed S]\n");
    return 2;
}

bool ParseNumber(const char* text, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text, &end, 10);
    return end && *end == '\0' && end != text && out >= 0;
}

} // namespace

int main(int argc, char** argv) {
    lumo::DemoOptions options;
    std::string target;
    bool haveData = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        long long n = 0;
        if (arg == "--slides" || arg == "--memos" || arg == "--seed") {
            if (i + 1 >= argc || !ParseNumber(argv[i + 1], n))
                return Usage();
            if (arg == "--slides" && n > 2147483647LL)
                return Usage();
            if (arg == "--slides")
                options.slides = static_cast<int32_t>(n);
            else if (arg == "--memos")
                options.memos = static_cast<int32_t>(std::min(n, 2147483647LL));
            else
                options.seed = static_cast<uint64_t>(n);
            ++i;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage();
        } else if (target.empty()) {
            target = std::string(arg);
        } else if (!haveData) {
            options.dataDir = std::string(arg);
            haveData = true;
        } else {
            return Usage();
        }
    }
    if (target.empty())
        return Usage();
    lumo::DemoResult r = lumo::MakeDemoArchive(target, options);
    if (!r.ok) {
        std::fprintf(stderr, "lumo_demo_archive: %s\n", r.error.c_str());
        return 1;
    }
    std::printf("Demo-Archiv in %s: %d Dias, %d freie Plätze, %d Memos\n", target.c_str(),
                r.activeSlides, r.freeSlots, r.memos);
    return 0;
}
