#include "store/DemoArchive.h"

#include "store/Archive.h"
#include "store/FileUtil.h"
#include "store/HeaderData.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <vector>

namespace lumo {

namespace {

// Deterministic on every platform (the standard distributions are not).
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state_;
};

// The keyword tree in UTF-8 source form: level 1 -> level 2 -> level 3 texts.
struct Node {
    const char* text;
    std::vector<Node> children;
};

const std::vector<Node>& Tree() {
    static const std::vector<Node> tree = {
        {"Architektur",
         {{"Brücken", {{"Eisenbahnbrücke", {}}, {"Hängebrücke", {}}, {"Steinbrücke", {}}}},
          {"Burgen", {{"Burgruine", {}}, {"Wasserburg", {}}}},
          {"Gebäude", {{"Bahnhöfe", {}}, {"Hochhäuser", {}}, {"Rathäuser", {}}, {"Schlösser", {}}}},
          {"Kirchen", {{"Dome", {}}, {"Dorfkirchen", {}}, {"Klöster", {}}}},
          {"Straßen", {{"Alleen", {}}, {"Gassen", {}}, {"Plätze", {}}}}}},
        {"Familie",
         {{"Feiern", {{"Geburtstage", {}}, {"Hochzeit", {}}, {"Taufe", {}}, {"Weihnachten", {}}}},
          {"Kinder", {{"Kindergarten", {}}, {"Schulanfang", {}}, {"Spielplatz", {}}}},
          {"Verwandte", {{"Großeltern", {}}, {"Onkel und Tanten", {}}, {"Vettern", {}}}}}},
        {"Landschaft",
         {{"Berge", {{"Alpen", {}}, {"Gipfel", {}}, {"Gletscher", {}}, {"Mittelgebirge", {}}}},
          {"Flüsse", {{"Donau", {}}, {"Mosel", {}}, {"Rhein", {}}, {"Wasserfälle", {}}}},
          {"Küste",
           {{"Dünen", {}}, {"Klippen", {}}, {"Leuchttürme", {}}, {"Strand", {}}, {"Watt", {}}}},
          {"Seen", {{"Bergseen", {}}, {"Bodensee", {}}, {"Stauseen", {}}}},
          {"Wälder", {{"Herbstwald", {}}, {"Laubwald", {}}, {"Nadelwald", {}}}}}},
        {"Natur",
         {{"Blumen",
           {{"Alpenblumen", {}},
            {"Orchideen", {}},
            {"Rosen", {}},
            {"Sonnenblumen", {}},
            {"Tulpen", {}}}},
          {"Bäume", {{"Eichen", {}}, {"Kastanien", {}}, {"Obstbäume", {}}}},
          {"Himmel",
           {{"Gewitter", {}}, {"Regenbogen", {}}, {"Sonnenuntergang", {}}, {"Wolken", {}}}},
          {"Jahreszeiten", {{"Frühling", {}}, {"Herbst", {}}, {"Sommer", {}}, {"Winter", {}}}}}},
        {"Reise",
         {{"Deutschland",
           {{"Berlin", {}}, {"Dresden", {}}, {"Hamburg", {}}, {"Köln", {}}, {"München", {}}}},
          {"Frankreich", {{"Bretagne", {}}, {"Paris", {}}, {"Provence", {}}}},
          {"Italien", {{"Rom", {}}, {"Sizilien", {}}, {"Toskana", {}}, {"Venedig", {}}}},
          {"Länder in Übersee", {{"Kanada", {}}, {"Südafrika", {}}, {"USA Westküste", {}}}},
          {"Skandinavien", {{"Dänemark", {}}, {"Norwegen", {}}, {"Schweden", {}}}}}},
        {"Sport",
         {{"Fußball", {{"Bundesliga", {}}, {"Kreisliga", {}}}},
          {"Radsport", {{"Bergetappe", {}}, {"Zeitfahren", {}}}},
          {"Wintersport", {{"Langlauf", {}}, {"Ski alpin", {}}, {"Skispringen", {}}}}}},
        {"Städte",
         {{"Altstädte", {{"Fachwerk", {}}, {"Marktplätze", {}}, {"Stadtmauern", {}}}},
          {"Häfen", {{"Containerhafen", {}}, {"Fischerhäfen", {}}}}}},
        {"Tiere",
         {{"Haustiere", {{"Hunde", {}}, {"Katzen", {}}, {"Meerschweinchen", {}}}},
          {"Vögel", {{"Greifvögel", {}}, {"Möwen", {}}, {"Singvögel", {}}, {"Störche", {}}}},
          {"Wildtiere", {{"Füchse", {}}, {"Hirsche", {}}, {"Rehe", {}}}},
          {"Zoo", {{"Elefanten", {}}, {"Giraffen", {}}, {"Löwen", {}}}}}},
        {"Verkehr",
         {{"Eisenbahn", {{"Dampfloks", {}}, {"Straßenbahnen", {}}}},
          {"Flugzeuge", {{"Oldtimer", {}}, {"Verkehrsflugzeuge", {}}}},
          {"Schiffe", {{"Fähren", {}}, {"Segelschiffe", {}}}}}},
    };
    return tree;
}

// One keyword as stored: cp1252 text and its code.
struct Keyword {
    std::string text;
    std::string code;
    std::vector<Keyword> children;
};

// Codes by the code rule: parent code + first letter + (1 + keywords already in the list
// with the same parent and first letter), adding each list in ascending text order.
std::vector<Keyword> BuildKeywords(const std::vector<Node>& nodes, const std::string& parent) {
    std::vector<Keyword> list;
    for (const auto& n : nodes)
        list.push_back({Latin1FromUtf8(n.text), {}, BuildKeywords(n.children, {})});
    // Byte order of code page 1252 (std::string compares as unsigned char).
    std::vector<size_t> order(list.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return list[a].text < list[b].text; });
    std::vector<Keyword> sorted;
    std::map<char, int> perLetter;
    for (size_t i : order) {
        Keyword k = std::move(list[i]);
        int digit = ++perLetter[k.text[0]];
        k.code = parent + k.text[0] + static_cast<char>('0' + digit);
        sorted.push_back(std::move(k));
    }
    return sorted; // children get their codes once the parent's code is known
}

