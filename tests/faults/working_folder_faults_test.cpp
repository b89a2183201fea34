// Faults of the working and settings folders and the files in them: a folder
// that cannot be written, fills up midway, has gone or cannot be created.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <optional>

#include "engine/card_set_switch.h"
#include "fault_support.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/settings_keys.h"
#include "shell/command_line.h"

namespace kvt::faults {
namespace {

using players_test::FakeBytes;
using players_test::SamplePlayer;

// Larger than any working file of the state in force, smaller than the new ones.
constexpr long kFileSizeLimit = 20000;
constexpr std::size_t kLargePart = 60000;

class UnwritableFolder : public WorkingState {
protected:
    // Runs `body` under the hamper; the working files must be byte for byte as before afterwards. Nothing
    // when the hamper cannot be set up here (`skipped` says why).
    std::optional<std::string> Run(Hamper hamper, const std::function<std::string()>& body) {
        const auto before = players_test::Snapshot(folders().AppDir);
        const ChildRun run = RunHampered(hamper, folders().AppDir.string(), kFileSizeLimit, body);
        skipped = run.skipped;
        if (!skipped.empty()) return std::nullopt;
        EXPECT_EQ(run.crashed, "");
        EXPECT_TRUE(players_test::Snapshot(folders().AppDir) == before) << run.output;
        return run.output;
    }
    std::string skipped;
};

// A load refused names the file and the cause; the game state stays and the next round is dealt.
TEST_F(UnwritableFolder, LoadsThatCannotBeWrittenOrGrowChangeNothing) {
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set, 3000, 200, 50));
    const fs::path large = WriteCardSet("large.cds", test::SampleCardSetFile(other_set, kLargePart, 300, 40));
    PlayerFileContents bob = SamplePlayer();
    bob.Header.Name = "Bob";
    const fs::path bob_file = WritePlayer("bob.dpf", bob);
    // The clip written last fails, after the picture and the other clips.
    bob.Clips[1].Bytes = FakeBytes("RIFF", kLargePart);
    const fs::path late_clip = WritePlayer("late-clip.dpf", bob);
    bob.Picture = FakeBytes("BM", kLargePart);
    const fs::path large_bob = WritePlayer("large-bob.dpf", bob);
    const auto load = [this](const fs::path& set) {
        return [this, set] { return VerdictAfter([&] { return game.LoadCardSetCommand(set); }); };
    };
    const auto unpack = [this](const fs::path& file) {
        return [this, file] { return VerdictAfter([&] { return game.ExtractPlayer(file, 2); }); };
    };
    const auto card_set = [](const fs::path& set) { return "Cannot load the card set \"" + set.string() + "\""; };
    const auto player = [](const fs::path& file) { return "Cannot load the player file \"" + file.string() + "\""; };
    const struct {
        Hamper hamper;
        std::function<std::string()> body;
        std::string opening;
        std::vector<std::string> causes;
    } cases[] = {
        {Hamper::kNoWriteAccess, load(other), card_set(other), {"CardSet.new", "Permission denied"}},
        {Hamper::kNoWriteAccess, unpack(bob_file), player(bob_file), {"Permission denied"}},
        // The round's reload goes on from the working copy.
        {Hamper::kNoWriteAccess, [this] { return VerdictAfter(Status::Ok); }, "ok", {}},
        {Hamper::kFileSizeLimit, load(large), card_set(large), {"CurCards.cdm", "File too large"}},
        {Hamper::kFileSizeLimit, unpack(large_bob), player(large_bob), {kPlayerPictureName, "File too large"}},
        {Hamper::kFileSizeLimit, unpack(late_clip), player(late_clip), {"Comment1.wav", "File too large"}},
    };
    std::string skips;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opening);
        const auto out = Run(c.hamper, c.body);
        if (!out) skips += skipped + "\n";
        else EXPECT_TRUE(out->starts_with(c.opening) && out->ends_with(kKeptAndDealt) && Contains(*out, c.causes))
                 << *out;
    }

    // Without a working copy the fallback to the shipped set cannot be written either: the message says so,
    // and the round goes on with the set in force.
    fs::remove(folders().AppDir / files::kCardDefs);
    const auto out = Run(Hamper::kNoWriteAccess, [&] {
        const Status s = game.NextRound(FirstDiscardRule::kWild);
        return Verdict(s, StateKept(), game.Players[1].Count() == kHandSize);
    });
    if (!out) skips += skipped;
    else EXPECT_TRUE(Contains(*out, {files::kDefaultCardSet, "CardSet.new"}) && out->ends_with(kKeptAndDealt))
             << *out;
    if (!skips.empty()) GTEST_SKIP() << "cannot set every hamper up here: " << skips;
}

