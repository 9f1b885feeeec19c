// The code page 1252 codec: every byte survives the way to the screen and back, text files
// keep their bytes through decoding and encoding, and text typed on the keyboard is
// either held exactly or refused.
//   input: bytes (read as archive bytes, and as UTF-16 units for the keyboard side)
#include "FuzzSupport.h"

#include "platform/Cp1252.h"
#include "platform/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumo;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Bytes -> screen -> bytes.
    const QString shown = FromCp1252(bytes);
    FUZZ_CHECK(static_cast<size_t>(shown.size()) == size);
    const auto back = ToCp1252(shown);
    FUZZ_CHECK(back && *back == bytes);
    FUZZ_CHECK(ToCp1252Lossy(shown) == bytes);

    // A text file with one kind of line end comes back byte for byte.
    const DecodedText decoded = DecodeTextFile(bytes);
    const bool hasCr = bytes.find('\r') != std::string_view::npos;
    size_t crlf = 0;
    for (size_t i = 0; i + 1 < size; ++i)
        crlf += bytes[i] == '\r' && bytes[i + 1] == '\n';
    size_t crs = 0, lfs = 0;
    for (char c : bytes) {
        crs += c == '\r';
        lfs += c == '\n';
    }
    const bool onlyCrLf = crlf == crs && crlf == lfs;
    const bool onlyLf = !hasCr;
    if (onlyCrLf || onlyLf) {
        const auto encoded = EncodeTextFile(decoded.text, decoded.crlf);
        FUZZ_CHECK(encoded && *encoded == bytes);
    }

    // The same bytes as UTF-16 units, as typed text.
    QString typed;
    for (size_t i = 0; i + 1 < size; i += 2)
        typed.append(QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8))));
    const auto held = ToCp1252(typed);
    const std::string lossy = ToCp1252Lossy(typed);
    if (held) {
        FUZZ_CHECK(*held == lossy);
        FUZZ_CHECK(FromCp1252(*held) == typed);
    } else {
        FUZZ_CHECK(lossy.find('?') != std::string::npos);
        FUZZ_CHECK(lossy.size() <= static_cast<size_t>(typed.size()));
    }
    Cp1252Validator validator;
    int pos = 0;
    QString input = typed;
    FUZZ_CHECK((validator.validate(input, pos) == QValidator::Acceptable) == held.has_value());
    return 0;
}
