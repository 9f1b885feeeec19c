#pragma once
// XMP sidecars bilder/<n>.jpg.xmp beside the archive's pictures, written with Exiv2. The
// pictures themselves are never opened; what an existing sidecar holds beyond our four
// properties stays.
#include "extras/CsvExport.h"
#include "extras/logic/SidecarContents.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// The packet of a sidecar: `existing` (empty for a new sidecar) with dc:subject,
// lr:hierarchicalSubject, dc:title and dc:description replaced by `contents` (an empty
// value removes its property). nullopt, and why in *error, when `existing` is no XMP.
std::optional<std::string> SidecarPacket(std::string_view existing, const SidecarContents& contents,
                                         std::string* error = nullptr);

// Called once per picture: the sidecar's bare archive name and, when it failed, why.
using SidecarReport = std::function<void(const std::string& name, const std::string& error)>;

// Writes the sidecar of every slide of `slides` that has a picture bilder/<n>.jpg (found
// without regard to case). A sidecar that cannot be read, parsed or written is reported
// and left as it was; the others are written all the same.
ExportOutcome WriteSidecars(const Archive& archive, const std::vector<CatalogSlide>& slides,
                            const SidecarReport& report = {});

// The same for the whole archive (`only` unset) or the given slide numbers.
ExportOutcome ExportSidecars(const Archive& archive,
                             const std::optional<std::vector<int32_t>>& only = std::nullopt,
                             const SidecarReport& report = {});

} // namespace lumo
