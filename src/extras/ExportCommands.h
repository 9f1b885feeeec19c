#pragma once
// The exports from a terminal, without a window, in the archive directory the program is
// started in: `lumoretta --export-csv FILE` and `lumoretta --export-xmp`. They take the
// archive lock as the program does, print one line per item and a summary, and return
// the exit status (0 done, 1 failed, 2 wrong arguments). No QApplication is needed.
#include <ostream>
#include <string>
#include <vector>

namespace lumo {

// args: what follows --export-csv (the file to write).
int RunCsvExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// args: what follows --export-xmp (nothing).
int RunXmpExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace lumo
