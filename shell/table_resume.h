#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/status.h"
#include "formats/table_save.h"

namespace kvt {

class Game;
struct PlayerRec;

// What a kept game is checked against: the hash of the card set's
// definitions and title, and of a player's name and traits.
std::uint64_t CardSetIdentity(const Game& game);
std::uint64_t PlayerIdentity(const PlayerRec& player);

// The game in progress, kept in the working folder after every move (written
// to a temporary name and renamed, so a killed program loses at most the move
// in flight) and brought back at the next start.
class TableResume {
public:
    explicit TableResume(std::filesystem::path file) : file_(std::move(file)) {}

    // The game as it stands; false when it is not at rest between moves (a
    // card picked or held), and nothing is written. A write that fails
    // leaves the last one in place and says why.
    static bool AtRest(const Game& game);
    Status Save(const Game& game);

    enum class Outcome { kNothingSaved, kResumed, kSetAside };
    // Brings the kept game back onto `game` when it was played with the card
    // set and players at hand. A kept game that cannot be read, or that was
    // played with others, is set aside (renamed) and `why` says which.
    Outcome Restore(Game& game, std::string& why);

    const std::filesystem::path& File() const { return file_; }

    // A deal to share: the card set's and players' identity and the table as
    // `dealt`, as the first table of a new game (no scores).
    static Status WriteDeal(const Game& game, const TableState& dealt, const std::filesystem::path& file);
    // Deals the shared deal in `file` on `game` as a new game; refused, with
    // the reason, when it cannot be read or was made with another card set
    // or other players, and `game` is then as it was.
    static Status OpenDeal(Game& game, const std::filesystem::path& file);

private:
    std::filesystem::path file_;
    std::string written_;
};

}  // namespace kvt
