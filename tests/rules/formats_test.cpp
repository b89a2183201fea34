// The text forms of a game: the table state and the table in progress, the
// game record and its replay, each read back and refused where it goes wrong.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "core/move.h"
#include "engine/computer_seat.h"
#include "formats/game_record.h"
#include "match/record_replay.h"
#include "formats/table_save.h"
#include "formats/text_fields.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

// Computer turns until `turns` were played, scoring rounds as they end.
void PlayOn(Game& game, int turns) {
    for (int t = 0; t < turns; ++t) {
        if (game.RoundEnded) game.RoundOver(FirstDiscardRule::kWild);
        game.PlayComputerTurn();
    }
}

class TableStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.view.record = false;
        game.ComputerSeat1 = true;
        PlayOn(game, 150);  // mid-game: scores, a reversed direction or a rebuilt deck likely
    }
    RulesTable table{EveryActionSet(), 3};
    Game& game = *table.game;
};

TEST(Generator, IsTheStandardMersenneTwisterNumberForNumberAndInItsText) {
    for (const std::uint64_t seed : {0ull, 1ull, 2026ull, ~0ull}) {
        std::mt19937_64 standard(seed);
        MersenneTwister64 ours(seed);
        // Past several refills of the state, and each text form read by the other.
        for (int i = 0; i < 1000; ++i) ASSERT_EQ(ours(), standard()) << "seed " << seed << ", draw " << i;
        std::ostringstream standard_text, our_text;
        standard_text << standard;
        our_text << ours;
        EXPECT_EQ(our_text.str(), standard_text.str());
        std::istringstream(standard_text.str()) >> ours;
        for (int i = 0; i < 400; ++i) standard();
        std::istringstream(our_text.str()) >> standard;
        EXPECT_EQ(ours(), standard());
    }
}

// What the command-line programs print: line breaks and UTF-8 characters stay, the rest is spelled out.
TEST(TerminalText, ControlBytesC1ControlsAndBytesThatAreNoUtf8AreSpelledOut) {
    EXPECT_EQ(text_fields::ForTerminal("a\x1b[2J\tb\nCaf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x82\xa1 \xc2\x9b \x9b \xe9 \x7f \xe2\x82"),
              "a\\x1B[2J\\x09b\nCaf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x82\xa1 \\xC2\\x9B \\x9B \\xE9 \\x7F \\xE2\\x82");
    EXPECT_EQ(text_fields::ForTerminal("\xe0\x9f\xbf \xed\xa0\x80 \xf4\x90\x80\x80"),
              "\\xE0\\x9F\\xBF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80");
}

// Every field takes part in equality and in the text, which is stable and plays on the same.
TEST_F(TableStateTest, ItsTextReadsBackIntoAnEqualStateThatPlaysOnTheSame) {
    const TableState base = game.State();
    const std::string text = WriteTableState(base);
    TableState read;
    ASSERT_TRUE(ReadTableState(text, read).ok());
    EXPECT_EQ(read, base);
    EXPECT_EQ(WriteTableState(read), text);
    PlayOn(game, 300);
    const TableState played = game.State();
    EXPECT_NE(played, base);
    game.State() = read;  // back to where it stood, generator and all
    PlayOn(game, 300);
    EXPECT_EQ(game.State(), played);

    const std::vector<std::function<void(TableState&)>> changes = {
        [](TableState& s) { s.DrawDeck.Push(Card{}); },
        [](TableState& s) { s.Players[4].Truncate(s.Players[4].Count() - 1); },
        [](TableState& s) { ++s.Scores[2]; },
        [](TableState& s) { s.CurPlayer = static_cast<std::int16_t>(s.CurPlayer % 4 + 1); },
        [](TableState& s) { s.PlayReversed ^= 1; },
        [](TableState& s) { s.ChoosingCards = !s.ChoosingCards; },
        [](TableState& s) { s.NextDealRule = FirstDiscardRule::kNoSecondCard; },
        [](TableState& s) { s.Generator.Uniform(); },
        [](TableState& s) {
            s.SheetRows.totals = {};
            s.SheetRows.totals[0] = {-1, 0, 500, 32767};
            s.SheetRows.count = 1;
        },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        TableState changed = base;
        changes[i](changed);
        EXPECT_NE(changed, base) << "change " << i;
        ASSERT_TRUE(ReadTableState(WriteTableState(changed), read).ok()) << "change " << i;
        EXPECT_EQ(read, changed) << "change " << i;
    }
}

