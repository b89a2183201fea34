// The game record: its text form read back, a recorded game replayed to the
// same table, and a changed, cut or foreign record refused where it goes wrong.
#include <gtest/gtest.h>

#include "engine/computer_seat.h"
#include "formats/game_record.h"
#include "match/record_replay.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

Status Replay(RulesTable& table, const RecordedRounds& recorded, const GameRecord& record) {
    table.game->State() = recorded.dealt;
    MatchDriver driver(*table.game);
    std::size_t reported = 0;  // the moves replayed so far, as the progress hears them
    const Status replayed = ReplayMoves(record, driver, [&](std::size_t played) { EXPECT_EQ(played, ++reported); });
    EXPECT_TRUE(!replayed || reported == record.moves.size()) << reported << " moves reported";
    return replayed;
}

// A record's text with a fresh end line: the count and the hash made to
// fit, the hash of the record's major version.
std::string Sealed(std::string body, std::size_t moves) {
    const std::uint64_t seal = body.starts_with("KVT game record 1.") ? Fnv1a64(body) : GameRecordHash64(body);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(seal));
    return body + "end " + std::to_string(moves) + " " + hash + "\n";
}

const std::string kBody =
    "KVT game record 2.0\ncard-set 00000000000000ff A \\x5c title\nplayer 1 0000000000000000 Computer\n"
    "player 2 0000000000000001 Ann\nplayer 3 0000000000000002 Bo\nplayer 4 0000000000000003 Cy\nseed 42\n"
    "move play 2 3 0 1 4\nmove acknowledge 1 -1 0\nscores 10 -5 0 7\n";

// The same record as the first major version wrote it.
std::string FirstVersion(std::string body) { return body.replace(body.find("2.0"), 3, "1.0"); }

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
    const std::string text = WriteGameRecord(record);
    EXPECT_EQ(text.rfind("KVT game record 2.0\n", 0), 0u);
    ASSERT_TRUE(ReadGameRecord(text, read).ok());
    EXPECT_EQ(read, record);
    EXPECT_EQ(read.moves.capacity(), read.moves.size()) << "room for the moves is made once, from the end line";
    EXPECT_EQ(WriteGameRecord(read), text);

    // A game a person played from a given table: format 3, no seed, the table line by line.
    record.human_seat = 1;
    record.start_table = "kvt table state 1\nturn 1\n";
    record.seed = 0;  // the table holds the generator
    record.end_table = "kvt table state 1\nturn 2\n";
    record.moves.push_back({Move{MoveKind::Play, 1, 6, 0, {2}, true}, {}});
    const std::string third = WriteGameRecord(record);
    EXPECT_EQ(third.rfind("KVT game record 3.0\n", 0), 0u);
    EXPECT_NE(third.find("human 1\ntable kvt table state 1\ntable turn 1\nlast-table kvt table state 1\nlast-table turn 2\n"),
              std::string::npos);
    EXPECT_NE(third.find("move play 1 6 -1 2\n"), std::string::npos) << "the drawn card's play";
    EXPECT_EQ(third.find("seed"), std::string::npos);
    ASSERT_TRUE(ReadGameRecord(third, read).ok());
    EXPECT_EQ(read, record);
}

