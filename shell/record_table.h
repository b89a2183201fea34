#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/status.h"
#include "core/table_state.h"
#include "engine/card_set.h"
#include "formats/game_record.h"

namespace kvt {

class Game;

// A card set file and the hash a game record names it by.
struct CardSetFound {
    std::filesystem::path file;
    std::uint64_t hash = 0;
};
// The card set file among `files` and the card sets in `shared` whose cards
// are `at_hand`: the one with the hash `recorded` first, else the first.
std::optional<CardSetFound> FindCardSetFile(std::vector<std::filesystem::path> files, const std::filesystem::path& shared,
                                            const CardSetDef& at_hand, std::uint64_t recorded = 0);

// Where the table looks for the files a game record was played with: the
// card sets and player files beside the record, in the shipped data (its
// card sets and players folder) and the ones named here.
struct RecordSources {
    std::filesystem::path shared;
    std::vector<std::filesystem::path> card_sets;  // e.g. the card set loaded in this run
    std::vector<std::filesystem::path> players;    // e.g. the remembered opponents
};

// A game record played again from its seed through the rules, on a table
// of its own set up as the simulator sets up the one it records (all four
// seats at the computer, seat 1 without a file the simulator's own). The
// table after any move is at hand without keeping every one: the table as
// it stood every kEvery moves is kept, and the moves after it are played again.
class RecordTable {
public:
    static constexpr std::size_t kEvery = 64;

    ~RecordTable();

    // Reads `file` and replays it. Refused, saying why and naming the file:
    // a record that cannot be read, one made with a card set other than
    // `at_hand` (both named with title and hash), a seat whose player file
    // is not found by its hash, a move the rules refuse or whose round
    // totals differ from the record's.
    static Status Open(const std::filesystem::path& file, const CardSetDef& at_hand, const RecordSources& sources,
                       std::unique_ptr<RecordTable>& out);

    const GameRecord& Record() const { return record_; }
    std::size_t Moves() const { return record_.moves.size(); }
    // The players' names, seats 1..4.
    const std::string& Name(int seat) const { return names_.at(static_cast<std::size_t>(seat)); }
    // The table after `step` moves (0: as dealt); `step` is at most Moves().
    // With `before` and a step above 0, also the table before that move.
    Status TableAt(std::size_t step, TableState& out, TableState* before = nullptr);

private:
    RecordTable();
    Status Replay();

    GameRecord record_;
    std::array<std::string, 5> names_;
    std::filesystem::path work_;
    std::unique_ptr<Game> game_;
    // The table every kEvery moves (WriteTableState: far smaller than the
    // state with its empty slots), which is all a replay from there needs.
    std::vector<std::string> kept_tables_;
};

}  // namespace kvt
