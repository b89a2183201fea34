#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <system_error>

#include "engine/player_file.h"
#include "engine/game.h"
#include "platform/files.h"
#include "platform/settings_keys.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

// The settings file gives back at most this many characters of a value.
constexpr std::size_t kMaxRememberedPath = 127;

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

std::string Sentence(std::string text) {
    if (text.empty() || text.back() != '.') text += '.';
    return text;
}

std::string SeatKey(int player) { return "Player" + std::to_string(player); }

bool IsOpponentSeat(int player) { return player >= 2 && player <= 4; }

// A player file open for reading at any offset.
class PlayerSource {
public:
    // Never waits on a FIFO; Size() refuses anything but a regular file.
    explicit PlayerSource(const fs::path& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {
        if (fd_ < 0) error_ = std::strerror(errno);
    }
    ~PlayerSource() {
        if (fd_ >= 0) ::close(fd_);
    }
    PlayerSource(const PlayerSource&) = delete;
    PlayerSource& operator=(const PlayerSource&) = delete;

    int Descriptor() const { return fd_; }

    // Decodes the header only, or the whole file.
    Status Header(PlayerRec& out) const {
        std::uint64_t size = 0;
        if (Status s = Size(size); !s) return s;
        return DecodePlayerHeader(size, Reader(), out);
    }
    Status Layout(PlayerLayout& out) const {
        std::uint64_t size = 0;
        if (Status s = Size(size); !s) return s;
        return DecodePlayerLayout(size, Reader(), out);
    }

private:
    Status Size(std::uint64_t& size) const {
        if (fd_ < 0) return Status::Fail(error_);
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return Status::Fail(std::strerror(errno));
        if (!S_ISREG(st.st_mode)) return Status::Fail("it is not a regular file");
        size = static_cast<std::uint64_t>(st.st_size);
        return Status::Ok();
    }

    ReadAt Reader() const {
        return [fd = fd_](std::uint64_t offset, std::size_t n, char* out) {
            return ReadFullyAt(fd, offset, n, out);
        };
    }

    int fd_;
    std::string error_;
};

// Shows the player-file notice for as long as it lives, so every way out hides it.
class PlayerWaitNotice {
public:
    explicit PlayerWaitNotice(LoadNotices& notices) : notices_(notices) { notices_.ShowPlayerWait(); }
    ~PlayerWaitNotice() { notices_.HidePlayerWait(); }
    PlayerWaitNotice(const PlayerWaitNotice&) = delete;
    PlayerWaitNotice& operator=(const PlayerWaitNotice&) = delete;

private:
    LoadNotices& notices_;
};

// Copies a range of the player file into `target`, ready to be committed.
Status PrepareCopy(AtomicFile& target, int source_fd, ByteRange range) {
    if (Status s = target.Open(); !s) return s;
    if (Status s = target.CopyFrom(source_fd, range.Offset, static_cast<std::size_t>(range.Size)); !s)
        return s;
    return target.Finish();
}

Status CopyInto(const fs::path& destination, int source_fd, ByteRange range) {
    AtomicFile target(destination);
    if (Status s = PrepareCopy(target, source_fd, range); !s) return s;
    return target.Commit();
}

// "…/Player2" with a suffix: a name beside the folder.
fs::path Beside(fs::path folder, const char* suffix) {
    folder += suffix;
    return folder;
}

// Clears what an interrupted earlier run may have left under one of our names.
Status ClearLeftover(const fs::path& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) return Status::Fail("Cannot remove the leftover " + Quoted(path) + ": " + ec.message());
    return Status::Ok();
}

// Moves `fresh` into the place of `target`; the previous folder is restored
// if that fails and removed once it succeeds.
Status SwapInFolder(const fs::path& fresh, const fs::path& target, const fs::path& retired) {
    std::error_code ec;
    const bool had_previous = fs::exists(fs::symlink_status(target, ec));
    if (had_previous) {
        fs::rename(target, retired, ec);
        if (ec) return Status::Fail("Cannot move " + Quoted(target) + " aside: " + ec.message());
    }
    fs::rename(fresh, target, ec);
    if (ec) {
        const std::string why = ec.message();
        if (had_previous) fs::rename(retired, target, ec);
        return Status::Fail("Cannot put the new folder in place of " + Quoted(target) + ": " + why);
    }
    // A folder that will not go now is cleared as a leftover next time.
    if (had_previous) fs::remove_all(retired, ec);
    return Status::Ok();
}

