// A long game on the offscreen table: a scripted human plays by mouse and by the keys alone while menu
// commands arrive at random moments, computer turns included, and the window is finally closed in the
// middle of a card flight. After every step each card of the deal must still be on the table.
// KVT_SOAK_ROUNDS and KVT_SOAK_SEED change the soak for a longer or another run.

#include <array>
#include <random>

#include "engine/working_files.h"
#include "gui_support.h"

namespace kvt {
namespace {

using namespace gui_test;

int SoakSetting(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// Notes the wild-card group cards already laid whenever the hands are
// dealt, so that the cards on the table can be counted against the deal.
class SoakWin : public PlayWin {
public:
    using PlayWin::PlayWin;
    std::int64_t group_cards_at_deal = 0;

    void ShowEvent(const Event& event) override {
        PlayWin::ShowEvent(event);
        if (event.kind == EventKind::Dealt) group_cards_at_deal = GameState().GroupCardsAdded;
    }
};

// Every card of the table, a computer's held discard included.
int CardsOnTable(const Game& game) {
    int total = game.DrawDeck.Count() + game.DiscardPile.Count() + game.CompHeld.Count() + game.CardsBeingLaid();
    for (int p = 1; p <= 4; ++p) total += game.Players[p].Count();
    return total;
}

::testing::AssertionResult EveryCardKept(SoakWin& win) {
    Game& game = win.GameState();
    const auto expected = DeckSize(game.CardSet) + (game.GroupCardsAdded - win.group_cards_at_deal);
    if (CardsOnTable(game) != expected)
        return ::testing::AssertionFailure() << CardsOnTable(game) << " cards on the table, " << expected << " dealt";
    return ::testing::AssertionSuccess();
}

enum Kind { kTake, kChoose, kDiscard, kPutBack, kPlay, kDraw, kKinds };

// One action of the human, by mouse or by the keys alone: take a card when taking, finish a pick, play a
// playable card, or draw. The keys mark a card (Home, Right) and press it (Space to take, Enter), draw (D),
// put a drawn card back (Escape) and discard (Alt+D).
Kind HumanStep(PlayWin& win, std::mt19937& dice, bool by_keys) {
    Game& game = win.GameState();
    HandView& hands = win.Hands();
    const auto any = [&dice](int n) { return static_cast<int>(dice() % static_cast<unsigned>(n)); };
    CardStack& hand = game.Players[1];
    const auto key = [&win](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        // The keys go to the table once a dialog has closed, as the desktop gives it back.
        QApplication::setActiveWindow(&win);
        QTest::keyClick(&win, k, mods);
        Settle(win);
    };
    const auto choose = [&](int player, int column, Qt::Key press) {
        if (!by_keys) return ClickHand(win, player, column);
        key(Qt::Key_Home);
        for (int i = 0; i < column; ++i) key(Qt::Key_Right);
        // A hidden card is known by its place only.
        const QString spoken = win.Keys()->Mark()->accessibleName();
        if (player != 1) {
            EXPECT_TRUE(spoken.startsWith(QStringLiteral("Card %1 of ").arg(column + 1))) << qPrintable(spoken);
        }
        key(press);
    };

    if (game.ChoosingCards) {
        const int from = game.ChooseFromPlayer;
        choose(from, from == 3 ? any(game.Players[from].Count()) : 0, Qt::Key_Space);
        return kTake;
    }
    const MoveBeingBuilt& move = win.Building();
    if (move.Picking()) {
        const int left = move.ShownHand().Count();
        if (move.HoldGridOpen() && move.Held().Count() < move.HoldNeeded() && left > 0) {
            choose(1, any(left), Qt::Key_Return);
            return kChoose;
        }
        if (!hands.AcceptDiscardBut()->isVisible()) {
            by_keys ? key(Qt::Key_Escape) : QTest::mouseClick(hands.ShowCardPlay(), Qt::LeftButton, {}, QPoint(30, 30));
            return kPutBack;
        }
        if (!by_keys) {
            QTest::mouseClick(hands.AcceptDiscardBut(), Qt::LeftButton);
            return kDiscard;
        }
        // An access key presses its button as a click would, a moment later.
        key(Qt::Key_D, Qt::AltModifier);
        EXPECT_TRUE(RunUntil([&] { return !move.Picking() || win.IsClosing(); }));
        return kDiscard;
    }
    std::vector<int> playable;
    for (int c = 0; c < hand.Count(); ++c)
        if (Card probe = hand[c]; game.CheckPlayable(probe) == 1) playable.push_back(c);
    if (!playable.empty()) {
        choose(1, ShownColumn(win, playable[static_cast<std::size_t>(any(static_cast<int>(playable.size())))]), Qt::Key_Return);
        return kPlay;
    }
    by_keys ? key(Qt::Key_D) : QTest::mouseClick(hands.DrawDeck(), Qt::LeftButton, {}, QPoint(30, 30));
    return kDraw;
}

enum Command { kNewGame, kLoadCardSet, kViewScore, kSort, kPlayerSounds, kMusic, kViewer, kCommands };

TEST(GuiSoak, ManyRoundsWithCommandsAtRandomMomentsKeepEveryCard) {
    const int rounds_wanted = SoakSetting("KVT_SOAK_ROUNDS", 200);
    TableSetup setup;
    setup.win = std::make_unique<SoakWin>(setup.Options());
    auto& win = static_cast<SoakWin&>(*setup.win);
    win.SetMessageSink([&setup](const QString& title, const QString& text) { setup.messages.emplace_back(title, text); });
    ASSERT_TRUE(win.Start());
    win.show();
    win.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&win));
    win.SetAnimationInterval(1);
    win.Flights().SetDrawStepPause(0);
    Game& game = win.GameState();
    const std::filesystem::path card_set = setup.folders.SharedData / files::kDefaultCardSet;

