#include "SearchGuiFixture.h"

#include "platform/Cp1252.h"

#include <QPushButton>
#include <QToolButton>

namespace lumo::test {

std::string Cp(const char* utf8) {
    return ToCp1252Lossy(QString::fromUtf8(utf8));
}

std::string HeaderField(const std::string& value) {
    std::string f = value.substr(0, 15);
    if (f.size() < 15) {
        f += '\0';
        f.resize(15, ' ');
    }
    return f;
}

std::string HeaderRecord(const std::vector<std::string>& values) {
    std::string r;
    for (size_t i = 0; i < 8; ++i)
        r += HeaderField(i < values.size() ? values[i] : std::string());
    return r;
}

std::string Stars() {
    return std::string(69, '*') + "\r\n";
}
std::string BoxBlank() {
    return "*" + std::string(67, ' ') + "*\r\n";
}
std::string Divider() {
    return "*" + std::string(67, '-') + "*\r\n";
}

std::string Head5() {
    return Stars() + "* Datum: 05.12.98  !                             !                  *\r\n" +
           Cp("*                  !  L  U  M  O  R  E  T  T  A  ! Liste für Editor *") + "\r\n" +
           "* Zeit:  10:11:12  !                             !                  *\r\n" +
           "*------------------+-----------------------------+------------------*\r\n";
}

std::string ColumnHead() {
    return "*--------------+-----------+----------------------------------------*\r\n"
           "* Kastennummer ! Dianummer ! Diabeschreibungstext                   *\r\n"
           "*--------------+-----------+----------------------------------------*\r\n"
           "*              !           !                                        *\r\n";
}

std::string ResultLineText(int box, int slide, const std::string& infoField) {
    auto right5 = [](int v) {
        std::string s = std::to_string(v);
        return std::string(5 - s.size(), ' ') + s;
    };
    std::string line = "*    " + right5(box) + "     !   " + right5(slide) + "   ! " + infoField;
    line.resize(68, ' ');
    return line + "*\r\n";
}

std::string Statistics(int total, int found, const std::string& percent) {
    return Stars() + "[STATISTIK]\r\n" + Cp("Es wurden insgesamt ") + std::to_string(total) +
           Cp(" Datensätze ausgewertet.") + "\r\n" + "Davon entsprachen " + std::to_string(found) +
           " Dias den Suchkriterien.\r\n" + "Dies entspricht " + percent + " % Ihres Archivs.\r\n";
}

void SearchGui::WriteArchive(const std::vector<std::string>& records, int activeSlides) {
    arc.write("keyword1", KeywordBytes({{"Natur", "N1"}, {"Urlaub", "U1"}}));
    arc.write("keyword2", KeywordBytes({{"Blumen", "N1B1"}}));
    arc.write("keyword3", KeywordBytes({{"Rosen", "N1B1R1"}}));
    arc.write("DIA.INI", "[LUMORETTA]\r\nDIAS=" + std::to_string(activeSlides) +
                             "\r\nEDITOR=/bin/true\r\nTIP=0\r\nSOUND=1\r\n");
    std::string db;
    for (const auto& r : records)
        db += r;
    arc.write("dias.ddb", db);
}

void SearchGui::WriteSevenSlides() {
    const std::string freeInfo = "Dia wurde entnommen / Platz frei";
    WriteArchive({RecordBytes({"N1"}, "A01 Wiese", 1), RecordBytes({"U1"}, "A02 Strand", 1),
                  RecordBytes({"N1B1"}, "A03 Garten", 1), RecordBytes({"00    "}, freeInfo, 1),
                  RecordBytes({"N1B1R1", "U1"}, "B01 Rosen am Meer", 2),
                  RecordBytes({"U1"}, "B02 Rom im Regen", 2), RecordBytes({"00    "}, freeInfo, 2)},
                 5);
}

void SearchGui::Start() {
    prog = std::make_unique<Program>(arc.dir(), true);
    ASSERT_TRUE(prog->Start());
    search().setClock([] { return ReportStamp{"05.12.98", "10:11:12"}; });
    msg().clearShown();
    prog->sound().clearRecord();
    prog->launcher().clearRecord();
}

std::vector<ShownDialog> SearchGui::shown(ShownDialog::Kind kind) const {
    std::vector<ShownDialog> out;
    for (const auto& d : prog->messages().shown())
        if (d.kind == kind)
            out.push_back(d);
    return out;
}

std::vector<int> SearchGui::errors() const {
    std::vector<int> out;
    for (const auto& d : shown(ShownDialog::Error))
        out.push_back(d.number);
    return out;
}

void SearchGui::KeySearch(const std::vector<std::pair<std::string, std::string>>& codesAndNames) {
    main().toolButton(5)->click();
    ASSERT_EQ(st().screenMode, mode::KeySearchSetup);
    for (const auto& [code, name] : codesAndNames) {
        st().keys.entries[static_cast<size_t>(st().keys.count)] = {code, name};
        ++st().keys.count;
    }
    msg().clearShown();
    ASSERT_TRUE(main().softButton(1)->isEnabled());
    main().softButton(1)->click();
}

std::vector<std::string> SearchGui::ReportResultLines() const {
    const std::string text = arc.read("dialiste.txt");
    const std::string head = ColumnHead();
    const size_t start = text.find(head);
    const size_t stop = text.find(Stars() + "[STATISTIK]");
    std::vector<std::string> lines;
    if (start == std::string::npos || stop == std::string::npos)
        return lines;
    size_t pos = start + head.size();
    while (pos < stop) {
        const size_t end = text.find("\r\n", pos);
        lines.push_back(text.substr(pos, end - pos + 2));
        pos = end + 2;
    }
    return lines;
}

} // namespace lumo::test
