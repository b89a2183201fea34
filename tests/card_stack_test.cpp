#include <gtest/gtest.h>

#include <numeric>

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

TEST(Seats, NeighboursWrapAroundTheTable) {
    EXPECT_EQ((std::vector<int>{LeftOf(4), RightOf(1), AcrossFrom(3), AcrossFrom(4), AcrossFrom(1), NextSeat(4, 0),
                                NextSeat(1, 1), NextSeat(2, 1), WrapSeat(0), WrapSeat(6)}),
              (std::vector<int>{1, 4, 1, 2, 3, 1, 4, 1, 4, 2}));
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
    int rebuilt = 0;
    int shuffled = 0;
    game.SetEventListener([&](const Event& e) {
        rebuilt += e.kind == EventKind::DeckRebuilt;
        shuffled += e.kind == EventKind::DeckShuffled;
    });
    for (int pile : {5, 12}) {
        SCOPED_TRACE(pile);
        game.DrawDeck.Clear();
        game.DiscardPile = Numbered(pile, 100);
        CardStack hand;
        rebuilt = shuffled = 0;
        game.DrawFromDeck(hand);
        game.DeliverHeard();
        ASSERT_EQ(std::tuple(rebuilt, shuffled, game.DrawDeck.Count(), game.DiscardPile.Count(), hand.Count()),
                  std::tuple(1, 1, pile - 2, 1, 1));
        EXPECT_EQ(game.DiscardPile.Top().Value, 100 + pile - 1) << "the top card stays";
        std::vector<int> back = ValuesOf(game.DrawDeck);
        back.insert(back.begin(), hand.Top().Value);  // drawn from slot 0
        EXPECT_TRUE(pile != 12 || !std::is_sorted(back.begin(), back.end())) << "shuffled";
        std::sort(back.begin(), back.end());
        std::vector<int> expected(pile - 1);
        std::iota(expected.begin(), expected.end(), 100);
        EXPECT_EQ(back, expected);
    }
    game.DrawDeck.Clear();
    game.DiscardPile = Numbered(1);
    CardStack hand;
    rebuilt = 0;
    game.DrawFromDeck(hand);
    game.DeliverHeard();
    // But a pile of one card is not made into a deck.
    EXPECT_EQ(std::tuple(hand.Count(), game.DiscardPile.Count(), rebuilt), std::tuple(0, 1, 0));
    game.DiscardPile.Clear();
    game.DrawFromDeck(hand);
    EXPECT_EQ(hand.Count(), 0);
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

}  // namespace
}  // namespace kvt::test
