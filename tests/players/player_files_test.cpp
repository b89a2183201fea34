// Player files: the codec's layout, round trips and refusals; then the opponents' seats: unpacking a file
// into an opponent's working folder or its preview into the choice's folder, the remembered choice and its
// headers, the folders, and the opponents the build ships.

#include <gtest/gtest.h>

#include <set>

#include "platform/settings_keys.h"
#include "player_test_support.h"

namespace kvt::players_test {
namespace {

ReadAt FromMemory(const std::string& bytes) {
    return [&bytes](std::uint64_t offset, std::size_t n, char* out) {
        if (offset > bytes.size() || n > bytes.size() - offset) return false;
        bytes.copy(out, n, static_cast<std::size_t>(offset));
        return true;
    };
}

TEST(PlayerCodec, WritesTheFieldsInOrderWithoutPadding) {
    // The picture's size is written from its bytes, not from the field.
    const PlayerFileContents file{{.Name = "Bo", .TraitA = 1, .TraitB = 2, .TraitC = 3, .Reserved1 = 4, .TraitD = 5,
                                   .Reserved2 = 6, .SoundChance = -2, .Reserved3 = 0x0102},
                                  "PIC", {{{33, "w.wav", 2}, "ab"}}};
    using namespace std::string_literals;
    EXPECT_EQ(EncodePlayerFile(file), "KVTP" "\x02\x00" "Bo" "\x03\x00\x00\x00"
                                      "\x01\x00\x02\x00\x03\x00\x04\x00\x05\x00\x06\x00\xFE\xFF\x02\x01"
                                      "PIC" "\x21\x00\x05\x00" "w.wav" "\x02\x00\x00\x00" "ab"s);
}

TEST(PlayerCodec, GoodFilesDecodeToWhatWasEncoded) {
    PlayerFileContents stale_sizes = SamplePlayer(), any_tag = SamplePlayer(), empty_parts = BarePlayer();
    // Sizes come from the bytes, not the stored fields.
    std::tie(stale_sizes.Header.PictureSize, stale_sizes.Clips[0].Entry.Length) = std::tuple(5, -9);
    // The tag is never checked; long names are accepted.
    std::tie(any_tag.Header.Tag, any_tag.Header.Name) = std::tuple(std::array<char, 4>{}, std::string(3000, 'N'));
    // An empty picture and empty clips are allowed.
    std::tie(empty_parts.Picture, empty_parts.Header.PictureSize) = std::tuple("", 0);
    empty_parts.Clips.push_back({{5, "quiet.wav", 0}, ""});
    const std::pair<PlayerFileContents, PlayerFileContents> cases[] = {
        {SamplePlayer(), SamplePlayer()}, {OddPlayer(), OddPlayer()}, {BarePlayer(), BarePlayer()},
        {stale_sizes, SamplePlayer()},    {any_tag, any_tag},         {empty_parts, empty_parts}};
    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file.Header.Name.substr(0, 20));
        const std::string bytes = EncodePlayerFile(file);
        PlayerFileContents decoded;
        const Status s = DecodePlayerFile(bytes, decoded);
        ASSERT_TRUE(s.ok()) << s.message();
        EXPECT_EQ(decoded, expected);
        PlayerLayout layout;
        ASSERT_TRUE(DecodePlayerLayout(bytes.size(), FromMemory(bytes), layout).ok());
        PlayerFileContents pointed{layout.Header, bytes.substr(layout.Picture.Offset, layout.Picture.Size), {}};
        for (const PlayerClipLayout& clip : layout.Clips)
            pointed.Clips.push_back({clip.Entry, bytes.substr(clip.Bytes.Offset, clip.Bytes.Size)});
        EXPECT_EQ(pointed, expected);
    }
}

TEST(PlayerCodec, ClipNamesPassFoldAndQuoteByteForByteAndTheShorterAreWrittenFirst) {
    for (std::string_view name : {"Sel1.wav", "a", "wg1.WAV", "caf\xE9.wav", "with space.wav", "a.b.c",
                                  "x.tmp", "0123456789012345678901234567890123456789012345678901234567890123"})
        EXPECT_EQ(PlayerClipNameFault(name), "") << name;
    // Only ASCII letters fold.
    EXPECT_EQ(std::tuple(FoldClipName("SeL1.WAV"), FoldClipName("\xC9t\xE9.wav")), std::tuple("sel1.wav", "\xC9t\xE9.wav"));
    EXPECT_EQ(QuotedClipName("a\"b\\c\x01\xFF"), "\"a\\\"b\\\\c\\x01\\xFF\"");
    // Ties keep the file's order.
    std::vector<PlayerClipLayout> clips;
    for (const char* name : {"x.tmp", "bb", "x", "cc", "Sel1.wav.tmp", "Sel1.wav"}) clips.push_back({{0, name, 0}, {}});
    EXPECT_EQ(ClipWriteOrder(clips), (std::vector<std::size_t>{2, 1, 3, 0, 5, 4}));
}

