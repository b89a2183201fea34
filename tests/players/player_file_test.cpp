// The player-file codec: layout, round trips and the checks on good files.

#include <gtest/gtest.h>

#include "engine/byte_io.h"
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
    PlayerFileContents file;
    file.Header.Name = "Bo";
    file.Header.TraitA = 1;
    file.Header.TraitB = 2;
    file.Header.TraitC = 3;
    file.Header.Reserved1 = 4;
    file.Header.TraitD = 5;
    file.Header.Reserved2 = 6;
    file.Header.SoundChance = -2;
    file.Header.Reserved3 = 0x0102;
    file.Picture = "PIC";
    PlayerClip clip;
    clip.Entry = {33, "w.wav", 2};
    clip.Bytes = "ab";
    file.Clips.push_back(clip);
    const std::string expected = std::string("KVTP") + std::string("\x02\x00", 2) + "Bo" +
                                 std::string("\x03\x00\x00\x00", 4) +
                                 std::string("\x01\x00\x02\x00\x03\x00\x04\x00\x05\x00\x06\x00\xFE\xFF\x02\x01", 16) +
                                 "PIC" + std::string("\x21\x00\x05\x00", 4) + "w.wav" +
                                 std::string("\x02\x00\x00\x00", 4) + "ab";
    EXPECT_EQ(EncodePlayerFile(file), expected);
}

TEST(PlayerCodec, SizesComeFromTheBytesNotTheStoredFields) {
    PlayerFileContents file = SamplePlayer();
    file.Header.PictureSize = 5;
    file.Clips[0].Entry.Length = -9;
    PlayerFileContents decoded;
    ASSERT_TRUE(DecodePlayerFile(EncodePlayerFile(file), decoded).ok());
    EXPECT_EQ(decoded, SamplePlayer());
}

TEST(PlayerCodec, GoodFilesDecodeToWhatWasEncoded) {
    for (const PlayerFileContents& file : {SamplePlayer(), OddPlayer(), BarePlayer()}) {
        PlayerFileContents decoded;
        const Status s = DecodePlayerFile(EncodePlayerFile(file), decoded);
        ASSERT_TRUE(s.ok()) << s.message();
        EXPECT_EQ(decoded, file) << file.Header.Name;
    }
}

TEST(PlayerCodec, TheLayoutPointsAtThePictureAndEveryClip) {
    const PlayerFileContents file = OddPlayer();
    const std::string bytes = EncodePlayerFile(file);
    PlayerLayout layout;
    ASSERT_TRUE(DecodePlayerLayout(bytes.size(), FromMemory(bytes), layout).ok());
    EXPECT_EQ(layout.Header, file.Header);
    EXPECT_EQ(bytes.substr(layout.Picture.Offset, layout.Picture.Size), file.Picture);
    ASSERT_EQ(layout.Clips.size(), file.Clips.size());
    for (std::size_t i = 0; i < file.Clips.size(); ++i) {
        EXPECT_EQ(layout.Clips[i].Entry, file.Clips[i].Entry);
        EXPECT_EQ(bytes.substr(layout.Clips[i].Bytes.Offset, layout.Clips[i].Bytes.Size), file.Clips[i].Bytes);
    }
}

TEST(PlayerCodec, TheTagIsNeverCheckedAndLongNamesAreAccepted) {
    PlayerFileContents file = SamplePlayer();
    file.Header.Tag = {'\0', '\0', '\0', '\0'};
    file.Header.Name = std::string(3000, 'N');
    PlayerFileContents decoded;
    ASSERT_TRUE(DecodePlayerFile(EncodePlayerFile(file), decoded).ok());
    EXPECT_EQ(decoded.Header.Name.size(), 3000u);
    EXPECT_EQ(decoded.Header.Tag, file.Header.Tag);
}

