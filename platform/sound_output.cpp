#include "platform/sound_output.h"

#include "platform/sound_backend.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "platform/files.h"

namespace kvt {
namespace {

quint32 Le32(const char* p) { return qFromLittleEndian<quint32>(p); }
quint16 Le16(const char* p) { return qFromLittleEndian<quint16>(p); }

bool SkipBytes(QFile& file, qint64 n) { return n == 0 || file.skip(n) == n; }

}  // namespace

std::optional<int> WavClipLength(const QString& path) {
    // A FIFO or device would hold the open; only regular files are read.
    if (!CheckRegularFile(QFile::encodeName(path).toStdString())) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    char head[12];
    if (file.read(head, 12) != 12) return std::nullopt;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return std::nullopt;
    quint32 byte_rate = 0;
    quint16 format = 0;
    std::optional<quint32> data_size;
    while (!data_size) {
        char chunk[8];
        if (file.read(chunk, 8) != 8) break;
        const quint32 size = Le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16) return std::nullopt;
            char fmt[16];
            if (file.read(fmt, 16) != 16) return std::nullopt;
            format = Le16(fmt);
            byte_rate = Le32(fmt + 8);
            if (!SkipBytes(file, static_cast<qint64>(size) - 16 + (size & 1))) return std::nullopt;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            data_size = size;
        } else if (!SkipBytes(file, static_cast<qint64>(size) + (size & 1))) {
            break;
        }
    }
    // Only plain PCM (1) and float (3) samples can be played here.
    if (!data_size || byte_rate == 0 || (format != 1 && format != 3)) return std::nullopt;
    const quint64 available = static_cast<quint64>(std::max<qint64>(0, file.size() - file.pos()));
    const quint64 bytes = std::min<quint64>(*data_size, available);
    return static_cast<int>(std::min<quint64>(bytes * 1000 / byte_rate, 24ull * 3600 * 1000));
}

SoundOutput::SoundOutput(QObject* parent) : QObject(parent) {}

SoundOutput::~SoundOutput() { Shutdown(); }

bool SoundOutput::PlayToEnd(const QString& path) {
    if (shut_down_) return false;
    const std::optional<int> length = WavClipLength(path);
    if (!length) return false;
    SoundBackend* const device = muted_ ? nullptr : OpenSoundBackend();
    if (!muted_ && (!device || !device->HasOutput())) return false;

    QEventLoop wait;
    bool started = false;
    bool failed = false;
    QTimer give_up;
    give_up.setSingleShot(true);
    connect(&give_up, &QTimer::timeout, &wait, &QEventLoop::quit);
    std::unique_ptr<SoundClip> clip;  // none while muted
    if (muted_) {
        // Nothing is heard, but the clip takes its time as if it were.
        started = true;
        give_up.start(*length);
    } else {
        give_up.start(*length + kMarginMs);
        clip = device->Play(path, [&](SoundClip::State state) {
            started = started || state == SoundClip::State::Playing;
            failed = state == SoundClip::State::Failed;
            if (state != SoundClip::State::Playing) wait.quit();
        });
    }
    if (!failed) {
        waits_.push_back({&wait, path});
        wait.exec();
        std::erase_if(waits_, [&wait](const Wait& w) { return w.Loop == &wait; });
    }
    if (clip) clip->Stop();
    return started;
}

bool SoundOutput::IsPlaying(const QString& path) const {
    return std::any_of(waits_.begin(), waits_.end(), [&path](const Wait& w) { return w.Path == path; });
}

void SoundOutput::Stop() {
    for (const Wait& w : waits_) w.Loop->quit();
}

void SoundOutput::StopClip(const QString& path) {
    for (const Wait& w : waits_)
        if (w.Path == path) w.Loop->quit();
}

void SoundOutput::Shutdown() {
    shut_down_ = true;
    Stop();
}

}  // namespace kvt
