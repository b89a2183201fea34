#include <gtest/gtest.h>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

bool IsFlight(const std::string& call) {
    return call.rfind("Animate", 0) == 0;
}

std::vector<Card> Filler(int group, int n) {
    std::vector<Card> v;
    for (int i = 0; i < n; ++i) v.push_back(C(group, 1 + i % 9));
    return v;
}

TEST(Reentrancy, AMoveIsInProgressDuringEveryFlightAndRefusesTheHumansClicks) {
    RulesTable table(FourWindsLikeSet(), 5);
    Game& game = *table.game;
    int flights = 0;
    table.view.on_call = [&](const std::string& call) {
        if (!IsFlight(call)) return;
        ++flights;
        EXPECT_TRUE(game.MoveInProgress()) << call;
        const auto before = Census(game);
        const auto hand = Cards(game.Players[1]);
        EXPECT_EQ(game.ClickHandCard(0), HumanMove::Ignored);
        EXPECT_EQ(game.ClickPickedCard(), HumanMove::Ignored);
        EXPECT_EQ(game.ClickHoldCard(0), HumanMove::Ignored);
        EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Ignored);
        EXPECT_EQ(game.ClickDrawDeck(), HumanMove::Ignored);
        for (int p = 2; p <= 4; ++p) EXPECT_EQ(game.ClickOpponentCard(p, 0), HumanMove::Ignored);
        EXPECT_EQ(Census(game), before);
        EXPECT_EQ(Cards(game.Players[1]), hand);
    };
    // The human lays a card; the computers play on; cards fly throughout.
    SetTable(game, {{C(1, 3), C(2, 2), C(4, 7), C(4, 8)}, Filler(2, 5), Filler(3, 5), Filler(4, 5)}, {C(1, 9)},
             Filler(1, 9));
    game.CurPlayer = 1;
    ASSERT_EQ(game.ClickHandCard(0), HumanMove::Picked);
    EXPECT_FALSE(game.MoveInProgress());
    EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Played);
    EXPECT_FALSE(game.MoveInProgress());
    EXPECT_GT(flights, 3);
}

TEST(Reentrancy, AStopFromInsideAFlightReturnsBetweenTwoMoves) {
    RulesTable table(FourWindsLikeSet(), 5);
    Game& game = *table.game;
    SetTable(game, {Filler(1, 6), {C(1, 5), C(1, 6), C(1, 7)}, {C(1, 8), C(2, 2), C(2, 3)}, {C(2, 4), C(2, 8), C(2, 6)}},
             {C(1, 2)}, Filler(3, 8));
    const auto start = Census(game);
    int flights = 0;
    table.view.on_call = [&](const std::string& call) {
        if (IsFlight(call) && ++flights == 2) game.RequestStop();
    };
    game.CurPlayer = 2;
    EXPECT_EQ(game.RunComputerTurns(), TurnsEnd::Stopped);
    EXPECT_FALSE(game.MoveInProgress());
    // Player 2 laid its card, player 3's flight asked to stop: its move was
    // finished, and player 4 did not start.
    EXPECT_EQ(game.Players[2].Count(), 2);
    EXPECT_EQ(game.Players[3].Count(), 2);
    EXPECT_EQ(game.Players[4].Count(), 3);
    EXPECT_EQ(game.CurPlayer, 4);
    EXPECT_TRUE(TableConsistent(game, start, game.GroupCardsAdded));

    table.view.on_call = nullptr;
    EXPECT_EQ(game.RunComputerTurns(), TurnsEnd::Stopped) << "the stop sticks";
    EXPECT_EQ(game.ResumePlay(), TurnsEnd::HumanToPlay);
    EXPECT_EQ(game.CurPlayer, 1);
    EXPECT_EQ(game.Players[4].Count(), 2);
}

TEST(Reentrancy, AStopDuringTheHumansPlayFinishesThatPlayOnly) {
    RulesTable table(FourWindsLikeSet(), 5);
    Game& game = *table.game;
    SetTable(game, {{C(1, 25, kActionDiscard, 2), C(2, 1), C(2, 2), C(2, 3)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)},
             {C(1, 9)}, Filler(1, 5));
    game.CurPlayer = 1;
    game.ClickHandCard(0);
    game.ClickHandCard(0);
    game.ClickHandCard(0);
    table.view.on_call = [&](const std::string& call) {
        if (call.rfind("AnimateHoldDiscard", 0) == 0) game.RequestStop();
    };
    EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Played);
    EXPECT_EQ(game.DiscardPile.Count(), 4) << "both discards and the card itself";
    EXPECT_EQ(game.CurPlayer, 2);
    EXPECT_EQ(game.Players[2].Count(), 3) << "the computers waited";
    EXPECT_FALSE(game.MoveInProgress());
}

