// The statistics: rounds and games recorded once each, the figures derived from them, bad files set aside,
// whole rounds only after a killed writer, and the window of the Score menu.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <array>
#include <csignal>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "dialogs/score_frm.h"
#include "dialogs/statistics_frm.h"
#include "dialogs/totals_chart.h"
#include "gui_support.h"
#include "platform/statistics_store.h"

namespace kvt {
namespace {

using namespace gui_test;

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
    const std::vector<GameTotal> last = s.store.LastTotals(20);
    ASSERT_EQ(std::tuple(h2h.size(), last.size()), std::tuple(5u, 3u));
    EXPECT_EQ(std::tie(h2h[0].opponent, h2h[0].games, h2h[0].you_lower, h2h[0].they_lower, h2h[0].games_with_undo),
              std::make_tuple(std::string("Ann"), 2, 1, 1, 1));
    EXPECT_EQ(std::tuple(last[0].total, last[2].undo_used), std::tuple(5, true));
    EXPECT_EQ(Count(s.file, "SELECT count(*) FROM games WHERE state = 2"), 2) << "the games left by New Game, not finished";

    EXPECT_TRUE(s.store.Reset().ok() && s.store.FinishedGames() == 0);
}

TEST(Statistics, ARoundCountedAgainIsRecordedOnce) {
    Store s;
    // The same round twice, then scored again differently after a crash, then the next round.
    for (const auto& [points, totals] : {std::pair{Points{3, 0, 5, 7}, Points{3, 0, 5, 7}}, {{3, 0, 5, 7}, {3, 0, 5, 7}},
                                         {{4, 4, 0, 1}, {4, 4, 0, 1}}, {{1, 1, 1, 1}, {5, 5, 1, 2}}})
        ASSERT_TRUE(s.store.RecordRound({kPlainTable, points, totals}).ok());
    EXPECT_EQ(std::tuple(Count(s.file, "SELECT count(*) FROM games"), Count(s.file, "SELECT count(*) FROM rounds"),
                         Count(s.file, "SELECT sum(points) FROM rounds WHERE number = 1")),
              std::tuple(1, 8, 9));
}

TEST(Statistics, ABadFileIsSetAsideAndAFreshOneWorks) {
    // Not SQLite, or a good file of many games changed by a statement, and cut in half when told.
    const struct { const char* what; const char* sql; bool truncate = false; } cases[] = {
        {"not SQLite", nullptr}, {"a later version", "PRAGMA user_version = 99"},
        {"another program's", "DROP TABLE rounds"}, {"truncated", "SELECT 1", true}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const fs::path file = fs::path(dir.path().toStdString()) / "statistics.sqlite";
        std::string why;
        if (c.sql) {
            {  // a good file, closed before the statement changes it
                StatisticsStore good(file);
                ASSERT_EQ(good.Open(why), StatisticsStore::Opened::kReady) << why;
                for (int game = 0; game < 8; ++game) Play(good, kPlainTable, {{1, 2, 3, 4}, {5, 6, 7, 120}}, true);
            }
            Count(file, c.sql);
        } else {
            std::ofstream(file) << "games 3\nwins 2\n";
        }
        if (c.truncate) fs::resize_file(file, fs::file_size(file) / 2);
        StatisticsStore store(file);
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
    EXPECT_TRUE(store.Open(why) == StatisticsStore::Opened::kUnusable && !store.RecordRound({kPlainTable}).ok());
}

// A writer plays games of three rounds; two readers meanwhile see whole games only, and once the writer is
// killed mid-write the database opens as it is with whole rounds only.
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
                std::tie(round.totals, round.winner) = std::tuple(Points{r, 2 * r, 3 * r, 4 * r}, r == 3 ? 1 : 0);
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
    TableSetup setup;
    PlayWin& first = setup.OpenFast();
    Game& g = first.GameState();
    // A move taken back (the game counts apart), then the human's last card; no wild card: no group to name.
    PlayAMove(first, true);
    first.MenuEntry("MM_UNDO")->trigger();
    // The hand becomes that card alone, laid by mouse: scored, and still shown as the window closes.
    const Card last = g.Players[1][NoChoiceColumn(g, true)];
    g.Players[1].Clear();
    g.Players[1].Push(last);
    first.RedrawTable();
    ClickHand(first, 1, 0);
    QTest::mouseClick(first.Hands().AcceptDiscardBut(), Qt::LeftButton);
    ASSERT_TRUE(g.Pending() == Decision::AcknowledgeScore && first.MoveRunning());
    const std::array<std::int16_t, 5> totals = g.Scores;
    setup.Close();

    PlayWin& second = setup.OpenFast();
    ASSERT_TRUE(second.ScoreWindow() && second.ScoreWindow()->isVisible()) << "the sheet asks for its OK again";
    QTest::mouseClick(second.ScoreWindow()->OkBut(), Qt::LeftButton);
    ASSERT_TRUE(WaitForHuman(second));
    EXPECT_EQ(second.GameState().Scores, totals) << "the next round is dealt, nothing counted twice";
    // One round of four seats, not counted again on resume.
    const fs::path file = setup.folders.AppDir / "statistics.sqlite";
    EXPECT_EQ(std::tuple(Count(file, "SELECT count(*) FROM rounds"), Count(file, "SELECT undo_used FROM games")), std::tuple(4, 1));

    GameIdentity marked = kPlainTable;
    marked.names[1] = "<b>Ann</b>";
    Play(*second.Statistics(), marked, {{1, 2, 3, 150}}, true);
    second.MenuEntry("MM_STATISTICS")->trigger();
    StatisticsFrm* stats = second.StatisticsWindow();
    ASSERT_TRUE(stats && stats->Table(0)->rowCount() >= 1);
    EXPECT_EQ(std::tuple(stats->isVisible(), stats->isModal(), stats->Table(0)->item(0, 0)->text(), stats->Chart()->Totals().size()),
              std::tuple(true, false, "<b>Ann</b>", 1u));
}

}  // namespace
}  // namespace kvt
