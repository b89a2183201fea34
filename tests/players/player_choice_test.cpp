// Headers, the remembered choice of opponents and their folders.

#include <gtest/gtest.h>

#include "player_test_support.h"
#include "shell/settings_keys.h"

namespace kvt::players_test {
namespace {

class PlayerChoice : public PlayerTableTest {
protected:
    void Remember(int player, const std::string& path) {
        ASSERT_TRUE(game.Settings().WriteString(settings::kPlayersFile, "Player" + std::to_string(player), path).ok());
    }
};

// A header needs its picture but not its entries, and leaves the folder alone.
TEST_F(PlayerChoice, ReadingAHeaderLeavesTheFolderAlone) {
    ASSERT_TRUE(game.ExtractPlayer(table.Write("ada.dpf", SamplePlayer()), 2).ok());
    const auto folder = Snapshot(game.PlayerDir[2]);
    const std::string bytes = EncodePlayerFile(BarePlayer());
    ASSERT_TRUE(game.ReadPlayerHeader(table.Write("odd-entries.dpf", bytes + RawEntry(77, "/etc/x", -4, "")), 2).ok());
    EXPECT_EQ(game.PlayerInfo[2], BarePlayer().Header);
    EXPECT_EQ(Snapshot(game.PlayerDir[2]), folder);

    const fs::path cut = table.Write("cut.dpf", bytes.substr(0, bytes.size() - 1));
    EXPECT_EQ(game.ReadPlayerHeader(cut, 4).message(),
              "Cannot load the player file \"" + cut.string() +
                  "\": the picture runs past the end of the file (64 bytes announced, 63 left).");
    EXPECT_EQ(std::tuple(game.PlayerInfo[4], table.view.shown, table.view.hidden), std::tuple(PlayerRec{}, 3, 3));
}

// A missing remembered file leaves an empty name and the others load.
TEST_F(PlayerChoice, LoadPlayersReadsTheRememberedFilesWithoutDealing) {
    Remember(2, table.Write("ada.dpf", SamplePlayer()).string());
    Remember(3, (table.Root() / "gone.dpf").string());
    game.PlayerInfo[3].Name = "Stale";
    game.PlayerInfo[4].Name = "Stale too";
    Status s = game.LoadPlayers();
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(std::tuple(game.PlayerInfo[2].Name, game.PlayerInfo[3], game.PlayerInfo[4], game.PlayerFile[4]),
              std::tuple("Ada", PlayerRec{}, PlayerRec{}, ""));
    EXPECT_EQ(s.message(), "Cannot load the player file \"" + (table.Root() / "gone.dpf").string() +
                               "\": No such file or directory.\nNo player file is remembered for Player 4.");

    Remember(3, table.Write("bare.dpf", BarePlayer()).string());
    Remember(4, table.Write("odd.dpf", OddPlayer()).string());
    const auto game2 = table.Restart();
    s = game2->LoadPlayers();
    ASSERT_TRUE(s.ok()) << s.message();
    EXPECT_EQ(std::tuple(game2->PlayerInfo[2], game2->PlayerInfo[3], game2->PlayerInfo[4]),
              std::tuple(SamplePlayer().Header, BarePlayer().Header, OddPlayer().Header));
    EXPECT_EQ(game2->PlayerFile[3], (table.Root() / "files" / "bare.dpf").string());
    EXPECT_TRUE(game2->DrawDeck.Empty());
    for (int p = 1; p <= 4; ++p) EXPECT_TRUE(game2->Players[p].Empty());
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
