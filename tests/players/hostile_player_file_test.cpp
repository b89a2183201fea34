// Player files that must be refused, each with a message that names the fault.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/byte_io.h"
#include "player_test_support.h"

namespace kvt::players_test {
namespace {

Status Decode(const std::string& bytes) {
    PlayerFileContents out;
    return DecodePlayerFile(bytes, out);
}

// A good file's header and picture, then what the case appends.
std::string AfterGoodEntry(const std::string& hostile) {
    PlayerFileContents file = BarePlayer();
    file.Clips.push_back({{0, "Sel1.wav", 3}, "abc"});
    return EncodePlayerFile(file) + hostile;
}

struct HostileEntry {
    std::string bytes;     // appended after one good entry
    std::string message;   // the whole message
};

void PrintTo(const HostileEntry& c, std::ostream* os) { *os << c.message; }

class HostileEntryTest : public ::testing::TestWithParam<HostileEntry> {};

TEST_P(HostileEntryTest, IsRefusedWithItsNumberNameAndFault) {
    const Status s = Decode(AfterGoodEntry(GetParam().bytes));
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, HostileEntryTest,
    ::testing::Values(
        HostileEntry{RawEntry(0, "../x.wav", 1, "x"), "sound entry 2 (\"../x.wav\"): the file name contains '/'"},
        HostileEntry{RawEntry(0, "a/b.wav", 1, "x"), "sound entry 2 (\"a/b.wav\"): the file name contains '/'"},
        HostileEntry{RawEntry(0, "..\\x.wav", 1, "x"),
                     "sound entry 2 (\"..\\\\x.wav\"): the file name contains '\\'"},
        HostileEntry{RawEntry(0, "C:x.wav", 1, "x"), "sound entry 2 (\"C:x.wav\"): the file name contains ':'"},
        HostileEntry{RawEntry(0, "..", 1, "x"), "sound entry 2 (\"..\"): the file name contains \"..\""},
        HostileEntry{RawEntry(0, "a..b.wav", 1, "x"), "sound entry 2 (\"a..b.wav\"): the file name contains \"..\""},
        HostileEntry{RawEntry(0, "tab\there.wav", 1, "x"),
                     "sound entry 2 (\"tab\\x09here.wav\"): the file name contains a control character"},
        HostileEntry{RawEntry(0, ".profile", 1, "x"), "sound entry 2 (\".profile\"): the file name starts with '.'"},
        HostileEntry{RawEntry(0, "bell\a.wav", 1, "x"),
                     "sound entry 2 (\"bell\\x07.wav\"): the file name contains a control character"},
        HostileEntry{RawEntry(0, std::string_view("a\0b", 3), 1, "x"),
                     "sound entry 2 (\"a\\x00b\"): the file name contains a control character"},
        HostileEntry{RawEntry(0, "rub\x7F", 1, "x"),
                     "sound entry 2 (\"rub\\x7F\"): the file name contains a control character"},
        HostileEntry{RawEntry(0, "", 1, "x"), "sound entry 2: the file name is empty"},
        HostileEntry{RawEntry(0, std::string(65, 'a'), 1, "x"),
                     "sound entry 2: the file name is 65 characters long; at most 64 are allowed"},
        HostileEntry{RawEntry(0, 30000, "x"),
                     "sound entry 2: the file name is 30000 characters long; at most 64 are allowed"},
        HostileEntry{RawEntry(0, -1, "x"), "sound entry 2: the length of the file name is negative (-1)"},
        HostileEntry{RawEntry(51, "Disc1.wav", 1, "x"),
                     "sound entry 2 (\"Disc1.wav\"): the sound index is 51; it must be 0 to 50"},
        HostileEntry{RawEntry(-1, "Disc1.wav", 1, "x"),
                     "sound entry 2 (\"Disc1.wav\"): the sound index is -1; it must be 0 to 50"},
        HostileEntry{RawEntry(1, "SEL1.wav", 1, "x"),
                     "sound entry 2 (\"SEL1.wav\"): the file name repeats that of sound entry 1"},
        HostileEntry{RawEntry(1, "player.BMP", 1, "x"),
                     "sound entry 2 (\"player.BMP\"): the file name is that of the picture"},
        HostileEntry{RawEntry(1, "Disc1.wav", -5, ""),
                     "sound entry 2 (\"Disc1.wav\"): the clip size is negative (-5)"},
        HostileEntry{RawEntry(1, "Disc1.wav", 0x7FFFFFFF, "abc"),
                     "sound entry 2 (\"Disc1.wav\"): the clip runs past the end of the file (2147483647 bytes "
                     "announced, 3 left)"},
        HostileEntry{RawEntry(1, "Sel2.wav", 5000, std::string(12, 'c')),
                     "sound entry 2 (\"Sel2.wav\"): the clip runs past the end of the file (5000 bytes "
                     "announced, 12 left)"},
        HostileEntry{RawEntry(1, 5, "Se"),
                     "sound entry 2: the file name runs past the end of the file (5 bytes announced, 2 left)"},
        HostileEntry{std::string("\x01", 1), "sound entry 2: the file ends where its sound index should be "
                                             "(offset 113, 1 byte left)"},
        HostileEntry{RawEntry(1, "Sel2.wav", 1, "").substr(0, 13),
                     "sound entry 2: the file ends where the clip size should be (offset 125, 1 byte left)"}));

TEST(HostilePlayerHeader, NegativeAndOversizedFieldsAreRefused) {
    const std::string good = EncodePlayerFile(BarePlayer());
    std::string negative_name = good;
    negative_name[4] = '\xFF';
    negative_name[5] = '\xFF';
    EXPECT_EQ(Decode(negative_name).message(), "the length of the name is negative (-1)");

    std::string long_name = good;
    long_name[4] = '\x00';
    long_name[5] = '\x70';
    EXPECT_EQ(Decode(long_name).message(),
              "the name runs past the end of the file (28672 bytes announced, " +
                  std::to_string(good.size() - 6) + " left)");

    // "Bare": the picture size follows the 4 + 2 + 4 bytes of tag and name.
    std::string negative_picture = good;
    negative_picture.replace(10, 4, std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_EQ(Decode(negative_picture).message(), "the picture size is negative (-2)");

    std::string huge_picture = good;
    huge_picture.replace(10, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    EXPECT_EQ(Decode(huge_picture).message(),
              "the picture runs past the end of the file (2147483647 bytes announced, 64 left)");
}

TEST(HostilePlayerHeader, AFileLargerThan64MiBIsRefusedUnread) {
    bool read = false;
    const ReadAt watch = [&read](std::uint64_t, std::size_t, char*) { return read = true; };
    PlayerLayout layout;
    const Status s = DecodePlayerLayout(kMaxPlayerFileBytes + 1, watch, layout);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.message(), "the file is too large to be a player file (67108865 bytes; at most 67108864)");
    EXPECT_FALSE(read);
    PlayerRec header;
    EXPECT_FALSE(DecodePlayerHeader(kMaxPlayerFileBytes + 1, watch, header).ok());
    EXPECT_FALSE(read);
}

TEST(HostilePlayerHeader, AnEmptyFileIsRefused) {
    EXPECT_EQ(Decode("").message(), "the file ends where the tag should be (offset 0, 0 bytes left)");
}

TEST(HostilePlayerFile, TooManyEntriesAreRefused) {
    PlayerFileContents file = BarePlayer();
    for (std::size_t i = 0; i <= kMaxPlayerClips; ++i)
        file.Clips.push_back({{0, "c" + std::to_string(i), 0}, ""});
    EXPECT_EQ(Decode(EncodePlayerFile(file)).message(),
              "sound entry 1025: a player file holds at most 1024 sound entries");
    file.Clips.pop_back();
    EXPECT_TRUE(Decode(EncodePlayerFile(file)).ok());
}

// Cutting a file anywhere but between two entries must be noticed; a cut
// between entries leaves a shorter but valid file, which nothing can tell apart.
TEST(HostilePlayerFile, TruncationAtEveryByteIsRefusedUnlessBetweenEntries) {
    const PlayerFileContents file = OddPlayer();
    const std::string bytes = EncodePlayerFile(file);
    std::vector<std::size_t> boundaries;
    std::size_t end = EncodePlayerFile({file.Header, file.Picture, {}}).size();
    boundaries.push_back(end);
    for (const PlayerClip& clip : file.Clips) {
        end += 2 + 2 + clip.Entry.FileName.size() + 4 + clip.Bytes.size();
        boundaries.push_back(end);
    }
    ASSERT_EQ(end, bytes.size());
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        PlayerFileContents out;
        const Status s = DecodePlayerFile(bytes.substr(0, cut), out);
        const auto at = std::find(boundaries.begin(), boundaries.end(), cut);
        if (at == boundaries.end()) {
            EXPECT_FALSE(s.ok()) << "accepted a cut at " << cut;
        } else {
            ASSERT_TRUE(s.ok()) << cut << ": " << s.message();
            EXPECT_EQ(out.Clips.size(), static_cast<std::size_t>(at - boundaries.begin()));
        }
    }
}

}  // namespace
}  // namespace kvt::players_test
