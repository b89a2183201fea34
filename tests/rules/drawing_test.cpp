#include <gtest/gtest.h>

#include <algorithm>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Drawing : public ::testing::Test {
protected:
    RulesTable table{FourWindsLikeSet()};
    Game& game = *table.game;

    std::vector<Card> Filler(int group, int n) {
        std::vector<Card> v;
        for (int i = 0; i < n; ++i) v.push_back(C(group, 1 + i % 9));
        return v;
    }
};

TEST_F(Drawing, AComputerDrawTakesTheTopOfTheDeckFliesAndRedraws) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {C(2, 7), C(2, 8)});
    EXPECT_EQ(game.DrawCard(game.Players[3], 3, false), 3);
    EXPECT_EQ(Plain(game.Players[3].Top()), C(2, 7));
    EXPECT_EQ(game.DrawDeck.Count(), 1);
    EXPECT_EQ(table.view.calls, (std::vector<std::string>{"AnimateDraw 3", "ShowHand 3 4", "Pump"}));
}

TEST_F(Drawing, AnEmptyDeckIsRebuiltFromAllButTheTopOfThePile) {
    std::vector<Card> pile;
    for (int v = 1; v <= 12; ++v) pile.push_back(C(2, v));
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, pile, {});
    game.DrawCard(game.Players[2], 2, false);
    EXPECT_EQ(game.DrawDeck.Count(), 10);
    ASSERT_EQ(game.DiscardPile.Count(), 1);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), C(2, 12));
    const Card drawn = game.Players[2].Top();
    EXPECT_EQ(drawn.Group, 2);
    EXPECT_LT(drawn.Value, 12);
    EXPECT_EQ(table.view.Count("ShowShuffling"), 1);
}

TEST_F(Drawing, NothingToDrawMovesNothingButStillAnimates) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_FALSE(game.CanDraw());
    EXPECT_EQ(game.DrawCard(game.Players[4], 4, false), 2);
    EXPECT_EQ(game.Players[4].Count(), 3);
    EXPECT_EQ(game.DiscardPile.Count(), 1);
    EXPECT_EQ(table.view.Count("AnimateDraw 4"), 1);
}

TEST_F(Drawing, AFullHandRefusesTheCardAndCountsIt) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {C(2, 7)});
    while (!game.Players[2].Full()) game.Players[2].Push(C(2, 2));
    const auto refused = game.RefusedMoves;
    game.DrawCard(game.Players[2], 2, false);
    EXPECT_EQ(game.Players[2].Count(), CardStack::Capacity);
    EXPECT_EQ(game.DrawDeck.Count(), 1);
    EXPECT_EQ(game.RefusedMoves, refused + 1);
}

TEST_F(Drawing, TheHumansDrawWaitsInThePickedCardBox) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {C(1, 20, kActionSkip), C(2, 2)});
    game.CurPlayer = 1;
    EXPECT_EQ(game.ClickDrawDeck(), HumanMove::Drew);
    ASSERT_EQ(game.PickStack.Count(), 1);
    EXPECT_EQ(Plain(game.PickStack[0]), C(1, 20, kActionSkip));
    EXPECT_EQ(game.Players[1].Count(), 3);
    EXPECT_TRUE(game.DiscardButtonShown);
    EXPECT_FALSE(game.HoldGridOpen);
    EXPECT_EQ(table.view.calls,
              (std::vector<std::string>{"DiscardButton on", "AnimateDraw 1 picked", "ShowPickedCard 1/20/9x0", "Pump"}));
}

TEST_F(Drawing, AWaitingCardGoesBackBeforeTheNextDraw) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {C(3, 3), C(3, 4)});
    game.CurPlayer = 1;
    game.ClickDrawDeck();
    EXPECT_FALSE(game.DiscardButtonShown) << "a 3 of group 3 does not fit";
    game.ClickDrawDeck();
    EXPECT_EQ(Plain(game.PickStack[0]), C(3, 4));
    EXPECT_EQ(Plain(game.Players[1].Top()), C(3, 3));
    EXPECT_EQ(game.Players[1].Count(), 4);
}

TEST_F(Drawing, ADrawnPassCardOpensTheHoldGridWithTheButtonAlreadyShown) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)},
             {C(1, 20, kActionPassLeft, 2), C(1, 25, kActionDiscard, 1)});
    game.CurPlayer = 1;
    game.ClickDrawDeck();
    EXPECT_TRUE(game.HoldGridOpen);
    EXPECT_TRUE(game.DiscardButtonShown);
    EXPECT_EQ(game.HoldNeeded, 2);
    // A drawn Discard 1 asks for nothing.
    game.ClickPickedCard();
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {C(1, 25, kActionDiscard, 1)});
    game.HoldNeeded = 0;
    game.ClickDrawDeck();
    EXPECT_FALSE(game.HoldGridOpen);
    EXPECT_TRUE(game.DiscardButtonShown);
    EXPECT_EQ(game.HoldNeeded, 0);
}

TEST_F(Drawing, TheDeckIgnoresTheHumanOutOfTurnOrWhilePicking) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, Filler(2, 3));
    game.CurPlayer = 3;
    EXPECT_EQ(game.ClickDrawDeck(), HumanMove::Ignored);
    game.CurPlayer = 1;
    game.ChoosingCards = true;
    EXPECT_EQ(game.ClickDrawDeck(), HumanMove::Ignored);
    EXPECT_EQ(game.DrawDeck.Count(), 3);
    EXPECT_TRUE(game.PickStack.Empty());
}

TEST_F(Drawing, AComputerTakerTakesWhatThereIsAndEmptiesTheGiver) {
    SetTable(game, {Filler(1, 3), Filler(2, 2), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(game.TakeCards(3, kActionDrawRight, 3), -1);
    EXPECT_TRUE(game.Players[2].Empty());
    EXPECT_EQ(game.Players[3].Count(), 5);
    EXPECT_EQ(game.TakeCards(3, kActionSkip, 3), 0);
}

TEST_F(Drawing, EveryCardOfTheGiverIsEquallyLikelyToBeTaken) {
    std::map<int, int> seen;
    for (int i = 0; i < 500; ++i) {
        SetTable(game, {Filler(1, 3), {C(2, 1), C(2, 2), C(2, 3), C(2, 4), C(2, 5)}, Filler(3, 3), Filler(4, 3)}, {C(1, 9)},
                 {});
        ASSERT_EQ(game.TakeCards(3, kActionDrawRight, 1), 0);
        ++seen[game.Players[3].Top().Value];
    }
    ASSERT_EQ(seen.size(), 5u);
    for (const auto& [value, n] : seen) EXPECT_GT(n, 60) << value;
}

TEST_F(Drawing, AHumanTakerWithNothingToTakeLosesTheTurnWithoutPicking) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), {C(1, 20, kActionDrawLeft, 0), C(4, 4)}}, {C(1, 9)}, {});
    game.CurPlayer = 4;
    EXPECT_EQ(game.MoveCard(game.Players[4], game.DiscardPile, 0, true), 2);
    EXPECT_FALSE(game.ChoosingCards);
}

}  // namespace
}  // namespace kvt::test
