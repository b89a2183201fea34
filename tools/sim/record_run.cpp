#include "tools/sim/record_run.h"

#include <cstdio>
#include <memory>

#include "engine/computer_seat.h"
#include "engine/working_files.h"
#include "match/record_replay.h"
#include "platform/files.h"

namespace kvt::sim {
namespace {

// Far beyond any real game, as the run's own limits.
constexpr long kMaxMovesPerGame = 20'000'000;
constexpr std::size_t kMaxFileBytes = 256u << 20;

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

Status FileHash(const std::filesystem::path& path, std::uint64_t& hash) {
    std::string bytes;
    if (Status s = ReadWholeFile(path, bytes, kMaxFileBytes); !s) return s;
    hash = Fnv1a64(bytes);
    return Status::Ok();
}

std::string Hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string Who(const RecordedPlayer& player) { return "\"" + player.name + "\" (" + Hex(player.file_hash) + ")"; }

}  // namespace

Status RecordIdentity(const Options& options, const std::filesystem::path& shared, const Game& table,
                      GameRecord& identity) {
    const std::filesystem::path cards = options.Cards.empty() ? shared / files::kDefaultCardSet : options.Cards;
    if (Status s = FileHash(cards, identity.card_set_hash); !s) return s;
    identity.card_set_title = Trimmed(table.CardSet.GameTitle);
    std::vector<std::filesystem::path> players = options.Players;
    if (players.empty()) {
        players = ShippedPlayers(shared);
        players.resize(3);
    }
    // Seats 2..4 from the first three files, seat 1 from a fourth or none.
    for (int seat = 1; seat <= 4; ++seat) {
        RecordedPlayer& player = identity.players[static_cast<std::size_t>(seat - 1)];
        player.name = table.PlayerInfo[seat].Name;
        const std::size_t file = seat == 1 ? 3 : static_cast<std::size_t>(seat - 2);
        player.file_hash = 0;
        if (file < players.size())
            if (Status s = FileHash(players[file], player.file_hash); !s) return s;
    }
    return Status::Ok();
}

Status RecordGame(Simulation& sim, std::uint64_t seed, GameRecord& record) {
    Game& game = sim.Table();
    sim.DealGame(seed);
    record.seed = seed;
    record.moves.clear();
    ComputerSeat computer(game);
    MatchDriver driver(game);
    for (int seat = 1; seat <= 4; ++seat) driver.SetSeat(seat, &computer);
    driver.SetMoveListener([&record](const Move& move, const Events& events) { AddToRecord(record, move, events); });
    Events events;
    for (long moves = 0; moves < kMaxMovesPerGame; ++moves) {
        if (driver.Advance(events) != MatchDriver::Step::Applied)
            return Status::Fail("move " + std::to_string(moves + 1) + " of the game: " + driver.Refusal().message());
        for (const Event& e : events)
            if (e.kind == EventKind::RoundEnded && e.seat > 0) return Status::Ok();  // the game is won
    }
    return Status::Fail("the game never ends");
}

Status ReplayGame(Simulation& sim, const GameRecord& identity, const GameRecord& record) {
    if (record.card_set_hash != identity.card_set_hash)
        return Status::Fail("the record was played with the card set \"" + record.card_set_title + "\" (" +
                            Hex(record.card_set_hash) + "); the card set at hand is \"" + identity.card_set_title +
                            "\" (" + Hex(identity.card_set_hash) + ")");
    for (std::size_t p = 0; p < record.players.size(); ++p)
        if (record.players[p].file_hash != identity.players[p].file_hash)
            return Status::Fail("the player of seat " + std::to_string(p + 1) + " differs: the record has " +
                                Who(record.players[p]) + ", the player at hand is " + Who(identity.players[p]));
    Game& game = sim.Table();
    if (record.start_table.empty()) {
        sim.DealGame(record.seed);
    } else if (Status s = ReadTableState(record.start_table, game.State()); !s) {
        return Status::Fail("its starting table cannot be read: " + s.message());
    }
    // A game played at the table: seat 1's moves are the person's, and the
    // players' sound cues were chosen.
    game.ComputerSeat1 = record.human_seat != 1;
    game.PlayerSounds = record.human_seat != 0;
    MatchDriver driver(game);
    return ReplayMoves(record, driver);
}

namespace {

// A table set up as the run sets up its own, with the identity of its files.
struct RecordTable {
    WorkFolder work;
    std::unique_ptr<Simulation> sim;
    GameRecord identity;

    Status Setup(const Options& options, const std::filesystem::path& shared) {
        if (work.Path().empty()) return Status::Fail(work.Problem());
        sim = std::make_unique<Simulation>(work.Path(), shared, options.Seed);
        if (Status s = sim->Setup(options); !s) return s;
        return RecordIdentity(options, shared, sim->Table(), identity);
    }
};

}  // namespace

int WriteRecordFile(const Options& options, const std::filesystem::path& shared, std::string& message) {
    RecordTable table;
    GameRecord record;
    Status s = table.Setup(options, shared);
    if (s) {
        record = table.identity;
        s = RecordGame(*table.sim, GameSeed(options.Seed, 1), record);
    }
    if (s) s = WriteFileAtomically(options.Record, WriteGameRecord(record));
    if (s) return 0;
    message = "cannot record the game in \"" + options.Record.string() + "\": " + s.message();
    return 1;
}

int ReplayRecordFile(const Options& options, const std::filesystem::path& shared, std::string& message) {
    const std::string name = "\"" + options.Replay.string() + "\": ";
    std::string text;
    GameRecord record;
    if (Status s = ReadWholeFile(options.Replay, text, kMaxGameRecordBytes + 1); !s) {
        message = s.message();
        return 1;
    }
    if (Status s = ReadGameRecord(text, record); !s) {
        message = name + s.message();
        return 1;
    }
    RecordTable table;
    if (Status s = table.Setup(options, shared); !s) {
        message = s.message();
        return 1;
    }
    if (Status s = ReplayGame(*table.sim, table.identity, record); !s) {
        message = name + s.message();
        return 1;
    }
    message = name + "OK, " + std::to_string(record.moves.size()) + " moves replay";
    return 0;
}

}  // namespace kvt::sim
