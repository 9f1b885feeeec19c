#include "platform/Sound.h"

#include "store/Archive.h"
#include "store/FileUtil.h"
#include "store/Settings.h"

#include <QApplication>
#include <QEventLoop>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace lumo {

SoundCue::SoundCue(const Archive& archive, const Settings& settings, QObject* parent)
    : QObject(parent), archive_(archive), settings_(settings) {}

SoundCue::~SoundCue() = default;

QString SoundCue::CueFile(const QString& name) const {
    // Cue names are plain ASCII; the path is taken from the archive open at this moment.
    const std::string bare = "sounds/" + name.toStdString() + ".wav";
    return QString::fromStdString(archive_.resolve(bare).string());
}

void SoundCue::PlaySoundCue(const QString& name, int pauseMs) {
    if (!settings_.sound)
        return;
    const QString file = CueFile(name);
    const bool present = IsReadableFile(file.toStdString());
    if (testMode_) {
        played_.append(name);
        if (!present)
            ++beeps_;
    } else if (!present) {
        QApplication::beep();
    } else {
        if (!effect_) {
            effect_ = std::make_unique<QSoundEffect>();
            // A file the decoder refuses gives the beep, like a missing one.
            connect(effect_.get(), &QSoundEffect::statusChanged, this, [this] {
                if (effect_->status() == QSoundEffect::Error)
                    QApplication::beep();
            });
        }
        effect_->stop(); // a new cue cuts off the one still playing
        effect_->setSource(QUrl::fromLocalFile(file));
        effect_->play();
    }
    Delay(pauseMs);
}

void SoundCue::Delay(int ms) {
    if (ms <= 0)
        return;
    if (testMode_) {
        delayedMs_ += ms;
        return;
    }
    // A local loop serves window events until the timer fires; it sleeps in between.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace lumo
