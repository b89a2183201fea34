// A second table on the same folders: it finds the first, can call it
// forward, and when it runs anyway it writes no settings.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "platform/profile.h"
#include "shell/single_table.h"
#include "tests/test_support.h"

namespace kvt {
namespace {

TEST(SecondTable, FindsTheFirstAndCallsItForward) {
    QTemporaryDir folders;
    const std::filesystem::path app_dir = folders.path().toStdString();
    SingleTable first(app_dir / "kvt");
    SingleTable second(app_dir / "kvt");
    SingleTable elsewhere(app_dir / "other");
    EXPECT_FALSE(second.CallForward());  // nobody there yet
    ASSERT_TRUE(first.Claim());
    EXPECT_FALSE(second.Claim());
    EXPECT_TRUE(elsewhere.Claim());
    QSignalSpy forward(&first, &SingleTable::ForwardWanted);
    EXPECT_TRUE(second.CallForward());
    EXPECT_TRUE(QTest::qWaitFor([&] { return forward.count() == 1; }, 5000));
}

TEST(SecondTable, KeepsItsSettingsInMemory) {
    QTemporaryDir folder;
    const std::filesystem::path ini = std::filesystem::path(folder.path().toStdString()) / "kvt.ini";
    test::WriteBytes(ini, "[Misc]\nSort=0\n");
    Profile settings(ini);
    settings.KeepInMemory();
    ASSERT_TRUE(settings.WriteString("Misc", "Left", " 10"));
    EXPECT_EQ(settings.ReadInt("Misc", "Left", 0), 10);
    EXPECT_EQ(test::ReadBytes(ini), "[Misc]\nSort=0\n");
}

}  // namespace
}  // namespace kvt
