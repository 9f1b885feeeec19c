#pragma once
#include <string>
#include <vector>

namespace lumo::test {

// Info texts holding every byte 0x01..0xFF (a NUL would end the text), 28 per slide.
inline std::vector<std::string> AllCharacterTexts() {
    std::vector<std::string> texts;
    for (int b = 1; b <= 255; ++b)
        ((b - 1) % 28 == 0 ? texts.emplace_back() : texts.back()) += static_cast<char>(b);
    return texts;
}

} // namespace lumo::test
