#pragma once
// Sound cues (sounds/<name>.wav of the archive) and the event-serving wait.

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QSoundEffect;

namespace lumo {

class Archive;
struct Settings;

class SoundCue : public QObject {
    Q_OBJECT
public:
    // Cues come from the archive's sounds/ and play only while settings.sound is on.
    SoundCue(const Archive& archive, const Settings& settings, QObject* parent = nullptr);
    ~SoundCue() override;

    // With sound on: start the cue (a new cue stops the one playing; a file that cannot
    // be loaded gives the desktop beep) and Delay(pauseMs). With sound off: nothing at all.
    void PlaySoundCue(const QString& name, int pauseMs);
    void PlayClick() { PlaySoundCue(QStringLiteral("hotclik"), 180); }
    // Serves window events until ms milliseconds have passed, without spinning a core.
    void Delay(int ms);

    // Test seam: no audio output, waits return at once, cues are recorded.
    void setTestMode(bool on) { testMode_ = on; }
    bool testMode() const { return testMode_; }
    const QStringList& played() const { return played_; }
    int delayedMs() const { return delayedMs_; }
    // Cues whose wave file was missing (the desktop beep instead).
    int beeps() const { return beeps_; }
    void clearRecord() {
        played_.clear();
        delayedMs_ = 0;
        beeps_ = 0;
    }
    // The wave file of a cue in the open archive (found without regard to case).
    QString CueFile(const QString& name) const;

private:
    const Archive& archive_;
    const Settings& settings_;
    bool testMode_ = false;
    QStringList played_;
    int delayedMs_ = 0;
    int beeps_ = 0;
    std::unique_ptr<QSoundEffect> effect_;
};

} // namespace lumo
