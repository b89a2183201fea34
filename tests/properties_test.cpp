#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"

namespace kvt::test {
namespace {

std::vector<std::pair<int, int>> Census(const Game& game) {
    std::vector<std::pair<int, int>> cards;
    for (const Card& c : AllCards(game)) cards.emplace_back(c.Group, c.Value);
    std::sort(cards.begin(), cards.end());
    return cards;
}

// Thousands of random moves between hands, deck and pile never create or
// lose a card and never overfill a stack.
TEST(Properties, CardsAreConservedOverRandomMovesAndDraws) {
    TableFixture table;
    Game& game = *table.game;
    game.CardSet = SampleCardSet();
    Random dice(12345);
    for (int g = 0; g < 20; ++g) {
        game.NewGame();
        const auto census = Census(game);
        for (int step = 0; step < 2000; ++step) {
            CardStack* stacks[] = {&game.DrawDeck, &game.DiscardPile, &game.Players[1], &game.Players[2],
                                   &game.Players[3], &game.Players[4]};
            if (dice.Slot(3) == 0) {
                game.DrawFromDeck(game.Players[1 + dice.Slot(4)], dice.Slot(10) == 0);
                game.MoveCard(game.PickStack, game.Players[1], 0, false);
            } else {
                CardStack& from = *stacks[dice.Slot(6)];
                CardStack& to = *stacks[dice.Slot(6)];
                if (&from == &to) continue;
                game.MoveCard(from, to, dice.Slot(from.Count() + 1), false);
            }
            for (CardStack* s : stacks) ASSERT_LE(s->Count(), CardStack::Capacity);
        }
        ASSERT_EQ(Census(game), census) << "game " << g;
    }
}

TEST(Properties, AFullSizeDeckNeverOverflows) {
    TableFixture table;
    Game& game = *table.game;
    CardSetDef set;
    set.CardDefs[0] = Def(1, 1, kActionDiscard, 0, 401);
    game.CardSet = set;
    game.NewGame();
    EXPECT_EQ(AllCards(game).size(), 401u);
    for (int i = 0; i < 500; ++i) game.DrawFromDeck(game.Players[1]);
    EXPECT_EQ(game.Players[1].Count(), 401 - 3 * kHandSize - 1) << "all but the pile's top card";
    EXPECT_EQ(game.DiscardPile.Count(), 1);
    EXPECT_EQ(game.DrawDeck.Count(), 0);
    EXPECT_EQ(AllCards(game).size(), 401u);
}

}  // namespace
}  // namespace kvt::test
