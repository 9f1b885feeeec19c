// The code page 1252 codec, its validator, and the editor's text-file conversion.
#include "platform/Cp1252.h"
#include "platform/TextFile.h"

#include <QLineEdit>
#include <QSet>

#include <gtest/gtest.h>

using namespace lumo;

namespace {
QString U(const char* s) {
    return QString::fromUtf8(s);
}
} // namespace

TEST(Cp1252Codec, EveryByteSurvivesRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = FromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    // 256 different characters: no two bytes collapse.
    QSet<QChar> distinct;
    for (QChar c : text)
        distinct.insert(c);
    EXPECT_EQ(distinct.size(), 256);
    const auto back = ToCp1252(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
    EXPECT_EQ(ToCp1252Lossy(text), all);
}

TEST(Cp1252Codec, CharactersOfTheCodePage) {
    // Taken from the code page table: 0x80..0x9F differ from Latin-1.
    const std::pair<unsigned char, char16_t> table[] = {
        {0x80, 0x20AC},
        {0x82, 0x201A},
        {0x83, 0x0192},
        {0x84, 0x201E},
        {0x85, 0x2026},
        {0x86, 0x2020},
        {0x87, 0x2021},
        {0x88, 0x02C6},
        {0x89, 0x2030},
        {0x8A, 0x0160},
        {0x8B, 0x2039},
        {0x8C, 0x0152},
        {0x8E, 0x017D},
        {0x91, 0x2018},
        {0x92, 0x2019},
        {0x93, 0x201C},
        {0x94, 0x201D},
        {0x95, 0x2022},
        {0x96, 0x2013},
        {0x97, 0x2014},
        {0x98, 0x02DC},
        {0x99, 0x2122},
        {0x9A, 0x0161},
        {0x9B, 0x203A},
        {0x9C, 0x0153},
        {0x9E, 0x017E},
        {0x9F, 0x0178},
        // unassigned bytes keep the control character of the same number
        {0x81, 0x0081},
        {0x8D, 0x008D},
        {0x8F, 0x008F},
        {0x90, 0x0090},
        {0x9D, 0x009D},
        // German letters are Latin-1
        {0xC4, 0x00C4},
        {0xD6, 0x00D6},
        {0xDC, 0x00DC},
        {0xE4, 0x00E4},
        {0xF6, 0x00F6},
        {0xFC, 0x00FC},
        {0xDF, 0x00DF},
        {0x41, 0x0041},
        {0x00, 0x0000},
        {0xFF, 0x00FF}};
    for (auto [byte, code] : table) {
        const std::string one(1, static_cast<char>(byte));
        const QString t = FromCp1252(one);
        ASSERT_EQ(t.size(), 1);
        EXPECT_EQ(t.at(0).unicode(), code) << int(byte);
        EXPECT_EQ(ToCp1252(QString(QChar(code))), one) << int(byte);
    }
    EXPECT_EQ(FromCp1252("Gr\xFC\xDF"
                         "e \x80 5"),
              U("Grüße € 5"));
}

TEST(Cp1252Codec, RefusesCharactersOutsideTheCodePage) {
    EXPECT_FALSE(ToCp1252(U("Ā")).has_value());
    EXPECT_FALSE(ToCp1252(U("Grün ł")).has_value());
    EXPECT_FALSE(ToCp1252(U("😀")).has_value());
    EXPECT_FALSE(ToCp1252(U("Ω")).has_value());
    // U+0080 and U+009F are not in the code page: their bytes hold € and Ÿ.
    EXPECT_FALSE(ToCp1252(QString(QChar(0x0080))).has_value());
    EXPECT_FALSE(ToCp1252(QString(QChar(0x009F))).has_value());
    EXPECT_EQ(ToCp1252Lossy(U("aĀ😀b")), "a??b");
    EXPECT_EQ(ToCp1252(QString()), std::string());
}

TEST(Cp1252Codec, ValidatorRefusesTypedCharacters) {
    Cp1252Validator v;
    int pos = 0;
    QString ok = U("Schlüssel – „Berge“ €");
    EXPECT_EQ(v.validate(ok, pos), QValidator::Acceptable);
    QString bad = U("Łódź");
    EXPECT_EQ(v.validate(bad, pos), QValidator::Invalid);

    // Pasted text with one foreign character is refused as a whole.
    QLineEdit edit;
    edit.setValidator(&v);
    edit.insert(U("Bergsee"));
    edit.insert(U(" Δ"));
    EXPECT_EQ(edit.text(), U("Bergsee"));
    edit.setValidator(nullptr);
}

TEST(TextFileConversion, DecodesLineEndsAndCodePage) {
    const auto crlf = DecodeTextFile("Zeile 1\r\nGr\xFC\xDF"
                                     "e\r\n\x80\r\n");
    EXPECT_EQ(crlf.text, U("Zeile 1\nGrüße\n€\n"));
    EXPECT_TRUE(crlf.crlf);

    const auto lf = DecodeTextFile("Berge\nA1\n*");
    EXPECT_EQ(lf.text, U("Berge\nA1\n*"));
    EXPECT_FALSE(lf.crlf);

    const auto cr = DecodeTextFile("eins\rzwei");
    EXPECT_EQ(cr.text, U("eins\nzwei"));
    EXPECT_TRUE(cr.crlf);
    EXPECT_TRUE(DecodeTextFile("").crlf);
}

TEST(TextFileConversion, EncodesBackKeepingTheLineEnd) {
    EXPECT_EQ(EncodeTextFile(U("Grüße\n€"), true), std::string("Gr\xFC\xDF"
                                                               "e\r\n\x80"));
    // A keyword list keeps LF alone.
    EXPECT_EQ(EncodeTextFile(U("Berge\nA1\n*"), false), std::string("Berge\nA1\n*"));
    // Round trip of a report file.
    const std::string report = "\xC4rger\r\nKasten 7\r\n";
    const auto d = DecodeTextFile(report);
    EXPECT_EQ(EncodeTextFile(d.text, d.crlf), report);

    qsizetype bad = -1;
    EXPECT_FALSE(EncodeTextFile(U("ab\ncĀd"), true, &bad).has_value());
    EXPECT_EQ(bad, 4);
}
