// Manifests that must be refused, each with the line that is at fault.

#include <gtest/gtest.h>

#include "kvx_test_support.h"
#include "tools/kvx/card_manifest.h"

namespace kvt::kvx {
namespace {

using testing::MinimalManifest;

// MinimalManifest() has ten lines, so appended text starts on line 11.
constexpr int kFirstExtraLine = 11;

std::string Replace(std::string text, std::string_view from, std::string_view to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

void ExpectRefused(const std::string& text, int line, std::string_view fragment) {
    CardManifest m;
    EXPECT_EQ(test::FaultMismatch(ParseCardManifest(text, m), "cardset.txt", line, fragment), "") << text;
}

struct HostileCase {
    const char* extra;
    int line;
    const char* fragment;
};

void PrintTo(const HostileCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.extra); }

class HostileCardSectionTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileCardSectionTest, IsRefusedWithItsLine) {
    const HostileCase& c = GetParam();
    ExpectRefused(MinimalManifest(c.extra), c.line, c.fragment);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, HostileCardSectionTest,
    ::testing::Values(
        HostileCase{"colour = 3\n", kFirstExtraLine, "unknown key \"colour\""},
        HostileCase{"group = 2\n", kFirstExtraLine, "\"group\" is given twice (first on line 7)"},
        HostileCase{"col = 1x\n", kFirstExtraLine, "not a whole number"},
        HostileCase{"count = 2.5\n", kFirstExtraLine, "not a whole number"},
        HostileCase{"[card 1]\nvalue = 40000\n", kFirstExtraLine + 1, "out of range"},
        HostileCase{"row = -32769\n", kFirstExtraLine, "out of range"},
        HostileCase{"[card 1]\naction = fly\n", kFirstExtraLine + 1, "unknown action \"fly\""},
        HostileCase{"[card 1]\naction = 70000\n", kFirstExtraLine + 1, "unknown action"},
        HostileCase{"[card 1]\naction = \"skip\"\n", kFirstExtraLine + 1, "unknown action"},
        HostileCase{"[card 81]\n", kFirstExtraLine, "card index 81 is out of range"},
        HostileCase{"[card -1]\n", kFirstExtraLine, "card index"},
        HostileCase{"[card 1e1]\n", kFirstExtraLine, "card index"},
        HostileCase{"[card 0]\n", kFirstExtraLine, "[card 0] appears twice (first on line 6)"},
        HostileCase{"[deck]\n", kFirstExtraLine, "unknown section [deck]"},
        HostileCase{"[card]\n", kFirstExtraLine, "unknown section"},
        HostileCase{"[cards 2]\n", kFirstExtraLine, "unknown section"},
        HostileCase{"title = \"x\"\n", kFirstExtraLine, "belongs in the top section"},
        HostileCase{"oops\n", kFirstExtraLine, "expected \"key = value\""},
        HostileCase{"\n# fine\n[card 1]\ncount = \"2\"\n", kFirstExtraLine + 3, "not a whole number"},
        HostileCase{"[card 2]\ngroup = 1\n[card 3]\ngroup = 1\ngroup = 2\n", kFirstExtraLine + 4,
                    "given twice"}));

TEST(HostileTopSectionTest, BadFormatTagAndTitle) {
    ExpectRefused(Replace(MinimalManifest(), "format = 1", "format = 2"), 1, "format 2 is not known");
    ExpectRefused(Replace(MinimalManifest(), "format = 1", "format = one"), 1, "not a whole number");
    ExpectRefused(Replace(MinimalManifest(), "\"KVTC\"", "\"KVT\""), 2, "exactly 4 bytes");
    ExpectRefused(Replace(MinimalManifest(), "\"KVTC\"", "\"KVTCX\""), 2, "exactly 4 bytes");
    ExpectRefused(Replace(MinimalManifest(), "\"KVTC\"", "KVTC"), 2, "double-quoted");
    ExpectRefused(Replace(MinimalManifest(), "\"Minimal\"", "\"" + std::string(31, 'x') + "\""), 3,
                  "31 characters long; at most 30 fit");
    ExpectRefused(Replace(MinimalManifest(), "\"Minimal\"", "\"caf\xE9\""), 3, "\\xE9");
    ExpectRefused(Replace(MinimalManifest(), "\"Minimal\"", "\"bad \\q escape\""), 3, "unknown escape");
}

TEST(HostileTopSectionTest, MisplacedUnknownAndDuplicatedKeys) {
    ExpectRefused("format = 1\ngroup = 1\n", 2, "\"group\" belongs inside a [card N] section");
    ExpectRefused("format = 1\ncolor = \"red\"\n", 2, "unknown key \"color\"");
    ExpectRefused(Replace(MinimalManifest(), "title = \"Minimal\"\n",
                          "title = \"Minimal\"\ntitle = \"Other\"\n"),
                  4, "\"title\" is given twice (first on line 3)");
    ExpectRefused(Replace(MinimalManifest(), "format = 1\n", "format = 1\nsound-size = 2\n"), 2,
                  "out of range");
    ExpectRefused(Replace(MinimalManifest(), "format = 1\n",
                          "format = 1\nsound = \"open.wav\"\nsound-size = 0\n"),
                  3, "sound-size only applies when there is no sound");
    ExpectRefused(Replace(MinimalManifest(), "format = 1\n",
                          "format = 1\ntext1 = \"" + std::string(32768, 'x') + "\"\n"),
                  2, "at most 32767 fit");
}

TEST(HostileTopSectionTest, MissingRequiredKeysAreNamed) {
    for (const char* line : {"format = 1\n", "tag = \"KVTC\"\n", "title = \"Minimal\"\n",
                             "bitmap = \"cards.bmp\"\n"}) {
        const std::string key(line, std::string_view(line).find(' '));
        ExpectRefused(Replace(MinimalManifest(), line, ""), 0, "the top section has no \"" + key + "\" line");
    }
}

TEST(HostileTopSectionTest, ErrorsNameTheGivenSource) {
    CardManifest m;
    EXPECT_EQ(test::FaultMismatch(ParseCardManifest("format = 1\nbad\n", "data/default/cardset.txt", m),
                                  "data/default/cardset.txt", 2, ""), "");
}

class EmbeddedFileNameTest : public ::testing::TestWithParam<const char*> {};

TEST_P(EmbeddedFileNameTest, UnsafeNamesAreRefusedForEveryFile) {
    const std::string name = GetParam();
    ExpectRefused(Replace(MinimalManifest(), "\"cards.bmp\"", name), 4, "bitmap: the file name");
    ExpectRefused(Replace(MinimalManifest(), "format = 1\n", "format = 1\nsound = " + name + "\n"), 2,
                  "sound: the file name");
    ExpectRefused(
        Replace(MinimalManifest(), "format = 1\n", "format = 1\nbackground = " + name + "\n"), 2,
        "background: the file name");
}

INSTANTIATE_TEST_SUITE_P(PathTraversal, EmbeddedFileNameTest,
                         ::testing::Values(R"("../cards.bmp")", R"("../../etc/passwd")",
                                           R"("/etc/passwd")", R"("sub/cards.bmp")", R"("..")",
                                           R"(".")", R"(".hidden.bmp")", R"("cards..bmp")",
                                           R"("cards\x00.bmp")", R"("cards\n.bmp")",
                                           R"("cards\x7F.bmp")", R"("a\\..\\b")"));

TEST(EmbeddedFileNameTest, BitmapMayNotBeEmptyButSoundAndBackgroundMay) {
    ExpectRefused(Replace(MinimalManifest(), "\"cards.bmp\"", "\"\""), 4, "the file name is empty");
    CardManifest m;
    const Status s = ParseCardManifest(
        Replace(MinimalManifest(), "format = 1\n", "format = 1\nsound = \"\"\nbackground = \"\"\n"), m);
    EXPECT_TRUE(s) << s.message();
}

}  // namespace
}  // namespace kvt::kvx
