#include <gtest/gtest.h>

#include <sstream>

#include "rules/rules_support.h"

namespace kvt::test {
namespace {

std::vector<std::string> Split(const std::string& joined) {
    std::vector<std::string> calls;
    std::istringstream in(joined);
    for (std::string call; std::getline(in, call, '|');) calls.push_back(call);
    return calls;
}

// One whole round from the human's first click to the next deal: the order
// in which the window is told things is part of the contract.
TEST(Sequence, OneScriptedRound) {
    RulesTable table(FourWindsLikeSet(), 11);
    Game& game = *table.game;
    SetTable(game,
             {{C(1, 3), C(2, 2), C(4, 7)}, {C(1, 20, kActionPassLeft, 1), C(2, 4), C(2, 5)}, {C(3, 3), C(3, 8)}, {C(1, 6)}},
             {C(1, 9)}, {C(3, 9), C(1, 2), C(4, 1)});
    game.CurPlayer = 1;
    game.StartPlayer = 4;
    table.view.calls.clear();
    ASSERT_EQ(game.ClickHandCard(0), HumanMove::Picked);
    ASSERT_EQ(game.ClickDiscardButton(), HumanMove::Played);
    EXPECT_EQ(table.view.score_sheets, 1);
    EXPECT_EQ(game.CurPlayer, 1);
    const std::vector<std::string> expected = Split(
        // The human picks the 3 and lays it.
        "ShowPickedCard 1/3/8x0|DiscardButton on|ShowHand 1 2|AnimatePickedCard 1/3/8x0|RepaintDiscardPile|"
        "Pump|HoldGrid off|DiscardButton off|"
        // Player 2 passes a random card left to player 3...
        "Arrow 2 off|Arrow 3 off|Arrow 4 off|PickedBox off|Arrow 2 on|AnimateCompDiscard 2 1/20/1x1|"
        "RepaintDiscardPile|Pump|Arrow 2 off|Arrow 3 on|AnimateCardMove 2>3 2/4/8x0|ShowHand 2 1|"
        "ShowHand 3 3|ShowHand 2 1|Pump|Arrow 2 off|Arrow 3 on|Pump|"
        // ...player 3 draws twice and lays the 2...
        "Arrow 3 on|AnimateDraw 3|ShowHand 3 4|Pump|AnimateDraw 3|ShowHand 3 5|Pump|"
        "AnimateCompDiscard 3 1/2/8x0|RepaintDiscardPile|Pump|ShowHand 3 4|Pump|Arrow 3 off|Arrow 4 on|Pump|"
        // ...and player 4 lays its last card: the round is over.
        "Arrow 4 on|AnimateCompDiscard 4 1/6/8x0|RepaintDiscardPile|Pump|ShowHand 4 0|Pump|Arrow 4 off|"
        "SetHandVisible 4 off|HideHoldCard|ShowHand 4 0|"
        // The score sheet, then the next round, which the human opens.
        "OpenScoreSheet 0|ShowScoreSheet 0|ShowHand 0 0|HoldGrid off|DiscardButton off|ClearPickedCard|"
        "HideHoldCard|Arrow 2 off|Arrow 3 off|Arrow 4 off|ChooseMessage off|SetHandVisible 4 on|"
        "ShowShuffling|HideShuffling|SetHandVisible 1 on|ShowHand 1 7|SetHandVisible 2 on|ShowHand 2 7|"
        "SetHandVisible 3 on|ShowHand 3 7|SetHandVisible 4 on|ShowHand 4 7|ShowDiscardTop|ShowHand 1 7|"
        "PickedBox on|");
    EXPECT_EQ(table.view.calls, expected);
}

}  // namespace
}  // namespace kvt::test
