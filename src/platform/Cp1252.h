#pragma once
// The one codec between archive bytes (code page 1252) and the screen.
#include <QString>
#include <QValidator>

#include <optional>
#include <string>
#include <string_view>

namespace lumo {

// Every byte maps to one character; the five unassigned bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the control characters of the same number.
QString FromCp1252(std::string_view bytes);
// nullopt when a character cannot be held in code page 1252.
std::optional<std::string> ToCp1252(const QString& text);
// For texts known to be representable (our own literals, validated input);
// unrepresentable characters become '?'.
std::string ToCp1252Lossy(const QString& text);

// Refuses typed characters that code page 1252 cannot hold.
class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace lumo
