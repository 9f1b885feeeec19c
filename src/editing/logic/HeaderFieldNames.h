#pragma once
// Renaming a header data field and replacing one of its proposals: what is stored in
// DIA.INI [KOPFDATA] for the choice made in the field names window.
#include "store/HeaderData.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// The eight names to store when field `field` (0..7) is renamed to `name`.
std::array<std::string, 8> RenamedFieldNames(const HeaderFields& fields, int field,
                                             std::string_view name);

// The elements 0..e of the proposal key of `field` to store when its proposal number
// `proposal` (an index into fields.proposals[field]) becomes `text`; e is that proposal's
// element, every element before it is written back as it reads. A field without proposals
// gets `text` as element 0. nullopt when the field has proposals but not that one.
std::optional<std::vector<std::string>> ReplacedProposals(const HeaderFields& fields, int field,
                                                          int proposal, std::string_view text);

} // namespace lumo