// Each refusal names the fault, and leaves the output alone. The header
// alone needs only the header and the picture, whatever the entries hold.
void ExpectRefused(const std::string& bytes, const std::string& message) {
    SCOPED_TRACE(message);
    PlayerFileContents out = BarePlayer();
    EXPECT_EQ(DecodePlayerFile(bytes, out).message(), message);
    EXPECT_EQ(out, BarePlayer());
    PlayerRec header{.Name = "keep"};
    const bool entry_fault = message.starts_with("sound entry");
    EXPECT_EQ(DecodePlayerHeader(bytes.size(), FromMemory(bytes), header).message(), entry_fault ? "" : message);
    EXPECT_TRUE(entry_fault ? header == BarePlayer().Header : header.Name == "keep") << header.Name;
    PlayerLayout layout;
    layout.Header.Name = "keep";
    EXPECT_FALSE(DecodePlayerLayout(bytes.size(), FromMemory(bytes), layout).ok());
    EXPECT_TRUE(layout.Header.Name == "keep" && layout.Clips.empty()) << layout.Header.Name;
}

TEST(HostilePlayerFile, AFaultyHeaderIsRefused) {
    const std::string bare = EncodePlayerFile(BarePlayer());
    // In "Bare" the name length sits at 4, the picture size at 10.
    const auto patched = [&bare](std::size_t at, std::string_view with) {
        return std::string(bare).replace(at, with.size(), with);
    };
    ExpectRefused("", "the file ends where the tag should be (offset 0, 0 bytes left)");
    ExpectRefused(patched(4, "\xFF\xFF"), "the length of the name is negative (-1)");
    ExpectRefused(patched(4, std::string("\x00\x70", 2)),
                  "the name runs past the end of the file (28672 bytes announced, " + std::to_string(bare.size() - 6) +
                      " left)");
    ExpectRefused(patched(10, "\xFE\xFF\xFF\xFF"), "the picture size is negative (-2)");
    ExpectRefused(patched(10, "\xFF\xFF\xFF\x7F"),
                  "the picture runs past the end of the file (2147483647 bytes announced, 64 left)");
}

// After one good entry, a hostile one is refused with its number, name and fault.
TEST(HostilePlayerFile, AFaultyEntryIsRefusedWithItsNumberAndName) {
    PlayerFileContents file = BarePlayer();
    file.Clips.push_back({{0, "Sel1.wav", 3}, "abc"});
    const std::pair<std::string, std::string> cases[] = {
        {RawEntry(0, "../x.wav", 1, "x"), " (\"../x.wav\"): the file name contains '/'"},
        {RawEntry(0, "..\\x.wav", 1, "x"), " (\"..\\\\x.wav\"): the file name contains '\\'"},
        {RawEntry(0, "C:x.wav", 1, "x"), " (\"C:x.wav\"): the file name contains ':'"},
        {RawEntry(0, "..", 1, "x"), " (\"..\"): the file name contains \"..\""},
        {RawEntry(0, "a..b.wav", 1, "x"), " (\"a..b.wav\"): the file name contains \"..\""},
        {RawEntry(0, ".profile", 1, "x"), " (\".profile\"): the file name starts with '.'"},
        {RawEntry(0, std::string_view("a\0b", 3), 1, "x"),
         " (\"a\\x00b\"): the file name contains a control character"},
        {RawEntry(0, "rub\x7F", 1, "x"), " (\"rub\\x7F\"): the file name contains a control character"},
        {RawEntry(0, "", 1, "x"), ": the file name is empty"},
        {RawEntry(0, std::string(65, 'a'), 1, "x"), ": the file name is 65 characters long; at most 64 are allowed"},
        {RawEntry(0, 30000, "x"), ": the file name is 30000 characters long; at most 64 are allowed"},
        {RawEntry(0, -1, "x"), ": the length of the file name is negative (-1)"},
        {RawEntry(51, "Disc1.wav", 1, "x"), " (\"Disc1.wav\"): the sound index is 51; it must be 0 to 50"},
        {RawEntry(-1, "Disc1.wav", 1, "x"), " (\"Disc1.wav\"): the sound index is -1; it must be 0 to 50"},
        {RawEntry(1, "SEL1.wav", 1, "x"), " (\"SEL1.wav\"): the file name repeats that of sound entry 1"},
        {RawEntry(1, "player.BMP", 1, "x"), " (\"player.BMP\"): the file name is that of the picture"},
        {RawEntry(1, "Disc1.wav", -5, ""), " (\"Disc1.wav\"): the clip size is negative (-5)"},
        {RawEntry(1, "Disc1.wav", 0x7FFFFFFF, "abc"),
         " (\"Disc1.wav\"): the clip runs past the end of the file (2147483647 bytes announced, 3 left)"},
        {RawEntry(1, "Sel2.wav", 5000, std::string(12, 'c')),
         " (\"Sel2.wav\"): the clip runs past the end of the file (5000 bytes announced, 12 left)"},
        {RawEntry(1, 5, "Se"), ": the file name runs past the end of the file (5 bytes announced, 2 left)"},
        {std::string("\x01", 1), ": the file ends where its sound index should be (offset 113, 1 byte left)"},
        {RawEntry(1, "Sel2.wav", 1, "").substr(0, 13),
         ": the file ends where the clip size should be (offset 125, 1 byte left)"},
    };
    for (const auto& [entry, fault] : cases) ExpectRefused(EncodePlayerFile(file) + entry, "sound entry 2" + fault);
}

