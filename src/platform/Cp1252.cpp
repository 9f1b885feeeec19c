#include "platform/Cp1252.h"

#include <array>

namespace lumo {
namespace {

// Code page 1252 differs from Latin-1 only in 0x80..0x9F; the five bytes it leaves
// unassigned keep the control character of the same number so that they survive.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

constexpr char16_t Decode(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char16_t(b);
}

// The byte for one UTF-16 unit, or -1 when code page 1252 has none.
int Encode(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

QString FromCp1252(std::string_view bytes) {
    QString out;
    out.resize(qsizetype(bytes.size()));
    QChar* d = out.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        d[i] = QChar(Decode(static_cast<unsigned char>(bytes[i])));
    return out;
}

std::optional<std::string> ToCp1252(const QString& text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (QChar c : text) {
        const int b = Encode(c.unicode());
        if (b < 0)
            return std::nullopt;
        out.push_back(static_cast<char>(b));
    }
    return out;
}

std::string ToCp1252Lossy(const QString& text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const int b = Encode(c.unicode());
        if (b >= 0) {
            out.push_back(static_cast<char>(b));
        } else {
            out.push_back('?');
            // One '?' for a character outside the basic plane, not two.
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
        }
    }
    return out;
}

QValidator::State Cp1252Validator::validate(QString& input, int& /*pos*/) const {
    return ToCp1252(input) ? Acceptable : Invalid;
}

} // namespace lumo