TEST_F(TableStateTest, DamagedTextIsRefusedNamingTheLineAndChangesNothing) {
    const std::string text = WriteTableState(game.State());
    const auto replace = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    TableState one_row = game.State();
    one_row.SheetRows.count = 1;
    const std::string row_text = WriteTableState(one_row);
    const std::size_t row_at = row_text.find("sheet 1 ");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "line 1:"},
        {std::string(row_text).replace(row_at, 8, "sheet 10 "), "\"sheet\" wants a number from 1 to 9"},
        {std::string(row_text).insert(row_text.find('\n', row_at), " 7"), "unexpected \"7\""},
        {replace("kvt table state 1", "kvt table state 2"), "line 1:"},
        {replace("turn ", "turn 9"), "line 2:"},
        {replace("reversed ", "reversed x"), "line 4:"},
        {replace("round ", "round 1"), "\"round\" wants a number from 0 to 9"},
        {text.substr(0, text.find("random")), "\"random\""},
        {replace("random ", "random 1 2 3"), "incomplete"},
        {text + "more\n", "after the state"},
        {replace("deck ", "deck 402"), "deck"},
        {replace("next-deal ", "next-deal 7"), "next-deal"},
    };
    const TableState untouched = game.State();
    for (const auto& [bad, expected] : cases) {
        TableState state = untouched;
        const Status s = ReadTableState(bad, state);
        EXPECT_FALSE(s.ok()) << expected;
        EXPECT_NE(s.message().find(expected), std::string::npos) << s.message();
        EXPECT_EQ(state, untouched);
    }
}

// Each kind of move as "kind:slot", in the order LegalMoves lists them.
std::vector<std::string> Listed(const TableState& state, int seat) {
    static const char* kNames[] = {"play", "draw", "take", "name", "pass", "ok"};
    std::vector<std::string> out;
    for (const Move& m : LegalMoves(state, seat)) {
        EXPECT_EQ(m.seat, seat);
        out.push_back(std::string(kNames[static_cast<int>(m.kind)]) + (m.slot >= 0 ? ":" + std::to_string(m.slot) : ""));
    }
    return out;
}

TEST_F(RulesTest, LegalMovesFollowTheDecisionAndTheTable) {
    using V = std::vector<std::string>;
    const Card top = C(1, 5);
    // Slots 0 and 2 fit the top (same group, wild); slot 1 does not.
    SetTable(game, {{C(1, 2), C(2, 7), C(0, 50)}, {C(3, 3), C(4, 4)}, {C(2, 2)}, {C(2, 3)}}, {top}, {C(2, 9)}, 1);
    EXPECT_EQ(Listed(game, 1), (V{"play:0", "play:2", "draw"}));
    EXPECT_EQ(Listed(game, 2), V{}) << "not on turn";
    game.CurPlayer = 2;
    EXPECT_EQ(Listed(game, 2), V{"draw"}) << "nothing fits: draw";
    game.DrawDeck.Clear();
    EXPECT_EQ(Listed(game, 2), V{"pass"}) << "nothing fits, nothing to draw";
    game.DiscardPile.Push(C(4, 9));
    EXPECT_EQ(Listed(game, 2), (V{"play:1", "draw"})) << "the pile under its top makes a new deck";
    game.CurPlayer = 1;
    std::tie(game.ChoosingCards, game.ChooseFromPlayer, game.ChooseTotal, game.ChooseDone) =
        std::tuple(true, 2, 3, 1);
    EXPECT_EQ(Listed(game, 1), (V{"take:0", "take:1"}));
    // What each seat is shown: its own hand, and whom it takes from and how many.
    for (int seat = 1; seat <= 4; ++seat) EXPECT_EQ(ViewFor(game, seat).hand, &game.Players[seat]) << seat;
    game.DrawDeck.Push(C(2, 2));
    const SeatView taking = ViewFor(game, 1);
    EXPECT_EQ(std::tuple(taking.asked, taking.take_from, taking.take_left, taking.deck_size, taking.hand_sizes[2]),
              std::tuple(Decision::TakeFromHand, 2, 2, 1, game.Players[2].Count()));
    game.RoundEnded = true;
    EXPECT_EQ(Listed(game, 3), V{"ok"});
}

