#pragma once
// The commands of "E&xtras" for the magazine map and the scans, and the slide data
// viewer's "Bild zuordnen...". Other features are reached through the hooks the shell
// hands in.
#include "ui/FeatureContext.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

namespace lumo {

class MagazineMapWindow;
class PictureImportDialog;

class MapAndScanCommands {
public:
    struct Hooks {
        std::function<void(int32_t)> showSlide; // the slide data viewer
        // New-slide entry with box and position code proposed for the next slide.
        std::function<void(int, const std::string&)> newSlideAt;
    };
    MapAndScanCommands(const FeatureContext& ctx, Hooks hooks);

    void OpenMagazineMap(); // "&Magazinübersicht..."
    void ImportPictures();  // "&Bilder zuordnen..."
    // One picture for one slide (empty file: the user picks one). True when it was written.
    bool AssignPicture(int32_t slide, const QString& file);

    MagazineMapWindow* magazineMap() const { return map_; }
    PictureImportDialog* pictureImport() const { return import_; }

private:
    FeatureContext ctx_;
    Hooks hooks_;
    MagazineMapWindow* map_ = nullptr;
    PictureImportDialog* import_ = nullptr;
};

} // namespace lumo
