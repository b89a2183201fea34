#include "tools/sim/parallel_run.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace kvt::sim {
namespace {

// Takes a thread may run ahead of the oldest take not yet added up: keeps
// the finished traces waiting in memory few.
constexpr long kTakesAheadPerThread = 4;
// A thread takes games in runs of consecutive games (a take), so that the
// threads meet at the lock once per take rather than once a game; at most
// this many, and few enough that every thread gets a share of a short run.
// A traced run takes one game at a time: a game's trace is large.
constexpr long kMostGamesPerTake = 16;
constexpr long kTakesPerThread = 32;
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

// Adds one thread's figures (every game it played) to the run's; the
// signature is the run's own, folded in game order.
void AddUp(Stats& run, const Stats& g) {
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
        if (table->work.Path().empty()) return Status::Fail(table->work.Problem());
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
    const long per_take =
        trace ? 1 : std::clamp<long>(options.Games / (jobs * kTakesPerThread), 1, kMostGamesPerTake);
    const long takes = (options.Games + per_take - 1) / per_take;

    // Take t holds games t * per_take + 1 on. Each thread adds its games'
    // figures up itself; the results carry what must go in game order.
    std::mutex mutex;
    std::condition_variable changed;
    long next_take = 0;  // the next take a thread plays
    long added = 0;      // takes added up so far, in order
    bool stop = false;
    std::map<long, std::vector<GameResult>> finished;
    const long ahead = kTakesAheadPerThread * jobs;

    const auto play = [&](Simulation& sim) {
        for (;;) {
            long take = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || next_take >= takes || next_take < added + ahead; });
                if (stop || next_take >= takes) return;
                take = next_take++;
            }
            std::vector<GameResult> results;
            const long first = take * per_take + 1;
            const long last = std::min(options.Games, first + per_take - 1);
            results.reserve(static_cast<std::size_t>(last - first + 1));
            for (long game = first; game <= last; ++game) {
                results.push_back(sim.PlayGameForRun(game, GameSeed(options.Seed, game), options.Check,
                                                     trace != nullptr, options.Json));
                if (!results.back().Fault.empty()) break;  // the run ends there
            }
            {
                std::lock_guard lock(mutex);
                finished.emplace(take, std::move(results));
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(tables_.size());
    for (const auto& table : tables_) {
        try {
            threads.emplace_back(play, std::ref(*table->sim));
        } catch (const std::system_error& error) {
            // Fewer threads play the same games to the same figures; none cannot play at all.
            if (!threads.empty()) break;
            outcome.Fault = std::string("cannot start a thread to play on: ") + error.what();
            return outcome;
        }
    }

    outcome.Finished = true;
    long game = 0;
    long rounds_before = 0;
    for (long take = 0; take < takes && outcome.Finished; ++take) {
        std::vector<GameResult> results;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return finished.count(take) > 0; });
            auto it = finished.find(take);
            results = std::move(it->second);
            finished.erase(it);
            added = take + 1;
        }
        changed.notify_all();
        for (const GameResult& result : results) {
            ++game;
            if (trace) WriteShiftedTrace(*trace, result.Trace, rounds_before);
            if (!result.Fault.empty()) {
                outcome.Finished = false;
                outcome.Fault = result.FaultText(rounds_before);
                break;
            }
            rounds_before += result.Rounds;
            for (const std::int16_t v : result.SignatureValues) MixSignature(outcome.Figures.Signature, v);
            // Whoever shows the run's progress reads it line by line as games end.
            if (options.Progress && (game % std::max<long>(1, options.Games / 100) == 0 || game == options.Games))
                std::cerr << "progress " << game << " " << options.Games << std::endl;
        }
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
    }
    changed.notify_all();
    for (std::thread& t : threads) t.join();
    // Every game was played and added up on its thread: the run's figures
    // are the sum of the threads'. (A run that broke prints none.)
    if (outcome.Finished)
        for (const auto& table : tables_) AddUp(outcome.Figures, table->sim->FlushRunFigures());
    return outcome;
}

}  // namespace kvt::sim
