// Moves as data through the match driver: the same game as by clicks, the
// computers as their turns, and a refused move that changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "match/scripted_seat.h"
#include "match/undo_history.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

// Four computer seats through the driver: each move is the computer's turn,
// and the score sheet's OK the next deal, with the same events throughout.
TEST(Match, ComputersThroughTheDriverPlayAsTheirTurns) {
    RulesTable driven(EveryActionSet(), 11), turns(EveryActionSet(), 11);
    GiveTraits(*driven.game, false);
    const RecordedRounds recorded = RecordComputerRounds(*driven.game, 5);
    Game& game = *turns.game;
    GiveTraits(game, false);
    game.ComputerSeat1 = true;
    Events all;
    Events events;
    for (int step = 0; step < 3000 && turns.view.score_sheets < 5; ++step) {
        if (game.RoundEnded) {
            game.RoundOver(game.NextDealRule, events);
        } else {
            game.PlayComputerTurn(events);
        }
        all.insert(all.end(), events.begin(), events.end());
    }
    EXPECT_EQ(turns.view.score_sheets, 5);
    EXPECT_EQ(std::pair(all.size(), WriteTableState(game.State())), std::pair(recorded.events, recorded.end));
}

// Random clicks of every kind: picks, re-picks, cards chosen and given back,
// cancels, draws and discards. Building a move never changes the table;
// each move the clicks complete, applied to the table before it, gives the
// same table; and the game recorded from them replays to its end.
TEST(Match, EveryMoveTheClicksMakeIsAMoveThatPlaysTheSameGame) {
    for (const std::uint64_t seed : {3u, 4u, 5u, 6u, 7u, 8u}) {
        SCOPED_TRACE(seed);
        RulesTable table(EveryActionSet(), seed), twin_table(EveryActionSet(), seed);
        Game& game = *table.game;
        Game& twin = *twin_table.game;
        GiveTraits(game, true);
        GiveTraits(twin, true);
        const TableState start = game.State();
        TableState before = start;
        GameRecord record;
        int moves = 0, human_moves = 0;
        ComputersDriven computers(game);
        MatchDriver& driver = computers.driver;
        driver.SetMoveListener([&](const Move& move, const Events& events) {
            twin.State() = before;
            Events twin_events;
            const Status applied = twin.Apply(move, twin_events);
            EXPECT_TRUE(applied) << applied.message();
            EXPECT_TRUE(twin.State() == game.State()) << "move " << moves << ", " << MoveKindName(move.kind);
            AddToRecord(record, move, events);
            ++moves;
            human_moves += move.seat == 1 && move.kind != MoveKind::Acknowledge && move.kind != MoveKind::NameGroup;
            before = game.State();
        });
        MoveBeingBuilt human(game, driver);
        std::mt19937 dice(static_cast<std::uint32_t>(seed));
        const auto any = [&dice](int n) { return n <= 0 ? 0 : static_cast<int>(dice() % static_cast<unsigned>(n)); };
        for (int step = 0; step < 6000 && !HasFailure(); ++step) {
            if (DriveAllButTheClicks(game, driver, computers.events)) continue;
            const int moves_before = moves;
            switch (game.ChoosingCards ? 5 : any(10)) {
                case 0: case 1: case 2: case 3: human.ClickHandCard(any(human.ShownHand().Count())); break;
                case 4: human.ClickHoldCard(any(human.Held().Count() + 1)); break;
                case 5: human.ClickOpponentCard(game.ChooseFromPlayer, any(game.Players[game.ChooseFromPlayer].Count())); break;
                case 6: human.ClickPickedCard(); break;
                case 7: human.ClickDrawDeck(); break;
                default: human.ClickDiscardButton(); break;
            }
            if (moves == moves_before) {
                EXPECT_TRUE(game.State() == before) << "a click that made no move, step " << step;
            }
        }
        EXPECT_GT(human_moves, 100);
        twin.State() = start;
        MatchDriver replay(twin);
        const Status replayed = ReplayMoves(record, replay);
        ASSERT_TRUE(replayed) << replayed.message();
        EXPECT_TRUE(twin.State() == before);
    }
}

