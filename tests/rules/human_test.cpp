#include <gtest/gtest.h>

#include <algorithm>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Human : public ::testing::Test {
protected:
    RulesTable table{FourWindsLikeSet()};
    Game& game = *table.game;

    void SetUp() override { game.CurPlayer = 1; }
    std::vector<Card> Filler(int group, int n) {
        std::vector<Card> v;
        for (int i = 0; i < n; ++i) v.push_back(C(group, 1 + i % 9));
        return v;
    }
    int Column(const Card& card) {
        for (int i = 0; i < game.Players[1].Count(); ++i)
            if (game.Players[1][i] == card) return i;
        ADD_FAILURE() << "not in the hand";
        return -1;
    }
};

TEST_F(Human, PickingADiscardTwoAsksForTwoCardsThenShowsTheButton) {
    const Card discard2 = C(1, 25, kActionDiscard, 2);
    SetTable(game, {{discard2, C(2, 1), C(2, 2), C(2, 3), C(2, 4)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)},
             Filler(4, 5));
    EXPECT_EQ(game.ClickHandCard(0), HumanMove::Picked);
    EXPECT_EQ(Plain(game.PickStack[0]), discard2);
    EXPECT_EQ(game.HoldNeeded, 2);
    EXPECT_TRUE(game.HoldGridOpen);
    EXPECT_FALSE(game.DiscardButtonShown);
    EXPECT_EQ(game.ClickHandCard(0), HumanMove::Chosen);
    EXPECT_FALSE(game.DiscardButtonShown);
    EXPECT_EQ(game.ClickHandCard(0), HumanMove::Chosen);
    EXPECT_TRUE(game.DiscardButtonShown);
    EXPECT_EQ(game.HoldCount, 2);
    EXPECT_EQ(game.ClickHandCard(0), HumanMove::Ignored) << "the hold grid is full";
    EXPECT_EQ(game.Players[1].Count(), 2);
}

