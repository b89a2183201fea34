#include <gtest/gtest.h>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Human : public RulesTest {
protected:
    // The human on turn with `hand`; the computers hold two cards each that
    // the deck's first card lets them answer.
    void Deal(std::vector<Card> hand, std::vector<Card> deck = {C(1, 1), C(4, 5), C(4, 6)}) {
        SetTable(game, {hand, {C(3, 1), C(3, 2)}, {C(4, 1), C(4, 2)}, {C(4, 3), C(4, 4)}}, {C(1, 9)}, deck, 1);
        table.view.calls.clear();
    }
    std::vector<HumanMove> ClickHand(std::initializer_list<int> columns) {
        std::vector<HumanMove> results;
        for (int column : columns) results.push_back(clicks.ClickHandCard(column));
        return results;
    }
    // The cards the hold grid wants, whether it is open, whether the discard button is shown.
    std::tuple<int, bool, bool> Asked() const {
        return {clicks.HoldNeeded(), clicks.HoldGridOpen(), clicks.DiscardShown()};
    }
    MatchDriver driver{game};
    MoveBeingBuilt clicks{game, driver, table.view};
};

TEST_F(Human, DiscardTwoAsksForTwoCardsAndLaysThemInOrderUnderIt) {
    const Card discard2 = C(1, 25, kActionDiscard, 2);
    Deal({discard2, C(2, 1), C(2, 2), C(2, 3)});
    EXPECT_EQ(clicks.ClickHandCard(0), HumanMove::Picked);
    EXPECT_EQ(Asked(), std::tuple(2, true, false));
    EXPECT_EQ(clicks.ClickDiscardButton(), HumanMove::Ignored);
    // The third card is refused: the hold grid is full.
    EXPECT_EQ(ClickHand({2, 0, 0}), (std::vector{HumanMove::Chosen, HumanMove::Chosen, HumanMove::Ignored}));
    EXPECT_TRUE(clicks.DiscardShown());
    EXPECT_EQ(clicks.ClickDiscardButton(), HumanMove::Played);
    PlayToThePerson(game);
    const std::vector<Card> pile = Cards(game.DiscardPile);
    EXPECT_EQ(std::vector<Card>(pile.begin() + 1, pile.begin() + 4), (std::vector<Card>{C(2, 3), C(2, 1), discard2}));
    // The grid closed, both chosen cards flew, the computers answered.
    EXPECT_EQ(std::tuple(clicks.HoldGridOpen(), table.view.Matching("AnimateHoldDiscard").size(), game.CurPlayer),
              std::tuple(false, 2u, 1));
}

TEST_F(Human, RePickingCancellingAndGivingBack) {
    game.SortCards = true;
    Deal({C(1, 1), C(1, 3), C(2, 5)});
    clicks.ClickHandCard(0);
    EXPECT_EQ(clicks.ClickHandCard(1), HumanMove::Picked);
    // The 1 went back to its place, the table's hand never changed; the 5 does not fit.
    EXPECT_EQ(std::tuple(Plain(clicks.PickedCard()), Cards(clicks.ShownHand()), Cards(game.Players[1])),
              std::tuple(C(2, 5), std::vector<Card>{C(1, 1), C(1, 3)}, std::vector<Card>{C(1, 1), C(1, 3), C(2, 5)}));
    EXPECT_FALSE(clicks.DiscardShown());
    EXPECT_EQ(clicks.ClickPickedCard(), HumanMove::Cancelled);
    EXPECT_EQ(clicks.ClickPickedCard(), HumanMove::Ignored);

    game.SortCards = false;
    const Card pass2 = C(1, 20, kActionPassAcross, 2);
    Deal({pass2, C(2, 1), C(2, 2), C(2, 3)});
    ClickHand({0, 2, 0});
    EXPECT_EQ((std::vector{clicks.ClickHoldCard(5), clicks.ClickHoldCard(0)}),
              (std::vector{HumanMove::Ignored, HumanMove::GivenBack})) << "cell 5 is empty";
    EXPECT_EQ(std::tuple(Cards(clicks.Held()), clicks.DiscardShown()), std::tuple(std::vector<Card>{C(2, 1)}, false));
    clicks.ClickPickedCard();
    EXPECT_EQ(Cards(clicks.ShownHand()), (std::vector<Card>{pass2, C(2, 1), C(2, 2), C(2, 3)})) << "each back in its place";
    EXPECT_EQ(std::tuple(clicks.HoldGridOpen(), clicks.Picking()), std::tuple(false, false));

    // A full hand draws nothing.
    Deal(std::vector<Card>(CardStack::Capacity, C(2, 1)));
    EXPECT_EQ(clicks.ClickDrawDeck(), HumanMove::Ignored);
    EXPECT_EQ(std::tuple(clicks.Picking(), game.Players[1].Count(), game.DrawDeck.Count()),
              std::tuple(false, CardStack::Capacity, 3));
}

