// A kept game that cannot go on is set aside with a message and a new game is
// dealt; a shared deal deals the same cards at another table.
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

#include "formats/game_record.h"
#include "gui_support.h"
#include "hand/hand_view.h"
#include "platform/card_grid.h"

namespace kvt {
namespace {

using gui_test::TableSetup;
namespace fs = std::filesystem;

fs::path KeptFile(const TableSetup& setup) { return setup.folders.AppDir / "table-in-progress.txt"; }

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

// Going on after an exit is pinned with the replay, a round scored before it with the statistics,
// a kept file cut off or damaged by the table-save tests.
TEST(Resume, AKeptGameThatCannotGoOnIsSetAsideAndANewOneIsDealt) {
    const struct {
        const char* what;
        std::function<void(const fs::path&)> spoil;
        const char* says;
    } cases[] = {
        {"another player", OtherSecondPlayer, "seat 2 was"},
        {"a computer asked to take", ComputerAskedToTake, "cannot give one"},
    };
    for (const auto& c : cases) {
        TableSetup setup;
        gui_test::DialogAnswerer answerer;
        gui_test::PlayAMove(setup.OpenFast());
        setup.win->close();
        setup.win.reset();
        ASSERT_TRUE(fs::exists(KeptFile(setup))) << c.what;
        c.spoil(KeptFile(setup));

        PlayWin& win = setup.OpenFast();
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
    PlayWin& win = setup.OpenFast();
    ASSERT_TRUE(gui_test::WaitForHuman(win));
    const TableState dealt = win.GameState().State();
    const fs::path deal = setup.Root() / "friday.kvtdeal";
    gui_test::PlayAMove(win);
    win.ShareDealCommand(deal);

    // Another table, another seed, a game under way: the shared deal starts a new game.
    TableSetup other;
    gui_test::DialogAnswerer other_answerer;
    PlayWin::Options options = other.Options();
    options.seed = 99;
    PlayWin& there = other.OpenFast(options);
    gui_test::PlayAMove(there);
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
    PlayWin& opened = third.OpenFast(named);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.GameState().State() == expected; }, 5000));

    // With another opponent at seat 3 the deal is refused and the table stays.
    there.GameState().PlayerInfo[3].TraitC += 1;
    const TableState before = there.GameState().State();
    there.OpenDealCommand(deal);
    ASSERT_EQ(other.messages.size(), 1u);
    EXPECT_TRUE(other.messages[0].second.contains("seat 3") && there.GameState().State() == before);
}

}  // namespace
}  // namespace kvt
