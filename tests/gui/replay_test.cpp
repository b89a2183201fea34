// Game records replayed on the table, the kept game resumed or set aside, and
// a shared deal dealt at another table.

#include <array>
#include <fstream>

#include "formats/game_record.h"
#include "gui_support.h"
#include "platform/files.h"
#include "shell/replay_bar.h"
#include "tools/sim/record_run.h"

namespace kvt {
namespace {

using namespace gui_test;

// A game the simulator recorded, and the table after each of its moves as its own table plays them.
struct Recorded {
    fs::path file;
    GameRecord record;
    std::vector<TableState> tables;
};

Recorded RecordAGame(const fs::path& folder) {
    Recorded out{folder / "game.kvtgame", {}, {}};
    sim::Options options;
    std::tie(options.Seed, options.Record) = std::tuple(7, out.file);
    std::string message;
    EXPECT_EQ(sim::WriteRecordFile(options, KVT_TEST_DATA_DIR, message), 0) << message;
    std::string text;
    EXPECT_TRUE(ReadWholeFile(out.file, text, kMaxGameRecordBytes).ok() && ReadGameRecord(text, out.record).ok());
    sim::WorkFolder work;
    sim::Simulation table(work.Path(), KVT_TEST_DATA_DIR, options.Seed);
    EXPECT_TRUE(table.Setup(options).ok());
    table.DealGame(out.record.seed);
    MatchDriver driver(table.Table());
    out.tables.push_back(table.Table().State());
    Events events;
    for (const RecordedMove& move : out.record.moves) {
        EXPECT_EQ(driver.Submit(move.move, events), MatchDriver::Step::Applied);
        out.tables.push_back(table.Table().State());
    }
    return out;
}

// Whether every card of hand `player` is drawn as its back.
bool ShowsBacks(PlayWin& win, int player) {
    const CardGrid* grid = win.Hands().Grid(player);
    const QImage back = win.Hands().Back().toImage();
    const int n = win.GameState().Players[player].Count();
    for (int i = 0; i < n; ++i)  // the side hands run down, the others across
        if ((player % 2 == 0 ? grid->Picture(i, 0) : grid->Picture(0, i)).toImage() != back) return false;
    return n > 0;
}

TEST(Replay, ABadRecordIsRefusedAGoodOneStepsWithHiddenHandsClosesBackToTheGameAndTheNextStartGoesOnWithIt) {
    const QTemporaryDir folder;
    const Recorded recorded = RecordAGame(QFile::encodeName(folder.path()).toStdString());
    const std::size_t moves = recorded.record.moves.size();
    ASSERT_GT(moves, 2 * RecordTable::kEvery);
    TableSetup setup;
    DialogAnswerer answerer;
    PlayWin& win = setup.OpenFast();
    PlayAMove(win);
    const TableState game = win.GameState().State();
    const std::array<PlayerRec, 5> players = win.GameState().PlayerInfo;
    const QSize table = win.Table()->size();

    // Each way a record can be wrong: a message naming the file and what is wrong, and the game as it was.
    std::string damaged;
    ASSERT_TRUE(ReadWholeFile(recorded.file, damaged, kMaxGameRecordBytes).ok());
    damaged[damaged.find("move ") + 5] = 'x';
    const auto changed = [&](const std::function<void(GameRecord&)>& change) {
        GameRecord record = recorded.record;
        change(record);
        return WriteGameRecord(record);
    };
    // A card set refused is named beside the one at hand.
    const struct { const char* name; std::string bytes; const char* says; const char* also = ""; } cases[] = {
        {"damaged", damaged, "line"},  // the reader's refusals are pinned by the GameRecord tests
        {"card set", changed([](GameRecord& r) { std::tie(r.card_set_hash, r.card_set_title) = std::tuple(r.card_set_hash ^ 1, "Other Winds"); }),
         "\"Other Winds\" (", "at hand is \"Four Winds\" ("},
        {"player", changed([](GameRecord& r) { r.players[2].file_hash ^= 1; }), "seat 3"},
        {"move", changed([](GameRecord& r) { r.moves[3].move.seat = static_cast<std::int16_t>(r.moves[3].move.seat % 4 + 1); }),
         "move 4"},
    };
    for (const auto& c : cases) {
        const fs::path file = setup.Root() / (std::string(c.name) + ".kvtgame");
        std::ofstream(file, std::ios::binary) << c.bytes;
        win.OpenGameRecordCommand(file);
        ASSERT_EQ(setup.messages.size(), 1u) << c.name;
        const std::string said = setup.messages[0].second.toStdString();
        for (const std::string& part : {file.string(), std::string(c.says), std::string(c.also)})
            EXPECT_NE(said.find(part), std::string::npos) << c.name << ": " << said;
        EXPECT_TRUE(!win.Replaying() && win.GameState().State() == game) << c.name;
        setup.messages.clear();
    }

    win.OpenGameRecordCommand(recorded.file);
    ASSERT_TRUE(setup.messages.empty()) << setup.messages[0].second.toStdString();
    ASSERT_TRUE(win.Replaying());
    ReplayBar& bar = *win.ReplayControls();
    EXPECT_TRUE(win.GameState().State() == recorded.tables[0]);
    EXPECT_EQ(std::tuple(win.Table()->size(), win.GameState().PlayerInfo[2].Name), std::tuple(table, "Amara")) << "the window grew by the bar";

    // Forward and back across the kept tables, by the bar's buttons and directly.
    const std::vector<std::pair<std::function<void()>, std::size_t>> steps{
        {[&] { bar.Forward()->trigger(); }, 1},
        {[&] { win.ShowReplayStep(RecordTable::kEvery + 1); }, RecordTable::kEvery + 1},
        {[&] { bar.Back()->trigger(); }, RecordTable::kEvery},
        {[&] { bar.Back()->trigger(); }, RecordTable::kEvery - 1},
        {[&] { win.ShowReplayStep(moves - 1); }, moves - 1},
        {[&] { bar.Last()->trigger(); }, moves},
        {[&] { bar.Forward()->trigger(); }, moves},
        {[&] { bar.First()->trigger(); }, 0},
    };
    int plays_named = 0;
    for (const auto& [step, expected] : steps) {
        step();
        ASSERT_TRUE(Settle(win));
        EXPECT_TRUE(win.ReplayStep() == expected && win.GameState().State() == recorded.tables[expected])
            << "step " << expected << ", shown " << win.ReplayStep();
        // The computers' cards (the human's seat too: it was a computer's) are seen at the game's end only.
        for (int p = 1; p <= 4; ++p)
            EXPECT_TRUE(win.GameState().Players[p].Empty() || ShowsBacks(win, p) == (expected != moves))
                << "step " << expected << ", seat " << p;
        if (expected > 0) {
            EXPECT_TRUE(bar.StepLabel()->text().startsWith(QStringLiteral("Move %1 of %2:\n").arg(expected).arg(moves)))
                << bar.StepLabel()->text().toStdString();
            // A card laid is named as the table before the move held it, across a kept table too.
            const Move& move = recorded.record.moves[expected - 1].move;
            if (move.kind == MoveKind::Play) {
                const Card& laid = recorded.tables[expected - 1].Players[static_cast<std::size_t>(move.seat)][move.slot];
                EXPECT_TRUE(bar.StepLabel()->text().contains(SpokenCard(laid, false))) << "step " << expected;
                ++plays_named;
            }
        }
    }
    EXPECT_TRUE(plays_named >= 3 && bar.StepLabel()->text().contains(QString::number(moves))) << plays_named;

    // Nothing acts on the replayed game: clicks, keys, Undo, the computers.
    win.ShowReplayStep(5);
    const TableState shown = win.GameState().State();
    win.HandleClick({TableClick::Place::kDrawDeck, 0, 0, 0});
    win.UndoCommand();
    EXPECT_FALSE(win.MenuEntry("MM_UNDO")->isEnabled());
    QApplication::setActiveWindow(&win);
    QTest::keyClick(&win, Qt::Key_Right);
    EXPECT_EQ(win.ReplayStep(), 6u);
    win.ShowReplayStep(5);
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    EXPECT_EQ(win.GameState().State(), shown);

    bar.Last()->trigger();  // the winner's hand is played out and hidden
    bar.Close()->trigger();
    ASSERT_TRUE(Settle(win));
    EXPECT_EQ(std::tuple(win.Replaying(), bar.isVisible(), win.Table()->size(), ShowsBacks(win, 1)),
              std::tuple(false, false, table, false));
    EXPECT_TRUE(win.GameState().State() == game && win.GameState().PlayerInfo == players);
    // The hand the record's winner played out is back with the game's cards.
    for (int p = 1; p <= 4; ++p) EXPECT_TRUE(win.Hands().Grid(p)->isVisible()) << "seat " << p;

    // The table's own game as a record: the person's hand is face up, the computers' are not.
    const fs::path own = setup.Root() / "own.kvtgame";
    ASSERT_TRUE(win.WriteGameRecord(own));
    win.OpenGameRecordCommand(own);
    ASSERT_TRUE(win.Replaying());
    win.ShowReplayStep(1);
    ASSERT_TRUE(Settle(win));
    EXPECT_TRUE(!ShowsBacks(win, 1) && ShowsBacks(win, 2));
    bar.Close()->trigger();
    ASSERT_TRUE(Settle(win));
    EXPECT_EQ(win.GameState().State(), game);

    // The next start goes on with the game left (its score sheet with it), not with the record shown at the exit;
    // another seed: only the kept game can deal these hands.
    win.OpenGameRecordCommand(recorded.file);
    win.ShowReplayStep(40);
    ASSERT_NE(win.GameState().State(), game);
    setup.Close();
    PlayWin& second = setup.OpenFast(setup.Options(99));
    EXPECT_EQ(std::tuple(setup.messages.empty(), second.GameState().State() == game, second.Hands().Grid(1)->Cols()),
              std::tuple(true, true, game.Players[1].Count()));
    PlayAMove(second);
    // The game's record goes on too: the moves before the exit and after.
    std::size_t moves_kept = 0;
    EXPECT_TRUE(RecordReplaysToTheTable(second, &moves_kept) && moves_kept == 8u) << moves_kept;
}

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

// Going on after an exit is pinned with the replay, a round scored before it with the statistics,
// a kept file cut off or damaged by the table-save tests.
TEST(Resume, AKeptGameThatCannotGoOnIsSetAsideAndANewOneIsDealt) {
    const struct { const char* what; std::function<void(std::string&)> change; const char* says; } cases[] = {
        {"another player at seat 2",
         [](std::string& text) {
             const std::size_t hash = text.find("player 2 ") + 9;
             text[hash] = text[hash] == '0' ? '1' : '0';
         },
         "seat 2 was"},
        // Which no game of these rules asks.
        {"a computer on turn asked to take",
         [](std::string& text) {
             for (const auto& [key, line] :
                  {std::pair{"\nturn ", "turn 3"}, {"\nchoosing ", "choosing 1 2 1 0"}}) {
                 const std::size_t at = text.find(key) + 1;
                 text.replace(at, text.find('\n', at) - at, line);
             }
         },
         "cannot give one"},
    };
    for (const auto& c : cases) {
        TableSetup setup;
        DialogAnswerer answerer;
        PlayAMove(setup.OpenFast());
        setup.Close();
        ASSERT_TRUE(fs::exists(KeptFile(setup))) << c.what;
        Resealed(KeptFile(setup), c.change);

        PlayWin& win = setup.OpenFast();
        ASSERT_EQ(setup.messages.size(), 1u) << c.what;
        EXPECT_NE(setup.messages[0].second.toStdString().find(c.says), std::string::npos)
            << c.what << ": " << setup.messages[0].second.toStdString();
        EXPECT_TRUE(fs::exists(fs::path(KeptFile(setup)) += ".set-aside")) << c.what;
        for (int p = 1; p <= 4; ++p) EXPECT_EQ(win.GameState().Players[p].Count(), 7) << c.what;
    }
}

TEST(SharedDeal, AnotherTableDealsTheSameCardsAndAForeignDealIsRefused) {
    TableSetup setup;
    DialogAnswerer answerer;
    PlayWin& win = setup.OpenFast();
    ASSERT_TRUE(WaitForHuman(win));
    const TableState dealt = win.GameState().State();
    const fs::path deal = setup.Root() / "friday.kvtdeal";
    PlayAMove(win);
    win.ShareDealCommand(deal);

    // Another table, another seed, a game under way: the shared deal starts a new game.
    TableSetup other;
    DialogAnswerer other_answerer;
    PlayWin& there = other.OpenFast(other.Options(99));
    PlayAMove(there);
    there.GameState().Scores[3] = 120;
    there.OpenDealCommand(deal);
    TableState expected = dealt;
    expected.Scores = {};
    EXPECT_TRUE(other.messages.empty() && there.GameState().State() == expected);
    EXPECT_EQ(there.Hands().Grid(1)->Cols(), dealt.Players[1].Count());

    // Named on the command line (the file manager's Open), the deal is dealt once the table is up.
    TableSetup third;
    PlayWin::Options named = third.Options(5);
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
