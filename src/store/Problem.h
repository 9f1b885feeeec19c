#pragma once
// What a store operation reports instead of showing a window: the shell turns a
// Problem into the program's own message (the store knows no texts of the screen).
#include <string>

namespace lumo {

enum class ProblemKind {
    None,
    SlidesOpenFailed,  // ReadSlide: "Lumoretta kann seine Daten nicht lokalisieren !" (error box)
    ArchiveOpenFailed, // AnalyseArchive: "System-Fehler 001 ... Archiv DIAS.DDB ..." (error box)
    Error31,           // ShowError(31): dias.ddb / kopfdata.ddb cannot be opened
    KeywordOpenFailed, // ReadSlide: "System-Fehler 002 ... Datei KEYWORD<level> ..." (error box)
    KeywordNoMemory,   // ReadSlide: "System-Fehler 003 ... KEYWORD<level> ..." (error box)
    Io,                // general "I/O-Fehler " + sysError
};

struct Problem {
    ProblemKind kind = ProblemKind::None;
    int sysError = 0; // system error number (SystemErrorNumber) where it applies
    int level = 0;    // keyword level 1..3 for the keyword kinds

    explicit operator bool() const { return kind != ProblemKind::None; }
    static Problem io(int sysError) { return {ProblemKind::Io, sysError, 0}; }
};

} // namespace lumo
