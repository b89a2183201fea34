// Card stacks, the moves between them, and building, shuffling and dealing the deck.

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "core/seats.h"
#include "test_support.h"

namespace kvt::test {
namespace {

// A stack of n cards numbered from `first_value` up.
CardStack Numbered(int n, int first_value = 1) {
    CardStack stack;
    for (int i = 0; i < n; ++i) stack.Push(NumberedCard(first_value + i));
    return stack;
}

// The seat a take is from: right, left or across of the taker; none for other actions.
TEST(Seats, NeighboursWrapAroundTheTableAndATakeIsFromTheSeatItNames) {
    EXPECT_EQ((std::vector<int>{LeftOf(4), RightOf(1), AcrossFrom(3), AcrossFrom(4), AcrossFrom(1), NextSeat(4, 0),
                                NextSeat(1, 1), NextSeat(2, 1), WrapSeat(0), WrapSeat(6),
                                Game::SourcePlayer(1, kActionDrawRight), Game::SourcePlayer(4, kActionDrawLeft),
                                Game::SourcePlayer(3, kActionDrawAcross), Game::SourcePlayer(4, kActionDrawAcross),
                                Game::SourcePlayer(1, kActionSkip)}),
              (std::vector<int>{1, 4, 1, 2, 3, 1, 4, 1, 4, 2, 4, 1, 1, 2, 0}));
}

class MoveCardTest : public ::testing::Test {
protected:
    TableFixture table;
    Game& game = *table.game;
};

TEST_F(MoveCardTest, MovingSlotZeroShiftsTheOthersDownAndPushesOnTop) {
    CardStack from = Numbered(3, 10), to = Numbered(2);
    EXPECT_EQ(game.MoveCard(from, to, 0, false), 0);
    EXPECT_EQ(std::tuple(ValuesOf(from), ValuesOf(to)), std::tuple(std::vector<int>{11, 12}, std::vector<int>{1, 2, 10}));
    from = Numbered(1);
    game.MoveCard(from, to, 0, false);
    EXPECT_EQ(std::tuple(from.Empty(), to.Top().Value), std::tuple(true, 1)) << "moving the last card empties the source";
    // An assigned stack holds the live cards, wherever they started, and no more.
    from = Numbered(2, 11);
    to = Numbered(5, 20);
    to = from;
    EXPECT_EQ(std::tuple(ValuesOf(to), to == from), std::tuple(std::vector<int>{11, 12}, true));
    to.Push(from[0]);
    EXPECT_EQ(ValuesOf(to), (std::vector<int>{11, 12, 11}));
}

TEST_F(MoveCardTest, InsertAtPutsACardBeforeTheSlotAndRefusesAFullStack) {
    CardStack hand = Numbered(3), full = Numbered(CardStack::Capacity);
    for (const int slot : {0, 2, 5}) hand.InsertAt(slot, NumberedCard(90 + slot));
    EXPECT_EQ(ValuesOf(hand), (std::vector<int>{90, 1, 92, 2, 3, 95}));
    EXPECT_FALSE(full.InsertAt(0, NumberedCard(1)));
    EXPECT_EQ(full.Count(), CardStack::Capacity);
    // Drawn from the top, the live slots start further on; a card pushed
    // when they reach the array's end moves them back to its start.
    for (int drawn = 1; drawn <= 3; ++drawn) EXPECT_EQ(full.RemoveAt(0).Value, drawn);
    ASSERT_TRUE(full.Push(NumberedCard(900)));
    std::vector<int> kept(CardStack::Capacity - 3);
    std::iota(kept.begin(), kept.end(), 4);
    kept.push_back(900);
    EXPECT_EQ(ValuesOf(full), kept);
}

TEST_F(MoveCardTest, NothingMovesFromEmptyOrIntoFullOrFromAMissingSlot) {
    CardStack empty, full = Numbered(CardStack::Capacity), some = Numbered(2);
    for (const auto& [from, to, slot, play] : {std::tuple{&empty, &some, 0, true}, {&some, &full, 0, false},
                                               {&some, &empty, 2, false}, {&some, &empty, -1, false}})
        EXPECT_EQ(game.MoveCard(*from, *to, slot, play), 0) << slot;
    EXPECT_EQ(std::tuple(empty.Count(), some.Count(), full.Count(), full.Full()), std::tuple(0, 2, CardStack::Capacity, true));
    EXPECT_FALSE(full.Push(NumberedCard(1))) << "a push stops at the capacity";
    some.Resize(CardStack::Capacity + 5);
    EXPECT_EQ(std::tuple(full.Count(), some.Count()), std::tuple(CardStack::Capacity, CardStack::Capacity));
    some.Resize(-1);
    EXPECT_TRUE(some.Empty()) << "a size is clamped to the stack's room";
}

class DrawFromDeckTest : public MoveCardTest {};

TEST_F(DrawFromDeckTest, EmptyDeckIsRebuiltShuffledFromAllButTheTopOfThePileOfMoreThanOne) {
    int rebuilt = 0, shuffled = 0;
    game.SetEventListener([&](const Event& e) {
        rebuilt += e.kind == EventKind::DeckRebuilt;
        shuffled += e.kind == EventKind::DeckShuffled;
    });
    // A pile of one card, or none, is not made into a deck.
    for (int pile : {5, 12, 1, 0}) {
        SCOPED_TRACE(pile);
        const int drawn = pile > 1 ? 1 : 0;
        game.DrawDeck.Clear();
        game.DiscardPile = Numbered(pile, 100);
        CardStack hand;
        rebuilt = shuffled = 0;
        game.DrawFromDeck(hand);
        ASSERT_EQ(std::tuple(rebuilt, shuffled, game.DrawDeck.Count(), game.DiscardPile.Count(), hand.Count()),
                  std::tuple(drawn, drawn, std::max(pile - 2, 0), std::min(pile, 1), drawn));
        if (!drawn) continue;
        EXPECT_EQ(game.DiscardPile.Top().Value, 100 + pile - 1) << "the top card stays";
        std::vector<int> back = ValuesOf(game.DrawDeck);
        back.insert(back.begin(), hand.Top().Value);  // drawn from slot 0
        EXPECT_TRUE(pile != 12 || !std::is_sorted(back.begin(), back.end())) << "shuffled";
        std::sort(back.begin(), back.end());
        std::vector<int> expected(pile - 1);
        std::iota(expected.begin(), expected.end(), 100);
        EXPECT_EQ(back, expected);
    }
}

// A deck of the greatest size is drawn to the last card but the pile's top,
// through a rebuild, and never overflows a hand.
TEST_F(DrawFromDeckTest, AFullSizeDeckNeverOverflows) {
    game.CardSet = CardSetDef{};
    game.CardSet.CardDefs[0] = Def(1, 1, kActionDiscard, 0, 401);
    game.NewGame();
    for (int i = 0; i < 500; ++i) game.DrawFromDeck(game.Players[1]);
    EXPECT_EQ(std::tuple(game.Players[1].Count(), game.DiscardPile.Count(), game.DrawDeck.Count()),
              std::tuple(401 - 3 * kHandSize - 1, 1, 0));
    EXPECT_EQ(AllCards(game).size(), 401u);
}

const std::vector<int> kFullHands(4, kHandSize);

class Dealing : public MoveCardTest {
protected:
    void SetUp() override { game.CardSet = SampleCardSet(); }
};

TEST_F(Dealing, BuildDeckFollowsCopiesInDefinitionOrder) {
    CardSetDef set;
    std::tie(set.CardDefs[0], set.CardDefs[1], set.CardDefs[2], set.CardDefs[3], set.CardDefs[4]) =
        std::tuple(Def(1, 10, kActionDiscard, 0, 2), Def(2, 20, kActionDiscard, 0, 0), Def(3, 30, kActionSkip, 0, 3),
                   Def(4, 40, kActionNeverDealt, 0, 4), Def(4, 50, kActionCardBack, 0, 1));
    game.BuildDeck(set);
    EXPECT_EQ(ValuesOf(game.DrawDeck), (std::vector<int>{10, 10, 30, 30, 30, 50}))
        << "code 13 is never dealt; a card back with copies is";
    EXPECT_EQ(game.DrawDeck[2], set.CardDefs[2]) << "whole definition records are copied";

    // The deck is built again from any change of the definitions, a work
    // mark included, and from the same definitions gives the same deck.
    const CardStack first = game.DrawDeck;
    set.CardDefs[0].Copies = 1;
    game.BuildDeck(set);
    EXPECT_EQ(game.DrawDeck.Count(), first.Count() - 1);
    std::tie(set.CardDefs[0].Copies, set.CardDefs[2].Playable) = std::tuple(2, 1);
    game.BuildDeck(set);
    EXPECT_EQ(game.DrawDeck[2].Playable, 1);
    set.CardDefs[2].Playable = 0;
    game.DrawDeck.Clear();
    game.BuildDeck(set);
    EXPECT_EQ(game.DrawDeck, first);
}

// Every order seen is one of the 24 of a four-card deck: no card is lost or
// made. A single card is not shuffled and gives no notice.
TEST_F(Dealing, ShuffleGivesEveryOrderTheSameChanceAndTwoCardsAreShuffled) {
    constexpr int kTrials = 24000;
    std::map<std::vector<int>, int> seen;
    for (int t = 0; t < kTrials; ++t) {
        CardStack deck;
        for (int v = 1; v <= 4; ++v) deck.Push(NumberedCard(v));
        game.ShuffleStack(deck);
        ++seen[ValuesOf(deck)];
    }
    ASSERT_EQ(seen.size(), 24u);
    const double expected = kTrials / 24.0;
    double chi2 = 0;
    for (const auto& [order, n] : seen) chi2 += (n - expected) * (n - expected) / expected;
    // 23 degrees of freedom: 41.64 is the 1% critical value.
    EXPECT_LT(chi2, 41.64);
    int notices = 0, swapped = 0;
    game.SetEventListener([&notices](const Event& e) { notices += e.kind == EventKind::DeckShuffled; });
    CardStack one;
    one.Push(NumberedCard(1));
    game.ShuffleStack(one);
    for (int i = 0; i < 64; ++i) {
        CardStack two = one;
        two.Push(NumberedCard(2));
        game.ShuffleStack(two);
        swapped += two[0].Value == 2;
    }
    EXPECT_TRUE(swapped > 0 && swapped < 64 && notices == 64) << swapped << " swapped; notices " << notices;
}

// A wild first discard is covered by a second card unless the rule says not
// to; a plain first discard stays alone whatever the rule.
TEST_F(Dealing, FirstDiscardRules) {
    const std::tuple<FirstDiscardRule, Card, int> cases[] = {
        {FirstDiscardRule::kWildOrPlain, Def(0, 50, kActionDiscard, 0, 1), 2},
        {FirstDiscardRule::kWild, Def(0, 50, kActionDiscard, 0, 1), 2},
        {FirstDiscardRule::kNoSecondCard, Def(0, 50, kActionDiscard, 0, 1), 1},
        {FirstDiscardRule::kWildOrPlain, Def(2, 6, kActionNone, 0, 1), 1}};
    for (const auto& [rule, first, pile] : cases) {
        game.ResetHands();
        game.DrawDeck.Clear();
        game.DrawDeck.Push(first);
        game.DrawDeck.Push(Def(2, 5, kActionNone, 0, 1));
        game.TurnUpFirstCard(rule);
        EXPECT_EQ(game.DiscardPile.Count(), pile) << static_cast<int>(rule) << " " << first.Group;
    }
}

// A new game resets the scores and keeps the turn and direction; each deals
// afresh (the first card turned up is not always the same).
TEST_F(Dealing, NewGameDealsAfreshAndDealForPlayersDealsOnce) {
    std::tie(game.CurPlayer, game.StartPlayer, game.PlayReversed) = std::tuple(3, 2, 1);
    game.CardSet.CardDefs[40] = Def(0, 50, kActionDiscard, 0, 20);  // many wild cards
    int wild_tops = 0;
    for (int g = 0; g < 300; ++g) {
        std::tie(game.RoundNum, game.Scores[3]) = std::tuple(4, 120);
        game.NewGame();
        const bool first_was_wild = game.DiscardPile[0].IsWild();
        ASSERT_EQ(std::tuple(HandCounts(game), game.DiscardPile.Count(), game.CurPlayer, game.StartPlayer,
                             game.PlayReversed, game.RoundNum, game.Scores[3], AllCards(game).size()),
                  std::tuple(kFullHands, first_was_wild ? 2 : 1, 3, 2, 1, 0, 0, 92u));
        wild_tops += first_was_wild;
    }
    EXPECT_TRUE(wild_tops > 0 && wild_tops < 300) << wild_tops;

    game.ResetHands();
    game.BuildDeck(game.CardSet);
    game.Scores[4] = 33;
    for (int deal = 0; deal < 2; ++deal) {
        game.DealForPlayers();
        EXPECT_EQ(std::tuple(HandCounts(game), AllCards(game).size()), std::tuple(kFullHands, 92u)) << deal;
        EXPECT_TRUE(deal > 0 || game.Scores[4] == 33) << "the first deal keeps scores";
    }
}

TEST_F(Dealing, NextRoundReloadsAndHandsTheTurnToTheStartPlayer) {
    game.NewGame();
    std::tie(game.StartPlayer, game.LastMover, game.Scores[2]) = std::tuple(3, 4, 17);
    ASSERT_TRUE(game.NextRound(FirstDiscardRule::kNoSecondCard).ok());
    EXPECT_EQ(std::tuple(game.CurPlayer, game.DiscardPile.Count(), game.Scores[2]), std::tuple(3, 1, 17));
}

TEST_F(Dealing, AShortDeckOrAHandNearlyFullTakesWhatFitsAndNoCardIsLost) {
    game.DrawDeck.Clear();
    for (int v = 1; v <= 10; ++v) game.DrawDeck.Push(NumberedCard(v));
    game.DealHands();
    EXPECT_EQ(HandCounts(game), (std::vector<int>{3, 3, 2, 2}));
    game.ResetHands();
    game.BuildDeck(game.CardSet);
    while (game.Players[2].Count() < CardStack::Capacity - 3) game.Players[2].Push(NumberedCard(1));
    const std::size_t cards = AllCards(game).size();
    game.DealHands();
    EXPECT_EQ(std::tuple(game.Players[2].Count(), game.Players[1].Count(), AllCards(game).size()),
              std::tuple(CardStack::Capacity, kHandSize, cards));
}

}  // namespace
}  // namespace kvt::test
