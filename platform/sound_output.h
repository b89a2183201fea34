#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

class QEventLoop;

namespace kvt {

// The length of a WAV clip in milliseconds, read from its header; nothing
// when the file is missing or is no RIFF/WAVE file with a format and a data
// chunk.
std::optional<int> WavClipLength(const QString& path);

// Plays wave files to their end. The caller waits in a local event loop, so
// the windows keep painting while a clip plays; the wait ends when the clip
// has finished, after the clip's length and a margin at the latest, or at
// once when Stop is called. Without an audio device, or with a missing or
// unreadable file, nothing plays and nothing waits; no message is shown.
class SoundOutput : public QObject {
    Q_OBJECT

public:
    explicit SoundOutput(QObject* parent = nullptr);
    ~SoundOutput() override;

    // True when a clip actually played (or was cut short by Stop).
    bool PlayToEnd(const QString& path);

    // Ends every clip that is playing; each waiting PlayToEnd returns.
    void Stop();
    // Ends only the clips of that file; other clips play on.
    void StopClip(const QString& path);
    bool IsPlaying(const QString& path) const;
    // Muted, a clip is not heard but still lasts its length (no device needed).
    void SetMuted(bool muted) { muted_ = muted; }
    // Stop, and every later PlayToEnd returns at once (the window is closing).
    void Shutdown();
    bool IsShutDown() const { return shut_down_; }

    // Extra wait allowed beyond a clip's length before giving up on it.
    static constexpr int kMarginMs = 750;

private:
    struct Wait {
        QEventLoop* Loop;
        QString Path;
    };
    std::vector<Wait> waits_;
    bool muted_ = false;
    bool shut_down_ = false;
};

}  // namespace kvt