// Writes the picture and every clip into a new folder beside `target`, then
// puts it in place of `target`, so a failure at any point leaves the previous
// opponent's folder as it was.
Status InstallPlayerFolder(const PlayerLayout& layout, int source_fd, const fs::path& target) {
    // A trailing separator would put the names below inside the folder.
    const fs::path folder = target.has_filename() ? target : target.parent_path();
    const fs::path fresh = Beside(folder, ".new");
    const fs::path retired = Beside(folder, ".old");
    if (Status s = EnsureFolder(folder.parent_path()); !s) return s;
    if (Status s = ClearLeftover(fresh); !s) return s;
    if (Status s = ClearLeftover(retired); !s) return s;
    std::error_code ec;
    if (!fs::create_directory(fresh, ec) || ec)
        return Status::Fail("Cannot create the folder " + Quoted(fresh) + ": " +
                            (ec ? ec.message() : std::string("it already exists")));

    const auto write_all = [&]() {
        if (Status s = CopyInto(fresh / kPlayerPictureName, source_fd, layout.Picture); !s) return s;
        for (const std::size_t i : ClipWriteOrder(layout.Clips)) {
            const PlayerClipLayout& clip = layout.Clips[i];
            if (Status s = CopyInto(fresh / clip.Entry.FileName, source_fd, clip.Bytes); !s) return s;
        }
        return SwapInFolder(fresh, folder, retired);
    };
    Status written = write_all();
    if (!written) fs::remove_all(fresh, ec);
    return written;
}

}  // namespace

Status Game::ExtractPlayer(const std::filesystem::path& file, int player) {
    const auto failed = [&file](const std::string& why) {
        return Status::Fail("Cannot load the player file " + Quoted(file) + ": " + Sentence(why));
    };
    if (!IsOpponentSeat(player))
        return failed("there is no opponent seat " + std::to_string(player) + " (the seats are 2 to 4)");
    if (PlayerDir[player].empty()) return failed("Player " + std::to_string(player) + " has no working folder");
    PlayerWaitNotice notice(notices_);
    const PlayerSource source(file);
    PlayerLayout layout;
    if (Status s = source.Layout(layout); !s) return failed(s.message());
    if (Status s = InstallPlayerFolder(layout, source.Descriptor(), PlayerDir[player]); !s)
        return failed(s.message());
    PlayerInfo[player] = std::move(layout.Header);
    return Status::Ok();
}

Status Game::SeatComputers(const std::filesystem::path& seat1, const std::array<std::filesystem::path, 3>& opponents) {
    // Seat 1 is not an opponent seat: its file is read through seat 2 first.
    if (!seat1.empty()) {
        if (Status s = ReadPlayerHeader(seat1, 2); !s) return s;
        PlayerInfo[1] = PlayerInfo[2];
    } else {
        PlayerInfo[1] = BuiltInComputer();
    }
    for (int p = 2; p <= 4; ++p) {
        const std::filesystem::path& file = opponents[static_cast<std::size_t>(p - 2)];
        if (file.empty()) {
            PlayerInfo[p] = PlayerRec{};
            continue;
        }
        if (Status s = ReadPlayerHeader(file, p); !s) return s;
    }
    return Status::Ok();
}

Status Game::ReadPlayerHeader(const std::filesystem::path& file, int player) {
    const auto failed = [&file](const std::string& why) {
        return Status::Fail("Cannot load the player file " + Quoted(file) + ": " + Sentence(why));
    };
    if (!IsOpponentSeat(player))
        return failed("there is no opponent seat " + std::to_string(player) + " (the seats are 2 to 4)");
    PlayerWaitNotice notice(notices_);
    PlayerRec header;
    if (Status s = PlayerSource(file).Header(header); !s) return failed(s.message());
    PlayerInfo[player] = std::move(header);
    return Status::Ok();
}

