// Manifests that must be refused, each with the line that is at fault.

#include <gtest/gtest.h>

#include <tuple>

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

TEST(HostileCardSectionTest, IsRefusedWithItsLine) {
    constexpr int L = kFirstExtraLine;
    const std::tuple<const char*, int, const char*> cases[] = {
        {"colour = 3\n", L, "unknown key \"colour\""},
        {"group = 2\n", L, "\"group\" is given twice (first on line 7)"},
        {"col = 1x\n", L, "not a whole number"},
        {"count = 2.5\n", L, "not a whole number"},
        {"[card 1]\nvalue = 40000\n", L + 1, "out of range"},
        {"row = -32769\n", L, "out of range"},
        {"[card 1]\naction = fly\n", L + 1, "unknown action \"fly\""},
        {"[card 1]\naction = 70000\n", L + 1, "unknown action"},
        {"[card 1]\naction = \"skip\"\n", L + 1, "unknown action"},
        {"[card 81]\n", L, "card index 81 is out of range"},
        {"[card -1]\n", L, "card index"},
        {"[card 1e1]\n", L, "card index"},
        {"[card 0]\n", L, "[card 0] appears twice (first on line 6)"},
        {"[deck]\n", L, "unknown section [deck]"},
        {"[card]\n", L, "unknown section"},
        {"[cards 2]\n", L, "unknown section"},
        {"title = \"x\"\n", L, "belongs in the top section"},
        {"oops\n", L, "expected \"key = value\""},
        {"\n# fine\n[card 1]\ncount = \"2\"\n", L + 3, "not a whole number"},
        {"[card 2]\ngroup = 1\n[card 3]\ngroup = 1\ngroup = 2\n", L + 4, "given twice"}};
    for (const auto& [extra, line, fragment] : cases) ExpectRefused(MinimalManifest(extra), line, fragment);
}

// Each case replaces a part of MinimalManifest().
TEST(HostileTopSectionTest, BadValuesAndMisplacedUnknownOrDuplicatedKeys) {
    const std::string f = "format = 1\n";
    const std::tuple<std::string, std::string, int, std::string> cases[] = {
        {"format = 1", "format = 2", 1, "format 2 is not known"},
        {"format = 1", "format = one", 1, "not a whole number"},
        {"\"KVTC\"", "\"KVT\"", 2, "exactly 4 bytes"},
        {"\"KVTC\"", "\"KVTCX\"", 2, "exactly 4 bytes"},
        {"\"KVTC\"", "KVTC", 2, "double-quoted"},
        {"\"Minimal\"", "\"" + std::string(31, 'x') + "\"", 3, "31 characters long; at most 30 fit"},
        {"\"Minimal\"", "\"caf\xE9\"", 3, "\\xE9"},
        {"\"Minimal\"", "\"bad \\q escape\"", 3, "unknown escape"},
        {"title = \"Minimal\"\n", "title = \"Minimal\"\ntitle = \"Other\"\n", 4,
         "\"title\" is given twice (first on line 3)"},
        {f, f + "group = 1\n", 2, "\"group\" belongs inside a [card N] section"},
        {f, f + "color = \"red\"\n", 2, "unknown key \"color\""},
        {f, f + "sound-size = 2\n", 2, "out of range"},
        {f, f + "sound = \"open.wav\"\nsound-size = 0\n", 3, "sound-size only applies when there is no sound"},
        {f, f + "text1 = \"" + std::string(32768, 'x') + "\"\n", 2, "at most 32767 fit"}};
    for (const auto& [from, to, line, fragment] : cases)
        ExpectRefused(Replace(MinimalManifest(), from, to), line, fragment);
}

TEST(HostileTopSectionTest, MissingRequiredKeysAreNamedAndErrorsNameTheGivenSource) {
    for (const char* line : {"format = 1\n", "tag = \"KVTC\"\n", "title = \"Minimal\"\n",
                             "bitmap = \"cards.bmp\"\n"}) {
        const std::string key(line, std::string_view(line).find(' '));
        ExpectRefused(Replace(MinimalManifest(), line, ""), 0, "the top section has no \"" + key + "\" line");
    }
    // Errors name the source they are given.
    CardManifest m;
    EXPECT_EQ(test::FaultMismatch(ParseCardManifest("format = 1\nbad\n", "data/default/cardset.txt", m),
                                  "data/default/cardset.txt", 2, ""), "");
}

TEST(EmbeddedFileNameTest, UnsafeNamesAreRefusedForEveryFileAndOnlyTheBitmapMustBeGiven) {
    for (const std::string name : {R"("../cards.bmp")", R"("../../etc/passwd")", R"("/etc/passwd")",
                                   R"("sub/cards.bmp")", R"("..")", R"(".")", R"(".hidden.bmp")", R"("cards..bmp")",
                                   R"("cards\x00.bmp")", R"("cards\n.bmp")", R"("cards\x7F.bmp")", R"("a\\..\\b")"}) {
        ExpectRefused(Replace(MinimalManifest(), "\"cards.bmp\"", name), 4, "bitmap: the file name");
        for (const std::string key : {"sound", "background"}) {
            const std::string line = "format = 1\n" + key + " = " + name + "\n";
            ExpectRefused(Replace(MinimalManifest(), "format = 1\n", line), 2, key + ": the file name");
        }
    }
    // The bitmap may not be empty, the sound and the background may.
    ExpectRefused(Replace(MinimalManifest(), "\"cards.bmp\"", "\"\""), 4, "the file name is empty");
    CardManifest m;
    const Status s = ParseCardManifest(
        Replace(MinimalManifest(), "format = 1\n", "format = 1\nsound = \"\"\nbackground = \"\"\n"), m);
    EXPECT_TRUE(s) << s.message();
}

}  // namespace
}  // namespace kvt::kvx
