// The game in progress goes on at the next start exactly where it was left;
// a kept game that cannot go on is set aside with a message and a new game is
// dealt.
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

#include "formats/game_record.h"
#include "gui_support.h"
#include "actions/flights_qt.h"
#include "dialogs/score_frm.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"

namespace kvt {
namespace {

using gui_test::TableSetup;
namespace fs = std::filesystem;

fs::path KeptFile(const TableSetup& setup) { return setup.folders.AppDir / "table-in-progress.txt"; }

PlayWin& Open(TableSetup& setup, PlayWin::Options options) {
    PlayWin& win = setup.Open(std::move(options));
    win.SetAnimationInterval(1);
    win.Flights().SetDrawStepPause(0);
    return win;
}

// The kept game changed by `change`, and sealed again as the table would.
void Resealed(const fs::path& file, const std::function<void(std::string&)>& change) {
    std::ifstream in(file, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    in.close();
    change(text);
    text.erase(text.rfind("end "));
    char seal[17];
    std::snprintf(seal, sizeof seal, "%016llx", static_cast<unsigned long long>(Fnv1a64(text)));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text << "end " << seal << "\n";
}

// As another seat 2 would have left it.
void OtherSecondPlayer(const fs::path& file) {
    Resealed(file, [](std::string& text) {
        const std::size_t hash = text.find("player 2 ") + 9;
        text[hash] = text[hash] == '0' ? '1' : '0';
    });
}

// A computer on turn asked to take a card, which no game of these rules asks.
void ComputerAskedToTake(const fs::path& file) {
    Resealed(file, [](std::string& text) {
        const auto set_line = [&text](const std::string& key, const std::string& line) {
            const std::size_t at = text.find("\n" + key + " ") + 1;
            text.replace(at, text.find('\n', at) - at, line);
        };
        set_line("turn", "turn 3");
        set_line("choosing", "choosing 1 2 1 0");
    });
}

// The human lays the first card that needs no choice; the computers reply.
void PlayAMove(PlayWin& win) {
    Game& g = win.GameState();
    ASSERT_TRUE(gui_test::WaitForHuman(win));
    for (int c = 0; c < g.Players[1].Count(); ++c) {
        if (g.CheckPlayable(g.Players[1][c]) != 1 || Game::NeedsNoChoice(g.Players[1][c]) != 1) continue;
        QTest::mouseClick(win.Hands().Grid(1), Qt::LeftButton, {}, gui_test::CellPoint(win.Hands().Grid(1), c));
        QTest::mouseClick(win.Hands().AcceptDiscardBut(), Qt::LeftButton);
        ASSERT_TRUE(gui_test::WaitForHuman(win));
        return;
    }
    FAIL() << "the fixed seed deals a card that needs no choice";
}

TEST(Resume, TheNextStartGoesOnWithTheSameTableAndSheet) {
    TableSetup setup;
    gui_test::DialogAnswerer answerer;
    PlayWin& first = Open(setup, setup.Options());
    first.GameState().Sheet.SetCell(0, 2, "42");
    PlayAMove(first);
    const TableState left = first.GameState().State();
    first.close();
    setup.win.reset();

    // Another seed: only the kept game can deal these hands.
    PlayWin::Options options = setup.Options();
    options.seed = 99;
    PlayWin& second = Open(setup, options);
    EXPECT_TRUE(setup.messages.empty());
    EXPECT_EQ(second.GameState().State(), left);
    EXPECT_EQ(second.GameState().Sheet.Cell(0, 2), "42");
    EXPECT_EQ(second.Hands().Grid(1)->Cols(), left.Players[1].Count());
    PlayAMove(second);
}

TEST(Resume, ARoundScoredBeforeTheExitWaitsForItsSheetsOk) {
    TableSetup setup;
    PlayWin& first = Open(setup, setup.Options());
    ASSERT_TRUE(gui_test::WaitForHuman(first));
    // The human's last card goes down: the round is scored and its sheet waits.
    Game& g = first.GameState();
    int column = -1;
    for (int c = 0; c < g.Players[1].Count() && column < 0; ++c)
        if (g.CheckPlayable(g.Players[1][c]) == 1 && Game::NeedsNoChoice(g.Players[1][c]) == 1 && g.Players[1][c].Group > 0)
            column = c;  // not a wild card: no group to name
    ASSERT_GE(column, 0);
    const Card last = g.Players[1][column];
    g.Players[1].Clear();
    g.Players[1].Push(last);
    first.RedrawTable();
    QTest::mouseClick(first.Hands().Grid(1), Qt::LeftButton, {}, gui_test::CellPoint(first.Hands().Grid(1), 0));
    QTest::mouseClick(first.Hands().AcceptDiscardBut(), Qt::LeftButton);
    ASSERT_TRUE(gui_test::Settle(first));
    ASSERT_EQ(g.Pending(), Decision::AcknowledgeScore);
    ASSERT_NE(first.ScoreWindow(), nullptr);
    EXPECT_TRUE(first.ScoreWindow()->isVisible());
    const std::array<std::int16_t, 5> totals = g.Scores;
    first.close();
    setup.win.reset();

    PlayWin& second = Open(setup, setup.Options());
    EXPECT_EQ(second.GameState().Scores, totals);
    ASSERT_NE(second.ScoreWindow(), nullptr);
    EXPECT_TRUE(second.ScoreWindow()->isVisible()) << "the sheet asks for its OK again";
    QTest::mouseClick(second.ScoreWindow()->OkBut(), Qt::LeftButton);
    ASSERT_TRUE(gui_test::WaitForHuman(second));
    for (int p = 1; p <= 4; ++p) EXPECT_GT(second.GameState().Players[static_cast<std::size_t>(p)].Count(), 0) << p;
    EXPECT_EQ(second.GameState().Scores, totals) << "the next round is dealt, nothing counted twice";
}

TEST(Resume, AKeptGameThatCannotGoOnIsSetAsideAndANewOneIsDealt) {
    const struct {
        const char* what;
        std::function<void(const fs::path&)> spoil;
        const char* says;
    } cases[] = {
        {"cut off", [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) / 2); }, "cut off"},
        {"another player", OtherSecondPlayer, "seat 2 was"},
        {"a computer asked to take", ComputerAskedToTake, "cannot give one"},
    };
    for (const auto& c : cases) {
        TableSetup setup;
        gui_test::DialogAnswerer answerer;
        PlayAMove(Open(setup, setup.Options()));
        setup.win->close();
        setup.win.reset();
        ASSERT_TRUE(fs::exists(KeptFile(setup))) << c.what;
        c.spoil(KeptFile(setup));

        PlayWin& win = Open(setup, setup.Options());
        ASSERT_EQ(setup.messages.size(), 1u) << c.what;
        EXPECT_NE(setup.messages[0].second.toStdString().find(c.says), std::string::npos)
            << c.what << ": " << setup.messages[0].second.toStdString();
        EXPECT_TRUE(fs::exists(fs::path(KeptFile(setup)) += ".set-aside")) << c.what;
        EXPECT_EQ(win.GameState().Scores[1], 0) << c.what;
        for (int p = 1; p <= 4; ++p) EXPECT_EQ(win.GameState().Players[static_cast<std::size_t>(p)].Count(), 7) << c.what;
    }
}

TEST(SharedDeal, AnotherTableDealsTheSameCardsAndAForeignDealIsRefused) {
    TableSetup setup;
    gui_test::DialogAnswerer answerer;
    PlayWin& win = Open(setup, setup.Options());
    ASSERT_TRUE(gui_test::WaitForHuman(win));
    const TableState dealt = win.GameState().State();
    const fs::path deal = setup.Root() / "friday.kvtdeal";
    PlayAMove(win);
    win.ShareDealCommand(deal);

    // Another table, another seed, a game under way: the shared deal starts a new game.
    TableSetup other;
    gui_test::DialogAnswerer other_answerer;
    PlayWin::Options options = other.Options();
    options.seed = 99;
    PlayWin& there = Open(other, options);
    PlayAMove(there);
    there.GameState().Scores[3] = 120;
    there.OpenDealCommand(deal);
    EXPECT_TRUE(other.messages.empty());
    TableState expected = dealt;
    expected.Scores = {};
    EXPECT_EQ(there.GameState().State(), expected);
    EXPECT_EQ(there.Hands().Grid(1)->Cols(), dealt.Players[1].Count());

    // Named on the command line (the file manager's Open), the deal is dealt once the table is up.
    TableSetup third;
    PlayWin::Options named = third.Options();
    named.seed = 5;
    named.deal = deal;
    PlayWin& opened = Open(third, named);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.GameState().State() == expected; }, 5000));

    // With another opponent at seat 3 the deal is refused and the table stays.
    there.GameState().PlayerInfo[3].TraitC += 1;
    const TableState before = there.GameState().State();
    there.OpenDealCommand(deal);
    ASSERT_EQ(other.messages.size(), 1u);
    EXPECT_NE(other.messages[0].second.toStdString().find("seat 3"), std::string::npos);
    EXPECT_EQ(there.GameState().State(), before);
}

}  // namespace
}  // namespace kvt
