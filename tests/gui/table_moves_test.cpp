// Whole moves of the human by mouse on the real widgets, from a table laid
// out card by card, through the computers' replies back to the human's turn.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include "actions/flights_qt.h"
#include "gui_support.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"

namespace kvt {
namespace {

using gui_test::CardsOnTable;
using gui_test::CellPoint;
using gui_test::DialogAnswerer;
using gui_test::FlightWatcher;
using gui_test::TableSetup;

// The first definition of the shipped set with this group and value (and
// action, unless -1).
Card Def(const Game& game, int group, int value, int action = -1) {
    for (const Card& def : game.CardSet.CardDefs)
        if (def.Group == group && def.Value == value && (action < 0 || def.Action == action) && IsDealt(def)) return def;
    ADD_FAILURE() << "no card " << group << "/" << value;
    return {};
}

Card Plain(const Game& game, int group, int value) { return Def(game, group, value, kActionDiscard); }

// The same card, whatever the work mark the rules left on it.
bool Same(const Card& a, const Card& b) {
    Card unmarked = a;
    unmarked.Playable = b.Playable;
    return unmarked == b;
}

int CountIn(const CardStack& stack, const Card& card) {
    int n = 0;
    for (const Card& c : stack) n += Same(c, card);
    return n;
}

int ColumnOf(const CardStack& hand, const Card& card) {
    for (int c = 0; c < hand.Count(); ++c)
        if (Same(hand[c], card)) return c;
    ADD_FAILURE() << "card not in the hand";
    return 0;
}

using Cards = std::vector<Card>;

// The table holds exactly these hands (1..4), pile (top last) and deck (top first).
void Arrange(PlayWin& win, const std::array<Cards, 4>& hands, const Cards& pile, const Cards& deck) {
    Game& game = win.GameState();
    for (int p = 1; p <= 4; ++p) {
        game.Players[p].Clear();
        for (const Card& c : hands[static_cast<std::size_t>(p - 1)]) game.Players[p].Push(c);
    }
    game.DiscardPile.Clear();
    for (const Card& c : pile) game.DiscardPile.Push(c);
    game.DrawDeck.Clear();
    for (const Card& c : deck) game.DrawDeck.Push(c);
    game.CurPlayer = 1;
    win.RedrawTable();
}

// Plain cards no card of another group below value 7 matches.
Cards Filler(const Game& game, int group, int n) {
    Cards cards;
    for (int i = 0; i < n; ++i) cards.push_back(Plain(game, group, 7 + i % 3));
    return cards;
}

// A deck of group 1: a computer that must draw on a group 1 card soon finds one to lay.
Cards Deck(const Game& game) {
    Cards cards;
    for (int i = 0; i < 10; ++i) cards.push_back(Plain(game, 1, 5 + i % 2));
    return cards;
}

bool SameCards(const CardStack& a, const CardStack& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i)
        if (!Same(a[i], b[i])) return false;
    return true;
}

void ClickHand(PlayWin& win, int player, int col) {
    QTest::mouseClick(win.Hands().Grid(player), Qt::LeftButton, {}, CellPoint(win.Hands().Grid(player), col));
    gui_test::Settle(win);
}
void ClickCard(PlayWin& win, const Card& card) { ClickHand(win, 1, ColumnOf(win.GameState().Players[1], card)); }
void ClickDiscard(PlayWin& win) {
    QTest::mouseClick(win.Hands().AcceptDiscardBut(), Qt::LeftButton);
    gui_test::Settle(win);
}
void ClickDeck(PlayWin& win) {
    QTest::mouseClick(win.Hands().DrawDeck(), Qt::LeftButton, {}, QPoint(30, 30));
    gui_test::Settle(win);
}

// Back at the human's turn with nothing picked and nothing offered.
void ExpectIdleTable(PlayWin& win) {
    EXPECT_TRUE(gui_test::WaitForHuman(win));
    Game& game = win.GameState();
    EXPECT_EQ(game.CurPlayer, 1);
    EXPECT_FALSE(game.MoveInProgress());
    EXPECT_EQ(game.CardPicked, 0);
    EXPECT_TRUE(game.PickStack.Empty());
    EXPECT_TRUE(game.HoldStack.Empty());
    EXPECT_FALSE(win.Hands().AcceptDiscardBut()->isVisible());
    EXPECT_FALSE(win.Hands().Grid(0)->isVisible());
    EXPECT_FALSE(win.Hands().ShowCardPlay()->HasPicture());
    EXPECT_EQ(win.Hands().Grid(1)->Cols(), game.Players[1].Count());
}

class TableMoves : public ::testing::Test {
protected:
    void SetUp() override {
        win_ = &setup_.Open();
        win_->SetAnimationInterval(1);
        win_->Flights().SetDrawStepPause(0);
    }
    Game& game() { return win_->GameState(); }

