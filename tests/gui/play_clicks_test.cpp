// The human's play by mouse, through the real click routing into the rules.
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "gui_support.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"

namespace kvt {
namespace {

using gui_test::CardsOnTable;
using gui_test::TableSetup;

QPoint ColumnPoint(int column) { return {column * 30 + 10, 40}; }

bool SameCard(const Card& a, const Card& b) {
    return a.Group == b.Group && a.Value == b.Value && a.Action == b.Action && a.ActionCount == b.ActionCount;
}

int CountIn(const CardStack& stack, const Card& card) {
    int n = 0;
    for (const Card& c : stack) n += SameCard(c, card);
    return n;
}

// The first plain card of the human's hand that fits the pile, or -1.
int PlainPlayableColumn(Game& game) {
    for (int c = 0; c < game.Players[1].Count(); ++c) {
        Card card = game.Players[1][c];
        if (card.Action == kActionDiscard && card.ActionCount == 0 && game.CheckPlayable(card) == 1) return c;
    }
    return -1;
}

TEST(PlayClicks, PickCancelAndPlayAPlainCard) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.SetAnimationInterval(1);
    Game& game = win.GameState();
    const int cards = CardsOnTable(game);
    const int column = PlainPlayableColumn(game);
    ASSERT_GE(column, 0) << "the fixed seed deals a plain playable card";
    const Card chosen = game.Players[1][column];

    QTest::mouseClick(win.Hands().Grid(1), Qt::LeftButton, {}, ColumnPoint(column));
    EXPECT_EQ(game.CardPicked, 1);
    ASSERT_EQ(game.PickStack.Count(), 1);
    EXPECT_TRUE(SameCard(game.PickStack[0], chosen));
    EXPECT_TRUE(win.Hands().AcceptDiscardBut()->isVisible());

    // A click on the picked card puts it back.
    QTest::mouseClick(win.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(game.CardPicked, 0);
    EXPECT_EQ(game.Players[1].Count(), 7);

    const int again = PlainPlayableColumn(game);
    const Card played = game.Players[1][again];
    const int in_hand = CountIn(game.Players[1], played);
    QTest::mouseClick(win.Hands().Grid(1), Qt::LeftButton, {}, ColumnPoint(again));
    QTest::mouseClick(win.Hands().AcceptDiscardBut(), Qt::LeftButton);

    EXPECT_EQ(game.CardPicked, 0);
    EXPECT_FALSE(game.MoveInProgress());
    EXPECT_EQ(CardsOnTable(game), cards + game.GroupCardsAdded) << "no card lost or made";
    EXPECT_EQ(CountIn(game.Players[1], played), in_hand - 1) << "the played card left the hand";
    EXPECT_TRUE(game.CurPlayer == 1 || game.RoundEnded) << "the computers played and handed back";
}

TEST(PlayClicks, ClicksThatDoNotFitAreIgnored) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.SetAnimationInterval(1);
    Game& game = win.GameState();
    const int left_hand = game.Players[2].Count();
    QTest::mouseClick(win.Hands().Grid(2), Qt::LeftButton, {}, QPoint(20, 40));
    QTest::mouseClick(win.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(game.Players[2].Count(), left_hand) << "no taking while nobody must take";
    EXPECT_EQ(game.CardPicked, 0);
    EXPECT_EQ(game.Players[1].Count(), 7);
}

}  // namespace
}  // namespace kvt
