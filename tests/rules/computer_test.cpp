#include <gtest/gtest.h>

#include <cmath>

#include "engine/rules_support.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Computer : public RulesTest {
protected:
    // Player 2 on turn with the given traits, hand and top card: the slot it would lay.
    int Turn(std::vector<int> traits, std::vector<Card> hand, Card top = C(1, 2), std::vector<Card> deck = {}) {
        SetTraits(game.PlayerInfo[2], traits[0], traits[1], traits[2], traits[3]);
        SetTable(game, {Low(1, 3), hand, Low(3, 3), Low(4, 3)}, {top}, deck, 2);
        return Choice();
    }
    int Choice() { return game.ChooseCompCard(game.Players[2], 0); }
};

TEST_F(Computer, ScoresWeighValuesAndMatchesAndKeepTheEarlierOfEqualCards) {
    EXPECT_EQ(Turn({100, 0, 0, 0}, {C(1, 3), C(1, 8), C(4, 9), C(1, 5)}), 1) << "the highest playable value";
    EXPECT_EQ(Turn({0, 0, 0, 0}, {C(4, 4), C(1, 3), C(1, 8)}), 1) << "all score 0: the first playable";
    // Small groups and values are counted by table, large or negative ones card by card.
    for (int g : {2, 64, 300}) {
        for (int v : {7, 70, -7}) {
            EXPECT_EQ(Turn({0, 0, 100, 1}, {C(1, 2), C(g, v), C(g, 8), C(g, 9), C(3, v)}, C(g, 2)), 1)
                << "three of group " << g << " and two " << v;
            EXPECT_DOUBLE_EQ(game.ScoreMatch(C(g, v), game.Players[2]), 5.0);
        }
    }
    EXPECT_EQ(Turn({0, 0, 0, 0}, {C(3, 3), C(4, 4)}), -1);
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 1), 0) << "the other mode takes every grouped card";
    Turn({0, 0, 0, 0}, {C(0, 9), C(1, 3)});
    EXPECT_EQ(game.ChooseCompCard(game.Players[2], 1), 1) << "group 1 too, but no wild card";
}

TEST_F(Computer, RoundingIsHalfToEvenAndTheMatchScoreIsRoundedOnItsOwn) {
    EXPECT_EQ(Turn({50, 0, 0, 0}, {C(1, 3), C(1, 5)}), 0);
    EXPECT_EQ((std::vector<int>{game.ScoreValue(C(1, 3)), game.ScoreValue(C(1, 5)), game.ScoreValue(C(1, 7)),
                                game.ScoreValue(C(1, -3))}),
              (std::vector<int>{2, 2, 4, -2}));
    // A 3 with three matches at 50 %: 3 + round(1.5) = 5; a 2 with five: 2 + round(2.5) = 4.
    // Rounding the sums (4.5 and 4.5) would tie them and keep the 2.
    EXPECT_EQ(Turn({100, 0, 50, 1}, {C(1, 2), C(1, 3), C(3, 2), C(4, 2)}, C(1, 1)), 1);
    // The rounding without the library call agrees with it everywhere.
    const auto library = [](double v) {
        if (std::isnan(v)) return std::int16_t{0};
        const double r = std::nearbyint(v);
        return static_cast<std::int16_t>(r >= 32767.0 ? 32767 : r <= -32768.0 ? -32768 : r);
    };
    for (const double v : std::initializer_list<double>{0.0, -0.0, 0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 0.49999999999999994, 2.5000000000000004, 32766.5,
                     32767.5, -32768.5, -32767.5, 0x1p52 - 0.5, 0x1p52 + 1, -0x1p53, 1e300, -1e300, INFINITY, -INFINITY,
                     NAN})
        EXPECT_EQ(Round16(v), library(v)) << v;
}

