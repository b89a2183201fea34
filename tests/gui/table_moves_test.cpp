// Whole moves of the human by mouse and keys, from a table laid out card by card, through the computers'
// replies: the rules are pinned in tests/rules; here, that each click or key reaches its move, what the
// widgets show and what a screen reader is told.

#include <QAccessible>
#include <QAction>
#include <QStatusBar>

#include "gui_support.h"
#include "shell/move_log.h"

namespace kvt {
namespace {

using namespace gui_test;

using Cards = std::vector<Card>;

// The same card, whatever the work mark the rules left on it.
bool Same(Card a, const Card& b) {
    a.Playable = b.Playable;
    return a == b;
}

int CountIn(const CardStack& stack, const Card& card) {
    return static_cast<int>(std::count_if(stack.begin(), stack.end(), [&](const Card& c) { return Same(c, card); }));
}

void ClickDeck(PlayWin& win) {
    QTest::mouseClick(win.Hands().DrawDeck(), Qt::LeftButton, {}, QPoint(30, 30));
    Settle(win);
}

// The person to play (WaitForHuman: no move running in the game), with no move half built on the screen.
void ExpectIdleTable(PlayWin& win) {
    EXPECT_TRUE(WaitForHuman(win) && !win.IsClosing());
    HandView& hands = win.Hands();
    EXPECT_EQ(std::tuple(win.Building().Picking(), win.Building().Held().Empty(), hands.Grid(0)->isVisible(),
                         hands.AcceptDiscardBut()->isVisible(), hands.ShowCardPlay()->HasPicture()),
              std::tuple(false, true, false, false, false));
}

class TableMoves : public ::testing::Test {
protected:
    Game& game() { return win_.GameState(); }
    // The first definition of the shipped set with this group and value (and action, unless -1).
    Card Def(int group, int value, int action = -1) {
        for (const Card& def : game().CardSet.CardDefs)
            if (def.Group == group && def.Value == value && (action < 0 || def.Action == action) && IsDealt(def))
                return def;
        ADD_FAILURE() << "no card " << group << "/" << value;
        return {};
    }
    Card Plain(int group, int value) { return Def(group, value, kActionDiscard); }
    Cards Plains(int group, std::initializer_list<int> values) {
        Cards cards;
        for (int v : values) cards.push_back(Plain(group, v));
        return cards;
    }
    // A deck of group 1: a computer that must draw on a group 1 card soon finds one to lay.
    Cards Deck() { return Plains(1, {5, 6, 5, 6, 5, 6, 5, 6, 5, 6}); }
    // The table holds exactly these hands (1..4), pile (top last) and deck (top first).
    void Arrange(const std::array<Cards, 4>& hands, const Cards& pile, const Cards& deck) {
        CardStack* stacks[] = {&game().Players[1], &game().Players[2], &game().Players[3], &game().Players[4],
                               &game().DiscardPile, &game().DrawDeck};
        const Cards* cards[] = {&hands[0], &hands[1], &hands[2], &hands[3], &pile, &deck};
        for (int s = 0; s < 6; ++s) {
            stacks[s]->Clear();
            for (const Card& c : *cards[s]) stacks[s]->Push(c);
        }
        game().CurPlayer = 1;
        win_.RedrawTable();
    }
    void ClickCard(const Card& card) {
        const CardStack hand = win_.Building().ShownHand();
        const auto at = std::find_if(hand.begin(), hand.end(), [&](const Card& c) { return Same(c, card); });
        ASSERT_NE(at, hand.end()) << "card not in the hand";
        ClickHand(win_, 1, ShownColumn(win_, static_cast<int>(at - hand.begin())));
    }

