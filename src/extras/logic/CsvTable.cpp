#include "extras/logic/CsvTable.h"

namespace lumo {

std::string CsvField(std::string_view utf8) {
    if (utf8.find_first_of(";\"\r\n") == std::string_view::npos)
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size() + 8);
    out += '"';
    for (char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

void AppendCsvRow(std::string& out, const std::vector<std::string>& utf8Fields) {
    for (size_t i = 0; i < utf8Fields.size(); ++i) {
        if (i > 0)
            out += ';';
        out += CsvField(utf8Fields[i]);
    }
    out += "\r\n";
}

std::vector<std::string> CsvHeadings(const std::array<std::string, 8>& headerNamesUtf8) {
    std::vector<std::string> h{"Dia-Nr.", "Kasten", "Position", "Informationstext"};
    for (int k = 1; k <= 8; ++k)
        h.push_back("Schl\xC3\xBCssel " + std::to_string(k));
    h.insert(h.end(), headerNamesUtf8.begin(), headerNamesUtf8.end());
    h.emplace_back("Memo");
    return h;
}

std::vector<std::string> CsvFields(const CatalogSlide& slide, const Utf8Converter& utf8) {
    std::vector<std::string> f;
    f.reserve(21);
    f.push_back(std::to_string(slide.number));
    f.push_back(slide.box > 0 ? std::to_string(slide.box) : std::string());
    f.push_back(utf8(slide.position));
    f.push_back(utf8(slide.text));
    for (const KeyPath& key : slide.keys)
        f.push_back(utf8(key.joined(" / ")));
    for (const std::string& value : slide.header)
        f.push_back(utf8(value));
    std::string memo;
    for (size_t i = 0; i < slide.memoLines.size(); ++i) {
        if (i > 0)
            memo += "\r\n";
        memo += slide.memoLines[i];
    }
    f.push_back(utf8(memo));
    return f;
}

std::string CatalogCsv(const std::vector<CatalogSlide>& slides,
                       const std::array<std::string, 8>& headerNamesCp1252,
                       const Utf8Converter& utf8) {
    std::array<std::string, 8> names;
    for (size_t i = 0; i < names.size(); ++i)
        names[i] = utf8(headerNamesCp1252[i]);
    std::string out(kUtf8ByteOrderMark);
    out.reserve(slides.size() * 96);
    AppendCsvRow(out, CsvHeadings(names));
    for (const CatalogSlide& s : slides)
        AppendCsvRow(out, CsvFields(s, utf8));
    return out;
}

} // namespace lumo
