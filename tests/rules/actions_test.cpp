#include <gtest/gtest.h>

#include <algorithm>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

class Actions : public ::testing::Test {
protected:
    RulesTable table{FourWindsLikeSet()};
    Game& game = *table.game;

    // Lays the first card of `player`'s hand as a play and returns the next player.
    int Lay(int player) {
        game.CurPlayer = static_cast<std::int16_t>(player);
        table.view.calls.clear();
        return game.MoveCard(game.Players[player], game.DiscardPile, 0, true);
    }
    std::vector<Card> Filler(int group, int n) {
        std::vector<Card> v;
        for (int i = 0; i < n; ++i) v.push_back(C(group, 1 + i % 9));
        return v;
    }
};

TEST(Seats, SourcePlayerNamesTheGiver) {
    EXPECT_EQ(Game::SourcePlayer(1, kActionDrawRight), 4);
    EXPECT_EQ(Game::SourcePlayer(3, kActionDrawRight), 2);
    EXPECT_EQ(Game::SourcePlayer(4, kActionDrawLeft), 1);
    EXPECT_EQ(Game::SourcePlayer(2, kActionDrawLeft), 3);
    EXPECT_EQ(Game::SourcePlayer(3, kActionDrawAcross), 1);
    EXPECT_EQ(Game::SourcePlayer(4, kActionDrawAcross), 2);
    EXPECT_EQ(Game::SourcePlayer(1, kActionDrawAcross), 3);
    EXPECT_EQ(Game::SourcePlayer(1, kActionSkip), 0);
}

TEST_F(Actions, AComputerPassesRandomCardsLeftAndRedrawsBothHandsAfterEachCard) {
    auto hand4 = Filler(3, 5);
    hand4.insert(hand4.begin(), C(1, 20, kActionPassLeft, 2));
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(2, 3), hand4}, {C(1, 9)}, Filler(4, 10));
    EXPECT_EQ(Lay(4), 1);
    EXPECT_EQ(game.Players[4].Count(), 3);
    EXPECT_EQ(game.Players[1].Count(), 5);
    for (int i = 3; i < 5; ++i) EXPECT_EQ(game.Players[1][i].Group, 3) << "the passed cards came from player 4";
    const auto flights = table.view.Matching("AnimateCardMove");
    ASSERT_EQ(flights.size(), 2u);
    EXPECT_EQ(flights[0].substr(0, 19), "AnimateCardMove 4>1");
    // Each flight is followed by the redraw of the giver's and the receiver's hand.
    const auto& calls = table.view.calls;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].rfind("AnimateCardMove", 0) != 0) continue;
        ASSERT_LT(i + 2, calls.size());
        EXPECT_EQ(calls[i + 1].substr(0, 12), "ShowHand 4 4");
        EXPECT_EQ(calls[i + 2].substr(0, 10), "ShowHand 1");
        break;
    }
}

TEST_F(Actions, PassLeftInTheReversedDirectionHandsTheTurnRight) {
    game.PlayReversed = 1;
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(2, 3), {C(1, 20, kActionPassLeft, 2), C(3, 1), C(3, 2), C(3, 3)}},
             {C(1, 9)}, {});
    EXPECT_EQ(Lay(4), 3);
    EXPECT_EQ(game.Players[1].Count(), 5);
}

TEST_F(Actions, PassesAcrossAndRightFindTheirSeats) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), {C(1, 20, kActionPassAcross, 1), C(3, 3), C(3, 4)}, Filler(4, 3)},
             {C(1, 9)}, {});
    EXPECT_EQ(Lay(3), 4);
    EXPECT_EQ(game.Players[1].Count(), 4) << "across from 3 is 1";
    SetTable(game, {Filler(1, 3), Filler(2, 3), Filler(3, 3), {C(1, 20, kActionPassRight, 1), C(4, 4), C(4, 5)}}, {C(1, 9)},
             {});
    EXPECT_EQ(Lay(4), 1);
    EXPECT_EQ(game.Players[3].Count(), 4) << "right of 4 is 3";
}

TEST_F(Actions, TheHumansPassMovesNothingHere) {
    SetTable(game, {{C(1, 20, kActionPassLeft, 2), C(1, 1), C(1, 2)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)},
             {C(1, 9)}, {});
    EXPECT_EQ(Lay(1), 2);
    EXPECT_EQ(game.Players[1].Count(), 2);
    EXPECT_EQ(game.Players[2].Count(), 3);
    EXPECT_EQ(table.view.Count("Arrow 2 on"), 1);
}

