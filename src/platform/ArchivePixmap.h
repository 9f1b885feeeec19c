#pragma once
// Pictures of the archive, read through the file layer (a picture that is a FIFO, a device
// or a link out of the archive is no picture).
#include <QPixmap>

#include <filesystem>

namespace lumo {

// Loads the picture at `path`; false (pixmap unchanged) when it cannot be read or decoded.
bool LoadPixmap(const std::filesystem::path& path, QPixmap& pixmap);

} // namespace lumo
