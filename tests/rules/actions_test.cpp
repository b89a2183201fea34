// The card actions, laid by the human or a computer, and the computers' play.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "engine/rules_support.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Rules : public RulesTest {
protected:
    // Lays the first card of `player`'s hand as a play: the next player.
    int Lay(int player) {
        game.CurPlayer = static_cast<std::int16_t>(player);
        table.view.calls.clear();
        return game.MoveCard(game.Players[player], game.DiscardPile, 0, true);
    }
    // Every hand three plain cards of its own group, `first` in front of `player`'s.
    void Deal(int player, Card first, std::vector<Card> deck = Low(4, 6)) {
        std::vector<std::vector<Card>> hands{Low(1, 3), Low(2, 3), Low(3, 3), Low(4, 3)};
        hands[player - 1].insert(hands[player - 1].begin(), first);
        SetTable(game, hands, {C(1, 9)}, deck);
    }
};

TEST_F(Rules, CheckPlayable) {
    struct Case { Card top, card; int result; };
    const Case cases[] = {
        {C(2, 7, 0), C(2, 1, 0), 1}, {C(2, 7, 0), C(3, 7, 0), 1}, {C(2, 7, 0), C(3, 5, 0), -1},
        {C(2, 7, 0), C(0, 5, 0), 1},  // a wild card fits anything
        {C(1, 20, 1, 2), C(4, 3, 1, 3), 1}, {C(1, 20, 1, 2), C(4, 20, 8, 1), -1},
        {C(1, 4, 8, 2), C(3, 4, 8, 1), 1}, {C(1, 4, 8, 2), C(3, 6, 8, 2), -1},  // discards need the value
        {C(1, 20, 9), C(2, 20, 9), 1}, {C(1, 20, 9), C(2, 21, 9), -1},
        {C(1, 5, 1, 0), C(2, 7, 1, 2), 1}, {C(1, 5, 1, 2), C(2, 7, 1, 0), -1},  // only the played count counts
    };
    for (const Case& c : cases) {
        SetTable(game, {}, {C(9, 9), c.top}, {});
        Card card = c.card;
        EXPECT_EQ(game.CheckPlayable(card), c.result) << RulesView::Name(c.top) << " <- " << RulesView::Name(c.card);
        EXPECT_EQ(card.Playable, c.result == 1 ? 1 : 0);
    }
    SetTable(game, {}, {}, {});
    Card any = C(3, 3, kActionSkip);
    EXPECT_EQ(game.CheckPlayable(any), 1) << "an empty pile takes anything";
}

TEST_F(Rules, ChoicesAndTheHoldGrid) {
    // Action, count, needs no choice, gives cards away.
    const int cases[][4] = {{4, 2, 1, 0}, {5, 2, 1, 0}, {6, 2, 1, 0}, {7, 2, 1, 0}, {8, 0, 1, 0},
                            {8, 1, 0, 1}, {8, 2, 0, 1}, {9, 2, 0, 0}, {3, 1, 0, 1}};
    for (const auto& [action, count, no_choice, gives] : cases) {
        EXPECT_EQ(Game::NeedsNoChoice(C(1, 1, action, count)), no_choice) << action << "x" << count;
        EXPECT_EQ(Game::GivesCardsAway(C(1, 1, action, count)), gives) << action << "x" << count;
    }

    // The hold grid of a picked card: fits, drawn, cards left; opens, cards to choose.
    const auto ask = [](const Card& card, bool fits, bool drawn, int left) {
        const Game::HoldAsk hold = Game::HoldFor(card, fits, drawn, left);
        return std::pair(hold.opens, hold.cards);
    };
    const Card discard_two = C(1, 20, kActionDiscard, 2);
    EXPECT_EQ(ask(discard_two, false, false, 3), std::pair(false, 0)) << "a card that does not fit opens nothing";
    EXPECT_EQ(ask(discard_two, true, false, 3), std::pair(true, 2));
    EXPECT_EQ(ask(discard_two, true, false, 1), std::pair(true, 0)) << "one card left: nothing to choose";
    EXPECT_EQ(ask(C(1, 20, kActionReverse, 2), true, false, 3), std::pair(true, 2)) << "a picked card asks for its count";
    EXPECT_EQ(ask(C(1, 20, kActionReverse, 2), true, true, 3), std::pair(false, 0)) << "...a drawn one only to give cards away";
    EXPECT_EQ(ask(C(1, 20, kActionPassLeft, 2), true, true, 3), std::pair(true, 2));
    EXPECT_EQ(ask(C(1, 20, kActionDrawLeft, 2), true, false, 3), std::pair(false, 0)) << "a take asks for nothing";

    // The cards a move of the human's chooses: the count, at most the cards
    // left; none for a card that does not fit, a plain card or no card.
    SetTable(game, {{C(1, 20, kActionPassLeft, 3), C(2, 20, kActionPassLeft, 2), C(1, 2)}}, {C(1, 9)}, {});
    std::vector<int> chosen;
    for (int slot = -1; slot <= 3; ++slot) chosen.push_back(game.CardsToChoose(slot));
    EXPECT_EQ(chosen, (std::vector<int>{0, 2, 0, 0, 0}));
}