// The working folder on a file system of 64 KiB: the state in force fits,
// a large card set or player file does not.
using FullDisk = WorkingState;
TEST_F(FullDisk, ATinyFileSystemRunsOutOfSpaceMidwayAndChangesNothing) {
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set, 200000));
    PlayerFileContents big = SamplePlayer();
    big.Picture = FakeBytes("BM", 200000);
    const fs::path big_bob = WritePlayer("big-bob.dpf", big);
    const ChildRun run = RunHampered(Hamper::kSmallDisk, folders().AppDir.string(), 64 * 1024, [&] {
        if (!game.LoadCardSetCommand(File("first.cds")) || !game.ExtractPlayer(File("ada.dpf"), 2))
            return std::string("the state in force does not fit");
        const auto before = players_test::Snapshot(folders().AppDir);
        const Status load = game.LoadCardSetCommand(other);
        const Status unpack = game.ExtractPlayer(big_bob, 2);
        const bool files_kept = players_test::Snapshot(folders().AppDir) == before;
        return load.message() + "\n" + unpack.message() + "\n" + Verdict(Status::Ok(), StateKept() && files_kept,
                                                                         NextRoundDealt());
    });
    if (!run.skipped.empty()) GTEST_SKIP() << "no small file system here: " << run.skipped;
    ASSERT_EQ(run.crashed, "");
    EXPECT_TRUE(Contains(run.output, {"other.cds", "big-bob.dpf", "No space left on device"})) << run.output;
    EXPECT_TRUE(run.output.ends_with(kKeptAndDealt)) << run.output;
}

// The folder above the working folder is replaced by a regular file, so the
// working folder can neither be read nor created; then the file goes again.
TEST_F(WorkingState, AWorkingFolderThatCannotBeCreatedRefusesWithTheFolderNamed) {
    const fs::path parent = folders().AppDir.parent_path();
    const fs::path aside = parent.string() + ".aside";
    fs::rename(parent, aside);
    test::WriteBytes(parent, "a file where the folder was");
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set));
    const auto before = players_test::Snapshot(Root());

    const Status load = game.LoadCardSetCommand(other);
    EXPECT_TRUE(Contains(load.message(), {"other.cds", folders().AppDir.string(), "Not a directory"}))
        << load.message();
    const Status unpack = game.ExtractPlayer(File("ada.dpf"), 3);
    EXPECT_TRUE(Contains(unpack.message(), {"ada.dpf", "Not a directory"})) << unpack.message();
    const Status round = game.NextRound(FirstDiscardRule::kWild);
    EXPECT_TRUE(Contains(round.message(), {files::kDefaultCardSet})) << round.message();
    EXPECT_EQ(game.Players[1].Count(), kHandSize) << "the round is dealt from the set in memory";
    EXPECT_TRUE(StateKept() && players_test::Snapshot(Root()) == before);

    fs::remove(parent);
    fs::rename(aside, parent);
    EXPECT_TRUE(game.NextRound(FirstDiscardRule::kWild) && game.LoadCardSetCommand(other) && game.CardSet == other_set);
}

// A settings file that cannot be written: the one place that reports it says so once, and the file stays as
// it was. (That the table goes on silently is pinned on the window.)
using UnwritableSettings = WorkingState;

TEST_F(UnwritableSettings, ChoosingPlayersSaysItOnceAndKeepsTheChoiceInMemory) {
    // The folder of kvt.ini replaced by a regular file: no write can succeed, whoever runs the test.
    fs::remove_all(folders().SettingsFile.parent_path());
    test::WriteBytes(folders().SettingsFile.parent_path(), "in the way");
    for (int p = 2; p <= 4; ++p) game.PlayerFile[p] = File("ada.dpf").string();
    const Status s = game.SavePlayerChoice();
    EXPECT_TRUE(!s.ok() && Contains(s.message(), {"kvt.ini"})) << s.message();
    EXPECT_EQ(s.message().find('\n'), std::string::npos) << "one line, not one per seat:\n" << s.message();
    EXPECT_EQ(game.PlayerFile[3], File("ada.dpf").string());
}

