#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/status.h"
#include "tools/sim/options.h"
#include "tools/sim/simulation.h"

namespace kvt::sim {

// What a whole run gave.
struct RunOutcome {
    Stats Figures;      // Seconds and the process figures are the caller's
    bool Finished = false;
    std::string Fault;  // when not finished: where and what
};

// The threads a run uses: `asked`, or with 0 every core the machine has.
int JobsFor(int asked);

// Plays options.Games games of options.Seed on a number of threads, each
// with its own table. Game n is dealt from GameSeed(seed, n); the results
// are added up, and the trace written, in game order, so the outcome is the
// same for any number of threads. A run stops at the first game (in order)
// that breaks.
class ParallelRun {
public:
    // Sets up a table for each of `jobs` threads (at most 256, and no more
    // than there are games). The message names the file that failed.
    Status Setup(const Options& options, const std::filesystem::path& shared, int jobs);
    RunOutcome Play(std::ostream* trace);

private:
    // One thread's own table and the folder its working files go to.
    struct Table {
        WorkFolder work;
        std::unique_ptr<Simulation> sim;
    };
    Options options_;
    std::vector<std::unique_ptr<Table>> tables_;
};

}  // namespace kvt::sim
