#include "platform/ArchivePixmap.h"

#include "store/FileUtil.h"

namespace lumo {

bool LoadPixmap(const std::filesystem::path& path, QPixmap& pixmap) {
    const auto bytes = ReadWholeFile(path);
    QPixmap loaded;
    if (!bytes || !loaded.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                                       static_cast<uint>(bytes->size())))
        return false;
    pixmap = loaded;
    return true;
}

} // namespace lumo
