// The dialogs the table opens: the wild card's group, the score sheet, game over, the game's information,
// help, game speed, loading a card set, the card viewer and the choice of players.

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolButton>
#include <fstream>

#include "dialogs/card_action_text.h"
#include "dialogs/card_view_frm.h"
#include "dialogs/game_info_frm.h"
#include "dialogs/game_over_frm.h"
#include "dialogs/play_spd_frm.h"
#include "dialogs/player_sel_frm.h"
#include "dialogs/score_frm.h"
#include "dialogs/wild_card_frm.h"
#include "engine/player_file.h"
#include "engine/working_files.h"
#include "gui_support.h"
#include "platform/qt_text.h"
#include "shell/help_window.h"

namespace kvt {
namespace {

using namespace gui_test;

using Dialogs = TableTest;

TEST_F(Dialogs, TheWildCardChoiceTakesDigitsViewScoreShowsTheSheetWithoutWaitingAndGameOverClosesOnExit) {
    const std::vector<GroupChoice> choices = win.GameState().WildGroupChoices();
    ASSERT_GE(choices.size(), 2u);
    const GroupChoice second = choices[1];
    // The window opens without waiting and answers once a group is chosen.
    int chosen = -1;
    ASSERT_TRUE(win.AskGroupWithoutWaiting([&chosen](int card_index) { chosen = card_index; }));
    auto* frm = qobject_cast<WildCardFrm*>(QApplication::activeModalWidget());
    ASSERT_NE(frm, nullptr);
    EXPECT_EQ(std::tuple(frm->windowTitle(), frm->GroupButton(second.Group)->text(), frm->GroupButton(0)->isHidden()),
              std::tuple("Choose Card", QStringLiteral("Group  %1").arg(second.Group), true));
    QTest::mouseClick(frm->OkBut(), Qt::LeftButton);
    frm->close();
    EXPECT_TRUE(frm->isVisible() && chosen == -1);
    ASSERT_EQ(setup.messages.size(), 2u);
    for (const auto& message : setup.messages) EXPECT_EQ(message.second, "No Group has been Selected");
    frm->GroupButton(choices[0].Group)->click();
    frm->GroupButton(second.Group)->click();
    QTest::mouseClick(frm->OkBut(), Qt::LeftButton);
    EXPECT_EQ(chosen, second.CardIndex);

    // Group 10 gets a button of its own, and digits choose by keyboard.
    WildCardFrm ten({{1, 0}, {10, 5}}, win.GameState().CardSet, win.CardClip());
    ten.show();
    EXPECT_TRUE(!ten.GroupButton(10)->isHidden() && ten.GroupButton(10)->text() == "Group  10");
    QTest::keyClick(&ten, Qt::Key_3);  // no group 3 on offer: nothing chosen
    EXPECT_FALSE(ten.GroupButton(1)->isChecked() || ten.GroupButton(3)->isChecked() || ten.GroupButton(10)->isChecked());
    QTest::keyClick(&ten, Qt::Key_0);
    EXPECT_TRUE(ten.GroupButton(10)->isChecked());
    QTest::keyClicks(&ten, "10");
    QTest::mouseClick(ten.OkBut(), Qt::LeftButton);
    EXPECT_EQ(ten.WildGroup(), 5);
    ASSERT_TRUE(!ten.isVisible() && !frm->isVisible() && !QApplication::activeModalWidget());

    // Only a sheet waiting in an event loop of its own would meet this before the menu returns.
    bool closed_inside = false;
    QTimer::singleShot(0, [&closed_inside] {
        if (auto* shown = qobject_cast<ScoreFrm*>(QApplication::activeModalWidget())) {
            closed_inside = true;
            shown->accept();
        }
    });
    win.MenuEntry("MM_VIEW_SCORE")->trigger();
    ASSERT_FALSE(closed_inside);
    ScoreFrm* sheet = win.ScoreWindow();
    ASSERT_TRUE(sheet && sheet->isVisible());
    // The table waits for the sheet; Escape ends it as OK does (the starter moving on: Scoring.RoundsOpen...).
    EXPECT_EQ(std::tuple(sheet->PlayerLabel(1)->text(), win.MoveRunning()), std::tuple("Tester", true));
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(Settle(win));
    EXPECT_EQ(std::tuple(sheet->isVisible(), win.MoveRunning(), game.ScoreViewOnly),
              std::tuple(false, false, false));

    win.ShowGameOver(1);
    GameOverFrm* over = win.GameOverWindow();
    ASSERT_NE(over, nullptr);
    win.ShowGameOverPicture(1, setup.folders.SharedData / "player1" / "Player.bmp");
    EXPECT_TRUE(!over->Image1()->pixmap().isNull() && over->Caption()->text().contains("Tester"));
    win.ShowGameOverPicture(4, setup.Root() / "missing.bmp");
    // Nothing waits for the window: Exit closes it when the human is done.
    win.WaitGameOverClosed();
    EXPECT_EQ(std::tuple(over->ShownPlayer(), win.GameOverWindow()), std::tuple(4, over));
    QTest::mouseClick(over->ExitBut(), Qt::LeftButton);
    EXPECT_EQ(win.GameOverWindow(), nullptr);
}

TEST(DialogsScore, TheWinnersColumnBlinks) {
    ScoreSheet sheet;
    for (int p = 1; p <= 3; ++p) sheet.Headings[p] = "P" + std::to_string(p);
    sheet.Headings[4] = " ";
    sheet.SetCell(0, 2, "12");
    sheet.SetCell(1, 2, "30");
    sheet.Strike(0, 2);
    ScoreFrm frm;
    frm.ShowSheet(sheet, 2);
    EXPECT_EQ(std::tuple(frm.PlayerLabel(2)->text(), frm.PlayerLabel(4)->text(), frm.ScoreCell(1, 2)->text()),
              std::tuple("P2", "Player 4", "30")) << "a seat without a name goes by its number";
    EXPECT_TRUE(frm.ScoreCell(0, 2)->font().strikeOut() && !frm.ScoreCell(1, 2)->font().strikeOut() &&
                frm.Timer1()->isActive());
    const auto colours = [&frm] {
        frm.Blink();
        return std::tuple(frm.CellColour(5, 2), frm.CellColour(5, 1));
    };
    EXPECT_EQ(colours(), std::tuple(QColor(192, 0, 0), QColor(Qt::black)));
    EXPECT_EQ(colours(), std::tuple(QColor(Qt::black), QColor(Qt::black)));
    // The timer blinks it: the next tick turns the winner's cells red again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return frm.CellColour(0, 2) == QColor(192, 0, 0); }, 5000));

    // However the sheet is closed: black again, and later ticks change nothing.
    const std::vector<std::pair<const char*, std::function<void(ScoreFrm&)>>> closings{
        {"OK", [](ScoreFrm& f) { QTest::mouseClick(f.OkBut(), Qt::LeftButton); }},
        {"Escape", [](ScoreFrm& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
        {"close box", [](ScoreFrm& f) { f.close(); }}};
    for (const auto& [how, close] : closings) {
        ScoreFrm closed;
        closed.ShowSheet(sheet, 2);
        closed.Blink();
        ASSERT_EQ(closed.CellColour(0, 2), QColor(192, 0, 0)) << how;
        close(closed);
        EXPECT_EQ(std::tuple(closed.isVisible(), closed.CellColour(0, 2)), std::tuple(false, QColor(Qt::black))) << how;
        closed.Blink();
        EXPECT_EQ(closed.CellColour(0, 2), QColor(Qt::black)) << how;
    }
}

TEST(DialogsGameInfo, TheTitleIsKeptAtThirtyCharacters) {
    CardSetDef set;
    set.AuthorName = "Ann";
    EXPECT_EQ(GameInFo(set, true).GameTitle()->text().size(), 30);
    for (const auto& [typed, kept] : {std::pair{QString(40, QLatin1Char('x')), std::string(30, 'x')},
                                      {QString("Short"), "Short" + std::string(25, ' ')}}) {
        GameInFo frm(set, true);
        frm.GameTitle()->setText(typed);
        frm.AuthorName()->setText("Bo");
        QTest::mouseClick(frm.OkBut(), Qt::LeftButton);
        EXPECT_EQ(std::tuple(set.GameTitle, set.AuthorName), std::tuple(kept, "Bo"));
    }
    GameInFo shown(set, false);
    EXPECT_FALSE(shown.GameTitle()->isEnabled() || shown.AuthorName()->isEnabled());
}

TEST_F(Dialogs, HelpOpensTheFirstPageTheActionsPageUsesTheViewersWordingAndPlaySpeedIsClamped) {
    win.MenuEntry("MM_CONTENTS")->trigger();
    HelpWindow* help = HelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    // The contents page is not named twice.
    EXPECT_EQ(std::tuple(help->Browser()->toPlainText().contains("not found"), help->CurrentTopic(), help->windowTitle()),
              std::tuple(false, "playing_corvane_gaming_system.htm", "KVT Help"));
    win.OpenHelp("card_actions.htm");
    EXPECT_EQ(std::tuple(help->CurrentTopic(), help->windowTitle()), std::tuple("card_actions.htm", "KVT Help - The card actions"));
    // The table of actions, made from the card viewer's own wording with N for the count, is put in the
    // page from its first row to its last.
    const QString page = help->Browser()->toPlainText().simplified();
    EXPECT_TRUE(page.contains("Pass N Cards Left " + ActionEffect(kActionPassLeft))) << page.toStdString();
    EXPECT_TRUE(page.contains("Reverse Direction of Play " + ActionEffect(kActionReverse))) << page.toStdString();
    help->close();
    // The viewer's own wording of an action, its count hidden when told.
    Card card;
    const std::tuple<int, int, bool, const char*> cases[] = {
        {1, 2, false, "Pass 2 Cards Left"}, {2, 2, false, "Pass 2  Cards Right"},
        {6, 3, false, "Draw 3  Cards From LEFT"}, {8, 1, false, "Discard 1 Cards"}, {8, 1, true, "Discard Cards"},
        {10, 1, false, "Reverse Direction of Play"}};
    for (const auto& [action, count, hide_count, text] : cases) {
        std::tie(card.Action, card.ActionCount) = std::tuple<std::int16_t, std::int16_t>(action, count);
        EXPECT_EQ(CardViewFrm::Description(card, hide_count), text);
    }

    // The bar opens at the stored speed as far as it goes (unset: its middle); OK stores the bar's speed;
    // closing without OK keeps what was there; a stored speed beyond the bar reaches the timer only as far
    // as the bar goes, and an unset one leaves the timer alone.
    using Frm = PlaySpdFrm;
    const struct { int stored, opened, bar; bool ok; int speed, interval; } speeds[] = {
        {99999, Frm::kSlowest, 40, true, 40, 40}, {40, 40, 900, false, 40, 40},
        {60000, Frm::kSlowest, -1, false, 60000, Frm::kSlowest}, {3, Frm::kFastest, -1, false, 3, Frm::kFastest},
        {0, Frm::kUnset, -1, false, 0, Frm::kFastest}};
    for (const auto& c : speeds) {
        game.GameSpeed = c.stored;
        WhenModal<PlaySpdFrm>([c](PlaySpdFrm& frm) {
            EXPECT_EQ(frm.HScroll1()->value(), c.opened) << c.stored;
            if (c.bar >= 0) frm.HScroll1()->setValue(c.bar);
            c.ok ? QTest::mouseClick(frm.OkBut(), Qt::LeftButton) : frm.reject();
        });
        win.MenuEntry("MM_GAME_SPEED")->trigger();
        EXPECT_EQ(std::tuple(game.GameSpeed, win.AnimationInterval(), setup.RawSetting("PlaySpeed")),
                  std::tuple(c.speed, c.interval, " 40")) << c.stored;
    }
}

TEST(DialogsMenu, LoadCardSetStartsInTheFolderOfTheSetInForceAndDefineCardsReportsAMissingDesigner) {
    TableSetup setup;
    PlayWin::Options options = setup.Options();
    options.designer = setup.Root() / "no-such-designer";
    PlayWin& win = setup.Open(options, false);
    const QString current = QDir::currentPath();
    const auto dialog_folder = [&win] {
        QString folder;
        WhenModal<QFileDialog>([&folder](QFileDialog& dialog) {
            folder = QFileInfo(dialog.directory().absolutePath()).canonicalFilePath();
            dialog.reject();
        });
        win.MenuEntry("MM_LOAD_CARD")->trigger();
        return folder;
    };
    const auto canonical = [](const fs::path& f) { return QFileInfo(PathText(f)).canonicalFilePath(); };
    // The set in force comes from the working folder: the shipped sets are shown.
    EXPECT_EQ(dialog_folder(), canonical(setup.folders.SharedData));

    // The choice of opponents leaves the current folder alone.
    win.ChoosePlayersCommand();
    win.PlayerSelWindow()->UseSampleOpponents();
    ASSERT_TRUE(win.PlayerSelWindow()->Ok());
    EXPECT_EQ(QDir::currentPath(), current);

    const fs::path own = setup.Root() / "sets";
    fs::create_directories(own);
    fs::copy_file(setup.folders.SharedData / files::kDefaultCardSet, own / "mine.cds");
    win.LoadCardSetCommand(own / "mine.cds");
    ASSERT_TRUE(setup.messages.empty());
    EXPECT_EQ(dialog_folder(), canonical(own));

    win.MenuEntry("MM_DEFINE_CARDS")->trigger();
    EXPECT_EQ(setup.messages, (std::vector<std::pair<QString, QString>>{
                                  {"Game Designer", "Error Launching Corvane Game Designer\nPlease ensure the designer is installed."}}));
}

TEST_F(Dialogs, TheCardViewerFollowsTheOptionAndTheMinimisedTable) {
    win.MenuEntry("MM_VIEWER")->trigger();
    ASSERT_TRUE(win.CardViewer() && win.CardViewer()->isVisible());
    CardViewFrm& viewer = *win.CardViewer();
    // Before any card and off the hand: a neutral text, at the window's full size.
    QApplication::processEvents();
    const QSize size = viewer.size();
    for (const int grid : {1, -1}) {
        emit win.PointerMoved(grid, 10 * 15, 10 * 15);
        QApplication::processEvents();
        EXPECT_EQ(std::tuple(viewer.Label4()->isHidden(), viewer.Hint()->isVisible(), viewer.size()),
                  std::tuple(grid < 0, grid < 0, size)) << grid;
    }
    // Minimising the table hides the viewer; restoring shows it while the option is on. Its
    // close box unchecks the entry and keeps the option; the entry then turns it off.
    // Minimised, the table is not redrawn either.
    CardGrid& hand = *win.Hands().Grid(1);
    const auto minimise_and_restore = [this, &hand] {
        win.showMinimized();
        QApplication::processEvents();
        EXPECT_FALSE(win.CardViewer()->isVisible());
        const int cols = hand.Cols();
        win.GameState().Players[1] = HandFromSet(win.GameState(), cols == 3 ? 4 : 3);
        win.ShowHand(win.GameState().Players[1], 1);
        EXPECT_EQ(hand.Cols(), cols);
        win.showNormal();
        QApplication::processEvents();
        return win.CardViewer()->isVisible();
    };
    EXPECT_TRUE(minimise_and_restore());
    win.CardViewer()->close();
    EXPECT_TRUE(!win.MenuEntry("MM_VIEWER")->isChecked() && win.GameState().CardViewer);
    win.MenuEntry("MM_VIEWER")->trigger();
    EXPECT_FALSE(win.GameState().CardViewer || minimise_and_restore());
}

TEST_F(Dialogs, EachEmptySeatHasItsMessageOkUnpacksTheSeatsABadFileLeavesItsSeatAndAMoveKeepsTheOld) {
    std::vector<fs::path> samples;
    for (const auto& entry : fs::directory_iterator(setup.folders.SharedData / "players"))
        if (entry.path().extension() == ".dpf") samples.push_back(entry.path());
    std::sort(samples.begin(), samples.end());
    ASSERT_GE(samples.size(), 4u);
    win.ChoosePlayersCommand();
    QApplication::processEvents();
    ASSERT_NE(win.PlayerSelWindow(), nullptr);
    PlayerSel& sel = *win.PlayerSelWindow();

    for (int seat = 2; seat <= 4; ++seat) {
        EXPECT_FALSE(sel.Ok());
        ASSERT_FALSE(setup.messages.empty());
        EXPECT_EQ(setup.messages.back().second, QString("Player %1 has not been chosen .").arg(seat));
        if (seat == 4) break;
        ASSERT_TRUE(sel.PreviewFile(PathText(samples[seat - 2])));
        sel.DropOnSeat(seat);
    }
    // The close box asks the same.
    setup.messages.clear();
    sel.close();
    EXPECT_TRUE(sel.isVisible() && setup.messages.size() == 1 && setup.messages[0].second == "Player 4 has not been chosen .");
    QTest::mouseClick(sel.HelpBut(), Qt::LeftButton);
    ASSERT_NE(HelpWindow::Instance(), nullptr);
    EXPECT_EQ(HelpWindow::Instance()->CurrentTopic(), "choosing_players.htm");
    HelpWindow::Instance()->close();

    sel.UseSampleOpponents();
    for (int p = 2; p <= 4; ++p) EXPECT_TRUE(sel.Seat(p)->HasPicture()) << p;
    game.Players[1].Clear();
    ASSERT_TRUE(sel.Ok() && !sel.isVisible());
    QApplication::processEvents();
    // Each seat unpacked (what is written: ExtractPlayer.*) and named; OK deals afresh.
    for (int p = 2; p <= 4; ++p)
        EXPECT_EQ(std::tuple(game.PlayerInfo[p].Name.empty(), game.PlayerFile[p], win.NameLabel(p)->text()),
                  std::tuple(false, samples[p - 2].string(), QString::fromStdString(game.PlayerInfo[p].Name))) << p;
    EXPECT_EQ(game.Players[1].Count(), 7);

    // A bad player file leaves its seat as it was (the opponent kept: ExtractPlayer.ARefusedFileKeeps...).
    const std::string file3 = game.PlayerFile[3];
    // Not a player file at all: the preview refuses it.
    const fs::path junk = setup.Root() / "junk.dpf";
    std::ofstream(junk) << "not a player";
    const std::size_t said = setup.messages.size();
    EXPECT_TRUE(!sel.PreviewFile(PathText(junk)) && setup.messages.size() > said);

    // A file spoilt between the preview and OK: unpacking refuses it.
    const fs::path spoilt = setup.Root() / "spoilt.dpf";
    fs::copy_file(samples[3], spoilt);
    ASSERT_TRUE(sel.PreviewFile(PathText(spoilt)));
    sel.DropOnSeat(3);
    fs::resize_file(spoilt, 40);
    EXPECT_TRUE(!sel.Ok() && setup.messages.back().second.contains("Cannot load the player file"))
        << setup.messages.back().second.toStdString();
    EXPECT_EQ(std::tuple(game.PlayerFile[3], sel.Seat(3)->Current().File.toStdString(), setup.RawSetting("Player3"),
                         sel.Seat(3)->HasPicture()),
              std::tuple(file3, file3, file3, true));

    const PlayerRec before = game.PlayerInfo[2];
    ASSERT_TRUE(sel.PreviewFile(PathText(samples[3])));
    sel.DropOnSeat(2);
    // The move that is running when OK is pressed plays on with the old opponent.
    bool old_opponent_in_move = false;
    win.SetClickHandler([&](PlayWin&, const TableClick&) {
        EXPECT_TRUE(sel.Ok() && !sel.isVisible());
        old_opponent_in_move = game.PlayerInfo[2] == before && game.PlayerFile[2] != samples[3].string();
    });
    win.HandleClick({TableClick::Place::kDrawDeck, 0, 0, 0});
    EXPECT_TRUE(old_opponent_in_move);
    EXPECT_NE(game.PlayerInfo[2].Name, before.Name);
    EXPECT_EQ(std::tuple(game.PlayerFile[2], game.Players[1].Count()), std::tuple(samples[3].string(), 7));
}

// A first run asks for the opponents before dealing. OK, New Game or Load Card Set (with the choice open or
// cancelled) deals a table that plays; chosen by OK, the next start brings them back without asking.
TEST(DialogsPlayerSelFirstRun, OkNewGameOrLoadCardSetBeforeAChoiceDealsATableThatPlays) {
    enum Command { kOk, kNewGame, kLoadCardSet };
    for (const auto& [command, cancelled] : {std::pair{kOk, false}, {kNewGame, false}, {kNewGame, true},
                                             {kLoadCardSet, false}, {kLoadCardSet, true}}) {
        SCOPED_TRACE(testing::Message() << "command " << command << (cancelled ? ", choice cancelled" : ""));
        TableSetup setup;
        PlayWin::Options options = setup.Options();
        options.choose_players = true;
        PlayWin* win = &setup.Open(options, false);
        QApplication::processEvents();
        EXPECT_EQ(std::tuple(win->AwaitingPlayers(), win->GameState().Players[1].Count()), std::tuple(true, 0));
        ASSERT_TRUE(win->PlayerSelWindow() && win->PlayerSelWindow()->isVisible());
        if (cancelled) QTest::mouseClick(win->PlayerSelWindow()->CancelBut(), Qt::LeftButton);
        if (command == kOk) {
            win->PlayerSelWindow()->UseSampleOpponents();
            ASSERT_TRUE(win->PlayerSelWindow()->Ok());
            QApplication::processEvents();
        }
        if (command == kNewGame) win->MenuEntry("MM_NEW_GAME")->trigger();
        if (command == kLoadCardSet) win->LoadCardSetCommand(setup.folders.SharedData / files::kDefaultCardSet);
        EXPECT_EQ(std::tuple(win->AwaitingPlayers(), win->GameState().Players[1].Count()), std::tuple(false, 7));
        if (command == kOk) {
            setup.Close();
            win = &setup.Open(options, false);
            QApplication::processEvents();
            EXPECT_TRUE(!win->AwaitingPlayers() && win->PlayerSelWindow() == nullptr &&
                        !win->GameState().PlayerInfo[2].Name.empty() && win->GameState().Players[1].Count() == 7);
        }
        int clicks = 0;
        QObject::connect(win, &PlayWin::TableClicked, [&clicks] { ++clicks; });
        win->SetClickHandler(nullptr);
        win->HandleClick({TableClick::Place::kDrawDeck, 0, 0, 0});
        EXPECT_EQ(clicks, 1);
    }
}

}  // namespace
}  // namespace kvt
