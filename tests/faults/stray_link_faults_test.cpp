// A link left under one of our temporary names (an interrupted run, or put
// there by something else) must not lead a write out of our folders.

#include "platform/files.h"
#include "platform/profile.h"
#include "shell/settings_keys.h"
#include "working_state.h"

namespace kvt::faults {
namespace {

TEST_F(WorkingState, ALinkUnderATemporaryNameIsNotFollowed) {
    const fs::path outside = Root() / "outside.txt";
    test::WriteBytes(outside, "not ours");
    for (const fs::path& target : {folders().AppDir / files::kCardBitmap, folders().SettingsFile}) {
        fs::path temporary = target;
        temporary += ".tmp";
        fs::create_symlink(outside, temporary);
    }
    EXPECT_TRUE(game.LoadCardSetCommand(WriteCardSet("other.cds", test::SampleCardSetFile(other_set))));
    EXPECT_TRUE(game.Settings().WriteString(settings::kMisc, settings::kSort, " 0"));
    EXPECT_EQ(test::ReadBytes(outside), "not ours");
    EXPECT_FALSE(fs::is_symlink(folders().AppDir / files::kCardBitmap));
    EXPECT_FALSE(fs::is_symlink(folders().SettingsFile));
    EXPECT_EQ(game.Settings().ReadInt(settings::kMisc, settings::kSort, -1), 0);
}

}  // namespace
}  // namespace kvt::faults
