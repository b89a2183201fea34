#include <gtest/gtest.h>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Playable : public ::testing::Test {
protected:
    RulesTable table;
    Game& game = *table.game;

    int Test(Card top, Card card) {
        SetTable(game, {}, {C(9, 9), top}, {});
        const int r = game.CheckPlayable(card);
        EXPECT_EQ(card.Playable, r == 1 ? 1 : 0);
        return r;
    }
};

TEST_F(Playable, SameGroupSameValueOrWild) {
    const Card top = C(2, 7, kActionNone);
    EXPECT_EQ(Test(top, C(2, 1, kActionNone)), 1);
    EXPECT_EQ(Test(top, C(3, 7, kActionNone)), 1);
    EXPECT_EQ(Test(top, C(3, 5, kActionNone)), -1);
    EXPECT_EQ(Test(top, C(0, 5, kActionNone)), 1);
}

TEST_F(Playable, SameActionWithACountMatchesWhateverTheValue) {
    const Card top = C(1, 20, kActionPassLeft, 2);
    EXPECT_EQ(Test(top, C(4, 3, kActionPassLeft, 3)), 1);
    EXPECT_EQ(Test(top, C(4, 20, kActionDiscard, 1)), -1);
}

TEST_F(Playable, DiscardCardsNeedTheSameValue) {
    const Card top = C(1, 4, kActionDiscard, 2);
    EXPECT_EQ(Test(top, C(3, 4, kActionDiscard, 1)), 1);
    EXPECT_EQ(Test(top, C(3, 6, kActionDiscard, 2)), -1);
}

TEST_F(Playable, ACountOfZeroNeedsTheSameValue) {
    EXPECT_EQ(Test(C(1, 20, kActionSkip), C(2, 20, kActionSkip)), 1);
    EXPECT_EQ(Test(C(1, 20, kActionSkip), C(2, 21, kActionSkip)), -1);
    // Only the played card's count is looked at.
    EXPECT_EQ(Test(C(1, 5, kActionPassLeft, 0), C(2, 7, kActionPassLeft, 2)), 1);
    EXPECT_EQ(Test(C(1, 5, kActionPassLeft, 2), C(2, 7, kActionPassLeft, 0)), -1);
}

TEST_F(Playable, AWildCardPlaysOnAnythingWhateverItsAction) {
    EXPECT_EQ(Test(C(3, 9, kActionSkip), C(0, 50, kActionDrawDeck, 4)), 1);
}

TEST_F(Playable, OnlyTheTopOfThePileCounts) {
    SetTable(game, {}, {C(5, 5), C(1, 1)}, {});
    Card card = C(5, 9);
    EXPECT_EQ(game.CheckPlayable(card), -1);
}

TEST_F(Playable, AnEmptyPileTakesAnything) {
    SetTable(game, {}, {}, {});
    Card card = C(3, 3, kActionSkip);
    EXPECT_EQ(game.CheckPlayable(card), 1);
    EXPECT_EQ(card.Playable, 1);
}

TEST(PlayableChoices, NeedsNoChoiceAndGivesCardsAway) {
    EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, kActionDrawDeck, 2)), 1);
    EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, kActionDrawRight, 2)), 1);
    EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, kActionDrawAcross, 2)), 1);
    EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, kActionDiscard, 0)), 1);
    EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, kActionDiscard, 1)), 0);
    EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, kActionSkip, 0)), 0);
    EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, kActionPassLeft, 1)), 0);
    EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, kActionReverse, 0)), 0);

    EXPECT_EQ(Game::GivesCardsAway(C(1, 1, kActionPassLeft, 1)), 1);
    EXPECT_EQ(Game::GivesCardsAway(C(1, 1, kActionPassAcross, 1)), 1);
    EXPECT_EQ(Game::GivesCardsAway(C(1, 1, kActionDiscard, 1)), 0);
    EXPECT_EQ(Game::GivesCardsAway(C(1, 1, kActionDiscard, 2)), 1);
    EXPECT_EQ(Game::GivesCardsAway(C(1, 1, kActionDrawLeft, 2)), 0);
    EXPECT_EQ(Game::GivesCardsAway(C(1, 1, kActionSkip, 2)), 0);
}

TEST_F(Playable, PrepareHoldOpensTheGridForPassAndDiscardCards) {
    SetTable(game, {{C(1, 1), C(1, 2), C(1, 3)}}, {C(1, 9)}, {});
    game.PickStack.Push(C(1, 20, kActionDiscard, 2));
    EXPECT_EQ(game.PrepareHold(game.PickStack, 0, 1, game.Players[1]), 2);
    EXPECT_TRUE(game.HoldGridOpen);
    EXPECT_EQ(table.view.Count("HoldGrid on"), 1);
}

TEST_F(Playable, PrepareHoldAsksNothingOfOneCardLeftOrOfAnUnplayableCard) {
    SetTable(game, {{C(1, 1)}}, {C(1, 9)}, {});
    game.PickStack.Push(C(1, 20, kActionPassLeft, 2));
    EXPECT_EQ(game.PrepareHold(game.PickStack, 0, 1, game.Players[1]), 0);
    EXPECT_TRUE(game.HoldGridOpen) << "the grid opens with nothing to choose";

    game.HoldGridOpen = false;
    game.Players[1].Push(C(2, 2));
    EXPECT_EQ(game.PrepareHold(game.PickStack, 0, -1, game.Players[1]), 0);
    EXPECT_FALSE(game.HoldGridOpen);
}

TEST_F(Playable, PrepareHoldIgnoresDrawCardsAndCardsWithoutCount) {
    SetTable(game, {{C(1, 1), C(1, 2), C(1, 3)}}, {C(1, 9)}, {});
    game.PickStack.Push(C(1, 20, kActionDrawLeft, 2));
    EXPECT_EQ(game.PrepareHold(game.PickStack, 0, 1, game.Players[1]), 0);
    game.PickStack.Clear();
    game.PickStack.Push(C(1, 20, kActionPassLeft, 0));
    EXPECT_EQ(game.PrepareHold(game.PickStack, 0, 1, game.Players[1]), 0);
    EXPECT_FALSE(game.HoldGridOpen);
}

TEST_F(Playable, SortHandOrdersByGroupThenValueAndKeepsEqualCardsInOrder) {
    game.SortCards = true;
    CardStack hand;
    hand.Push(C(2, 5));
    hand.Push(C(1, 9));
    hand.Push(C(0, 3));
    hand.Push(C(1, 2, kActionSkip));
    hand.Push(C(1, 2, kActionReverse));
    game.SortHand(hand);
    ASSERT_EQ(hand.Count(), 5);
    EXPECT_EQ(hand[0], C(0, 3));
    EXPECT_EQ(hand[1], C(1, 2, kActionSkip));
    EXPECT_EQ(hand[2], C(1, 2, kActionReverse));
    EXPECT_EQ(hand[3], C(1, 9));
    EXPECT_EQ(hand[4], C(2, 5));

    game.SortCards = false;
    CardStack other;
    other.Push(C(2, 5));
    other.Push(C(1, 9));
    game.SortHand(other);
    EXPECT_EQ(other[0], C(2, 5));
}

}  // namespace
}  // namespace kvt::test
