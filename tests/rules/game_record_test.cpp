// The game record: its text form read back, a recorded game replayed to the
// same table, and a changed, cut or foreign record refused where it goes wrong.
#include <gtest/gtest.h>

#include "actions/computer_seat.h"
#include "formats/game_record.h"
#include "match/record_replay.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

// A game of four computers through the driver for `rounds` rounds: its
// record, with the table as dealt and as it ends.
struct Recorded {
    GameRecord record;
    TableState dealt;
    std::string end;
};

Recorded RecordRounds(RulesTable& table, int rounds) {
    Game& game = *table.game;
    game.ComputerSeat1 = true;
    Recorded out;
    out.dealt = game.State();
    out.record.card_set_title = "Four Winds";
    ComputerSeat computer(game);
    MatchDriver driver(game);
    for (int seat = 1; seat <= 4; ++seat) driver.SetSeat(seat, &computer);
    int acknowledged = 0;
    driver.SetMoveListener([&](const Move& move, const Events& events) {
        AddToRecord(out.record, move, events);
        acknowledged += move.kind == MoveKind::Acknowledge;
    });
    Events events;
    for (int step = 0; step < 20000 && acknowledged < rounds; ++step)
        EXPECT_EQ(driver.Advance(events), MatchDriver::Step::Applied) << driver.Refusal().message();
    out.end = WriteTableState(game.State());
    return out;
}

Status Replay(RulesTable& table, const Recorded& recorded, const GameRecord& record) {
    table.game->State() = recorded.dealt;
    MatchDriver driver(*table.game);
    return ReplayMoves(record, driver);
}

// The index of the first move that scored a round.
std::size_t FirstScored(const GameRecord& record) {
    for (std::size_t i = 0; i < record.moves.size(); ++i)
        if (record.moves[i].scores) return i;
    return record.moves.size();
}

// A record's text with a fresh end line: the count and the hash made to fit.
std::string Sealed(std::string body, std::size_t moves) {
    body += "end " + std::to_string(moves) + " ";
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a64(body.substr(0, body.rfind("end ")))));
    return body + hash + "\n";
}

const std::string kBody =
    "KVT game record 1.0\ncard-set 00000000000000ff A \\x5c title\nplayer 1 0000000000000000 Computer\n"
    "player 2 0000000000000001 Ann\nplayer 3 0000000000000002 Bo\nplayer 4 0000000000000003 Cy\nseed 42\n"
    "move play 2 3 0 1 4\nmove acknowledge 1 -1 0\nscores 10 -5 0 7\n";

TEST(GameRecord, WrittenAndReadIsTheSameRecord) {
    GameRecord record;
    record.card_set_title = "Title with \\ and\nnew line\x7f";
    record.card_set_hash = 0xfedcba9876543210ull;
    record.players = {RecordedPlayer{"Computer", 0}, {"Ann Lee", 1}, {"", 2}, {"  Cy  " + std::string(40000, 'y'), ~0ull}};
    record.seed = ~0ull;
    record.moves = {{Move{MoveKind::Play, 2, 3, 0, {1, 4}}, {}},
                    {Move{MoveKind::Take, 3, 0, 4, {}}, {}},
                    {Move{MoveKind::Acknowledge, 1, -1, 0, {}}, std::array<std::int16_t, 4>{10, -5, 0, 32767}}};
    GameRecord read;
    ASSERT_TRUE(ReadGameRecord(WriteGameRecord(record), read).ok());
    EXPECT_EQ(read, record);
    EXPECT_EQ(WriteGameRecord(read), WriteGameRecord(record));
}

