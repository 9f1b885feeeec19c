#include "services/logic/Tips.h"

#include <charconv>

namespace lumo {

std::string TipFileName(int32_t n) {
    return "tips/" + std::to_string(n) + ".tip";
}

bool TipExists(const Archive& archive, int32_t n) {
    return archive.fileSize(TipFileName(n)) >= 0;
}

int32_t NextTipNumber(const Archive& archive, int32_t current) {
    const int32_t next = current < INT32_MAX ? current + 1 : 1;
    return TipExists(archive, next) ? next : 1;
}

int32_t StartupTipNumber(const Archive& archive, int32_t tipNumber) {
    if (tipNumber == 0)
        return 0;
    if (TipExists(archive, tipNumber))
        return tipNumber;
    int32_t lowest = 0;
    for (const std::string& name : archive.list("tips")) {
        const size_t dot = name.find('.');
        if (dot == std::string::npos || dot == 0)
            continue;
        std::string ext = name.substr(dot);
        for (char& c : ext)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        int32_t n = 0;
        const auto [stop, ec] = std::from_chars(name.data(), name.data() + dot, n);
        // Only names the numbered lookup finds: "7.tip", not "07.tip".
        if (ext == ".tip" && ec == std::errc() && stop == name.data() + dot && n >= 1 &&
            name.compare(0, dot, std::to_string(n)) == 0 && (lowest == 0 || n < lowest))
            lowest = n;
    }
    return lowest;
}

} // namespace lumo
