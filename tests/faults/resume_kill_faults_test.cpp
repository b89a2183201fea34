// The game in progress kept after every move, with the program killed after
// a random number of moves, at a random byte of keeping the next one: the
// next start brings back the table of the last move kept whole, never a
// mangled one.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/computer_seat.h"
#include "match/match_driver.h"
#include "shell/table_resume.h"
#include "tests/test_support.h"

namespace kvt::faults {
namespace {

constexpr std::uint64_t kSeed = 20240607;

// The table and its score sheet, as a start brings them back.
std::string Snapshot(const Game& game) {
    std::string text = WriteTableState(game.State());
    for (int row = 0; row < ScoreSheet::kRows; ++row)
        for (int p = 1; p <= 4; ++p) text += game.Sheet().Cell(row, p) + (game.Sheet().Struck(row, p) ? "/" : "|");
    return text;
}

// Four computers playing move after move, the game kept after each.
class KeptMatch {
public:
    explicit KeptMatch(test::TableFixture& fixture) : game_(fixture.NewGameObject(kSeed)), computer_(*game_), driver_(*game_) {
        game_->ComputerSeat1 = true;
        game_->PlayerSounds = false;
        for (int p = 1; p <= 4; ++p) game_->PlayerInfo[p].Name = "P" + std::to_string(p);
        EXPECT_TRUE(game_->ReloadCardSet().ok());
        game_->NewGame();
        for (int seat = 1; seat <= 4; ++seat) driver_.SetSeat(seat, &computer_);
    }
    bool Step() {
        Events events;
        return driver_.Advance(events) == MatchDriver::Step::Applied;
    }
    Game& game() { return *game_; }

private:
    std::unique_ptr<Game> game_;
    ComputerSeat computer_;
    MatchDriver driver_;
};

TEST(ResumeKill, AKillInTheMiddleOfKeepingAMoveBringsBackTheMoveBefore) {
    test::TableFixture fixture;
    const auto file = fixture.folders.AppDir / "table-in-progress.txt";

    // The same match played here: the table after each move, 0 as dealt.
    std::vector<std::string> tables;
    KeptMatch reference(fixture);
    tables.push_back(Snapshot(reference.game()));
    const auto table_after = [&](std::size_t move) -> const std::string& {
        while (tables.size() <= move) {
            EXPECT_TRUE(reference.Step());
            tables.push_back(Snapshot(reference.game()));
        }
        return tables[move];
    };

    std::mt19937 chance(7);
    for (int trial = 0; trial < 12; ++trial) {
        std::filesystem::remove(file);
        // Killed while keeping a random move, at a random byte of it: the
        // file size limit ends the process with SIGXFSZ at that byte.
        const int kept = std::uniform_int_distribution<int>(0, 300)(chance);
        const double cut = std::uniform_real_distribution<double>(0, 1)(chance);
        const pid_t child = ::fork();
        if (child == 0) {
            KeptMatch match(fixture);
            TableResume resume(file);
            for (int move = 1; move <= kept; ++move)
                if (!match.Step() || !resume.Save(match.game())) ::_exit(2);
            const auto size = kept > 0 ? std::filesystem::file_size(file) : 1000;
            const rlimit limit{static_cast<rlim_t>(static_cast<double>(size) * cut), RLIM_INFINITY};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0 || !match.Step()) ::_exit(3);
            (void)resume.Save(match.game());
            ::_exit(4);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "trial " << trial << ": status " << status;

        auto restored = fixture.NewGameObject(1);
        restored->ComputerSeat1 = true;
        for (int p = 1; p <= 4; ++p) restored->PlayerInfo[p].Name = "P" + std::to_string(p);
        ASSERT_TRUE(restored->ReloadCardSet().ok());
        std::string why;
        const TableResume::Outcome outcome = TableResume(file).Restore(*restored, why);
        if (kept == 0) {
            EXPECT_EQ(outcome, TableResume::Outcome::kNothingSaved) << "trial " << trial;
            continue;
        }
        ASSERT_EQ(outcome, TableResume::Outcome::kResumed) << "trial " << trial << ": " << why;
        EXPECT_EQ(Snapshot(*restored), table_after(static_cast<std::size_t>(kept))) << "trial " << trial << ", move " << kept;
    }
}

}  // namespace
}  // namespace kvt::faults