TEST(HostilePlayerFile, MoreThan64MiBOr1024EntriesAreRefusedTheSizeUnreadAndAnUnreadableFileAsSuch) {
    bool read = false;
    const ReadAt watch = [&read](std::uint64_t, std::size_t, char*) { return read = true; };
    PlayerLayout layout;
    PlayerRec header;
    EXPECT_EQ(DecodePlayerLayout(kMaxPlayerFileBytes + 1, watch, layout).message(),
              "the file is too large to be a player file (67108865 bytes; at most 67108864)");
    EXPECT_FALSE(DecodePlayerHeader(kMaxPlayerFileBytes + 1, watch, header).ok() || read);
    EXPECT_EQ(DecodePlayerLayout(100, [](std::uint64_t, std::size_t, char*) { return false; }, layout).message(),
              "the file cannot be read at offset 0");
    PlayerFileContents file = BarePlayer();
    for (std::size_t i = 0; i <= kMaxPlayerClips; ++i) file.Clips.push_back({{0, "c" + std::to_string(i), 0}, ""});
    PlayerFileContents out;
    EXPECT_EQ(DecodePlayerFile(EncodePlayerFile(file), out).message(),
              "sound entry 1025: a player file holds at most 1024 sound entries");
    file.Clips.pop_back();
    EXPECT_TRUE(DecodePlayerFile(EncodePlayerFile(file), out).ok());
}

// Cutting a file anywhere but between two entries must be noticed; a cut
// between entries leaves a shorter but valid file, which nothing can tell apart.
TEST(HostilePlayerFile, TruncationAtEveryByteIsRefusedUnlessBetweenEntries) {
    const PlayerFileContents file = OddPlayer();
    const std::string bytes = EncodePlayerFile(file);
    std::vector<std::size_t> boundaries{EncodePlayerFile({file.Header, file.Picture, {}}).size()};
    for (const PlayerClip& clip : file.Clips)
        boundaries.push_back(boundaries.back() + 2 + 2 + clip.Entry.FileName.size() + 4 + clip.Bytes.size());
    ASSERT_EQ(boundaries.back(), bytes.size());
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        PlayerFileContents out;
        const Status s = DecodePlayerFile(bytes.substr(0, cut), out);
        const auto at = std::find(boundaries.begin(), boundaries.end(), cut);
        EXPECT_EQ(s.ok(), at != boundaries.end()) << "a cut at " << cut << ": " << s.message();
        EXPECT_TRUE(!s.ok() || out.Clips.size() == static_cast<std::size_t>(at - boundaries.begin())) << cut;
    }
}

using test::ReadBytes;

class ExtractPlayer : public PlayerTableTest {
protected:
    std::map<std::string, std::string> Seat(int player) const { return Snapshot(game.PlayerDir[player]); }

