// Writes the seed inputs of the fuzz targets: files of the demo archive and damaged
// variants of them, joined into the targets' input layouts.
//   lumo_fuzz_seeds <corpus directory> <data directory>
#include "FuzzSupport.h"

#include "store/DemoArchive.h"

#include <cstdio>

namespace {

using lumo::fuzz::JoinParts;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SeedWriter {
public:
    explicit SeedWriter(fs::path root) : root_(std::move(root)) {}
    void add(const std::string& target, const std::string& name, const std::string& bytes) const {
        const fs::path dir = root_ / target;
        fs::create_directories(dir);
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    fs::path root_;
};

std::string Record(const std::string& keys48, const std::string& info, unsigned char box) {
    std::string r = keys48;
    r.resize(48, ' ');
    r += info;
    r += '\0';
    r.resize(81, ' ');
    r += static_cast<char>(box);
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: lumo_fuzz_seeds <Korpusverzeichnis> <Datenverzeichnis>\n");
        return 2;
    }
    const SeedWriter seeds(argv[1]);
    const fs::path data = argv[2];
    lumo::fuzz::ScratchArchive scratch;
    lumo::DemoOptions options;
    options.slides = 60;
    options.memos = 8;
    if (!lumo::MakeDemoArchive(scratch.dir(), options).ok) {
        std::fprintf(stderr, "Demo-Archiv konnte nicht angelegt werden\n");
        return 1;
    }
    const std::string dias = scratch.read("dias.ddb");
    const std::string k1 = scratch.read("keyword1"), k2 = scratch.read("keyword2"),
                      k3 = scratch.read("keyword3");
    const std::string kopf = scratch.read("kopfdata.ddb");
    const std::string diaIni = scratch.read("DIA.INI"), kastenIni = scratch.read("KASTEN.INI");

    // Slides: the demo records, a damaged tail, free slots in odd spellings, empty files.
    seeds.add("slides", "demo", JoinParts({dias, k1, k2, k3, "Urlaub", "\x05\x03\x01\x02\x04"}));
    seeds.add("slides", "short-tail",
              JoinParts({dias.substr(0, 82 * 3 + 50), k1, k2, k3, "a", "\x02\x01"}));
    seeds.add("slides", "tiny-tail",
              JoinParts({dias.substr(0, 82 * 2 + 20), k1, k2, k3, "", "\x01"}));
    seeds.add(
        "slides", "free-slots",
        JoinParts({Record("00    B1    ", "Abc", 3) +
                       Record("B1    ", "dia wurde entnommen / platz frei", 0) +
                       Record(std::string("\0B1   ", 6), "DIA WURDE ENTNOMMEN / PLATZ FREI", 1),
                   k1, "", "", "dia", "\x01\x02\x02\x03"}));
    seeds.add("slides", "empty", JoinParts({"", "", "", "", "", ""}));

    // Keywords: the demo files, files without the final star, a last line without LF, a
    // CR in a text, a full level.
    seeds.add("keywords", "demo",
              JoinParts({k1, k2, k3, "Berge", "\x02\x03\x04\x05\x06\x07\x01\x02"}));
    seeds.add("keywords", "level3",
              JoinParts({k1, k2, k3, "Zugspitze", "\x01\x01\x01\x09\x02\x02"}));
    seeds.add("keywords", "no-star", JoinParts({"Natur\nN1\nReise\nR1\n", k2, k3, "Mond", ""}));
    seeds.add("keywords", "no-last-lf", JoinParts({"Natur\nN1", "", "", "Alpen", ""}));
    seeds.add("keywords", "cr-text",
              JoinParts({"Natur\r\nN1\r\n*", "Wald\nN1W1\n*", "", "Berg", "\x01\x01\x01\x01"}));
    std::string full;
    for (char c = 'A'; c < 'A' + 17; ++c)
        full += std::string(1, c) + "ort\n" + c + "1\n";
    seeds.add("keywords", "full-level", JoinParts({full + "*", "", "", "Qualle", ""}));
    seeds.add("keywords", "empty", JoinParts({"", "", "", "Erster", ""}));

    // INI files: the demo DIA.INI and KASTEN.INI, and damaged ones.
    seeds.add("ini", "dia", JoinParts({diaIni, "LUMORETTA", "EDITOR", "notepad.exe", "\x05\x01"}));
    seeds.add("ini", "kasten", JoinParts({kastenIni, "K001", "T1", "Urlaub 1998", "\x02\x06"}));
    seeds.add("ini", "fields",
              JoinParts({diaIni, "KOPFDATA", "FELDNAMEN", "Kamera,,Linse", "\x03\x02"}));
    seeds.add("ini", "damaged",
              JoinParts({"; Kommentar\n[LUMORETTA]\r\nDIAS=abc\nKASTEN=7x\n[lumoretta]\nSOUND=2\n"
                         "junk\r[BACKUP\nAUTO = \"1\" \n[LUMORETTA]\nFENSTER=120\nEDITOR='vi'",
                         "BACKUP", "auto", " \"quoted\" ", "\x07\x04"}));
    seeds.add("ini", "empty", JoinParts({"", "A", "B", "", ""}));

    // Header data: the demo records, a short last record, NULs everywhere.
    seeds.add(
        "header_data", "demo",
        JoinParts({kopf.substr(0, 120 * 20), "Nikon\nnicht verwendet\n\n\n\n\n\n",
                   "Canon AE-1\nFD 50mm\n\n\n\n\n\n1998", "\x02\x01\x01\x01\x01\x01\x01\x01\x03"}));
    seeds.add("header_data", "short",
              JoinParts({kopf.substr(0, 120 * 2 + 37), "a\nb", "x", "\x01"}));
    seeds.add("header_data", "zeros",
              JoinParts({std::string(480, '\0'), "", std::string(20, 'Q'), "\x05"}));

    // Memos: a demo memo, and line ends of every kind.
    std::string memo;
    for (int n = 1; n <= 60 && memo.empty(); ++n)
        memo = scratch.read("memo/" + std::to_string(n) + ".txt");
    seeds.add("memo", "demo", JoinParts({memo, "Urlaub", "\x02\x01"}));
    seeds.add("memo", "line-ends",
              JoinParts({"Erste\rZweite\nDritte\r\nVierte", "te\rZw", "\x01"}));
    seeds.add("memo", "empty", JoinParts({"", "x", ""}));

    // Tips: the program's own tips.
    for (int n = 1; n <= 3; ++n) {
        const std::string tip = ReadFile(data / "tips" / (std::to_string(n) + ".tip"));
        if (!tip.empty())
            seeds.add("tips", std::to_string(n),
                      JoinParts({tip, std::string(1, static_cast<char>(n))}));
    }

    // Code page 1252: every byte, a report with CR LF, typed German text as UTF-16.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    seeds.add("cp1252", "all-bytes", all);
    seeds.add("cp1252", "crlf", "Zeile 1\r\nZeile \xe4\xf6\xfc\r\n");
    seeds.add("cp1252", "utf16", std::string("G\0r\0\xfc\0\xdf\0\xac\x20=\xd8\x01\xde", 14));
    return 0;
}
