#include "services/logic/Preferences.h"

#include <charconv>

namespace lumo {

std::optional<int32_t> ParseSize(std::string_view text, SizeField field) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || stop != end)
        return std::nullopt;
    const bool inRange =
        field == SizeField::Box ? value >= 1 && value <= 24 : value >= 0 && value <= 99;
    if (!inRange)
        return std::nullopt;
    return value;
}

} // namespace lumo
