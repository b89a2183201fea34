#include <gtest/gtest.h>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

constexpr int kTurnCap = 20000;

struct Tally {
    int rounds = 0;
    int games = 0;
    int longest = 0;
    std::int64_t group_cards = 0;
};

// Computer-only rounds with every invariant checked after every turn.
void PlayRounds(const CardSetDef& set, std::uint64_t seed, int rounds, Tally& run) {
    RulesTable table(set, seed);
    Game& game = *table.game;
    table.view.record = false;
    game.ComputerSeat1 = true;
    game.PlayerSounds = true;  // no clips exist; the chances still use the generator
    Random dice(seed * 7919 + 1);
    for (int p = 1; p <= 4; ++p) {
        PlayerRec& info = game.PlayerInfo[p];
        info.TraitA = static_cast<std::int16_t>(dice.Slot(401) - 200);
        info.TraitB = static_cast<std::int16_t>(dice.Slot(101) - 50);
        info.TraitC = static_cast<std::int16_t>(dice.Slot(401) - 200);
        info.TraitD = static_cast<std::int16_t>(dice.Slot(41) - 20);
        info.SoundChance = static_cast<std::int16_t>(dice.Slot(101));
    }
    game.PlayReversed = static_cast<std::int16_t>(seed % 2);
    game.CurPlayer = static_cast<std::int16_t>(1 + seed % 4);
    for (int r = 0; r < rounds; ++r) {
        const auto start = Census(game);
        const auto added = game.GroupCardsAdded;
        ASSERT_TRUE(TableConsistent(game, start, added));
        int turns = 0;
        while (!game.RoundEnded) {
            ASSERT_LT(++turns, kTurnCap) << "seed " << seed << " round " << r;
            const int before = game.CurPlayer;
            const TurnOutcome t = game.PlayComputerTurn();
            ASSERT_NE(t, TurnOutcome::NotComputer);
            ASSERT_TRUE(TableConsistent(game, start, added))
                << "seed " << seed << " round " << r << " turn " << turns << " player " << before;
            ASSERT_FALSE(game.MoveInProgress());
        }
        run.longest = std::max(run.longest, turns);
        run.group_cards += game.GroupCardsAdded - added;
        const RoundResult result = game.RoundOver(FirstDiscardRule::kWild);
        run.games += result.Winner > 0;
        ++run.rounds;
        ASSERT_FALSE(game.RoundEnded);
        ASSERT_GE(game.CurPlayer, 1);
        ASSERT_LE(game.CurPlayer, 4);
        ASSERT_EQ(game.CurPlayer, game.StartPlayer);
    }
}

TEST(Properties, ThousandsOfSeededComputerRoundsKeepEveryCard) {
    Tally run;
    const CardSetDef sets[] = {FourWindsLikeSet(), EveryActionSet(), SampleCardSet()};
    for (std::uint64_t seed = 1; seed <= 8; ++seed)
        for (const CardSetDef& set : sets) {
            PlayRounds(set, seed, 130, run);
            if (HasFatalFailure()) return;
        }
    EXPECT_EQ(run.rounds, 8 * 3 * 130);
    EXPECT_GT(run.games, 20) << "games end and start again";
    EXPECT_GT(run.group_cards, 100) << "wild cards were played";
    RecordProperty("longest_round", run.longest);
}

// 401 cards and plenty of wild cards: the group cards push the table past
// a stack's capacity, and no stack may ever hold more.
CardSetDef FullTableSet() {
    CardSetDef set = EveryActionSet();
    set.CardDefs[79] = Def(0, 1, kActionDiscard, 0, 0);
    // Alternately more plain wild cards and more wild Skip cards.
    for (int d = 79, total = DeckSize(set); total < CardStack::Capacity; d = d == 79 ? 71 : 79, ++total)
        ++set.CardDefs[d].Copies;
    return set;
}

TEST(Properties, AFullTableNeverOverfillsAStack) {
    const CardSetDef set = FullTableSet();
    ASSERT_EQ(DeckSize(set), CardStack::Capacity);
    Tally run;
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        PlayRounds(set, seed, 40, run);
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(run.rounds, 160);
}

class Capacity : public ::testing::Test {
protected:
    RulesTable table{FourWindsLikeSet()};
    Game& game = *table.game;

    void Fill(CardStack& stack, int upto) {
        while (stack.Count() < upto) stack.Push(C(4, 4));
    }
    void Basic() {
        SetTable(game, {{C(1, 1), C(1, 2)}, {C(1, 3), C(1, 4)}, {C(1, 5), C(1, 6)}, {C(1, 7), C(1, 8)}}, {C(1, 9)}, {});
    }
};

TEST_F(Capacity, AGroupCardFindsNoRoomOnAFullPile) {
    Basic();
    game.Players[2].Push(C(0, 50));
    Fill(game.DiscardPile, CardStack::Capacity - 1);
    game.CurPlayer = 2;
    const auto refused = game.RefusedMoves;
    const auto added = game.GroupCardsAdded;
    EXPECT_EQ(game.MoveCard(game.Players[2], game.DiscardPile, 2, true), 3);
    EXPECT_EQ(game.DiscardPile.Count(), CardStack::Capacity);
    EXPECT_TRUE(game.DiscardPile.Top().IsWild());
    EXPECT_EQ(game.RefusedMoves, refused + 1);
    EXPECT_EQ(game.GroupCardsAdded, added);
}

TEST_F(Capacity, AComputerFacingAFullPilePasses) {
    Basic();
    Fill(game.DiscardPile, CardStack::Capacity);
    game.Players[2][0] = C(4, 1);
    game.CurPlayer = 2;
    const auto refused = game.RefusedMoves;
    EXPECT_EQ(game.PlayComputerTurn(), TurnOutcome::Passed);
    EXPECT_EQ(game.Players[2].Count(), 2);
    EXPECT_EQ(game.RefusedMoves, refused + 1);
    EXPECT_EQ(game.CurPlayer, 3);
}

TEST_F(Capacity, TheHumanCannotLayOntoAFullPile) {
    Basic();
    Fill(game.DiscardPile, CardStack::Capacity);
    game.CurPlayer = 1;
    game.Players[1][0] = C(4, 1);
    ASSERT_EQ(game.ClickHandCard(0), HumanMove::Picked);
    const auto refused = game.RefusedMoves;
    EXPECT_EQ(game.ClickDiscardButton(), HumanMove::Ignored);
    EXPECT_EQ(game.RefusedMoves, refused + 1);
    EXPECT_EQ(game.PickStack.Count(), 1);
    EXPECT_EQ(game.CurPlayer, 1);
}

TEST_F(Capacity, TakesAndPassesIntoAFullHandAreRefused) {
    Basic();
    Fill(game.Players[3], CardStack::Capacity);
    const auto refused = game.RefusedMoves;
    EXPECT_EQ(game.TakeCards(3, kActionDrawRight, 2), 0);
    EXPECT_EQ(game.Players[2].Count(), 2);
    EXPECT_EQ(game.TransferRandomCards(3, kActionPassLeft, 2), 0);
    EXPECT_EQ(game.Players[2].Count(), 2);
    EXPECT_EQ(game.Players[3].Count(), CardStack::Capacity);
    EXPECT_EQ(game.RefusedMoves, refused + 2);
}

}  // namespace
}  // namespace kvt::test
