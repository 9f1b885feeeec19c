#pragma once
// The screen modes of the main window as data: per mode the captions of the five soft
// buttons, what each of them does, the help topic of HILFE and the window title.
#include <array>

namespace lumo {

enum class SoftAction {
    None, // an empty caption: the click only
    NewSlides,
    KeySearch,
    Preferences,
    Help, // the help topic of the mode
    Quit,
    MainMenu,
    SaveSlide,
    EditSelectedKeys,
    KeyStore,
    NewKeywordLevel1,
    NewKeywordLevel2,
    NewKeywordLevel3,
    SearchByKeys,
    DeleteLastKey,
    ResetKeys,
    TextEditor,
    InfoTextSearch,
    BoxNumberSearch,
    MemoSearch,
    HeaderDataSearch,
    NoFunction, // "Funktion nicht vorhanden"
    MemoPrint,
};

// The actions that play the click themselves; a soft button plays it for all others.
bool PlaysOwnClick(SoftAction action);

enum class TitleRule {
    Unchanged,
    ProgramAndPath, // program title and the archive path
    SlideEntry,     // " - Neues Dia eingeben..." or " - Dia editieren..."
    Suffix,         // program title + suffix
};

struct SoftButton {
    const char* caption; // UTF-8
    SoftAction action;
};

struct ScreenModeRow {
    int mode;
    std::array<SoftButton, 5> buttons;
    int helpTopic;
    TitleRule title;
    const char* suffix = nullptr; // UTF-8, for TitleRule::Suffix
};

// The row of a screen mode; nullptr for a mode without soft-button captions (mode::Busy).
const ScreenModeRow* FindScreenMode(int mode);

} // namespace lumo
