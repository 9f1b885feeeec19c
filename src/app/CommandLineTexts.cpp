#include "app/CommandLineTexts.h"

namespace lumo::cli {

namespace {

// The text column of the help starts at 30: option texts break their lines at 50
// characters so the help fits a terminal of 80 columns.
const OptionText kHelp{.name = "--help",
                       .action = Action::Help,
                       .textEn = "show this help and exit",
                       .textDe = "zeigt diese Hilfe und endet"};
const OptionText kVersion{.name = "--version",
                          .action = Action::Version,
                          .textEn = "show the version and exit",
                          .textDe = "zeigt die Version und endet"};

const ToolTexts kLumoretta{
    .program = "lumoretta",
    .usageEn = "Usage: lumoretta\n"
               "  or:  lumoretta --import-pictures FOLDER [--first N] [--replace]\n"
               "  or:  lumoretta --export-csv FILE\n"
               "  or:  lumoretta --export-xmp\n",
    .usageDe = "Aufruf: lumoretta\n"
               "  oder: lumoretta --import-pictures ORDNER [--first N] [--replace]\n"
               "  oder: lumoretta --export-csv DATEI\n"
               "  oder: lumoretta --export-xmp\n",
    .aboutEn = "Catalogue a private collection of photographic slides. The archive is the\n"
               "current directory: without an option Lumoretta opens it in its window (the\n"
               "user interface is German); the commands below work on it without a window,\n"
               "print one line per item and a summary, and take the archive's lock as the\n"
               "program does.",
    .aboutDe = "Verwaltet eine private Diasammlung. Das Archiv ist das aktuelle Verzeichnis:\n"
               "ohne Option öffnet Lumoretta es in seinem Fenster; die Befehle unten arbeiten\n"
               "ohne Fenster darauf, schreiben eine Zeile je Eintrag und eine Zusammenfassung\n"
               "und sperren das Archiv wie das Programm.",
    .takesFile = false,
    .options = {
        {.name = "--import-pictures",
         .arguments = 1,
         .argEn = "FOLDER",
         .argDe = "ORDNER",
         .action = Action::ImportPictures,
         .textEn = "import the scans in FOLDER as the pictures\n"
                   "bilder/<n>.jpg and bilder/<n>.bmp of the\n"
                   "archive; the number in a file's name is its\n"
                   "slide number",
         .textDe = "übernimmt die Scans aus ORDNER als Bilder\n"
                   "bilder/<n>.jpg und bilder/<n>.bmp des Archivs;\n"
                   "die Zahl im Dateinamen ist die Dianummer"},
        {.name = "--first",
         .arguments = 1,
         .argEn = "N",
         .argDe = "N",
         .refines = "--import-pictures",
         .slideNumber = true,
         .textEn = "with it: number the scans in name order from\n"
                   "slide N on",
         .textDe = "dazu: nummeriert die Scans in Namensfolge ab\n"
                   "Dia N"},
        {.name = "--replace",
         .refines = "--import-pictures",
         .textEn = "with it: replace pictures that are there already",
         .textDe = "dazu: ersetzt Bilder, die schon da sind"},
        {.name = "--export-csv",
         .arguments = 1,
         .argEn = "FILE",
         .argDe = "DATEI",
         .action = Action::ExportCsv,
         .textEn = "write the catalogue to FILE as a table for\n"
                   "spreadsheets (UTF-8, fields separated by ';')",
         .textDe = "schreibt den Katalog als Tabelle für\n"
                   "Tabellenkalkulationen in DATEI (UTF-8, Felder\n"
                   "durch ';' getrennt)"},
        {.name = "--export-xmp",
         .action = Action::ExportXmp,
         .textEn = "write the keywords of every slide with a picture\n"
                   "to the sidecar bilder/<n>.jpg.xmp that photo\n"
                   "managers read",
         .textDe = "schreibt die Schlüssel jedes Dias mit Bild in\n"
                   "die Begleitdatei bilder/<n>.jpg.xmp, die\n"
                   "Bildverwaltungen lesen"},
        kHelp,
        kVersion,
    }};

const ToolTexts kTextView{
    .program = "lumo_textview",
    .usageEn = "Usage: lumo_textview [--maximized] FILE\n"
               "  or:  lumo_textview --pdf OUT FILE\n",
    .usageDe = "Aufruf: lumo_textview [--maximized] DATEI\n"
               "  oder: lumo_textview --pdf PDF DATEI\n",
    .aboutEn = "Lumoretta's text editor for the archive's files in code page 1252 (reports,\n"
               "DIA.INI, memos): shows FILE in a maximised window, saves it in code page 1252\n"
               "with the line ends it had, prints it and exports it as PDF. A FILE that does\n"
               "not exist yet is a new, empty one. Its name is found in its directory without\n"
               "regard to case.",
    .aboutDe = "Lumorettas Texteditor für die Dateien des Archivs in Codepage 1252 (Listen,\n"
               "DIA.INI, Memos): zeigt DATEI in einem maximierten Fenster, speichert sie in\n"
               "Codepage 1252 mit ihren Zeilenenden, druckt sie und exportiert sie als PDF.\n"
               "Eine DATEI, die es noch nicht gibt, ist neu und leer. Ihr Name wird in ihrem\n"
               "Verzeichnis ohne Rücksicht auf Groß- und Kleinschreibung gefunden.",
    .takesFile = true,
    .options = {
        {.name = "--pdf",
         .arguments = 2,
         .argEn = "OUT FILE",
         .argDe = "PDF DATEI",
         .action = Action::WritePdf,
         .textEn = "write FILE as the PDF file OUT, without a window",
         .textDe = "schreibt DATEI als PDF-Datei PDF, ohne Fenster"},
        {.name = "--maximized",
         .arguments = 1,
         .argEn = "FILE",
         .argDe = "DATEI",
         .optionalArgument = true,
         .textEn = "open FILE (the window opens maximised in any\n"
                   "case); the name is taken as it stands, even when\n"
                   "it begins with '-'",
         .textDe = "öffnet DATEI (das Fenster ist ohnehin\n"
                   "maximiert); der Name gilt, wie er ist, auch wenn\n"
                   "er mit '-' beginnt"},
        {.name = "--",
         .textEn = "end of the options: the next argument is FILE",
         .textDe = "Ende der Optionen: das nächste Argument ist DATEI"},
        kHelp,
        kVersion,
    }};

const ToolTexts kStartHelper{
    .program = "lumoretta-start",
    .usageEn = "Usage: lumoretta-start\n",
    .usageDe = "Aufruf: lumoretta-start\n",
    .aboutEn = "Start Lumoretta from the desktop's menu. Lumoretta works in the directory it is\n"
               "started in; lumoretta-start changes into the archive used last and starts\n"
               "lumoretta there. On the first start it copies the installed template to a new\n"
               "archive Lumoretta-Archiv in the documents directory (an existing directory of\n"
               "that name is never written into). When the archive used last cannot be reached\n"
               "(a removed stick, say), it says so and starts with the one in the documents\n"
               "directory.",
    .aboutDe = "Startet Lumoretta aus dem Menü des Desktops. Lumoretta arbeitet in dem\n"
               "Verzeichnis, in dem es gestartet wird; lumoretta-start wechselt in das zuletzt\n"
               "benutzte Archiv und startet dort lumoretta. Beim ersten Start kopiert es die\n"
               "installierte Vorlage in ein neues Archiv Lumoretta-Archiv im Dokumente-Ordner\n"
               "(ein vorhandenes Verzeichnis dieses Namens bleibt unberührt). Ist das zuletzt\n"
               "benutzte Archiv nicht erreichbar (etwa ein abgezogener USB-Stick), sagt es das\n"
               "und startet mit dem Archiv im Dokumente-Ordner.",
    .takesFile = false,
    .options = {kHelp, kVersion}};

const ErrorTexts kEnglish{
    .unknownOption = "unknown option '%1'",
    .missingArgument = "option '%1' needs %2",
    .badNumber = "'%1' after %2 is not a slide number (1 or more)",
    .belongsTo = "option '%1' belongs to '%2'",
    .twoCommands = "one command at a time: '%1' and '%2'",
    .unexpectedArgument = "unexpected argument '%1'",
    .seeHelp = " (see '%1 --help')",
};

const ErrorTexts kGerman{
    .unknownOption = "unbekannte Option „%1“",
    .missingArgument = "Option „%1“ braucht %2",
    .badNumber = "„%1“ nach %2 ist keine Dianummer (1 oder mehr)",
    .belongsTo = "Option „%1“ gehört zu „%2“",
    .twoCommands = "nur ein Befehl auf einmal: „%1“ und „%2“",
    .unexpectedArgument = "unerwartetes Argument „%1“",
    .seeHelp = " (siehe „%1 --help“)",
};

} // namespace

const ToolTexts& TextsOf(Tool tool) {
    switch (tool) {
    case Tool::TextView:
        return kTextView;
    case Tool::StartHelper:
        return kStartHelper;
    case Tool::Lumoretta:
        break;
    }
    return kLumoretta;
}

const ErrorTexts& ErrorsIn(Language language) {
    return language == Language::German ? kGerman : kEnglish;
}

} // namespace lumo::cli
