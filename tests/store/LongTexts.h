#pragma once
// Texts at the limits, shared by the long archive tests.
#include <string>
#include <vector>

namespace lumo::test {

// Info texts holding every byte 0x01..0xFF (a NUL would end the text), 28 per slide.
inline std::vector<std::string> AllCharacterTexts() {
    std::vector<std::string> texts;
    for (int b = 1; b <= 255; b += 28) {
        std::string t;
        for (int c = b; c < b + 28 && c <= 255; ++c)
            t += static_cast<char>(c);
        texts.push_back(t);
    }
    return texts;
}

} // namespace lumo::test
