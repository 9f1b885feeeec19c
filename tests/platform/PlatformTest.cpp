// Code page 1252, text files, sound cues, launching programs and documents, help.
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
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace lumo;
using namespace lumo::test;

namespace {
const auto U = [](const char* s) { return QString::fromUtf8(s); };
const auto Q = [](const std::filesystem::path& p) { return QString::fromStdString(p.string()); };
const auto MakeProgram = [](const TempArchive& dir, const char* name) {
    dir.write(name, "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(dir.path(name), std::filesystem::perms::owner_all);
    return Q(dir.path(name));
};
} // namespace

// Every byte against the code page table; unassigned bytes keep the control character.
TEST(Cp1252Codec, CodePageTableForeignTextAndLineEnds) {
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
    EXPECT_EQ(ToCp1252Lossy(FromCp1252(all)), all);
    // U+0080 and U+009F are not in the code page; typed or pasted foreign text is refused whole.
    for (const QString& s : {U("Grün ł"), U("😀"), QString(QChar(0x80)), QString(QChar(0x9F))})
        EXPECT_FALSE(ToCp1252(s).has_value()) << s.toStdString();
    EXPECT_EQ(ToCp1252Lossy(U("aĀ😀b")), "a??b");
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
    // Text files: decoding takes CR LF, LF and CR; encoding writes the file's own line end back.
    const std::tuple<const char*, const char*, bool, const char*> rows[] = {
        {"Zeile 1\r\nGr\xFC\xDF\r\n\x80\r\n", "Zeile 1\nGrüß\n€\n", true, nullptr},
        {"Berge\nA1\n*", "Berge\nA1\n*", false, nullptr},
        {"eins\rzwei", "eins\nzwei", true, "eins\r\nzwei"},
        {"", "", true, nullptr}};
    for (const auto& [bytes, text, crlf, encoded] : rows) {
        const auto d = DecodeTextFile(bytes);
        EXPECT_EQ(std::pair(d.text, d.crlf), std::pair(U(text), crlf)) << bytes;
        EXPECT_EQ(EncodeTextFile(d.text, d.crlf), encoded ? encoded : bytes);
    }
    qsizetype at = -1;
    EXPECT_FALSE(EncodeTextFile(U("ab\ncĀd"), true, &at).has_value());
    EXPECT_EQ(at, 4);
}

// Cues play only with sound on, from the open archive's sounds/ in any case; a missing wave
// beeps and still pauses; the real wait serves events.
TEST(SoundCue, CuesOfTheOpenArchiveAndTheWait) {
    TempArchive archive, other;
    archive.write("SOUNDS/HotClik.WAV", "RIFF");
    AppState state;
    state.archive.setDir(archive.dir());
    SoundCue sound{state.archive, state.settings};
    sound.setTestMode(true);
    for (const bool on : {false, true}) {
        state.settings.sound = on;
        sound.PlaySoundCue(U("harfe"), 3000);
        sound.PlayClick();
    }
    EXPECT_EQ(sound.played(), (QStringList{U("harfe"), U("hotclik")}));
    EXPECT_EQ(std::pair(sound.delayedMs(), sound.beeps()), std::pair(3180, 1));
    state.archive.setDir(other.dir());
    sound.PlayClick();
    EXPECT_EQ(sound.beeps(), 2);
    sound.setTestMode(false);
    bool served = false;
    QTimer::singleShot(0, [&] { served = true; });
    sound.Delay(20);
    EXPECT_TRUE(served);
}

// Old editor names start the text viewer with the rest of the line as one file; other programs
// get split arguments; no line goes through a shell; pbrush.exe takes an image program from PATH.
TEST(Launcher, CommandLinesDocumentsAndFailures) {
    TempArchive dir;
    const QString ed = MakeProgram(dir, "ed it/my editor"), eog = MakeProgram(dir, "bin/eog");
    const QString tv = Launcher::TextViewProgram(), max = Launcher::TextViewMaximisedOption();
    EXPECT_EQ(tv, QCoreApplication::applicationDirPath() + U("/lumo_textview"));
    const std::pair<QString, QStringList> rows[] = {
        {U("NOTEPAD.EXE dia.ini"), {tv, max, U("dia.ini")}},
        {U("write.exe history.wri"), {tv, max, U("history.wri")}},
        {U("notepad.exe"), {tv, max}},
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
    EXPECT_EQ(l.commands(), (std::vector<QStringList>{{eog, U("12.bmp")}}));
    dir.write("MEMO/12.Doc", "doc");
    EXPECT_TRUE(l.OpenDocument(U("memo\\12.doc"), Q(dir.dir())));
    EXPECT_FALSE(l.OpenDocument(U("memo\\13.doc"), Q(dir.dir())));
    EXPECT_TRUE(l.RunProgram(U("explorer.exe"), Q(dir.dir()))); // opens the archive folder
    ASSERT_EQ(l.openedUrls().size(), 2u);
    EXPECT_EQ(QFileInfo(QUrl(l.openedUrls().at(0)).toLocalFile()).canonicalFilePath(),
              QFileInfo(Q(dir.path("MEMO/12.Doc"))).canonicalFilePath());
    EXPECT_EQ(QUrl(l.openedUrls().at(1)).toLocalFile(), QFileInfo(Q(dir.dir())).absoluteFilePath());
    const QString cmdLine = U("/gibt/es/nicht/editor dialiste.txt");
    EXPECT_EQ(LaunchFailureText(cmdLine),
              U("Leider konnte Lumoretta die Datei\r/gibt/es/nicht/editor dialiste.txt\r"
                "oder die erforderliche Anwendung\rnicht auf Ihrem System lokalisieren !"));
    Launcher real; // a missing program, an empty line, and shell syntax run nothing
    for (const QString& line : {cmdLine, QString(), U("/bin/true; touch pwned")})
        EXPECT_FALSE(real.RunProgram(line, Q(dir.dir()))) << line.toStdString();
    EXPECT_FALSE(dir.exists("pwned"));
}

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
    dir.write("DIA.HLP", "<html><body><a name=\"ctx1\"></a><h1>Einleitung</h1><a name=\"ctx302\">"
                         "</a><h2>Suche \xFC"
                         "ber den Informationstext</h2></body></html>");
    h.ShowHelp(Q(dir.path("DIA.HLP")), 302);
    EXPECT_TRUE(shows("Suche über den Informationstext") && !shows("keinen Eintrag"));
    h.ShowHelp(Q(dir.path("DIA.HLP")), 999);
    EXPECT_TRUE(shows("Zum Hilfethema 999 gibt es keinen Eintrag.") && !shows("Zum Hilfethema 1 "));
    h.window()->close();
}