TEST_F(Human, ANewDealLeavesNoDiscardButtonBehind) {
    SetTable(game, {{C(1, 5), C(2, 2)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    game.ClickHandCard(0);
    ASSERT_TRUE(game.DiscardButtonShown);
    game.NewGame();
    SetTable(game, {{C(3, 3), C(2, 2)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    game.CurPlayer = 1;
    EXPECT_EQ(game.ClickHandCard(0), HumanMove::Picked);
    EXPECT_FALSE(game.DiscardButtonShown) << "an unplayable card";
    EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Ignored);
}

TEST_F(Human, WithOneOtherCardNothingHasToBeChosen) {
    SetTable(game, {{C(1, 25, kActionDiscard, 2), C(2, 1)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    game.ClickHandCard(0);
    EXPECT_TRUE(game.HoldGridOpen);
    EXPECT_EQ(game.HoldNeeded, 0);
    EXPECT_TRUE(game.DiscardButtonShown);
}

TEST_F(Human, TheLastCardMayBeAPassCardWithNothingToChoose) {
    SetTable(game, {{C(1, 20, kActionPassLeft, 2)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, Filler(4, 5));
    game.ClickHandCard(0);
    EXPECT_EQ(game.HoldNeeded, 0);
    ASSERT_TRUE(game.DiscardButtonShown);
    EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Played);
    EXPECT_EQ(table.view.score_sheets, 1) << "the human went out";
    EXPECT_EQ(game.Players[2].Score, 1 + 2 + 3);
}

TEST_F(Human, RePickingPutsTheFirstCardBackAtTheEnd) {
    SetTable(game, {{C(1, 1), C(2, 5), C(1, 3)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    game.ClickHandCard(0);
    EXPECT_TRUE(game.DiscardButtonShown);
    EXPECT_EQ(game.ClickHandCard(1), HumanMove::Picked);
    EXPECT_EQ(Plain(game.PickStack[0]), C(1, 3));
    EXPECT_EQ(Cards(game.Players[1]), (std::vector<Card>{C(2, 5), C(1, 1)}));
    EXPECT_TRUE(game.DiscardButtonShown);
    // An unplayable pick shows no button, and the button then does nothing.
    EXPECT_EQ(game.ClickHandCard(0), HumanMove::Picked);
    EXPECT_EQ(Plain(game.PickStack[0]), C(2, 5));
    EXPECT_FALSE(game.DiscardButtonShown);
    EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Ignored);
    EXPECT_EQ(game.DiscardPile.Count(), 1);
}

TEST_F(Human, RePickingSortsTheHandWhenSortingIsOn) {
    game.SortCards = true;
    SetTable(game, {{C(1, 1), C(1, 3), C(2, 5)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    game.ClickHandCard(0);
    game.ClickHandCard(1);
    EXPECT_EQ(Plain(game.PickStack[0]), C(2, 5));
    EXPECT_EQ(Cards(game.Players[1]), (std::vector<Card>{C(1, 1), C(1, 3)})) << "the 1 went back and was sorted in";
}

TEST_F(Human, CancellingReturnsThePickedCardThenTheHeldCards) {
    const Card pass2 = C(1, 20, kActionPassAcross, 2);
    SetTable(game, {{pass2, C(2, 1), C(2, 2), C(2, 3)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    game.ClickHandCard(0);
    game.ClickHandCard(2);
    game.ClickHandCard(0);
    EXPECT_EQ(Cards(game.HoldStack), (std::vector<Card>{C(2, 3), C(2, 1)}));
    EXPECT_EQ(game.ClickPickedCard(), HumanMove::Cancelled);
    EXPECT_EQ(Cards(game.Players[1]), (std::vector<Card>{C(2, 2), pass2, C(2, 3), C(2, 1)}));
    EXPECT_FALSE(game.HoldGridOpen);
    EXPECT_FALSE(game.DiscardButtonShown);
    EXPECT_EQ(game.CardPicked, 0);
    EXPECT_EQ(game.HoldCount, 0);
    EXPECT_EQ(game.ClickPickedCard(), HumanMove::Ignored) << "nothing is picked";
}

TEST_F(Human, GivingBackTheFirstOfTwoChosenCards) {
    SetTable(game, {{C(1, 25, kActionDiscard, 2), C(2, 1), C(2, 2), C(2, 3)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)},
             {C(1, 9)}, {});
    game.ClickHandCard(0);
    game.ClickHandCard(0);
    game.ClickHandCard(0);
    ASSERT_TRUE(game.DiscardButtonShown);
    EXPECT_EQ(game.ClickHoldCard(5), HumanMove::Ignored) << "an empty cell";
    EXPECT_EQ(game.ClickHoldCard(0), HumanMove::GivenBack);
    EXPECT_EQ(Cards(game.HoldStack), (std::vector<Card>{C(2, 2)}));
    EXPECT_FALSE(game.DiscardButtonShown);
    EXPECT_EQ(game.HoldCount, 1);
    EXPECT_EQ(Plain(game.Players[1].Top()), C(2, 1));
    game.ClickHandCard(0);
    EXPECT_TRUE(game.DiscardButtonShown);
}

TEST_F(Human, DiscardTwoLaysTheChosenCardsInOrderUnderTheDiscardCard) {
    const Card discard2 = C(1, 25, kActionDiscard, 2);
    SetTable(game,
             {{discard2, C(2, 1), C(2, 2), C(2, 3)}, {C(3, 1), C(3, 2)}, {C(4, 1), C(4, 2)}, {C(4, 3), C(4, 4)}},
             {C(1, 9)}, {C(1, 1), C(4, 5), C(4, 6)});
    game.ClickHandCard(0);
    game.ClickHandCard(2);
    game.ClickHandCard(0);
    table.view.calls.clear();
    EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Played);
    ASSERT_GE(game.DiscardPile.Count(), 4);
    EXPECT_EQ(Plain(game.DiscardPile[1]), C(2, 3));
    EXPECT_EQ(Plain(game.DiscardPile[2]), C(2, 1));
    EXPECT_EQ(Plain(game.DiscardPile[3]), discard2);
    EXPECT_FALSE(game.HoldGridOpen);
    EXPECT_EQ(game.CardPicked, 0);
    EXPECT_GE(table.view.Matching("AnimateCompDiscard").size(), 1u) << "the computers moved";
    EXPECT_EQ(table.view.Matching("AnimateHoldDiscard").size(), 2u);
    EXPECT_EQ(table.view.Matching("AnimatePickedCard").size(), 1u);
}

TEST_F(Human, PassLeftTwoGivesTheChosenCardsToPlayerTwoFirst) {
    const Card pass2 = C(1, 20, kActionPassLeft, 2);
    SetTable(game, {{pass2, C(2, 1), C(2, 2), C(2, 3)}, {C(3, 1), C(3, 2)}, {C(4, 1), C(4, 2)}, {C(4, 3), C(4, 4)}},
             {C(1, 9)}, Filler(4, 5));
    game.ClickHandCard(0);
    game.ClickHandCard(0);
    game.ClickHandCard(0);
    // Stop the computers so the hands can be looked at right after the play.
    game.RequestStop();
    game.ClickDiscardButton();
    EXPECT_EQ(Cards(game.Players[2]), (std::vector<Card>{C(3, 1), C(3, 2), C(2, 1), C(2, 2)}));
    EXPECT_EQ(Plain(game.DiscardPile.Top()), pass2);
    EXPECT_EQ(game.CurPlayer, 2);
    const auto flights = table.view.Matching("AnimateCardMove");
    ASSERT_EQ(flights.size(), 2u);
    EXPECT_EQ(flights[0], "AnimateCardMove 0>2 2/1/8x0");
    const auto& calls = table.view.calls;
    const auto picked = std::find(calls.begin(), calls.end(), "AnimatePickedCard 1/20/1x2");
    const auto first_pass = std::find(calls.begin(), calls.end(), flights[0]);
    EXPECT_LT(picked - calls.begin(), first_pass - calls.begin()) << "the picked card flies before the passes";
}

TEST_F(Human, APassCardWithNothingChosenPassesNothing) {
    const Card pass2 = C(1, 20, kActionPassRight, 2);
    SetTable(game, {{pass2, C(2, 1)}, {C(3, 1), C(3, 2)}, {C(4, 1), C(4, 2)}, {C(4, 3), C(4, 4)}}, {C(1, 9)}, Filler(4, 5));
    game.ClickHandCard(0);
    game.RequestStop();
    game.ClickDiscardButton();
    EXPECT_EQ(game.Players[4].Count(), 2);
    EXPECT_EQ(game.Players[1].Count(), 1);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), pass2);
}

TEST_F(Human, CardsChosenForACardThatPassesNothingStayInTheHand) {
    const Card skip2 = C(1, 20, kActionSkip, 2);
    SetTable(game, {{skip2, C(2, 1), C(2, 2), C(2, 3)}, {C(3, 1), C(3, 2)}, {C(4, 1), C(4, 2)}, {C(4, 3), C(4, 4)}},
             {C(1, 9)}, {});
    const auto start = Census(game);
    game.ClickHandCard(0);
    EXPECT_EQ(game.HoldNeeded, 2);
    game.ClickHandCard(0);
    game.ClickHandCard(0);
    game.RequestStop();
    game.ClickDiscardButton();
    EXPECT_EQ(game.Players[1].Count(), 3);
    EXPECT_EQ(game.CurPlayer, 3);
    EXPECT_TRUE(TableConsistent(game, start, game.GroupCardsAdded));
}

TEST_F(Human, LayingTheLastCardEndsTheRoundAndPlayResumesWithTheStartPlayer) {
    SetTable(game, {{C(1, 5)}, {C(3, 1), C(3, 2)}, {C(4, 1), C(4, 2)}, {C(4, 3), C(4, 4)}}, {C(1, 9)}, Filler(4, 5));
    game.StartPlayer = 4;
    game.ClickHandCard(0);
    EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Played);
    EXPECT_EQ(table.view.score_sheets, 1);
    EXPECT_EQ(game.Players[1].Score, 0);
    EXPECT_EQ(game.Players[3].Score, 3);
    EXPECT_EQ(game.StartPlayer, 1);
    EXPECT_EQ(game.CurPlayer, 1);
    EXPECT_EQ(game.Players[1].Count(), kHandSize);
    EXPECT_EQ(game.CardPicked, 0);
    EXPECT_FALSE(game.RoundEnded);
    EXPECT_EQ(table.view.calls.back(), "PickedBox on");
}

TEST_F(Human, TakingCardsFromTheLeftPlayer) {
    SetTable(game, {Filler(1, 3), {C(3, 1), C(3, 2), C(3, 3), C(3, 4)}, Filler(3, 3), {C(1, 20, kActionDrawLeft, 2), C(4, 4)}},
             {C(1, 9)}, Filler(4, 5));
    game.CurPlayer = 4;
    game.RunComputerTurns();
    ASSERT_TRUE(game.ChoosingCards);
    EXPECT_EQ(game.CurPlayer, 1);
    EXPECT_EQ(table.view.Count("ChooseMessage Choose a card from Player - P2"), 1);
    EXPECT_EQ(table.view.Count("PickedBox on"), 0) << "no picked-card box while choosing";
    EXPECT_EQ(game.ClickHandCard(0), HumanMove::Ignored);
    EXPECT_EQ(game.ClickDrawDeck(), HumanMove::Ignored);
    EXPECT_EQ(game.ClickOpponentCard(3, 0), HumanMove::Ignored) << "the label names player 2";
    table.view.calls.clear();
    game.RequestStop();
    EXPECT_EQ(game.ClickOpponentCard(2, 0), HumanMove::Took);
    EXPECT_EQ(Plain(game.Players[1].Top()), C(3, 1));
    EXPECT_EQ(game.ChooseDone, 1);
    EXPECT_EQ(game.ClickOpponentCard(2, 0), HumanMove::Took) << "the side grid's column is always its first card";
    EXPECT_EQ(Plain(game.Players[1].Top()), C(3, 2));
    EXPECT_FALSE(game.ChoosingCards);
    EXPECT_TRUE(game.ChooseMsgPending);
    EXPECT_EQ(game.CurPlayer, 2);
    EXPECT_EQ(game.ClickOpponentCard(2, 0), HumanMove::Ignored);
    EXPECT_EQ(table.view.Matching("AnimateCardMove 2>1").size(), 2u);
}

TEST_F(Human, AfterPickingInTheReversedDirectionPlayerFourPlays) {
    game.PlayReversed = 1;
    SetTable(game, {Filler(1, 3), {C(1, 20, kActionDrawAcross, 1), C(2, 2)}, {C(3, 1), C(3, 2), C(3, 3)}, Filler(4, 3)},
             {C(1, 9)}, Filler(4, 5));
    game.CurPlayer = 2;
    game.RunComputerTurns();
    ASSERT_TRUE(game.ChoosingCards);
    EXPECT_EQ(game.ChooseFromPlayer, 3);
    game.RequestStop();
    EXPECT_EQ(game.ClickOpponentCard(3, 2), HumanMove::Took);
    EXPECT_EQ(Plain(game.Players[1].Top()), C(3, 3)) << "from the top grid the clicked card";
    EXPECT_EQ(game.CurPlayer, 4);
}

TEST_F(Human, TakingTheGiversLastCardEndsTheRound) {
    // A computer never lays such a card on a hand this small, but it lays a
    // playable card it has just drawn.
    SetTable(game, {Filler(1, 3), {C(3, 1)}, Filler(3, 3), {C(4, 4)}}, {C(1, 9)}, {C(1, 20, kActionDrawLeft, 2)});
    game.CurPlayer = 4;
    game.StartPlayer = 3;
    game.RunComputerTurns();
    ASSERT_TRUE(game.ChoosingCards);
    EXPECT_EQ(game.ClickOpponentCard(2, 0), HumanMove::Took);
    EXPECT_EQ(table.view.score_sheets, 1);
    EXPECT_EQ(game.Players[1].Score, 1 + 2 + 3 + 1);
    EXPECT_FALSE(game.ChoosingCards);
    EXPECT_EQ(game.StartPlayer, 4);
    EXPECT_EQ(game.CurPlayer, 1) << "player 4 opened the new round and the computers played on";
}

TEST_F(Human, WithNothingToDrawAndNothingToPlayTheHumanPasses) {
    SetTable(game, {{C(3, 3)}, {C(1, 1), C(2, 2)}, {C(1, 2), C(2, 3)}, {C(1, 3), C(2, 4)}}, {C(1, 9)}, {});
    game.RequestStop();
    EXPECT_EQ(game.ClickDrawDeck(), HumanMove::Passed);
    EXPECT_EQ(game.CurPlayer, 2);
    EXPECT_EQ(game.PassesInRow, 1);
    game.ClearStop();
    SetTable(game, {{C(1, 3)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    game.CurPlayer = 1;
    EXPECT_EQ(game.ClickDrawDeck(), HumanMove::NothingToDraw);
    EXPECT_EQ(game.CurPlayer, 1);
}

TEST_F(Human, AScriptedRoundThroughTheCoreOperations) {
    // The human opens; every computer plays its first playable card.
    SetTable(game,
             {{C(1, 3), C(1, 20, kActionPassLeft, 1), C(2, 20, kActionDiscard, 2), C(2, 7), C(4, 4)},
              {C(1, 4), C(2, 4), C(3, 9)},
              {C(1, 5), C(2, 20, kActionDrawRight, 1), C(3, 8)},
              {C(1, 6), C(2, 6), C(3, 7)}},
             {C(1, 9)}, {C(2, 1), C(3, 1), C(3, 2), C(3, 3), C(3, 4), C(3, 5)});
    const auto start = Census(game);
    game.StartPlayer = 0;

    // Turn 1: pass the 4 of group 4 to the left.
    ASSERT_EQ(game.ClickHandCard(1), HumanMove::Picked);
    ASSERT_EQ(game.ClickHandCard(3), HumanMove::Chosen);
    ASSERT_TRUE(game.DiscardButtonShown);
    ASSERT_EQ(game.ClickDiscardButton(), HumanMove::Played);
    // 2 lays 1/4, 3 lays 1/5, 4 lays 1/6.
    EXPECT_EQ(Plain(game.DiscardPile.Top()), C(1, 6));
    EXPECT_EQ(game.CurPlayer, 1);
    EXPECT_TRUE(TableConsistent(game, start, game.GroupCardsAdded));

    // Turn 2: the 3 of group 1; 2 lays 4/4, 3 has nothing and draws 2/1...
    ASSERT_EQ(game.ClickHandCard(0), HumanMove::Picked);
    ASSERT_EQ(game.ClickDiscardButton(), HumanMove::Played);
    EXPECT_TRUE(TableConsistent(game, start, game.GroupCardsAdded));
    EXPECT_EQ(game.CurPlayer, 1);

    // The human plays on with whatever fits, drawing when nothing does,
    // until the round is over.
    int guard = 0;
    while (table.view.score_sheets == 0 && ++guard < 200) {
        ASSERT_EQ(game.CurPlayer, 1);
        if (game.ChoosingCards) {
            ASSERT_EQ(game.ClickOpponentCard(game.ChooseFromPlayer, 0), HumanMove::Took);
            continue;
        }
        int column = -1;
        for (int i = 0; i < game.Players[1].Count() && column < 0; ++i) {
            Card probe = game.Players[1][i];
            if (game.CheckPlayable(probe) == 1) column = i;
        }
        if (column < 0) {
            const HumanMove m = game.ClickDrawDeck();
            ASSERT_TRUE(m == HumanMove::Drew || m == HumanMove::Passed);
            if (m == HumanMove::Drew && !game.DiscardButtonShown) game.ClickPickedCard();
            if (m == HumanMove::Drew && game.DiscardButtonShown) game.ClickDiscardButton();
            continue;
        }
        ASSERT_EQ(game.ClickHandCard(column), HumanMove::Picked);
        while (!game.DiscardButtonShown) ASSERT_EQ(game.ClickHandCard(0), HumanMove::Chosen);
        ASSERT_EQ(game.ClickDiscardButton(), HumanMove::Played);
        if (table.view.score_sheets == 0) {
            EXPECT_TRUE(TableConsistent(game, start, game.GroupCardsAdded));
        }
    }
    EXPECT_EQ(table.view.score_sheets, 1);
    EXPECT_EQ(game.RoundNum, 1);
    EXPECT_EQ(game.StartPlayer, 2);
}

}  // namespace
}  // namespace kvt::test