    static std::map<std::string, std::string> Expected(const PlayerFileContents& file) {
        std::map<std::string, std::string> files{{"Player.bmp", file.Picture}};
        for (const PlayerClip& clip : file.Clips) files[clip.Entry.FileName] = clip.Bytes;
        return files;
    }
};

// Only seats 2..4 take an opponent. One file for two seats gives two
// independent copies.
TEST_F(ExtractPlayer, WritesThePictureAndEveryClipFillsTheRecordAndLeavesNothingOfTheOneBefore) {
    for (int seat : {-1, 0, 1, 5})
        EXPECT_NE(game.ExtractPlayer(Write("ada.dpf", SamplePlayer()), seat).message().find(
                      "there is no opponent seat " + std::to_string(seat)), std::string::npos);
    EXPECT_EQ(game.PlayerInfo[1], PlayerRec{});
    ASSERT_FALSE(fs::exists(table.folders.AppDir)) << "the working folder is made as needed";
    for (const auto& [file, seat] :
         {std::pair{SamplePlayer(), 2}, std::pair{OddPlayer(), 4}, std::pair{SamplePlayer(), 3}}) {
        SCOPED_TRACE(seat);
        const Status s = game.ExtractPlayer(Write("in.dpf", file), seat);
        ASSERT_TRUE(s.ok()) << s.message();
        EXPECT_EQ(std::tuple(Seat(seat), game.PlayerInfo[seat]), std::tuple(Expected(file), file.Header))
            << "odd names arrive unchanged; \"x\" and \"x.tmp\" are apart";
    }
    EXPECT_EQ(std::tuple(game.PlayerInfo[2].SoundChance, Notices()), std::tuple(30, std::pair(3, 3)));
    EXPECT_FALSE(fs::equivalent(game.PlayerDir[2] / "Sel1.wav", game.PlayerDir[3] / "Sel1.wav"));
    std::set<std::string> beside;
    for (const auto& entry : fs::directory_iterator(table.folders.AppDir)) beside.insert(entry.path().filename());
    EXPECT_EQ(beside, (std::set<std::string>{"Player2", "Player3", "Player4"}));

    // The previous opponent's files, stray files and the leftovers of an
    // interrupted run are all gone; none of them is adopted.
    const fs::path fresh = table.folders.AppDir / "Player2.new", retired = table.folders.AppDir / "Player2.old";
    for (const fs::path& left : {game.PlayerDir[2] / "stray.txt", fresh / "Comment2.wav", fresh / "sub" / "deeper.wav",
                                 retired / "Sel1.wav"})
        test::WriteBytes(left, "left behind");
    ASSERT_TRUE(game.ExtractPlayer(Write("bare.dpf", BarePlayer()), 2).ok());
    EXPECT_EQ(std::tuple(Seat(2), game.PlayerInfo[2].Name, fs::exists(fresh), fs::exists(retired)),
              std::tuple(Expected(BarePlayer()), "Bare", false, false));

    test::WriteBytes(fresh, "a file in the way");
    ASSERT_TRUE(game.ExtractPlayer(Write("ada.dpf", SamplePlayer()), 2).ok());
    EXPECT_EQ(Seat(2), Expected(SamplePlayer()));

    // A folder named with a trailing separator is replaced as a whole.
    game.PlayerDir[3] = table.folders.AppDir / "Seat3" / "";
    ASSERT_TRUE(game.ExtractPlayer(Write("ada.dpf", SamplePlayer()), 3).ok());
    EXPECT_EQ(std::tuple(Snapshot(table.folders.AppDir / "Seat3"), fs::exists(table.folders.AppDir / "Seat3" / ".new")),
              std::tuple(Expected(SamplePlayer()), false));
}

