// Timing of the headless simulator: rounds and complete games per second on
// one core (the shipped card set and the first three shipped players), and
// the mean time of one computer card choice. Run by hand.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/paths.h"
#include "tools/sim/simulation.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool Prepare(kvt::sim::Simulation& sim) {
    if (kvt::Status s = sim.Setup(kvt::sim::Options{}); !s) {
        std::fprintf(stderr, "sim_bench: %s\n", s.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const double budget = argc > 1 ? std::atof(argv[1]) : 2.0;  // seconds per figure
    const auto shared = kvt::DefaultFolders().SharedData;

    // Rounds per second.
    {
        kvt::sim::WorkFolder work;
        kvt::sim::Simulation sim(work.Path(), shared, 1);
        if (!Prepare(sim)) return 1;
        long rounds = 0;
        const auto start = Clock::now();
        while (Since(start) < budget) {
            for (int i = 0; i < 100; ++i) sim.PlayRound();
            rounds += 100;
        }
        const double seconds = Since(start);
        std::printf("rounds per second        %.0f  (%ld rounds, %.2f s, %.1f turns/round)\n", rounds / seconds,
                    rounds, seconds, static_cast<double>(sim.Result().Turns) / sim.Result().Rounds);
    }
    // Complete games per second.
    {
        kvt::sim::WorkFolder work;
        kvt::sim::Simulation sim(work.Path(), shared, 2);
        if (!Prepare(sim)) return 1;
        long games = 0;
        const auto start = Clock::now();
        while (Since(start) < budget) {
            const kvt::sim::GameResult game = sim.PlayGame(games + 1, kvt::sim::GameSeed(2, games + 1), false, false);
            if (!game.Fault.empty()) {
                std::fprintf(stderr, "sim_bench: %s\n", game.FaultText(0).c_str());
                return 1;
            }
            ++games;
        }
        const double seconds = Since(start);
        std::printf("games per second         %.1f  (%ld games, %.2f s)\n", games / seconds, games, seconds);
    }
    // One card choice: the hands of freshly dealt rounds, each chosen from many times.
    {
        kvt::sim::WorkFolder work;
        kvt::sim::Simulation sim(work.Path(), shared, 3);
        if (!Prepare(sim)) return 1;
        kvt::Game& game = sim.Table();
        long choices = 0;
        long checksum = 0;
        double seconds = 0;
        while (seconds < budget) {
            const int seat = game.CurPlayer;
            const auto start = Clock::now();
            for (int i = 0; i < 1000; ++i) {
                kvt::CardStack hand = game.Players[seat];
                checksum += game.ChooseCompCard(hand, 0);
            }
            seconds += Since(start);
            choices += 1000;
            sim.PlayRound();
        }
        std::printf("ChooseCompCard           %.1f ns per choice  (%ld choices, checksum %ld)\n",
                    seconds * 1e9 / choices, choices, checksum);
    }
    return 0;
}
