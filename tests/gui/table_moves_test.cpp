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
}
void ClickCard(PlayWin& win, const Card& card) { ClickHand(win, 1, ColumnOf(win.GameState().Players[1], card)); }
void ClickDiscard(PlayWin& win) { QTest::mouseClick(win.Hands().AcceptDiscardBut(), Qt::LeftButton); }
void ClickDeck(PlayWin& win) { QTest::mouseClick(win.Hands().DrawDeck(), Qt::LeftButton, {}, QPoint(30, 30)); }

// Back at the human's turn with nothing picked and nothing offered.
void ExpectIdleTable(PlayWin& win) {
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

TEST_F(TableMoves, WithNothingToDrawOrPlayEveryonePassesAndTheRoundEnds) {
    PlayWin& win = *win_;
    // As with a deck of 29 cards: everything dealt but the pile's one card.
    const Cards ones{Plain(game(), 1, 3), Plain(game(), 1, 4)};
    Arrange(win, {Filler(game(), 3, 3), ones, ones, ones}, {Plain(game(), 1, 2)}, {});
    EXPECT_FALSE(win.Hands().DrawDeck()->HasPicture()) << "an empty deck shows no card";
    ClickDeck(win);
    EXPECT_EQ(game().Players[1].Count(), 3) << "the human passed";
    EXPECT_EQ(game().Players[2].Count(), 1) << "the computers played on";
    EXPECT_EQ(win.statusBar()->currentMessage(), "Nothing to draw and nothing to play: you pass.");

    Arrange(win, {Filler(game(), 3, 3), Filler(game(), 2, 3), Filler(game(), 2, 3), Filler(game(), 4, 3)},
            {Plain(game(), 1, 2)}, {});
    const int rounds = game().RoundNum;
    ClickDeck(win);
    EXPECT_EQ(game().RoundNum, rounds + 1) << "four passes ended the round";
    EXPECT_TRUE(win.Hands().DrawDeck()->HasPicture()) << "the next deal's deck";
}

TEST_F(TableMoves, ADiscardTwoLaysTheTwoChosenCardsUnderIt) {
    PlayWin& win = *win_;
    const Card discard2 = Def(game(), 1, 25);
    ASSERT_EQ(discard2.ActionCount, 2);
    const Card first = Plain(game(), 3, 8);
    const Card second = Plain(game(), 4, 9);
    Arrange(win, {Cards{discard2, first, second, Plain(game(), 2, 1), Plain(game(), 2, 2)},
                  Cards{Plain(game(), 1, 3), Plain(game(), 1, 4), Plain(game(), 2, 3)},
                  Cards{Plain(game(), 1, 5), Plain(game(), 1, 6), Plain(game(), 2, 4)},
                  Cards{Plain(game(), 1, 1), Plain(game(), 1, 2), Plain(game(), 2, 5)}},
            {Plain(game(), 1, 9)}, Deck(game()));
    const int total = CardsOnTable(game());
    const int pile = game().DiscardPile.Count();

    ClickCard(win, discard2);
    EXPECT_TRUE(win.Hands().Grid(0)->isVisible()) << "the hold grid opens for two cards";
    EXPECT_EQ(win.Hands().Grid(0)->Cols(), 2);
    EXPECT_FALSE(win.Hands().AcceptDiscardBut()->isVisible());
    EXPECT_EQ(win.Hands().ShowCardPlay()->Picture().toImage(), win.Hands().Face(discard2).toImage());
    ClickCard(win, first);
    EXPECT_FALSE(win.Hands().AcceptDiscardBut()->isVisible());
    ClickCard(win, second);
    EXPECT_TRUE(win.Hands().AcceptDiscardBut()->isVisible());
    EXPECT_EQ(win.Hands().Grid(0)->Picture(0, 1).toImage(), win.Hands().Face(second).toImage());
    ClickHand(win, 1, 0);
    EXPECT_EQ(game().Players[1].Count(), 2) << "a full hold grid takes no more";

    ClickDiscard(win);
    ASSERT_GE(game().DiscardPile.Count(), pile + 3);
    EXPECT_TRUE(Same(game().DiscardPile[pile], first));
    EXPECT_TRUE(Same(game().DiscardPile[pile + 1], second));
    EXPECT_TRUE(Same(game().DiscardPile[pile + 2], discard2));
    for (const Card& gone : {discard2, first, second}) EXPECT_EQ(CountIn(game().Players[1], gone), 0);
    EXPECT_EQ(game().Players[1].Count(), 2);
    EXPECT_EQ(game().DiscardPile.Count(), pile + 6) << "each computer laid one card";
    EXPECT_EQ(CardsOnTable(game()), total);
    ExpectIdleTable(win);
}

TEST_F(TableMoves, APickedCardGoesBackOnAClickOrADraw) {
    PlayWin& win = *win_;
    const Card picked = Plain(game(), 2, 1);
    const Card unplayable = Plain(game(), 3, 2);
    const Card playable = Plain(game(), 1, 4);
    Arrange(win, {Cards{picked, Plain(game(), 2, 2)}, Filler(game(), 2, 3), Filler(game(), 3, 3), Filler(game(), 4, 3)},
            {Plain(game(), 1, 9)}, Cards{unplayable, playable, Plain(game(), 4, 1), Plain(game(), 4, 2)});
    const int total = CardsOnTable(game());

    // Clicks that fit no move change nothing: the left hand while nobody must
    // take, the picked-card box while it is empty.
    QTest::mouseClick(win.Hands().Grid(2), Qt::LeftButton, {}, QPoint(20, 40));
    QTest::mouseClick(win.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(game().Players[2].Count(), 3);
    EXPECT_EQ(game().CardPicked, 0);
    EXPECT_EQ(game().Players[1].Count(), 2);

    // A click on the picked card puts it back; then it is picked again.
    ClickCard(win, picked);
    ASSERT_EQ(game().CardPicked, 1);
    EXPECT_TRUE(Same(game().PickStack[0], picked));
    QTest::mouseClick(win.Hands().ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(game().CardPicked, 0);
    EXPECT_TRUE(game().PickStack.Empty());
    EXPECT_EQ(CountIn(game().Players[1], picked), 1);
    ClickCard(win, picked);
    ASSERT_EQ(game().CardPicked, 1);
    ClickDeck(win);
    EXPECT_EQ(CountIn(game().Players[1], picked), 1) << "the picked card went back to the hand";
    ASSERT_EQ(game().PickStack.Count(), 1);
    EXPECT_TRUE(Same(game().PickStack[0], unplayable));
    EXPECT_EQ(win.Hands().ShowCardPlay()->Picture().toImage(), win.Hands().Face(unplayable).toImage());
    EXPECT_FALSE(win.Hands().AcceptDiscardBut()->isVisible()) << "an unplayable draw cannot be laid";

    // Drawing again takes the waiting card into the hand as well.
    ClickDeck(win);
    EXPECT_EQ(CountIn(game().Players[1], unplayable), 1);
    EXPECT_TRUE(Same(game().PickStack[0], playable));
    EXPECT_TRUE(win.Hands().AcceptDiscardBut()->isVisible());
    EXPECT_EQ(game().Players[1].Count(), 3);
    EXPECT_EQ(CardsOnTable(game()), total);

    ClickDiscard(win);
    EXPECT_EQ(CountIn(game().DiscardPile, playable), 1);
    EXPECT_EQ(CardsOnTable(game()), total);
    ExpectIdleTable(win);
}

TEST_F(TableMoves, TheHumanTakesTheLeftPlayersFirstCardsByClicking) {
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
    ASSERT_TRUE(game().ChoosingCards) << "the right player's draw-left card makes the human take";
    EXPECT_EQ(game().ChooseFromPlayer, 2);
    EXPECT_TRUE(win.ChooseMsgLbl()->isVisible());
    EXPECT_TRUE(win.ChooseMsgLbl()->text().startsWith("Choose a card from Player - "));
    EXPECT_EQ(game().Players[2].Count(), 4);

    // The wrong grid and the deck take nothing.
    ClickHand(win, 3, 0);
    ClickDeck(win);
    EXPECT_EQ(game().Players[1].Count(), 1);
    EXPECT_EQ(game().Players[3].Count(), 2);

    const Card taken1 = game().Players[2][0];
    ClickHand(win, 2, 0);
    EXPECT_EQ(game().Players[1].Count(), 2);
    EXPECT_EQ(CountIn(game().Players[1], taken1), 1);
    EXPECT_TRUE(game().ChoosingCards);
    const Card taken2 = game().Players[2][0];
    ClickHand(win, 2, 0);

    // The second card ends the taking; the left player plays next, then the others.
    EXPECT_FALSE(game().ChoosingCards);
    EXPECT_EQ(CountIn(game().Players[1], taken1), 1);
    EXPECT_EQ(CountIn(game().Players[1], taken2), 1);
    EXPECT_EQ(game().Players[1].Count(), 3);
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
    const int total = CardsOnTable(game());
    const auto added = game().GroupCardsAdded;
    const int pile = game().DiscardPile.Count();
    // What the table shows when the next player's card starts to fly.
    QImage pile_shown;
    watcher.on_flight = [&] {
        if (answerer.wild_choices == 1 && pile_shown.isNull()) pile_shown = win.Hands().DiscardPile()->Picture().toImage();
    };

    ClickCard(win, wild);
    ClickDiscard(win);

    EXPECT_EQ(answerer.wild_choices, 1);
    const Card group_card = Def(game(), 3, 1);
    ASSERT_GE(game().DiscardPile.Count(), pile + 2);
    EXPECT_TRUE(Same(game().DiscardPile[pile], wild));
    EXPECT_TRUE(Same(game().DiscardPile[pile + 1], group_card));
    EXPECT_TRUE(Same(game().CardSet.CardDefs[static_cast<std::size_t>(game().WildGroup)], group_card));
    EXPECT_EQ(pile_shown, win.Hands().Face(group_card).toImage());
    EXPECT_EQ(game().DiscardPile.Count(), pile + 5) << "each computer followed group 3";
    EXPECT_EQ(game().GroupCardsAdded, added + 1);
    EXPECT_EQ(CardsOnTable(game()), total + 1);
    ExpectIdleTable(win);
}

TEST_F(TableMoves, GoingOutScoresTheRoundAndTheNextStartPlayerBegins) {
    PlayWin& win = *win_;
    const Card last = Plain(game(), 1, 2);
    Arrange(win, {Cards{last}, Cards{Plain(game(), 3, 3), Plain(game(), 2, 7)},
                  Cards{Plain(game(), 3, 4), Plain(game(), 2, 8)}, Cards{Plain(game(), 3, 5), Plain(game(), 2, 9)}},
            {Plain(game(), 1, 9)}, Deck(game()));
    DialogAnswerer& answerer = answerer_;
    FlightWatcher watcher(win);
    const int start_player = game().StartPlayer;
    std::array<int, 5> scores{};
    int first_mover = 0;
    answerer.on_score_sheet = [&] {
        for (int p = 1; p <= 4; ++p) scores[static_cast<std::size_t>(p)] = game().Scores[p];
    };
    watcher.on_flight = [&] {
        if (answerer.score_sheets == 1 && first_mover == 0) first_mover = game().CurPlayer;
    };
    const auto added = game().GroupCardsAdded;

    ClickCard(win, last);
    EXPECT_TRUE(win.Hands().AcceptDiscardBut()->isVisible());
    ClickDiscard(win);

    EXPECT_EQ(answerer.score_sheets, 1);
    EXPECT_EQ(game().RoundNum, 1);
    EXPECT_EQ(scores, (std::array<int, 5>{0, 0, 10, 12, 14})) << "each hand's values are its penalty";
    // No start player yet counts as the human: the left player is next.
    ASSERT_EQ(start_player, 0);
    EXPECT_EQ(game().StartPlayer, 2);
    EXPECT_EQ(first_mover, 2) << "the new round began with the next start player";
    EXPECT_EQ(CardsOnTable(game()), DeckSize(game().CardSet) + (game().GroupCardsAdded - added));
    EXPECT_GE(game().Players[1].Count(), 7) << "a fresh hand";
    ExpectIdleTable(win);
}

TEST_F(TableMoves, MenuCommandsDuringAComputerTurnKeepTheGameWhole) {
    PlayWin& win = *win_;
    FlightWatcher watcher(win);
    Game& g = game();
    bool move_running = false;
    bool table_kept = false;
    // The menu is used while the second card flight (a computer's) pauses.
    watcher.on_flight = [&] {
        if (watcher.flights == 2) {
            QTimer::singleShot(0, &win, [&] {
                move_running = win.MoveRunning();
                const CardStack left_hand = g.Players[2];
                const CardStack pile = g.DiscardPile;
                win.MenuEntry("MM_NEW_GAME")->trigger();
                win.MenuEntry("MM_SORT_CARDS")->trigger();
                table_kept = SameCards(g.Players[2], left_hand) && SameCards(g.DiscardPile, pile);
            });
        }
    };
    int column = -1;
    for (int c = 0; c < g.Players[1].Count() && column < 0; ++c)
        if (g.CheckPlayable(g.Players[1][c]) == 1 && Game::NeedsNoChoice(g.Players[1][c]) == 1) column = c;
    ASSERT_GE(column, 0) << "the fixed seed deals a card that needs no choice";
    g.Scores[2] = 40;

    ClickHand(win, 1, column);
    ClickDiscard(win);

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

}  // namespace
}  // namespace kvt
