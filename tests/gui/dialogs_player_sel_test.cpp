#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>

#include "dialogs/player_file.h"
#include "engine/working_files.h"
#include "dialogs/player_sel_frm.h"
#include "gui_support.h"
#include "shell/help_window.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;
using gui_test::TableSetup;

QString Text(const fs::path& path) { return QString::fromStdString(path.string()); }

std::vector<fs::path> Samples(const Folders& folders) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folders.SharedData / "players"))
        if (entry.path().extension() == ".dpf") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

PlayerSel& OpenChoice(PlayWin& win) {
    win.ChoosePlayersCommand();
    QApplication::processEvents();
    EXPECT_NE(win.PlayerSelWindow(), nullptr);
    return *win.PlayerSelWindow();
}

class DialogsPlayerSel : public ::testing::Test {
protected:
    TableSetup setup;
    PlayWin& win = setup.Open(false);
    PlayerSel& sel = OpenChoice(win);
    Game& game = win.GameState();
    const std::vector<fs::path> samples = Samples(setup.folders);
};

TEST_F(DialogsPlayerSel, EachEmptySeatHasItsMessageHelpItsTopicAndABadFileLeavesItsSeat) {
    ASSERT_GE(samples.size(), 4u);

    for (int seat = 2; seat <= 4; ++seat) {
        EXPECT_FALSE(sel.Ok());
        ASSERT_FALSE(setup.messages.empty());
        EXPECT_EQ(setup.messages.back().second, QString("Player %1 has not been chosen .").arg(seat));
        if (seat == 4) break;
        ASSERT_TRUE(sel.PreviewFile(Text(samples[static_cast<std::size_t>(seat - 2)])));
        sel.DropOnSeat(seat);
    }
    EXPECT_TRUE(sel.isVisible());
    // The close box asks the same.
    sel.close();
    EXPECT_TRUE(sel.isVisible());
    EXPECT_EQ(setup.messages.back().second, "Player 4 has not been chosen .");
    // Help opens its topic.
    QTest::mouseClick(sel.HelpBut(), Qt::LeftButton);
    ASSERT_NE(HelpWindow::Instance(), nullptr);
    EXPECT_EQ(HelpWindow::Instance()->CurrentTopic(), "choosing_players.htm");
    HelpWindow::Instance()->close();

    // A bad player file leaves its seat as it was.
    sel.UseSampleOpponents();
    ASSERT_TRUE(sel.Ok());
    const std::string name3 = game.PlayerInfo[3].Name;
    const std::string file3 = game.PlayerFile[3];

    // Not a player file at all: the preview refuses it.
    const fs::path junk = setup.Root() / "junk.dpf";
    std::ofstream(junk) << "not a player";
    const std::size_t before = setup.messages.size();
    EXPECT_FALSE(sel.PreviewFile(Text(junk)));
    ASSERT_GT(setup.messages.size(), before);

    // A file spoilt between the preview and OK: unpacking refuses it.
    const fs::path spoilt = setup.Root() / "spoilt.dpf";
    fs::copy_file(samples[3], spoilt);
    ASSERT_TRUE(sel.PreviewFile(Text(spoilt)));
    sel.DropOnSeat(3);
    fs::resize_file(spoilt, 40);
    win.show();
    EXPECT_FALSE(sel.Ok());
    EXPECT_TRUE(setup.messages.back().second.contains("Cannot load the player file"))
        << setup.messages.back().second.toStdString();
    EXPECT_EQ(std::tuple(game.PlayerInfo[3].Name, game.PlayerFile[3], sel.Seat(3)->Current().File.toStdString(),
                         setup.RawSetting("Player3")),
              std::tuple(name3, file3, file3, file3));
    EXPECT_TRUE(sel.Seat(3)->HasPicture());
}