TEST(Reentrancy, AStopAtTheEndOfARoundLeavesItForResumePlay) {
    RulesTable table(FourWindsLikeSet(), 5);
    Game& game = *table.game;
    SetTable(game, {Filler(1, 3), {C(1, 5)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, Filler(3, 8));
    const auto start = Census(game);
    table.view.on_call = [&](const std::string& call) {
        if (IsFlight(call)) game.RequestStop();
    };
    game.CurPlayer = 2;
    EXPECT_EQ(game.RunComputerTurns(), TurnsEnd::Stopped);
    EXPECT_TRUE(game.RoundEnded);
    EXPECT_EQ(table.view.score_sheets, 0) << "no score sheet while stopping";
    EXPECT_TRUE(TableConsistent(game, start, game.GroupCardsAdded));

    table.view.on_call = nullptr;
    game.StartPlayer = 4;
    EXPECT_EQ(game.ResumePlay(), TurnsEnd::HumanToPlay);
    EXPECT_EQ(table.view.score_sheets, 1);
    EXPECT_EQ(game.Players[1].Score, 6);
    EXPECT_FALSE(game.RoundEnded);
    EXPECT_EQ(game.CurPlayer, 1);
}

TEST(Reentrancy, ClearStopForgetsAnUnscoredRound) {
    RulesTable table(FourWindsLikeSet(), 5);
    Game& game = *table.game;
    SetTable(game, {Filler(1, 3), {C(1, 5)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, Filler(3, 8));
    game.RequestStop();
    game.CurPlayer = 2;
    game.PlayComputerTurn();
    ASSERT_TRUE(game.RoundEnded);
    game.NewGame();
    game.ClearStop();
    EXPECT_FALSE(game.RoundEnded);
    EXPECT_FALSE(game.StopRequested());
    game.CurPlayer = 2;
    EXPECT_EQ(game.RunComputerTurns(), TurnsEnd::HumanToPlay);
    EXPECT_EQ(table.view.score_sheets, 0);
}

TEST(Reentrancy, ResumePlayForgetsARoundThatANewDealReplaced) {
    RulesTable table(FourWindsLikeSet(), 5);
    Game& game = *table.game;
    SetTable(game, {Filler(1, 3), {C(1, 5)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, Filler(3, 8));
    game.RequestStop();
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::RoundEnded);
    EXPECT_EQ(game.ClickDrawDeck(), HumanMove::Ignored) << "the finished round waits for its score sheet";
    game.NewGame();
    game.CurPlayer = 1;
    EXPECT_EQ(game.ResumePlay(), TurnsEnd::HumanToPlay);
    EXPECT_EQ(table.view.score_sheets, 0);
    EXPECT_FALSE(game.RoundEnded);
    EXPECT_EQ(game.ClickDrawDeck(), HumanMove::Drew);
}

TEST(Reentrancy, ResumePlayFromInsideAMoveOnlyWithdrawsTheStop) {
    RulesTable table(FourWindsLikeSet(), 5);
    Game& game = *table.game;
    SetTable(game, {Filler(1, 3), {C(1, 5), C(1, 6)}, {C(1, 7), C(2, 2)}, {C(1, 8), C(2, 3)}}, {C(1, 2)}, Filler(3, 8));
    TurnsEnd inner = TurnsEnd::HumanToPlay;
    table.view.on_call = [&](const std::string& call) {
        if (call.rfind("AnimateCompDiscard 2", 0) == 0) {
            game.RequestStop();
            inner = game.ResumePlay();
        }
    };
    game.CurPlayer = 2;
    EXPECT_EQ(game.RunComputerTurns(), TurnsEnd::HumanToPlay);
    EXPECT_EQ(inner, TurnsEnd::MoveRunning);
    EXPECT_EQ(game.Players[4].Count(), 1) << "nobody stopped";
}

TEST(Reentrancy, StopsAtRandomFlightsNeverLoseACard) {
    int stops = 0;
    int rounds = 0;
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        RulesTable table(EveryActionSet(), seed);
        Game& game = *table.game;
        table.view.record = false;
        game.ComputerSeat1 = true;
        Random dice(seed);
        // Every flight may ask to stop; a score sheet always does, so that
        // each new deal starts with a stop and a fresh census.
        table.view.on_call = [&](const std::string& call) {
            if ((IsFlight(call) && dice.Slot(7) == 0) || call.rfind("ShowScoreSheet", 0) == 0) game.RequestStop();
        };
        auto start = Census(game);
        auto added = game.GroupCardsAdded;
        game.CurPlayer = 2;
        for (int i = 0; i < 400; ++i) {
            const int sheets = table.view.score_sheets;
            const TurnsEnd end = i == 0 ? game.RunComputerTurns() : game.ResumePlay();
            ASSERT_EQ(end, TurnsEnd::Stopped);
            ++stops;
            ASSERT_FALSE(game.MoveInProgress());
            if (table.view.score_sheets != sheets) {
                ASSERT_EQ(table.view.score_sheets, sheets + 1);
                // ResumePlay scored a round and dealt the next: a new census.
                ++rounds;
                start = Census(game);
                added = game.GroupCardsAdded;
            }
            ASSERT_TRUE(TableConsistent(game, start, added)) << "seed " << seed << " stop " << i;
        }
    }
    EXPECT_EQ(stops, 6 * 400);
    EXPECT_GT(rounds, 6);
}

}  // namespace
}  // namespace kvt::test