// The first major version and later minor ones read (what a later minor
// version adds skipped, the person's table of format 3 too), and the first is
// written in the second.
TEST(GameRecord, EarlierAndLaterVersionsReadAndTheFirstIsWrittenInTheSecond) {
    const std::string first = Sealed(FirstVersion(kBody), 2);
    GameRecord old, now;
    ASSERT_TRUE(ReadGameRecord(first, old).ok());
    ASSERT_TRUE(ReadGameRecord(Sealed(kBody, 2), now).ok());
    EXPECT_EQ(old, now);
    EXPECT_EQ(WriteGameRecord(old), Sealed(kBody, 2));

    // Each version is sealed with its own hash: the other's does not pass.
    for (auto [text, other] : {std::pair{Sealed(kBody, 2), first}, {first, Sealed(kBody, 2)}}) {
        text.replace(text.size() - 17, 16, other.substr(other.size() - 17, 16));
        EXPECT_NE(ReadGameRecord(text, now).message().find("line 11: the record is damaged"), std::string::npos);
    }

    for (const char* version : {"2.7", "1.7"}) {
        std::string body = kBody;
        body.replace(body.find("2.0"), 3, version);
        body.insert(body.find("move "), "human 1\ntable turn 1\n");
        body += "comment added later\n\nmove pass 1 -1 0\n";
        ASSERT_TRUE(ReadGameRecord(Sealed(body, 3), now).ok()) << version;
        EXPECT_EQ(std::tuple(now.minor, now.card_set_title, now.players[1].name, now.moves.size(), now.human_seat,
                             now.start_table),
                  std::tuple(7, "A \\ title", "Ann", 3u, 0, std::string()));
        EXPECT_EQ(std::vector<RecordedMove>(now.moves.begin(), now.moves.begin() + 2), old.moves);
    }
}

// The word-at-a-time hash as docs/file-formats.md spells it out, word by
// word, against the one the records are sealed with.
std::uint64_t HashAsSpecified(std::string_view bytes) {
    std::string padded(bytes);
    padded.resize((bytes.size() + 7) / 8 * 8, '\0');
    std::uint64_t lanes[4];
    for (std::uint64_t i = 0; i < 4; ++i) lanes[i] = (i + 1) * 0x9e3779b97f4a7c15ull;
    for (std::size_t k = 0; k < padded.size() / 8; ++k) {
        std::uint64_t word = 0;
        for (std::size_t b = 0; b < 8; ++b) word |= std::uint64_t{static_cast<unsigned char>(padded[8 * k + b])} << (8 * b);
        std::uint64_t& lane = lanes[k % 4];
        lane = (lane ^ word) * 0xff51afd7ed558ccdull;
        lane ^= lane >> 32;
    }
    std::uint64_t hash = bytes.size();
    for (const std::uint64_t lane : lanes) {
        hash = (hash ^ lane) * 0xc4ceb9fe1a85ec53ull;
        hash ^= hash >> 29;
    }
    return hash;
}

TEST(GameRecord, TheSecondVersionsHashIsTheOneTheFileFormatGives) {
    // The examples in docs/file-formats.md.
    EXPECT_EQ(GameRecordHash64(""), 0xebe6795a1dba2842ull);
    EXPECT_EQ(GameRecordHash64("a"), 0x81d4fe47470c9364ull);
    EXPECT_EQ(GameRecordHash64("KVT game record 2.0\n"), 0xab0064e8f9fee68aull);
    EXPECT_EQ(GameRecordHash64("0123456789abcdefghijklmnopqrstuvwxyz"), 0xf12647bda94c47daull);
    // Every length of a whole block and of each tail, and a byte changed anywhere.
    const std::string body = Sealed(kBody, 2);
    for (std::size_t size = 0; size <= 100; ++size) {
        const std::string_view bytes = std::string_view(body).substr(0, size);
        ASSERT_EQ(GameRecordHash64(bytes), HashAsSpecified(bytes)) << size << " bytes";
    }
    for (std::size_t at = 0; at < kBody.size(); ++at) {
        std::string changed = kBody;
        changed[at] ^= 0x01;
        EXPECT_NE(GameRecordHash64(changed), GameRecordHash64(kBody)) << "byte " << at;
    }
    EXPECT_NE(GameRecordHash64(kBody + '\0'), GameRecordHash64(kBody));
}

