#pragma once

#include <filesystem>
#include <string>

#include "core/status.h"
#include "formats/game_record.h"
#include "tools/sim/options.h"
#include "tools/sim/simulation.h"

namespace kvt::sim {

// What a simulation is played with, as a record names it: the card set's
// and the player files' hashes, its title and the players' names; no moves.
Status RecordIdentity(const Options& options, const std::filesystem::path& shared, const Game& table,
                      GameRecord& identity);

// Plays the game dealt from `seed` with the four computers through the
// match driver, as the run plays it, and fills `record` with its moves.
Status RecordGame(Simulation& sim, std::uint64_t seed, GameRecord& record);

// Refuses a record made with another card set or other players (saying
// which), then deals its seed and replays its moves.
Status ReplayGame(Simulation& sim, const GameRecord& identity, const GameRecord& record);

// kvt-sim --record FILE and --replay FILE: the exit status, with what went
// wrong (or the one line of a replay that held) in `message`.
int WriteRecordFile(const Options& options, const std::filesystem::path& shared, std::string& message);
int ReplayRecordFile(const Options& options, const std::filesystem::path& shared, std::string& message);

}  // namespace kvt::sim