TEST_F(Computer, TheLargestOtherComputerHandAndSixteenBitLimits) {
    Turn({100, 2, 0, 0}, {C(1, 1)});
    SetTable(game, {Low(1, 12), Low(2, 5), Low(3, 9), Low(4, 4)}, {C(1, 2)}, {}, 3);
    EXPECT_EQ(game.MaxOtherHand(), 5) << "neither the human nor the player itself";
    game.CurPlayer = 2;
    EXPECT_EQ(game.ScoreValue(C(1, 20)), 20 - 2 * 9);
    game.PlayerInfo[2].TraitB = 30000;
    EXPECT_EQ(game.ScoreValue(C(1, 1)), 1 - 32767) << "the product saturates";
    EXPECT_EQ(game.ScoreValue(C(1, -10)), -32768) << "so does the difference";
    game.PlayerInfo[2].TraitC = 100;
    game.PlayerInfo[2].TraitD = 20000;
    EXPECT_DOUBLE_EQ(game.ScoreMatch(C(2, 1), game.Players[2]), 32767.0);
    // Every score far below -1000: still the best candidate, never an unplayable slot 0.
    EXPECT_EQ(Turn({100, 1000, 0, 0}, {C(5, 5), C(1, 1), C(1, 9), C(1, 4)}), 2);
}

TEST_F(Computer, NeverMakesTheNextPlayerTakeFromAHandThatWouldRunOut) {
    // Player 3 on turn: player 4 would take; left of 4 is the human (2 cards), across is player 2 (3).
    SetTable(game,
             {Low(1, 2), Low(2, 3), {C(0, 99, kActionDrawLeft, 2), C(1, 20, kActionDrawLeft, 2), C(1, 21, kActionDrawAcross, 2)},
              Low(4, 3)},
             {C(1, 2)}, {});
    game.CurPlayer = 3;
    EXPECT_EQ(game.ChooseCompCard(game.Players[3], 0), 2);
    EXPECT_EQ(game.Players[3][0].Playable, 0) << "not even a wild card";
}

TEST_F(Computer, DrawsUntilItCanPlayPassesWhenItCannotAndFourPassesEndTheRound) {
    Turn({0, 0, 0, 0}, {C(3, 3)}, C(1, 2), {C(4, 4), C(4, 5), C(1, 7), C(1, 8)});
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Played);
    EXPECT_EQ(std::tuple(table.view.Count("AnimateDraw 2"), Plain(game.DiscardPile.Top()), game.CurPlayer),
              std::tuple(3, C(1, 7), 3));

    game.ComputerSeat1 = true;
    SetTable(game, {Low(3, 3), Low(3, 2), Low(3, 3), Low(4, 3)}, {C(1, 9)}, {}, 2);
    const std::int64_t refused = game.RefusedMoves;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(std::tuple(game.RefusedMoves, game.CurPlayer), std::tuple(refused, 1))
        << "a pass for want of cards refuses nothing";
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::RoundEnded);
    EXPECT_TRUE(game.RoundIsOver());
    const RoundResult r = game.RoundOver(FirstDiscardRule::kWild);
    EXPECT_EQ(std::tuple(r.Totals[1], r.Totals[2], game.RoundEnded), std::tuple(6, 3, false));
    // A full hand that cannot draw passes and counts a refused move.
    std::vector<Card> full(CardStack::Capacity, C(3, 3));
    Turn({0, 0, 0, 0}, full, C(1, 2), {C(1, 7)});
    const std::int64_t refused_full = game.RefusedMoves;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(std::tuple(game.RefusedMoves, game.DrawDeck.Count()), std::tuple(refused_full + 1, 1)) << "nothing drawn";
    // A draw breaks a run of passes, as an earlier table may leave it.
    SetTable(game, {Low(1, 3), Low(2, 3), Low(3, 3), Low(4, 3)}, {C(1, 9)}, {C(2, 7)});
    game.PassesInRow = 3;
    game.DrawCard(game.Players[3], 3, false);
    EXPECT_EQ(game.PassesInRow, 0);
    game.PassesInRow = 3;
    game.DrawCard(game.Players[3], 3, false);
    EXPECT_EQ(game.PassesInRow, 3) << "nothing was left to draw";
}