class MatchMoves : public RulesTest {
protected:
    Status Try(const Move& move) {
        const std::string before = WriteTableState(game.State());
        Events events;
        const Status result = game.Apply(move, events);
        if (!result) {
            EXPECT_EQ(WriteTableState(game.State()), before) << result.message();
            EXPECT_TRUE(events.empty());
        }
        return result;
    }
    static Move Of(MoveKind kind, int seat, int slot = -1, std::vector<std::int16_t> chosen = {}, int from = 0) {
        return {kind, static_cast<std::int16_t>(seat), static_cast<std::int16_t>(slot), static_cast<std::int16_t>(from),
                std::move(chosen)};
    }
};

TEST_F(MatchMoves, AMoveTheTableDoesNotAllowIsRefusedAndChangesNothing) {
    // The human holds a red 5, a Pass Left 1 of red, a blue 9 and a green 2;
    // a red 3 is on the pile.
    SetTable(game, {{C(1, 5), C(1, 7, kActionPassLeft, 1), C(2, 9), C(3, 2)}, Low(2, 3), Low(3, 3), Low(4, 3)},
             {C(1, 3)}, Low(4, 5), 1);
    for (const Move& move : {Of(MoveKind::Play, 2, 0),                 // not seat 2's turn
                             Of(MoveKind::Play, 1, 2),                 // blue 9 does not fit
                             Of(MoveKind::Play, 1, 9),                 // no such slot
                             Of(MoveKind::Play, 1, 1),                 // the pass card wants a card chosen
                             Of(MoveKind::Play, 1, 1, {2, 3}),         // ... one, not two
                             Of(MoveKind::Play, 1, 1, {1}),            // ... another than itself
                             Of(MoveKind::Play, 1, 0, {2}),            // the red 5 wants none
                             Of(MoveKind::Take, 1, 0, {}, 3),          // nobody asked for a take
                             Of(MoveKind::NameGroup, 1, 0),            // no wild card laid
                             Of(MoveKind::Acknowledge, 1),             // no round ended
                             Of(MoveKind::Pass, 1)})                   // there is a card to play
        EXPECT_FALSE(Try(move)) << static_cast<int>(move.kind) << " slot " << move.slot;
    // A look at the score sheet is the person's, whoever is on turn; its OK moves the starting seat on.
    EXPECT_FALSE(Try(Of(MoveKind::ViewScore, 2)));
    const int starter = std::max<int>(game.StartPlayer, 1);
    ASSERT_TRUE(Try(Of(MoveKind::ViewScore, 1)));
    EXPECT_EQ(game.StartPlayer, starter % 4 + 1);
    ASSERT_TRUE(Try(Of(MoveKind::Play, 1, 1, {2})));  // the blue 9 passed to the left
    // A computer, too, lays only a card that fits: a fitting first card makes no other card fit.
    ASSERT_EQ(game.CurPlayer, 2);
    game.Players[2].InsertAt(0, C(1, 4));
    EXPECT_FALSE(Try(Of(MoveKind::Play, 2, 1)));
    EXPECT_TRUE(Try(Of(MoveKind::Play, 2, 0)));
    // A table read from a file may ask the person to take from its own hand: nothing is taken.
    SetTable(game, {Low(1, 3), Low(2, 3), Low(3, 3), Low(4, 3)}, {C(1, 9)}, Low(4, 5), 1);
    std::tie(game.ChoosingCards, game.ChooseFromPlayer, game.ChooseDone, game.ChooseTotal) =
        std::tuple(true, 1, 0, 1);
    EXPECT_FALSE(Try(Of(MoveKind::Take, 1, 0, {}, 1)));
}

TEST_F(MatchMoves, ChosenCardsNeedRoomOnThePileAndThoseAFullHandRefusesGoBackToTheirPlaces) {
    // With room on the pile for the card alone, a Discard 1 and its chosen card are refused.
    SetTable(game, {{C(1, 5, kActionDiscard, 1), C(2, 9)}, Low(2, 3), Low(3, 3), Low(4, 3)}, {C(1, 3)}, Low(4, 5), 1);
    while (game.DiscardPile.Count() < CardStack::Capacity - 1) game.DiscardPile.InsertAt(0, C(4, 4));
    EXPECT_FALSE(Try(Of(MoveKind::Play, 1, 0, {1})));
    // A Pass Left 2 to a full hand: the cards chosen (the third, then the first) come back in order.
    SetTable(game, {{C(2, 1), C(2, 2), C(2, 3), C(2, 4), C(1, 7, kActionPassLeft, 2)}, {}, Low(3, 3), Low(4, 3)},
             {C(1, 3)}, Low(4, 5), 1);
    while (!game.Players[2].Full()) game.Players[2].Push(C(4, 4));
    ASSERT_TRUE(Try(Of(MoveKind::Play, 1, 4, {2, 0})));
    EXPECT_EQ(std::vector<Card>(game.Players[1].begin(), game.Players[1].end()), Low(2, 4));
}

