#include "extras/CsvExport.h"

#include "extras/logic/CsvTable.h"
#include "platform/Cp1252.h"
#include "store/FileUtil.h"

#include <array>

namespace lumo {

std::string Cp1252ToUtf8(std::string_view cp1252) {
    // The UTF-8 of every byte, taken once from the program's codec.
    static const std::array<std::string, 256> utf8 = [] {
        std::array<std::string, 256> table;
        for (int b = 0; b < 256; ++b)
            table[size_t(b)] = FromCp1252(std::string(1, char(b))).toStdString();
        return table;
    }();
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            out += utf8[b];
    }
    return out;
}

std::string ProblemText(const Problem& problem) {
    switch (problem.kind) {
    case ProblemKind::None:
        return {};
    case ProblemKind::Io:
        return "I/O-Fehler " + std::to_string(problem.sysError);
    case ProblemKind::KeywordOpenFailed:
    case ProblemKind::KeywordNoMemory:
        return "Datei KEYWORD" + std::to_string(problem.level) + " konnte nicht gelesen werden !";
    default:
        return "Archiv DIAS.DDB konnte nicht ge\xC3\xB6"
               "ffnet werden !";
    }
}

ExportOutcome ExportCsv(const Archive& archive, const std::filesystem::path& file,
                        const std::optional<std::vector<int32_t>>& only) {
    ExportOutcome outcome;
    std::vector<CatalogSlide> slides;
    if (Problem p = ReadCatalog(archive, slides, only)) {
        outcome.message = ProblemText(p);
        return outcome;
    }
    const HeaderFields fields = ReadHeaderFields(archive);
    const std::string csv = CatalogCsv(slides, fields.names, Cp1252ToUtf8);
    // A derived file that every export writes anew, as the reports: whole or old, not flushed.
    if (int err = WriteFileAtomically(file, csv, Durability::NoSync)) {
        outcome.message = "Die Datei " + file.string() +
                          " konnte nicht geschrieben werden (I/O-Fehler " + std::to_string(err) +
                          ").";
        return outcome;
    }
    outcome.ok = true;
    outcome.items = int(slides.size());
    outcome.message = std::to_string(slides.size()) + " Dias in " + file.string() + " exportiert.";
    return outcome;
}

} // namespace lumo
