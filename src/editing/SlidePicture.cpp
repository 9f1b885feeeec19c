#include "editing/SlidePicture.h"

#include "platform/ArchivePixmap.h"
#include "platform/Cp1252.h"
#include "store/Archive.h"

namespace lumo {

namespace {
bool TryLoad(const Archive& archive, const QString& bareName, SlidePicture& picture) {
    QPixmap pixmap;
    if (!LoadPixmap(archive.resolve(ToCp1252Lossy(bareName)), pixmap))
        return false;
    picture.pixmap = pixmap;
    picture.file = bareName;
    return true;
}
} // namespace

SlidePicture LoadSlidePicture(const Archive& archive, const QString& number) {
    SlidePicture picture;
    if (!TryLoad(archive, QStringLiteral("bilder/") + number + QStringLiteral(".bmp"), picture))
        TryLoad(archive, QStringLiteral("bilder/autor.bmp"), picture);
    return picture;
}

} // namespace lumo