TEST_F(MatchMoves, AWildCardWaitsForItsGroupAsAMoveOfItsOwn) {
    SetTable(game, {{C(0, 50), C(1, 2)}, Low(2, 3), Low(3, 3), Low(4, 3)}, {C(1, 3)}, Low(4, 5), 1);
    ASSERT_TRUE(Try(Of(MoveKind::Play, 1, 0)));
    EXPECT_EQ(std::tuple(game.Pending(), SeatToAct(game.State())), std::tuple(Decision::NameGroup, 1));
    EXPECT_EQ(LegalMoves(game.State(), 1), std::vector<Move>{Of(MoveKind::NameGroup, 1)});
    MatchDriver driver(game);
    EXPECT_EQ(MoveBeingBuilt(game, driver).ClickHandCard(0), HumanMove::Ignored);
    const std::vector<GroupChoice> choices = game.WildGroupChoices();
    ASSERT_GE(choices.size(), 3u);
    // A group is named by one of the choices, nothing else (3 is a card of group 1, not its first).
    for (const int not_a_choice : {3, 999}) EXPECT_FALSE(Try(Of(MoveKind::NameGroup, 1, not_a_choice))) << not_a_choice;
    const int named = choices[2].CardIndex;
    ASSERT_TRUE(Try(Of(MoveKind::NameGroup, 1, named)));
    // The group's card lies on the wild card; the computers are on, the driver asks them.
    EXPECT_EQ(std::tuple(game.WildGroup, Plain(game.DiscardPile.Top()), game.DiscardPile.Top().Group),
              std::tuple(named, game.CardSet.CardDefs[static_cast<std::size_t>(named)], choices[2].Group));
    EXPECT_EQ(std::tuple(game.Pending(), game.CurPlayer), std::tuple(Decision::PlayOrDraw, 2));
}

TEST_F(MatchMoves, ASeatWithoutAMoveWaitsAndAMoveOutOfTurnIsRefused) {
    game.CurPlayer = 1;
    MatchDriver driver(game);
    ScriptedSeat thinking;
    for (const int not_a_seat : {0, 5}) driver.SetSeat(not_a_seat, &thinking);
    Events events;
    EXPECT_EQ(driver.Advance(events), MatchDriver::Step::Waiting) << "no seat is taken but 1..4";
    driver.SetSeat(1, &thinking);
    std::vector<Move> heard;
    driver.SetMoveListener([&](const Move& move, const Events&) { heard.push_back(move); });
    EXPECT_EQ(driver.Advance(events), MatchDriver::Step::Waiting);
    Move move{MoveKind::Draw, 3, -1, 0, {}};
    EXPECT_EQ(driver.Submit(move, events), MatchDriver::Step::Refused);
    move.seat = 1;
    thinking.Add(move);
    EXPECT_EQ(driver.Advance(events), MatchDriver::Step::Applied);
    EXPECT_EQ(heard, std::vector<Move>{move});
    EXPECT_FALSE(events.empty());
}

// Tables told apart by the seat on turn.
TableState Table(int turn) {
    TableState state;
    state.CurPlayer = static_cast<std::int16_t>(turn);
    return state;
}

TEST(UndoHistoryTest, GoesBackAndForthAndADifferentMoveForgetsTheTablesAfterIt) {
    UndoHistory history;
    EXPECT_EQ(history.Undo(), nullptr);
    for (int turn : {1, 1, 2, 3}) history.Note(Table(turn));  // the same table twice is one
    EXPECT_EQ(history.Undo()->CurPlayer, 2);
    history.Note(Table(2));  // the table brought back
    EXPECT_EQ(history.Undo()->CurPlayer, 1);
    EXPECT_FALSE(history.CanUndo());
    history.Note(Table(2));  // the move played again as before
    EXPECT_TRUE(history.CanRedo());
    EXPECT_EQ(history.Redo()->CurPlayer, 3);
    EXPECT_EQ(history.Redo(), nullptr);
    history.Undo();
    history.Undo();
    history.Note(Table(4));  // another move
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo()->CurPlayer, 1);
    history.Clear();
    EXPECT_FALSE(history.CanUndo() || history.CanRedo());
}

}  // namespace
}  // namespace kvt::test