    std::mt19937 dice(static_cast<unsigned>(SoakSetting("KVT_SOAK_SEED", 20240611)));
    const auto chance = [&dice](int one_in) { return dice() % static_cast<unsigned>(one_in) == 0; };
    // A new deal (New Game, Load Card Set) one time in ten: most rounds are played out.
    const auto any_command = [&dice] {
        const int roll = static_cast<int>(dice() % 20);
        return roll < 2 ? roll : kViewScore + roll % (kCommands - kViewScore);
    };

    DialogAnswerer answerer;
    int rounds = 0;
    // A sheet asking for its OK ends a round; one from View Score does not.
    answerer.on_score_sheet = [&] {
        if (game.Pending() == Decision::AcknowledgeScore) ++rounds;
    };

    // How often each command was given, and how many of them during a move.
    std::array<int, kCommands> given{};
    int given_in_moves = 0;
    // A menu command as the player could give it: never while a modal window is up.
    const auto give = [&](int command) {
        static const char* const kEntries[kCommands] = {"MM_NEW_GAME", "", "MM_VIEW_SCORE", "MM_SORT_CARDS",
                                                        "MM_PLAYER_SOUNDS", "MM_MUSIC", "MM_VIEWER"};
        if (QApplication::activeModalWidget() || win.IsClosing()) return;
        given_in_moves += win.MoveRunning();
        if (command == kLoadCardSet)
            win.LoadCardSetCommand(card_set);  // the menu entry would ask for the file
        else
            win.MenuEntry(kEntries[command])->trigger();
        ++given[command];
    };

    FlightWatcher watcher(win);
    int close_at_flight = -1;
    bool closed_in_move = false;
    bool kept_in_flight = true;
    watcher.on_flight = [&] {
        kept_in_flight = kept_in_flight && EveryCardKept(win);
        // Given during the flight's pause, as a menu click would be.
        if (watcher.flights == close_at_flight) {
            QTimer::singleShot(0, &win, [&] {
                // A flight that ended before this turn of the event loop: the next one.
                if (!win.MoveRunning()) {
                    close_at_flight = watcher.flights + 1;
                    return;
                }
                closed_in_move = true;
                win.close();
            });
        } else if (close_at_flight < 0 && chance(150)) {
            QTimer::singleShot(0, &win, [&give, command = any_command()] { give(command); });
        }
    };

