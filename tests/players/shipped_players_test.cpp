#include <gtest/gtest.h>

#include <set>

#include "tests/test_support.h"

namespace kvt::test {
namespace {

// The opponents and the human's folder that the build ships.
TEST(ShippedPlayers, EveryOpponentUnpacksWithPictureAndVoiceAndTheHumanHasBothGameOverClips) {
    const fs::path shared = fs::path(KVT_SHARED_DATA);
    TableFixture table;
    std::set<std::string> names;
    int opponents = 0;
    for (const auto& entry : fs::directory_iterator(shared / "players")) {
        if (entry.path().extension() != ".dpf") continue;
        SCOPED_TRACE(entry.path().string());
        ++opponents;
        const int seat = 2 + opponents % 3;
        Game& game = *table.game;
        ASSERT_TRUE(game.EnsurePlayerFolders().ok());
        Status s = game.ExtractPlayer(entry.path(), seat);
        ASSERT_TRUE(s.ok()) << s.message();
        const PlayerRec& info = game.PlayerInfo[seat];
        EXPECT_FALSE(info.Name.empty());
        names.insert(info.Name);
        EXPECT_GT(fs::file_size(game.PlayerDir[seat] / "Player.bmp"), 1000u);
        for (const char* clip : {"Sel1.wav", "Comment1.wav", "DrawP1.wav", "wg1.wav", "lg1.wav"})
            EXPECT_TRUE(fs::exists(game.PlayerDir[seat] / clip)) << clip;
    }
    EXPECT_GE(opponents, 6);
    EXPECT_EQ(names.size(), static_cast<std::size_t>(opponents)) << "names are distinct";
    for (const char* file : {"Player.bmp", "wg1.wav", "lg1.wav"})
        EXPECT_TRUE(fs::exists(shared / "player1" / file)) << file;
}

}  // namespace
}  // namespace kvt::test
