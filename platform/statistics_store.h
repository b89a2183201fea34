#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/status.h"

namespace kvt {

// Who played a game: the card set and the four seats, each named and with
// the identity hash of its file (as the game in progress keeps them).
struct GameIdentity {
    std::string card_set_title;
    std::uint64_t card_set_hash = 0;
    std::array<std::string, 4> names;  // seats 1..4
    std::array<std::uint64_t, 4> player_hashes{};
    bool operator==(const GameIdentity&) const = default;
};

// A round as the score sheet counted it.
struct ScoredRound {
    GameIdentity identity;
    std::array<int, 4> points{};  // this round's, seats 1..4
    std::array<int, 4> totals{};  // running totals after it
    int winner = 0;               // 1..4 when this round ended the game
    bool undo_used = false;       // undo was used in this game
};

// Games, wins, rounds and totals of one opponent, card set or seat, over the
// finished games played without undo; the games with undo are counted apart.
struct Figures {
    std::string label;
    int games = 0;
    int wins = 0;
    int rounds = 0;
    double average_total = 0;
    int best_total = 0;  // the lowest
    int games_with_undo = 0;
};

// The human (seat 1) against one opponent, in finished games without undo.
struct HeadToHead {
    std::string opponent;
    int games = 0;
    int you_lower = 0;
    int they_lower = 0;
    int games_with_undo = 0;
};

struct GameTotal {
    int total = 0;  // the human's final total
    bool undo_used = false;
};

// The statistics database, kept in SQLite. Every update is one transaction,
// so a killed program leaves whole rounds only. A game's rounds come in as
// the score sheet counts them; a round counted again (the table brought back
// from before it after a crash) replaces the one recorded, never adds to it.
class StatisticsStore {
public:
    static constexpr int kSchemaVersion = 1;

    explicit StatisticsStore(std::filesystem::path file);
    ~StatisticsStore();
    StatisticsStore(const StatisticsStore&) = delete;
    StatisticsStore& operator=(const StatisticsStore&) = delete;

    enum class Opened { kReady, kSetAside, kUnusable };
    // Opens the database, creating it when there is none. A file that is no
    // statistics database of this program (not SQLite, damaged, unreadable,
    // of a later version) is renamed to FILE.set-aside and a fresh one is
    // started (kSetAside, `why` says what was wrong). kUnusable: nothing can
    // be recorded (`why` says why), also when another program holds the file
    // locked; every later call then fails quietly.
    Opened Open(std::string& why);
    bool Usable() const { return usable_; }
    const std::filesystem::path& File() const { return file_; }

    Status RecordRound(const ScoredRound& round);
    // The open game ends without a winner (New Game): kept as not finished.
    Status AbandonGame();
    // Empties the database.
    Status Reset();

    std::vector<Figures> PerOpponent() const;
    std::vector<Figures> PerCardSet() const;  // the human's figures
    std::vector<Figures> PerSeat() const;
    std::vector<HeadToHead> HeadToHeads() const;
    // The human's totals of the last `count` finished games, oldest first.
    std::vector<GameTotal> LastTotals(int count) const;
    int FinishedGames() const;

private:
    Status Check();
    Status CreateSchema();
    void Close();

    std::filesystem::path file_;
    std::string connection_;
    bool usable_ = false;
    bool in_use_ = false;  // the last check found the file locked by another connection
};

}  // namespace kvt
