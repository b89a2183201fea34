// The human's part by keyboard, and what a screen reader is told; whole rounds
// by the keys alone are played in the soak.
#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "gui_support.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"
#include "shell/table_keys.h"

namespace kvt {
namespace {

using gui_test::TableSetup;

QString AccessibleName(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name) : QString();
}

// What a screen reader hears of the table is checked with the mark.
TEST(Keyboard, TheMarkMovesThroughTheHandKeysMakeTheClicksAndEveryPartHasAnAccessibleName) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    Game& game = win.GameState();
    game.CurPlayer = 1;
    TableKeys& keys = *win.Keys();
    EXPECT_FALSE(keys.Mark()->isVisible()) << "no mark before the first key";

    QTest::keyClick(&win, Qt::Key_End);
    EXPECT_EQ(std::tuple(keys.Column(), keys.Mark()->isVisible()), std::tuple(game.Players[1].Count() - 1, true));
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left}) QTest::keyClick(&win, key);
    ASSERT_EQ(keys.Column(), 1);
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Left}) QTest::keyClick(&win, key);
    EXPECT_EQ(keys.Column(), 0) << "the mark stops at the first card";
    // The mark sits on the marked card's strip and says which card it is.
    CardGrid& hand = *win.Hands().Grid(1);
    EXPECT_EQ(keys.Mark()->geometry().topLeft(), hand.mapTo(win.Table(), hand.CellRect(0, 0).topLeft()));
    Card marked = game.Players[1][win.Hands().HumanSlot(0)];
    const bool playable = game.CheckPlayable(marked) == 1;
    EXPECT_EQ(AccessibleName(keys.Mark()), SpokenCard(marked, playable));
    EXPECT_EQ(AccessibleName(win.Hands().Grid(1)), "Your hand, 7 cards");
    // The other hands by their owner and size, the deck by its size, the pile by its top card.
    HandView& hands = win.Hands();
    const auto cards = [](int n) { return n == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(n); };
    for (int p = 2; p <= 4; ++p) {
        const QString name = QStringLiteral("Player %1").arg(p);  // no opponents chosen
        EXPECT_EQ(AccessibleName(hands.Grid(p)), name + "'s hand, " + cards(game.Players[static_cast<std::size_t>(p)].Count()));
        EXPECT_EQ(AccessibleName(win.NameLabel(p)), name);
    }
    EXPECT_EQ(AccessibleName(hands.DrawDeck()), "Draw deck, " + cards(game.DrawDeck.Count()));
    EXPECT_EQ(AccessibleName(hands.DiscardPile()), "Discard pile, " + SpokenCard(game.DiscardPile.Top(), false));
    EXPECT_TRUE(AccessibleName(hands.Grid(0)).startsWith("Cards chosen, "));
    EXPECT_FALSE(AccessibleName(hands.AcceptDiscardBut()).isEmpty());
    // Enter picks the marked card, Escape puts it back, D draws.
    QTest::keyClick(&win, Qt::Key_Return);
    ASSERT_EQ(game.PickStack.Count(), 1);
    EXPECT_EQ(std::pair(game.PickStack[0].Group, game.PickStack[0].Value), std::pair(marked.Group, marked.Value));
    QTest::keyClick(&win, Qt::Key_Escape);
    EXPECT_EQ(std::tuple(game.PickStack.Empty(), game.Players[1].Count()), std::tuple(true, 7));
    const int deck = game.DrawDeck.Count();
    QTest::keyClick(&win, Qt::Key_D);
    // The drawn card waits in the picked-card box.
    EXPECT_EQ(std::tuple(game.DrawDeck.Count(), game.PickStack.Count()), std::tuple(deck - 1, 1));
}

}  // namespace
}  // namespace kvt
