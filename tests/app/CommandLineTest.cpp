#include "app/CommandLine.h"
#include "app/CommandLineTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace lumo::cli {
namespace {

using Args = std::vector<std::string>;

struct Case {
    Tool tool;
    Args args;
    Action action;
    Args expected; // the command's arguments, or for Wrong the error between name and hint
};

TEST(CommandLine, EveryOptionAndEveryWrongCall) {
    constexpr Tool Lu = Tool::Lumoretta, TV = Tool::TextView, SH = Tool::StartHelper;
    using enum Action;
    const std::string folder = "/scans",
                      firstNo = "after --first is not a slide number (1 or more)";
    const Case cases[] = {
        {Lu, {}, Run, {}},
        {Lu, {"--help"}, Help, {}},
        {Lu, {"--export-csv", "a.csv", "--version"}, Version, {}},
        {Lu, {"--import-pictures", folder}, ImportPictures, {folder}},
        // Refinements come after the folder in a fixed order, wherever they were given.
        {Lu,
         {"--replace", "--import-pictures", folder, "--first", "7"},
         ImportPictures,
         {folder, "--first", "7", "--replace"}},
        {Lu, {"--export-csv", "-a.csv"}, ExportCsv, {"-a.csv"}},
        {Lu, {"--export-xmp"}, ExportXmp, {}},
        {TV, {"dialiste.txt"}, Run, {"dialiste.txt"}},
        {TV, {"--maximized", "-x.txt"}, Run, {"-x.txt"}},
        {TV, {"--maximized"}, Run, {}},
        {TV, {"--maximized", "--", "-x.txt"}, Run, {"-x.txt"}},
        {TV, {"--", "--help"}, Run, {"--help"}},
        {TV, {"--pdf", "o.pdf", "in.txt"}, WritePdf, {"o.pdf", "in.txt"}},
        {SH, {"--version"}, Version, {}},
        {Lu, {"-platform", "xcb"}, Wrong, {"unknown option '-platform'"}},
        {Lu, {"archiv"}, Wrong, {"unexpected argument 'archiv'"}},
        {Lu, {"--import-pictures"}, Wrong, {"option '--import-pictures' needs FOLDER"}},
        {Lu, {"--import-pictures", folder, "--first", "0"}, Wrong, {"'0' " + firstNo}},
        {Lu, {"--first", "3x", "--import-pictures", folder}, Wrong, {"'3x' " + firstNo}},
        {Lu,
         {"--export-xmp", "--replace"},
         Wrong,
         {"option '--replace' belongs to '--import-pictures'"}},
        {Lu,
         {"--export-xmp", "--export-csv", "a.csv"},
         Wrong,
         {"one command at a time: '--export-xmp' and '--export-csv'"}},
        {TV, {"a.txt", "b.txt"}, Wrong, {"unexpected argument 'b.txt'"}},
        {TV, {"--pdf", "o.pdf"}, Wrong, {"option '--pdf' needs OUT FILE"}},
        {SH, {"--maximized"}, Wrong, {"unknown option '--maximized'"}},
        {SH, {"--"}, Wrong, {"unknown option '--'"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Command command = Parse(c.tool, c.args, Language::English);
        EXPECT_EQ(command.action, c.action);
        std::ostringstream out, err;
        const auto status = AnswerDirectly(c.tool, command, Language::English, out, err);
        if (c.action == Wrong) {
            const std::string name = c.tool == Lu   ? "lumoretta"
                                     : c.tool == TV ? "lumo_textview"
                                                    : "lumoretta-start";
            EXPECT_EQ(status, 2);
            EXPECT_EQ(out.str(), "");
            EXPECT_EQ(err.str(), name + ": " + c.expected[0] + " (see '" + name + " --help')\n");
        } else {
            EXPECT_EQ(command.args, c.expected);
            EXPECT_EQ(err.str(), "");
            EXPECT_EQ(status.has_value(), c.action == Help || c.action == Version);
        }
    }
}

TEST(CommandLine, LanguageFollowsTheLocaleVariables) {
    const struct {
        const char* all;
        const char* messages;
        const char* lang;
        Language expected;
    } rows[] = {
        {nullptr, nullptr, "de_DE.UTF-8", Language::German},
        {nullptr, nullptr, "de", Language::German},
        {nullptr, nullptr, "de_AT@euro", Language::German},
        {nullptr, "de_CH.UTF-8", "en_GB.UTF-8", Language::German},
        {"C", "de_DE.UTF-8", "de_DE.UTF-8", Language::English},
        {"", "", "de_DE.UTF-8", Language::German},
        {"en_US.UTF-8", nullptr, "de_DE.UTF-8", Language::English},
        {nullptr, nullptr, "dsb_DE.UTF-8", Language::English},
        {nullptr, nullptr, nullptr, Language::English},
    };
    for (const auto& r : rows)
        EXPECT_EQ(LanguageOf(r.all, r.messages, r.lang), r.expected)
            << (r.all ? r.all : "-") << ' ' << (r.messages ? r.messages : "-") << ' '
            << (r.lang ? r.lang : "-");
}

TEST(CommandLine, HelpNamesEveryOptionInBothLanguages) {
    for (Tool tool : {Tool::Lumoretta, Tool::TextView, Tool::StartHelper}) {
        const std::string en = HelpText(tool, Language::English);
        const std::string de = HelpText(tool, Language::German);
        for (const OptionText& o : TextsOf(tool).options) {
            EXPECT_NE(en.find(std::string("  ") + o.name + ' '), std::string::npos) << o.name;
            EXPECT_NE(de.find(std::string("  ") + o.name + ' '), std::string::npos) << o.name;
            const std::string firstLine =
                std::string(o.textDe).substr(0, std::strcspn(o.textDe, "\n"));
            EXPECT_NE(de.find(firstLine), std::string::npos) << o.name;
        }
        for (const std::string& text : {en, de}) {
            std::istringstream lines(text);
            for (std::string line; std::getline(lines, line);) // fits 80 columns
                EXPECT_LE(line.size() - std::count(line.begin(), line.end(), '\xc3'), 80u) << line;
        }
    }
}

} // namespace
} // namespace lumo::cli