    TableSetup setup_;
    PlayWin& win_ = setup_.OpenFast();
    // Whatever a move opens is answered, so that no test can hang on a window.
    DialogAnswerer answerer_;
};

TEST_F(TableMoves, HandDeckPickedBoxAndButtonClicksMakeTheirMovesOrPassWithNothingToDo) {
    const Card discard2 = Def(1, 25);
    ASSERT_EQ(discard2.ActionCount, 2);
    const Card first = Plain(3, 8), second = Plain(4, 9), unplayable = Plain(3, 2);
    Arrange({Cards{discard2, first, second, Plain(2, 1), Plain(2, 2)}, Cards{Plain(1, 3), Plain(1, 4), Plain(2, 3)},
             Cards{Plain(1, 5), Plain(1, 6), Plain(2, 4)}, Cards{Plain(1, 1), Plain(1, 2), Plain(2, 5)}},
            {Plain(1, 9)}, Cards{unplayable, Plain(1, 5), Plain(1, 6), Plain(1, 5)});
    // The left hand while nobody must take, and the empty picked-card box: nothing.
    QTest::mouseClick(win_.Hands().Grid(2), Qt::LeftButton, {}, QPoint(20, 40));
    QTest::mouseClick(win_.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_FALSE(win_.Building().Picking());
    // The deck: the drawn card waits in the box (as the box draws it: Look.*); the box: back into the hand.
    ClickDeck(win_);
    QTest::mouseClick(win_.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_TRUE(CountIn(game().Players[1], unplayable) == 1 && !win_.Hands().ShowCardPlay()->HasPicture());

    // A hand card is picked; the hold grid opens for its two cards.
    ClickCard(discard2);
    EXPECT_EQ(std::tuple(win_.Hands().Grid(0)->isVisible(), win_.Hands().Grid(0)->Cols()), std::tuple(true, 2));
    ClickCard(first);
    ClickCard(second);
    EXPECT_TRUE(win_.Hands().AcceptDiscardBut()->isVisible() &&
                win_.Hands().Grid(0)->Picture(0, 1).toImage() == win_.Hands().Face(second).toImage());

    ClickDiscard(win_);
    ExpectIdleTable(win_);

    // Nothing to draw and nothing to play: the deck click says so and passes (the pass itself:
    // Human.AnEmptyDeckIsRebuilt..., the empty deck drawn: HandViewTest).
    const Cards ones = Plains(1, {3, 4});
    Arrange({Plains(3, {7, 8, 9}), ones, ones, ones}, {Plain(1, 2)}, {});
    ClickDeck(win_);
    EXPECT_EQ(win_.statusBar()->currentMessage(), "Nothing to draw and nothing to play: you pass.");
    ASSERT_TRUE(WaitForHuman(win_));

    // The human takes by clicking the giver's hand; the right player's card is the draw-left card.
    Card draw_left = Def(1, 20, kActionDrawLeft);
    draw_left.ActionCount = 2;
    const std::array<Cards, 4> to_take{Cards{Plain(1, 2), Plain(2, 1)},
                                     Cards{Plain(1, 3), Plain(3, 7), Plain(3, 8), Plain(3, 9), Plain(3, 9)},
                                     Cards{Plain(1, 4), Plain(4, 7), Plain(4, 8)}, Cards{draw_left, Plain(2, 9), Plain(3, 9)}};
    Arrange(to_take, {Plain(1, 1)}, Deck());
    // Each computer's arrow is lit while its card flies, and no other.
    std::vector<int> lit;
    {
        FlightWatcher watcher(win_);
        watcher.on_flight = [&] {
            int seats = 0;
            for (int s = 2; s <= 4; ++s) seats = win_.PlayerPtr(s)->isHidden() ? seats : 10 * seats + s;
            lit.push_back(seats);
        };
        ClickCard(Plain(1, 2));
        ClickDiscard(win_);
        ASSERT_TRUE(WaitForHuman(win_));
    }
    EXPECT_EQ(lit, (std::vector<int>{0, 2, 3, 4}));
    ASSERT_TRUE(game().ChoosingCards);
    EXPECT_TRUE(win_.ChooseMsgLbl()->isVisible() && win_.ChooseMsgLbl()->text().startsWith("Choose a card from Player - "));
    EXPECT_TRUE(win_.Hands().ShowCardPlay()->isHidden()) << "no picked-card box while the person takes";
    ClickHand(win_, 3, 0);  // the wrong grid takes nothing
    EXPECT_EQ(game().Players[1].Count(), 1);
    // Two clicks take the two cards (which ones: Human.PickingCardsFromAnOpponent).
    ClickHand(win_, 2, 0);
    ClickHand(win_, 2, 0);
    EXPECT_TRUE(!game().ChoosingCards && WaitForHuman(win_));
    EXPECT_FALSE(win_.ChooseMsgLbl()->isVisible()) << "the next computer move hides the prompt";
    EXPECT_FALSE(win_.Hands().ShowCardPlay()->isHidden()) << "the box shows the person is to play";
    ExpectIdleTable(win_);
    // So does a new game dealt while the person is to take.
    Arrange(to_take, {Plain(1, 1)}, Deck());
    ClickCard(Plain(1, 2));
    ClickDiscard(win_);
    ASSERT_TRUE(WaitForHuman(win_) && game().ChoosingCards && win_.ChooseMsgLbl()->isVisible());
    win_.MenuEntry("MM_NEW_GAME")->trigger();
    ASSERT_TRUE(WaitForHuman(win_));
    EXPECT_FALSE(game().ChoosingCards || win_.ChooseMsgLbl()->isVisible());

    // A wild card lays the group chosen in the dialog, as the pile shows when the next card flies.
    answerer_.group = 3;
    FlightWatcher watcher(win_);
    const Card wild = Def(0, 50, kActionDiscard);
    Arrange({Cards{wild, Plain(2, 1)}, Cards{Plain(3, 3), Plain(2, 7)}, Cards{Plain(3, 4), Plain(2, 8)},
             Cards{Plain(3, 5), Plain(2, 9)}},
            {Plain(1, 9)}, Deck());
    QImage pile_shown;
    watcher.on_flight = [&] {
        if (answerer_.wild_choices == 1 && pile_shown.isNull())
            pile_shown = win_.Hands().DiscardPile()->Picture().toImage();
    };
    ClickCard(wild);
    ClickDiscard(win_);
    ExpectIdleTable(win_);
    EXPECT_EQ(answerer_.wild_choices, 1);
    EXPECT_EQ(pile_shown, win_.Hands().Face(Def(3, 1)).toImage());
}

TEST_F(TableMoves, UndoTakesBackTheMoveWithTheRepliesRedoPlaysThemAgainAndMenuCommandsInAMoveKeepTheGameWhole) {
    Game& g = game();
    QAction* undo = win_.MenuEntry("MM_UNDO");
    QAction* redo = win_.MenuEntry("MM_REDO");
    ASSERT_TRUE(WaitForHuman(win_));
    EXPECT_FALSE(undo->isEnabled()) << "nothing played yet";
    const TableState before = g.State();
    PlayAMove(win_);
    const TableState after = g.State();
    ASSERT_NE(after, before);
    EXPECT_TRUE(undo->isEnabled() && !redo->isEnabled());

    undo->trigger();
    EXPECT_EQ(g.State(), before) << "hands, pile, deck and the generator as they were";
    EXPECT_EQ(win_.Hands().Grid(1)->Cols(), before.Players[1].Count());
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    EXPECT_EQ(g.State(), after);
    undo->trigger();
    // The same move again: the computers do the same, drawing the same cards.
    PlayAMove(win_);
    EXPECT_EQ(g.State(), after);
    EXPECT_FALSE(redo->isEnabled());
    // The game so far as a record, the undone line left out: it plays to the table shown.
    std::size_t moves = 0;
    EXPECT_TRUE(RecordReplaysToTheTable(win_, &moves));
    EXPECT_EQ(moves, 4u) << "the human's move and the three replies";
    // A new game forgets the moves of the last one.
    win_.MenuEntry("MM_NEW_GAME")->trigger();
    ASSERT_TRUE(WaitForHuman(win_));
    EXPECT_FALSE(undo->isEnabled());

    // Menu commands during a computer turn keep the game whole.
    FlightWatcher watcher(win_);
    bool move_running = false, table_kept = false;
    // The menu is used as the second card flight starts, inside the move.
    watcher.on_flight = [&] {
        if (watcher.flights != 2) return;
        move_running = win_.MoveRunning();
        const CardStack left_hand = g.Players[2], pile = g.DiscardPile;
        win_.MenuEntry("MM_NEW_GAME")->trigger();
        win_.MenuEntry("MM_SORT_CARDS")->trigger();
        const auto kept = [](const CardStack& a, const CardStack& b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end(), Same);
        };
        table_kept = kept(g.Players[2], left_hand) && kept(g.DiscardPile, pile);
    };
    g.Scores[2] = 40;
    PlayAMove(win_);
    EXPECT_TRUE(move_running) << watcher.flights << " flights";  // false too when no second flight came
    EXPECT_TRUE(table_kept) << "the new game waits for the move to end";
    EXPECT_FALSE(g.SortCards || win_.MenuEntry("MM_SORT_CARDS")->isChecked()) << "a toggle applies at once";
    // The new game followed the move (its deal: Dealing.NewGameDealsAfresh..., every card kept: the soak).
    EXPECT_EQ(std::tuple(g.Scores[2], g.RoundNum), std::tuple(0, 0));
    ExpectIdleTable(win_);
}

QString AccessibleName(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(QAccessible::Name) : QString();
}

// The move log, shown from the start, never holds the keyboard.
TEST(Keyboard, TheMarkMovesThroughTheHandKeysMakeTheClicksAndEveryPartHasAnAccessibleName) {
    TableSetup setup;
    setup.WriteSetting("MoveLog", "-1");
    PlayWin& win = setup.Open();
    ASSERT_TRUE(win.Log()->isVisible());
    QApplication::setActiveWindow(&win);
    QApplication::processEvents();
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
    // The mark says which card it is (where it sits: ScaledTable).
    Card marked = game.Players[1][win.Hands().HumanSlot(0)];
    const bool playable = game.CheckPlayable(marked) == 1;
    EXPECT_EQ(AccessibleName(keys.Mark()), SpokenCard(marked, playable));
    EXPECT_EQ(AccessibleName(win.Hands().Grid(1)), "Your hand, 7 cards");
    // The other hands by their owner and size, the deck by its size, the pile by its top card.
    HandView& hands = win.Hands();
    const auto cards = [](int n) { return n == 1 ? QStringLiteral("1 card") : QStringLiteral("%1 cards").arg(n); };
    for (int p = 2; p <= 4; ++p) {
        const QString name = QStringLiteral("Player %1").arg(p);  // no opponents chosen
        EXPECT_EQ(AccessibleName(hands.Grid(p)), name + "'s hand, " + cards(game.Players[p].Count()));
        EXPECT_EQ(AccessibleName(win.NameLabel(p)), name);
    }
    EXPECT_EQ(AccessibleName(hands.DrawDeck()), "Draw deck, " + cards(game.DrawDeck.Count()));
    EXPECT_EQ(AccessibleName(hands.DiscardPile()), "Discard pile, " + SpokenCard(game.DiscardPile.Top(), false));
    EXPECT_TRUE(AccessibleName(hands.Grid(0)).startsWith("Cards chosen, "));
    EXPECT_FALSE(AccessibleName(hands.AcceptDiscardBut()).isEmpty());
    // Enter picks the marked card, Escape puts it back, D draws.
    QTest::keyClick(&win, Qt::Key_Return);
    ASSERT_TRUE(win.Building().Picking());
    const Card picked = win.Building().PickedCard();
    EXPECT_EQ(std::pair(picked.Group, picked.Value), std::pair(marked.Group, marked.Value));
    QTest::keyClick(&win, Qt::Key_Escape);
    EXPECT_EQ(std::tuple(win.Building().Picking(), win.Building().ShownHand().Count()), std::tuple(false, 7));
    const int deck = game.DrawDeck.Count();
    QWidget* keyboard = QApplication::focusWidget();
    QTest::keyClick(keyboard ? keyboard : &win, Qt::Key_D);
    // The drawn card waits in the picked-card box.
    EXPECT_EQ(std::tuple(game.DrawDeck.Count(), win.Building().Picking(), win.Building().PickedCard()),
              std::tuple(deck - 1, true, game.Players[1].Top()))
        << (keyboard ? keyboard->objectName().toStdString() : "");
}

}  // namespace
}  // namespace kvt
