// Unpacking a player file into an opponent's working folder.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>

#include "player_test_support.h"

namespace kvt::players_test {
namespace {

using test::ReadBytes;

class ExtractPlayer : public PlayerTableTest {
protected:
    // The seat's folder, file name -> bytes.
    std::map<std::string, std::string> Seat(int player) const { return Snapshot(game.PlayerDir[player]); }

    static std::map<std::string, std::string> Expected(const PlayerFileContents& file) {
        std::map<std::string, std::string> files{{"Player.bmp", file.Picture}};
        for (const PlayerClip& clip : file.Clips) files[clip.Entry.FileName] = clip.Bytes;
        return files;
    }

    void ExpectRefusedAndNothingChanged(const fs::path& path, const std::string& fragment) {
        const auto before = Snapshot(table.Root());
        const PlayerRec info_before = game.PlayerInfo[2];
        const int hidden_before = table.view.hidden;
        const Status s = game.ExtractPlayer(path, 2);
        ASSERT_FALSE(s.ok()) << path;
        EXPECT_EQ(s.message().rfind("Cannot load the player file \"" + path.string() + "\": ", 0), 0u)
            << s.message();
        EXPECT_EQ(s.message().back(), '.');
        EXPECT_NE(s.message().find(fragment), std::string::npos) << s.message();
        EXPECT_EQ(game.PlayerInfo[2], info_before);
        EXPECT_EQ(Snapshot(table.Root()), before) << s.message();
        EXPECT_EQ(table.view.hidden, hidden_before + 1);
        EXPECT_EQ(table.view.shown, table.view.hidden);
    }
};

TEST_F(ExtractPlayer, WritesThePictureAndEveryClipAndFillsTheRecord) {
    ASSERT_FALSE(fs::exists(table.folders.AppDir)) << "the working folder is made as needed";
    const PlayerFileContents file = SamplePlayer();
    const Status s = game.ExtractPlayer(table.Write("ada.dpf", file), 2);
    ASSERT_TRUE(s.ok()) << s.message();
    EXPECT_EQ(Seat(2), Expected(file));
    EXPECT_EQ(game.PlayerInfo[2], file.Header);
    EXPECT_EQ(game.PlayerInfo[2].Name, "Ada");
    EXPECT_EQ(game.PlayerInfo[2].SoundChance, 30);
    EXPECT_EQ(table.view.shown, 1);
    EXPECT_EQ(table.view.hidden, 1);
    // Nothing is left beside the working folder.
    for (const auto& entry : fs::directory_iterator(table.folders.AppDir))
        EXPECT_EQ(entry.path().filename(), "Player2") << entry.path();
}

TEST_F(ExtractPlayer, OddNamesAndEmptyClipsArriveUnchanged) {
    const PlayerFileContents file = OddPlayer();
    ASSERT_TRUE(game.ExtractPlayer(table.Write("odd.dpf", file), 4).ok());
    EXPECT_EQ(Seat(4), Expected(file)) << "\"x\" and \"x.tmp\" must not overwrite each other";
    EXPECT_EQ(game.PlayerInfo[4], file.Header);
}

TEST_F(ExtractPlayer, ThePreviousOpponentsFilesAreGone) {
    ASSERT_TRUE(game.ExtractPlayer(table.Write("ada.dpf", SamplePlayer()), 2).ok());
    test::WriteBytes(game.PlayerDir[2] / "stray.txt", "left by hand");
    ASSERT_TRUE(game.ExtractPlayer(table.Write("bare.dpf", BarePlayer()), 2).ok());
    EXPECT_EQ(Seat(2), Expected(BarePlayer()));
    EXPECT_EQ(game.PlayerInfo[2].Name, "Bare");
}

TEST_F(ExtractPlayer, OneFileForTwoSeatsGivesTwoIndependentCopies) {
    const fs::path path = table.Write("ada.dpf", SamplePlayer());
    ASSERT_TRUE(game.ExtractPlayer(path, 2).ok());
    ASSERT_TRUE(game.ExtractPlayer(path, 3).ok());
    EXPECT_EQ(Seat(2), Seat(3));
    EXPECT_EQ(game.PlayerInfo[2], game.PlayerInfo[3]);
    struct stat a {}, b {};
    ASSERT_EQ(::stat((game.PlayerDir[2] / "Sel1.wav").c_str(), &a), 0);
    ASSERT_EQ(::stat((game.PlayerDir[3] / "Sel1.wav").c_str(), &b), 0);
    EXPECT_NE(a.st_ino, b.st_ino);
    test::WriteBytes(game.PlayerDir[2] / "Sel1.wav", "changed");
    EXPECT_EQ(ReadBytes(game.PlayerDir[3] / "Sel1.wav"), SamplePlayer().Clips[0].Bytes);
}

TEST_F(ExtractPlayer, OnlyTheOpponentSeatsCanBeFilled) {
    const fs::path path = table.Write("ada.dpf", SamplePlayer());
    for (int seat : {-1, 0, 1, 5}) {
        const Status s = game.ExtractPlayer(path, seat);
        ASSERT_FALSE(s.ok());
        EXPECT_NE(s.message().find("there is no opponent seat " + std::to_string(seat)), std::string::npos);
    }
    EXPECT_EQ(game.PlayerInfo[1], PlayerRec{});
    EXPECT_FALSE(fs::exists(table.folders.AppDir));
}

TEST_F(ExtractPlayer, AFolderWithATrailingSeparatorIsReplacedAsAWhole) {
    game.PlayerDir[2] = table.folders.AppDir / "Seat2" / "";
    ASSERT_TRUE(game.ExtractPlayer(table.Write("ada.dpf", SamplePlayer()), 2).ok());
    EXPECT_EQ(Snapshot(table.folders.AppDir / "Seat2"), Expected(SamplePlayer()));
    EXPECT_FALSE(fs::exists(table.folders.AppDir / "Seat2" / ".new"));
}

// Every refusal below leaves the earlier opponent in place.
class ExtractRefused : public ExtractPlayer {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.ExtractPlayer(table.Write("ada.dpf", SamplePlayer()), 2).ok());
    }
};

