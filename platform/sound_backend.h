#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace kvt {

// One clip on the sound device.
class SoundClip {
public:
    enum class State { Playing, Ended, Failed };
    virtual ~SoundClip() = default;
    virtual void Stop() = 0;
};

// The sound device. Qt Multimedia and the audio libraries behind it are
// many and slow to load, so they live in a module of their own that the
// table opens when the first clip plays, after its first paint.
class SoundBackend {
public:
    virtual ~SoundBackend() = default;
    virtual bool HasOutput() const = 0;
    // Starts the clip once it is loaded; `changed` hears it start, end or fail.
    virtual std::unique_ptr<SoundClip> Play(const QString& path, std::function<void(SoundClip::State)> changed) = 0;
};

// The module's backend, opened on the first call; null when the module is
// missing or broken (then nothing is heard, as without a device).
SoundBackend* OpenSoundBackend();

}  // namespace kvt

// What the module exports.
extern "C" kvt::SoundBackend* kvt_make_sound_backend();