TEST(GameRecord, ARecordedGameReplaysToTheSameTableAndAChangedMoveOrScoreIsCaughtAtThatMove) {
    RulesTable table(EveryActionSet(), 3);
    const RecordedRounds recorded = RecordComputerRounds(*table.game, 3);
    const auto& moves = recorded.record.moves;
    const std::size_t scored =
        std::find_if(moves.begin(), moves.end(), [](auto& m) { return m.scores.has_value(); }) - moves.begin();
    ASSERT_TRUE(scored >= 1 && scored < moves.size());
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
        {"KVT game record 4.0\n" + good.substr(good.find('\n') + 1), "line 1: a game record of format 4.0"},
        {"KVT game record 0.9\n" + good.substr(good.find('\n') + 1), "line 1: a game record of format 0.9"},
        {FirstVersion(good), "line 11: the record is damaged"},  // sealed with the second version's hash
        {good.substr(0, good.size() / 2), "the record is cut off"},
        {kBody, "line 11: the record is cut off (no \"end\" line)"},
        {good.substr(0, good.size() - 1), "line 11: the record is cut off"},
        {damaged, "line 11: the record is damaged"},
        {good + "move pass 1 -1 0\n", "line 12: text after the end"},
        {Sealed(kBody, 3), "line 11: the record says 3 moves and holds 2"},
        {Sealed(kBody, 999'999'999), "line 11: the record says 999999999 moves and holds 2"},  // and makes no room
        {Sealed(kBody + "seed 43\n", 2), "line 11: a second \"seed\" line"},
        {Sealed(kBody + "scores 1 2 3 4\n", 2), "line 11: scores that follow no move"},
        {Sealed(kBody + "move view-score 1 -1 0\n", 3), "line 11: no move is called \"view-score\""},  // format 3's
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

TEST(GameRecord, AMoveLineIsReadWordForWord) {
    const std::pair<const char*, Move> read_cases[] = {
        {"move play 2 3 0 1 4", Move{MoveKind::Play, 2, 3, 0, {1, 4}}},
        {"move play 02 -0 00 400 0", Move{MoveKind::Play, 2, 0, 0, {400, 0}}},
        {"move take 4 400 3 ", Move{MoveKind::Take, 4, 400, 3, {}}},
        {"move name-group 1 -1 0", Move{MoveKind::NameGroup, 1, -1, 0, {}}},
        {"move pass 1 -1 0 7 ", Move{MoveKind::Pass, 1, -1, 0, {7}}},
    };
    for (const auto& [line, move] : read_cases) {
        GameRecord record;
        const Status read = ReadGameRecord(Sealed(kBody + line + "\n", 3), record);
        ASSERT_TRUE(read.ok()) << line << ": " << read.message();
        EXPECT_EQ(record.moves.back().move, move) << line;
    }
    std::string chosen = "move play 1 0 0";
    for (std::size_t i = 0; i < kMaxChosenCards; ++i) chosen += " 1";
    GameRecord record;
    EXPECT_TRUE(ReadGameRecord(Sealed(kBody + chosen + "\n", 3), record).ok());
    const std::pair<const char*, std::vector<std::string>> refused[] = {
        {"no move is called \"\"", {"move", "move ", "move  play 1 0 0"}},
        {"no move is called \"Play\"", {"move Play 1 0 0"}},
        {"no move is called \"plays\"", {"move plays 1 0 0"}},
        {"a move wants its seat", {"move draw", "move draw 1 -1", "move draw +1 -1 0", "move draw 1  -1 0",
                                   "move draw 1 -1 0x0", "move draw 1 - 0", "move draw 65537 -1 0", "move draw 1 401 0",
                                   "move draw 1 -2 0", "move draw 1 -1 5", "move draw 5 -1 0"}},
        {"a chosen card wants", {"move play 1 0 0  ", "move play 1 0 0 -1", "move play 1 0 0 999",
                                 "move play 1 0 0 1\t", "move play 1 0 0 99999999999", chosen + " 1"}},
    };
    for (const auto& [says, lines] : refused) {
        for (const std::string& line : lines) {
            const Status read = ReadGameRecord(Sealed(kBody + line + "\n", 2), record);
            EXPECT_NE(read.message().find(std::string("line 11: ") + says), std::string::npos)
                << line << ": " << read.message();
        }
    }
}

}  // namespace
}  // namespace kvt::test