// The game in progress kept between runs: written and read back whole, the
// older form with the sheet's cells as text too, and anything cut, changed or
// foreign refused without touching what was there.
TEST_F(TableStateTest, ASavedTableReadsBackWholeAndACutChangedOrForeignOneIsRefused) {
    SavedTable saved;
    saved.card_set_hash = 0x0123456789abcdefull;
    saved.card_set_title = "Four \\ Winds\n";
    saved.player_names = {"Tester", "Amara", "", "Cy  "};
    saved.player_hashes = {1, 2, 3, ~0ull};
    saved.state = game.State();
    saved.state.RoundNum = 2;
    saved.state.SheetRows.count = 2;
    saved.state.SheetRows.totals = {};
    saved.state.SheetRows.totals[0] = {17, 0, 3, -5};
    saved.state.SheetRows.totals[1] = {20, 4, 32767, -5};
    const std::string text = WriteSavedTable(saved);
    const std::string body = text.substr(0, text.rfind("end "));  // without its seal
    SavedTable read;
    ASSERT_TRUE(ReadSavedTable(text, read).ok());
    EXPECT_EQ(read, saved);

    const auto sealed = [](const std::string& body) { return body + "end " + text_fields::Hex(Fnv1a64(body)) + "\n"; };
    // Format 1: the table, its sheet as cells. Its rows are the game's first
    // RoundNum, or every filled one after a won game; a stale row of the game
    // before is none of them, and after a New Game there is none.
    const std::size_t table_at = text.find("table\n");
    const std::string head = "KVT table in progress 1\n" + text.substr(text.find('\n') + 1, table_at - text.find('\n') - 1);
    const char* cells[3][4] = {{"17", "0", "3", "-5"}, {"20", "4", "32767", "-5"}, {"99", "99", "99", "99"}};
    std::string old_cells;
    for (int row = 0; row < 10; ++row)
        for (int p = 1; p <= 4; ++p)
            old_cells += "sheet " + std::to_string(row) + " " + std::to_string(p) + (row == 0 ? " 1 " : " 0 ") +
                         (row < 3 ? cells[row][p - 1] : " ") + "\n";
    const auto old_form = [&](TableState state) {
        state.SheetRows.count = 0;
        state.SheetRows.totals = {};
        return head + old_cells + "table\n" + WriteTableState(state);
    };
    const std::string old = old_form(saved.state);
    for (const auto& [round, winner, rows] : {std::tuple(2, 0, 2), std::tuple(0, 3, 3), std::tuple(0, 0, 0)}) {
        TableState expected = saved.state;
        expected.RoundNum = static_cast<std::int16_t>(round);
        expected.Winner = static_cast<std::int16_t>(winner);
        expected.SheetRows.count = static_cast<std::int16_t>(rows);
        expected.SheetRows.totals[2] = rows == 3 ? std::array<std::int16_t, 4>{99, 99, 99, 99} : std::array<std::int16_t, 4>{};
        if (rows == 0) expected.SheetRows.totals = {};
        read = {};
        ASSERT_TRUE(ReadSavedTable(sealed(old_form(expected)), read).ok()) << round << winner;
        EXPECT_EQ(read.state, expected) << "round " << round << ", winner " << winner;
    }
    const std::size_t cells_at = head.size();
    std::string bad_cell = old;
    bad_cell.replace(bad_cell.find("sheet 1 2 0 4"), 13, "sheet 1 2 0 x");
    const std::string cell_says =
        "line " + std::to_string(std::count(old.begin(), old.begin() + cells_at, '\n') + 6) + ": a score sheet cell";

    const std::string player_says =
        "line " + std::to_string(std::count(text.begin(), text.begin() + text.find("\nplayer 4 ") + 1, '\n') + 1) +
        ": \"player\" wants a seat 1-4";

    std::string changed = text;
    changed[text.find("hand1") + 7] ^= 1;
    const struct {
        const char* what;
        std::string text;
        const char* says;
    } cases[] = {
        {"empty", "", "not a KVT table"},
        {"a game record", "KVT game record 1.0\n", "not a KVT table"},
        {"a later format", "KVT table in progress 3\n" + text.substr(text.find('\n') + 1), "format 3"},
        {"a sheet of the new form", sealed(body.substr(0, table_at) + "sheet 0 1 1 17\n" + body.substr(table_at)),
         "is not a line"},
        {"cut off", text.substr(0, text.size() / 2), "cut off"},
        {"one bit changed", changed, "damaged"},
        {"another hash", body + "end 0000000000000000\n", "damaged"},
        {"too large", std::string(kMaxTableSaveBytes + 1, 'x'), "larger"},
        {"a seat 5", sealed(std::string(body).replace(body.find("\nplayer 4 "), 10, "\nplayer 5 ")),
         player_says.c_str()},
        // A wrong line, sealed as if it were right, is named by its number.
        {"a cell that is not a total", sealed(bad_cell), cell_says.c_str()},
    };
    for (const auto& c : cases) {
        read = saved;
        read.card_set_title = "kept";
        const Status status = ReadSavedTable(c.text, read);
        ASSERT_FALSE(status.ok()) << c.what;
        EXPECT_NE(status.message().find(c.says), std::string::npos) << c.what << ": " << status.message();
        EXPECT_EQ(read.card_set_title, "kept") << c.what;
    }
}

// --- the game record: its text form read back, a recorded game replayed to the same table, and a
// changed, cut or foreign record refused where it goes wrong

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
