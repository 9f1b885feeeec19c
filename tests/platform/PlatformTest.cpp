// Code page 1252, text files, sound cues, launching programs and documents, help, and the
// demo archive's assets under data/.
#include "TestArchive.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Launcher.h"
#include "platform/Sound.h"
#include "platform/TextFile.h"
#include "ui/AppState.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace lumo;
using namespace lumo::test;

namespace {
const auto U = [](const char* s) { return QString::fromUtf8(s); };
const auto Q = [](const std::filesystem::path& p) { return QString::fromStdString(p.string()); };
const auto Canonical = [](const QString& file) { return QFileInfo(file).canonicalFilePath(); };
const auto MakeProgram = [](const TempArchive& dir, const char* name) {
    dir.write(name, "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(dir.path(name), std::filesystem::perms::owner_all);
    return Q(dir.path(name));
};
const std::filesystem::path kData = std::filesystem::path(LUMO_TEST_DATA) / ".." / ".." / "data";
const auto ReadAll = [](const std::filesystem::path& p) {
    std::ostringstream ss;
    ss << std::ifstream(p, std::ios::binary).rdbuf();
    return ss.str();
};
// A little-endian number of n bytes.
const auto LE = [](const std::string& b, size_t at, int n = 4) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | uint8_t(b.at(at + i));
    return v;
};
} // namespace

// Every byte against the code page table: 0x80..0x9F differ from Latin-1, unassigned bytes
// keep the control character of the same number.
TEST(Cp1252Codec, EveryByteMapsByTheTableAndBack) {
    const char16_t k80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, char(b));
        const QChar code(b >= 0x80 && b < 0xA0 ? k80[b - 0x80] : char16_t(b));
        EXPECT_EQ(FromCp1252(one), QString(code)) << b;
        EXPECT_EQ(ToCp1252(QString(code)), one) << b;
        all += one;
    }
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(ToCp1252Lossy(FromCp1252(all)), all);
}

TEST(Cp1252Codec, CharactersOutsideTheCodePageAreRefused) {
    // U+0080 and U+009F are not in the code page: their bytes hold € and Ÿ.
    for (const QString& s :
         {U("Ā"), U("Grün ł"), U("😀"), U("Ω"), QString(QChar(0x80)), QString(QChar(0x9F))})
        EXPECT_FALSE(ToCp1252(s).has_value()) << s.toStdString();
    EXPECT_EQ(ToCp1252Lossy(U("aĀ😀b")), "a??b");
    EXPECT_EQ(ToCp1252(QString()), std::string());
    // Typed text: pasted text with one foreign character is refused as a whole.
    Cp1252Validator v;
    int pos = 0;
    QString ok = U("Schlüssel – „Berge“ €"), bad = U("Łódź");
    EXPECT_EQ(v.validate(ok, pos), QValidator::Acceptable);
    EXPECT_EQ(v.validate(bad, pos), QValidator::Invalid);
    QLineEdit edit;
    edit.setValidator(&v);
    edit.insert(U("Bergsee"));
    edit.insert(U(" Δ"));
    EXPECT_EQ(edit.text(), U("Bergsee"));
}

// Decoding takes CR LF, LF and CR; encoding writes the file's own line end back.
TEST(TextFileConversion, LineEndsAndCodePageBothWays) {
    struct Row {
        const char *bytes, *text;
        bool crlf;
        const char* encoded;
    };
    const Row rows[] = {{"Zeile 1\r\nGr\xFC\xDF\r\n\x80\r\n", "Zeile 1\nGrüß\n€\n", true, nullptr},
                        {"Berge\nA1\n*", "Berge\nA1\n*", false, nullptr}, // a keyword list
                        {"eins\rzwei", "eins\nzwei", true, "eins\r\nzwei"},
                        {"", "", true, nullptr}};
    for (const Row& row : rows) {
        const auto d = DecodeTextFile(row.bytes);
        EXPECT_EQ(d.text, U(row.text)) << row.bytes;
        EXPECT_EQ(d.crlf, row.crlf) << row.bytes;
        EXPECT_EQ(EncodeTextFile(d.text, d.crlf), row.encoded ? row.encoded : row.bytes);
    }
    qsizetype bad = -1;
    EXPECT_FALSE(EncodeTextFile(U("ab\ncĀd"), true, &bad).has_value());
    EXPECT_EQ(bad, 4);
}

