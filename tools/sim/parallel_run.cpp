#include "tools/sim/parallel_run.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace kvt::sim {
namespace {

// Games a thread may run ahead of the oldest game not yet added up: keeps
// the finished traces waiting in memory few.
constexpr long kGamesAheadPerThread = 4;
// Each thread sets up a table with its own working folder: far more threads
// than cores would only fill the temporary folder.
constexpr long kMostThreads = 256;

// Writes a game's trace lines with their rounds counted over the run.
void WriteShiftedTrace(std::ostream& out, const std::string& lines, long rounds_before) {
    constexpr std::string_view kPrefix = "{\"round\":";
    std::string_view rest = lines;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
        rest.remove_prefix(line.size());
        long round = 0;
        const char* digits = line.data() + kPrefix.size();
        const auto [after, ec] = line.substr(0, kPrefix.size()) == kPrefix
                                     ? std::from_chars(digits, line.data() + line.size(), round)
                                     : std::from_chars_result{nullptr, std::errc::invalid_argument};
        if (ec != std::errc()) {
            out << line;
            continue;
        }
        out << kPrefix << rounds_before + round;
        out.write(after, line.data() + line.size() - after);
    }
}

void AddUp(Stats& run, const GameResult& game) {
    const Stats& g = game.Figures;
    run.Games += g.Games;
    run.Rounds += g.Rounds;
    run.Turns += g.Turns;
    for (int p = 1; p <= 4; ++p) run.Wins[p] += g.Wins[p];
    run.CardsDrawn += g.CardsDrawn;
    run.DeckRebuilds += g.DeckRebuilds;
    for (const auto& [action, n] : g.Played) run.Played[action] += n;
    for (const auto& [card, n] : g.PlayedCards) run.PlayedCards[card] += n;
    run.StarterWins += g.StarterWins;
    run.PassesNothingToDraw += g.PassesNothingToDraw;
    run.RefusedMoves += g.RefusedMoves;
    run.GroupCardsAdded += g.GroupCardsAdded;
    run.StuckRounds += g.StuckRounds;
    run.LongestTurnsWithoutProgress = std::max(run.LongestTurnsWithoutProgress, g.LongestTurnsWithoutProgress);
    for (const std::int16_t v : game.SignatureValues) MixSignature(run.Signature, v);
}

}  // namespace

int JobsFor(int asked) {
    if (asked > 0) return asked;
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

Status ParallelRun::Setup(const Options& options, const std::filesystem::path& shared, int jobs) {
    options_ = options;
    tables_.clear();
    const long threads = std::clamp<long>(jobs, 1, std::clamp<long>(options.Games, 1, kMostThreads));
    for (long i = 0; i < threads; ++i) {
        auto table = std::make_unique<Table>();
        if (table->work.Path().empty()) return Status::Fail("cannot make a working folder in the temporary folder");
        table->sim = std::make_unique<Simulation>(table->work.Path(), shared, options.Seed);
        if (Status s = table->sim->Setup(options); !s) return s;
        tables_.push_back(std::move(table));
    }
    return Status::Ok();
}

RunOutcome ParallelRun::Play(std::ostream* trace) {
    const Options& options = options_;
    RunOutcome outcome;
    const long jobs = static_cast<long>(tables_.size());

    std::mutex mutex;
    std::condition_variable changed;
    long next_game = 1;  // the next game a thread takes
    long added = 0;      // games added up so far, in order
    bool stop = false;
    std::map<long, GameResult> finished;
    const long ahead = kGamesAheadPerThread * jobs;

    const auto play = [&](Simulation& sim) {
        for (;;) {
            long game = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || next_game > options.Games || next_game <= added + ahead; });
                if (stop || next_game > options.Games) return;
                game = next_game++;
            }
            GameResult result =
                sim.PlayGame(game, GameSeed(options.Seed, game), options.Check, trace != nullptr, options.Json);
            {
                std::lock_guard lock(mutex);
                finished.emplace(game, std::move(result));
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(tables_.size());
    for (const auto& table : tables_) threads.emplace_back(play, std::ref(*table->sim));

    outcome.Finished = true;
    for (long game = 1; game <= options.Games; ++game) {
        GameResult result;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return finished.count(game) > 0; });
            auto it = finished.find(game);
            result = std::move(it->second);
            finished.erase(it);
            added = game;
        }
        changed.notify_all();
        if (trace) WriteShiftedTrace(*trace, result.Trace, outcome.Figures.Rounds);
        if (!result.Fault.empty()) {
            outcome.Finished = false;
            outcome.Fault = result.FaultText(outcome.Figures.Rounds);
            break;
        }
        AddUp(outcome.Figures, result);
        // Whoever shows the run's progress reads it line by line as games end.
        if (options.Progress && (game % std::max<long>(1, options.Games / 100) == 0 || game == options.Games))
            std::cerr << "progress " << game << " " << options.Games << std::endl;
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
    }
    changed.notify_all();
    for (std::thread& t : threads) t.join();
    return outcome;
}

}  // namespace kvt::sim