TEST_F(Human, PassesGoToTheirSeatAfterThePickedCardFlies) {
    const Card pass2 = C(1, 20, kActionPassLeft, 2);
    Deal({pass2, C(2, 1), C(2, 2), C(2, 3)});
    ClickHand({0, 0, 0});
    clicks.ClickDiscardButton();
    EXPECT_EQ(std::tuple(Cards(game.Players[2]), Plain(game.DiscardPile.Top())),
              std::tuple(std::vector<Card>{C(3, 1), C(3, 2), C(2, 1), C(2, 2)}, pass2));
    EXPECT_LT(table.view.At("AnimatePickedCard 1/20/1x2"), table.view.At("AnimateCardMove 0>2 2/1/8x0"));
    // After each flight the hold grid and the taker's hand are drawn as the card left them.
    const long first = table.view.At("AnimateCardMove 0>2 2/1/8x0");
    ASSERT_LT(first + 3, static_cast<long>(table.view.calls.size()));
    EXPECT_EQ(std::vector<std::string>(table.view.calls.begin() + first + 1, table.view.calls.begin() + first + 3),
              (std::vector<std::string>{"ShowHand 0 1", "ShowHand 2 3"}));
    // Cards chosen for a card that passes nothing stay in the hand.
    Deal({C(1, 20, kActionSkip, 2), C(2, 1), C(2, 2), C(2, 3)});
    const Census start = TakeCensus(game);
    ClickHand({0, 0, 0});
    clicks.ClickDiscardButton();
    EXPECT_EQ(Cards(game.Players[1]), (std::vector<Card>{C(2, 1), C(2, 2), C(2, 3)})) << "each in its place";
    EXPECT_TRUE(TableConsistent(game, start, game.GroupCardsAdded));
}

TEST_F(Human, DrawingIntoThePickedCardBox) {
    Deal(Low(2, 3), {C(3, 3), C(1, 20, kActionPassLeft, 2), C(1, 20, kActionSkip)});
    EXPECT_EQ(clicks.ClickDrawDeck(), HumanMove::Drew);
    EXPECT_EQ(std::tuple(Plain(clicks.PickedCard()), clicks.DiscardShown()), std::tuple(C(3, 3), false));
    EXPECT_EQ(clicks.ClickDrawDeck(), HumanMove::Drew);
    EXPECT_EQ(Plain(clicks.ShownHand().Top()), C(3, 3)) << "the waiting card went back first";
    // A drawn Pass card opens the hold grid, the button waits for the chosen cards.
    EXPECT_EQ(Asked(), std::tuple(2, true, false));
    table.view.calls.clear();
    clicks.ClickDrawDeck();
    EXPECT_EQ(std::tuple(table.view.Count("AnimateDraw 1 picked"), table.view.Count("ShowPickedCard 1/20/9x0")),
              std::tuple(1, 1));
    game.CurPlayer = 3;
    EXPECT_EQ(clicks.ClickDrawDeck(), HumanMove::Ignored) << "not the human's turn";
}

