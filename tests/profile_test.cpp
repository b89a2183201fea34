#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "platform/paths.h"
#include "platform/profile.h"
#include "test_support.h"

namespace kvt::test {
namespace {

class ProfileTest : public ::testing::Test {
protected:
    TempDir temp;
    fs::path path = temp.Path() / "cfg" / "kvt.ini";
};

// Without $HOME (a service, a cron job) the settings go to the home folder
// the user database names, not to a temporary folder others can write to.
TEST(UserFolders, WithoutAHomeVariableComeFromTheUserDatabase) {
    // Put back when the test ends: the other tests of this process keep their folders.
    struct Variable {
        const char* name;
        std::optional<std::string> was;
        Variable(const char* n, const char* now) : name(n) {
            if (const char* v = std::getenv(n)) was = v;
            now ? ::setenv(n, now, 1) : ::unsetenv(n);
        }
        ~Variable() { was ? ::setenv(name, was->c_str(), 1) : ::unsetenv(name); }
    };
    const Variable config("XDG_CONFIG_HOME", "relative/is/ignored"), data("XDG_DATA_HOME", nullptr),
        home_variable("HOME", nullptr);
    const passwd* user = ::getpwuid(::getuid());
    if (!user || !user->pw_dir || !fs::path(user->pw_dir).is_absolute()) GTEST_SKIP() << "no home in the user database";
    const fs::path home = user->pw_dir;
    const Folders folders = DefaultFolders();  // only paths: nothing is written
    EXPECT_EQ(std::tuple(folders.SettingsFile, folders.AppDir),
              std::tuple(home / ".config" / "kvt" / "kvt.ini", home / ".local/share" / "kvt"));
}

TEST_F(ProfileTest, NumbersAreWrittenWithTheirLeadingBlank) {
    EXPECT_EQ(std::tuple(FormatNumber(40), FormatNumber(0), FormatNumber(-1), FormatFlag(true), FormatFlag(false)),
              std::tuple(" 40", " 0", "-1", "-1", " 0"));
    ASSERT_TRUE(Profile(path).WriteString("Misc", "PlaySpeed", FormatNumber(40)).ok());
    EXPECT_EQ(std::tuple(ReadBytes(path), Profile(path).ReadInt("Misc", "PlaySpeed", 0)), std::tuple("[Misc]\nPlaySpeed= 40\n", 40));
}

TEST_F(ProfileTest, WritesReplaceInPlaceAndKeepEverythingElse) {
    WriteBytes(path, "; comment\r\n[misc]\r\nSort=0\r\nOther = x\r\n\r\n[PlayersFile]\r\nPlayer2=a.dpf\r\n");
    Profile ini(path);
    ASSERT_TRUE(ini.WriteString("Misc", "sort", "-1").ok());
    ASSERT_TRUE(ini.WriteString("Misc", "Left", " 120").ok());
    ASSERT_TRUE(ini.WriteString("New", "Key", "v").ok());
    EXPECT_EQ(ReadBytes(path),
              "; comment\n[misc]\nsort=-1\nOther = x\nLeft= 120\n\n[PlayersFile]\nPlayer2=a.dpf\n"
              "\n[New]\nKey=v\n");
    EXPECT_EQ(ini.ReadString("PLAYERSFILE", "player2", ""), "a.dpf");
}

TEST_F(ProfileTest, AMissingFileOrGarbageGivesTheDefaults) {
    EXPECT_EQ(std::tuple(Profile(path).ReadInt("Misc", "Sort", -1), Profile(path).ReadString("PlayersFile", "Player2", "?")),
              std::tuple(-1, "?"));
    WriteBytes(path, std::string("[Misc\nSort=abc\nPlaySpeed=99999999999999999999\n=novalue\n"
                                 "[Misc]\nLeft=12abc\nTop=\nViewer=\x01\xff\n", 70) +
                         std::string(300, 'x'));
    Profile ini(path);
    EXPECT_EQ(std::tuple(ini.ReadInt("Misc", "Sort", -1), ini.ReadInt("Misc", "Left", 0),
                         ini.ReadInt("Misc", "Top", 7), ini.ReadInt("Misc", "Viewer", 0)),
              std::tuple(-1, 12, 7, 0)) << "Sort sits under a broken header";
}

TEST_F(ProfileTest, LongTextsAreCutAndLineBreaksRefused) {
    Profile ini(path);
    ASSERT_TRUE(ini.WriteString("PlayersFile", "Player3", std::string(200, 'p')).ok());
    EXPECT_EQ(ini.ReadString("PlayersFile", "Player3", "").size(), 127u);
    EXPECT_FALSE(ini.WriteString("Misc", "CardFile", "a\nInjected=1").ok());
    EXPECT_EQ(ini.ReadString("Misc", "Injected", "none"), "none");
}

TEST_F(ProfileTest, AnUnwritableSettingsFileIsReported) {
    fs::create_directories(path);  // a folder where the file should be
    const Status s = Profile(path).WriteString("Misc", "Sort", "-1");
    EXPECT_TRUE(!s.ok() && s.message().find("kvt.ini") != std::string::npos) << s.message();
}

TEST_F(ProfileTest, AFileTooLargeToReadIsReportedAndNeverWrittenOver) {
    const std::string big = "[Misc]\nSort=0\n; " + std::string(2 << 20, 'x') + "\n";
    WriteBytes(path, big);
    Profile ini(path);
    EXPECT_NE(ini.Problem().find("kvt.ini"), std::string::npos) << ini.Problem();
    EXPECT_FALSE(ini.WriteString("Misc", "Left", " 10").ok());
    EXPECT_EQ(ReadBytes(path), big);
}

TEST_F(ProfileTest, ALinkedSettingsFileIsWrittenAtItsTargetAndStaysALink) {
    const fs::path target = temp.Path() / "dotfiles" / "kvt.ini";
    WriteBytes(target, "[Misc]\nSort=0\n");
    fs::create_directories(path.parent_path());
    fs::create_symlink(target, path);
    ASSERT_TRUE(Profile(path).WriteString("Misc", "Left", " 10").ok());
    EXPECT_EQ(std::tuple(fs::is_symlink(path), ReadBytes(target), fs::exists(target.parent_path() / "kvt.ini.tmp")),
              std::tuple(true, "[Misc]\nSort=0\nLeft= 10\n", false));
}

}  // namespace
}  // namespace kvt::test
