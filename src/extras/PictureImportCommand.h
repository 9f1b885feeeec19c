#pragma once
// lumoretta --import-pictures FOLDER [--first N] [--replace]: the scans of a folder into
// the archive in the current directory, without a window. One line per file, a summary;
// exit status 0 when every file went in (or was kept on purpose), 1 when any failed,
// 2 for a wrong call.
#include <ostream>
#include <string>
#include <vector>

namespace lumo {

// args: the arguments after the program's name, "--import-pictures" among them.
int RunPictureImportCommand(const std::vector<std::string>& args, std::ostream& out,
                            std::ostream& err);

} // namespace lumo
