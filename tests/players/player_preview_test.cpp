// The preview of a player file in the opponent choice.

#include <gtest/gtest.h>

#include "player_test_support.h"

namespace kvt::players_test {
namespace {

using test::ReadBytes;

class PreviewPlayer : public PlayerTableTest {
protected:
    fs::path preview = game.PreviewDir;
};

TEST_F(PreviewPlayer, WritesThePictureAndOnlyTheSelectionClip) {
    const Status s = game.PreviewPlayer(table.Write("ada.dpf", SamplePlayer()));
    ASSERT_TRUE(s.ok()) << s.message();
    EXPECT_EQ(Snapshot(preview), (std::map<std::string, std::string>{
                                     {"Player.bmp", SamplePlayer().Picture},
                                     {"Sel1.wav", SamplePlayer().Clips[0].Bytes}}));
    EXPECT_EQ(game.PlayerInfo[2], PlayerRec{}) << "a preview chooses nobody";
}

TEST_F(PreviewPlayer, TheSelectionClipIsFoundWithoutRegardToCase) {
    PlayerFileContents file = BarePlayer();
    file.Clips.push_back({{3, "Comment1.wav", 3}, "com"});
    file.Clips.push_back({{0, "SEL1.WAV", 3}, "sel"});
    ASSERT_TRUE(game.PreviewPlayer(table.Write("upper.dpf", file)).ok());
    EXPECT_EQ(ReadBytes(preview / "Sel1.wav"), "sel");
    EXPECT_FALSE(fs::exists(preview / "SEL1.WAV"));
    EXPECT_FALSE(fs::exists(preview / "Comment1.wav"));
}

TEST_F(PreviewPlayer, AnOlderSelectionClipStaysWhenTheFileHasNone) {
    ASSERT_TRUE(game.PreviewPlayer(table.Write("ada.dpf", SamplePlayer())).ok());
    ASSERT_TRUE(game.PreviewPlayer(table.Write("bare.dpf", BarePlayer())).ok());
    EXPECT_EQ(ReadBytes(preview / "Player.bmp"), BarePlayer().Picture);
    EXPECT_EQ(ReadBytes(preview / "Sel1.wav"), SamplePlayer().Clips[0].Bytes);

    PlayerFileContents silent = BarePlayer();
    silent.Clips.push_back({{0, "Sel1.wav", 0}, ""});
    ASSERT_TRUE(game.PreviewPlayer(table.Write("silent.dpf", silent)).ok());
    EXPECT_EQ(ReadBytes(preview / "Sel1.wav"), SamplePlayer().Clips[0].Bytes)
        << "an empty entry is passed over";
}

TEST_F(PreviewPlayer, ABadFileWritesNothing) {
    ASSERT_TRUE(game.PreviewPlayer(table.Write("ada.dpf", SamplePlayer())).ok());
    PlayerFileContents file = BarePlayer();
    file.Clips.push_back({{0, "Sel1.wav", 3}, "new"});
    const std::string bad = EncodePlayerFile(file) + RawEntry(0, "../Sel1.wav", 0, "");
    const fs::path path = table.Write("bad.dpf", bad);
    const auto with_file = Snapshot(table.Root());
    EXPECT_EQ(game.PreviewPlayer(path).message(), "Cannot preview the player file \"" + path.string() +
                               "\": sound entry 2 (\"../Sel1.wav\"): the file name contains '/'.");
    EXPECT_EQ(Snapshot(table.Root()), with_file);
    EXPECT_EQ(ReadBytes(preview / "Sel1.wav"), SamplePlayer().Clips[0].Bytes);
}

TEST_F(PreviewPlayer, AFolderInTheWayIsReportedAndLeftAlone) {
    fs::create_directories(preview / "Sel1.wav" / "inside");
    EXPECT_NE(game.PreviewPlayer(table.Write("ada.dpf", SamplePlayer())).message().find("Sel1.wav"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(preview / "Sel1.wav" / "inside"));
    EXPECT_FALSE(fs::exists(preview / "Sel1.wav.tmp"));
}

}  // namespace
}  // namespace kvt::players_test
