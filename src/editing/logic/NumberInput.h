#pragma once
// Numbers typed into the editing windows.
#include <optional>
#include <string_view>

namespace lumo {

// A whole decimal number with an optional sign and nothing else around it.
std::optional<long long> ParseWholeNumber(std::string_view text);

} // namespace lumo