TEST_F(DialogsPlayerSel, OkUnpacksTheThreeSeatsAndDealsAndDuringAMoveChangesThemAfterIt) {
    sel.UseSampleOpponents();
    for (int p = 2; p <= 4; ++p) EXPECT_TRUE(sel.Seat(p)->HasPicture()) << p;
    game.Players[1].Clear();
    ASSERT_TRUE(sel.Ok());
    EXPECT_FALSE(sel.isVisible());
    QApplication::processEvents();
    for (int p = 2; p <= 4; ++p) {
        const auto seat = static_cast<std::size_t>(p);
        EXPECT_TRUE(!game.PlayerInfo[seat].Name.empty() && fs::exists(game.PlayerDir[seat] / kPlayerPictureName)) << p;
        EXPECT_EQ(std::tuple(game.PlayerFile[seat], win.NameLabel(p)->text().toStdString()),
                  std::tuple(samples[seat - 2].string(), game.PlayerInfo[seat].Name));
    }
    EXPECT_TRUE(game.Players[1].Count() == 7 && game.RememberedPlayersComplete());

    const PlayerRec before = game.PlayerInfo[2];
    ASSERT_TRUE(sel.PreviewFile(Text(samples[3])));
    sel.DropOnSeat(2);
    // The move that is running when OK is pressed plays on with the old opponent.
    bool old_opponent_in_move = false;
    win.SetClickHandler([&](PlayWin&, const TableClick&) {
        EXPECT_TRUE(sel.Ok());
        EXPECT_FALSE(sel.isVisible());
        old_opponent_in_move = game.PlayerInfo[2] == before && game.PlayerFile[2] != samples[3].string();
    });
    win.HandleClick({TableClick::Place::kDrawDeck, 0, 0, 0});
    EXPECT_TRUE(old_opponent_in_move);
    EXPECT_NE(game.PlayerInfo[2].Name, before.Name);
    EXPECT_EQ(std::tuple(game.PlayerFile[2], game.Players[1].Count()), std::tuple(samples[3].string(), 7));
}

// A first run asks for the opponents before dealing. OK, New Game or Load Card
// Set (with the choice open or cancelled) deals a table that plays; chosen by
// OK, the next start brings them back without asking.
TEST(DialogsPlayerSelFirstRun, OkNewGameOrLoadCardSetBeforeAChoiceDealsATableThatPlays) {
    using Command = std::function<void(TableSetup&)>;
    const std::vector<std::pair<const char*, Command>> commands{
        {"OK",
         [](TableSetup& setup) {
             setup.win->PlayerSelWindow()->UseSampleOpponents();
             ASSERT_TRUE(setup.win->PlayerSelWindow()->Ok());
             QApplication::processEvents();
         }},
        {"New Game", [](TableSetup& setup) { setup.win->MenuEntry("MM_NEW_GAME")->trigger(); }},
        {"Load Card Set",
         [](TableSetup& setup) { setup.win->LoadCardSetCommand(setup.folders.SharedData / files::kDefaultCardSet); }},
    };
    for (const auto& [name, command] : commands) {
        for (const bool cancelled : {false, true}) {
            const bool ok = std::string(name) == "OK";
            if (ok && cancelled) continue;
            SCOPED_TRACE(std::string(name) + (cancelled ? ", choice cancelled" : ", choice open"));
            TableSetup setup;
            PlayWin::Options options = setup.Options();
            options.choose_players = true;
            PlayWin& win = setup.Open(options, false);
            QApplication::processEvents();
            EXPECT_EQ(std::tuple(win.AwaitingPlayers(), win.GameState().Players[1].Count()), std::tuple(true, 0));
            ASSERT_TRUE(win.PlayerSelWindow() && win.PlayerSelWindow()->isVisible());
            if (cancelled) QTest::mouseClick(win.PlayerSelWindow()->CancelBut(), Qt::LeftButton);
            command(setup);
            EXPECT_EQ(std::tuple(win.AwaitingPlayers(), win.GameState().Players[1].Count()), std::tuple(false, 7));
            if (ok) {
                setup.win->close();
                setup.win.reset();
                PlayWin& again = setup.Open(options, false);
                QApplication::processEvents();
                EXPECT_TRUE(!again.AwaitingPlayers() && again.PlayerSelWindow() == nullptr);
                EXPECT_FALSE(again.GameState().PlayerInfo[2].Name.empty());
                EXPECT_EQ(again.GameState().Players[1].Count(), 7);
            }
            int clicks = 0;
            QObject::connect(setup.win.get(), &PlayWin::TableClicked, [&clicks] { ++clicks; });
            setup.win->SetClickHandler(nullptr);
            setup.win->HandleClick({TableClick::Place::kDrawDeck, 0, 0, 0});
            EXPECT_EQ(clicks, 1);
        }
    }
}

}  // namespace
}  // namespace kvt
