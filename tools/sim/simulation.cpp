#include "tools/sim/simulation.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <system_error>

#include "engine/working_files.h"
#include "tools/sim/trace.h"

namespace kvt::sim {
namespace {

// Far beyond any real round or game: a table that never ends is a fault.
constexpr long kMaxTurnsPerRound = 200000;
constexpr long kMaxRoundsPerGame = 100000;

}  // namespace

void MixSignature(std::uint64_t& hash, std::int64_t value) {
    for (int i = 0; i < 8; ++i) {
        hash ^= static_cast<std::uint64_t>(value >> (8 * i)) & 0xffu;
        hash *= 1099511628211ull;
    }
}

std::uint64_t GameSeed(std::uint64_t run_seed, long game) {
    // SplitMix64: the state moves on by the golden-ratio step per output.
    std::uint64_t z = run_seed + static_cast<std::uint64_t>(game) * 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

std::string GameResult::FaultText(long rounds_before) const {
    if (FaultRound <= 0) return Fault;
    return "round " + std::to_string(rounds_before + FaultRound) + Fault;
}

WorkFolder::WorkFolder() {
    std::error_code ec;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
    if (ec) {
        problem_ = "no temporary folder for the working files: " + ec.message() + " (TMPDIR)";
        return;
    }
    std::string name = (temporary / "kvt-sim-XXXXXX").string();
    if (::mkdtemp(name.data()) != nullptr)
        path_ = name;
    else
        problem_ = "cannot make a working folder in \"" + temporary.string() + "\": " + std::strerror(errno);
}

WorkFolder::~WorkFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::uint64_t PlayedCardKey(const Card& card) {
    const auto part = [](std::int16_t v, int at) { return static_cast<std::uint64_t>(static_cast<std::uint16_t>(v)) << at; };
    return part(card.Group, 48) | part(card.Value, 32) | part(card.Action, 16) | part(card.ActionCount, 0);
}

Card PlayedCardOf(std::uint64_t key) {
    const auto part = [key](int at) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(key >> at)); };
    Card card;
    card.Group = part(48);
    card.Value = part(32);
    card.Action = part(16);
    card.ActionCount = part(0);
    return card;
}

void EventCounter::CountCard(std::uint64_t key, std::int64_t times) {
    if (2 * (by_card_used_ + 1) > by_card_counts_.size()) {
        // Grown (or made) before half full, so that probes stay short.
        std::vector<std::pair<std::uint64_t, std::int64_t>> old(std::max<std::size_t>(256, 2 * by_card_counts_.size()));
        old.swap(by_card_counts_);
        by_card_used_ = 0;
        for (const auto& [k, n] : old)
            if (n > 0) CountCard(k, n);
    }
    const std::size_t mask = by_card_counts_.size() - 1;
    for (std::size_t i = ((key * 0x9E3779B97F4A7C15ull) >> 40) & mask;; i = (i + 1) & mask) {
        auto& [k, n] = by_card_counts_[i];
        if (n == 0) {
            k = key;
            n = times;
            ++by_card_used_;
            return;
        }
        if (k == key) {
            n += times;
            return;
        }
    }
}

void EventCounter::Flush() {
    for (std::size_t action = 0; action < played_.size(); ++action)
        if (played_[action] > 0) stats_.Played[static_cast<int>(action)] += std::exchange(played_[action], 0);
    for (auto& [k, n] : by_card_counts_)
        if (n > 0) stats_.PlayedCards[k] += std::exchange(n, 0);
    by_card_used_ = 0;
}

void EventCounter::CountPlayed(int action) {
    const bool common = action >= 0 && action < static_cast<int>(played_.size());
    if (!common) {
        ++stats_.Played[action];
        return;
    }
    ++played_[static_cast<std::size_t>(action)];
}

