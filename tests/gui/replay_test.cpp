// Game records replayed on the table, the kept game resumed or set aside, a
// shared deal dealt at another table, and the statistics: rounds and games
// recorded once each, the figures derived from them, bad files set aside,
// whole rounds only after a killed writer, and the window of the Score menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fstream>
#include <array>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "dialogs/score_frm.h"
#include "dialogs/statistics_frm.h"
#include "dialogs/totals_chart.h"
#include "formats/game_record.h"
#include "gui_support.h"
#include "shell/flights_qt.h"
#include "engine/working_files.h"
#include "hand/hand_view.h"
#include "match/match_driver.h"
#include "platform/card_grid.h"
#include "platform/files.h"
#include "platform/statistics_store.h"
#include "shell/record_table.h"
#include "shell/replay_bar.h"
#include "shell/table_keys.h"
#include "tools/sim/record_run.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;
using namespace gui_test;

// A game the simulator recorded, and the table after each of its moves as
// its own table plays them.
struct Recorded {
    fs::path file;
    GameRecord record;
    std::vector<TableState> tables;
};

Recorded RecordAGame(const fs::path& folder) {
    Recorded out;
    out.file = folder / "game.kvtgame";
    sim::Options options;
    options.Seed = 7;
    options.Record = out.file;
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

const Recorded& TheRecord() {
    static const QTemporaryDir folder;
    static const Recorded recorded = RecordAGame(QFile::encodeName(folder.path()).toStdString());
    return recorded;
}

// Whether every card of hand `player` is drawn as its back.
bool ShowsBacks(PlayWin& win, int player) {
    const CardGrid* grid = win.Hands().Grid(player);
    const QImage back = win.Hands().Back().toImage();
    const int n = win.GameState().Players[static_cast<std::size_t>(player)].Count();
    for (int i = 0; i < n; ++i) {
        const QPixmap cell = player == 2 || player == 4 ? grid->Picture(i, 0) : grid->Picture(0, i);
        if (cell.toImage() != back) return false;
    }
    return n > 0;
}

TEST(Replay, ABadRecordIsRefusedAGoodOneStepsWithHiddenHandsClosesBackToTheGameAndTheNextStartGoesOnWithIt) {
    const Recorded& recorded = TheRecord();
    const std::size_t moves = recorded.record.moves.size();
    ASSERT_GT(moves, 2 * RecordTable::kEvery);
    TableSetup setup;
    gui_test::DialogAnswerer answerer;
    PlayWin& win = setup.OpenFast();
    gui_test::PlayAMove(win);
    const TableState game = win.GameState().State();
    const std::array<PlayerRec, 5> players = win.GameState().PlayerInfo;
    const QSize table = win.Table()->size();

    // Each way a record can be wrong: a message naming the file and what is wrong, and the game as it was.
    std::string text;
    ASSERT_TRUE(ReadWholeFile(recorded.file, text, kMaxGameRecordBytes).ok());
    const auto changed = [&](const std::function<void(GameRecord&)>& change) {
        GameRecord record = recorded.record;
        change(record);
        return WriteGameRecord(record);
    };
    std::string damaged = text;
    damaged[text.find("move ") + 5] = 'x';
    const struct { const char* name; std::string bytes; const char* says; } cases[] = {
        {"damaged", damaged, "line"},  // the reader's refusals are pinned by the GameRecord tests
        {"card set", changed([](GameRecord& r) {
             r.card_set_hash ^= 1;
             r.card_set_title = "Other Winds";
         }),
         "\"Other Winds\" ("},
        {"player", changed([](GameRecord& r) { r.players[2].file_hash ^= 1; }), "seat 3"},
        {"move", changed([](GameRecord& r) { r.moves[3].move.seat = static_cast<std::int16_t>(r.moves[3].move.seat % 4 + 1); }),
         "move 4"},
    };
    for (const auto& c : cases) {
        const fs::path file = setup.Root() / (std::string(c.name) + ".kvtgame");
        std::ofstream(file, std::ios::binary) << c.bytes;
        setup.messages.clear();
        win.OpenGameRecordCommand(file);
        ASSERT_EQ(setup.messages.size(), 1u) << c.name;
        const std::string said = setup.messages[0].second.toStdString();
        EXPECT_NE(said.find(file.string()), std::string::npos) << c.name << ": " << said;
        EXPECT_NE(said.find(c.says), std::string::npos) << c.name << ": " << said;
        EXPECT_TRUE(!win.Replaying() && win.GameState().State() == game) << c.name;
        // The card set refused is named beside the one at hand.
        if (std::string(c.name) == "card set") {
            EXPECT_NE(said.find("at hand is \"Four Winds\" ("), std::string::npos) << said;
        }
    }
    setup.messages.clear();

    win.OpenGameRecordCommand(recorded.file);
    ASSERT_TRUE(setup.messages.empty()) << setup.messages[0].second.toStdString();
    ASSERT_TRUE(win.Replaying());
    ReplayBar& bar = *win.ReplayControls();
    EXPECT_EQ(std::tuple(win.Table()->size(), win.GameState().PlayerInfo[2].Name), std::tuple(table, "Amara"))
        << "the window grew by the bar";
    EXPECT_EQ(win.GameState().State(), recorded.tables[0]);

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
        ASSERT_TRUE(gui_test::Settle(win));
        EXPECT_TRUE(win.ReplayStep() == expected && win.GameState().State() == recorded.tables[expected])
            << "step " << expected << ", shown " << win.ReplayStep();
        // The computers' cards (the human's seat too: it was a computer's) are seen at the game's end only.
        const bool over = expected == moves;
        for (int p = 1; p <= 4; ++p) {
            if (!win.GameState().Players[static_cast<std::size_t>(p)].Empty()) {
                EXPECT_EQ(ShowsBacks(win, p), !over) << "step " << expected << ", seat " << p;
            }
        }
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
    EXPECT_GE(plays_named, 3);
    EXPECT_TRUE(bar.StepLabel()->text().contains(QString::number(moves)));

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
    ASSERT_TRUE(gui_test::Settle(win));
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
    ASSERT_TRUE(gui_test::Settle(win));
    EXPECT_TRUE(!ShowsBacks(win, 1) && ShowsBacks(win, 2));
    bar.Close()->trigger();
    ASSERT_TRUE(gui_test::Settle(win));
    EXPECT_EQ(win.GameState().State(), game);

    // The next start goes on with the game left (its score sheet with it), not with the record shown at the exit;
    // another seed: only the kept game can deal these hands.
    win.OpenGameRecordCommand(recorded.file);
    win.ShowReplayStep(40);
    ASSERT_NE(win.GameState().State(), game);
    win.close();
    setup.win.reset();
    PlayWin& second = setup.OpenFast(setup.Options(99));
    EXPECT_TRUE(setup.messages.empty() && second.GameState().State() == game);
    EXPECT_EQ(second.Hands().Grid(1)->Cols(), game.Players[1].Count());
    gui_test::PlayAMove(second);
    // The game's record goes on too: the moves before the exit and after.
    std::size_t moves_kept = 0;
    EXPECT_TRUE(gui_test::RecordReplaysToTheTable(second, &moves_kept) && moves_kept == 8u) << moves_kept;
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
    const struct { const char* what; std::function<void(const fs::path&)> spoil; const char* says; } cases[] = {
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
        EXPECT_TRUE(fs::exists(fs::path(KeptFile(setup)) += ".set-aside") && win.GameState().Scores[1] == 0) << c.what;
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
    PlayWin& there = other.OpenFast(other.Options(99));
    gui_test::PlayAMove(there);
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

using Points = std::array<int, 4>;

const GameIdentity kPlainTable{"Plain", 1, {"Tester", "Ann", "Bob", "Cy"}, {10, 11, 12, 13}};
const GameIdentity kOtherSet{"Other", 2, {"Tester", "Ann", "Dee", "Eve"}, {10, 11, 14, 15}};

// Records a game's rounds with their running totals; a finished game's last
// round names the lowest total the winner.
void Play(StatisticsStore& store, const GameIdentity& who, const std::vector<Points>& rounds, bool finished, bool undo = false) {
    ScoredRound round{who, {}, {}, 0, undo};
    for (std::size_t r = 0; r < rounds.size(); ++r) {
        round.points = rounds[r];
        for (std::size_t i = 0; i < 4; ++i) round.totals[i] += rounds[r][i];
        if (finished && r + 1 == rounds.size())
            round.winner = int(std::min_element(round.totals.begin(), round.totals.end()) - round.totals.begin()) + 1;
        ASSERT_TRUE(store.RecordRound(round).ok());
    }
}

// One figure of the database, read on a connection of its own.
int Count(const fs::path& file, const QString& sql) {
    int value = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "statistics-test");
        db.setDatabaseName(QString::fromStdString(file.string()));
        QSqlQuery q(db);
        if (db.open() && q.exec(sql) && q.next()) value = q.value(0).toInt();
    }
    QSqlDatabase::removeDatabase("statistics-test");
    return value;
}

struct Store {
    QTemporaryDir dir;
    fs::path file = fs::path(dir.path().toStdString()) / "kvt" / "statistics.sqlite";
    StatisticsStore store{file};
    std::string why;
    Store() { EXPECT_EQ(store.Open(why), StatisticsStore::Opened::kReady) << why; }
};

TEST(Statistics, FiguresPerOpponentCardSetAndSeatWithUndoGamesApart) {
    Store s;
    Play(s.store, kPlainTable, {{0, 10, 20, 30}, {5, 0, 40, 80}}, true);  // totals 5 10 60 110
    Play(s.store, kPlainTable, {{30, 0, 5, 90}}, true);
    Play(s.store, kOtherSet, {{50, 0, 0, 120}}, true, true);
    for (int new_game = 0; new_game < 2; ++new_game) {
        Play(s.store, kPlainTable, {{1, 2, 3, 4}}, false);
        ASSERT_TRUE(s.store.AbandonGame().ok());
    }
    // The row of `label`, as a tuple that compares (the averages are exact in binary).
    const auto row = [](const std::vector<Figures>& rows, const std::string& label) {
        const auto f = std::find_if(rows.begin(), rows.end(), [&](const Figures& r) { return r.label == label; });
        return f == rows.end() ? Figures{"missing"} : *f;
    };
    const auto tied = [](const Figures& f) {
        return std::tie(f.label, f.games, f.wins, f.rounds, f.average_total, f.best_total, f.games_with_undo);
    };
    const struct { Figures got, expected; } cases[] = {
        {row(s.store.PerOpponent(), "Ann"), {"Ann", 2, 1, 3, 5.0, 0, 1}},
        {row(s.store.PerOpponent(), "Bob"), {"Bob", 2, 0, 3, 32.5, 5, 0}},
        {row(s.store.PerCardSet(), "Plain"), {"Plain", 2, 1, 3, 17.5, 5, 0}},
        {row(s.store.PerCardSet(), "Other"), {"Other", 0, 0, 0, 0, 0, 1}},
        {row(s.store.PerSeat(), "1"), {"1", 2, 1, 3, 17.5, 5, 1}},
        {row(s.store.PerSeat(), "4"), {"4", 2, 0, 3, 100.0, 90, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(tied(c.got), tied(c.expected)) << c.expected.label;
    const std::vector<HeadToHead> h2h = s.store.HeadToHeads();
    ASSERT_EQ(h2h.size(), 5u);
    EXPECT_EQ(std::tie(h2h[0].opponent, h2h[0].games, h2h[0].you_lower, h2h[0].they_lower, h2h[0].games_with_undo),
              std::make_tuple(std::string("Ann"), 2, 1, 1, 1));
    const std::vector<GameTotal> last = s.store.LastTotals(20);
    ASSERT_EQ(last.size(), 3u);
    EXPECT_EQ(std::tuple(last[0].total, last[2].undo_used), std::tuple(5, true));
    EXPECT_EQ(Count(s.file, "SELECT count(*) FROM games WHERE state = 2"), 2) << "the games left by New Game, not finished";

    EXPECT_TRUE(s.store.Reset().ok() && s.store.FinishedGames() == 0);
}

TEST(Statistics, ARoundCountedAgainIsRecordedOnce) {
    Store s;
    ScoredRound round{kPlainTable, {3, 0, 5, 7}, {3, 0, 5, 7}};
    ASSERT_TRUE(s.store.RecordRound(round).ok());
    ASSERT_TRUE(s.store.RecordRound(round).ok());  // the same round again
    round.points = round.totals = {4, 4, 0, 1};    // scored again differently after a crash
    ASSERT_TRUE(s.store.RecordRound(round).ok());
    round.points = {1, 1, 1, 1};
    round.totals = {5, 5, 1, 2};
    ASSERT_TRUE(s.store.RecordRound(round).ok());
    EXPECT_EQ(std::tuple(Count(s.file, "SELECT count(*) FROM games"), Count(s.file, "SELECT count(*) FROM rounds"),
                         Count(s.file, "SELECT sum(points) FROM rounds WHERE number = 1")),
              std::tuple(1, 8, 9));
}

TEST(Statistics, ABadFileIsSetAsideAndAFreshOneWorks) {
    const auto sqlite = [](const char* sql) {
        return [sql](const fs::path& file) {
            {
                StatisticsStore good(file);
                std::string why;
                good.Open(why);
                for (int game = 0; game < 8; ++game) Play(good, kPlainTable, {{1, 2, 3, 4}, {5, 6, 7, 120}}, true);
            }
            Count(file, sql);
        };
    };
    const struct { const char* what; std::function<void(const fs::path&)> make; } cases[] = {
        {"not SQLite", [](const fs::path& f) { std::ofstream(f) << "games 3\nwins 2\n"; }},
        {"a later version", sqlite("PRAGMA user_version = 99")},
        {"another program's", sqlite("DROP TABLE rounds")},
        {"truncated", [&sqlite](const fs::path& f) {
             sqlite("SELECT 1")(f);
             fs::resize_file(f, fs::file_size(f) / 2);
         }},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const fs::path file = fs::path(dir.path().toStdString()) / "statistics.sqlite";
        c.make(file);
        StatisticsStore store(file);
        std::string why;
        EXPECT_EQ(store.Open(why), StatisticsStore::Opened::kSetAside) << c.what;
        EXPECT_TRUE(!why.empty() && fs::exists(file.string() + ".set-aside")) << c.what;
        Play(store, kPlainTable, {{1, 2, 3, 120}}, true);
        EXPECT_EQ(store.FinishedGames(), 1) << c.what;
    }
    {  // a file another connection holds is in use, not bad
        Store s;
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(QString::fromStdString(s.file.string()));
        QSqlQuery hold(holder);
        ASSERT_TRUE(holder.open() && hold.exec("PRAGMA locking_mode = EXCLUSIVE") && hold.exec("BEGIN EXCLUSIVE"));
        StatisticsStore other(s.file);
        std::string why;
        EXPECT_EQ(other.Open(why), StatisticsStore::Opened::kUnusable) << why;
        EXPECT_FALSE(fs::exists(s.file.string() + ".set-aside"));
    }
    QSqlDatabase::removeDatabase("holder");
    QTemporaryDir dir;  // a folder that cannot be made: nothing is recorded, nothing fails loudly
    std::ofstream(dir.path().toStdString() + "/kvt") << "a file";
    StatisticsStore store(fs::path(dir.path().toStdString()) / "kvt" / "statistics.sqlite");
    std::string why;
    EXPECT_EQ(store.Open(why), StatisticsStore::Opened::kUnusable);
    EXPECT_FALSE(store.RecordRound({kPlainTable}).ok());
}

// A writer plays games of three rounds; two readers meanwhile see whole
// games only, and once the writer is killed mid-write the database opens
// as it is with whole rounds only.
TEST(Statistics, ReadersSeeWholeRoundsAndAKilledWriterLeavesWholeRounds) {
    QTemporaryDir dir;
    const fs::path file = fs::path(dir.path().toStdString()) / "statistics.sqlite";
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        StatisticsStore store(file);
        std::string why;
        if (store.Open(why) != StatisticsStore::Opened::kReady) _exit(1);
        for (bool told = false;; told = true) {
            ScoredRound round{kPlainTable, {1, 2, 3, 4}};
            for (int r = 1; r <= 3; ++r) {
                round.totals = {r, 2 * r, 3 * r, 4 * r};
                round.winner = r == 3 ? 1 : 0;
                if (!store.RecordRound(round).ok()) _exit(2);
            }
            if (!told && write(pipe_fds[1], "w", 1) != 1) _exit(3);
        }
    }
    char signal_byte = 0;
    ASSERT_EQ(read(pipe_fds[0], &signal_byte, 1), 1);
    StatisticsStore readers[] = {StatisticsStore(file), StatisticsStore(file)};
    const auto whole = [](const StatisticsStore& store) {
        const std::vector<Figures> seats = store.PerSeat();
        return !seats.empty() && seats[0].rounds == 3 * seats[0].games && seats[0].average_total == 3.0;
    };
    std::string why;
    for (StatisticsStore& reader : readers) ASSERT_EQ(reader.Open(why), StatisticsStore::Opened::kReady) << why;
    for (int i = 0; i < 5; ++i)
        for (const StatisticsStore& reader : readers) ASSERT_TRUE(whole(reader)) << i;
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own: " << WEXITSTATUS(status);

    StatisticsStore after(file);
    ASSERT_EQ(after.Open(why), StatisticsStore::Opened::kReady) << why;
    EXPECT_TRUE(whole(after));
    EXPECT_EQ(Count(file, "SELECT count(*) FROM (SELECT 1 FROM rounds GROUP BY game_id, number HAVING count(*) <> 4)"), 0);
    EXPECT_EQ(Count(file, "SELECT count(*) FROM games g WHERE rounds <> (SELECT count(*) / 4 FROM rounds WHERE game_id = g.id)"), 0);
}

// Closed while the human's last card still goes down, the round is kept scored: the next start
// asks for the sheet's OK again and deals on, counting nothing twice, in the statistics too.
TEST(StatisticsWindow, ARoundScoredBeforeTheExitCountsOnceAndTheWindowShowsNamesAsText) {
    gui_test::TableSetup setup;
    PlayWin& first = setup.OpenFast();
    ASSERT_TRUE(gui_test::WaitForHuman(first));
    Game& g = first.GameState();
    // A move taken back (the game counts apart), then the human's last card; no wild card: no group to name.
    ASSERT_GE(gui_test::NoChoiceColumn(g, true), 0);
    gui_test::ClickHand(first, 1, gui_test::NoChoiceColumn(g, true));
    gui_test::ClickDiscard(first);
    ASSERT_TRUE(gui_test::WaitForHuman(first));
    first.MenuEntry("MM_UNDO")->trigger();
    // The hand becomes that card alone, laid by mouse: scored, and still shown as the window closes.
    const Card last = g.Players[1][gui_test::NoChoiceColumn(g, true)];
    g.Players[1].Clear();
    g.Players[1].Push(last);
    first.RedrawTable();
    gui_test::ClickHand(first, 1, 0);
    QTest::mouseClick(first.Hands().AcceptDiscardBut(), Qt::LeftButton);
    ASSERT_TRUE(g.Pending() == Decision::AcknowledgeScore && first.MoveRunning());
    const std::array<std::int16_t, 5> totals = g.Scores;
    first.close();
    setup.win.reset();

    PlayWin& second = setup.OpenFast();
    EXPECT_EQ(second.GameState().Scores, totals);
    ASSERT_TRUE(second.ScoreWindow() && second.ScoreWindow()->isVisible()) << "the sheet asks for its OK again";
    QTest::mouseClick(second.ScoreWindow()->OkBut(), Qt::LeftButton);
    ASSERT_TRUE(gui_test::WaitForHuman(second));
    for (int p = 1; p <= 4; ++p) EXPECT_GT(second.GameState().Players[static_cast<std::size_t>(p)].Count(), 0) << p;
    EXPECT_EQ(second.GameState().Scores, totals) << "the next round is dealt, nothing counted twice";
    const fs::path file = setup.folders.AppDir / "statistics.sqlite";
    // One round of four seats, not counted again on resume.
    EXPECT_EQ(std::tuple(Count(file, "SELECT count(*) FROM rounds"), Count(file, "SELECT undo_used FROM games")), std::tuple(4, 1));

    GameIdentity marked = kPlainTable;
    marked.names[1] = "<b>Ann</b>";
    Play(*second.Statistics(), marked, {{1, 2, 3, 150}}, true);
    second.MenuEntry("MM_STATISTICS")->trigger();
    StatisticsFrm* stats = second.StatisticsWindow();
    ASSERT_NE(stats, nullptr);
    EXPECT_TRUE(stats->isVisible() && !stats->isModal());
    ASSERT_GE(stats->Table(0)->rowCount(), 1);
    EXPECT_EQ(stats->Table(0)->item(0, 0)->text(), "<b>Ann</b>");
    EXPECT_EQ(stats->Chart()->Totals().size(), 1u);
}

// A long game on the offscreen table: a scripted human plays by mouse and by
// the keys alone while menu commands arrive at random moments, computer turns
// included, and the window is finally closed in the middle of a card flight.
// After every step each card of the deal must still be on the table.
// KVT_SOAK_ROUNDS and KVT_SOAK_SEED change the soak for a longer or another run.
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

::testing::AssertionResult EveryCardKept(SoakWin& win) {
    Game& game = win.GameState();
    const auto expected = DeckSize(game.CardSet) + (game.GroupCardsAdded - win.group_cards_at_deal);
    if (CardsOnTable(game) != expected)
        return ::testing::AssertionFailure() << CardsOnTable(game) << " cards on the table, " << expected << " dealt";
    return ::testing::AssertionSuccess();
}

enum Kind { kTake, kChoose, kDiscard, kPutBack, kPlay, kDraw, kKinds };

// One action of the human, by mouse or by the keys alone: take a card when
// taking, finish a pick, play a playable card, or draw. The keys mark a card
// (Home, Right) and press it (Space to take, Enter), draw (D), put a drawn
// card back (Escape) and discard (Alt+D).
Kind HumanStep(PlayWin& win, std::mt19937& dice, bool by_keys) {
    Game& game = win.GameState();
    HandView& hands = win.Hands();
    const auto any = [&dice](int n) { return static_cast<int>(dice() % static_cast<unsigned>(n)); };
    CardStack& hand = game.Players[1];
    const auto key = [&win](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        // The keys go to the table once a dialog has closed, as the desktop gives it back.
        QApplication::setActiveWindow(&win);
        QTest::keyClick(&win, k, mods);
        gui_test::Settle(win);
    };
    const auto choose = [&](int player, int column, Qt::Key press) {
        if (!by_keys) return gui_test::ClickHand(win, player, column);
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
        EXPECT_TRUE(gui_test::RunUntil([&] { return !move.Picking() || win.IsClosing(); }));
        return kDiscard;
    }
    std::vector<int> playable;
    for (int c = 0; c < hand.Count(); ++c)
        if (Card probe = hand[c]; game.CheckPlayable(probe) == 1) playable.push_back(c);
    if (!playable.empty()) {
        choose(1, gui_test::ShownColumn(win, playable[static_cast<std::size_t>(any(static_cast<int>(playable.size())))]), Qt::Key_Return);
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
        const bool in_move = win.MoveRunning();
        if (command == kLoadCardSet)
            win.LoadCardSetCommand(card_set);  // the menu entry would ask for the file
        else
            win.MenuEntry(kEntries[command])->trigger();
        ++given[static_cast<std::size_t>(command)];
        given_in_moves += in_move;
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
            ASSERT_TRUE(gui_test::RunUntil([&] { return !QApplication::activeModalWidget() || win.IsClosing(); }));
        }
        answerer.by_keys = steps % 2 == 1 && !keys_done();
        const Kind kind = HumanStep(win, dice, answerer.by_keys);
        if (answerer.by_keys) ++by_keys[kind];
        ASSERT_TRUE(gui_test::WaitForHuman(win)) << "step " << steps;
        ++steps;
        ASSERT_FALSE(game.MoveInProgress()) << "step " << steps;
        ASSERT_TRUE(EveryCardKept(win)) << "step " << steps << ", round " << rounds;
        ASSERT_TRUE(kept_in_flight) << "during a flight before step " << steps;
        if (win.IsClosing()) break;
        ASSERT_EQ(game.CurPlayer, 1) << "the human's turn again after step " << steps;
        // Now and then the game so far, as a record, plays to the table shown.
        if (steps % 127 == 0 && !win.Building().Picking()) {
            ASSERT_TRUE(gui_test::RecordReplaysToTheTable(win)) << "step " << steps;
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
        EXPECT_GT(given[static_cast<std::size_t>(command)], 0) << "command " << command << " was never given";
    EXPECT_GT(given_in_moves, 0);
    EXPECT_GT(records_replayed, 5);
    for (const auto& [title, text] : setup.messages) ADD_FAILURE() << title.toStdString() << ": " << text.toStdString();
    std::printf("[ soak     ] %d rounds, %d steps, %d flights, %d commands in moves, %d game overs\n", rounds, steps,
                watcher.flights, given_in_moves, answerer.game_overs);
}

}  // namespace
}  // namespace kvt
