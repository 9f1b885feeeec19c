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
    Args expected; // the command's arguments, or for Wrong the error line
};

TEST(CommandLine, EveryOptionAndEveryWrongCall) {
    const std::string folder = "/scans";
    const Case cases[] = {
        {Tool::Lumoretta, {}, Action::Run, {}},
        {Tool::Lumoretta, {"--help"}, Action::Help, {}},
        {Tool::Lumoretta, {"--export-csv", "a.csv", "--version"}, Action::Version, {}},
        {Tool::Lumoretta, {"--import-pictures", folder}, Action::ImportPictures, {folder}},
        // Refinements come after the folder in a fixed order, wherever they were given.
        {Tool::Lumoretta,
         {"--replace", "--import-pictures", folder, "--first", "7"},
         Action::ImportPictures,
         {folder, "--first", "7", "--replace"}},
        {Tool::Lumoretta, {"--export-csv", "-a.csv"}, Action::ExportCsv, {"-a.csv"}},
        {Tool::Lumoretta, {"--export-xmp"}, Action::ExportXmp, {}},
        {Tool::TextView, {"dialiste.txt"}, Action::Run, {"dialiste.txt"}},
        {Tool::TextView, {"--maximized", "-x.txt"}, Action::Run, {"-x.txt"}},
        {Tool::TextView, {"--maximized"}, Action::Run, {}},
        {Tool::TextView, {"--maximized", "--", "-x.txt"}, Action::Run, {"-x.txt"}},
        {Tool::TextView, {"--", "--help"}, Action::Run, {"--help"}},
        {Tool::TextView, {"--pdf", "o.pdf", "in.txt"}, Action::WritePdf, {"o.pdf", "in.txt"}},
        {Tool::StartHelper, {"--version"}, Action::Version, {}},
        {Tool::Lumoretta,
         {"-platform", "xcb"},
         Action::Wrong,
         {"lumoretta: unknown option '-platform' (see 'lumoretta --help')\n"}},
        {Tool::Lumoretta,
         {"archiv"},
         Action::Wrong,
         {"lumoretta: unexpected argument 'archiv' (see 'lumoretta --help')\n"}},
        {Tool::Lumoretta,
         {"--import-pictures"},
         Action::Wrong,
         {"lumoretta: option '--import-pictures' needs FOLDER (see 'lumoretta --help')\n"}},
        {Tool::Lumoretta,
         {"--import-pictures", folder, "--first", "0"},
         Action::Wrong,
         {"lumoretta: '0' after --first is not a slide number (1 or more) (see 'lumoretta "
          "--help')\n"}},
        {Tool::Lumoretta,
         {"--first", "3x", "--import-pictures", folder},
         Action::Wrong,
         {"lumoretta: '3x' after --first is not a slide number (1 or more) (see 'lumoretta "
          "--help')\n"}},
        {Tool::Lumoretta,
         {"--export-xmp", "--replace"},
         Action::Wrong,
         {"lumoretta: option '--replace' belongs to '--import-pictures' (see 'lumoretta "
          "--help')\n"}},
        {Tool::Lumoretta,
         {"--export-xmp", "--export-csv", "a.csv"},
         Action::Wrong,
         {"lumoretta: one command at a time: '--export-xmp' and '--export-csv' (see "
          "'lumoretta --help')\n"}},
        {Tool::TextView,
         {"a.txt", "b.txt"},
         Action::Wrong,
         {"lumo_textview: unexpected argument 'b.txt' (see 'lumo_textview --help')\n"}},
        {Tool::TextView,
         {"--pdf", "o.pdf"},
         Action::Wrong,
         {"lumo_textview: option '--pdf' needs OUT FILE (see 'lumo_textview --help')\n"}},
        {Tool::StartHelper,
         {"--maximized"},
         Action::Wrong,
         {"lumoretta-start: unknown option '--maximized' (see 'lumoretta-start --help')\n"}},
        {Tool::StartHelper,
         {"--"},
         Action::Wrong,
         {"lumoretta-start: unknown option '--' (see 'lumoretta-start --help')\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Command command = Parse(c.tool, c.args, Language::English);
        EXPECT_EQ(command.action, c.action);
        std::ostringstream out, err;
        const auto status = AnswerDirectly(c.tool, command, Language::English, out, err);
        if (c.action == Action::Wrong) {
            EXPECT_EQ(status, 2);
            EXPECT_EQ(out.str(), "");
            EXPECT_EQ(Args{err.str()}, c.expected);
        } else {
            EXPECT_EQ(command.args, c.expected);
            EXPECT_EQ(err.str(), "");
            EXPECT_EQ(status.has_value(), c.action == Action::Help || c.action == Action::Version);
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
