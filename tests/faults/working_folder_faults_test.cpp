// A working folder that cannot be written, has gone, or cannot be created.

#include <optional>

#include "fault_injection.h"
#include "working_state.h"

namespace kvt::faults {
namespace {

using players_test::SamplePlayer;

class UnwritableFolder : public WorkingState {
protected:
    // Runs `body` without write access to the working folder; the working
    // files must be byte for byte as before afterwards. Nothing when write
    // access cannot be taken away here (`skipped` says why).
    std::optional<std::string> Run(const std::function<std::string()>& body) {
        const auto before = players_test::Snapshot(folders().AppDir);
        const ChildRun run = RunHampered(Hamper::kNoWriteAccess, folders().AppDir.string(), 0, body);
        skipped = run.skipped;
        if (!skipped.empty()) return std::nullopt;
        EXPECT_EQ(run.crashed, "");
        EXPECT_TRUE(players_test::Snapshot(folders().AppDir) == before) << run.output;
        return run.output;
    }
    std::string skipped;
};

TEST_F(UnwritableFolder, LoadingACardSetIsRefusedWithTheFileNamed) {
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set, 3000, 200, 50));
    const auto out = Run([&] {
        const Status s = game.LoadCardSetCommand(other);
        return Verdict(s, StateKept(), NextRoundDealt());
    });
    if (!out) GTEST_SKIP() << "cannot take write access away: " << skipped;
    EXPECT_TRUE(out->starts_with("Cannot load the card set \"" + other.string() + "\"")) << *out;
    EXPECT_TRUE(Contains(*out, "CardSet.new") && Contains(*out, "Permission denied")) << *out;
    EXPECT_TRUE(out->ends_with(kKeptAndDealt)) << *out;
}

TEST_F(UnwritableFolder, UnpackingAPlayerFileKeepsTheSeatsOpponent) {
    PlayerFileContents bob = SamplePlayer();
    bob.Header.Name = "Bob";
    const fs::path file = WritePlayer("bob.dpf", bob);
    const auto out = Run([&] {
        const Status s = game.ExtractPlayer(file, 2);
        return Verdict(s, StateKept(), NextRoundDealt());
    });
    if (!out) GTEST_SKIP() << "cannot take write access away: " << skipped;
    EXPECT_TRUE(out->starts_with("Cannot load the player file \"" + file.string() + "\"")) << *out;
    EXPECT_TRUE(Contains(*out, "Permission denied")) << *out;
    EXPECT_TRUE(out->ends_with(kKeptAndDealt)) << *out;
}

TEST_F(UnwritableFolder, TheRoundsReloadGoesOnFromTheWorkingCopy) {
    const auto out = Run([&] { return Verdict(Status::Ok(), StateKept(), NextRoundDealt()); });
    if (!out) GTEST_SKIP() << "cannot take write access away: " << skipped;
    EXPECT_EQ(*out, std::string("ok") + kKeptAndDealt);
}

TEST_F(UnwritableFolder, WithoutAWorkingCopyTheRoundIsDealtFromTheSetInMemory) {
    // The fallback to the shipped set cannot be written: the message says
    // so, and the round goes on with the set in force.
    fs::remove(folders().AppDir / files::kCardDefs);
    const auto out = Run([&] {
        const Status s = game.NextRound(FirstDiscardRule::kWild);
        return Verdict(s, StateKept(), game.Players[1].Count() == kHandSize);
    });
    if (!out) GTEST_SKIP() << "cannot take write access away: " << skipped;
    EXPECT_TRUE(Contains(*out, files::kDefaultCardSet) && Contains(*out, "CardSet.new")) << *out;
    EXPECT_TRUE(out->ends_with(kKeptAndDealt)) << *out;
}

TEST_F(WorkingState, AVanishedWorkingFolderIsBuiltAgainFromTheShippedSet) {
    fs::remove_all(folders().AppDir);
    ASSERT_TRUE(NextRoundDealt());
    EXPECT_EQ(game.CardSet.GameTitle, FitTitle("Shipped default"));
    EXPECT_TRUE(fs::is_regular_file(folders().AppDir / files::kCardBitmap));
    EXPECT_TRUE(game.ExtractPlayer(Root() / "files" / "ada.dpf", 3)) << "the seat folders come back too";
    EXPECT_TRUE(fs::is_regular_file(game.PlayerDir[3] / kPlayerPictureName));
}

// The folder above the working folder is replaced by a regular file, so the
// working folder can neither be read nor created; then the file goes again.
TEST_F(WorkingState, AWorkingFolderThatCannotBeCreatedRefusesWithTheFolderNamed) {
    const fs::path parent = folders().AppDir.parent_path();
    fs::path aside = parent;
    aside += ".aside";
    fs::rename(parent, aside);
    test::WriteBytes(parent, "a file where the folder was");
    const fs::path other = WriteCardSet("other.cds", test::SampleCardSetFile(other_set));
    const auto before = Files();

    const Status load = game.LoadCardSetCommand(other);
    EXPECT_TRUE(Contains(load.message(), "other.cds") && Contains(load.message(), folders().AppDir.string()) &&
                Contains(load.message(), "Not a directory"))
        << load.message();
    const Status unpack = game.ExtractPlayer(Root() / "files" / "ada.dpf", 3);
    EXPECT_TRUE(Contains(unpack.message(), "ada.dpf") && Contains(unpack.message(), "Not a directory"))
        << unpack.message();
    const Status round = game.NextRound(FirstDiscardRule::kWild);
    EXPECT_TRUE(Contains(round.message(), files::kDefaultCardSet)) << round.message();
    EXPECT_EQ(game.Players[1].Count(), kHandSize) << "the round is dealt from the set in memory";
    EXPECT_TRUE(StateKept());
    EXPECT_TRUE(Files() == before);

    fs::remove(parent);
    fs::rename(aside, parent);
    EXPECT_TRUE(game.NextRound(FirstDiscardRule::kWild));
    EXPECT_TRUE(game.LoadCardSetCommand(other));
    EXPECT_EQ(game.CardSet, other_set);
}

}  // namespace
}  // namespace kvt::faults