void AssignChildCodes(std::vector<Keyword>& list) {
    for (auto& k : list) {
        std::map<char, int> perLetter;
        for (auto& c : k.children) {
            int digit = ++perLetter[c.text[0]];
            c.code = k.code + c.text[0] + static_cast<char>('0' + digit);
        }
        AssignChildCodes(k.children);
    }
}

std::string KeywordFileBytes(const std::vector<const Keyword*>& entries) {
    if (entries.empty())
        return {};
    std::string s;
    for (const Keyword* k : entries)
        s += k->text + "\n" + k->code + "\n";
    return s + "*";
}

std::string Pad6(const std::string& code) {
    std::string s = code;
    s.resize(6, ' ');
    return s;
}

bool EndsWithNoCase(const std::string& name, std::string_view ext) {
    if (name.size() < ext.size())
        return false;
    for (size_t i = 0; i < ext.size(); ++i) {
        char c = name[name.size() - ext.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != ext[i])
            return false;
    }
    return true;
}

// Copies the files of src (matching ext, or all when ext is empty) into dst.
void CopyDirectoryFiles(const std::filesystem::path& src, const std::filesystem::path& dst,
                        std::string_view ext) {
    std::error_code ec;
    if (!std::filesystem::is_directory(src, ec))
        return;
    for (auto it = std::filesystem::directory_iterator(src, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        std::string name = it->path().filename().string();
        if (!ext.empty() && !EndsWithNoCase(name, ext))
            continue;
        CopyFileOver(it->path(), dst / name);
    }
}

// A file that exists under another spelling in the data directory (dia.bmp / DIA.BMP).
std::filesystem::path FindNoCase(const std::filesystem::path& dir, std::string_view name) {
    Archive a(dir);
    return a.resolve(name);
}

const char* const kPhrases[] = {"Urlaub %s",   "%s im Sommer", "%s im Frühling", "Ausflug %s",
                                "%s am Abend", "%s bei Regen", "%s %d",          "Blick auf %s",
                                "%s mit Oma",  "Wanderung %s", "%s, Detail"};

std::string InfoPhrase(Rng& rng, const std::string& keyText) {
    const char* phrase = kPhrases[rng.below(static_cast<int>(std::size(kPhrases)))];
    std::string fmt = Latin1FromUtf8(phrase);
    std::string out;
    for (size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] == '%' && i + 1 < fmt.size() && fmt[i + 1] == 's') {
            out += keyText;
            ++i;
        } else if (fmt[i] == '%' && i + 1 < fmt.size() && fmt[i + 1] == 'd') {
            out += std::to_string(1962 + rng.below(38));
            ++i;
        } else {
            out += fmt[i];
        }
    }
    if (out.size() > 28)
        out.resize(28);
    return out;
}

