#include "shell/ScreenModes.h"

#include "ui/AppState.h"

namespace lumo {

namespace {

using A = SoftAction;

constexpr SoftButton kHelp{"HILFE", A::Help};
constexpr SoftButton kMainMenu{"HAUPTMENUE", A::MainMenu};
constexpr SoftButton kTextEditor{"TEXT-EDITOR", A::TextEditor};
constexpr SoftButton kEmpty{"", A::None};

const ScreenModeRow kRows[] = {
    {mode::Main,
     {{{"BEARBEITEN", A::NewSlides},
       {"AUSWERTUNG", A::KeySearch},
       {"DIENSTE", A::Preferences},
       kHelp,
       {"FEIERABEND", A::Quit}}},
     1,
     TitleRule::ProgramAndPath},
    {mode::SlideEntry,
     {{{"DIA SICHERN", A::SaveSlide},
       {"KEY EDITOR", A::EditSelectedKeys},
       {"KEY ABLAGE", A::KeyStore},
       kHelp,
       kMainMenu}},
     201,
     TitleRule::SlideEntry},
    {mode::NewKeyword,
     {{{"EBENE <1>", A::NewKeywordLevel1},
       {"EBENE <2>", A::NewKeywordLevel2},
       {"EBENE <3>", A::NewKeywordLevel3},
       kHelp,
       kMainMenu}},
     202,
     TitleRule::Suffix,
     " - Neue Schlüssel eingeben..."},
    {mode::KeySearchSetup,
     {{{"SUCHE DIAS", A::SearchByKeys},
       {"LÖSCHEN", A::DeleteLastKey},
       {"RESET", A::ResetKeys},
       kHelp,
       kMainMenu}},
     301,
     TitleRule::Suffix,
     " - Dias über Schlüssel suchen..."},
    {mode::KeyResults,
     {{kTextEditor, {"NEUE SUCHE", A::KeySearch}, {"", A::NoFunction}, kHelp, kMainMenu}},
     301,
     TitleRule::Unchanged},
    {mode::BoxResults,
     {{kTextEditor, {"NEUE SUCHE", A::BoxNumberSearch}, kEmpty, kHelp, kMainMenu}},
     303,
     TitleRule::Suffix,
     " - Dias über Kastennummer suchen..."},
    {mode::InfoResults,
     {{kTextEditor, {"NEUE SUCHE", A::InfoTextSearch}, kEmpty, kHelp, kMainMenu}},
     302,
     TitleRule::Suffix,
     " - Dias über Informationstext suchen..."},
    {mode::MemoResults,
     {{kTextEditor, {"NEUE SUCHE", A::MemoSearch}, {"MEMO PRINT", A::MemoPrint}, kHelp, kMainMenu}},
     304,
     TitleRule::Suffix,
     " - Dias über Memo suchen..."},
    {mode::HeaderResults,
     {{kTextEditor, {"NEUE SUCHE", A::HeaderDataSearch}, kEmpty, kHelp, kMainMenu}},
     305,
     TitleRule::Suffix,
     " - Dias über Kopfdatenfelder suchen..."},
};

} // namespace

bool PlaysOwnClick(SoftAction action) {
    switch (action) {
    case A::NewSlides:
    case A::KeySearch:
    case A::Preferences:
    case A::InfoTextSearch:
    case A::BoxNumberSearch:
    case A::MemoSearch:
    case A::HeaderDataSearch:
        return true;
    default:
        return false;
    }
}

const ScreenModeRow* FindScreenMode(int mode) {
    for (const ScreenModeRow& row : kRows)
        if (row.mode == mode)
            return &row;
    return nullptr;
}

} // namespace lumo