    // Every other action is made by the keys alone, the windows it opens answered by keys too,
    // until each kind of action, a wild card's group and a score sheet have come up so.
    std::array<int, kKinds> by_keys{};
    const auto keys_done = [&] {
        return answerer.wild_choices_by_keys > 0 && answerer.score_sheets_by_keys > 0 &&
               std::all_of(by_keys.begin(), by_keys.end(), [](int n) { return n > 0; });
    };
    const int step_limit = rounds_wanted * 400;
    int records_replayed = 0;
    int steps = 0;
    while (!win.IsClosing() && steps < step_limit) {
        // The first rounds are painted; then the table stops painting, which
        // would make the soak five times slower.
        if (steps == 200) win.setUpdatesEnabled(false);
        if (rounds >= rounds_wanted && close_at_flight < 0)
            close_at_flight = watcher.flights + 1 + static_cast<int>(dice() % 25);
        if (close_at_flight < 0 && chance(60)) {
            give(any_command());
            // The human acts once the window the command opened (View Score's sheet) is answered.
            ASSERT_TRUE(RunUntil([&] { return !QApplication::activeModalWidget() || win.IsClosing(); }));
        }
        answerer.by_keys = steps % 2 == 1 && !keys_done();
        const Kind kind = HumanStep(win, dice, answerer.by_keys);
        if (answerer.by_keys) ++by_keys[kind];
        ASSERT_TRUE(WaitForHuman(win)) << "step " << steps;
        ++steps;
        ASSERT_FALSE(game.MoveInProgress()) << "step " << steps;
        ASSERT_TRUE(EveryCardKept(win)) << "step " << steps << ", round " << rounds;
        ASSERT_TRUE(kept_in_flight) << "during a flight before step " << steps;
        if (win.IsClosing()) break;
        ASSERT_EQ(game.CurPlayer, 1) << "the human's turn again after step " << steps;
        // Now and then the game so far, as a record, plays to the table shown.
        if (steps % 127 == 0 && !win.Building().Picking()) {
            ASSERT_TRUE(RecordReplaysToTheTable(win)) << "step " << steps;
            ++records_replayed;
        }
        // What is shown follows the game.
        ASSERT_EQ(std::tuple(win.Hands().AcceptDiscardBut()->isVisible(), win.Hands().Grid(0)->isVisible(),
                             win.Hands().ShowCardPlay()->HasPicture(), win.Hands().Grid(1)->Cols()),
                  std::tuple(win.Building().DiscardShown(), win.Building().HoldGridOpen(), win.Building().Picking(),
                             win.Building().ShownHand().Empty() ? win.Hands().Grid(1)->Cols()
                                                                : win.Building().ShownHand().Count()))
            << "step " << steps;
    }

    EXPECT_TRUE(win.IsClosing() && closed_in_move) << "the close came during a flight";
    EXPECT_GE(rounds, rounds_wanted);
    EXPECT_TRUE(EveryCardKept(win)) << "after the close";
    EXPECT_GT(answerer.wild_choices, 0);
    EXPECT_TRUE(keys_done()) << "every kind of action by keys: " << testing::PrintToString(by_keys);
    for (int command = 0; command < kCommands; ++command)
        EXPECT_GT(given[command], 0) << "command " << command << " was never given";
    EXPECT_GT(given_in_moves, 0);
    EXPECT_GT(records_replayed, 5);
    for (const auto& [title, text] : setup.messages) ADD_FAILURE() << title.toStdString() << ": " << text.toStdString();
    std::printf("[ soak     ] %d rounds, %d steps, %d flights, %d commands in moves, %d game overs\n", rounds, steps,
                watcher.flights, given_in_moves, answerer.game_overs);
}

}  // namespace
}  // namespace kvt
