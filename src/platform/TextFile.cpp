#include "platform/TextFile.h"

#include "platform/Cp1252.h"

namespace lumo {

DecodedText DecodeTextFile(std::string_view bytes) {
    DecodedText out;
    const bool hasLf = bytes.find('\n') != std::string_view::npos;
    const bool hasCrLf = bytes.find("\r\n") != std::string_view::npos;
    out.crlf = hasCrLf || !hasLf;
    QString t = FromCp1252(bytes);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out.text = t;
    return out;
}

std::optional<std::string> EncodeTextFile(const QString& text, bool crlf, qsizetype* badIndex) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\n') && !ToCp1252(QString(text.at(i)))) {
            if (badIndex)
                *badIndex = i;
            return std::nullopt;
        }
    }
    QString lines = text;
    if (crlf)
        lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToCp1252(lines);
}

} // namespace lumo
