#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/move.h"
#include "core/status.h"

namespace kvt {

// The record of one game: what it was played with, its seed and its moves.
// Dealt from the seed on a table with the same card set and players, the
// moves play the same game again. Its text form is in docs/file-formats.md.
// 1: sealed with Fnv1a64, still read; 2: seed and moves; 3: may start from a
// given table and name a seat a person played (keys a reader of 2 cannot skip).
inline constexpr int kGameRecordMajor = 3;
inline constexpr int kGameRecordMinor = 0;

// Hard limits of a record a reader accepts.
inline constexpr std::size_t kMaxGameRecordBytes = 64u << 20;
inline constexpr std::size_t kMaxGameRecordMoves = 1'000'000;
inline constexpr std::size_t kMaxGameRecordName = 65535;  // bytes of a name or title, beyond any player file
inline constexpr std::size_t kMaxChosenCards = 400;
inline constexpr std::size_t kMaxTableBytes = 1u << 20;

struct RecordedPlayer {
    std::string name;
    std::uint64_t file_hash = 0;  // of the player file's bytes; 0: the seat has no file
    bool operator==(const RecordedPlayer&) const = default;
};

struct RecordedMove {
    Move move;
    // The running totals of seats 1..4 when this move scored a round.
    std::optional<std::array<std::int16_t, 4>> scores;
    bool operator==(const RecordedMove&) const = default;
};

struct GameRecord {
    int minor = kGameRecordMinor;  // the minor version read; written as kGameRecordMinor
    std::uint64_t card_set_hash = 0;
    std::string card_set_title;
    std::array<RecordedPlayer, 4> players;  // seats 1..4
    std::uint64_t seed = 0;
    // The text form of the table the moves start from (WriteTableState);
    // empty: the game is dealt from the seed.
    std::string start_table;
    // The seat a person played (its moves are a person's, not the
    // computer's); 0: the computer played every seat.
    int human_seat = 0;
    // The text form of the table after the last move, when the writer gave
    // it (the record the table keeps of its game in progress); not checked
    // against the moves.
    std::string end_table;
    std::vector<RecordedMove> moves;

    // Equal games: the version read is not part of the game.
    bool operator==(const GameRecord& other) const {
        return card_set_hash == other.card_set_hash && card_set_title == other.card_set_title &&
               players == other.players && seed == other.seed && start_table == other.start_table &&
               human_seat == other.human_seat && end_table == other.end_table && moves == other.moves;
    }
};

// 64-bit FNV-1a: the identity of a card set or player file in a record,
// and the seal of a record of major version 1.
std::uint64_t Fnv1a64(std::string_view bytes);
// The seal of a record of major version 2: a 64-bit hash taken eight bytes
// at a time, as docs/file-formats.md gives it.
std::uint64_t GameRecordHash64(std::string_view bytes);

std::string WriteGameRecord(const GameRecord& record);
// Fills `record` from its text form, of major version 1 or 2. A record of
// another major version, a truncated or damaged one, or one beyond the
// limits is refused with a message naming the line; `record` is then
// unchanged. Keys it does not know are skipped, so a later minor version
// reads.
Status ReadGameRecord(std::string_view text, GameRecord& record);

// "play", "draw", ...: the kind as the record names it.
const char* MoveKindName(MoveKind kind);

}  // namespace kvt
