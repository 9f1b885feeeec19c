#pragma once
// Which scan goes to which slide: by the number in the file's name ("Dia_0042.tif",
// "42.jpg") or in name order from a first slide number. The plan is shown before anything
// is written; a picture already there is replaced only when the user asks for it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// The one run of digits in the name without its extension; nothing when there is none,
// more than one ("Scan 2024-05 3.jpg") or the number is 0 or has more than five digits.
std::optional<int32_t> SlideNumberInName(std::string_view fileName);

// Name order as people read it: runs of digits compare by their value ("Scan 9" before
// "Scan 10"), letters without regard to case.
bool NaturalLess(std::string_view a, std::string_view b);

enum class ScanMatch {
    Ready,        // will be written
    PictureThere, // bilder/<n>.jpg or .bmp exists: written only when replace is set
    NoNumber,     // no slide number could be taken from the name
    NoSuchSlide,  // the number lies beyond the archive's last slide
    Duplicate,    // an earlier file in name order goes to the same slide
};

struct ScanRow {
    std::string file; // name inside the folder
    int32_t slide = 0;
    ScanMatch match = ScanMatch::NoNumber;
    bool replace = false;
    bool willImport() const {
        return match == ScanMatch::Ready || (match == ScanMatch::PictureThere && replace);
    }
    // Counts as failed when it was not imported (a kept picture does not).
    bool failedToMatch() const {
        return match == ScanMatch::NoNumber || match == ScanMatch::NoSuchSlide ||
               match == ScanMatch::Duplicate;
    }
};

// The rows in name order. firstSlide 0: numbers from the names; otherwise the files get
// firstSlide, firstSlide + 1, ... in name order. replaceAll presets replace for every row.
std::vector<ScanRow> PlanScanImport(std::vector<std::string> files, int32_t firstSlide,
                                    int32_t totalRecords,
                                    const std::function<bool(int32_t)>& pictureThere,
                                    bool replaceAll = false);

} // namespace lumo