void EventCounter::Count(const Events& turn) {
    for (const Event& e : turn) {
        switch (e.kind) {
        case EventKind::CardMoved:
        case EventKind::CardRefused:
            // A card a computer lays or discards counts even when the pile
            // has no room for it; a draw only when it brought a card.
            if (e.to.place == Place::Pile && (e.from.place == Place::Hand || e.from.place == Place::Held)) {
                CountPlayed(e.card.Action);
                if (by_card_) CountCard(PlayedCardKey(e.card), 1);
            }
            else if (e.kind == EventKind::CardMoved && e.from.place == Place::Deck && e.to.place == Place::Hand)
                ++stats_.CardsDrawn;
            break;
        case EventKind::NothingDrawn:
            ++stats_.CardsDrawn;  // a draw that brought nothing still counts as one
            break;
        case EventKind::DeckShuffled:
            ++stats_.DeckRebuilds;  // inside a turn only a rebuilt deck is shuffled
            break;
        default:
            break;
        }
    }
}

std::vector<std::filesystem::path> ShippedPlayers(const std::filesystem::path& shared) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(shared / "players", ec))
        if (entry.path().extension() == ".dpf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

Simulation::Simulation(const std::filesystem::path& work, const std::filesystem::path& shared, std::uint64_t seed)
    : shared_(shared) {
    Folders folders;
    folders.SettingsFile = work / "config" / "kvt.ini";
    folders.AppDir = work / "data";
    folders.SharedData = shared;
    game_ = std::make_unique<Game>(folders, view_, seed);
}

Status Simulation::Setup(const Options& options) {
    Game& game = *game_;
    game.ComputerSeat1 = true;
    game.ReloadEachRound = false;
    game.PlayerSounds = false;
    game.SortCards = false;
    game.OpeningMusic = false;

    const std::filesystem::path cards = options.Cards.empty() ? shared_ / files::kDefaultCardSet : options.Cards;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(cards, ec))
        return Status::Fail("Cannot read the card set file \"" + cards.string() + "\": no such file");
    if (Status s = game.LoadCardSetFile(cards); !s) return s;

    std::vector<std::filesystem::path> players = options.Players;
    if (players.empty()) {
        players = ShippedPlayers(shared_);
        if (players.size() < 3)
            return Status::Fail("Cannot find three player files in \"" + (shared_ / "players").string() + "\"");
        players.resize(3);
    }
    if (Status s = game.SeatComputers(players.size() == 4 ? players[3] : std::filesystem::path(),
                                      {players[0], players[1], players[2]});
        !s)
        return s;

    fresh_table_ = game.State();
    game.NewGame();
    if (!game.TableInPlay()) return Status::Fail("The card set \"" + cards.string() + "\" deals no cards");
    checker_.StartRound(game);
    checker_.StartGame(game);
    return Status::Ok();
}

