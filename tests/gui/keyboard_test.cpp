// The human's part by keyboard, and what a screen reader is told.
#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "actions/flights_qt.h"
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
    Card marked = game.Players[1][0];
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

// Rounds played with the keys alone: the mark and Enter to pick and choose,
// D to draw, Escape to put a drawn card back, Alt+D for Discard, Space to
// take from a hand, a digit for the group after a wild card and Enter for
// the score sheet. Each kind of choice comes up and is answered.
TEST(Keyboard, WholeRoundsArePlayedByKeysAlone) {
    TableSetup setup;
    PlayWin& win = setup.Open();
    win.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&win));
    win.Flights().SetInterval(1);
    Game& game = win.GameState();
    gui_test::DialogAnswerer answerer(2);
    answerer.by_keys = true;

    int picks = 0, choices = 0, draws = 0, takes = 0;
    const auto key = [&win](int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&win, static_cast<Qt::Key>(k), mods);
        gui_test::Settle(win);
    };
    // An access key presses its button as a click would, a moment later.
    const auto discard = [&] {
        key(Qt::Key_D, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return game.PickStack.Empty(); }, 5000));
    };
    for (int step = 0; step < 600 && (answerer.score_sheets < 3 || takes == 0 || choices == 0); ++step) {
        // The computers' moves and the windows they open come first.
        ASSERT_TRUE(gui_test::WaitForHuman(win));
        // The keys go to the table once a dialog has closed, as the desktop gives it back.
        QApplication::setActiveWindow(&win);
        if (game.ChoosingCards) {
            key(Qt::Key_Home);
            EXPECT_EQ(win.Keys()->CurrentZone(), TableKeys::Zone::Giver);
            // A hidden card is known by its place only.
            EXPECT_TRUE(AccessibleName(win.Keys()->Mark()).startsWith("Card 1 of "))
                << AccessibleName(win.Keys()->Mark()).toStdString();
            key(Qt::Key_Space);
            ++takes;
            continue;
        }
        int column = -1;
        for (int i = 0; i < game.Players[1].Count() && column < 0; ++i)
            if (Card probe = game.Players[1][i]; game.CheckPlayable(probe) == 1) column = i;
        if (column < 0) {
            key(Qt::Key_D);
            ++draws;
            game.DiscardButtonShown ? discard() : key(Qt::Key_Escape);
            continue;
        }
        key(Qt::Key_Home);
        for (int i = 0; i < column; ++i) key(Qt::Key_Right);
        key(Qt::Key_Return);
        ++picks;
        for (int guard = 0; game.HoldGridOpen && !game.DiscardButtonShown && guard < 20; ++guard, ++choices)
            for (int k : {Qt::Key_Home, Qt::Key_Return}) key(k);
        discard();
    }
    EXPECT_GE(answerer.score_sheets, 3);
    // Every kind of move came up: a pick, a card that gives cards away, a take, a draw, a group named.
    for (const int n : {picks, choices, takes, draws, answerer.wild_choices}) EXPECT_GT(n, 0);
    EXPECT_EQ(setup.messages.size(), 0u);
}

}  // namespace
}  // namespace kvt
