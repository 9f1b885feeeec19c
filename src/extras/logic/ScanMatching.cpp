#include "extras/logic/ScanMatching.h"

#include "store/SlideTypes.h"

#include <algorithm>
#include <set>

namespace lumo {

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}
} // namespace

std::optional<int32_t> SlideNumberInName(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    const std::string_view stem =
        dot == std::string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot);
    std::optional<int32_t> found;
    for (size_t i = 0; i < stem.size();) {
        if (!IsDigit(stem[i])) {
            ++i;
            continue;
        }
        if (found)
            return std::nullopt; // a second number: which one is meant cannot be told
        size_t j = i;
        while (j < stem.size() && stem[j] == '0')
            ++j;
        size_t end = j;
        while (end < stem.size() && IsDigit(stem[end]))
            ++end;
        if (end - j > 5)
            return std::nullopt;
        int32_t n = 0;
        for (size_t k = j; k < end; ++k)
            n = n * 10 + (stem[k] - '0');
        if (n == 0)
            return std::nullopt;
        found = n;
        i = end;
    }
    return found;
}

bool NaturalLess(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei]))
                ++ei;
            while (ej < b.size() && IsDigit(b[ej]))
                ++ej;
            std::string_view da = a.substr(i, ei - i), db = b.substr(j, ej - j);
            while (da.size() > 1 && da[0] == '0')
                da.remove_prefix(1);
            while (db.size() > 1 && db[0] == '0')
                db.remove_prefix(1);
            if (da.size() != db.size())
                return da.size() < db.size();
            if (da != db)
                return da < db;
            i = ei;
            j = ej;
            continue;
        }
        const char ca = Lower(a[i]), cb = Lower(b[j]);
        if (ca != cb)
            return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return a.size() - i < b.size() - j;
    return a < b; // equal but for case or leading zeros: a fixed order all the same
}

std::vector<ScanRow> PlanScanImport(std::vector<std::string> files, int32_t firstSlide,
                                    int32_t totalRecords,
                                    const std::function<bool(int32_t)>& pictureThere,
                                    bool replaceAll) {
    std::sort(files.begin(), files.end(),
              [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
    std::vector<ScanRow> rows;
    std::set<int32_t> taken;
    int32_t next = firstSlide;
    for (auto& file : files) {
        ScanRow row;
        row.file = std::move(file);
        row.replace = replaceAll;
        if (firstSlide > 0)
            row.slide = next <= kMaxSlideNumber ? next++ : 0;
        else
            row.slide = SlideNumberInName(row.file).value_or(0);
        if (row.slide <= 0)
            row.match = firstSlide > 0 ? ScanMatch::NoSuchSlide : ScanMatch::NoNumber;
        else if (row.slide > totalRecords)
            row.match = ScanMatch::NoSuchSlide;
        else if (!taken.insert(row.slide).second)
            row.match = ScanMatch::Duplicate;
        else
            row.match = pictureThere(row.slide) ? ScanMatch::PictureThere : ScanMatch::Ready;
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace lumo