TEST(PlayerCodec, AnEmptyPictureAndEmptyClipsAreAllowed) {
    PlayerFileContents file = BarePlayer();
    file.Picture.clear();
    file.Header.PictureSize = 0;
    file.Clips.push_back({{5, "quiet.wav", 0}, ""});
    PlayerFileContents decoded;
    ASSERT_TRUE(DecodePlayerFile(EncodePlayerFile(file), decoded).ok());
    EXPECT_EQ(decoded, file);
}

TEST(PlayerCodec, TheHeaderAloneNeedsOnlyTheHeaderAndThePicture) {
    const PlayerFileContents file = SamplePlayer();
    // A broken sound entry does not matter to the header...
    const std::string bytes = EncodePlayerFile(BarePlayer()) + RawEntry(99, "../x", -1, "");
    PlayerRec header;
    ASSERT_TRUE(DecodePlayerHeader(bytes.size(), FromMemory(bytes), header).ok());
    EXPECT_EQ(header, BarePlayer().Header);
    // ...but a picture cut short does.
    constexpr std::size_t kHeaderBytes = 4 + 2 + 3 + 4 + 8 * 2;  // "Ada"
    const std::string cut = EncodePlayerFile(file).substr(0, kHeaderBytes + 1000);
    PlayerRec untouched;
    untouched.Name = "keep";
    const Status s = DecodePlayerHeader(cut.size(), FromMemory(cut), untouched);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message(), "the picture runs past the end of the file (1500 bytes announced, 1000 left)");
    EXPECT_EQ(untouched.Name, "keep");
}

TEST(PlayerCodec, AFailedDecodeLeavesTheOutputAlone) {
    const std::string bytes = EncodePlayerFile(SamplePlayer()) + RawEntry(51, "late.wav", 0, "");
    PlayerFileContents out = BarePlayer();
    ASSERT_FALSE(DecodePlayerFile(bytes, out).ok());
    EXPECT_EQ(out, BarePlayer());
    PlayerLayout layout;
    layout.Header.Name = "keep";
    ASSERT_FALSE(DecodePlayerLayout(bytes.size(), FromMemory(bytes), layout).ok());
    EXPECT_EQ(layout.Header.Name, "keep");
    EXPECT_TRUE(layout.Clips.empty());
}

TEST(PlayerCodec, AnUnreadableFileIsReportedAsSuch) {
    const ReadAt broken = [](std::uint64_t, std::size_t, char*) { return false; };
    PlayerLayout layout;
    const Status s = DecodePlayerLayout(100, broken, layout);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message(), "the file cannot be read at offset 0");
}

TEST(PlayerCodec, ClipNamesThatArePlainFileNamesPass) {
    for (std::string_view name : {"Sel1.wav", "a", "wg1.WAV", "caf\xE9.wav", "with space.wav", "a.b.c",
                                  "x.tmp", "0123456789012345678901234567890123456789012345678901234567890123"})
        EXPECT_EQ(PlayerClipNameFault(name), "") << name;
}

TEST(PlayerCodec, NamesFoldAndQuoteByteForByte) {
    EXPECT_EQ(FoldClipName("SeL1.WAV"), "sel1.wav");
    EXPECT_EQ(FoldClipName("\xC9t\xE9.wav"), "\xC9t\xE9.wav") << "only ASCII letters fold";
    EXPECT_EQ(QuotedClipName("a\"b\\c\x01\xFF"), "\"a\\\"b\\\\c\\x01\\xFF\"");
}

TEST(PlayerCodec, ShorterNamesAreWrittenFirstAndTiesKeepFileOrder) {
    std::vector<PlayerClipLayout> clips;
    for (const char* name : {"x.tmp", "bb", "x", "cc", "Sel1.wav.tmp", "Sel1.wav"})
        clips.push_back({{0, name, 0}, {}});
    EXPECT_EQ(ClipWriteOrder(clips), (std::vector<std::size_t>{2, 1, 3, 0, 5, 4}));
}

}  // namespace
}  // namespace kvt::players_test
