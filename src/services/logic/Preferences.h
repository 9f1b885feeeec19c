#pragma once
// The rules of the preferences dialog's two size fields.
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumo {

enum class SizeField {
    Box,      // magazines per box: 1..24
    Magazine, // slides per magazine: 0..99
};

// The size the field's text gives, when the whole text is a decimal number (an optional
// sign and digits, nothing else) in the field's range; nullopt otherwise.
std::optional<int32_t> ParseSize(std::string_view text, SizeField field);

} // namespace lumo