// Each of two computers can play only the card the other has just laid, and
// the deck is rebuilt from it alone: the same two cards would go back and
// forth for ever.
TEST_F(Computer, ARoundInWhichNoHandGetsSmallerEndsAtTheStuckLimit) {
    SetTable(game, {Low(1, 3), Low(4, 3), Low(3, 3), Low(4, 3)},
             {C(1, 20, kActionReverse), C(2, 20, kActionReverse)}, {}, 3);
    int turns = 0;
    TurnOutcome last = TurnOutcome::Played;
    while (last != TurnOutcome::RoundEnded && turns < 2 * Game::kStuckTurns) {
        last = game.PlayComputerTurn();
        ++turns;
    }
    ASSERT_EQ(last, TurnOutcome::RoundEnded);
    EXPECT_EQ(std::tuple(turns, game.RoundIsOver(), game.Players[2].Count()),
              std::tuple(Game::kStuckTurns + 1, true, 3)) << "the first turn set the smallest hands";
    EXPECT_EQ(game.RoundOver(FirstDiscardRule::kWild).Totals[3], 6) << "scored as it stands";
    EXPECT_EQ(game.TurnsWithoutProgress, 0) << "a new deal starts afresh";

    game.PlayReversed = 0;
    Turn({0, 0, 0, 0}, {C(1, 3), C(3, 3)});
    ASSERT_EQ(game.PlayComputerTurn(), TurnOutcome::Played);
    game.TurnsWithoutProgress = Game::kStuckTurns - 1;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Played) << "player 3 laid a card: progress";
    EXPECT_EQ(game.TurnsWithoutProgress, 0);
}

TEST_F(Computer, ADiscardCardDiscardsFirstThenIsLaid) {
    Turn({0, 0, 0, 0}, {C(1, 25, kActionDiscard, 2), C(3, 3), C(3, 4), C(3, 5)});
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Played);
    ASSERT_EQ(game.DiscardPile.Count(), 4);
    EXPECT_EQ(std::tuple(game.DiscardPile[1].Group, game.DiscardPile[2].Group, Plain(game.DiscardPile.Top()), game.CurPlayer),
              std::tuple(3, 3, C(1, 25, kActionDiscard, 2), 3));
    const auto flights = table.view.Matching("AnimateCompDiscard 2");
    ASSERT_EQ(flights.size(), 3u);
    EXPECT_EQ(std::tuple(flights[2], table.view.Count("HideHoldCard")), std::tuple("AnimateCompDiscard 2 1/25/8x2", 1))
        << "the held card flies last";
    // Wild: then a group is named. Too few cards: the round ends with the card held.
    Turn({0, 0, 0, 0}, {C(0, 43, kActionDiscard, 1), C(2, 3), C(2, 4), C(4, 5)});
    game.PlayComputerTurn();
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[19]);
    Turn({0, 0, 0, 0}, {C(1, 25, kActionDiscard, 3), C(3, 3)});
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::RoundEnded);
    EXPECT_EQ(std::tuple(game.CompHeld.Count(), game.CurPlayer), std::tuple(1, 2));
}

// The round a computer ends is scored and the next one played to the human.
TEST_F(Computer, TheLoopPlaysUntilTheHuman) {
    SetTable(game, {Low(1, 3), {C(1, 3), C(2, 3)}, {C(1, 4)}, Low(4, 3)}, {C(1, 2)}, Low(4, 5), 2);
    PlayToThePerson(game);
    // Player 2 opened the new round and play went on to the human.
    EXPECT_EQ(std::tuple(table.view.score_sheets, game.Scores[1], game.Scores[2], game.StartPlayer), std::tuple(1, 6, 3, 2));
    const long sheet = table.view.At("OpenScoreSheet 0");
    // Its hand hidden with the round, and shown again with the next deal's first card.
    EXPECT_LT(table.view.At("SetHandVisible 3 off"), sheet);
    EXPECT_LT(sheet, table.view.At("ShowHand 3 1"));
}

}  // namespace
}  // namespace kvt::test
