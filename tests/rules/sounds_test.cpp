#include <gtest/gtest.h>

#include "actions/player_sounds.h"
#include "rules/rules_support.h"

namespace kvt::test {
namespace {

TEST(SoundNames, EventsOneToEleven) {
    EXPECT_EQ(SoundEventName(1), "Sel");
    EXPECT_EQ(SoundEventName(2), "Comment");
    EXPECT_EQ(SoundEventName(4), "DrawP");
    EXPECT_EQ(SoundEventName(11), "Rev");
    EXPECT_EQ(SoundEventName(0), "");
    EXPECT_EQ(SoundEventName(12), "");
}

class Sounds : public ::testing::Test {
protected:
    RulesTable table;
    Game& game = *table.game;

    void SetUp() override {
        game.PlayerSounds = true;
        for (int p = 2; p <= 4; ++p) game.PlayerDir[p] = table.temp.Path() / ("Player" + std::to_string(p));
    }
    int Plays(int chance, bool test, int tries) {
        for (int p = 1; p <= 4; ++p) game.PlayerInfo[p].SoundChance = static_cast<std::int16_t>(chance);
        int n = 0;
        for (int i = 0; i < tries; ++i) {
            int who = 3;
            n += !game.PlayPlayerSound(2, test, who).empty();
        }
        return n;
    }
};

TEST_F(Sounds, NothingPlaysWithSoundsOff) {
    game.PlayerSounds = false;
    EXPECT_EQ(Plays(100, false, 50), 0);
    EXPECT_TRUE(table.view.calls.empty());
}

TEST_F(Sounds, AChanceOfTwoOrLessNeverSpeaks) {
    EXPECT_EQ(Plays(2, true, 500), 0);
    EXPECT_EQ(Plays(2, false, 50), 0);
    EXPECT_EQ(Plays(3, false, 50), 50) << "without the test, anything above 2 speaks";
}

TEST_F(Sounds, AChanceOfAHundredSpeaksNinetyEightTimesInNinetyNine) {
    const int n = Plays(100, true, 9900);
    EXPECT_GT(n, 9700);
    EXPECT_LT(n, 9900);
}

TEST_F(Sounds, AChanceOfFiftyOneSpeaksAboutHalfTheTime) {
    const int n = Plays(51, true, 9900);  // (51 - 2) / 99
    EXPECT_NEAR(n, 4900, 300);
}

TEST_F(Sounds, TheClipIsTheEventNameAVariantAndWavInThePlayersFolder) {
    game.PlayerInfo[4].SoundChance = 50;
    std::map<std::string, int> names;
    for (int i = 0; i < 300; ++i) {
        int who = 4;
        const auto file = game.PlayPlayerSound(8, false, who);
        ASSERT_EQ(file.parent_path(), game.PlayerDir[4]);
        ++names[file.filename().string()];
    }
    EXPECT_EQ(names.size(), 3u);
    EXPECT_GT(names["PassL1.wav"], 50);
    EXPECT_GT(names["PassL3.wav"], 50);
    EXPECT_EQ(table.view.Count("PlayClip PassL2.wav"), names["PassL2.wav"]);
    EXPECT_EQ(table.view.calls[1], "Pump") << "events are let through after each clip";
}

TEST_F(Sounds, PlayerZeroMeansARandomOpponent) {
    for (int p = 1; p <= 4; ++p) game.PlayerInfo[p].SoundChance = 0;
    std::map<int, int> chosen;
    for (int i = 0; i < 600; ++i) {
        int who = 0;
        game.PlayPlayerSound(2, true, who);
        ++chosen[who];
    }
    EXPECT_EQ(chosen.size(), 3u);
    EXPECT_EQ(chosen.count(1), 0u);
    for (int p = 2; p <= 4; ++p) EXPECT_GT(chosen[p], 150);
}

TEST_F(Sounds, AClipFileIsFoundWhateverItsCase) {
    WriteBytes(game.PlayerDir[2] / "comment1.WAV", "RIFF");
    EXPECT_EQ(FindFileNoCase(game.PlayerDir[2], "Comment1.wav"), game.PlayerDir[2] / "comment1.WAV");
    EXPECT_EQ(FindFileNoCase(game.PlayerDir[2], "Comment2.wav"), game.PlayerDir[2] / "Comment2.wav");
    EXPECT_EQ(FindFileNoCase(table.temp.Path() / "nowhere", "x.wav"), table.temp.Path() / "nowhere" / "x.wav");
}

}  // namespace
}  // namespace kvt::test
