// Unpacked player folders and their player.txt: writing, reading back, and the
// faults a hand-written one may have (the round trip is pinned on the kvx program).

#include <gtest/gtest.h>

#include <tuple>

#include "player_test_support.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

using players_test::BarePlayer;

constexpr const char* kSampleManifest = R"(# KVT player
format = 1
tag = "KVTP"
name = "Ada"
trait-a = 100
trait-b = 0
trait-c = 50
trait-d = 2
sound-chance = 30
picture = "Player.bmp"

[sound]
# slot Sel1
index = 0
file = "Sel1.wav"

[sound]
# slot Comment1
index = 3
file = "Comment1.wav"

[sound]
# slot wg1
index = 33
file = "wg1.wav"
)";

// Reserved fields and free slots are written when they matter.
TEST(PlayerManifest, IsWrittenInTheDocumentedForm) {
    EXPECT_EQ(FormatPlayerManifest(ManifestForPlayer(players_test::SamplePlayer())), kSampleManifest);
    const std::string text = FormatPlayerManifest(ManifestForPlayer(players_test::OddPlayer()));
    for (const char* expected : {"tag = \"Z\\x01\\xFF\\x80\"\n", "reserved1 = 7\n", "reserved2 = -1\n",
                                 "reserved3 = -32768\n", "# slot 50\nindex = 50\nfile = \"caf\\xE9 \\xFF.wav\"\n",
                                 "# slot DrawL1\nindex = 12\n", "# slot lg1\nindex = 34\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n--- in:\n" << text;
}

constexpr const char* kMinimal = "format = 1\nname = \"M\"\npicture = \"p.bmp\"\n";

// Each fault is refused with its line (0: a fault of the whole file).
TEST(HostilePlayerManifest, IsRefusedWithItsLine) {
    constexpr int L = 4;  // the first line after kMinimal
    const std::tuple<std::string, int, std::string> cases[] = {
        {"colour = 3\n", L, "unknown key \"colour\""},
        {"name = \"Again\"\n", L, "\"name\" is given twice (first on line 2)"},
        {"trait-a = 40000\n", L, "out of range"},
        {"tag = \"KVT\"\n", L, "the tag must be exactly 4 bytes, not 3"},
        {"format = 2\n", L, "\"format\" is given twice (first on line 1)"},
        {"index = 3\n", L, "\"index\" belongs inside a [sound] section"},
        {"[sounds]\n", L, "unknown section [sounds]; expected [sound]"},
        {"[sound]\nindex = 51\nfile = \"a.wav\"\n", L + 1, "index: 51 is out of range (0 to 50)"},
        {"[sound]\nindex = -1\nfile = \"a.wav\"\n", L + 1, "out of range"},
        {"[sound]\nindex = 0\nfile = \"../x.wav\"\n", L + 2, "file: the file name contains '/'"},
        {"[sound]\nindex = 0\nfile = \"a.wav\"\n[sound]\nindex = 1\nfile = \"A.WAV\"\n", L + 5,
         "\"A.WAV\" repeats the file of line 6"},
        {"[sound]\nindex = 0\nfile = \"player.bmp\"\n", L + 2, "is reserved in a player's folder"},
        {"[sound]\nindex = 0\nfile = \"Player.txt\"\n", L + 2, "is reserved in a player's folder"},
        {"[sound]\nindex = 0\n", L, "the [sound] section has no \"file\" line"},
        {"[sound]\nfile = \"a.wav\"\n[sound]\n", L, "the [sound] section has no \"index\" line"},
        {"[sound]\nindex = 0\nindex = 1\n", L + 2, "\"index\" is given twice"},
        {"[sound]\nname = \"x\"\n", L + 1, "\"name\" belongs before the first [sound] section"},
        {"name = \"unterminated\n", L, "no closing quote"}};
    for (const auto& [extra, line, fragment] : cases) {
        PlayerManifest m;
        const Status s = ParsePlayerManifest(kMinimal + extra, m);
        EXPECT_EQ(test::FaultMismatch(s, "player.txt", line, fragment), "") << extra;
    }
    for (const auto& [text, key] : {std::pair{"name = \"a\"\npicture = \"p\"\n", "format"},
                                    std::pair{"format = 1\npicture = \"p\"\n", "name"},
                                    std::pair{"format = 1\nname = \"a\"\n", "picture"}}) {
        PlayerManifest m;
        EXPECT_EQ(test::FaultMismatch(ParsePlayerManifest(text, m), "player.txt", 0,
                                      std::string("the top section has no \"") + key + "\" line"), "");
    }
}

// Packing takes the entries in the manifest's order, their keys in any order,
// the tag and the numbers not given as defaults, and names a missing file or one too large.
// (Comments and line ends are the shared line splitter's.)
TEST(PlayerFolder, AFileWithoutSoundsUnpacksToTheManifestAndThePictureAndPacksInManifestOrder) {
    test::TempDir temp;
    const fs::path folder = temp / "unpacked";
    ASSERT_TRUE(UnpackPlayer(BarePlayer(), folder).ok());
    EXPECT_EQ(players_test::Snapshot(folder), (std::map<std::string, std::string>{
                                    {"Player.bmp", BarePlayer().Picture},
                                    {"player.txt", FormatPlayerManifest(ManifestForPlayer(BarePlayer()))}}));
    test::WriteBytes(folder / "b.wav", "bb");
    test::WriteBytes(folder / "a.wav", "a");
    test::WriteBytes(folder / "player.txt",
                     "format = 1\nname = \"Cy\"\ntrait-d = 4\npicture = \"Player.bmp\"\n"
                     "[sound]\nindex = 7\nfile = \"b.wav\"\n[sound]\nfile = \"a.wav\"\nindex = 2\n");
    PlayerFileContents out;
    ASSERT_TRUE(PackPlayer(folder, out).ok());
    PlayerRec cy;
    std::tie(cy.Name, cy.TraitD, cy.PictureSize) = std::tuple("Cy", 4, 64);
    EXPECT_EQ(out.Header, cy);
    EXPECT_EQ(out.Clips, (std::vector<PlayerClip>{{{7, "b.wav", 2}, "bb"}, {{2, "a.wav", 1}, "a"}}));
    fs::remove(folder / "a.wav");
    EXPECT_NE(PackPlayer(folder, out).message().find((folder / "a.wav").string()), std::string::npos);
    test::WriteBytes(folder / "a.wav", "a");
    fs::resize_file(folder / "Player.bmp", kMaxPlayerFileBytes + 1);  // sparse: nothing is written
    EXPECT_NE(PackPlayer(folder, out).message().find("too large"), std::string::npos);
}

}  // namespace
}  // namespace kvt::kvx