// Without write access, or when a write would grow it past the file size limit, kvt.ini stays as it was;
// a load goes on all the same.
TEST_F(UnwritableSettings, WithoutWriteAccessOrRoomToGrowTheFileStaysAsItWasAndTheLoadGoesOn) {
    (void)game.Settings().WriteString(settings::kMisc, settings::kSort, "-1");
    const std::string before = test::ReadBytes(folders().SettingsFile);
    const ChildRun denied =
        RunHampered(Hamper::kNoWriteAccess, folders().SettingsFile.parent_path().string(), 0, [&] {
            return game.Settings().WriteString(settings::kMisc, settings::kSort, " 0").message();
        });
    EXPECT_TRUE(!denied.skipped.empty() || Contains(denied.output, {"kvt.ini", "Permission denied"}))
        << denied.output;
    EXPECT_EQ(test::ReadBytes(folders().SettingsFile), before);

    // Comments make the settings file larger than the limit; the working files of the new set stay below it.
    const std::string ini_before = before + std::string(kFileSizeLimit, ';') + "\n";
    test::WriteBytes(folders().SettingsFile, ini_before);
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set));
    const ChildRun run = RunHampered(Hamper::kFileSizeLimit, "", kFileSizeLimit, [&] {
        const Status load = game.LoadCardSetCommand(other);
        const Status write = game.Settings().WriteString(settings::kMisc, settings::kSort, " 0");
        return Verdict(load, game.CardSet == other_set, NextRoundDealt()) + "\n" + write.message();
    });
    ASSERT_EQ(run.crashed, "");
    EXPECT_TRUE(run.output.starts_with("ok\nkept: yes\ndealt: yes\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, {"kvt.ini", "File too large"})) << run.output;
    EXPECT_EQ(test::ReadBytes(folders().SettingsFile), ini_before);
    EXPECT_FALSE(fs::exists(folders().SettingsFile.string() + ".tmp"));
    if (!denied.skipped.empty()) GTEST_SKIP() << "cannot take write access away: " << denied.skipped;
}

// FIFOs and links where the table expects its files. Opening a FIFO with no writer would wait for ever, so
// each read is refused at once with a message naming it; a link under one of our temporary names (an
// interrupted run, or put there by something else) must not lead a write out of our folders.
using FifoAtPath = WorkingState;

TEST_F(FifoAtPath, EveryReadIsRefusedAtOnceNamingTheFile) {
    // What the FIFO stands for, where it goes, and what then reads it; the message it gives.
    using Read = std::function<std::string(Game&, const fs::path&)>;
    const std::tuple<const char*, fs::path, Read> cases[] = {
        {"a card set", File("fifo.cds"), [](Game& g, const fs::path& p) { return g.LoadCardSetFile(p).message(); }},
        {"a player file", File("fifo.dpf"), [](Game& g, const fs::path& p) { return g.ExtractPlayer(p, 3).message(); }},
        {"a remembered player file", File("seat.dpf"),
         [](Game& g, const fs::path& p) {
             for (int seat = 2; seat <= 4; ++seat)
                 (void)g.Settings().WriteString(settings::kPlayersFile, "Player" + std::to_string(seat), p.string());
             return g.LoadPlayers().message();
         }},
        {"CurCards.cdf", game.AppDir / files::kCardDefs,
         [](Game& g, const fs::path&) { return g.ReloadCardSet().message(); }},
        // Settings that cannot be read are never written over.
        {"kvt.ini", folders().SettingsFile,
         [](Game&, const fs::path& p) {
             Profile ini(p);
             EXPECT_FALSE(ini.WriteString(settings::kMisc, settings::kSort, " 0"));
             return ini.Problem();
         }},
        {"a file named on the command line", File("named"),
         [](Game&, const fs::path& p) {
             (void)KindOfCommandLineFile(p);
             FileBytes bytes;
             return ReadFileBytes(p, bytes, 100).message();
         }},
    };
    for (const auto& [what, fifo, read] : cases) {
        fs::remove(fifo);
        fs::create_directories(fifo.parent_path());
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0) << fifo;
        const std::string message = read(game, fifo);
        EXPECT_TRUE(Contains(message, {fifo.string()})) << what << ": " << message;
        // Only the working copy is replaced, by the shipped set.
        EXPECT_EQ(fs::is_fifo(fifo), fifo != game.AppDir / files::kCardDefs) << what;
        fs::remove(fifo);
    }
}

TEST_F(WorkingState, ALinkUnderATemporaryNameIsNotFollowed) {
    const fs::path outside = Root() / "outside.txt";
    test::WriteBytes(outside, "not ours");
    for (const fs::path& target : {folders().AppDir / files::kCardBitmap, folders().SettingsFile})
        fs::create_symlink(outside, target.string() + ".tmp");
    EXPECT_TRUE(game.LoadCardSetCommand(WriteCardSet("other.cds", test::SampleCardSetFile(other_set))));
    EXPECT_TRUE(game.Settings().WriteString(settings::kMisc, settings::kSort, " 0"));
    EXPECT_EQ(test::ReadBytes(outside), "not ours");
    EXPECT_FALSE(fs::is_symlink(folders().AppDir / files::kCardBitmap) || fs::is_symlink(folders().SettingsFile));
    EXPECT_EQ(game.Settings().ReadInt(settings::kMisc, settings::kSort, -1), 0);
}

// A card-set switch ended by a kill at every step, and two processes switching at once: after the next
// start's repair the working files hold exactly one whole card set, and nothing temporary is left behind.
int steps_left = 0;

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

    // "first", "other", or what the working folder holds instead, after the repair that every start runs.
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

    static pid_t Start(const std::function<void()>& body) {
        const pid_t child = ::fork();
        if (child == 0) {
            body();
            ::_exit(0);
        }
        return child;
    }
    static bool Finished(pid_t child) {
        int status = 0;
        return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    fs::path first, other;
    std::map<std::string, std::string> first_files, other_files;
};

TEST_F(CardSetSwitchFaults, AKillAtEveryStepLeavesOneWholeSet) {
    int step = 1;
    for (bool finished = false; !finished; ++step) {
        finished = Finished(Start([&] {
            steps_left = step;
            SetSwitchStepHook([](const char*) {
                if (--steps_left == 0) ::raise(SIGKILL);  // as a kill would
            });
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
