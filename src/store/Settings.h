#pragma once
// DIA.INI [LUMORETTA] / [BACKUP] values and KASTEN.INI box labels.
#include "store/Archive.h"
#include "store/Profile.h"
#include "store/SlideTypes.h"

#include <array>
#include <cstdint>
#include <string>

namespace lumo {

struct Settings {
    bool printer = false;                 // DRUCKER
    int32_t tipNumber = 1;                // TIP
    std::string pictureName = "dia.bmp";  // BMPBILD
    int32_t magazinesPerBox = 2;          // KASTEN, magazines per box
    int32_t slidesPerMagazine = 50;       // MAGAZIN, slides per magazine
    int32_t slidesPerMagazineShown = 50;  // the loaded MAGAZIN as the preferences field shows it
    bool sound = true;                    // SOUND
    bool precomputePosition = true;       // VORBERECHNUNG
    std::string editor = "notepad.exe";   // EDITOR
    int32_t windowTop = 0;                // FENSTER element 0
    int32_t windowLeft = 0;               // FENSTER element 1
    bool autoBackup = false;              // [BACKUP] AUTO (preferences CheckBackup)
    std::array<bool, 5> backupGroups{};   // DIASDDB, KEYSDDB, KOPFDDB, MEMODDB, BMPSDDB
    bool slideCountWasUnreadable = false; // DIAS held neither "?" nor a number (treated as unknown)
};

// Reads DIA.INI of the archive into settings and counters.activeSlides (-1 for "?",
// a missing key, or a value that is not a number).
void LoadSettings(const Archive& archive, Settings& settings, Counters& counters);
// Writes settings and counters.activeSlides to DIA.INI (one rewrite of the file).
// False when the file could not be written.
bool SaveSettings(const Archive& archive, const Settings& settings, const Counters& counters);

inline constexpr std::string_view kDefaultMagazineText = "MagazinText";
inline constexpr std::string_view kDefaultThemeText = "ThematikText";

// "K007" for box 7.
std::string BoxSection(int box);
// For 1 <= box <= 255 sets both texts from KASTEN.INI (defaults for a missing file,
// section or key); for other numbers leaves them unchanged.
void ReadBoxLabel(const Archive& archive, int box, std::string& magazineText,
                  std::string& themeText);
// Writes T1 and T2 of box's section; false when the file could not be written.
bool WriteBoxLabel(const Archive& archive, int box, std::string_view magazineText,
                   std::string_view themeText);

} // namespace lumo
