#pragma once
// The small picture of a slide: bilder/<n>.bmp of the archive, else bilder/autor.bmp.
#include <QPixmap>
#include <QString>

namespace lumo {

class Archive;

struct SlidePicture {
    QPixmap pixmap; // null when neither file could be loaded
    QString file;   // bare archive name of the loaded file ("bilder/12.bmp"), or empty
};

// `number` is the slide number as text, exactly as given ("07" looks for bilder/07.bmp).
SlidePicture LoadSlidePicture(const Archive& archive, const QString& number);

} // namespace lumo
