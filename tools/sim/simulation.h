#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "engine/game.h"
#include "tools/sim/checker.h"
#include "tools/sim/options.h"

namespace kvt::sim {

// What a run counted. Everything but the wall time follows from the seed.
struct Stats {
    long Games = 0;
    long Rounds = 0;
    long Turns = 0;
    std::array<long, 5> Wins{};          // 1..4
    std::int64_t CardsDrawn = 0;
    std::int64_t DeckRebuilds = 0;       // the discard pile shuffled back into an empty deck
    std::map<int, std::int64_t> Played;  // cards laid on the pile, by action code
    std::int64_t PassesNothingToDraw = 0;
    std::int64_t RefusedMoves = 0;
    std::int64_t GroupCardsAdded = 0;
    long StuckRounds = 0;                 // ended by the rules for going nowhere
    long LongestTurnsWithoutProgress = 0;  // the most computer turns in a row in which no hand got smaller
    std::uint64_t Signature = 14695981039346656037ull;  // FNV-1a over each round's scores and hands
    double Seconds = 0;
    long PeakRssKb = -1;  // of the whole process, at the end; -1: unknown
    int OpenFiles = -1;   // descriptors open at the end; -1: unknown
};

// A fresh folder under the system's temporary folder, removed with the object.
class WorkFolder {
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Shows nothing: the simulator learns what happened from the events.
class SilentView : public TableView {
public:
    bool ShowsGameOverFiles() const override { return false; }
};

// Adds up the events of the computers' turns into the statistics.
class EventCounter {
public:
    explicit EventCounter(Stats& stats) : stats_(stats) {}
    void Count(const Events& turn);

private:
    void CountPlayed(int action);
    Stats& stats_;
    // The counters of stats_.Played for the common action codes, so that a
    // laid card costs no map search. Each entry is made when its code is
    // first laid; a map's entries never move.
    std::array<std::int64_t*, 16> played_{};
};

// Plays seeded games with all four seats at the computer.
class Simulation {
public:
    // Where the run's working files go; the shipped data comes from `shared`.
    Simulation(const std::filesystem::path& work, const std::filesystem::path& shared, std::uint64_t seed);

    // Loads the card set and the players. The message names the file that failed.
    Status Setup(const Options& options);

    // Plays `games` complete games. With a checker, a fault stops the run and
    // `fault` says where and what; `trace` (when not null) gets JSON lines.
    // False when the run stopped early (a fault, or a table that could not be dealt).
    bool Play(long games, bool check, std::ostream* trace, std::string& fault);

    // Plays one round from its deal to its scoring; for timing.
    void PlayRound();

    const Stats& Result() const { return stats_; }
    Game& Table() { return *game_; }

private:
    bool PlayOneRound(bool check, std::ostream* trace, std::string& fault);

    SilentView view_;
    std::unique_ptr<Game> game_;
    std::filesystem::path shared_;
    Stats stats_;
    EventCounter counter_{stats_};
    Events events_;  // of the turn being played; kept to reuse its room
    Checker checker_;
    long game_rounds_ = 0;
};

// The player files shipped with the program, sorted by name.
std::vector<std::filesystem::path> ShippedPlayers(const std::filesystem::path& shared);

}  // namespace kvt::sim
