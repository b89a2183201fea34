// Headers, the remembered choice of opponents and their folders.

#include <gtest/gtest.h>

#include "player_test_support.h"
#include "platform/settings_keys.h"

namespace kvt::players_test {
namespace {

class PlayerChoice : public PlayerTableTest {
protected:
    void Remember(int player, const std::string& path) {
        ASSERT_TRUE(game.Settings().WriteString(settings::kPlayersFile, "Player" + std::to_string(player), path).ok());
    }
};

// A remembered file is read for its header alone: its entries are not looked
// at and nothing is unpacked. One that cannot be read leaves its seat empty
// and the others load.
TEST_F(PlayerChoice, LoadPlayersReadsTheRememberedHeadersWithoutDealingOrUnpacking) {
    const std::string bare = EncodePlayerFile(BarePlayer());
    const fs::path cut = table.Write("cut.dpf", bare.substr(0, bare.size() - 1));
    Remember(2, table.Write("odd-entries.dpf", bare + RawEntry(77, "/etc/x", -4, "")).string());
    Remember(3, cut.string());
    game.PlayerInfo[3].Name = "Stale";
    game.PlayerInfo[4].Name = "Stale too";
    Status s = game.LoadPlayers();
    EXPECT_EQ(std::tuple(game.PlayerInfo[2], game.PlayerInfo[3], game.PlayerInfo[4], game.PlayerFile[4]),
              std::tuple(BarePlayer().Header, PlayerRec{}, PlayerRec{}, ""));
    EXPECT_EQ(s.message(), "Cannot load the player file \"" + cut.string() +
                               "\": the picture runs past the end of the file (64 bytes announced, 63 left).\n"
                               "No player file is remembered for Player 4.");
    EXPECT_EQ(std::tuple(table.view.shown, table.view.hidden), std::tuple(2, 2));

    Remember(3, table.Write("ada.dpf", SamplePlayer()).string());
    Remember(4, table.Write("odd.dpf", OddPlayer()).string());
    const auto game2 = table.Restart();
    s = game2->LoadPlayers();
    ASSERT_TRUE(s.ok()) << s.message();
    EXPECT_EQ(std::tuple(game2->PlayerInfo[2], game2->PlayerInfo[3], game2->PlayerInfo[4]),
              std::tuple(BarePlayer().Header, SamplePlayer().Header, OddPlayer().Header));
    EXPECT_EQ(game2->PlayerFile[3], (table.Root() / "files" / "ada.dpf").string());
    EXPECT_TRUE(test::AllCards(*game2).empty()) << "nothing is dealt";
    EXPECT_FALSE(fs::exists(table.folders.AppDir)) << "headers only: nothing is unpacked";
}

// The remembered choice is complete only with three paths of two characters.
TEST_F(PlayerChoice, TheChoiceIsSavedForTheNextStartButNotAPathTheSettingsCannotGiveBack) {
    for (const auto& [player, path, complete] : {std::tuple{0, "", false}, {2, "ab", false}, {3, "cd", false},
                                                 {4, "e", false}, {4, "ef", true}}) {
        if (player) Remember(player, path);
        EXPECT_EQ(game.RememberedPlayersComplete(), complete) << player << path;
    }
    game.PlayerFile[2] = "/players/ada.dpf";
    game.PlayerFile[3] = "/players/bo.dpf";
    game.PlayerFile[4] = "/players/cy.dpf";
    const auto saved = [&](const char* key) {
        return Profile(table.folders.SettingsFile).ReadString("PlayersFile", key, "?");
    };
    ASSERT_TRUE(game.SavePlayerChoice().ok());
    EXPECT_EQ(std::tuple(saved("Player2"), saved("Player4")), std::tuple("/players/ada.dpf", "/players/cy.dpf"));
    EXPECT_TRUE(table.Restart()->RememberedPlayersComplete());
    // A path the settings cannot give back is not kept.
    game.PlayerFile[2] = "/p/" + std::string(130, 'a') + ".dpf";
    game.PlayerFile[3] = "/p/b.dpf ";
    game.PlayerFile[4] = "/p/c.dpf";
    const Status s = game.SavePlayerChoice();
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message(),
              "The player file of Player 2 cannot be remembered: its path is longer than 127 characters.\n"
              "The player file of Player 3 cannot be remembered: its path begins or ends with a blank.");
    EXPECT_EQ(std::tuple(saved("Player2"), saved("Player3"), saved("Player4")), std::tuple("", "", "/p/c.dpf"));
    EXPECT_FALSE(game.RememberedPlayersComplete());
}

TEST_F(PlayerChoice, TheFoldersAreCreatedAsNeeded) {
    fs::create_directories(game.PlayerDir[3]);
    test::WriteBytes(game.PlayerDir[3] / "Sel1.wav", "kept");
    ASSERT_TRUE(game.EnsurePlayerFolders().ok());
    for (const fs::path& folder : {game.PreviewDir, game.PlayerDir[2], game.PlayerDir[3], game.PlayerDir[4]})
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
    EXPECT_EQ(test::ReadBytes(game.PlayerDir[3] / "Sel1.wav"), "kept");

    test::WriteBytes(table.Root() / "blocked", "a file");
    game.PlayerDir[4] = table.Root() / "blocked" / "Player4";
    const Status s = game.EnsurePlayerFolders();
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find("blocked/Player4"), std::string::npos) << s.message();
}

}  // namespace
}  // namespace kvt::players_test