std::string MemoText(Rng& rng, int32_t n, const std::string& info) {
    static const char* const lines[] = {
        "Aufgenommen bei schönem Wetter, leichter Dunst über dem Tal.",
        "Die Farben sind nach all den Jahren noch gut erhalten.",
        "Rahmen etwas verkratzt, bei Gelegenheit neu rahmen.",
        "Gezeigt beim Diaabend im Gemeindesaal, großer Beifall.",
        "Vergrößerung als Abzug für die Großeltern bestellt.",
        "Straßenszene am frühen Morgen, kaum Verkehr.",
        "Belichtung eine halbe Blende knapp, Himmel dafür schön blau.",
        "Mit Stativ und Drahtauslöser, Spiegelvorauslösung.",
        "Zweitstück liegt im Magazin daneben.",
        "Gegenlicht, Sonnenblende vergessen – Überstrahlung links oben.",
    };
    std::string s = "Dia " + std::to_string(n) + ": " + info + "\r\n";
    int count = 1 + rng.below(4);
    for (int i = 0; i < count; ++i)
        s += Latin1FromUtf8(lines[rng.below(static_cast<int>(std::size(lines)))]) + "\r\n";
    if (rng.below(3) == 0)
        s += "\tNotiz:\tKüste, Übersee, Gebäude\r\n";
    return s;
}

} // namespace

std::string Latin1FromUtf8(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        uint32_t cp = 0;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            len = 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
            len = 3;
        } else {
            cp = '?';
            len = (c & 0xF0) == 0xF0 ? 4 : 1;
        }
        if (cp == 0x2013)
            out += '\x96'; // en dash, code page 1252
        else if (cp == 0x20AC)
            out += '\x80'; // euro sign
        else
            out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        i += len;
    }
    return out;
}

