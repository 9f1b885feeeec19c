// INI files: a fuzzed DIA.INI is read, written back and read again. Every line of the
// file survives the round trip; a value written reads back as written; the settings,
// box labels and header field names survive a save and a load.
//   parts: INI text | section | key | value | parameters
#include "FuzzSupport.h"

#include "store/HeaderData.h"
#include "store/Profile.h"
#include "store/Settings.h"

#include <algorithm>

namespace {

using namespace lumo;

// The lines of an INI text: CR LF, LF and a CR alone each end a line.
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.emplace_back(text.substr(pos, end - pos));
        if (end == text.size())
            break;
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

// A section or key name: letters and digits of the input, never empty.
std::string Name(std::string_view raw, const char* fallback) {
    std::string out;
    for (char c : raw)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            out.push_back(c);
    return out.empty() ? std::string(fallback) : out.substr(0, 40);
}

// A value as one line can hold it.
std::string OneLine(std::string_view raw) {
    return std::string(raw.substr(0, raw.find_first_of("\r\n")));
}

// The new lines are the old ones with one line replaced, one inserted or two appended.
bool OnlyOneEntryChanged(const std::vector<std::string>& before,
                         const std::vector<std::string>& after) {
    if (after.size() == before.size()) {
        size_t diff = 0;
        for (size_t i = 0; i < before.size(); ++i)
            diff += before[i] != after[i];
        return diff <= 1;
    }
    if (after.size() == before.size() + 1) {
        for (size_t skip = 0; skip < after.size(); ++skip) {
            std::vector<std::string> rest = after;
            rest.erase(rest.begin() + static_cast<long>(skip));
            if (rest == before)
                return true;
        }
        return false;
    }
    return after.size() == before.size() + 2 &&
           std::equal(before.begin(), before.end(), after.begin());
}

bool SameSettings(const Settings& a, const Settings& b) {
    return a.printer == b.printer && a.tipNumber == b.tipNumber && a.pictureName == b.pictureName &&
           a.magazinesPerBox == b.magazinesPerBox && a.slidesPerMagazine == b.slidesPerMagazine &&
           a.sound == b.sound && a.precomputePosition == b.precomputePosition &&
           a.editor == b.editor && a.windowTop == b.windowTop && a.windowLeft == b.windowLeft &&
           a.autoBackup == b.autoBackup && a.backupGroups == b.backupGroups;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::ScratchArchive scratch;
    auto parts = fuzz::SplitParts(data, size, 5);
    fuzz::Params params(parts[4]);
    const std::string& text = parts[0];

    // Parse and serialise: every line kept, and a second round changes nothing.
    const IniDocument doc = IniDocument::Parse(text);
    const std::string serialised = doc.Serialize();
    const auto lines = Lines(text);
    std::string expected;
    for (const auto& l : lines)
        expected += l + "\r\n";
    FUZZ_CHECK(serialised == expected);
    FUZZ_CHECK(IniDocument::Parse(serialised).Serialize() == serialised);

    // A value set reads back as set; no other line changes.
    const std::string section = Name(parts[1], "S");
    const std::string key = Name(parts[2], "K");
    const std::string value = OneLine(parts[3]);
    IniDocument changed = doc;
    changed.set(section, key, value);
    const auto got = changed.get(section, key);
    FUZZ_CHECK(got && *got == value);
    FUZZ_CHECK(OnlyOneEntryChanged(lines, Lines(changed.Serialize())));

    // The same through the file: string, integer and list access.
    scratch.clear();
    scratch.write("DIA.INI", text);
    const Archive archive(scratch.dir());
    ProfileStore ini;
    ini.SetIniFile(archive.resolve("DIA.INI"));
    const size_t buffer = 1 + params.below(300);
    FUZZ_CHECK(ini.ReadString(section, key, "default", buffer).size() <= buffer);
    (void)ini.ReadInteger(section, key, 7);
    const int index = static_cast<int>(params.below(12));
    const auto before = SplitListValue(ini.ReadString(section, key, "", 32764));
    std::string element = value.substr(0, std::min<size_t>(value.find(','), 255));
    FUZZ_CHECK(ini.WriteListString(section, key, index, element));
    // An empty last element is no element at all: it reads as the default.
    const std::string readBack = ini.ReadListString(section, key, index, "?", 255);
    FUZZ_CHECK(readBack == element || (element.empty() && readBack == "?"));
    const auto afterList = SplitListValue(ini.ReadString(section, key, "", 32764));
    for (size_t i = 0; i < before.size() && i < afterList.size(); ++i)
        FUZZ_CHECK(static_cast<int>(i) == index || afterList[i] == before[i]);
    (void)ini.ReadListInteger(section, key, index, 3);

    // Settings: loaded, saved and loaded again give the same values.
    scratch.write("DIA.INI", text);
    Settings first;
    Counters counters;
    LoadSettings(archive, first, counters);
    const int32_t slides = counters.activeSlides;
    FUZZ_CHECK(SaveSettings(archive, first, counters));
    Settings second;
    Counters again;
    LoadSettings(archive, second, again);
    FUZZ_CHECK(SameSettings(first, second));
    FUZZ_CHECK(again.activeSlides == slides);

    // The lines of other sections and keys are still there after the save.
    const auto saved = Lines(scratch.read("DIA.INI"));
    for (const auto& l : lines) {
        const bool ours = l.find('=') != std::string::npos || l.find('[') != std::string::npos;
        FUZZ_CHECK(ours || std::find(saved.begin(), saved.end(), l) != saved.end());
    }

    // Box labels and field names read back as written.
    const int box = 1 + static_cast<int>(params.below(255));
    const std::string label = value.substr(0, 255);
    FUZZ_CHECK(WriteBoxLabel(archive, box, label, key));
    std::string magazine, theme;
    ReadBoxLabel(archive, box, magazine, theme);
    FUZZ_CHECK(magazine == label && theme == key);
    std::array<std::string, 8> names;
    for (size_t i = 0; i < 8; ++i)
        names[i] = Name(parts[1].substr(std::min(parts[1].size(), i)), "Feld").substr(0, 15);
    names[params.below(8)] = element.substr(0, 15);
    FUZZ_CHECK(WriteFieldNames(archive, names));
    const HeaderFields kopf = ReadHeaderFields(archive);
    for (size_t i = 0; i < 8; ++i)
        FUZZ_CHECK(kopf.names[i] == names[i] || names[i].empty() || names[i] == "leer");
    return 0;
}
