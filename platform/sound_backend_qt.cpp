// The sound module: clips through Qt Multimedia.
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "platform/sound_backend.h"

namespace kvt {
namespace {

class EffectClip : public SoundClip {
public:
    EffectClip(const QString& path, std::function<void(State)> changed) : changed_(std::move(changed)) {
        effect_.setSource(QUrl::fromLocalFile(path));
        QObject::connect(&effect_, &QSoundEffect::statusChanged, &effect_, [this] { Begin(); });
        QObject::connect(&effect_, &QSoundEffect::playingChanged, &effect_, [this] {
            if (started_ && !effect_.isPlaying()) changed_(State::Ended);
        });
        Begin();
    }
    ~EffectClip() override { effect_.stop(); }
    void Stop() override { effect_.stop(); }

private:
    void Begin() {
        if (started_ || failed_) return;
        if (effect_.status() == QSoundEffect::Ready) {
            started_ = true;
            effect_.play();
            changed_(State::Playing);
        } else if (effect_.status() == QSoundEffect::Error) {
            failed_ = true;
            changed_(State::Failed);
        }
    }

    QSoundEffect effect_;
    std::function<void(State)> changed_;
    bool started_ = false;
    bool failed_ = false;
};

class MultimediaBackend : public SoundBackend {
public:
    bool HasOutput() const override { return !QMediaDevices::audioOutputs().isEmpty(); }
    std::unique_ptr<SoundClip> Play(const QString& path, std::function<void(SoundClip::State)> changed) override {
        return std::make_unique<EffectClip>(path, std::move(changed));
    }
};

}  // namespace
}  // namespace kvt

extern "C" Q_DECL_EXPORT kvt::SoundBackend* kvt_make_sound_backend() {
    static kvt::MultimediaBackend backend;
    return &backend;
}