TEST_F(Rules, TheNextPlayerAfterEveryAction) {
    struct Case { int action, count, player, reversed, next; };
    const Case cases[] = {
        {kActionNone, 0, 2, 0, 2},       {42, 0, 2, 0, 2},               {kActionCardBack, 0, 3, 1, 3},
        {kActionDiscard, 0, 2, 0, 3},    {kActionDiscard, 0, 2, 1, 1},   {kActionPassLeft, 1, 4, 0, 1},
        {kActionPassLeft, 1, 4, 1, 3},   {kActionPassAcross, 1, 3, 0, 4}, {kActionSkip, 0, 3, 0, 1},
        {kActionSkip, 0, 3, 1, 1},       {kActionSkip, 0, 2, 0, 4},      {kActionReverse, 0, 1, 0, 4},
        {kActionReverse, 0, 2, 0, 1},    {kActionReverse, 0, 2, 1, 3},   {kActionDrawDeck, 2, 2, 1, 4},
        {kActionDrawDeck, 2, 1, 0, 3},   {kActionDrawRight, 1, 1, 0, 3}, {kActionDrawAcross, 1, 3, 1, 1},
    };
    for (const Case& c : cases) {
        game.PlayReversed = static_cast<std::int16_t>(c.reversed);
        Deal(c.player, C(1, 20, c.action, c.count));
        EXPECT_EQ(Lay(c.player), c.next) << "action " << c.action << " by " << c.player << " reversed " << c.reversed;
        if (c.action == kActionReverse) {
            EXPECT_EQ(game.PlayReversed, 1 - c.reversed);
            EXPECT_EQ(table.view.Count("Direction " + std::to_string(1 - c.reversed)), 1);
        }
    }
}