TEST_F(ExtractRefused, AMissingFileOrAFolder) {
    ExpectRefusedAndNothingChanged(table.Root() / "files" / "missing.dpf", "No such file or directory");
    fs::create_directories(table.Root() / "files" / "folder.dpf");
    ExpectRefusedAndNothingChanged(table.Root() / "files" / "folder.dpf", "it is not a regular file");
}

TEST_F(ExtractRefused, HostileEntries) {
    const std::string good = EncodePlayerFile(BarePlayer());
    const std::pair<std::string, std::string> cases[] = {
        // Names that would leave the folder (every other fault of an entry is
        // refused by the same decoding, see HostileEntryTest).
        {RawEntry(0, "../x.wav", 3, "abc"), "contains '/'"},
        {RawEntry(0, "../../../x.wav", 3, "abc"), "contains '/'"},
        {RawEntry(0, "..\\x.wav", 3, "abc"), "contains '\\'"},
        {RawEntry(0, "Sel1.wav", 0x7FFFFFFF, "abc"), "(2147483647 bytes announced, 3 left)"},
        // A good entry first: it must not reach the folder either.
        {RawEntry(0, "Sel1.wav", 3, "new") + RawEntry(0, "/tmp/x.wav", 0, ""), "sound entry 2"},
    };
    for (const auto& [entry, fragment] : cases)
        ExpectRefusedAndNothingChanged(table.Write("hostile.dpf", good + entry), fragment);
    EXPECT_EQ(Seat(2), Expected(SamplePlayer()));
    EXPECT_FALSE(fs::exists(table.folders.AppDir / "x.wav"));
    EXPECT_FALSE(fs::exists(table.Root() / "x.wav"));
}

TEST_F(ExtractRefused, TruncationAtEveryByteOfASmallFile) {
    PlayerFileContents file = BarePlayer();
    file.Picture = "BMP";
    file.Clips.push_back({{0, "Sel1.wav", 2}, "s1"});
    file.Clips.push_back({{33, "wg1.wav", 2}, "w1"});
    const std::string bytes = EncodePlayerFile(file);
    const std::size_t header_and_picture = 30 + 3;
    const std::size_t after_first = header_and_picture + 2 + 2 + 8 + 4 + 2;
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        if (cut == header_and_picture || cut == after_first) continue;  // valid, shorter files
        ExpectRefusedAndNothingChanged(table.Write("cut.dpf", bytes.substr(0, cut)), "");
    }
    EXPECT_EQ(Seat(2), Expected(SamplePlayer()));
}

TEST_F(ExtractRefused, AFailureHalfWayThroughWritingKeepsTheOldOpponent) {
    // A working folder whose path leaves room for the picture but not for a
    // long clip name: the picture is written, the clip fails.
    fs::path deep = table.folders.AppDir;
    while (deep.string().size() + 201 < 4040 - 50) deep /= std::string(200, 'd');
    deep /= std::string(4040 - deep.string().size() - 1, 'p');
    ASSERT_EQ(deep.string().size(), 4040u);
    game.PlayerDir[2] = deep;
    ASSERT_TRUE(game.ExtractPlayer(table.Write("ada.dpf", SamplePlayer()), 2).ok());
    const auto old_files = Seat(2);
    const PlayerRec old_info = game.PlayerInfo[2];

    PlayerFileContents file = BarePlayer();
    file.Clips.push_back({{0, "Sel1.wav", 3}, "new"});
    file.Clips.push_back({{1, std::string(64, 'L'), 3}, "new"});
    static_assert(4040 + 5 + 64 + 4 >= PATH_MAX);
    const Status s = game.ExtractPlayer(table.Write("long.dpf", file), 2);
    ASSERT_FALSE(s.ok());
    EXPECT_NE(s.message().find("File name too long"), std::string::npos) << s.message();
    EXPECT_EQ(Seat(2), old_files);
    EXPECT_EQ(game.PlayerInfo[2], old_info);
    fs::path fresh = deep;
    fresh += ".new";
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(table.view.shown, table.view.hidden);
}

TEST_F(ExtractPlayer, LeftoversOfAnInterruptedRunAreClearedNotAdopted) {
    ASSERT_TRUE(game.ExtractPlayer(table.Write("ada.dpf", SamplePlayer()), 2).ok());
    const fs::path fresh = table.folders.AppDir / "Player2.new";
    const fs::path retired = table.folders.AppDir / "Player2.old";
    test::WriteBytes(fresh / "Comment2.wav", "squatter");
    test::WriteBytes(fresh / "sub" / "deeper.wav", "squatter");
    test::WriteBytes(retired / "Sel1.wav", "older still");
    ASSERT_TRUE(game.ExtractPlayer(table.Write("bare.dpf", BarePlayer()), 2).ok());
    EXPECT_EQ(Seat(2), Expected(BarePlayer()));
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_FALSE(fs::exists(retired));

    test::WriteBytes(fresh, "a file in the way");
    ASSERT_TRUE(game.ExtractPlayer(table.Write("ada.dpf", SamplePlayer()), 2).ok());
    EXPECT_EQ(Seat(2), Expected(SamplePlayer()));
}

}  // namespace
}  // namespace kvt::players_test
