// Writes that fail midway: files may not grow past a limit (EFBIG, runs
// anywhere) or the working folder is a tiny file system (ENOSPC, where the
// process may mount one).

#include "fault_injection.h"
#include "platform/profile.h"
#include "shell/settings_keys.h"
#include "working_state.h"

namespace kvt::faults {
namespace {

using players_test::FakeBytes;
using players_test::SamplePlayer;

// Larger than any working file of the state in force, smaller than the new ones.
constexpr long kFileSizeLimit = 20000;
constexpr std::size_t kLargePart = 60000;

class FullDisk : public WorkingState {
protected:
    // Runs `body` with the file size limit; the working files must be byte
    // for byte as before afterwards, with no temporary file left. (The
    // round dealt after the fault may write the settings: they fit.)
    std::string RunLimited(const std::function<std::string()>& body) {
        const auto before = players_test::Snapshot(folders().AppDir);
        const ChildRun run = RunHampered(Hamper::kFileSizeLimit, "", kFileSizeLimit, body);
        EXPECT_EQ(run.skipped, "");
        EXPECT_EQ(run.crashed, "");
        EXPECT_TRUE(players_test::Snapshot(folders().AppDir) == before) << run.output;
        return run.output;
    }
    PlayerFileContents LargePlayer() const {
        PlayerFileContents bob = SamplePlayer();
        bob.Header.Name = "Bob";
        bob.Picture = FakeBytes("BM", kLargePart);
        return bob;
    }
};

TEST_F(FullDisk, ACardSetWhoseBitmapCannotBeWrittenChangesNothing) {
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set, kLargePart, 300, 40));
    const std::string out = RunLimited([&] {
        const Status s = game.LoadCardSetCommand(other);
        return Verdict(s, StateKept(), NextRoundDealt());
    });
    EXPECT_TRUE(out.starts_with("Cannot load the card set \"" + other.string() + "\"")) << out;
    EXPECT_TRUE(Contains(out, "CurCards.cdm") && Contains(out, "File too large")) << out;
    EXPECT_TRUE(out.ends_with(kKeptAndDealt)) << out;
}

TEST_F(FullDisk, APlayerFileWhosePictureCannotBeWrittenKeepsTheSeat) {
    const fs::path file = WritePlayer("bob.dpf", LargePlayer());
    const std::string out = RunLimited([&] {
        const Status s = game.ExtractPlayer(file, 2);
        return Verdict(s, StateKept(), NextRoundDealt());
    });
    EXPECT_TRUE(out.starts_with("Cannot load the player file \"" + file.string() + "\"")) << out;
    EXPECT_TRUE(Contains(out, kPlayerPictureName) && Contains(out, "File too large")) << out;
    EXPECT_TRUE(out.ends_with(kKeptAndDealt)) << out;
}

TEST_F(FullDisk, SettingsThatCannotBeWrittenStayAsTheyWereAndTheLoadGoesOn) {
    // Comments make the settings file larger than the limit; the working
    // files of the new set stay below it.
    (void)game.Settings().WriteString(settings::kMisc, settings::kSort, "-1");
    test::WriteBytes(folders().SettingsFile,
                     test::ReadBytes(folders().SettingsFile) + std::string(kFileSizeLimit, ';') + "\n");
    const std::string ini_before = test::ReadBytes(folders().SettingsFile);
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set));
    const ChildRun run = RunHampered(Hamper::kFileSizeLimit, "", kFileSizeLimit, [&] {
        const Status load = game.LoadCardSetCommand(other);
        const Status write = game.Settings().WriteString(settings::kMisc, settings::kSort, " 0");
        return Verdict(load, game.CardSet == other_set, NextRoundDealt()) + "\n" + write.message();
    });
    ASSERT_EQ(run.crashed, "");
    EXPECT_TRUE(run.output.starts_with("ok\nkept: yes\ndealt: yes\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, "kvt.ini") && Contains(run.output, "File too large")) << run.output;
    EXPECT_EQ(test::ReadBytes(folders().SettingsFile), ini_before);
    EXPECT_FALSE(fs::exists(folders().SettingsFile.string() + ".tmp"));
    EXPECT_EQ(test::ReadBytes(folders().AppDir / files::kCardDefs), EncodeCardSetDef(other_set));
}

// The working folder on a file system of 64 KiB: the state in force fits,
// a large card set or player file does not.
TEST_F(FullDisk, ATinyFileSystemRunsOutOfSpaceMidwayAndChangesNothing) {
    const fs::path first = Root() / "files" / "first.cds";
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set, 200000));
    PlayerFileContents big = LargePlayer();
    big.Picture = FakeBytes("BM", 200000);
    const fs::path big_bob = WritePlayer("big-bob.dpf", big);
    const ChildRun run = RunHampered(Hamper::kSmallDisk, folders().AppDir.string(), 64 * 1024, [&] {
        if (!game.LoadCardSetCommand(first) || !game.ExtractPlayer(Root() / "files" / "ada.dpf", 2))
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
    EXPECT_TRUE(Contains(run.output, "other.cds") && Contains(run.output, "big-bob.dpf")) << run.output;
    EXPECT_TRUE(Contains(run.output, "No space left on device")) << run.output;
    EXPECT_TRUE(run.output.ends_with(kKeptAndDealt)) << run.output;
}

}  // namespace
}  // namespace kvt::faults
