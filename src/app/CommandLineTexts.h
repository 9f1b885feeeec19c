#pragma once
// The options of each program and every text the command line shows, in English and
// German. The parser, the help and the manual pages (made from the help) all read them
// here, so an option is described in one place.
#include "app/CommandLine.h"

#include <vector>

namespace lumo::cli {

struct OptionText {
    const char* name;
    int arguments = 0;      // how many arguments follow the option
    const char* argEn = ""; // their names in the help
    const char* argDe = "";
    bool optionalArgument = false; // the arguments may be left out
    Action action = Action::Run;   // Run: opens the window (or refines a command)
    const char* refines = nullptr; // the command option this one belongs to
    bool slideNumber = false;      // the argument is a slide number (1 or more)
    const char* textEn = "";
    const char* textDe = "";
};

struct ToolTexts {
    const char* program;
    const char* usageEn;
    const char* usageDe;
    const char* aboutEn;
    const char* aboutDe;
    bool takesFile; // one file name besides the options
    std::vector<OptionText> options;
};

struct ErrorTexts {
    const char* unknownOption;      // %1 option
    const char* missingArgument;    // %1 option, %2 its argument names
    const char* badNumber;          // %1 value, %2 option
    const char* belongsTo;          // %1 option, %2 the command it refines
    const char* twoCommands;        // %1, %2 the two commands
    const char* unexpectedArgument; // %1 argument
    const char* seeHelp;            // %1 program
};

const ToolTexts& TextsOf(Tool tool);
const ErrorTexts& ErrorsIn(Language language);

} // namespace lumo::cli
