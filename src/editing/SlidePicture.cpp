#include "editing/SlidePicture.h"

#include "platform/Cp1252.h"
#include "store/Archive.h"

#include <QFile>

namespace lumo {

namespace {
bool TryLoad(const Archive& archive, const QString& bareName, SlidePicture& picture) {
    const auto path = archive.resolve(ToCp1252Lossy(bareName));
    const QString file = QString::fromStdString(path.string());
    if (!QFile::exists(file))
        return false;
    QPixmap pixmap;
    if (!pixmap.load(file))
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