TEST(GameRecord, ARecordedGameReplaysToTheSameTableAndAChangedMoveOrScoreIsCaughtAtThatMove) {
    RulesTable table(EveryActionSet(), 3);
    const Recorded recorded = RecordRounds(table, 3);
    const std::size_t scored = FirstScored(recorded.record);
    ASSERT_TRUE(scored >= 1 && scored < recorded.record.moves.size());
    GameRecord read;
    ASSERT_TRUE(ReadGameRecord(WriteGameRecord(recorded.record), read).ok());
    ASSERT_TRUE(Replay(table, recorded, read).ok());
    EXPECT_EQ(WriteTableState(table.game->State()), recorded.end);

    const struct {
        const char* what;
        std::size_t at;
        void (*change)(RecordedMove&);
        const char* says;
    } cases[] = {
        {"another seat", 2, [](RecordedMove& m) { m.move.seat = static_cast<std::int16_t>(m.move.seat % 4 + 1); }, "is refused"},
        {"an acknowledge mid-round", 0, [](RecordedMove& m) { m.move.kind = MoveKind::Acknowledge; }, "is refused"},
        {"a changed total", scored, [](RecordedMove& m) { ++(*m.scores)[2]; }, "; the record says"},
        {"a lost total", scored, [](RecordedMove& m) { m.scores.reset(); }, "no round scored"},
    };
    for (const auto& c : cases) {
        GameRecord changed = recorded.record;
        c.change(changed.moves[c.at]);
        const Status replayed = Replay(table, recorded, changed);
        ASSERT_FALSE(replayed.ok()) << c.what;
        EXPECT_EQ(replayed.message().rfind("move " + std::to_string(c.at + 1) + " (", 0), 0u) << c.what << ": " << replayed.message();
        EXPECT_NE(replayed.message().find(c.says), std::string::npos) << c.what << ": " << replayed.message();
    }
}

TEST(GameRecord, ABadRecordIsRefusedNamingTheLine) {
    const std::string good = Sealed(kBody, 2);
    std::string damaged = good;
    damaged[good.find("move play 2 3") + 10] = '4';  // seat 4 instead of 2
    const struct {
        std::string text;
        const char* says;
    } cases[] = {
        {"", "line 1: not a KVT game record"},
        {"\x89PNG\r\n\x1a\n garbage", "line 1: not a KVT game record"},
        {"KVT game record 2.0\n" + good.substr(good.find('\n') + 1), "line 1: a game record of format 2.0"},
        {good.substr(0, good.size() / 2), "the record is cut off"},
        {kBody, "line 11: the record is cut off (no \"end\" line)"},
        {good.substr(0, good.size() - 1), "line 11: the record is cut off"},
        {damaged, "line 11: the record is damaged"},
        {good + "move pass 1 -1 0\n", "line 12: text after the end"},
        {Sealed(kBody, 3), "line 11: the record says 3 moves and holds 2"},
        {Sealed(kBody + "seed 43\n", 2), "line 11: a second \"seed\" line"},
        {Sealed(kBody + "move fly 1 -1 0\n", 3), "line 11: no move is called \"fly\""},
        {Sealed(kBody + "move draw 5 -1 0\n", 3), "line 11: a move wants its seat"},
        {Sealed(kBody + "move play 1 0 0 999\n", 3), "line 11: a chosen card wants"},
        {Sealed(kBody + "scores 1 2 3 4\n", 2), "line 11: scores that follow no move"},
        {Sealed(kBody.substr(0, kBody.find("seed")), 0), "the record has no \"seed\" line"},
        {std::string(kMaxGameRecordBytes + 1, 'K'), "larger than"},
    };
    for (const auto& c : cases) {
        GameRecord record;
        record.seed = 5;
        const Status read = ReadGameRecord(c.text, record);
        ASSERT_FALSE(read.ok()) << c.says;
        EXPECT_NE(read.message().find(c.says), std::string::npos) << read.message();
        EXPECT_EQ(record.seed, 5u) << "a refused record fills nothing";
    }
}

TEST(GameRecord, ALaterMinorVersionReadsSkippingWhatItAdds) {
    std::string body = kBody;
    body.replace(body.find("1.0"), 3, "1.7");
    body += "comment added later\nmove pass 1 -1 0\n";
    GameRecord record;
    ASSERT_TRUE(ReadGameRecord(Sealed(body, 3), record).ok());
    EXPECT_EQ(std::tuple(record.minor, record.card_set_title, record.players[1].name), std::tuple(7, "A \\ title", "Ann"));
    ASSERT_EQ(record.moves.size(), 3u);
    EXPECT_EQ(record.moves[0].move, (Move{MoveKind::Play, 2, 3, 0, {1, 4}}));
    EXPECT_EQ(record.moves[1].scores, (std::array<std::int16_t, 4>{10, -5, 0, 7}));
}

}  // namespace
}  // namespace kvt::test