TEST_F(Human, ChoosingIsAskedAgainstTheHandAsItWillBe) {
    for (const Card& giver : {C(1, 25, kActionDiscard, 2), C(1, 25, kActionPassLeft, 2)}) {
        SCOPED_TRACE(RulesView::Name(giver));
        // Re-picking: the plain card picked first is back in the hand when the count is taken.
        Deal({C(1, 3), giver, C(2, 2)});
        ASSERT_EQ(ClickHand({0, 0}), (std::vector{HumanMove::Picked, HumanMove::Picked}));
        ASSERT_EQ(Plain(clicks.PickedCard()), giver);
        EXPECT_EQ(Asked(), std::tuple(2, true, false));
        // Drawn: the button appears only once the chosen cards are complete.
        Deal({C(2, 1), C(2, 2), C(2, 3)}, {giver});
        clicks.ClickDrawDeck();
        EXPECT_EQ((std::tuple{clicks.HoldNeeded(), clicks.ClickHandCard(0)}), std::tuple(2, HumanMove::Chosen));
        EXPECT_FALSE(clicks.DiscardShown());
        EXPECT_EQ(clicks.ClickHandCard(0), HumanMove::Chosen);
        EXPECT_TRUE(clicks.DiscardShown());
    }
    // A drawn Discard 1 asks for its card too; with one card left there is nothing to choose.
    for (const auto& [hand, count, asked] : {std::tuple(Low(2, 2), 1, std::tuple(1, true, false)),
                                             std::tuple(Low(2, 1), 2, std::tuple(0, true, true))}) {
        Deal(hand, {C(1, 25, kActionDiscard, count)});
        clicks.ClickDrawDeck();
        EXPECT_EQ(Asked(), asked) << count;
    }
    // Picked from the hand: one card left, or the last card, asks for nothing.
    Deal({C(1, 25, kActionDiscard, 2), C(2, 1)});
    clicks.ClickHandCard(0);
    EXPECT_EQ(Asked(), std::tuple(0, true, true));
    Deal({C(1, 20, kActionPassLeft, 2)});
    game.StartPlayer = 4;
    clicks.ClickHandCard(0);
    ASSERT_EQ(Asked(), std::tuple(0, true, true));
    EXPECT_EQ(clicks.ClickDiscardButton(), HumanMove::Played);
    PlayToThePerson(game);
    // The human went out: the round is scored and the seat after the starter opens the next.
    EXPECT_EQ(std::tuple(table.view.score_sheets, game.Scores[3], game.CurPlayer, game.Players[1].Count()),
              std::tuple(1, 3, 1, kHandSize));
}

TEST_F(Human, ACardThatEmptiesAnotherHandEndsTheRoundAtOnce) {
    // The next seat takes two cards from a hand that holds one.
    SetTable(game, {{C(1, 20, kActionDrawLeft, 2), C(2, 2)}, {C(3, 1)}, {C(4, 1)}, {C(4, 3)}}, {C(1, 9)}, Low(4, 5), 1);
    ASSERT_EQ(clicks.ClickHandCard(0), HumanMove::Picked);
    ASSERT_EQ(clicks.ClickDiscardButton(), HumanMove::Played);
    EXPECT_EQ(std::tuple(game.Pending(), table.view.score_sheets), std::tuple(Decision::AcknowledgeScore, 1));
}

TEST_F(Human, AnEmptyDeckIsRebuiltAndWithNothingToDrawTheHumanPassesOrMustPlay) {
    // The deck rebuilt from the pile is pinned where DrawFromDeck is.
    SetTable(game, {{C(1, 3)}, Low(2, 3), Low(3, 3), Low(4, 3)}, {C(1, 9)}, {}, 1);
    EXPECT_EQ(clicks.ClickDrawDeck(), HumanMove::NothingToDraw);
    EXPECT_EQ(table.view.Count("NothingToDraw 1"), 1) << "the table says a card must be played";
    SetTable(game, {{C(3, 3)}, {C(1, 1), C(2, 2)}, {C(1, 2), C(2, 3)}, {C(1, 3), C(2, 4)}}, {C(1, 9)}, {});
    EXPECT_EQ(clicks.ClickDrawDeck(), HumanMove::Passed);
    // The pass counts towards the four that end the round (Computer.DrawsUntilItCanPlay...).
    EXPECT_EQ(std::tuple(game.CurPlayer, game.PassesInRow, table.view.Count("NothingToDraw 1 passed")),
              std::tuple(2, 1, 1));
}

