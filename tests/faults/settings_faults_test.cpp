// A settings file that cannot be written: the one place that reports it says
// so once. (That the table goes on silently is pinned on the window.)

#include "fault_injection.h"
#include "platform/profile.h"
#include "shell/settings_keys.h"
#include "working_state.h"

namespace kvt::faults {
namespace {

class UnwritableSettings : public WorkingState {
protected:
    // The folder of kvt.ini replaced by a regular file: no write can succeed,
    // whoever runs the test.
    void BlockSettings() {
        fs::remove_all(folders().SettingsFile.parent_path());
        test::WriteBytes(folders().SettingsFile.parent_path(), "in the way");
    }
};

TEST_F(UnwritableSettings, ChoosingPlayersSaysItOnceAndKeepsTheChoiceInMemory) {
    BlockSettings();
    for (int p = 2; p <= 4; ++p) game.PlayerFile[p] = (Root() / "files" / "ada.dpf").string();
    const Status s = game.SavePlayerChoice();
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message().find('\n'), std::string::npos) << "one line, not one per seat:\n" << s.message();
    EXPECT_NE(s.message().find("kvt.ini"), std::string::npos) << s.message();
    EXPECT_EQ(game.PlayerFile[3], (Root() / "files" / "ada.dpf").string());
}

TEST_F(UnwritableSettings, WithoutWriteAccessTheFileStaysAsItWas) {
    (void)game.Settings().WriteString(settings::kMisc, settings::kSort, "-1");
    const std::string before = test::ReadBytes(folders().SettingsFile);
    const ChildRun run =
        RunHampered(Hamper::kNoWriteAccess, folders().SettingsFile.parent_path().string(), 0, [&] {
            const Status s = game.Settings().WriteString(settings::kMisc, settings::kSort, " 0");
            return s.message();
        });
    if (!run.skipped.empty()) GTEST_SKIP() << "cannot take write access away: " << run.skipped;
    EXPECT_TRUE(Contains(run.output, "kvt.ini") && Contains(run.output, "Permission denied")) << run.output;
    EXPECT_EQ(test::ReadBytes(folders().SettingsFile), before);
}

}  // namespace
}  // namespace kvt::faults