// Cues play only with sound on, come from the open archive's sounds/ without regard to case;
// a missing wave beeps and still pauses; the real wait serves events.
TEST(SoundCue, CuesOfTheOpenArchiveAndTheWait) {
    TempArchive archive, other;
    archive.write("SOUNDS/HotClik.WAV", "RIFF");
    AppState state;
    state.archive.setDir(archive.dir());
    SoundCue sound{state.archive, state.settings};
    sound.setTestMode(true);
    for (const bool on : {false, true}) {
        state.settings.sound = on;
        sound.PlaySoundCue(U("harfe"), 3000); // no wave: a beep
        sound.PlayClick();
    }
    EXPECT_EQ(sound.played(), (QStringList{U("harfe"), U("hotclik")}));
    EXPECT_EQ(sound.delayedMs(), 3180);
    EXPECT_EQ(sound.beeps(), 1); // HotClik.WAV was found
    state.archive.setDir(other.dir());
    sound.PlayClick();
    EXPECT_EQ(sound.beeps(), 2);
    sound.setTestMode(false);
    bool served = false;
    QTimer::singleShot(0, [&] { served = true; });
    sound.Delay(20);
    EXPECT_TRUE(served);
}

// The old editor names start the text viewer with the rest of the line as one file; other
// programs get split arguments; no line goes through a shell; pbrush.exe starts an image
// program from PATH; documents are found without regard to case.
TEST(Launcher, CommandLinesDocumentsAndFailures) {
    TempArchive dir;
    const QString ed = MakeProgram(dir, "ed it/my editor"), eog = MakeProgram(dir, "bin/eog");
    const QString tv = Launcher::TextViewProgram(), max = Launcher::TextViewMaximisedOption();
    EXPECT_EQ(tv, QCoreApplication::applicationDirPath() + U("/lumo_textview"));
    const std::pair<QString, QStringList> rows[] = {
        {U("notepad.exe dialiste.txt"), {tv, max, U("dialiste.txt")}},
        {U("NOTEPAD.EXE dia.ini"), {tv, max, U("dia.ini")}},
        {U("write.exe history.wri"), {tv, max, U("history.wri")}},
        {U("notepad.exe"), {tv, max}},
        {U("notepad.exe a; rm -rf x"), {tv, max, U("a; rm -rf x")}},
        {U("notepad.exe $(touch y) `id` | cat > z"), {tv, max, U("$(touch y) `id` | cat > z")}},
        {U("notepad.exe \"mein bericht.txt\""), {tv, max, U("mein bericht.txt")}},
        {U("   "), {}},
        {ed + U(" dialiste.txt"), {ed, U("dialiste.txt")}}, // blanks in the path, unquoted
        {U("\"") + ed + U("\" \"a b\" c;d"), {ed, U("a b"), U("c;d")}},
        {ed + U(" a;rm -rf x"), {ed, U("a;rm"), U("-rf"), U("x")}}};
    for (const auto& [line, expected] : rows)
        EXPECT_EQ(Launcher::ResolveCommand(line), expected) << line.toStdString();
    Launcher l;
    l.setTestMode(true);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(Q(dir.path("bin"))));
    EXPECT_TRUE(l.RunProgram(U("pbrush.exe 12.bmp"), Q(dir.dir())));
    qputenv("PATH", QFile::encodeName(Q(dir.path("memo"))));
    EXPECT_FALSE(l.RunProgram(U("pbrush.exe 12.bmp"), Q(dir.dir())));
    qputenv("PATH", oldPath);
    EXPECT_TRUE(l.RunProgram(ed + U(" dialiste.txt"), Q(dir.dir())));
    EXPECT_EQ(l.commands(),
              (std::vector<QStringList>{{eog, U("12.bmp")}, {ed, U("dialiste.txt")}}));
    dir.write("MEMO/12.Doc", "doc");
    EXPECT_TRUE(l.OpenDocument(U("memo\\12.doc"), Q(dir.dir())));
    EXPECT_FALSE(l.OpenDocument(U("memo\\13.doc"), Q(dir.dir())));
    EXPECT_TRUE(l.RunProgram(U("explorer.exe"), Q(dir.dir()))); // opens the archive folder
    ASSERT_EQ(l.openedUrls().size(), 2u);
    EXPECT_EQ(Canonical(QUrl(l.openedUrls().at(0)).toLocalFile()),
              Canonical(Q(dir.path("MEMO/12.Doc"))));
    EXPECT_EQ(QUrl(l.openedUrls().at(1)).toLocalFile(), QFileInfo(Q(dir.dir())).absoluteFilePath());

    const QString cmdLine = U("/gibt/es/nicht/editor dialiste.txt");
    EXPECT_EQ(LaunchFailureText(cmdLine),
              U("Leider konnte Lumoretta die Datei\r/gibt/es/nicht/editor dialiste.txt\r"
                "oder die erforderliche Anwendung\rnicht auf Ihrem System lokalisieren !"));
    Launcher failing, real;
    failing.setTestMode(true, /*failStarts=*/true);
    EXPECT_FALSE(failing.RunProgram(U("/bin/true"), Q(dir.dir())) ||
                 failing.RunProgram(U("explorer.exe"), Q(dir.dir())));
    // A missing program, an empty line, and a line with shell syntax run nothing.
    for (const QString& line : {cmdLine, QString(), U("/bin/true; touch pwned")})
        EXPECT_FALSE(real.RunProgram(line, Q(dir.dir()))) << line.toStdString();
    EXPECT_FALSE(dir.exists("pwned"));
}

