#include "store/Settings.h"

#include <climits>
#include <cstdio>
#include <optional>

namespace lumo {

namespace {

constexpr std::string_view kMain = "LUMORETTA";
constexpr std::string_view kBackup = "BACKUP";
constexpr std::array<std::string_view, 5> kBackupKeys = {"DIASDDB", "KEYSDDB", "KOPFDDB", "MEMODDB",
                                                         "BMPSDDB"};
constexpr size_t kTextBuffer = 255;

// A whole decimal number (optional sign, digits, surrounding blanks allowed), else nullopt.
std::optional<int32_t> WholeNumber(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i == s.size())
        return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

ProfileStore IniOf(const Archive& archive, std::string_view name) {
    ProfileStore p;
    p.SetIniFile(archive.resolve(name));
    return p;
}

} // namespace

void LoadSettings(const Archive& archive, Settings& s, Counters& counters) {
    ProfileStore ini = IniOf(archive, "DIA.INI");
    ini.BeginBatch(); // one load of the file for all reads
    s.slideCountWasUnreadable = false;
    std::string slideCountText = ini.ReadString(kMain, "DIAS", "?", kTextBuffer);
    if (slideCountText == "?") {
        counters.activeSlides = -1;
    } else if (auto n = WholeNumber(slideCountText)) {
        counters.activeSlides = *n;
    } else {
        // Neither "?" nor a number: treated as unknown, so the caller analyses the archive.
        counters.activeSlides = -1;
        s.slideCountWasUnreadable = true;
    }
    s.printer = ini.ReadInteger(kMain, "DRUCKER", 0) == 1;
    s.tipNumber = ini.ReadInteger(kMain, "TIP", 1);
    s.pictureName = ini.ReadString(kMain, "BMPBILD", "dia.bmp", kTextBuffer);
    s.windowTop = ini.ReadListInteger(kMain, "FENSTER", 0, 0);
    s.windowLeft = ini.ReadListInteger(kMain, "FENSTER", 1, 0);
    s.magazinesPerBox = ini.ReadInteger(kMain, "KASTEN", 2);
    s.slidesPerMagazine = ini.ReadInteger(kMain, "MAGAZIN", 50);
    s.slidesPerMagazineShown = s.slidesPerMagazine;
    s.sound = ini.ReadInteger(kMain, "SOUND", 1) != 0;
    s.precomputePosition = ini.ReadInteger(kMain, "VORBERECHNUNG", 1) != 0;
    s.autoBackup = ini.ReadInteger(kBackup, "AUTO", 0) == 1;
    for (size_t i = 0; i < kBackupKeys.size(); ++i)
        s.backupGroups[i] = ini.ReadInteger(kBackup, kBackupKeys[i], 0) == 1;
    s.editor = ini.ReadString(kMain, "EDITOR", "notepad.exe", kTextBuffer);
    if (s.slidesPerMagazine == 255)
        s.slidesPerMagazine = 50;
    ini.CancelBatch();
}

bool SaveSettings(const Archive& archive, const Settings& s, const Counters& counters) {
    ProfileStore ini = IniOf(archive, "DIA.INI");
    auto flag = [](bool b) { return b ? "1" : "0"; };
    ini.BeginBatch();
    ini.WriteString(kMain, "DIAS", std::to_string(counters.activeSlides));
    ini.WriteString(kMain, "KASTEN", std::to_string(s.magazinesPerBox));
    ini.WriteString(kMain, "MAGAZIN", std::to_string(s.slidesPerMagazine));
    ini.WriteString(kMain, "SOUND", flag(s.sound));
    ini.WriteString(kMain, "VORBERECHNUNG", flag(s.precomputePosition));
    ini.WriteString(kMain, "DRUCKER", flag(s.printer));
    ini.WriteString(kMain, "TIP", std::to_string(s.tipNumber));
    ini.WriteString(kMain, "BMPBILD", s.pictureName);
    ini.WriteListInteger(kMain, "FENSTER", 0, s.windowTop);
    ini.WriteListInteger(kMain, "FENSTER", 1, s.windowLeft);
    ini.WriteString(kBackup, "AUTO", flag(s.autoBackup));
    for (size_t i = 0; i < kBackupKeys.size(); ++i)
        ini.WriteString(kBackup, kBackupKeys[i], flag(s.backupGroups[i]));
    ini.WriteString(kMain, "EDITOR", s.editor);
    return ini.CommitBatch();
}

std::string BoxSection(int box) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "K%03d", box);
    return buf;
}

void ReadBoxLabel(const Archive& archive, int box, std::string& magazineText,
                  std::string& themeText) {
    if (box < 1 || box > 255)
        return;
    ProfileStore ini = IniOf(archive, "KASTEN.INI");
    ini.BeginBatch();
    const std::string section = BoxSection(box);
    magazineText = ini.ReadString(section, "T1", kDefaultMagazineText, kTextBuffer);
    themeText = ini.ReadString(section, "T2", kDefaultThemeText, kTextBuffer);
    ini.CancelBatch();
}

bool WriteBoxLabel(const Archive& archive, int box, std::string_view magazineText,
                   std::string_view themeText) {
    if (box < 1 || box > 255)
        return false;
    ProfileStore ini = IniOf(archive, "KASTEN.INI");
    ini.BeginBatch();
    const std::string section = BoxSection(box);
    ini.WriteString(section, "T1", magazineText);
    ini.WriteString(section, "T2", themeText);
    return ini.CommitBatch();
}

} // namespace lumo
