#pragma once
// The catalogue as a table for spreadsheets, as German spreadsheet programs open it:
// UTF-8 with a byte order mark, ";" between fields, CR LF after every row, fields quoted
// as RFC 4180 says (in double quotes when they hold ";", a quote or a line break; quotes
// inside doubled).
#include "extras/logic/Catalog.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// Turns archive text (code page 1252) into UTF-8; the program's codec does it.
using Utf8Converter = std::function<std::string(std::string_view cp1252)>;

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// One field as it goes into a row.
std::string CsvField(std::string_view utf8);
// Fields joined by ";" and ended by CR LF, appended to out.
void AppendCsvRow(std::string& out, const std::vector<std::string>& utf8Fields);

// The header row's fields: Dia-Nr., Kasten, Position, Informationstext, Schlüssel 1..8,
// the eight header field names (UTF-8) and Memo.
std::vector<std::string> CsvHeadings(const std::array<std::string, 8>& headerNamesUtf8);
// One slide's fields (UTF-8).
std::vector<std::string> CsvFields(const CatalogSlide& slide, const Utf8Converter& utf8);

// The whole file: byte order mark, header row, one row per slide.
std::string CatalogCsv(const std::vector<CatalogSlide>& slides,
                       const std::array<std::string, 8>& headerNamesCp1252,
                       const Utf8Converter& utf8);

} // namespace lumo
