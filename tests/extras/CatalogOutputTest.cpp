// The exports and printouts through the real windows and the command line: the CSV read
// back by Python's csv module as a spreadsheet reads it, sidecars read back by Exiv2, the
// label and loading list PDFs read back by pdftotext.
#include "ProgramFixture.h"

#include "extras/ExportCommands.h"
#include "extras/ExportDialog.h"
#include "extras/LabelsDialog.h"
#include "extras/OutputCommands.h"
#include "extras/logic/LabelLayout.h"
#include "store/ArchiveLock.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <QComboBox>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

#include <sstream>

// Failures show texts, not code units.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lumo::test {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Output of a program, "" when it could not be run.
QString OutputOf(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Box 4 holds slides 1, 3, 4 (magazines A and B); slide 2 is a free slot, 5 lies in box 5.
class CatalogOutput : public ProgramTest {
protected:
    void SetUp() override {
        writeKeywords(1, {{"Natur", "N1"}, {"Reise", "R1"}});
        writeKeywords(2, {{"Blumen", "N1B1"}});
        writeKeywords(3, {{"Rosen", "N1B1R1"}});
        writeRecords({RecordBytes({"N1B1R1", "R1"},
                                  "B01 Rosen; \"Gl\xFC"
                                  "ck\" 5\x80",
                                  4),
                      RecordBytes({"00    "}, "Dia wurde entnommen / Platz frei", 4),
                      RecordBytes({"Q7"}, "A02 Bus", 4), RecordBytes({}, "A01 Zug", 4),
                      RecordBytes({"R1"}, "A01 Anderswo", 5)});
        writeIni({"[LUMORETTA]", "DIAS=4", "[KOPFDATA]", "FELDNAMEN=Apparat"});
        archive.write("kopfdata.ddb", HeaderRecordBytes({"Leica;R4"}));
        archive.write("KASTEN.INI", "[K004]\r\nT1=Urlaub\r\nT2=Sommer 1998\r\n");
        archive.write("memo/1.txt", "Erste Zeile\r\nzweite \"Zeile\"\r\n");
    }
    // Runs `act` once `dialog` shows, and the menu entry that opens it.
    void whileOpen(QDialog* dialog, const char* menu, std::function<void()> act) {
        WhenShown when(dialog, [dialog, &act] {
            // The main window may still hold the activation the search gave it.
            QApplication::setActiveWindow(dialog);
            ASSERT_EQ(QApplication::activeWindow(), dialog);
            act();
        });
        triggerMenu(menu);
        EXPECT_TRUE(when.ran());
        EXPECT_FALSE(dialog->isVisible());
    }
    QWidget* focused() { return QApplication::activeWindow()->focusWidget(); }
    // Buttons are clicked with the mouse (a mnemonic clicks only after an animation), near
    // their left edge, where a radio button's circle is.
    void click(QWidget* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(w, k, m);
    }
    void typeInto(QWidget* dialog, Qt::Key mnemonic, const QString& text) {
        key(dialog, mnemonic, Qt::AltModifier);
        key(focused(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(focused(), text);
    }
    std::string pdf(const char* name) { return (archive.dir() / name).string(); }
};

TEST_F(CatalogOutput, CsvOfTheResultListReadsBackInASpreadsheetParser) {
    start();
    messages().queue(DialogAnswer::type(QStringLiteral("4"))); // box search
    clickToolButton(7);
    ASSERT_EQ(state().foundCount, 4); // the free slot as well, which the table leaves out
    ExportDialog* dialog = program->outputs().exportDialog();
    const QString file = QString::fromStdString(pdf("tabelle.csv"));
    whileOpen(dialog, "&Exportieren...", [&] {
        click(dialog->resultChoice);
        typeInto(dialog, Qt::Key_D, file);
        messages().queue(DialogAnswer::ok());
        key(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(texts(ShownDialog::Notice).last(), U("3 Dias in ") + file + U(" exportiert."));

    // Each row as the spreadsheet parser splits it, fields joined by "|".
    const QString script =
        QStringLiteral("import csv, sys\n"
                       "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                       "    for r in csv.reader(f, delimiter=';'): print('|'.join(r))\n");
    QString expected = U("Dia-Nr.|Kasten|Position|Informationstext|");
    for (int i = 1; i <= 8; ++i)
        expected += U("Schl\u00fcssel ") + QString::number(i) + u'|';
    const auto bars = [](int n) { return QString(n, u'|'); };
    expected += U("Apparat|Objektiv|Filter|Filmtyp|Format|Belichtung|Blende|Datum|Memo\n") +
                U("1|4|B01|Rosen; \"Gl\u00fcck\" 5\u20ac|Natur / Blumen / Rosen|Reise") + bars(7) +
                U("Leica;R4") + bars(8) + U("Erste Zeile\r\nzweite \"Zeile\"\n") +
                U("3|4|A02|Bus|Q7") + bars(16) + U("\n4|4|A01|Zug") + bars(17) + u'\n';
    EXPECT_EQ(OutputOf(QStringLiteral("python3"), {QStringLiteral("-c"), script, file}), expected);
}

TEST_F(CatalogOutput, LabelsLandInTheirPlacesOfTheSheetWithEmbeddedFonts) {
    start();
    LabelsDialog* dialog = program->outputs().labelsDialog();
    const QString file = QString::fromStdString(pdf("etiketten.pdf"));
    whileOpen(dialog, "&Etiketten und Ladelisten...", [&] {
        key(dialog->sheetChoice, Qt::Key_Down); // 38,1 x 21,2 mm, 5 x 13
        typeInto(dialog, Qt::Key_S, QStringLiteral("5"));
        click(dialog->rangeChoice);
        key(focused(), Qt::Key_Tab);
        key(focused(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(focused(), QStringLiteral("1"));
        typeInto(dialog, Qt::Key_B, QStringLiteral("5"));
        messages().queueFileName(file);
        messages().queue(DialogAnswer::ok());
        click(dialog->pdfButton);
        click(dialog->closeButton);
    });
    EXPECT_EQ(texts(ShownDialog::Notice).last(), U("Gespeichert in\r") + file);
    const LabelSheet& sheet = CommonLabelSheets()[3];
    ASSERT_EQ(dialog->chosenSheet().name, sheet.name);

    // Every word of a label lies inside the label's place (positions 5..8 of the sheet:
    // 5 in the first row, 6..8 in the second).
    const QString words =
        OutputOf(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    ASSERT_FALSE(words.isEmpty());
    const QRegularExpression word(QStringLiteral(
        "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)<"));
    const auto places = PlaceLabels(sheet, 5, 4);
    std::vector<QStringList> found(places.size());
    const std::vector<QStringList> labels{
        {U("Dia"), U("1"), U("K"), U("4"), U("B01"), U("Rosen;"), U("\"Gl\u00fcck\""), U("5\u20ac"),
         U("Rosen")},
        {U("Dia"), U("3"), U("K"), U("4"), U("A02"), U("Bus"), U("Q7")},
        {U("Dia"), U("4"), U("K"), U("4"), U("A01"), U("Zug")},
        {U("Dia"), U("5"), U("K"), U("5"), U("A01"), U("Anderswo"), U("Reise")}};
    const double pt = 72.0 / 25.4;
    for (auto m = word.globalMatch(words); m.hasNext();) {
        const auto w = m.next();
        const QRectF box(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                         QPointF(w.captured(3).toDouble(), w.captured(4).toDouble()));
        for (size_t i = 0; i < places.size(); ++i) {
            const QRectF label(places[i].x * pt, places[i].y * pt, sheet.labelWidth * pt,
                               sheet.labelHeight * pt);
            if (label.contains(box.center())) {
                EXPECT_TRUE(label.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box)) << i;
                found[i] << w.captured(5).replace(U("&quot;"), U("\"")).replace(U("&amp;"), U("&"));
            }
        }
    }
    EXPECT_EQ(found, labels);
    const QString fonts = OutputOf(QStringLiteral("pdffonts"), {file});
    EXPECT_TRUE(fonts.contains(U("LiberationSans")));
    EXPECT_FALSE(fonts.contains(QRegularExpression(U(" no +(yes|no) +(yes|no) +\\d+ +\\d+\\s*$"),
                                                   QRegularExpression::MultilineOption)))
        << fonts.toStdString();
}

TEST_F(CatalogOutput, LoadingListNamesTheBoxAndItsMagazinesInPlaceOrder) {
    start();
    LabelsDialog* dialog = program->outputs().labelsDialog();
    const QString file = QString::fromStdString(pdf("ladeliste.pdf"));
    whileOpen(dialog, "&Etiketten und Ladelisten...", [&] {
        key(dialog, Qt::Key_F1);
        EXPECT_EQ(help().lastContext(), 1);
        key(dialog, Qt::Key_L, Qt::AltModifier);
        typeInto(dialog, Qt::Key_K, QStringLiteral("4"));
        messages().queueFileName(file);
        messages().queue(DialogAnswer::ok());
        click(dialog->pdfButton);
        key(dialog, Qt::Key_Escape);
    });
    QStringList lines;
    for (const QString& l : OutputOf(QStringLiteral("pdftotext"),
                                     {QStringLiteral("-layout"), file, QStringLiteral("-")})
                                .split(QLatin1Char('\n')))
        if (!l.trimmed().isEmpty())
            lines << l.simplified();
    EXPECT_EQ(lines,
              (QStringList{U("Ladeliste Kasten 4"), U("Magazin: Urlaub"), U("Thema: Sommer 1998"),
                           U("Magazin A"), U("Position Dia-Nr. Informationstext Schl\u00fcssel"),
                           U("A01 4 Zug"), U("A02 3 Bus Q7"), U("Magazin B"),
                           U("Position Dia-Nr. Informationstext Schl\u00fcssel"),
                           U("B01 1 Rosen; \"Gl\u00fcck\" 5\u20ac Rosen, Reise"),
                           U("Ladeliste Kasten 4 \u2013 Seite 1")}));
}

// The command line works in the archive of the working directory.
class InArchiveDirectory {
public:
    explicit InArchiveDirectory(const std::filesystem::path& dir)
        : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~InArchiveDirectory() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

TEST_F(CatalogOutput, SidecarsKeepForeignPropertiesAndNeverTouchThePicture) {
    archive.write("bilder/1.JPG", "\xFF\xD8 picture bytes");
    archive.write("bilder/3.jpg", "\xFF\xD8 three");
    archive.write("bilder/1.JPG.xmp",
                  "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                  "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
                  "rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" "
                  "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmp:Rating=\"4\"><dc:subject>"
                  "<rdf:Bag><rdf:li>alt</rdf:li></rdf:Bag></dc:subject></rdf:Description>"
                  "</rdf:RDF></x:xmpmeta>");
    archive.write("bilder/4.jpg", "\xFF\xD8 four");
    archive.write("bilder/4.jpg.xmp", "kein XML");
    std::ostringstream out, err;
    int status = 0;
    {
        InArchiveDirectory here(archive.dir());
        status = RunXmpExportCommand({}, out, err);
    }
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out.str(), "bilder/1.JPG.xmp\nbilder/3.jpg.xmp\n");
    EXPECT_EQ(err.str(), "lumoretta: bilder/4.jpg.xmp: keine lesbaren XMP-Daten\n"
                         "lumoretta: 2 XMP-Dateien geschrieben, 1 nicht geschrieben.\n");
    EXPECT_EQ(archive.read("bilder/1.JPG"), "\xFF\xD8 picture bytes");
    EXPECT_EQ(archive.read("bilder/4.jpg.xmp"), "kein XML");

    Exiv2::XmpData xmp;
    ASSERT_EQ(Exiv2::XmpParser::decode(xmp, archive.read("bilder/1.JPG.xmp")), 0);
    auto value = [&](const char* key) {
        auto it = xmp.findKey(Exiv2::XmpKey(key));
        return it == xmp.end() ? std::string("(none)") : it->toString();
    };
    EXPECT_EQ(value("Xmp.xmp.Rating"), "4");
    EXPECT_EQ(value("Xmp.dc.subject"), "Natur, Blumen, Rosen, Reise");
    EXPECT_EQ(value("Xmp.lr.hierarchicalSubject"), "Natur|Blumen|Rosen, Reise");
    EXPECT_EQ(value("Xmp.dc.title"), "lang=\"x-default\" Rosen; \"Gl\xC3\xBC"
                                     "ck\" 5\xE2\x82\xAC");
    EXPECT_EQ(value("Xmp.dc.description"), "lang=\"x-default\" Erste Zeile\nzweite \"Zeile\"");
}

TEST_F(CatalogOutput, CommandLineCsvTakesTheLockAndSaysWhatWentWrong) {
    InArchiveDirectory here(archive.dir());
    std::ostringstream out, err;
    EXPECT_EQ(RunCsvExportCommand({"a.csv"}, out, err), 0);
    EXPECT_EQ(out.str(), "4 Dias in " + (archive.dir() / "a.csv").string() + " exportiert.\n");
    EXPECT_EQ(archive.read("a.csv").substr(0, 11), "\xEF\xBB\xBF"
                                                   "Dia-Nr.;");
    EXPECT_EQ(RunCsvExportCommand({}, out, err), 2);
    {
        ArchiveLock other;
        ASSERT_EQ(other.acquire(archive.dir()), ArchiveLock::Result::Acquired);
        std::ostringstream held;
        EXPECT_EQ(RunCsvExportCommand({"b.csv"}, out, held), 1);
        EXPECT_NE(held.str().find("in einem anderen Programm"), std::string::npos);
    }
    std::filesystem::remove(archive.path("dias.ddb"));
    std::ostringstream missing;
    EXPECT_EQ(RunCsvExportCommand({"c.csv"}, out, missing), 1);
    EXPECT_EQ(missing.str(), "lumoretta: Archiv DIAS.DDB konnte nicht ge\xC3\xB6"
                             "ffnet werden !\n");
    EXPECT_FALSE(archive.exists("c.csv"));
}

// The help entries' topics: MainWindowTest's F1 test.
TEST_F(CatalogOutput, ExtrasMenuSitsBeforeHelp) {
    start();
    QStringList menus;
    for (QAction* top : main().menuBar()->actions())
        menus << top->text();
    EXPECT_EQ(menus.join(U("|")), U("&Datei|&Bearbeiten|&Auswertung|Dien&ste|E&xtras|&Hilfe"));
}

} // namespace
} // namespace lumo::test