TEST_F(Actions, AComputersPassThatTakesItsLastCardEndsTheRound) {
    SetTable(game, {Filler(1, 3), {C(1, 20, kActionPassLeft, 2), C(2, 2)}, Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(2), -1);
    EXPECT_TRUE(game.Players[2].Empty());
    EXPECT_EQ(game.Players[3].Count(), 4) << "one card was there to pass";
}

TEST_F(Actions, DrawFromDeckReversedMakesTheHumanDrawSilently) {
    game.PlayReversed = 1;
    game.PlayerSounds = true;
    for (int p = 1; p <= 4; ++p) game.PlayerInfo[p].SoundChance = 100;
    SetTable(game, {Filler(1, 3), {C(2, 20, kActionDrawDeck, 2), C(2, 2)}, Filler(3, 3), Filler(4, 3)}, {C(2, 9)},
             Filler(4, 5));
    EXPECT_EQ(Lay(2), 4);
    EXPECT_EQ(game.Players[1].Count(), 5);
    EXPECT_EQ(game.DrawDeck.Count(), 3);
    EXPECT_TRUE(table.view.Matching("PlayClip").empty());
    EXPECT_EQ(table.view.Count("AnimateDraw 1"), 2);
}

TEST_F(Actions, DrawFromDeckNormalLetsTheDrawerSpeakAndSkipsIt) {
    game.PlayerSounds = true;
    game.PlayerInfo[3].SoundChance = 100;
    game.PlayerDir[3] = table.temp.Path() / "p3";
    SetTable(game, {Filler(1, 3), {C(2, 20, kActionDrawDeck, 2), C(2, 2)}, Filler(3, 3), Filler(4, 3)}, {C(2, 9)},
             Filler(4, 5));
    EXPECT_EQ(Lay(2), 4);
    EXPECT_EQ(game.Players[3].Count(), 5);
    const auto clips = table.view.Matching("PlayClip");
    ASSERT_EQ(clips.size(), 1u) << "98 in 99 with this seed";
    EXPECT_EQ(clips[0].substr(0, 14), "PlayClip DrawP");
}

TEST_F(Actions, SkipAndReverse) {
    SetTable(game, {Filler(1, 3), Filler(2, 3), {C(1, 20, kActionSkip), C(3, 3)}, Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(3), 1);
    game.PlayReversed = 1;
    SetTable(game, {Filler(1, 3), Filler(2, 3), {C(1, 20, kActionSkip), C(3, 3)}, Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(3), 1);
    SetTable(game, {Filler(1, 3), {C(1, 20, kActionSkip), C(3, 3)}, Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(2), 4);

    game.PlayReversed = 0;
    SetTable(game, {{C(1, 20, kActionReverse), C(1, 20, kActionReverse), C(1, 1)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)},
             {C(1, 9)}, {});
    EXPECT_EQ(Lay(1), 4);
    EXPECT_EQ(game.PlayReversed, 1);
    EXPECT_EQ(table.view.Count("Direction 1"), 1);
    EXPECT_EQ(Lay(1), 2);
    EXPECT_EQ(game.PlayReversed, 0);
    EXPECT_EQ(table.view.Count("Direction 0"), 1);

    SetTable(game, {Filler(1, 3), {C(1, 20, kActionReverse), C(3, 3)}, Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(2), 1);
    game.PlayReversed = 0;
}

TEST_F(Actions, PlainCardsAndUnknownCodes) {
    SetTable(game, {Filler(1, 3), {C(1, 5, kActionNone), C(1, 5, kActionDiscard, 0), C(1, 5, 42), C(1, 5, kActionCardBack)},
                    Filler(3, 3), Filler(4, 3)},
             {C(1, 9)}, {});
    EXPECT_EQ(Lay(2), 2) << "no action: the same player again";
    EXPECT_EQ(Lay(2), 3) << "Discard 0 hands on";
    EXPECT_EQ(Lay(2), 2);
    EXPECT_EQ(Lay(2), 2);
    EXPECT_EQ(game.Players[1].Count() + game.Players[3].Count() + game.Players[4].Count(), 9);
}

TEST_F(Actions, DrawFromLeftOntoTheHumanStartsPicking) {
    SetTable(game, {Filler(1, 3), Filler(2, 5), Filler(3, 3), {C(1, 20, kActionDrawLeft, 3), C(4, 4)}}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(4), 1);
    EXPECT_TRUE(game.ChoosingCards);
    EXPECT_EQ(game.ChooseFromPlayer, 2);
    EXPECT_EQ(game.ChooseTotal, 3);
    EXPECT_EQ(game.ChooseDone, 0);
    EXPECT_EQ(game.Players[1].Count(), 3) << "nothing moves until the human clicks";
    EXPECT_EQ(table.view.Count("ChooseMessage Choose a card from Player - P2"), 1);
    EXPECT_EQ(table.view.Count("ChooseMessage on"), 1);
}

TEST_F(Actions, AComputerTakerTakesAtRandomAndLosesTheTurn) {
    // The human lays Draw 2 from the right: player 2 takes from its right, the human.
    SetTable(game, {{C(1, 20, kActionDrawRight, 2), C(1, 1), C(1, 2), C(1, 3)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)},
             {C(1, 9)}, {});
    EXPECT_EQ(Lay(1), 3);
    EXPECT_EQ(game.Players[1].Count(), 1);
    EXPECT_EQ(game.Players[2].Count(), 5);
    EXPECT_EQ(table.view.Matching("AnimateCardMove 1>2").size(), 2u);
}

TEST_F(Actions, AComputerTakerEmptyingTheGiverEndsTheRound) {
    // Player 3 lays it; player 4 takes across, from player 2 (2 cards).
    SetTable(game, {Filler(1, 3), Filler(2, 2), {C(1, 20, kActionDrawAcross, 3), C(3, 3)}, Filler(4, 2)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(3), -1);
    EXPECT_TRUE(game.Players[2].Empty());
    EXPECT_EQ(game.Players[4].Count(), 4);
}

TEST_F(Actions, AComputersWildCardLaysTheLowestCardOfItsMostCommonGroup) {
    SetTable(game, {Filler(1, 3), {C(0, 50, kActionDiscard, 0), C(3, 7), C(2, 5), C(3, 9), C(1, 1)}, Filler(3, 3), Filler(4, 3)},
             {C(1, 9)}, {});
    const auto added = game.GroupCardsAdded;
    EXPECT_EQ(Lay(2), 3);
    ASSERT_EQ(game.DiscardPile.Count(), 3);
    EXPECT_TRUE(game.DiscardPile[1].IsWild());
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[2 * 19]) << "group 3's 1";
    EXPECT_EQ(game.GroupCardsAdded, added + 1);
    EXPECT_EQ(table.view.Count("Arrow 3 on"), 1);
}

TEST_F(Actions, AWildCardWithAnActionActsFirstThenNamesTheGroup) {
    SetTable(game, {Filler(1, 3), {C(0, 50, kActionDrawDeck, 4), C(4, 7), C(4, 5)}, Filler(3, 3), Filler(4, 3)}, {C(1, 9)},
             Filler(1, 6));
    EXPECT_EQ(Lay(2), 4);
    EXPECT_EQ(game.Players[3].Count(), 7);
    EXPECT_EQ(game.DiscardPile.Top().Group, 4);
    const auto& calls = table.view.calls;
    const auto last_draw = std::find(calls.rbegin(), calls.rend(), "AnimateDraw 3");
    const auto top_shown = std::find(calls.rbegin(), calls.rend(), "ShowDiscardTop");
    EXPECT_LT(top_shown - calls.rbegin(), last_draw - calls.rbegin()) << "the group card comes after the draws";
}

TEST_F(Actions, TheGroupCardIsTheEarliestOfEqualLowestDefinitions) {
    game.CardSet.CardDefs[5] = Def(3, 0, kActionDiscard, 0, 0, 7, 7);
    game.CardSet.CardDefs[6] = Def(3, 0, kActionDiscard, 0, 0, 8, 8);
    game.CardSet.CardDefs[7] = Def(3, -5, kActionNeverDealt, 0, 0, 9, 9);
    game.CardSet.CardDefs[79] = Def(3, -9, kActionDiscard, 0, 0, 9, 9);
    SetTable(game, {Filler(1, 3), {C(0, 50), C(3, 7)}, Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    Lay(2);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[5]);
}

TEST_F(Actions, AGroupWithoutDefinitionLeavesTheWildCardOnTop) {
    SetTable(game, {Filler(1, 3), {C(0, 50), C(9, 7), C(9, 8)}, Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    const auto added = game.GroupCardsAdded;
    EXPECT_EQ(Lay(2), 3);
    EXPECT_TRUE(game.DiscardPile.Top().IsWild());
    EXPECT_EQ(game.GroupCardsAdded, added);
}

TEST_F(Actions, AWildCardThatEmptiesAComputerHandNamesNothing) {
    SetTable(game, {Filler(1, 3), {C(0, 50)}, Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    Lay(2);
    EXPECT_TRUE(game.DiscardPile.Top().IsWild());
}

TEST_F(Actions, TheHumansWildCardAsksForTheGroup) {
    table.view.wild_answer = 19;  // group 2's first definition
    SetTable(game, {{C(0, 50), C(1, 1)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(Lay(1), 2);
    EXPECT_EQ(game.WildGroup, 19);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[19]);
    ASSERT_EQ(table.view.last_choices.size(), 4u);
    EXPECT_EQ(table.view.last_choices[3].Group, 4);
    EXPECT_EQ(table.view.last_choices[3].CardIndex, 57);

    table.view.wild_answer = 3;  // not a button: the first group stands in
    SetTable(game, {{C(0, 50), C(1, 1)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    Lay(1);
    EXPECT_EQ(game.WildGroup, 0);
    EXPECT_EQ(Plain(game.DiscardPile.Top()), game.CardSet.CardDefs[0]);
}

TEST_F(Actions, WildGroupChoicesSkipCardsThatAreNeverDealtAndOfferGroupTen) {
    CardSetDef& set = game.CardSet;
    set.CardDefs = {};
    set.CardDefs[0] = Def(2, 5, kActionNeverDealt, 0, 4);
    set.CardDefs[1] = Def(3, 9, kActionDiscard, 0, 1);
    set.CardDefs[2] = Def(3, 1, kActionDiscard, 0, 1);
    set.CardDefs[3] = Def(10, 1, kActionDiscard, 0, 1);
    set.CardDefs[4] = Def(5, 1, kActionCardBack, 0, 0);
    set.CardDefs[5] = Def(11, 1, kActionDiscard, 0, 1);
    const auto choices = game.WildGroupChoices();
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].Group, 3);
    EXPECT_EQ(choices[0].CardIndex, 1) << "the first definition of the group, not the lowest";
    EXPECT_EQ(choices[1].Group, 10);
    EXPECT_EQ(choices[1].CardIndex, 3);
}

TEST_F(Actions, ChooseWildGroupCountsGroupsUpToThirty) {
    CardStack hand;
    for (const Card& c : {C(0, 1), C(5, 1), C(31, 1), C(31, 2), C(31, 3), C(2, 1), C(5, 2), C(2, 2)}) hand.Push(c);
    EXPECT_EQ(game.ChooseWildGroup(hand), 5) << "groups 2 and 5 tie: the lower group, its first slot";
    CardStack wild;
    for (const Card& c : {C(31, 1), C(0, 1), C(0, 2)}) wild.Push(c);
    EXPECT_EQ(game.ChooseWildGroup(wild), 1) << "no counted group: the first wild card";
    CardStack none;
    EXPECT_EQ(game.ChooseWildGroup(none), 0);
}

TEST_F(Actions, TransferRandomCardsForDiscardsAndOtherKinds) {
    SetTable(game, {Filler(1, 3), Filler(2, 4), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
    EXPECT_EQ(game.TransferRandomCards(2, kActionDiscard, 3), 0);
    EXPECT_EQ(game.Players[2].Count(), 1);
    EXPECT_EQ(game.DiscardPile.Count(), 4);
    EXPECT_EQ(game.TransferRandomCards(2, kActionDiscard, 3), -1);
    EXPECT_EQ(game.DiscardPile.Count(), 5);
    EXPECT_EQ(game.TransferRandomCards(3, kActionSkip, 3), 0);
    EXPECT_EQ(game.Players[3].Count(), 3);
    EXPECT_EQ(game.TransferRandomCards(3, kActionPassAcross, 0), 0);
}

TEST_F(Actions, ARandomSlotIsAlwaysALiveCardAndEveryCardCanBeChosen) {
    std::map<int, int> seen;
    for (int round = 0; round < 400; ++round) {
        SetTable(game, {{C(1, 1), C(1, 2), C(1, 3), C(1, 4)}, Filler(2, 3), Filler(3, 3), Filler(4, 3)}, {C(1, 9)}, {});
        ASSERT_EQ(game.TransferRandomCards(2, kActionPassLeft, 1), 0);
        ASSERT_EQ(game.Players[2].Count(), 4);
        ++seen[game.Players[2].Top().Value];
    }
    ASSERT_EQ(seen.size(), 4u);
    for (const auto& [value, n] : seen) EXPECT_GT(n, 60) << value;
}

}  // namespace
}  // namespace kvt::test
