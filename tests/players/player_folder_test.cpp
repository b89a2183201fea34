// Unpacked player folders: unpacking, packing and the round trip between them.

#include <gtest/gtest.h>

#include "player_test_support.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

using players_test::BarePlayer;
using players_test::OddPlayer;
using players_test::SamplePlayer;
using players_test::Snapshot;

class PlayerFolder : public ::testing::Test {
protected:
    test::TempDir temp;
    fs::path folder = temp.Path() / "unpacked";
};

TEST_F(PlayerFolder, UnpackingThenPackingGivesTheSameFile) {
    for (const PlayerFileContents& file : {SamplePlayer(), OddPlayer(), BarePlayer()}) {
        fs::remove_all(folder);
        ASSERT_TRUE(UnpackPlayer(file, folder).ok());
        PlayerFileContents packed;
        const Status s = PackPlayer(folder, packed);
        ASSERT_TRUE(s.ok()) << s.message();
        EXPECT_EQ(packed, file);
        EXPECT_EQ(EncodePlayerFile(packed), EncodePlayerFile(file));
    }
}

TEST_F(PlayerFolder, AFileWithoutSoundsUnpacksToTheManifestAndThePicture) {
    ASSERT_TRUE(UnpackPlayer(BarePlayer(), folder).ok());
    const auto files = Snapshot(folder);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files.at("Player.bmp"), BarePlayer().Picture);
    EXPECT_EQ(files.count("player.txt"), 1u);
}

TEST_F(PlayerFolder, AClipNamedLikeTheManifestCannotBeUnpacked) {
    PlayerFileContents file = BarePlayer();
    file.Clips.push_back({{0, "PLAYER.TXT", 1}, "x"});
    const Status s = UnpackPlayer(file, folder);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message(), "the player file holds a clip named \"PLAYER.TXT\", which an unpacked folder keeps for its manifest");
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(PlayerFolder, UnpackingDoesNotFollowALinkOutOfTheFolder) {
    fs::create_directories(folder);
    const fs::path outside = temp.Path() / "outside.wav";
    test::WriteBytes(outside, "mine");
    fs::create_symlink(outside, folder / "Sel1.wav");
    ASSERT_TRUE(UnpackPlayer(SamplePlayer(), folder).ok());
    EXPECT_FALSE(fs::is_symlink(folder / "Sel1.wav")) << "the link is replaced, not written through";
    EXPECT_EQ(test::ReadBytes(outside), "mine");
}

TEST_F(PlayerFolder, PackingNamesAMissingFile) {
    ASSERT_TRUE(UnpackPlayer(SamplePlayer(), folder).ok());
    fs::remove(folder / "Comment1.wav");
    PlayerFileContents out;
    const Status s = PackPlayer(folder, out);
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find((folder / "Comment1.wav").string()), std::string::npos) << s.message();
}

TEST_F(PlayerFolder, PackingTakesTheEntriesInManifestOrder) {
    fs::create_directories(folder);
    test::WriteBytes(folder / "face.bmp", "BM");
    test::WriteBytes(folder / "b.wav", "bb");
    test::WriteBytes(folder / "a.wav", "a");
    test::WriteBytes(folder / "player.txt",
                     "format = 1\nname = \"Cy\"\ntrait-d = 4\npicture = \"face.bmp\"\n"
                     "[sound]\nindex = 7\nfile = \"b.wav\"\n[sound]\nindex = 2\nfile = \"a.wav\"\n");
    PlayerFileContents out;
    ASSERT_TRUE(PackPlayer(folder, out).ok());
    EXPECT_EQ(out.Header.Name, "Cy");
    EXPECT_EQ(out.Header.TraitD, 4);
    EXPECT_EQ(out.Header.PictureSize, 2);
    ASSERT_EQ(out.Clips.size(), 2u);
    EXPECT_EQ(out.Clips[0], (PlayerClip{{7, "b.wav", 2}, "bb"}));
    EXPECT_EQ(out.Clips[1], (PlayerClip{{2, "a.wav", 1}, "a"}));
}

TEST_F(PlayerFolder, PackingRefusesAFileTooLargeToBeAPlayer) {
    fs::create_directories(folder);
    test::WriteBytes(folder / "player.txt", "format = 1\nname = \"Big\"\npicture = \"big.bmp\"\n");
    test::WriteBytes(folder / "big.bmp", "");
    fs::resize_file(folder / "big.bmp", kMaxPlayerFileBytes + 1);  // sparse: nothing is written
    PlayerFileContents out;
    const Status s = PackPlayer(folder, out);
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find("too large"), std::string::npos) << s.message();
}

}  // namespace
}  // namespace kvt::kvx