DemoResult MakeDemoArchive(const std::filesystem::path& dir, const DemoOptions& options) {
    DemoResult result;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!std::filesystem::is_directory(dir, ec)) {
        result.error = "Verzeichnis kann nicht angelegt werden: " + dir.string();
        return result;
    }
    for (const char* sub : {"memo", "bilder", "sounds", "tips"})
        std::filesystem::create_directories(dir / sub, ec);

    Archive archive(dir);
    Rng rng(options.seed);
    const int32_t slides = std::max<int32_t>(0, options.slides);

    // Keyword tree and its three files (level 2 grouped by parent in parent code order,
    // level 3 grouped in the order of their parents).
    std::vector<Keyword> level1 = BuildKeywords(Tree(), {});
    AssignChildCodes(level1);
    std::vector<const Keyword*> l1, l2, l3;
    for (const auto& a : level1) {
        l1.push_back(&a);
        for (const auto& b : a.children) {
            l2.push_back(&b);
            for (const auto& c : b.children)
                l3.push_back(&c);
        }
    }
    const std::vector<const Keyword*>* files[] = {&l1, &l2, &l3};
    for (int level = 1; level <= 3; ++level) {
        if (int e = WriteFileAtomically(archive.resolve(KeywordFileName(level)),
                                        KeywordFileBytes(*files[level - 1]))) {
            result.error = "Schreibfehler " + std::to_string(e) + " bei " + KeywordFileName(level);
            return result;
        }
        TruncateFile(archive.resolve(KeywordOldFileName(level)));
    }

    // Slide records, written in one pass.
    const int32_t slidesPerMagazine = 50, magazinesPerBox = 2;
    std::string slideFile;
    slideFile.reserve(static_cast<size_t>(slides) * kRecordSize);
    std::vector<std::string> infos(static_cast<size_t>(slides) + 1);
    std::vector<bool> active(static_cast<size_t>(slides) + 1, false);
    for (int32_t n = 1; n <= slides; ++n) {
        int32_t box = PrecomputedBox(n, slidesPerMagazine, magazinesPerBox, true);
        box = (box - 1) % 255 + 1; // boxes 1..255 only
        std::string position = PrecomputedPosition(n, slidesPerMagazine, magazinesPerBox, true);
        std::array<std::string, 8> keys;
        std::string info;
        if (n > 3 && rng.below(25) == 0) {
            keys.fill(std::string(kEmptyKeyCode));
            info = std::string(kFreeSlotMarker);
            ++result.freeSlots;
        } else {
            const Keyword& a =
                level1[static_cast<size_t>(rng.below(static_cast<int>(level1.size())))];
            const Keyword& b =
                a.children[static_cast<size_t>(rng.below(static_cast<int>(a.children.size())))];
            const Keyword& c =
                b.children[static_cast<size_t>(rng.below(static_cast<int>(b.children.size())))];
            std::vector<std::string> chosen = {Pad6(c.code), Pad6(b.code), Pad6(a.code)};
            int wanted = 1 + rng.below(8);
            while (static_cast<int>(chosen.size()) < wanted) {
                const Keyword& x =
                    level1[static_cast<size_t>(rng.below(static_cast<int>(level1.size())))];
                const Keyword& y =
                    x.children[static_cast<size_t>(rng.below(static_cast<int>(x.children.size())))];
                const Keyword* pick = &x;
                int depth = rng.below(3);
                if (depth >= 1)
                    pick = &y;
                if (depth == 2)
                    pick = &y.children[static_cast<size_t>(
                        rng.below(static_cast<int>(y.children.size())))];
                std::string code = Pad6(pick->code);
                if (std::find(chosen.begin(), chosen.end(), code) == chosen.end())
                    chosen.push_back(code);
            }
            chosen.resize(static_cast<size_t>(wanted));
            for (size_t k = 0; k < 8; ++k)
                keys[k] = k < chosen.size() ? chosen[k] : std::string(kEmptyKeyCode);
            info = position + " " + InfoPhrase(rng, c.text);
            active[static_cast<size_t>(n)] = true;
            ++result.activeSlides;
        }
        infos[static_cast<size_t>(n)] = info;
        SlideRecord rec = SlideRecord::Build(keys, info, box);
        slideFile.append(reinterpret_cast<const char*>(rec.bytes.data()), kRecordSize);
    }
    if (int e = WriteFileAtomically(archive.resolve("dias.ddb"), slideFile)) {
        result.error = "Schreibfehler " + std::to_string(e) + " bei dias.ddb";
        return result;
    }

    // Header data for about a third of the active slides; the gaps read as empty values.
    static const char* const cameras[] = {"Nikon F50", "Canon AE-1",     "Minolta X-700",
                                          "Leica R4",  "Praktica MTL 5", "Olympus OM-2"};
    static const char* const lenses[] = {"50mm 1:1,8", "28mm 1:2,8", "135mm 1:3,5", "Zoom 35-105"};
    static const char* const filters[] = {"UV", "Skylight", "Polfilter", "Grauverlauf"};
    static const char* const films[] = {"Kodachrome 64", "Fujichrome 100", "Agfachrome 200",
                                        "Ektachrome 400"};
    static const char* const exposures[] = {"1/60", "1/125", "1/250", "1/500", "1/30"};
    static const char* const apertures[] = {"f/2.8", "f/5.6", "f/8", "f/11", "f/16"};
    std::string headerFile;
    for (int32_t n = 1; n <= slides; ++n) {
        if (!active[static_cast<size_t>(n)] || rng.below(3) != 0)
            continue;
        HeaderValues v;
        v[0] = Latin1FromUtf8(cameras[rng.below(6)]);
        v[1] = Latin1FromUtf8(lenses[rng.below(4)]);
        v[2] = rng.below(2) ? Latin1FromUtf8(filters[rng.below(4)]) : std::string();
        v[3] = Latin1FromUtf8(films[rng.below(4)]);
        v[4] = rng.below(5) ? "24x36" : "6x6";
        v[5] = exposures[rng.below(5)];
        v[6] = apertures[rng.below(5)];
        char date[40];
        std::snprintf(date, sizeof date, "%02d.%02d.%02d", 1 + rng.below(28), 1 + rng.below(12),
                      62 + rng.below(38));
        v[7] = date;
        auto rec = BuildHeaderRecord(v);
        size_t offset = static_cast<size_t>(n - 1) * kHeaderRecordSize;
        if (headerFile.size() < offset)
            headerFile.resize(offset, '\0');
        headerFile.append(reinterpret_cast<const char*>(rec.data()), rec.size());
    }
    if (int e = WriteFileAtomically(archive.resolve("kopfdata.ddb"), headerFile)) {
        result.error = "Schreibfehler " + std::to_string(e) + " bei kopfdata.ddb";
        return result;
    }

    // Settings, header field names and proposals.
    Settings settings;
    Counters counters;
    counters.totalRecords = slides;
    counters.activeSlides = result.activeSlides;
    settings.magazinesPerBox = magazinesPerBox;
    settings.slidesPerMagazine = settings.slidesPerMagazineShown = slidesPerMagazine;
    settings.sound = true;
    settings.tipNumber = 1;
    settings.editor = "notepad.exe";
    settings.backupGroups = {true, true, true, true, false};
    if (!SaveSettings(archive, settings, counters)) {
        result.error = "DIA.INI kann nicht geschrieben werden";
        return result;
    }
    WriteFieldNames(archive, {"Kamera", "Objektiv", "Filter", "Filmtyp", "Format", "Belichtung",
                              "Blende", "Datum"});
    WriteProposalList(archive, 0, {"Nikon F50", "Canon AE-1", "Minolta X-700", "Leica R4"});
    WriteProposalList(archive, 2, {"UV", "Skylight", "Polfilter"});
    WriteProposalList(archive, 3, {"Kodachrome 64", "Fujichrome 100", "Agfachrome 200"});
    WriteProposalList(archive, 4, {"24x36", "6x6"});
    WriteProposalList(archive, 6, {"f/2.8", "f/5.6", "f/8", "f/11"});

    // Box labels for some boxes.
    static const char* const labels[][2] = {
        {"Urlaub Toskana 1987", "Reise, Landschaft"},
        {"Familienfeste", "Geburtstage und Hochzeit"},
        {"Nordseeküste", "Dünen, Watt und Möwen"},
        {"Alpenüberquerung", "Berge, Gletscher, Pässe"},
        {"Städtereisen", "Gebäude und Straßen"},
        {"Tiere im Zoo", "Löwen, Giraffen, Elefanten"},
        {"Übersee 1992", "Kanada und USA Westküste"},
    };
    const int32_t boxes =
        std::min<int32_t>(PrecomputedBox(slides, slidesPerMagazine, magazinesPerBox, true), 255);
    for (int32_t box = 1; box <= boxes && box <= static_cast<int32_t>(std::size(labels)); ++box)
        if (box != 3 || boxes < 4) // one box keeps no labels at all
            WriteBoxLabel(archive, box, Latin1FromUtf8(labels[box - 1][0]),
                          Latin1FromUtf8(labels[box - 1][1]));
    if (!archive.exists("KASTEN.INI"))
        TruncateFile(archive.resolve("KASTEN.INI"));

    // Empty report files as a new archive has them.
    for (const char* report : {"kasten.txt", "keyliste.txt", "dialiste.txt"})
        if (!archive.exists(report))
            TruncateFile(archive.resolve(report));

    // Memos: spread evenly over the active slides.
    std::vector<int32_t> activeList;
    for (int32_t n = 1; n <= slides; ++n)
        if (active[static_cast<size_t>(n)])
            activeList.push_back(n);
    int32_t memos = options.memos < 0
                        ? static_cast<int32_t>(activeList.size() / 8)
                        : std::min<int32_t>(options.memos, static_cast<int32_t>(activeList.size()));
    // Resolved once: looking up each new name would list the growing directory every time.
    const std::filesystem::path memoDir = archive.resolve("memo");
    for (int32_t i = 0; i < memos; ++i) {
        int32_t n = activeList[static_cast<size_t>(
            static_cast<long long>(i) * static_cast<long long>(activeList.size()) / memos)];
        std::string text = MemoText(rng, n, infos[static_cast<size_t>(n)]);
        // New files in a fresh directory: written directly, a temporary file per memo
        // would only slow down archives with tens of thousands of them.
        std::ofstream out(memoDir / (std::to_string(n) + ".txt"),
                          std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out) {
            result.error = "Memo " + std::to_string(n) + " kann nicht geschrieben werden";
            return result;
        }
        ++result.memos;
    }

    // The program's own data files.
    if (!options.dataDir.empty()) {
        const auto& d = options.dataDir;
        CopyDirectoryFiles(FindNoCase(d, "sounds"), archive.resolve("sounds"), ".wav");
        CopyDirectoryFiles(FindNoCase(d, "tips"), archive.resolve("tips"), ".tip");
        CopyDirectoryFiles(FindNoCase(d, "bilder"), archive.resolve("bilder"), "");
        for (const char* name : {"DIA.HLP", "dia.bmp", "history.wri"}) {
            auto src = FindNoCase(d, name);
            if (std::filesystem::is_regular_file(src, ec))
                CopyFileOver(src, archive.resolve(name));
        }
    }
    result.ok = true;
    return result;
}

} // namespace lumo
