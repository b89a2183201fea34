#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

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
    // Cards laid on the pile, card by card (PlayedCardKey), counted only
    // for the JSON figures: the count costs a map search per card.
    std::map<std::uint64_t, std::int64_t> PlayedCards;
    long StarterWins = 0;  // games won by the seat that played first in the game
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

// The seed of game number `game` (1, 2, ...) of a run: the game-th output of
// the SplitMix64 generator started from the run's seed. Every game is dealt
// on a fresh table from its own seed, so the games of a run can be played in
// any order, on any number of threads, and still be the same games.
std::uint64_t GameSeed(std::uint64_t run_seed, long game);

// What one game gave: its figures (the signature left out; see PlayGame),
// its rounds and winner, the values its rounds add to the run's signature in
// order, its trace lines with rounds counted from 1 within the game, and
// where it broke, if it did.
struct GameResult {
    Stats Figures;
    long Rounds = 0;
    int Winner = 0;  // 0 while the game has not ended
    std::vector<std::int16_t> SignatureValues;
    std::string Trace;
    long FaultRound = 0;  // the round within the game the fault names; 0: none
    std::string Fault;    // empty when the game finished; else what follows "round N"

    // The fault's text, with its round counted over the run: `rounds_before`
    // is the number of rounds of the games before this one.
    std::string FaultText(long rounds_before) const;
};

// Folds a value into an FNV-1a signature.
void MixSignature(std::uint64_t& hash, std::int64_t value);

// A fresh folder under the system's temporary folder, removed with the object.
class WorkFolder {
public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // Why there is none, when Path() is empty.
    const std::string& Problem() const { return problem_; }

private:
    std::filesystem::path path_;
    std::string problem_;
};

// Shows nothing: the simulator learns what happened from the events.
class SilentView : public LoadNotices {};

// Adds up the events of the computers' turns into the statistics.
// A card's group, value, action and count in one number, and back.
std::uint64_t PlayedCardKey(const Card& card);
Card PlayedCardOf(std::uint64_t key);

class EventCounter {
public:
    explicit EventCounter(Stats& stats, bool by_card = false) : stats_(stats), by_card_(by_card) {}
    void Count(const Events& turn);
    void CountByCard(bool on) { by_card_ = on; }
    // Adds the cards counted so far by action code and card by card to the
    // figures' Played and PlayedCards.
    void Flush();

private:
    void CountPlayed(int action);
    void CountCard(std::uint64_t key, std::int64_t times);
    Stats& stats_;
    // Cards laid with the common action codes, added to stats_.Played (an
    // entry made only for a code laid) by Flush: a laid card costs no map
    // search.
    std::array<std::int64_t, 16> played_{};
    bool by_card_;
    // Cards laid, card by card, in a small open-addressed table (a count of
    // 0 marks a free slot): a map search per laid card would cost a fifth of
    // the run.
    std::vector<std::pair<std::uint64_t, std::int64_t>> by_card_counts_;
    std::size_t by_card_used_ = 0;
};

// Plays seeded games with all four seats at the computer.
class Simulation {
public:
    // Where the run's working files go; the shipped data comes from `shared`.
    Simulation(const std::filesystem::path& work, const std::filesystem::path& shared, std::uint64_t seed);

    // Loads the card set and the players. The message names the file that failed.
    Status Setup(const Options& options);

    // Plays game number `game` to its end, dealt on a fresh table whose
    // generator starts from `seed`. With `check` a broken invariant ends the
    // game with a fault; with `trace` the result carries its trace lines.
    GameResult PlayGame(long game, std::uint64_t seed, bool check, bool trace, bool by_card = false);
    // The same, but the game's figures are added to the run's figures instead of
    // the result's: a run adds up its games' figures on the thread that
    // plays them, with no map made or merged per game. FlushRunFigures
    // adds in the cards counted card by card (by_card) so far.
    GameResult PlayGameForRun(long game, std::uint64_t seed, bool check, bool trace, bool by_card);
    const Stats& FlushRunFigures();

    // Deals a new game on the table as set up, its generator started from `seed`.
    void DealGame(std::uint64_t seed);

    // Plays one round from its deal to its scoring on the table as it
    // stands, game after game; for timing. Result() adds them up.
    void PlayRound();

    const Stats& Result() {
        timed_counter_.Flush();
        return timed_.Figures;
    }
    Game& Table() { return *game_; }

private:
    // Plays round `round` of the game; false when it broke (out says how).
    bool PlayOneRound(long round, bool check, std::ostream* trace, GameResult& out, Stats& stats,
                      EventCounter& counter);
    void PlayGameInto(long game, std::uint64_t seed, bool check, bool trace, GameResult& out, Stats& stats,
                      EventCounter& counter);

    SilentView view_;
    std::unique_ptr<Game> game_;
    std::filesystem::path shared_;
    TableState fresh_table_;  // as set up, before any deal
    GameResult timed_;        // PlayRound's rounds
    EventCounter timed_counter_{timed_.Figures};
    Stats run_figures_;  // PlayGameForRun's games
    EventCounter run_counter_{run_figures_, true};
    Events events_;  // of the turn being played; kept to reuse its room
    Checker checker_;
};

// The player files shipped with the program, sorted by name.
std::vector<std::filesystem::path> ShippedPlayers(const std::filesystem::path& shared);

}  // namespace kvt::sim
