#include <gtest/gtest.h>

#include <algorithm>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Computer : public ::testing::Test {
protected:
    RulesTable table{FourWindsLikeSet()};
    Game& game = *table.game;

    void Traits(int p, int a, int b, int c, int d) {
        game.PlayerInfo[p].TraitA = static_cast<std::int16_t>(a);
        game.PlayerInfo[p].TraitB = static_cast<std::int16_t>(b);
        game.PlayerInfo[p].TraitC = static_cast<std::int16_t>(c);
        game.PlayerInfo[p].TraitD = static_cast<std::int16_t>(d);
    }
    std::vector<Card> Filler(int group, int n) {
        std::vector<Card> v;
        for (int i = 0; i < n; ++i) v.push_back(C(group, 1 + i % 9));
        return v;
    }
};

TEST_F(Computer, HighValuesFirstWithAPositiveValueWeight) {
    Traits(2, 100, 0, 0, 0);
    SetTable(game, {{}, {C(1, 3), C(1, 8), C(4, 9), C(1, 5)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 0), 1) << "the 9 of group 4 cannot be played";
}

TEST_F(Computer, EqualScoresKeepTheLowerSlot) {
    Traits(2, 0, 0, 0, 0);
    SetTable(game, {{}, {C(4, 4), C(1, 3), C(1, 8)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 0), 1);
}

TEST_F(Computer, ValueScoresRoundHalvesToEven) {
    Traits(2, 50, 0, 0, 0);
    game.CurPlayer = 2;
    EXPECT_EQ(game.ScoreValue(C(1, 3)), 2);   // 1.5
    EXPECT_EQ(game.ScoreValue(C(1, 5)), 2);   // 2.5
    EXPECT_EQ(game.ScoreValue(C(1, 7)), 4);   // 3.5
    EXPECT_EQ(game.ScoreValue(C(1, -3)), -2);  // -1.5
    SetTable(game, {{}, {C(1, 3), C(1, 5)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, {});
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 0), 0) << "2 and 2: the earlier card";
}

TEST_F(Computer, TheLargestOtherComputerHandShiftsEveryScore) {
    Traits(3, 100, 2, 0, 0);
    SetTable(game, {Filler(1, 12), Filler(2, 5), Filler(3, 9), Filler(4, 4)}, {C(1, 2)}, {});
    game.CurPlayer = 3;
    EXPECT_EQ(game.MaxOtherHand(), 5) << "neither the human nor the player itself";
    EXPECT_EQ(game.ScoreValue(C(1, 20)), 10);
    game.CurPlayer = 2;
    EXPECT_EQ(game.MaxOtherHand(), 9);
    SetTable(game, {Filler(1, 12), {}, {}, {}}, {C(1, 2)}, {});
    EXPECT_EQ(game.MaxOtherHand(), 0);
}

TEST_F(Computer, ScoresSaturateInsteadOfWrapping) {
    Traits(2, 100, 30000, 0, 0);
    SetTable(game, {{}, {C(1, 1)}, Filler(3, 7), Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.ScoreValue(C(1, 1)), 1 - 32767);
    EXPECT_EQ(game.ScoreValue(C(1, -10)), -32768);
    Traits(2, 0, 0, 100, 20000);
    CardStack hand;
    hand.Push(C(1, 1));
    hand.Push(C(1, 1));
    EXPECT_DOUBLE_EQ(game.ScoreMatch(C(1, 1), hand), 32767.0);
}

TEST_F(Computer, WhenEveryScoreIsVeryLowTheBestCandidateStillWins) {
    Traits(2, 100, 100, 0, 0);
    SetTable(game, {{}, {C(5, 5), C(1, 1), C(1, 9), C(1, 4)}, Filler(3, 20), Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_LE(game.ScoreValue(C(1, 9)), -1000);
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 0), 2);
}

TEST_F(Computer, MatchingCardsWeighWithTheMatchTraits) {
    Traits(2, 0, 0, 100, 1);
    SetTable(game, {{}, {C(1, 2), C(2, 7), C(2, 8), C(2, 9)}, Filler(3, 3), Filler(4, 3)}, {C(2, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(Game::CountSameGroup(C(2, 7), game.Players[2]), 3);
    EXPECT_EQ(Game::CountSameValue(C(1, 2), game.Players[2]), 1);
    EXPECT_DOUBLE_EQ(game.ScoreMatch(C(2, 7), game.Players[2]), 4.0);
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 0), 1);
}

TEST_F(Computer, TheMatchScoreIsRoundedOnItsOwn) {
    // Value at 100 %, matches at 50 %. A 3 with three matches scores
    // 3 + round(1.5) = 5; a 2 with five matches 2 + round(2.5) = 4. Rounding
    // the sums instead (4.5 and 4.5) would tie them and keep the 2.
    Traits(2, 100, 0, 50, 1);
    SetTable(game, {{}, {C(1, 2), C(1, 3), C(3, 2), C(4, 2)}, Filler(3, 3), Filler(4, 3)}, {C(1, 1)}, {});
    game.CurPlayer = 2;
    EXPECT_DOUBLE_EQ(game.ScoreMatch(C(1, 3), game.Players[2]), 1.5);
    EXPECT_DOUBLE_EQ(game.ScoreMatch(C(1, 2), game.Players[2]), 2.5);
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 0), 1);
}

TEST_F(Computer, NeverMakesTheNextPlayerDrawFromAHandThatWouldRunOut) {
    Traits(3, 100, 0, 0, 0);
    // Player 3 on turn, normal direction: player 4 would take. Left of 4 is
    // the human (2 cards), across from 4 is player 2 (3 cards).
    SetTable(game,
             {Filler(1, 2), Filler(2, 3),
              {C(0, 99, kActionDrawLeft, 2), C(1, 20, kActionDrawLeft, 2), C(1, 21, kActionDrawAcross, 2)}, Filler(4, 3)},
             {C(1, 2)}, {});
    game.CurPlayer = 3;
    game.MarkPlayableCards(game.Players[3]);
    EXPECT_EQ(game.Players[3][0].Playable, 0) << "even a wild card";
    EXPECT_EQ(game.Players[3][1].Playable, 0);
    EXPECT_EQ(game.Players[3][2].Playable, 1);
    EXPECT_EQ(game.ChooseCompCard(game.Players[3], 0), 2);
}

TEST_F(Computer, NothingPlayableAndTheOtherMode) {
    SetTable(game, {{}, {C(3, 3), C(0, 4)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    game.Players[2][1].Group = 4;
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 0), -1);
    game.Players[2][1].Group = 0;
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 1), 0) << "every grouped card, no wild card";
}

TEST_F(Computer, DrawsOneCardAtATimeUntilItCanPlayThenPlaysIt) {
    SetTable(game, {Filler(1, 3), {C(3, 3)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)},
             {C(4, 4), C(4, 5), C(1, 7), C(1, 8)});
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Played);
    EXPECT_EQ(table.view.Count("AnimateDraw 2"), 3);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), C(1, 7));
    EXPECT_EQ(game.Players[2].Count(), 3);
    EXPECT_EQ(game.CurPlayer, 3);
    EXPECT_EQ(game.LastMover, 2);
}

