#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "core/move.h"
#include "formats/game_record.h"
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

}  // namespace
}  // namespace kvt::test
