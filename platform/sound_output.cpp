#include "platform/sound_output.h"

#include "platform/sound_backend.h"

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

SoundOutput::~SoundOutput() {
    // Nobody hears of the clips that end with the owner.
    for (const std::unique_ptr<Clip>& clip : clips_) clip->Ended = nullptr;
    Shutdown();
}

bool SoundOutput::Play(const QString& path, std::function<void()> ended) {
    const std::optional<int> length = shut_down_ ? std::nullopt : WavClipLength(path);
    SoundBackend* const device = !length || muted_ ? nullptr : OpenSoundBackend();
    if (!length || (!muted_ && (!device || !device->HasOutput()))) {
        if (ended) ended();
        return false;
    }
    auto clip = std::make_unique<Clip>();
    const std::uint64_t id = clip->Id = ++last_id_;
    clip->Path = path;
    clip->Ended = std::move(ended);
    clip->GiveUp.setSingleShot(true);
    // Queued: End destroys the timer, which must not happen inside its own signal.
    connect(&clip->GiveUp, &QTimer::timeout, this, [this, id] { End(id); }, Qt::QueuedConnection);
    // Muted, nothing is heard, but the clip takes its time as if it were.
    clip->GiveUp.start(muted_ ? *length : *length + kMarginMs);
    Clip& playing = *clips_.emplace_back(std::move(clip));
    if (device) {
        playing.Sound = device->Play(path, [this, id](SoundClip::State state) {
            // Heard from inside the device's call, too: ended on the next turn of the event loop.
            if (state != SoundClip::State::Playing) QTimer::singleShot(0, this, [this, id] { End(id); });
        });
    }
    return true;
}

void SoundOutput::End(std::uint64_t id) {
    const auto found = std::find_if(clips_.begin(), clips_.end(), [id](const auto& clip) { return clip->Id == id; });
    if (found == clips_.end()) return;
    std::unique_ptr<Clip> clip = std::move(*found);
    clips_.erase(found);
    if (clip->Sound) clip->Sound->Stop();
    if (clip->Ended) clip->Ended();
}

bool SoundOutput::IsPlaying(const QString& path) const {
    return std::any_of(clips_.begin(), clips_.end(), [&path](const auto& clip) { return clip->Path == path; });
}

void SoundOutput::Stop() { StopWhere([](const Clip&) { return true; }); }

void SoundOutput::StopClip(const QString& path) { StopWhere([&path](const Clip& clip) { return clip.Path == path; }); }

void SoundOutput::StopWhere(const std::function<bool(const Clip&)>& which) {
    std::vector<std::uint64_t> ids;
    for (const std::unique_ptr<Clip>& clip : clips_)
        if (which(*clip)) ids.push_back(clip->Id);
    for (std::uint64_t id : ids) End(id);
}

void SoundOutput::Shutdown() {
    shut_down_ = true;
    Stop();
}

}  // namespace kvt