TEST_F(Human, PickingCardsFromAnOpponent) {
    SetTable(game, {Low(1, 3), {C(3, 1), C(3, 2), C(3, 3)}, Low(3, 3), {C(1, 20, kActionDrawLeft, 2), C(4, 4)}}, {C(1, 9)},
             Low(4, 5), 4);
    PlayToThePerson(game);
    // The human keeps the turn to take.
    ASSERT_EQ(std::tuple(game.ChoosingCards, game.CurPlayer, game.ChooseFromPlayer, game.ChooseTotal),
              std::tuple(true, 1, 2, 2));
    // Only player 2's cards answer (the message names player 2).
    EXPECT_EQ((std::vector{clicks.ClickHandCard(0), clicks.ClickDrawDeck(), clicks.ClickOpponentCard(3, 0),
                           clicks.ClickOpponentCard(2, 2), clicks.ClickOpponentCard(2, 1)}),
              (std::vector{HumanMove::Ignored, HumanMove::Ignored, HumanMove::Ignored, HumanMove::Took,
                           HumanMove::Took}));
    EXPECT_EQ(Cards(game.Players[1]), (std::vector<Card>{C(1, 1), C(1, 2), C(1, 3), C(3, 1), C(3, 2)}))
        << "from a side grid always its first card";
    EXPECT_EQ(std::tuple(game.ChoosingCards, game.CurPlayer), std::tuple(false, 2));
    EXPECT_EQ(clicks.ClickOpponentCard(2, 0), HumanMove::Ignored);

    // Taking the giver's last card ends the round. A computer never lays such a card
    // on so small a hand, but it lays a card it has just drawn.
    SetTable(game, {Low(1, 3), {C(3, 1)}, Low(3, 3), {C(4, 4)}}, {C(1, 9)}, {C(1, 20, kActionDrawLeft, 2)}, 4);
    game.StartPlayer = 3;
    PlayToThePerson(game);
    ASSERT_TRUE(game.ChoosingCards);
    EXPECT_EQ(clicks.ClickOpponentCard(2, 0), HumanMove::Took);
    PlayToThePerson(game);
    EXPECT_EQ(std::tuple(table.view.score_sheets, game.Scores[1], game.ChoosingCards, game.StartPlayer),
              std::tuple(1, 7, false, 4));
    game.PlayReversed = 1;
    SetTable(game, {Low(1, 3), {C(1, 20, kActionDrawAcross, 1), C(2, 2)}, Low(3, 3), Low(4, 3)}, {C(1, 9)},
             Low(4, 5), 2);
    PlayToThePerson(game);
    ASSERT_EQ(game.ChooseFromPlayer, 3);
    clicks.ClickOpponentCard(3, 2);
    EXPECT_EQ(Plain(game.Players[1].Top()), C(3, 3)) << "from the top grid the clicked card";
    EXPECT_EQ(game.CurPlayer, 4);
}

TEST_F(Human, ANewDealLeavesNoPickedCardHoldGridOrDiscardButtonBehind) {
    Deal({C(1, 20, kActionPassLeft, 2), C(2, 2), C(2, 3)});
    ClickHand({0, 0});
    ASSERT_EQ(clicks.Held().Count(), 1);
    table.view.calls.clear();
    game.NewGame();
    EXPECT_TRUE(!clicks.Picking() && clicks.Held().Empty() && !clicks.HoldGridOpen());
    Deal({C(1, 5), C(2, 2)});
    clicks.ClickHandCard(0);
    ASSERT_TRUE(clicks.DiscardShown());
    game.NewGame();
    Deal({C(3, 3), C(2, 2)});
    EXPECT_EQ(clicks.ClickHandCard(0), HumanMove::Picked);
    EXPECT_EQ(clicks.ClickDiscardButton(), HumanMove::Ignored);
}

}  // namespace
}  // namespace kvt::test
