#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <future>
#include <system_error>
#include <vector>

#include "engine/card_set_codec.h"
#include "engine/card_set_switch.h"
#include "engine/game.h"
#include "engine/working_files.h"
#include "platform/files.h"
#include "platform/settings_keys.h"

namespace kvt {
namespace {

constexpr std::size_t kBlock = 1000;
// The gauge counts the bitmap's whole blocks of 1000 bytes, but moves (and
// lets window events through) at most this many times: a large bitmap is
// copied in steps of many blocks, a small one block by block.
constexpr std::uint64_t kGaugeSteps = 128;
// A bitmap of this size or more is checked on a thread of its own while it
// is copied: the two take about as long, and a smaller one is done before a
// thread would have started.
constexpr std::uint64_t kCheckAlongsideBytes = 1u << 20;

std::string Quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

// A card-set file open for reading at any offset.
class SourceFile {
public:
    // Never waits on a FIFO; IsRegular() refuses anything but a regular file.
    explicit SourceFile(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {}
    ~SourceFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    bool IsRegular(std::uint64_t& size) const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
        size = static_cast<std::uint64_t>(st.st_size);
        return true;
    }
    bool ReadAt(std::uint64_t offset, std::size_t n, char* out) const { return ReadFullyAt(fd_, offset, n, out); }

private:
    int fd_;
};

}  // namespace

Status Game::LoadCardSetFile(const std::filesystem::path& card_set) {
    notices_.CloseBackgroundSound();
    const auto failed = [&card_set](const std::string& why) {
        return Status::Fail("Cannot load the card set " + Quoted(card_set) + ": " + why);
    };
    SourceFile source(card_set);
    if (!source.IsOpen()) return failed(std::string(std::strerror(errno)) + ".");
    std::uint64_t size = 0;
    if (!source.IsRegular(size)) return failed("it is not a regular file.");
    CardSetLayout layout;
    const ReadAt read_at = [&source](std::uint64_t offset, std::size_t n, char* out) {
        return source.ReadAt(offset, n, out);
    };
    if (Status s = DecodeCardSetLayout(size, read_at, layout); !s) return failed(s.message() + ".");

    notices_.ShowLoading();
    Status written = WriteWorkingFiles(layout, source.Descriptor());
    notices_.HideLoading();
    if (!written) return failed(written.message());
    CardSet = std::move(layout.Def);
    if (layout.Background.Size != 0) {
        BackFilePath = (AppDir / files::kBackground).string();
        HasBackFile = true;
    }
    return Status::Ok();
}

// Writes every working file into a staging folder first and switches them
// all at once only when all are complete, so a failure, a kill or a second
// writer never leaves a mix of two sets in force.
Status Game::WriteWorkingFiles(const CardSetLayout& layout, int source_fd) {
    CardSetSwitch change(AppDir);
    if (Status s = change.Begin(); !s) return s;
    AtomicFile defs(change.Staged(files::kCardDefs));
    AtomicFile bitmap(change.Staged(files::kCardBitmap));
    AtomicFile sound(change.Staged(files::kOpeningSound));
    AtomicFile background(change.Staged(files::kBackground));
    std::vector<AtomicFile*> finished;

    // Copies a range of the card-set file, `step` bytes at a time; `on_step`
    // gets the number of whole 1000-byte blocks copied so far.
    const auto copy = [&](AtomicFile& target, ByteRange range, std::uint64_t step, const auto& on_step) {
        if (Status s = target.Open(); !s) return s;
        for (std::uint64_t done = 0; done < range.Size;) {
            const auto n = static_cast<std::size_t>(std::min(step, range.Size - done));
            if (Status s = target.CopyFrom(source_fd, range.Offset + done, n); !s) return s;
            done += n;
            on_step(static_cast<int>(done / kBlock));
        }
        if (Status s = target.Finish(); !s) return s;
        finished.push_back(&target);
        return Status::Ok();
    };
    constexpr std::uint64_t kPlainStep = 1u << 20;
    const auto no_progress = [](int) {};

    if (Status s = defs.Open(); !s) return s;
    if (Status s = defs.Write(EncodeCardSetDef(layout.Def)); !s) return s;
    if (Status s = defs.Finish(); !s) return s;
    finished.push_back(&defs);

    // The bitmap is checked from the card-set file itself, not read back
    // from its copy: the table decodes it once and may keep the picture.
    // Nothing is committed before the check has passed.
    const ByteRange pictures = layout.Bitmap;
    const auto reader_of = [source_fd](ByteRange range) -> LoadNotices::BitmapReader {
        return [source_fd, range](std::uint64_t offset, std::size_t n, char* out) {
            return offset <= range.Size && n <= range.Size - offset &&
                   ReadFullyAt(source_fd, range.Offset + offset, n, out);
        };
    };
    const LoadNotices::BitmapReader read_bitmap = reader_of(pictures);
    const auto check = [&] { return notices_.CardBitmapFault(pictures.Size, read_bitmap); };
    // A failed copy returns only once the check has ended: the future waits
    // for it before the reader the check uses goes.
    std::future<std::string> checked_alongside;
    if (pictures.Size >= kCheckAlongsideBytes) {
        try {
            checked_alongside = std::async(std::launch::async, check);
        } catch (const std::system_error&) {
            // No thread to spare: the check runs here, before the copy.
        }
    }
    if (!checked_alongside.valid())
        if (const std::string fault = check(); !fault.empty()) return Status::Fail(fault);

    const std::uint64_t blocks = pictures.Size / kBlock;
    notices_.SetLoadingGauge(0, static_cast<int>(blocks));
    const std::uint64_t gauge_step = std::max<std::uint64_t>(1, (blocks + kGaugeSteps - 1) / kGaugeSteps) * kBlock;
    int shown = 0;
    const auto gauge = [&](int copied_blocks) {
        if (copied_blocks == shown) return;
        shown = copied_blocks;
        notices_.SetLoadingGauge(copied_blocks, static_cast<int>(blocks));
    };
    if (Status s = copy(bitmap, pictures, gauge_step, gauge); !s) return s;

    // Without a sound of its own the previous opening sound stays.
    if (layout.SoundSize > 1)
        if (Status s = copy(sound, layout.Sound, kPlainStep, no_progress); !s) return s;
    if (layout.Background.Size != 0)
        if (Status s = copy(background, layout.Background, kPlainStep, no_progress); !s) return s;
    if (checked_alongside.valid())
        if (const std::string fault = checked_alongside.get(); !fault.empty()) return Status::Fail(fault);
    // The background too is handed over from the card-set file, not read back from its copy.
    notices_.BackgroundArriving(layout.Background.Size, reader_of(layout.Background));

    std::vector<std::string> replaced;
    for (AtomicFile* f : finished) {
        if (Status s = f->Commit(); !s) return s;
        replaced.push_back(f->Destination().filename().string());
    }
    std::vector<std::string> removed;
    if (layout.Background.Size == 0) removed.push_back(files::kBackground);
    if (Status s = change.Commit(replaced, removed); !s) return s;
    notices_.PicturesInForce();
    return Status::Ok();
}

// The Load Card Set command: the set in force, its pictures and background
// shown, and a new game dealt from it.
Status Game::LoadCardSetCommand(const std::filesystem::path& card_set) {
    if (Status s = LoadCardSetFile(card_set); !s) return s;
    // Remembering the path is a convenience; the load itself has succeeded.
    (void)settings_.WriteString(settings::kMisc, settings::kCardFile, card_set.string());
    BuildDeck(CardSet);
    notices_.LoadCardBitmap(CardBitmapPath);
    CardBackDef = FindCardBack();
    ResetHands();
    ShuffleStack(DrawDeck);
    DealHands();
    TurnUpFirstCard(FirstDiscardRule::kWildOrPlain);
    PrepareTableForFirstTurn();
    notices_.SetUpBackground();
    return Status::Ok();
}

Status Game::ReloadCardSet() {
    std::string bytes;
    CardSetDef def;
    std::error_code ec;
    bool was_there = false;
    Status read = Status::Ok();
    {
        // Another table may be switching sets in the same folder: read once
        // its switch is done (or, when a kill cut it short, finished), never
        // between two of its files. Without the lock the read goes ahead.
        FileLock lock;
        (void)LockAndRepairWorkingFiles(AppDir, lock);
        read = ReadWholeFile(CardDefPath, bytes, kMaxHeadBytes);
        was_there = std::filesystem::exists(std::filesystem::symlink_status(CardDefPath, ec));
    }
    if (read) read = DecodeCardSetDef(bytes, def);
    if (read) {
        (void)settings_.WriteString(settings::kMisc, settings::kCardFile, CardDefPath);
        CardSet = std::move(def);
        BuildDeck(CardSet);
        return Status::Ok();
    }
    // A missing or unreadable working copy falls back to the shipped card
    // set; one that is there but damaged is worth a word to the user.
    if (Status s = LoadCardSetFile(folders_.SharedData / files::kDefaultCardSet); !s) return s;
    BuildDeck(CardSet);
    if (!was_there) return Status::Ok();
    std::string why = read.message();
    if (!why.empty() && why.back() == '.') why.pop_back();
    return Status::Fail("The card set in force \"" + CardDefPath + "\" is damaged (" + why +
                        "); the shipped card set is used instead.");
}

Status Game::ReloadForRound() {
    Status reloaded = ReloadCardSet();
    if (!reloaded) notices_.ShowLoadProblem(reloaded.message());
    return reloaded;
}

std::int16_t Game::FindCardBack() {
    const int d = FindDefinition(CardSet, kActionCardBack);
    if (d < 0) return 0;
    notices_.ShowCardBack(CardSet.CardDefs[d]);
    return static_cast<std::int16_t>(d);
}

}  // namespace kvt
