#include "tools/sim/simulation.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "engine/working_files.h"
#include "tools/sim/trace.h"

namespace kvt::sim {
namespace {

// Far beyond any real round or game: a table that never ends is a fault.
constexpr long kMaxTurnsPerRound = 200000;
constexpr long kMaxRoundsPerGame = 100000;

void Mix(std::uint64_t& hash, std::int64_t value) {
    for (int i = 0; i < 8; ++i) {
        hash ^= static_cast<std::uint64_t>(value >> (8 * i)) & 0xffu;
        hash *= 1099511628211ull;
    }
}

}  // namespace

WorkFolder::WorkFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "kvt-sim-XXXXXX").string();
    if (::mkdtemp(name.data()) != nullptr) path_ = name;
}

WorkFolder::~WorkFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

void EventCounter::CountPlayed(int action) {
    const bool common = action >= 0 && action < static_cast<int>(played_.size());
    if (!common) {
        ++stats_.Played[action];
        return;
    }
    std::int64_t*& counter = played_[action];
    if (!counter) counter = &stats_.Played[action];
    ++*counter;
}

void EventCounter::Count(const Events& turn) {
    for (const Event& e : turn) {
        switch (e.kind) {
        case EventKind::CardMoved:
        case EventKind::CardRefused:
            // A card a computer lays or discards counts even when the pile
            // has no room for it; a draw only when it brought a card.
            if (e.to.place == Place::Pile && (e.from.place == Place::Hand || e.from.place == Place::Held))
                CountPlayed(e.card.Action);
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
    // Seat 1 is not an opponent seat: its file is read through seat 2 first.
    if (players.size() == 4) {
        if (Status s = game.ReadPlayerHeader(players[3], 2); !s) return s;
        game.PlayerInfo[1] = game.PlayerInfo[2];
    } else {
        PlayerRec& seat1 = game.PlayerInfo[1];
        seat1.Name = "Computer";
        seat1.TraitA = 50;
        seat1.TraitB = 0;
        seat1.TraitC = 50;
        seat1.TraitD = 5;
    }
    for (int p = 2; p <= 4; ++p)
        if (Status s = game.ReadPlayerHeader(players[p - 2], p); !s) return s;

    game.NewGame();
    if (!game.TableInPlay()) return Status::Fail("The card set \"" + cards.string() + "\" deals no cards");
    checker_.StartRound(game);
    checker_.StartGame(game);
    return Status::Ok();
}

bool Simulation::PlayOneRound(bool check, std::ostream* trace, std::string& fault) {
    Game& game = *game_;
    const long round = stats_.Rounds + 1;
    for (long turns = 0; !game.RoundEnded; ++turns) {
        const int seat = game.CurPlayer;
        if (turns >= kMaxTurnsPerRound) {
            fault = "round " + std::to_string(round) + ", seat " + std::to_string(seat) + ": the round never ends";
            return false;
        }
        MoveBefore before;
        if (trace) before = MoveBefore::Of(game, round);
        const TurnOutcome outcome = game.PlayComputerTurn(events_);
        counter_.Count(events_);
        ++stats_.Turns;
        stats_.LongestTurnsWithoutProgress =
            std::max<long>(stats_.LongestTurnsWithoutProgress, game.TurnsWithoutProgress);
        if (outcome == TurnOutcome::NotComputer) {
            fault = "round " + std::to_string(round) + ", seat " + std::to_string(seat) + ": not a computer seat";
            return false;
        }
        if ((outcome == TurnOutcome::Passed || (outcome == TurnOutcome::RoundEnded && game.PassesInRow > 0)) &&
            !game.CanDraw())
            ++stats_.PassesNothingToDraw;
        if (check) {
            if (std::string broke = checker_.AfterMove(game); !broke.empty()) {
                fault = "round " + std::to_string(round) + ", seat " + std::to_string(seat) + ": " + broke;
                return false;
            }
        }
        if (trace) WriteMoveLine(*trace, before, events_, game);
    }

    if (game.TurnsWithoutProgress >= Game::kStuckTurns) ++stats_.StuckRounds;
    for (int p = 1; p <= 4; ++p) Mix(stats_.Signature, game.Players[p].Count());
    if (check) checker_.BeforeScoring(game);
    // The round's end and the next deal are counted by nothing but the trace.
    const RoundResult result =
        trace ? game.RoundOver(FirstDiscardRule::kWild, events_) : game.RoundOver(FirstDiscardRule::kWild);
    ++stats_.Rounds;
    ++game_rounds_;
    for (int p = 1; p <= 4; ++p) Mix(stats_.Signature, result.Totals[p]);
    if (trace) {
        for (const Event& e : events_)
            if (e.kind == EventKind::RoundEnded) WriteRoundLine(*trace, round, e);
    }
    if (check) {
        if (std::string broke = checker_.AfterScoring(result.Totals); !broke.empty()) {
            fault = "round " + std::to_string(round) + ", seat " + std::to_string(game.LastMover) + ": " + broke;
            return false;
        }
    }
    if (result.Winner > 0) {
        ++stats_.Games;
        ++stats_.Wins[result.Winner];
        game_rounds_ = 0;
        checker_.StartGame(game);
    }
    if (game.RoundEnded) {
        fault = "round " + std::to_string(round + 1) + ": the next round could not be dealt";
        return false;
    }
    checker_.StartRound(game);
    return true;
}

bool Simulation::Play(long games, bool check, std::ostream* trace, std::string& fault) {
    const long target = stats_.Games + games;
    while (stats_.Games < target) {
        if (game_rounds_ >= kMaxRoundsPerGame) {
            fault = "game " + std::to_string(stats_.Games + 1) + ": the game never ends";
            return false;
        }
        if (!PlayOneRound(check, trace, fault)) return false;
    }
    stats_.RefusedMoves = game_->RefusedMoves;
    stats_.GroupCardsAdded = game_->GroupCardsAdded;
    return true;
}

void Simulation::PlayRound() {
    std::string fault;
    (void)PlayOneRound(false, nullptr, fault);
}

}  // namespace kvt::sim
