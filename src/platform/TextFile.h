#pragma once
// Text files of the archive (reports, INI files, memos, keyword lists) as an editor sees
// them: code page 1252 bytes with CR LF (or LF alone) line ends <-> lines of text.
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace lumo {

struct DecodedText {
    QString text;     // lines separated by '\n'
    bool crlf = true; // the file ends its lines with CR LF (new and empty files too)
};

// Decodes with the code page 1252 table; CR LF, LF and a lone CR all end a line.
DecodedText DecodeTextFile(std::string_view bytes);

// Encodes lines back with the given line end. nullopt when a character cannot be held
// in code page 1252; *badIndex then is its position in `text`.
std::optional<std::string> EncodeTextFile(const QString& text, bool crlf,
                                          qsizetype* badIndex = nullptr);

} // namespace lumo