// The help window jumps to the topic or says what is missing; the demo help has a topic for
// every context.
TEST(HelpViewer, ShowsTheTopicOrSaysWhatIsMissing) {
    TempArchive dir;
    HelpViewer h;
    const auto shows = [&](const char* text) {
        return h.window()->toPlainText().contains(U(text));
    };
    h.ShowHelp(Q(dir.path("DIA.HLP")), 201);
    ASSERT_NE(h.window(), nullptr);
    EXPECT_EQ(h.window()->windowTitle(), U("Lumoretta Hilfe"));
    EXPECT_TRUE(shows("Die Hilfedatei DIA.HLP wurde nicht gefunden."));
    EXPECT_TRUE(h.window()->isVisible() && !h.window()->isModal());
    EXPECT_EQ(h.lastContext(), 201);
    std::string html = "<html><body><a name=\"ctx1\"></a><h1>Einleitung</h1>";
    for (int i = 0; i < 200; ++i)
        html += "<p>F\xFCllzeile " + std::to_string(i) + "</p>";
    dir.write("DIA.HLP", html + "<a name=\"ctx302\"></a><h2>Suche \xFC"
                                "ber den Informationstext</h2></body></html>");
    h.ShowHelp(Q(dir.path("DIA.HLP")), 302);
    EXPECT_TRUE(shows("Suche über den Informationstext") && !shows("keinen Eintrag"));
    const int at302 = h.window()->verticalScrollBar()->value();
    EXPECT_GT(at302, 1000); // scrolled down past the 200 lines to the topic
    h.ShowHelp(Q(dir.path("DIA.HLP")), 1);
    EXPECT_LT(h.window()->verticalScrollBar()->value(), at302 / 10);
    h.ShowHelp(Q(dir.path("DIA.HLP")), 999);
    EXPECT_TRUE(shows("Zum Hilfethema 999 gibt es keinen Eintrag.") && !shows("Zum Hilfethema 1 "));
    for (int c : {1,   101, 102, 103, 104,  105,  201,  202,  203,  204, 205, 206,
                  207, 208, 300, 301, 302,  303,  304,  305,  306,  307, 401, 402,
                  403, 404, 405, 505, 1001, 1002, 1008, 3001, 3002, 3003}) {
        h.ShowHelp(Q(kData / "DIA.HLP"), c);
        EXPECT_FALSE(shows("keinen Eintrag") || shows("nicht gefunden")) << c;
    }
    EXPECT_TRUE(shows("Schlüssel")); // code page 1252: the umlauts come out right
    h.window()->close();
}

// Wave cues are small mono 16-bit PCM; tips and history are code page 1252 with CR LF.
TEST(DemoAssets, CuesAndTextsHaveTheirFormat) {
    for (const char* cue : {"hotclik", "click001", "click006", "camera1", "loesch", "bell", "harfe",
                            "next", "error", "exit"}) {
        const std::string b = ReadAll(kData / "sounds" / (std::string(cue) + ".wav"));
        ASSERT_TRUE(b.size() > 44 && b.size() < 30 * 1024) << cue;
        EXPECT_EQ(b.substr(0, 4) + b.substr(8, 8) + b.substr(36, 4), "RIFFWAVEfmt data") << cue;
        EXPECT_EQ(std::tuple(LE(b, 4), LE(b, 40), LE(b, 20, 2), LE(b, 22, 2), LE(b, 34, 2)),
                  std::tuple(b.size() - 8, b.size() - 44, 1u, 1u, 16u)) // PCM, mono, 16 bits
            << cue;
    }
    for (int n = 0; n <= 8; ++n) {
        const auto file = n ? kData / "tips" / (std::to_string(n) + ".tip") : kData / "history.wri";
        SCOPED_TRACE(file.string());
        const std::string b = ReadAll(file);
        for (size_t i = b.find('\n'); i != std::string::npos; i = b.find('\n', i + 1))
            EXPECT_TRUE(i > 0 && b[i - 1] == '\r') << i;
        EXPECT_EQ(b.find("\xC3"), std::string::npos); // no UTF-8 sequences
        EXPECT_FALSE(FromCp1252(b).trimmed().isEmpty());
    }
}