bool Simulation::PlayOneRound(long round, bool check, std::ostream* trace, GameResult& out, Stats& stats,
                              EventCounter& counter) {
    Game& game = *game_;
    const auto broke = [&](long at, int seat, const std::string& what) {
        out.FaultRound = at;
        out.Fault = (seat > 0 ? ", seat " + std::to_string(seat) : std::string()) + ": " + what;
        return false;
    };
    for (long turns = 0; !game.RoundEnded; ++turns) {
        const int seat = game.CurPlayer;
        if (turns >= kMaxTurnsPerRound) return broke(round, seat, "the round never ends");
        MoveBefore before;
        if (trace) before = MoveBefore::Of(game, round);
        const TurnOutcome outcome = game.PlayComputerTurn(events_);
        counter.Count(events_);
        ++stats.Turns;
        stats.LongestTurnsWithoutProgress = std::max<long>(stats.LongestTurnsWithoutProgress, game.TurnsWithoutProgress);
        if (outcome == TurnOutcome::NotComputer) return broke(round, seat, "not a computer seat");
        if ((outcome == TurnOutcome::Passed || (outcome == TurnOutcome::RoundEnded && game.PassesInRow > 0)) &&
            !game.CanDraw())
            ++stats.PassesNothingToDraw;
        if (check) {
            if (std::string what = checker_.AfterMove(game); !what.empty()) return broke(round, seat, what);
        }
        if (trace) WriteMoveLine(*trace, before, events_, game);
    }

    if (game.TurnsWithoutProgress >= Game::kStuckTurns) ++stats.StuckRounds;
    for (int p = 1; p <= 4; ++p) out.SignatureValues.push_back(game.Players[p].Count());
    if (check) checker_.BeforeScoring(game);
    // The round's end and the next deal are counted by nothing but the trace.
    const RoundResult result =
        trace ? game.RoundOver(FirstDiscardRule::kWild, events_) : game.RoundOver(FirstDiscardRule::kWild);
    ++stats.Rounds;
    ++out.Rounds;
    for (int p = 1; p <= 4; ++p) out.SignatureValues.push_back(result.Totals[p]);
    if (trace) {
        for (const Event& e : events_)
            if (e.kind == EventKind::RoundEnded) WriteRoundLine(*trace, round, e);
    }
    if (check) {
        if (std::string what = checker_.AfterScoring(result.Totals); !what.empty())
            return broke(round, game.LastMover, what);
    }
    if (result.Winner > 0) {
        out.Winner = result.Winner;
        ++stats.Games;
        ++stats.Wins[result.Winner];
        checker_.StartGame(game);
    }
    if (game.RoundEnded) return broke(round + 1, 0, "the next round could not be dealt");
    checker_.StartRound(game);
    return true;
}

void Simulation::DealGame(std::uint64_t seed) { game_->DealFromSeed(fresh_table_, seed); }

GameResult Simulation::PlayGame(long game_number, std::uint64_t seed, bool check, bool trace, bool by_card) {
    GameResult out;
    EventCounter counter(out.Figures, by_card);
    PlayGameInto(game_number, seed, check, trace, out, out.Figures, counter);
    counter.Flush();
    return out;
}

GameResult Simulation::PlayGameForRun(long game_number, std::uint64_t seed, bool check, bool trace, bool by_card) {
    GameResult out;
    run_counter_.CountByCard(by_card);
    PlayGameInto(game_number, seed, check, trace, out, run_figures_, run_counter_);
    return out;
}

const Stats& Simulation::FlushRunFigures() {
    run_counter_.Flush();
    return run_figures_;
}

void Simulation::PlayGameInto(long game_number, std::uint64_t seed, bool check, bool trace, GameResult& out,
                              Stats& stats, EventCounter& counter) {
    Game& game = *game_;
    const std::int64_t refused = game.RefusedMoves;
    const std::int64_t group_cards = game.GroupCardsAdded;
    DealGame(seed);
    const int starter = game.CurPlayer;
    checker_.StartRound(game);
    checker_.StartGame(game);

    // A game of the shipped set lasts some seven rounds of eight values.
    out.SignatureValues.reserve(64);
    std::optional<std::ostringstream> lines;  // made only for a trace: making one costs
    if (trace) lines.emplace();
    for (long round = 1; out.Winner == 0; ++round) {
        if (round > kMaxRoundsPerGame) {
            out.Fault = "game " + std::to_string(game_number) + ": the game never ends";
            break;
        }
        if (!PlayOneRound(round, check, lines ? &*lines : nullptr, out, stats, counter)) break;
    }
    if (starter >= 1 && starter <= 4 && out.Winner == starter) ++stats.StarterWins;
    stats.RefusedMoves += game.RefusedMoves - refused;
    stats.GroupCardsAdded += game.GroupCardsAdded - group_cards;
    if (lines) out.Trace = lines->str();
}

void Simulation::PlayRound() {
    (void)PlayOneRound(timed_.Figures.Rounds + 1, false, nullptr, timed_, timed_.Figures, timed_counter_);
    timed_.SignatureValues.clear();
    timed_.Winner = 0;
}

}  // namespace kvt::sim