Status Game::LoadPlayers() {
    std::string problems;
    for (int p = 2; p <= 4; ++p) {
        PlayerFile[p] = settings_.ReadString(settings::kPlayersFile, SeatKey(p), "");
        const Status read =
            PlayerFile[p].empty()
                ? Status::Fail("No player file is remembered for Player " + std::to_string(p) + ".")
                : ReadPlayerHeader(PlayerFile[p], p);
        if (read) continue;
        // The seat stays empty until players are chosen again.
        PlayerInfo[p] = PlayerRec{};
        problems += (problems.empty() ? "" : "\n") + read.message();
    }
    return problems.empty() ? Status::Ok() : Status::Fail(problems);
}

Status Game::PreviewPlayer(const std::filesystem::path& file) {
    const auto failed = [&file](const std::string& why) {
        return Status::Fail("Cannot preview the player file " + Quoted(file) + ": " + Sentence(why));
    };
    if (Status s = EnsureFolder(PreviewDir); !s) return failed(s.message());
    const PlayerSource source(file);
    PlayerLayout layout;
    if (Status s = source.Layout(layout); !s) return failed(s.message());

    AtomicFile picture(PreviewDir / kPlayerPictureName);
    if (Status s = PrepareCopy(picture, source.Descriptor(), layout.Picture); !s) return failed(s.message());
    // Without a selection clip of its own the preview keeps the one it had.
    std::optional<AtomicFile> clip;
    for (const PlayerClipLayout& c : layout.Clips) {
        if (c.Entry.Length == 0 || FoldClipName(c.Entry.FileName) != FoldClipName(kSelectionClipName))
            continue;
        clip.emplace(PreviewDir / kSelectionClipName);
        if (Status s = PrepareCopy(*clip, source.Descriptor(), c.Bytes); !s) return failed(s.message());
        break;
    }
    if (Status s = picture.Commit(); !s) return failed(s.message());
    if (clip)
        if (Status s = clip->Commit(); !s) return failed(s.message());
    return Status::Ok();
}

Status Game::EnsurePlayerFolders() {
    std::string problems;
    for (const fs::path& folder : {PreviewDir, PlayerDir[2], PlayerDir[3], PlayerDir[4]})
        if (Status s = EnsureFolder(folder); !s) problems += (problems.empty() ? "" : "\n") + Sentence(s.message());
    return problems.empty() ? Status::Ok() : Status::Fail(problems);
}

Status Game::SavePlayerChoice() {
    std::string problems;
    const auto note = [&problems](const std::string& problem) {
        // A settings file that cannot be written fails every seat alike: said once.
        const std::string line = Sentence(problem);
        if (problems.find(line) != std::string::npos) return;
        problems += (problems.empty() ? "" : "\n") + line;
    };
    for (int p = 2; p <= 4; ++p) {
        std::string path = PlayerFile[p];
        const bool blank_edge = !path.empty() && (std::isspace(static_cast<unsigned char>(path.front())) ||
                                                  std::isspace(static_cast<unsigned char>(path.back())));
        // A path the settings file would not give back unchanged is not kept:
        // a cut-off path would name some other file next time.
        if (path.size() > kMaxRememberedPath || blank_edge) {
            note("The player file of Player " + std::to_string(p) + " cannot be remembered: " +
                 (blank_edge ? std::string("its path begins or ends with a blank")
                             : "its path is longer than " + std::to_string(kMaxRememberedPath) +
                                   " characters"));
            path.clear();
        }
        if (Status s = settings_.WriteString(settings::kPlayersFile, SeatKey(p), path); !s) note(s.message());
    }
    return problems.empty() ? Status::Ok() : Status::Fail(problems);
}

bool Game::RememberedPlayersComplete() const {
    for (int p = 2; p <= 4; ++p)
        if (settings_.ReadString(settings::kPlayersFile, SeatKey(p), "").size() < 2) return false;
    return true;
}

}  // namespace kvt