TEST_F(Rules, PassesAndDiscardsMoveRandomCardsOfTheGiverAndRedrawBothHands) {
    Deal(4, C(1, 20, kActionPassLeft, 2));
    EXPECT_EQ(Lay(4), 1);
    EXPECT_EQ(game.Players[4].Count(), 1);
    ASSERT_EQ(game.Players[1].Count(), 5);
    EXPECT_EQ(game.Players[1][4].Group, 4);
    const auto& calls = table.view.calls;
    const auto flight = std::find_if(calls.begin(), calls.end(), [](auto& c) { return c.rfind("AnimateCardMove 4>1", 0) == 0; });
    // After each flight the giver's hand and the taker's are drawn as the card left them.
    ASSERT_LT(flight + 5, calls.end());
    EXPECT_EQ(std::vector<std::string>(flight + 1, flight + 6),
              (std::vector<std::string>{"ShowHand 4 2", "ShowHand 1 4", "Arrow 1",
                                        "AnimateCardMove 4>1 " + RulesView::Name(game.Players[1][4]), "ShowHand 4 1"}));
    // A computer that passes away its last card ends the round.
    SetTable(game, {Low(1, 3), {C(1, 20, kActionPassLeft, 2), C(2, 2)}, Low(3, 3), Low(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(2), -1);
    // Discarding at random stops when the hand runs out; other kinds move nothing.
    SetTable(game, {Low(1, 3), Low(2, 4), Low(3, 3), Low(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(game.TransferRandomCards(2, kActionDiscard, 3), 0);
    EXPECT_EQ(game.DiscardPile.Count(), 4);
    EXPECT_EQ(game.TransferRandomCards(2, kActionDiscard, 3), -1);
    EXPECT_EQ(game.DiscardPile.Count(), 5);
    EXPECT_EQ(game.TransferRandomCards(3, kActionSkip, 3), 0);
    EXPECT_EQ(game.Players[3].Count(), 3);
}

TEST_F(Rules, DrawFromDeckReversedIsSilentNormalLetsTheDrawerSpeak) {
    game.PlayerSounds = true;
    for (int p = 1; p <= 4; ++p) game.PlayerInfo[p].SoundChance = 100;
    // Reversed, seat 1 draws and nobody speaks; else seat 3 draws and speaks (98 in 99).
    for (const auto& [reversed, drawer, clips] : {std::tuple(1, 1, 0u), std::tuple(0, 3, 1u)}) {
        game.PlayReversed = static_cast<std::int16_t>(reversed);
        Deal(2, C(2, 20, kActionDrawDeck, 2));
        EXPECT_EQ(Lay(2), 4);
        EXPECT_EQ(std::tuple(game.Players[drawer].Count(), table.view.Matching("PlayClip").size(),
                             table.view.Matching("PlayClip DrawP").size()),
                  std::tuple(5, clips, clips)) << "reversed " << reversed;
    }
}

// The human taking is Human.PickingCardsFromAnOpponent.
TEST_F(Rules, TakingFromAnotherPlayer) {
    // Nothing to take: no picking, the turn goes on.
    Deal(4, C(1, 20, kActionDrawLeft, 0));
    EXPECT_EQ(Lay(4), 2);
    EXPECT_FALSE(game.ChoosingCards);
    // A computer takes at random and may empty the giver.
    SetTable(game, {Low(1, 3), Low(2, 2), {C(1, 20, kActionDrawAcross, 3)}, Low(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(3), -1);
    EXPECT_EQ(game.Players[4].Count(), 5);
    // Only the four seats take.
    for (int taker : {0, 5}) EXPECT_EQ(game.TakeCards(taker, kActionDrawRight, 1), 0) << taker;
    EXPECT_EQ(HandCounts(game), (std::vector<int>{3, 0, 0, 5}));
    EXPECT_FALSE(game.ChoosingCards);
}

// The cards taken, passed and discarded at random are each as likely: a
// chi-square test of the slot that left a six-card hand, over many trials
// of one seeded game (so the test is stable).
TEST_F(Rules, RandomCardsAreTakenPassedAndDiscardedUniformly) {
    constexpr int kSlots = 6;
    constexpr int kTrials = 3000;
    constexpr double kCritical = 20.52;  // 5 degrees of freedom, p = 0.001
    struct Case {
        const char* what;
        int giver;
        std::function<void()> move;
    };
    const Case cases[] = {
        {"taken", 2, [&] { game.TakeCards(3, kActionDrawRight, 1); }},
        {"passed", 4, [&] { game.TransferRandomCards(1, kActionPassLeft, 1); }},
        {"discarded", 2, [&] { game.TransferRandomCards(2, kActionDiscard, 1); }},
    };
    for (const Case& c : cases) {
        std::array<int, kSlots> left{};
        for (int t = 0; t < kTrials; ++t) {
            std::vector<std::vector<Card>> hands{Low(1, 3), Low(1, 3), Low(1, 3), Low(1, 3)};
            hands[static_cast<std::size_t>(c.giver - 1)] = Low(2, kSlots);
            SetTable(game, hands, {C(1, 9)}, {});
            c.move();
            const CardStack& giver = game.Players[c.giver];
            ASSERT_EQ(giver.Count(), kSlots - 1) << c.what;
            int gone = 0;  // values 1..6 sum to 21: the missing one is the difference
            for (const Card& card : giver) gone += card.Value;
            ++left[static_cast<std::size_t>(21 - gone - 1)];
        }
        const double expected = static_cast<double>(kTrials) / kSlots;
        double chi2 = 0;
        for (int n : left) chi2 += (n - expected) * (n - expected) / expected;
        EXPECT_LT(chi2, kCritical) << c.what;
    }
}

TEST_F(Rules, AComputersWildCardLaysTheEarliestLowestCardOfItsMostCommonGroup) {
    SetTable(game, {Low(1, 3), {C(0, 50), C(3, 7), C(2, 5), C(3, 9), C(1, 1)}, Low(3, 3), Low(4, 3)}, {C(1, 9)}, {});
    const auto added = game.GroupCardsAdded;
    EXPECT_EQ(Lay(2), 3);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[38]);
    EXPECT_TRUE(game.DiscardPile[game.DiscardPile.Count() - 2].IsWild());
    EXPECT_EQ(game.GroupCardsAdded, added + 1);
    // With an action the action comes first, then the group.
    SetTable(game, {Low(1, 3), {C(0, 50, kActionDrawDeck, 4), C(4, 7)}, Low(3, 3), Low(4, 3)}, {C(1, 9)}, Low(1, 6));
    EXPECT_EQ(Lay(2), 4);
    EXPECT_EQ(game.Players[3].Count(), 7);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[57]);
    // No definition of the group, or an emptied hand: the wild card stays on top.
    SetTable(game, {Low(1, 3), {C(0, 50), C(9, 7)}, Low(3, 3), Low(4, 3)}, {C(1, 9)}, {});
    Lay(2);
    EXPECT_TRUE(game.DiscardPile.Top().IsWild());
    SetTable(game, {Low(1, 3), {C(0, 50)}, Low(3, 3), Low(4, 3)}, {C(1, 9)}, {});
    Lay(2);
    EXPECT_TRUE(game.DiscardPile.Top().IsWild());
    // The group card is the earliest of equal lowest definitions up to 77.
    game.CardSet.CardDefs[5] = Def(3, 0, kActionDiscard, 0, 0, 7, 7);
    game.CardSet.CardDefs[6] = Def(3, 0, kActionDiscard, 0, 0, 8, 8);
    // Pictures only, never a card to lay: never dealt, a background cell, a card back.
    game.CardSet.CardDefs[7] = Def(3, -5, kActionNeverDealt, 0, 0);
    game.CardSet.CardDefs[8] = Def(3, -6, kActionBackgroundCell, 0, 0);
    game.CardSet.CardDefs[9] = Def(3, -7, kActionCardBack, 0, 0);
    game.CardSet.CardDefs[79] = Def(3, -9, kActionDiscard, 0, 0);
    SetTable(game, {Low(1, 3), {C(0, 50), C(3, 7)}, Low(3, 3), Low(4, 3)}, {C(1, 9)}, {});
    Lay(2);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[5]);
}

TEST_F(Rules, AComputerNamesItsMostCommonGroupAndTheChoicesAreTheDealtGroups) {
    // A computer names its most common group.
    CardStack hand;
    for (const Card& c : {C(0, 1), C(5, 1), C(31, 1), C(31, 2), C(31, 3), C(2, 1), C(5, 2), C(2, 2)}) hand.Push(c);
    EXPECT_EQ(game.ChooseWildGroup(hand), 5) << "2 and 5 tie: group 2; above 30 not counted";
    CardStack wild;
    for (const Card& c : {C(31, 1), C(0, 1)}) wild.Push(c);
    EXPECT_EQ(game.ChooseWildGroup(wild), 1) << "no counted group: the first wild card";
    EXPECT_EQ(game.ChooseWildGroup(CardStack{}), 0);

    CardSetDef& set = game.CardSet;
    set.CardDefs = {};
    set.CardDefs[0] = Def(2, 5, kActionNeverDealt, 0, 4);
    set.CardDefs[1] = Def(3, 9, kActionDiscard, 0, 1);
    set.CardDefs[2] = Def(3, 1, kActionDiscard, 0, 1);
    set.CardDefs[3] = Def(10, 1, kActionDiscard, 0, 1);
    set.CardDefs[4] = Def(11, 1, kActionDiscard, 0, 1);
    const auto choices = game.WildGroupChoices();
    ASSERT_EQ(choices.size(), 2u) << "no button for a group never dealt; groups 1 to 10";
    EXPECT_EQ(choices[0].CardIndex, 1) << "the first definition of the group";
    EXPECT_EQ(choices[1].Group, 10);
}

// --- the computers: the card they choose, drawing and passing, and their turns until the human

class Computer : public RulesTest {
protected:
    // Player 2 on turn with the given traits, hand and top card: the slot it would lay.
    int Turn(std::vector<int> traits, std::vector<Card> hand, Card top = C(1, 2), std::vector<Card> deck = {}) {
        SetTraits(game.PlayerInfo[2], traits[0], traits[1], traits[2], traits[3]);
        SetTable(game, {Low(1, 3), hand, Low(3, 3), Low(4, 3)}, {top}, deck, 2);
        return game.ChooseCompCard(game.Players[2], 0);
    }
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
    // A hand of more cards than a byte counts: 258 of group 2, 257 of them 9s.
    std::vector<Card> big(257, C(2, 9));
    big.insert(big.begin(), C(2, 8));
    EXPECT_EQ(Turn({0, 0, 100, 1}, big, C(2, 2)), 1);
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
