#include "extras/XmpSidecars.h"

#include "store/FileUtil.h"

// Exiv2 0.27 declares std::auto_ptr members in its headers.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <array>
#include <charconv>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <unordered_set>

namespace lumo {

namespace {

constexpr std::array<std::string_view, 4> kOwnProperties{
    "Xmp.dc.subject", "Xmp.lr.hierarchicalSubject", "Xmp.dc.title", "Xmp.dc.description"};

constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

void InitialiseExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
        // The XMP toolkit's own data is given back at exit (leak checkers see no leak).
        std::atexit([] { Exiv2::XmpParser::terminate(); });
    });
}

bool IsOwnProperty(const std::string& key) {
    for (std::string_view own : kOwnProperties)
        if (key.compare(0, own.size(), own) == 0 &&
            (key.size() == own.size() || key[own.size()] == '['))
            return true;
    return false;
}

void AddBag(Exiv2::XmpData& xmp, const char* key, const std::vector<std::string>& items) {
    if (items.empty())
        return;
    Exiv2::XmpArrayValue bag(Exiv2::xmpBag);
    for (const std::string& item : items)
        bag.read(item);
    xmp.add(Exiv2::XmpKey(key), &bag);
}

void AddLangAlt(Exiv2::XmpData& xmp, const char* key, const std::string& text) {
    if (text.empty())
        return;
    Exiv2::LangAltValue value;
    value.value_["x-default"] = text;
    xmp.add(Exiv2::XmpKey(key), &value);
}

} // namespace

std::optional<std::string> SidecarPacket(std::string_view existing, const SidecarContents& contents,
                                         std::string* error) {
    InitialiseExiv2();
    try {
        Exiv2::XmpData xmp;
        if (!existing.empty() && Exiv2::XmpParser::decode(xmp, std::string(existing)) != 0) {
            if (error)
                *error = "keine lesbaren XMP-Daten";
            return std::nullopt;
        }
        for (auto it = xmp.begin(); it != xmp.end();)
            it = IsOwnProperty(it->key()) ? xmp.erase(it) : it + 1;
        AddBag(xmp, "Xmp.dc.subject", contents.subjects);
        AddBag(xmp, "Xmp.lr.hierarchicalSubject", contents.hierarchical);
        AddLangAlt(xmp, "Xmp.dc.title", contents.title);
        AddLangAlt(xmp, "Xmp.dc.description", contents.description);
        // As sidecars are written: an XML file without the packet wrapper and its padding.
        std::string packet;
        if (Exiv2::XmpParser::encode(packet, xmp,
                                     Exiv2::XmpParser::omitPacketWrapper |
                                         Exiv2::XmpParser::useCompactFormat) != 0) {
            if (error)
                *error = "XMP-Daten konnten nicht erzeugt werden";
            return std::nullopt;
        }
        return std::string(kXmlDeclaration) + packet;
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        return std::nullopt;
    }
}

ExportOutcome WriteSidecars(const Archive& archive, const std::vector<CatalogSlide>& slides,
                            const SidecarReport& report) {
    ExportOutcome outcome;
    // One listing of bilder/ for every lookup of a picture and of its sidecar.
    const auto pictures = archive.listFolded("bilder");
    auto failed = [&](const std::string& name, const std::string& why) {
        ++outcome.failures;
        if (report)
            report(name, why);
    };
    for (const CatalogSlide& s : slides) {
        const std::string number = std::to_string(s.number);
        const auto picture = pictures.find(number + ".jpg");
        if (picture == pictures.end())
            continue;
        const auto old = pictures.find(number + ".jpg.xmp");
        const std::string name =
            "bilder/" + (old != pictures.end() ? old->second : SidecarNameOf(picture->second));
        const std::filesystem::path path = archive.resolve(name);
        std::string existing;
        if (old != pictures.end()) {
            int err = 0;
            auto bytes = ReadWholeFile(path, &err);
            if (!bytes) {
                failed(name, "I/O-Fehler " + std::to_string(err));
                continue;
            }
            existing = std::move(*bytes);
        }
        std::string why;
        auto packet = SidecarPacket(existing, SidecarContentsOf(s, Cp1252ToUtf8), &why);
        if (!packet) {
            failed(name, why);
            continue;
        }
        // Each file is whole or old. Sidecars are derived from the archive, written anew by
        // every export: they are not flushed to the disk one by one (as the reports).
        if (int err = WriteFileAtomically(path, *packet, Durability::NoSync)) {
            failed(name, "I/O-Fehler " + std::to_string(err));
            continue;
        }
        ++outcome.items;
        if (report)
            report(name, {});
    }
    outcome.ok = outcome.failures == 0;
    outcome.message = std::to_string(outcome.items) + " XMP-Dateien geschrieben";
    if (outcome.failures > 0)
        outcome.message += ", " + std::to_string(outcome.failures) + " nicht geschrieben";
    outcome.message += ".";
    return outcome;
}

ExportOutcome ExportSidecars(const Archive& archive,
                             const std::optional<std::vector<int32_t>>& only,
                             const SidecarReport& report) {
    // Only the slides that have a picture are read (with their memos).
    std::vector<int32_t> withPicture;
    for (const auto& [folded, name] : archive.listFolded("bilder")) {
        int32_t n = 0;
        const auto [end, ec] = std::from_chars(folded.data(), folded.data() + folded.size(), n);
        if (ec == std::errc() && n > 0 && std::string_view(end) == ".jpg")
            withPicture.push_back(n);
    }
    if (only) {
        const std::unordered_set<int32_t> chosen(only->begin(), only->end());
        std::erase_if(withPicture, [&](int32_t n) { return !chosen.contains(n); });
    }
    std::vector<CatalogSlide> slides;
    if (Problem p = ReadCatalog(archive, slides, withPicture, CatalogParts{false, true})) {
        ExportOutcome outcome;
        outcome.message = ProblemText(p);
        return outcome;
    }
    return WriteSidecars(archive, slides, report);
}

} // namespace lumo
