#include "editing/logic/NumberInput.h"

#include <charconv>
#include <system_error>

namespace lumo {

std::optional<long long> ParseWholeNumber(std::string_view text) {
    const char* b = text.data();
    const char* e = text.data() + text.size();
    if (b != e && *b == '+')
        ++b;
    long long v = 0;
    const auto [p, ec] = std::from_chars(b, e, v);
    if (b == e || ec != std::errc() || p != e)
        return std::nullopt;
    return v;
}

} // namespace lumo