// Every refusal names the file, leaves the earlier opponent and every file in
// place, and takes the notice down. (Each fault of the format itself is
// pinned by the codec's tests.)
TEST_F(ExtractPlayer, ARefusedFileKeepsTheEarlierOpponent) {
    ASSERT_TRUE(game.ExtractPlayer(Write("ada.dpf", SamplePlayer()), 2).ok());
    fs::create_directories(table.Root() / "files" / "folder.dpf");
    const std::string good = EncodePlayerFile(BarePlayer());
    const std::pair<fs::path, std::string> cases[] = {
        {table.Root() / "files" / "missing.dpf", "No such file or directory"},
        {table.Root() / "files" / "folder.dpf", "it is not a regular file"},
        // A name that would leave the folder, after a good entry: neither reaches the folder.
        {Write("late.dpf", good + RawEntry(0, "Sel1.wav", 3, "new") + RawEntry(0, "/tmp/x.wav", 0, "")),
         "sound entry 2"},
    };
    for (const auto& [path, fragment] : cases) {
        SCOPED_TRACE(path);
        const auto before = Snapshot(table.Root());
        const int notices = Notices().second;
        const Status s = game.ExtractPlayer(path, 2);
        EXPECT_TRUE(s.message().starts_with("Cannot load the player file \"" + path.string() + "\": ") &&
                    s.message().ends_with(".") && s.message().find(fragment) != std::string::npos)
            << s.message();
        EXPECT_EQ(Snapshot(table.Root()), before);
        EXPECT_EQ(Notices(), std::pair(notices + 1, notices + 1));
    }
    EXPECT_EQ(std::tuple(game.PlayerInfo[2], Seat(2)), std::tuple(SamplePlayer().Header, Expected(SamplePlayer())));
}

using PreviewPlayer = PlayerTableTest;

// The selection clip is found without regard to case; an older one stays when
// the file has none; a bad file or a folder in the way writes nothing.
TEST_F(PreviewPlayer, WritesThePictureAndOnlyTheSelectionClip) {
    const fs::path preview = game.PreviewDir;
    PlayerFileContents upper = BarePlayer(), silent = BarePlayer();
    upper.Clips = {{{3, "Comment1.wav", 3}, "com"}, {{0, "SEL1.WAV", 3}, "sel"}};
    silent.Clips = {{{0, "Sel1.wav", 0}, ""}};  // an empty entry is passed over
    // The files previewed in turn, and the picture and selection clip each leaves in the preview folder.
    const std::string ada_clip = SamplePlayer().Clips[0].Bytes;
    for (const auto& [file, picture, clip] : {std::tuple{SamplePlayer(), SamplePlayer().Picture, ada_clip},
                                              {BarePlayer(), BarePlayer().Picture, ada_clip},
                                              {upper, BarePlayer().Picture, std::string("sel")},
                                              {silent, BarePlayer().Picture, std::string("sel")}}) {
        const Status s = game.PreviewPlayer(Write("in.dpf", file));
        ASSERT_TRUE(s.ok()) << s.message();
        EXPECT_EQ(Snapshot(preview), (std::map<std::string, std::string>{{"Player.bmp", picture}, {"Sel1.wav", clip}}));
    }
    EXPECT_EQ(game.PlayerInfo[2], PlayerRec{}) << "a preview chooses nobody";
    // Not even a good entry before the bad one is written.
    const fs::path path = Write("bad.dpf", EncodePlayerFile(BarePlayer()) + RawEntry(0, "Sel1.wav", 3, "new") +
                                               RawEntry(0, "../Sel1.wav", 0, ""));
    const auto with_file = Snapshot(table.Root());
    EXPECT_EQ(game.PreviewPlayer(path).message(), "Cannot preview the player file \"" + path.string() +
                               "\": sound entry 2 (\"../Sel1.wav\"): the file name contains '/'.");
    EXPECT_EQ(Snapshot(table.Root()), with_file);
    fs::remove(preview / "Sel1.wav");
    fs::create_directories(preview / "Sel1.wav" / "inside");
    EXPECT_NE(game.PreviewPlayer(Write("ada.dpf", SamplePlayer())).message().find("Sel1.wav"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(preview / "Sel1.wav" / "inside") && !fs::exists(preview / "Sel1.wav.tmp"));
}

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
    const fs::path cut = Write("cut.dpf", bare.substr(0, bare.size() - 1));
    Remember(2, Write("odd-entries.dpf", bare + RawEntry(77, "/etc/x", -4, "")).string());
    Remember(3, cut.string());
    game.PlayerInfo[3].Name = "Stale";
    game.PlayerInfo[4].Name = "Stale too";
    const Status s = game.LoadPlayers();
    EXPECT_EQ(std::tuple(game.PlayerInfo[2], game.PlayerInfo[3], game.PlayerInfo[4], game.PlayerFile[4], Notices()),
              std::tuple(BarePlayer().Header, PlayerRec{}, PlayerRec{}, "", std::pair(2, 2)));
    EXPECT_EQ(s.message(), "Cannot load the player file \"" + cut.string() +
                               "\": the picture runs past the end of the file (64 bytes announced, 63 left).\n"
                               "No player file is remembered for Player 4.");

    Remember(3, Write("ada.dpf", SamplePlayer()).string());
    Remember(4, Write("odd.dpf", OddPlayer()).string());
    const auto game2 = table.NewGameObject();
    ASSERT_TRUE(game2->LoadPlayers().ok());
    EXPECT_EQ(std::tuple(game2->PlayerInfo[2], game2->PlayerInfo[3], game2->PlayerInfo[4], game2->PlayerFile[3]),
              std::tuple(BarePlayer().Header, SamplePlayer().Header, OddPlayer().Header,
                         (table.Root() / "files" / "ada.dpf").string()));
    // Nothing is dealt, and headers only: nothing is unpacked.
    EXPECT_TRUE(test::AllCards(*game2).empty() && !fs::exists(table.folders.AppDir));
}

