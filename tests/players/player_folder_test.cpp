// Unpacked player folders (the round trip is pinned on the kvx program itself).

#include <gtest/gtest.h>

#include "player_test_support.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

using players_test::BarePlayer;
using players_test::SamplePlayer;
using players_test::Snapshot;

class PlayerFolder : public ::testing::Test {
protected:
    test::TempDir temp;
    fs::path folder = temp.Path() / "unpacked";
};

TEST_F(PlayerFolder, AFileWithoutSoundsUnpacksToTheManifestAndThePicture) {
    ASSERT_TRUE(UnpackPlayer(BarePlayer(), folder).ok());
    const auto files = Snapshot(folder);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(files.at("Player.bmp"), BarePlayer().Picture);
    EXPECT_EQ(files.at("player.txt"), FormatPlayerManifest(ManifestForPlayer(BarePlayer())));
}

TEST_F(PlayerFolder, PackingNamesAMissingFile) {
    ASSERT_TRUE(UnpackPlayer(SamplePlayer(), folder).ok());
    fs::remove(folder / "Comment1.wav");
    PlayerFileContents out;
    EXPECT_NE(PackPlayer(folder, out).message().find((folder / "Comment1.wav").string()), std::string::npos);
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
    EXPECT_NE(PackPlayer(folder, out).message().find("too large"), std::string::npos);
}

}  // namespace
}  // namespace kvt::kvx
