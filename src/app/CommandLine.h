#pragma once
// The command line of Lumoretta's three programs (lumoretta, lumo_textview,
// lumoretta-start), read before any window exists: the options, their help in German or
// English, and the one-line answer to a wrong call. No Qt, so it works without a display.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lumo::cli {

enum class Tool { Lumoretta, TextView, StartHelper };
enum class Language { German, English };

// What a call asks for.
enum class Action {
    Run,            // the window; for lumo_textview args holds the one file
    Help,           // --help
    Version,        // --version
    ImportPictures, // args: FOLDER, then "--first" N when given, then "--replace" when given
    ExportCsv,      // args: FILE
    ExportXmp,      // no args
    WritePdf,       // lumo_textview --pdf: args OUT, IN
    Wrong,          // error holds what is wrong, one line without the program's name
};

struct Command {
    Action action = Action::Run;
    std::vector<std::string> args;
    std::string error;
};

// The language of the messages: the first set one of LC_ALL, LC_MESSAGES and LANG decides,
// German when it names German (de, de_DE.UTF-8, de_AT@euro, ...), English otherwise.
Language LanguageOf(const char* lcAll, const char* lcMessages, const char* lang);
Language EnvironmentLanguage();

// args: the arguments after the program's name.
Command Parse(Tool tool, const std::vector<std::string>& args, Language language);

const char* ToolName(Tool tool);
std::string HelpText(Tool tool, Language language);
std::string VersionText(Tool tool);

// Answers --help and --version on out and a wrong call with one line on err, and gives
// the exit status (0, or 2 for a wrong call); nullopt for the other actions.
std::optional<int> AnswerDirectly(Tool tool, const Command& command, Language language,
                                  std::ostream& out, std::ostream& err);

// A program's call: read in the environment's language; help, version and a wrong call are
// answered on std::cout and std::cerr at once and exitStatus is set.
struct Call {
    Language language;
    Command command;
    std::optional<int> exitStatus;
};
Call ReadCall(Tool tool, int argc, char** argv);

} // namespace lumo::cli
