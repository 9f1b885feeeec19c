#include "app/CommandLine.h"

#include "app/CommandLineTexts.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <map>

namespace lumo::cli {

namespace {

bool IsGerman(const char* value) {
    const std::string v = value;
    return v.rfind("de", 0) == 0 && (v.size() == 2 || v[2] == '_' || v[2] == '.' || v[2] == '@');
}

// "%1" and "%2" in pattern replaced by a and b.
std::string Fill(std::string pattern, const std::string& a, const std::string& b = {}) {
    for (const auto& [mark, value] : {std::pair{"%1", &a}, std::pair{"%2", &b}}) {
        const size_t at = pattern.find(mark);
        if (at != std::string::npos)
            pattern.replace(at, 2, *value);
    }
    return pattern;
}

Command Wrong(std::string error) {
    return Command{Action::Wrong, {}, std::move(error)};
}

const OptionText* Find(const ToolTexts& texts, const std::string& name) {
    for (const OptionText& o : texts.options)
        if (name == o.name)
            return &o;
    return nullptr;
}

bool IsSlideNumber(const std::string& s) {
    int n = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    return ec == std::errc() && end == s.data() + s.size() && n >= 1 && s.front() != '+';
}

} // namespace

Language LanguageOf(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* v : {lcAll, lcMessages, lang})
        if (v && *v)
            return IsGerman(v) ? Language::German : Language::English;
    return Language::English;
}

Language EnvironmentLanguage() {
    return LanguageOf(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

Command Parse(Tool tool, const std::vector<std::string>& args, Language language) {
    const ToolTexts& texts = TextsOf(tool);
    const ErrorTexts& say = ErrorsIn(language);
    const OptionText* chosen = nullptr; // the command option given, if any
    std::vector<std::string> commandArgs;
    std::map<const OptionText*, std::vector<std::string>> refinements; // the last one counts
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
            continue;
        }
        if (arg == "--" && texts.takesFile) {
            optionsEnded = true;
            continue;
        }
        const OptionText* option = Find(texts, arg);
        if (!option)
            return Wrong(Fill(say.unknownOption, arg));
        if (option->action == Action::Help || option->action == Action::Version)
            return Command{option->action, {}, {}};
        // An option's arguments are taken as they stand, even when they begin with '-'.
        const size_t available = args.size() - i - 1;
        if (!option->optionalArgument && available < size_t(option->arguments))
            return Wrong(Fill(say.missingArgument, arg,
                              language == Language::German ? option->argDe : option->argEn));
        size_t taken = std::min(available, size_t(option->arguments));
        // "--maximized -- FILE" (as the program starts its editor): the "--" ends the
        // options and is no value of the optional argument.
        if (option->optionalArgument && taken > 0 && args[i + 1] == "--")
            taken = 0;
        std::vector<std::string> values(args.begin() + long(i) + 1,
                                        args.begin() + long(i + taken) + 1);
        i += taken;
        if (option->slideNumber && !IsSlideNumber(values.front()))
            return Wrong(Fill(say.badNumber, values.front(), arg));
        if (option->refines) {
            refinements[option] = std::move(values);
        } else if (option->action == Action::Run) { // lumo_textview --maximized [FILE]
            files.insert(files.end(), values.begin(), values.end());
        } else if (chosen) {
            return Wrong(Fill(say.twoCommands, chosen->name, arg));
        } else {
            chosen = option;
            commandArgs = std::move(values);
        }
    }
    // A refinement follows its command's arguments, in the order the help lists them.
    for (const OptionText& o : texts.options) {
        const auto given = refinements.find(&o);
        if (given == refinements.end())
            continue;
        if (!chosen || std::string(chosen->name) != o.refines)
            return Wrong(Fill(say.belongsTo, o.name, o.refines));
        commandArgs.push_back(o.name);
        commandArgs.insert(commandArgs.end(), given->second.begin(), given->second.end());
    }
    const size_t allowedFiles = texts.takesFile && !chosen ? 1 : 0;
    if (files.size() > allowedFiles)
        return Wrong(Fill(say.unexpectedArgument, files[allowedFiles]));
    if (!chosen)
        return Command{Action::Run, files, {}};
    return Command{chosen->action, commandArgs, {}};
}

const char* ToolName(Tool tool) {
    return TextsOf(tool).program;
}

std::string HelpText(Tool tool, Language language) {
    const ToolTexts& texts = TextsOf(tool);
    const bool german = language == Language::German;
    std::string out = german ? texts.usageDe : texts.usageEn;
    out += '\n';
    out += german ? texts.aboutDe : texts.aboutEn;
    out += german ? "\n\nOptionen:\n" : "\n\nOptions:\n";
    constexpr size_t kTextColumn = 30;
    for (const OptionText& o : texts.options) {
        std::string label = std::string(o.refines ? "    " : "  ") + o.name;
        const char* argument = german ? o.argDe : o.argEn;
        if (*argument)
            label += std::string(" ") + (o.optionalArgument ? "[" : "") + argument +
                     (o.optionalArgument ? "]" : "");
        const std::string indent(kTextColumn, ' ');
        out += label;
        if (label.size() + 2 > kTextColumn)
            out += '\n' + indent;
        else
            out += std::string(kTextColumn - label.size(), ' ');
        for (const char* c = german ? o.textDe : o.textEn; *c; ++c) {
            out += *c;
            if (*c == '\n')
                out += indent;
        }
        out += '\n';
    }
    return out;
}

std::string VersionText(Tool tool) {
    return std::string(ToolName(tool)) + " (Lumoretta) " + LUMO_VERSION + "\n";
}

std::optional<int> AnswerDirectly(Tool tool, const Command& command, Language language,
                                  std::ostream& out, std::ostream& err) {
    switch (command.action) {
    case Action::Help:
        out << HelpText(tool, language);
        return 0;
    case Action::Version:
        out << VersionText(tool);
        return 0;
    case Action::Wrong:
        err << ToolName(tool) << ": " << command.error
            << Fill(ErrorsIn(language).seeHelp, ToolName(tool)) << '\n';
        return 2;
    default:
        return std::nullopt;
    }
}

Call ReadCall(Tool tool, int argc, char** argv) {
    const Language language = EnvironmentLanguage();
    Command command = Parse(tool, std::vector<std::string>(argv + 1, argv + argc), language);
    const auto status = AnswerDirectly(tool, command, language, std::cout, std::cerr);
    return Call{language, std::move(command), status};
}

} // namespace lumo::cli
