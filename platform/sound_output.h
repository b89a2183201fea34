#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kvt {

class SoundClip;

// The length of a WAV clip in milliseconds, read from its header; nothing
// when the file is missing or is no RIFF/WAVE file with a format and a data
// chunk.
std::optional<int> WavClipLength(const QString& path);

// Plays wave files. A clip ends when it has finished, after its length and
// a margin at the latest, or at once when it is stopped; then its `ended`
// runs. Without an audio device, or with a missing or unreadable file,
// nothing plays and `ended` runs at once; no message is shown.
class SoundOutput : public QObject {
    Q_OBJECT

public:
    explicit SoundOutput(QObject* parent = nullptr);
    ~SoundOutput() override;

    // True when the clip plays (or, muted, takes its time).
    bool Play(const QString& path, std::function<void()> ended = {});

    // Ends every clip that is playing.
    void Stop();
    // Ends only the clips of that file; other clips play on.
    void StopClip(const QString& path);
    bool IsPlaying(const QString& path) const;
    // Muted, a clip is not heard but still lasts its length (no device needed).
    void SetMuted(bool muted) { muted_ = muted; }
    // Stop, and every later clip ends at once (the window is closing).
    void Shutdown();

    // Extra wait allowed beyond a clip's length before giving up on it.
    static constexpr int kMarginMs = 750;

private:
    struct Clip {
        std::uint64_t Id = 0;
        QString Path;
        QTimer GiveUp;
        std::unique_ptr<SoundClip> Sound;  // none while muted
        std::function<void()> Ended;
    };
    void End(std::uint64_t id);
    void StopWhere(const std::function<bool(const Clip&)>& which);

    std::vector<std::unique_ptr<Clip>> clips_;
    std::uint64_t last_id_ = 0;
    bool muted_ = false;
    bool shut_down_ = false;
};

}  // namespace kvt
