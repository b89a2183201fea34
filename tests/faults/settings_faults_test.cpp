// A settings file that cannot be written: the one place that reports it says
// so once, and the file stays as it was. (That the table goes on silently is
// pinned on the window.)

#include "fault_injection.h"
#include "platform/profile.h"
#include "platform/settings_keys.h"
#include "working_state.h"

namespace kvt::faults {
namespace {

using UnwritableSettings = WorkingState;

TEST_F(UnwritableSettings, ChoosingPlayersSaysItOnceAndKeepsTheChoiceInMemory) {
    // The folder of kvt.ini replaced by a regular file: no write can succeed,
    // whoever runs the test.
    fs::remove_all(folders().SettingsFile.parent_path());
    test::WriteBytes(folders().SettingsFile.parent_path(), "in the way");
    for (int p = 2; p <= 4; ++p) game.PlayerFile[p] = File("ada.dpf").string();
    const Status s = game.SavePlayerChoice();
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message().find('\n'), std::string::npos) << "one line, not one per seat:\n" << s.message();
    EXPECT_NE(s.message().find("kvt.ini"), std::string::npos) << s.message();
    EXPECT_EQ(game.PlayerFile[3], File("ada.dpf").string());
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

TEST_F(UnwritableSettings, ThatCannotGrowStayAsTheyWereAndTheLoadGoesOn) {
    // Comments make the settings file larger than the limit; the working
    // files of the new set stay below it.
    constexpr long kFileSizeLimit = 20000;
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

}  // namespace
}  // namespace kvt::faults