TEST_F(Computer, PassesWhenItCanNeitherPlayNorDraw) {
    SetTable(game, {Filler(1, 3), {C(3, 3)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(game.CurPlayer, 3);
    EXPECT_EQ(game.PassesInRow, 1);
    EXPECT_EQ(game.Players[2].Count(), 1);
    EXPECT_FALSE(game.RoundEnded);
}

TEST_F(Computer, FourPassesInARowEndTheRound) {
    game.ComputerSeat1 = true;
    SetTable(game, {Filler(3, 3), Filler(3, 2), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::RoundEnded);
    EXPECT_TRUE(game.RoundEnded);
    const RoundResult r = game.RoundOver(FirstDiscardRule::kWild);
    EXPECT_EQ(r.Totals[1], 1 + 2 + 3);
    EXPECT_EQ(r.Totals[2], 1 + 2);
    EXPECT_FALSE(game.RoundEnded);
    EXPECT_EQ(game.PassesInRow, 0);
}

TEST_F(Computer, APlayBreaksTheRunOfPasses) {
    SetTable(game, {Filler(1, 3), {C(3, 3)}, {C(1, 5), C(2, 2)}, Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Played);
    EXPECT_EQ(game.PassesInRow, 0);
}

TEST_F(Computer, PlaysADiscardCardByDiscardingFirst) {
    SetTable(game, {Filler(1, 3), {C(1, 25, kActionDiscard, 2), C(3, 3), C(3, 4), C(3, 5)}, Filler(3, 3), Filler(4, 3)},
             {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Played);
    EXPECT_EQ(game.Players[2].Count(), 1);
    ASSERT_EQ(game.DiscardPile.Count(), 4);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), C(1, 25, kActionDiscard, 2));
    EXPECT_EQ(game.DiscardPile[1].Group, 3);
    EXPECT_EQ(game.DiscardPile[2].Group, 3);
    EXPECT_EQ(game.CurPlayer, 3);
    EXPECT_TRUE(game.CompHeld.Empty());
    const auto flights = table.view.Matching("AnimateCompDiscard 2");
    ASSERT_EQ(flights.size(), 3u);
    EXPECT_EQ(flights[2], "AnimateCompDiscard 2 1/25/8x2") << "the held card flies last";
    EXPECT_EQ(table.view.Matching("ShowHoldCard").size(), 1u);
    EXPECT_EQ(table.view.Count("HideHoldCard"), 1);
}

TEST_F(Computer, ADiscardCardWithoutCountIsAnOrdinaryCard) {
    SetTable(game, {Filler(1, 3), {C(1, 5, kActionDiscard, 0), C(3, 3)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Played);
    EXPECT_EQ(game.DiscardPile.Count(), 2);
    EXPECT_TRUE(table.view.Matching("ShowHoldCard").empty());
}

TEST_F(Computer, ADiscardThatEmptiesTheHandEndsTheRound) {
    SetTable(game, {Filler(1, 3), {C(1, 25, kActionDiscard, 3), C(3, 3)}, Filler(3, 3), Filler(4, 3)}, {C(1, 2)}, {});
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::RoundEnded);
    EXPECT_TRUE(game.Players[2].Empty());
    EXPECT_EQ(game.CompHeld.Count(), 1) << "the held card was never laid";
    EXPECT_EQ(table.view.Count("SetHandVisible 2 off"), 1);
}

TEST_F(Computer, AWildDiscardCardNamesAGroup) {
    SetTable(game, {Filler(1, 3), {C(0, 43, kActionDiscard, 1), C(2, 3), C(2, 4), C(4, 5)}, Filler(3, 3), Filler(4, 3)},
             {C(1, 2)}, {});
    game.CurPlayer = 2;
    game.PlayComputerTurn();
    EXPECT_EQ(Plain(game.DiscardPile[game.DiscardPile.Count() - 2]), C(0, 43, kActionDiscard, 1));
    // Whichever card went, group 2 leads or ties with the lower number.
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[19]);
}

TEST_F(Computer, TheLoopPlaysUntilTheHumanIsOnTurn) {
    SetTable(game, {Filler(1, 3), {C(1, 3), C(2, 3)}, {C(1, 4), C(2, 4)}, {C(1, 5), C(2, 5)}}, {C(1, 2)}, Filler(4, 5));
    game.CurPlayer = 2;
    EXPECT_EQ(game.RunComputerTurns(), TurnsEnd::HumanToPlay);
    EXPECT_EQ(game.CurPlayer, 1);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), C(1, 5));
    EXPECT_EQ(table.view.calls.back(), "PickedBox on");
    EXPECT_FALSE(game.MoveInProgress());
}

TEST_F(Computer, TheLoopHidesTheChooseMessageAfterTheNextMove) {
    SetTable(game, {Filler(1, 3), {C(1, 3), C(2, 3)}, {C(1, 4), C(2, 4)}, {C(1, 5), C(2, 5)}}, {C(1, 2)}, {});
    game.ChooseMsgPending = true;
    game.CurPlayer = 2;
    game.RunComputerTurns();
    EXPECT_FALSE(game.ChooseMsgPending);
    EXPECT_EQ(table.view.Count("ChooseMessage off"), 1);
    const auto& calls = table.view.calls;
    const auto off = std::find(calls.begin(), calls.end(), "ChooseMessage off");
    const auto first_play = std::find_if(calls.begin(), calls.end(),
                                         [](const std::string& c) { return c.rfind("AnimateCompDiscard", 0) == 0; });
    EXPECT_LT(first_play - calls.begin(), off - calls.begin());
}

TEST_F(Computer, AComputerGoingOutShowsTheScoreSheetAndDealsTheNextRound) {
    SetTable(game, {Filler(1, 3), {C(1, 3), C(2, 3)}, {C(1, 4)}, Filler(4, 3)}, {C(1, 2)}, Filler(4, 5));
    game.StartPlayer = 0;
    game.CurPlayer = 2;
    EXPECT_EQ(game.RunComputerTurns(), TurnsEnd::HumanToPlay);
    EXPECT_EQ(table.view.score_sheets, 1);
    EXPECT_EQ(game.Players[1].Score, 1 + 2 + 3);
    EXPECT_EQ(game.Players[3].Score, 0);
    EXPECT_EQ(game.Players[2].Score, 3);
    EXPECT_EQ(game.StartPlayer, 2);
    EXPECT_EQ(game.RoundNum, 1);
    // Player 2 opened the new round and played on until the human's turn.
    EXPECT_EQ(game.CurPlayer, 1);
    for (int p = 1; p <= 4; ++p) EXPECT_GT(game.Players[p].Count(), 0);
    const auto& calls = table.view.calls;
    const auto hide = std::find(calls.begin(), calls.end(), "SetHandVisible 3 off");
    const auto sheet = std::find(calls.begin(), calls.end(), "ShowScoreSheet 0");
    const auto show = std::find(calls.begin(), calls.end(), "SetHandVisible 3 on");
    EXPECT_LT(hide - calls.begin(), sheet - calls.begin());
    EXPECT_LT(sheet - calls.begin(), show - calls.begin());
}

}  // namespace
}  // namespace kvt::test
