#include "editing/logic/HeaderFieldNames.h"

namespace lumo {

std::array<std::string, 8> RenamedFieldNames(const HeaderFields& fields, int field,
                                             std::string_view name) {
    std::array<std::string, 8> names = fields.names;
    if (field >= 0 && field < 8)
        names[static_cast<size_t>(field)] = std::string(name);
    return names;
}

std::optional<std::vector<std::string>> ReplacedProposals(const HeaderFields& fields, int field,
                                                          int proposal, std::string_view text) {
    if (field < 0 || field > 7)
        return std::nullopt;
    const auto& entries = fields.proposals[static_cast<size_t>(field)];
    const auto& elements = fields.proposalElements[static_cast<size_t>(field)];
    if (entries.empty()) // nothing to replace: the text becomes the first proposal
        return std::vector<std::string>{std::string(text)};
    if (proposal < 0 || static_cast<size_t>(proposal) >= entries.size() ||
        entries.size() != elements.size())
        return std::nullopt;
    const int last = elements[static_cast<size_t>(proposal)];
    // Elements not offered as proposals read "leer" and are written back as such.
    std::vector<std::string> out(static_cast<size_t>(last) + 1, std::string(kHeaderElementUnset));
    for (size_t i = 0; i < entries.size() && elements[i] <= last; ++i)
        out[static_cast<size_t>(elements[i])] = entries[i];
    out.back() = std::string(text);
    return out;
}

} // namespace lumo