// The remembered choice is complete only with three paths of two characters.
TEST_F(PlayerChoice, TheChoiceIsSavedForTheNextStartButNotAPathTheSettingsCannotGiveBack) {
    for (const auto& [player, path, complete] : {std::tuple{0, "", false}, {2, "ab", false}, {3, "cd", false},
                                                 {4, "e", false}, {4, "ef", true}}) {
        if (player) Remember(player, path);
        EXPECT_EQ(game.RememberedPlayersComplete(), complete) << player << path;
    }
    std::tie(game.PlayerFile[2], game.PlayerFile[3], game.PlayerFile[4]) =
        std::tuple("/players/ada.dpf", "/players/bo.dpf", "/players/cy.dpf");
    const auto saved = [&](const char* key) {
        return Profile(table.folders.SettingsFile).ReadString("PlayersFile", key, "?");
    };
    ASSERT_TRUE(game.SavePlayerChoice().ok());
    EXPECT_EQ(std::tuple(saved("Player2"), saved("Player4")), std::tuple("/players/ada.dpf", "/players/cy.dpf"));
    EXPECT_TRUE(table.NewGameObject()->RememberedPlayersComplete());
    // A path the settings cannot give back is not kept.
    std::tie(game.PlayerFile[2], game.PlayerFile[3], game.PlayerFile[4]) =
        std::tuple("/p/" + std::string(130, 'a') + ".dpf", "/p/b.dpf ", "/p/c.dpf");
    EXPECT_EQ(game.SavePlayerChoice().message(),
              "The player file of Player 2 cannot be remembered: its path is longer than 127 characters.\n"
              "The player file of Player 3 cannot be remembered: its path begins or ends with a blank.");
    EXPECT_EQ(std::tuple(saved("Player2"), saved("Player3"), saved("Player4")), std::tuple("", "", "/p/c.dpf"));
    EXPECT_FALSE(game.RememberedPlayersComplete());
}

TEST_F(PlayerChoice, TheFoldersAreCreatedAsNeeded) {
    fs::create_directories(game.PlayerDir[3]);
    test::WriteBytes(game.PlayerDir[3] / "Sel1.wav", "kept");
    ASSERT_TRUE(game.EnsurePlayerFolders().ok());
    for (const fs::path& folder : {game.PreviewDir, game.PlayerDir[2], game.PlayerDir[4]})
        EXPECT_TRUE(fs::is_directory(folder)) << folder;
    EXPECT_EQ(test::ReadBytes(game.PlayerDir[3] / "Sel1.wav"), "kept");

    test::WriteBytes(table.Root() / "blocked", "a file");
    game.PlayerDir[4] = table.Root() / "blocked" / "Player4";
    const Status s = game.EnsurePlayerFolders();
    EXPECT_TRUE(!s.ok() && s.message().find("blocked/Player4") != std::string::npos) << s.message();
}

using ShippedPlayers = PlayerTableTest;
TEST_F(ShippedPlayers, EveryOpponentUnpacksWithPictureAndVoiceAndTheHumanHasBothGameOverClips) {
    const fs::path shared = fs::path(KVT_SHARED_DATA);
    std::set<std::string> names;
    int opponents = 0;
    for (const auto& entry : fs::directory_iterator(shared / "players")) {
        if (entry.path().extension() != ".dpf") continue;
        SCOPED_TRACE(entry.path().string());
        ++opponents;
        const int seat = 2 + opponents % 3;
        const Status s = game.ExtractPlayer(entry.path(), seat);
        ASSERT_TRUE(s.ok()) << s.message();
        EXPECT_FALSE(game.PlayerInfo[seat].Name.empty());
        names.insert(game.PlayerInfo[seat].Name);
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
}  // namespace kvt::players_test