    TableSetup setup_;
    PlayWin* win_ = nullptr;
    // Whatever a move opens is answered, so that no test can hang on a window.
    DialogAnswerer answerer_;
};

// The rules of each move are pinned by the rules tests (tests/rules); here,
// that each click reaches its move and the widgets show what follows.
TEST_F(TableMoves, NothingToDrawOrPlaySaysSoAndPasses) {
    PlayWin& win = *win_;
    const Cards ones{Plain(game(), 1, 3), Plain(game(), 1, 4)};
    Arrange(win, {Filler(game(), 3, 3), ones, ones, ones}, {Plain(game(), 1, 2)}, {});
    EXPECT_FALSE(win.Hands().DrawDeck()->HasPicture()) << "an empty deck shows no card";
    ClickDeck(win);
    EXPECT_EQ(game().Players[1].Count(), 3) << "the human passed";
    EXPECT_EQ(win.statusBar()->currentMessage(), "Nothing to draw and nothing to play: you pass.");
}

TEST_F(TableMoves, HandDeckPickedBoxAndButtonClicksMakeTheirMoves) {
    PlayWin& win = *win_;
    const Card discard2 = Def(game(), 1, 25);
    ASSERT_EQ(discard2.ActionCount, 2);
    const Card first = Plain(game(), 3, 8);
    const Card second = Plain(game(), 4, 9);
    const Card unplayable = Plain(game(), 3, 2);
    Arrange(win, {Cards{discard2, first, second, Plain(game(), 2, 1), Plain(game(), 2, 2)},
                  Cards{Plain(game(), 1, 3), Plain(game(), 1, 4), Plain(game(), 2, 3)},
                  Cards{Plain(game(), 1, 5), Plain(game(), 1, 6), Plain(game(), 2, 4)},
                  Cards{Plain(game(), 1, 1), Plain(game(), 1, 2), Plain(game(), 2, 5)}},
            {Plain(game(), 1, 9)}, Cards{unplayable, Plain(game(), 1, 5), Plain(game(), 1, 6), Plain(game(), 1, 5)});
    const int total = CardsOnTable(game());

    // The left hand while nobody must take, and the empty picked-card box: nothing.
    QTest::mouseClick(win.Hands().Grid(2), Qt::LeftButton, {}, QPoint(20, 40));
    QTest::mouseClick(win.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(game().CardPicked, 0);
    // The deck: the drawn card waits in the box; the box: back into the hand.
    ClickDeck(win);
    EXPECT_EQ(win.Hands().ShowCardPlay()->Picture().toImage(), win.Hands().Face(unplayable).toImage());
    EXPECT_FALSE(win.Hands().AcceptDiscardBut()->isVisible()) << "an unplayable draw cannot be laid";
    QTest::mouseClick(win.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(CountIn(game().Players[1], unplayable), 1);
    EXPECT_FALSE(win.Hands().ShowCardPlay()->HasPicture());

    // A hand card is picked; the hold grid opens for its two cards.
    ClickCard(win, discard2);
    EXPECT_EQ(win.Hands().ShowCardPlay()->Picture().toImage(), win.Hands().Face(discard2).toImage());
    EXPECT_TRUE(win.Hands().Grid(0)->isVisible());
    EXPECT_EQ(win.Hands().Grid(0)->Cols(), 2);
    ClickCard(win, first);
    EXPECT_FALSE(win.Hands().AcceptDiscardBut()->isVisible());
    ClickCard(win, second);
    EXPECT_TRUE(win.Hands().AcceptDiscardBut()->isVisible());
    EXPECT_EQ(win.Hands().Grid(0)->Picture(0, 1).toImage(), win.Hands().Face(second).toImage());

    ClickDiscard(win);
    for (const Card& gone : {discard2, first, second}) EXPECT_EQ(CountIn(game().Players[1], gone), 0);
    EXPECT_EQ(CardsOnTable(game()), total);
    ExpectIdleTable(win);
}

TEST_F(TableMoves, TheHumanTakesByClickingTheGiversHand) {
    PlayWin& win = *win_;
    Card draw_left = Def(game(), 1, 20, kActionDrawLeft);
    draw_left.ActionCount = 2;
    // Each computer has one card to lay; the right player's is the draw-left card.
    Arrange(win, {Cards{Plain(game(), 1, 2), Plain(game(), 2, 1)},
                  Cards{Plain(game(), 1, 3), Plain(game(), 3, 7), Plain(game(), 3, 8), Plain(game(), 3, 9), Plain(game(), 3, 9)},
                  Cards{Plain(game(), 1, 4), Plain(game(), 4, 7), Plain(game(), 4, 8)},
                  Cards{draw_left, Plain(game(), 2, 9), Plain(game(), 3, 9)}},
            {Plain(game(), 1, 1)}, Deck(game()));
    const int total = CardsOnTable(game());

    ClickCard(win, Plain(game(), 1, 2));
    ClickDiscard(win);
    ASSERT_TRUE(gui_test::WaitForHuman(win));
    ASSERT_TRUE(game().ChoosingCards);
    EXPECT_TRUE(win.ChooseMsgLbl()->isVisible());
    EXPECT_TRUE(win.ChooseMsgLbl()->text().startsWith("Choose a card from Player - "));
    ClickHand(win, 3, 0);  // the wrong grid takes nothing
    EXPECT_EQ(game().Players[1].Count(), 1);
    const Card taken = game().Players[2][0];
    ClickHand(win, 2, 0);
    EXPECT_EQ(CountIn(game().Players[1], taken), 1);
    ClickHand(win, 2, 0);
    EXPECT_FALSE(game().ChoosingCards);
    EXPECT_TRUE(gui_test::WaitForHuman(win));
    EXPECT_FALSE(win.ChooseMsgLbl()->isVisible()) << "the next computer move hides the prompt";
    EXPECT_EQ(CardsOnTable(game()), total);
    ExpectIdleTable(win);
}

TEST_F(TableMoves, AWildCardLaysTheGroupChosenInTheDialog) {
    PlayWin& win = *win_;
    DialogAnswerer& answerer = answerer_;
    answerer.group = 3;
    FlightWatcher watcher(win);
    const Card wild = Def(game(), 0, 50, kActionDiscard);
    Arrange(win, {Cards{wild, Plain(game(), 2, 1)}, Cards{Plain(game(), 3, 3), Plain(game(), 2, 7)},
                  Cards{Plain(game(), 3, 4), Plain(game(), 2, 8)}, Cards{Plain(game(), 3, 5), Plain(game(), 2, 9)}},
            {Plain(game(), 1, 9)}, Deck(game()));
    // What the table shows when the next player's card starts to fly.
    QImage pile_shown;
    watcher.on_flight = [&] {
        if (answerer.wild_choices == 1 && pile_shown.isNull()) pile_shown = win.Hands().DiscardPile()->Picture().toImage();
    };
    ClickCard(win, wild);
    ClickDiscard(win);
    EXPECT_TRUE(gui_test::WaitForHuman(win));
    EXPECT_EQ(answerer.wild_choices, 1);
    EXPECT_EQ(pile_shown, win.Hands().Face(Def(game(), 3, 1)).toImage());
    ExpectIdleTable(win);
}

TEST_F(TableMoves, MenuCommandsDuringAComputerTurnKeepTheGameWhole) {
    PlayWin& win = *win_;
    FlightWatcher watcher(win);
    Game& g = game();
    bool move_running = false;
    bool table_kept = false;
    // The menu is used as the second card flight starts, inside the move.
    watcher.on_flight = [&] {
        if (watcher.flights != 2) return;
        move_running = win.MoveRunning();
        const CardStack left_hand = g.Players[2];
        const CardStack pile = g.DiscardPile;
        win.MenuEntry("MM_NEW_GAME")->trigger();
        win.MenuEntry("MM_SORT_CARDS")->trigger();
        table_kept = SameCards(g.Players[2], left_hand) && SameCards(g.DiscardPile, pile);
    };
    int column = -1;
    for (int c = 0; c < g.Players[1].Count() && column < 0; ++c)
        if (g.CheckPlayable(g.Players[1][c]) == 1 && Game::NeedsNoChoice(g.Players[1][c]) == 1) column = c;
    ASSERT_GE(column, 0) << "the fixed seed deals a card that needs no choice";
    g.Scores[2] = 40;

    ClickHand(win, 1, column);
    ClickDiscard(win);
    EXPECT_TRUE(gui_test::WaitForHuman(win));

    EXPECT_GE(watcher.flights, 2);
    EXPECT_TRUE(move_running);
    EXPECT_TRUE(table_kept) << "the new game waits for the move to end";
    EXPECT_FALSE(g.SortCards) << "a toggle applies at once";
    EXPECT_FALSE(win.MenuEntry("MM_SORT_CARDS")->isChecked());
    // The new game followed the move: a fresh deal, every card there once.
    EXPECT_EQ(g.Scores[2], 0);
    EXPECT_EQ(g.RoundNum, 0);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(g.Players[static_cast<std::size_t>(p)].Count(), 7) << p;
    EXPECT_EQ(CardsOnTable(g), DeckSize(g.CardSet));
    ExpectIdleTable(win);
}

TEST_F(TableMoves, UndoTakesBackTheMoveWithTheRepliesAndRedoOrTheSameMovePlaysThemAgain) {
    PlayWin& win = *win_;
    Game& g = game();
    QAction* undo = win.MenuEntry("MM_UNDO");
    QAction* redo = win.MenuEntry("MM_REDO");
    ASSERT_TRUE(gui_test::WaitForHuman(win));
    EXPECT_FALSE(undo->isEnabled()) << "nothing played yet";
    const TableState before = g.State();
    // The human lays a card that needs no choice; the computers reply.
    const auto play = [&] {
        int column = -1;
        for (int c = 0; c < g.Players[1].Count() && column < 0; ++c)
            if (g.CheckPlayable(g.Players[1][c]) == 1 && Game::NeedsNoChoice(g.Players[1][c]) == 1) column = c;
        ASSERT_GE(column, 0) << "the fixed seed deals a card that needs no choice";
        ClickHand(win, 1, column);
        ClickDiscard(win);
        ASSERT_TRUE(gui_test::WaitForHuman(win));
    };
    play();
    const TableState after = g.State();
    ASSERT_NE(after, before);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    undo->trigger();
    EXPECT_EQ(g.State(), before) << "hands, pile, deck and the generator as they were";
    EXPECT_EQ(win.Hands().Grid(1)->Cols(), before.Players[1].Count());
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    EXPECT_EQ(g.State(), after);
    undo->trigger();
    // The same move again: the computers do the same, drawing the same cards.
    play();
    EXPECT_EQ(g.State(), after);
    EXPECT_TRUE(redo->isEnabled() == false);
    // A new game forgets the moves of the last one.
    win.MenuEntry("MM_NEW_GAME")->trigger();
    ASSERT_TRUE(gui_test::WaitForHuman(win));
    EXPECT_FALSE(undo->isEnabled());
}

}  // namespace
}  // namespace kvt
