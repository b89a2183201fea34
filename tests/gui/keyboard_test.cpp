// The human's part by keyboard, and what a screen reader is told.
#include <QAccessible>
#include <QAction>
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

TEST(Keyboard, TheMenusHaveTheDesktopsShortcuts) {
    TableSetup setup;
    PlayWin& win = setup.Open(false);
    const std::pair<const char*, QKeySequence::StandardKey> keys[] = {
        {"MM_NEW_GAME", QKeySequence::New},
        {"MM_LOAD_CARD", QKeySequence::Open},
        {"MM_EXIT", QKeySequence::Quit},
        {"MM_CONTENTS", QKeySequence::HelpContents},
    };
    for (const auto& [entry, key] : keys) EXPECT_EQ(win.MenuEntry(entry)->shortcut(), QKeySequence(key)) << entry;
}

TEST(Keyboard, TheMarkMovesThroughTheHandAndKeysMakeTheClicks) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    Game& game = win.GameState();
    game.CurPlayer = 1;
    TableKeys& keys = *win.Keys();
    EXPECT_FALSE(keys.Mark()->isVisible()) << "no mark before the first key";

    QTest::keyClick(&win, Qt::Key_End);
    EXPECT_EQ(keys.Column(), game.Players[1].Count() - 1);
    EXPECT_TRUE(keys.Mark()->isVisible());
    QTest::keyClick(&win, Qt::Key_Home);
    QTest::keyClick(&win, Qt::Key_Right);
    QTest::keyClick(&win, Qt::Key_Right);
    QTest::keyClick(&win, Qt::Key_Left);
    ASSERT_EQ(keys.Column(), 1);
    QTest::keyClick(&win, Qt::Key_Left);
    QTest::keyClick(&win, Qt::Key_Left);
    EXPECT_EQ(keys.Column(), 0) << "the mark stops at the first card";
    // The mark sits on the marked card's strip and says which card it is.
    CardGrid& hand = *win.Hands().Grid(1);
    EXPECT_EQ(keys.Mark()->geometry().topLeft(), hand.mapTo(win.Table(), hand.CellRect(0, 0).topLeft()));
    Card first = game.Players[1][0];
    const bool playable = game.CheckPlayable(first) == 1;
    EXPECT_EQ(AccessibleName(keys.Mark()), SpokenCard(game.Players[1][0], playable));
    EXPECT_EQ(AccessibleName(win.Hands().Grid(1)), "Your hand, 7 cards");

    // Enter picks the marked card, Escape puts it back, D draws.
    const Card marked = game.Players[1][0];
    QTest::keyClick(&win, Qt::Key_Return);
    ASSERT_EQ(game.PickStack.Count(), 1);
    EXPECT_EQ(game.PickStack[0].Value, marked.Value);
    EXPECT_EQ(game.PickStack[0].Group, marked.Group);
    QTest::keyClick(&win, Qt::Key_Escape);
    EXPECT_TRUE(game.PickStack.Empty());
    EXPECT_EQ(game.Players[1].Count(), 7);
    const int deck = game.DrawDeck.Count();
    QTest::keyClick(&win, Qt::Key_D);
    EXPECT_EQ(game.DrawDeck.Count(), deck - 1);
    EXPECT_EQ(game.PickStack.Count(), 1) << "the drawn card waits in the picked-card box";
}

TEST(Keyboard, WhenACardMustBeTakenTheMarkIsOnTheGiversHand) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    Game& game = win.GameState();
    game.CurPlayer = 1;
    game.ChoosingCards = true;
    game.ChooseFromPlayer = 3;
    game.ChooseDone = 0;
    game.ChooseTotal = 2;
    win.RedrawTable();
    TableKeys& keys = *win.Keys();
    QTest::keyClick(&win, Qt::Key_Right);
    EXPECT_EQ(keys.CurrentZone(), TableKeys::Zone::Giver);
    EXPECT_EQ(keys.Column(), 1);
    EXPECT_TRUE(AccessibleName(keys.Mark()).startsWith("Card 2 of ")) << "a hidden card is known by its place";
    const Card taken = game.Players[3][1];
    QTest::keyClick(&win, Qt::Key_Space);
    EXPECT_EQ(game.Players[1].Count(), 8);
    EXPECT_EQ(game.Players[3].Count(), 6);
    EXPECT_EQ(game.ChooseDone, 1);
    bool arrived = false;
    for (const Card& c : game.Players[1]) arrived |= c.Group == taken.Group && c.Value == taken.Value && c.PicCol == taken.PicCol;
    EXPECT_TRUE(arrived);
}

}  // namespace
}  // namespace kvt
