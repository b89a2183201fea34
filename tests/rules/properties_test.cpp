#include <gtest/gtest.h>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

// Computer-only rounds (seat 1 played by the computer too) with every
// invariant checked after every turn: cards kept, capacity, CurPlayer.
int PlayRounds(const CardSetDef& set, std::uint64_t seed, int rounds) {
    RulesTable table(set, seed);
    Game& game = *table.game;
    table.view.record = false;
    game.ComputerSeat1 = true;
    game.PlayerSounds = true;  // no clips exist; the chances still draw on the generator
    Random dice(seed * 7919 + 1);
    for (int p = 1; p <= 4; ++p) {
        const int a = dice.Slot(401) - 200, b = dice.Slot(101) - 50, c = dice.Slot(401) - 200, d = dice.Slot(41) - 20;
        SetTraits(game.PlayerInfo[p], a, b, c, d);
        game.PlayerInfo[p].SoundChance = static_cast<std::int16_t>(dice.Slot(101));
    }
    game.PlayReversed = static_cast<std::int16_t>(seed % 2);
    int games = 0;
    for (int r = 0; r < rounds; ++r) {
        const Census start = TakeCensus(game);
        const auto added = game.GroupCardsAdded;
        for (int turns = 0; !game.RoundEnded; ++turns) {
            EXPECT_LT(turns, 20000) << "seed " << seed << " round " << r;
            EXPECT_NE(game.PlayComputerTurn(), TurnOutcome::NotComputer);
            EXPECT_TRUE(TableConsistent(game, start, added)) << "seed " << seed << " round " << r << " turn " << turns;
            EXPECT_FALSE(game.MoveInProgress());
            if (::testing::Test::HasFailure()) return games;
        }
        games += game.RoundOver(FirstDiscardRule::kWild).Winner > 0;
        EXPECT_EQ(game.CurPlayer, game.StartPlayer);
    }
    return games;
}

TEST(Properties, ThousandsOfSeededComputerRoundsKeepEveryCard) {
    int games = 0;
    for (std::uint64_t seed = 1; seed <= 8 && !HasFailure(); ++seed)
        for (const CardSetDef& set : {FourWindsLikeSet(), EveryActionSet(), SampleCardSet()}) games += PlayRounds(set, seed, 130);
    EXPECT_GT(games, 20) << "games end and begin again";
}

// 401 cards, many of them wild: the group cards push the table past what a
// stack can hold, and no stack ever holds more.
TEST(Properties, AFullTableNeverOverfillsAStack) {
    CardSetDef set = EveryActionSet();
    set.CardDefs[79] = Def(0, 1, kActionDiscard, 0, 0);
    for (int d = 79, total = DeckSize(set); total < CardStack::Capacity; d = d == 79 ? 72 : 79, ++total)
        ++set.CardDefs[d].Copies;
    ASSERT_EQ(DeckSize(set), CardStack::Capacity);
    for (std::uint64_t seed = 1; seed <= 4 && !HasFailure(); ++seed) PlayRounds(set, seed, 40);
}

TEST_F(RulesTest, FullStacksRefuseCardsAndCountTheRefusals) {
    auto fill = [](CardStack& s, int upto) { while (s.Count() < upto) s.Push(C(4, 4)); };
    auto basic = [&] { SetTable(game, {Low(4, 2), Low(4, 2), Low(1, 2), Low(1, 2)}, {C(1, 9)}, {C(2, 2)}); };
    // A wild card takes the last place on the pile: no room for its group card.
    basic();
    game.Players[2].Push(C(0, 50));
    fill(game.DiscardPile, CardStack::Capacity - 1);
    game.CurPlayer = 2;
    EXPECT_EQ(game.MoveCard(game.Players[2], game.DiscardPile, 2, true), 3);
    EXPECT_EQ(std::tuple(game.DiscardPile.Top().IsWild(), game.RefusedMoves, game.GroupCardsAdded), std::tuple(true, 1, 0));
    // A computer facing a full pile passes; the human cannot lay.
    basic();
    fill(game.DiscardPile, CardStack::Capacity);
    game.CurPlayer = 2;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(std::tuple(game.Players[2].Count(), game.RefusedMoves), std::tuple(2, 2));
    game.CurPlayer = 1;
    MatchDriver driver(game);
    MoveBeingBuilt human(game, driver);
    ASSERT_EQ(human.ClickHandCard(0), HumanMove::Picked);
    EXPECT_EQ(human.ClickDiscardButton(), HumanMove::Ignored);
    EXPECT_EQ(std::tuple(human.Picking(), game.RefusedMoves), std::tuple(true, 3)) << "the card stays picked";
    // With room for just the card, it is laid.
    basic();
    fill(game.DiscardPile, CardStack::Capacity - 1);
    game.CurPlayer = 1;
    ASSERT_EQ(human.ClickHandCard(0), HumanMove::Picked);
    EXPECT_EQ(human.ClickDiscardButton(), HumanMove::Played);
    EXPECT_EQ(game.DiscardPile.Count(), CardStack::Capacity);
    // Draws, takes and passes into a full hand.
    basic();
    fill(game.Players[3], CardStack::Capacity);
    game.DrawCard(game.Players[3], 3, false);
    EXPECT_EQ(game.TakeCards(3, kActionDrawRight, 2), 0);
    EXPECT_EQ(game.TransferRandomCards(3, kActionPassLeft, 2), 0);
    EXPECT_EQ(std::tuple(game.Players[2].Count(), game.DrawDeck.Count(), game.Players[3].Count(), game.RefusedMoves),
              std::tuple(2, 1, CardStack::Capacity, 6));
}

// --- waiting and re-entrancy

using Reentrancy = RulesTest;

TEST_F(Reentrancy, DuringEveryFlightAMoveIsInProgressAndTheHumansClicksAreRefused) {
    MatchDriver driver(game);
    MoveBeingBuilt human(game, driver);
    int flights = 0;
    table.view.on_call = [&](const std::string& call) {
        if (call.rfind("Animate", 0) != 0) return;
        ++flights;
        EXPECT_TRUE(game.MoveInProgress());
        const Census before = TakeCensus(game);
        const auto hand = Cards(game.Players[1]);
        const std::vector<HumanMove> clicks{human.ClickHandCard(0), human.ClickPickedCard(), human.ClickHoldCard(0),
                                            human.ClickDiscardButton(), human.ClickDrawDeck(), human.ClickOpponentCard(2, 0),
                                            human.ClickOpponentCard(3, 0), human.ClickOpponentCard(4, 0)};
        EXPECT_EQ(clicks, std::vector<HumanMove>(8, HumanMove::Ignored));
        EXPECT_EQ(TakeCensus(game), before);
        EXPECT_EQ(Cards(game.Players[1]), hand);
    };
    SetTable(game, {{C(1, 3), C(2, 2), C(4, 7)}, Low(2, 5), Low(3, 5), Low(4, 5)}, {C(1, 9)}, Low(1, 9), 1);
    ASSERT_EQ(human.ClickHandCard(0), HumanMove::Picked);
    EXPECT_EQ(human.ClickDiscardButton(), HumanMove::Played);
    PlayToThePerson(game);
    EXPECT_FALSE(game.MoveInProgress());
    EXPECT_GT(flights, 3);
}

}  // namespace
}  // namespace kvt::test
