// A card-set switch ended by a kill at every step, and two processes
// switching at once: after the next start's repair the working files hold
// exactly one whole card set, and nothing temporary is left behind.

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "engine/card_set_switch.h"
#include "fault_support.h"

namespace kvt::faults {
namespace {

int steps_left = 0;

// Ends the process as a kill would, at the chosen step.
void KillAtStep(const char*) {
    if (--steps_left == 0) ::raise(SIGKILL);
}

class CardSetSwitchFaults : public WorkingState {
protected:
    void SetUp() override {
        WorkingState::SetUp();
        first = File("first.cds");
        other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set, 3000, 200, 0));
        ASSERT_TRUE(game.LoadCardSetFile(other));
        other_files = test::FilesIn(folders().AppDir);
        ASSERT_TRUE(game.LoadCardSetFile(first));
        first_files = test::FilesIn(folders().AppDir);
        ASSERT_NE(first_files, other_files);
    }

    // "first", "other", or what the working folder holds instead, after the
    // repair that every start runs.
    std::string InForce() {
        FileLock lock;
        if (Status s = LockAndRepairWorkingFiles(folders().AppDir, lock); !s) return s.message();
        for (const char* leftover : {kStagingFolder, kSwitchJournal, "CurCards.cdm.tmp"})
            if (fs::exists(fs::symlink_status(folders().AppDir / leftover))) return std::string("left: ") + leftover;
        const auto now = test::FilesIn(folders().AppDir);
        if (now == first_files) return "first";
        if (now == other_files) return "other";
        std::string names = "a mix:";
        for (const auto& [name, bytes] : now) names += " " + name + "(" + std::to_string(bytes.size()) + ")";
        return names;
    }

    // Runs `body` in a child and returns at once.
    static pid_t Start(const std::function<void()>& body) {
        const pid_t child = ::fork();
        if (child == 0) {
            body();
            ::_exit(0);
        }
        return child;
    }
    // True when the child ran to its end.
    static bool Finished(pid_t child) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    fs::path first, other;
    std::map<std::string, std::string> first_files, other_files;
};

TEST_F(CardSetSwitchFaults, AKillAtEveryStepLeavesOneWholeSet) {
    int step = 1;
    for (bool finished = false; !finished; ++step) {
        finished = Finished(Start([&] {
            steps_left = step;
            SetSwitchStepHook(KillAtStep);
            (void)game.LoadCardSetFile(other);
        }));
        const std::string in_force = InForce();
        // Before the journal the old set stays; from the journal on, the new one comes.
        EXPECT_TRUE(in_force == "first" || in_force == "other") << "killed at step " << step << ": " << in_force;
        EXPECT_TRUE(!finished || in_force == "other") << "the switch ran to its end: " << in_force;
        ASSERT_TRUE(game.LoadCardSetFile(first));
        ASSERT_LT(step, 50) << "the switch never ran to its end";
    }
    EXPECT_GE(step, 8);  // staging, files, journal, four moves, clean-up
}

TEST_F(CardSetSwitchFaults, TwoProcessesSwitchingAtOnceNeverMix) {
    // Each child switches fifty times and, between its switches, looks at
    // what is in force while holding the lock.
    const auto switcher = [&](const fs::path& set) {
        return [&, set] {
            for (int i = 0; i < 50; ++i) {
                if (!game.LoadCardSetFile(set)) ::_exit(2);
                const std::string seen = InForce();
                if (seen != "first" && seen != "other") ::_exit(3);
            }
        };
    };
    const pid_t a = Start(switcher(first));
    const pid_t b = Start(switcher(other));
    const bool a_finished = Finished(a);
    EXPECT_TRUE(Finished(b) && a_finished);
    const std::string in_force = InForce();
    EXPECT_TRUE(in_force == "first" || in_force == "other") << in_force;
}

}  // namespace
}  // namespace kvt::faults
