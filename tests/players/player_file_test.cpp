// The player-file codec: layout, round trips, and the files it must refuse.

#include <gtest/gtest.h>

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
        {RawEntry(0, "tab\there.wav", 1, "x"), " (\"tab\\x09here.wav\"): the file name contains a control character"},
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

}  // namespace
}  // namespace kvt::players_test
