// The demo archive's assets under data/: sound cues, help topics, tips, pictures.
#include "platform/Cp1252.h"
#include "platform/Help.h"

#include <QTextBrowser>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

using namespace lumo;

namespace {

const std::filesystem::path kData = std::filesystem::path(LUMO_TEST_DATA) / ".." / ".." / "data";

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

uint32_t U32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(const std::string& b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

} // namespace

TEST(DemoAssets, EveryCueIsSmallMono16BitPcm) {
    for (const char* cue : {"hotclik", "click001", "click006", "camera1", "loesch", "bell", "harfe",
                            "next", "error", "exit"}) {
        SCOPED_TRACE(cue);
        const std::string b = ReadAll(kData / "sounds" / (std::string(cue) + ".wav"));
        ASSERT_GT(b.size(), 44u);
        EXPECT_LT(b.size(), 30u * 1024u);
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(U32(b, 4), b.size() - 8);
        EXPECT_EQ(b.substr(8, 4), "WAVE");
        EXPECT_EQ(b.substr(12, 4), "fmt ");
        EXPECT_EQ(U16(b, 20), 1); // PCM
        EXPECT_EQ(U16(b, 22), 1); // mono
        EXPECT_EQ(U16(b, 34), 16);
        EXPECT_EQ(b.substr(36, 4), "data");
        EXPECT_EQ(U32(b, 40), b.size() - 44);
    }
}

TEST(DemoAssets, HelpHasATopicForEveryContext) {
    const int contexts[] = {1,   101, 102, 103, 104,  105,  201,  202,  203,  204, 205, 206,
                            207, 208, 300, 301, 302,  303,  304,  305,  306,  307, 401, 402,
                            403, 404, 405, 505, 1001, 1002, 1008, 3001, 3002, 3003};
    const QString file = QString::fromStdString((kData / "DIA.HLP").string());
    HelpViewer h;
    for (int c : contexts) {
        h.ShowHelp(file, c);
        const QString text = h.window()->toPlainText();
        EXPECT_FALSE(text.contains(QStringLiteral("keinen Eintrag"))) << c;
        EXPECT_FALSE(text.contains(QStringLiteral("nicht gefunden"))) << c;
    }
    // Written in code page 1252: the umlauts come out right.
    EXPECT_TRUE(h.window()->toPlainText().contains(QString::fromUtf8("Schlüssel")));
    h.window()->close();
}

TEST(DemoAssets, TipsAndHistoryAreCodePage1252WithCrLf) {
    for (int n = 0; n <= 8; ++n) {
        const auto file =
            n == 0 ? kData / "history.wri" : kData / "tips" / (std::to_string(n) + ".tip");
        SCOPED_TRACE(file.string());
        const std::string b = ReadAll(file);
        ASSERT_FALSE(b.empty());
        for (size_t i = 0; i < b.size(); ++i)
            if (b[i] == '\n') {
                ASSERT_GT(i, 0u);
                EXPECT_EQ(b[i - 1], '\r');
            }
        EXPECT_EQ(b.find("\xC3"), std::string::npos); // no UTF-8 sequences
        EXPECT_FALSE(FromCp1252(b).trimmed().isEmpty());
    }
}

TEST(DemoAssets, PicturesAreBitmapsOfTheirSize) {
    struct Pic {
        const char* name;
        int w, h;
    };
    for (Pic p : {Pic{"dia.bmp", 638, 409}, Pic{"bilder/autor.bmp", 160, 120},
                  Pic{"bilder/1.bmp", 160, 120}, Pic{"bilder/5.bmp", 160, 120}}) {
        SCOPED_TRACE(p.name);
        const std::string b = ReadAll(kData / p.name);
        ASSERT_GT(b.size(), 54u);
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(U32(b, 2), b.size());
        EXPECT_EQ(int(U32(b, 18)), p.w);
        EXPECT_EQ(int(U32(b, 22)), p.h);
        const int bpp = U16(b, 28);
        EXPECT_TRUE(bpp == 8 || bpp == 24) << bpp;
        EXPECT_LT(b.size(), 800u * 1024u);
    }
    const std::string jpg = ReadAll(kData / "bilder" / "1.jpg");
    ASSERT_GT(jpg.size(), 4u);
    EXPECT_EQ(jpg.substr(0, 2), "\xFF\xD8");
}
