// The manifests' shared syntax (strings, numbers, lines), and cardset.txt: how
// it is written, how it is read, and the manifests that must be refused, each
// with the line that is at fault.

#include "tools/kvx/card_manifest.h"
#include "tools/kvx/manifest_syntax.h"

#include <gtest/gtest.h>

#include <tuple>

#include "kvx_test_support.h"

namespace kvt::kvx {
namespace {

using testing::MinimalManifest;
using testing::Replace;

TEST(ManifestStringTest, EveryByteRoundTripsTheAwkwardOnesAreEscapedAndMalformedStringsAreRefused) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string quoted = QuoteManifestString(all);
    for (const char c : quoted.substr(1, quoted.size() - 2)) {
        const auto u = static_cast<unsigned char>(c);
        EXPECT_TRUE(u >= 0x20 && u < 0x7F) << "unescaped byte " << static_cast<int>(u);
    }
    std::string back, error;
    ASSERT_TRUE(UnquoteManifestString(quoted, back, error)) << error;
    EXPECT_EQ(back, all);
    // The awkward characters are escaped; hex may be read in either case.
    for (const auto& [text, quoted] : {std::pair<std::string, std::string>{"a\"b\\c", R"("a\"b\\c")"},
                                       {"\n\r\t", R"("\n\r\t")"},
                                       {std::string("\0\x7F\xE9", 3), R"("\x00\x7F\xE9")"},
                                       {"plain #text = [1]", "\"plain #text = [1]\""}})
        EXPECT_EQ(QuoteManifestString(text), quoted);
    ASSERT_TRUE(UnquoteManifestString(R"("\xe9\xAb")", back, error)) << error;
    EXPECT_EQ(back, "\xE9\xAB");
    // Malformed strings are refused with a reason.
    for (const char* bad : {R"(abc)", R"("abc)", R"("a\qb")", R"("a\x4")", R"("a\xZZ")", R"("a\")",
                            "\"tab\there\"", "\"caf\xC3\xA9\"", R"("a"b")"}) {
        error.clear();
        EXPECT_TRUE(!UnquoteManifestString(bad, back, error) && !error.empty()) << bad;
    }
}

TEST(ManifestIntegerTest, TakesOnlyDecimalWholeNumbersWithinRange) {
    std::int64_t v = 0;
    std::string error;
    ASSERT_TRUE(ParseManifestInteger("-32768", -32768, 32767, v, error) && v == -32768);
    ASSERT_TRUE(ParseManifestInteger("007", 0, 10, v, error) && v == 7);
    for (const char* bad : {"", "-", "+1", "1.5", "0x10", "12a", " 1", "1e3", "--1"})
        EXPECT_FALSE(ParseManifestInteger(bad, -100, 100, v, error)) << '"' << bad << '"';
    for (const char* big : {"32768", "99999999999999999999999"})
        EXPECT_TRUE(!ParseManifestInteger(big, -32768, 32767, v, error) && error.find("out of range") != std::string::npos) << error;
}

TEST(ManifestLinesTest, DropsCommentsAndBlankLinesKeepsLineNumbersAndReportsTheFaultyLine) {
    std::vector<ManifestLine> lines;
    const Status s = SplitManifestLines(
        "# comment\n\n  title = \"a # b\"   # trailing\r\n[card 3]  # note\n  copies=2\n", lines);
    ASSERT_TRUE(s) << s.message();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(std::tuple(lines[0].number, lines[0].key, lines[0].value), std::tuple(3, "title", "\"a # b\""));
    EXPECT_EQ(std::tuple(lines[1].number, lines[1].is_section, lines[1].section), std::tuple(4, true, "card 3"));
    EXPECT_EQ(std::tuple(lines[2].key, lines[2].value), std::tuple("copies", "2"));
    for (const char* bad : {"a = 1\njust words\n", "a = 1\ntitle = \"open\n", "a = 1\n = 3\n",
                            "a = 1\nkey =\n", "a = 1\n[card 1\n", "a = 1\nt = \"x\" y\n"}) {
        const Status s = SplitManifestLines(bad, lines);
        ASSERT_FALSE(s) << bad;
        EXPECT_EQ(s.message().rfind("line 2: ", 0), 0u) << s.message();
    }
}

// Unpacking writes the manifest and only the files the set holds. (The
// byte-for-byte round trip and the faults of a folder are pinned on the kvx program.)
TEST(CardManifestFormatTest, WritesTheTopSectionEveryCardAndRareFieldsOnlyWhenSetAndUnpacksBesideThePresentFiles) {
    test::TempDir temp;
    // The manifest of `set`, after checking that unpacking it writes the
    // manifest and exactly `files` (name -> bytes) beside it.
    const auto unpacked = [&temp](const CardSetFile& set, const char* folder, std::map<std::string, std::string> files) {
        const std::string manifest = FormatCardManifest(ManifestForCardSet(set));
        EXPECT_TRUE(UnpackCardSet(set, temp / folder));
        files["cardset.txt"] = manifest;
        EXPECT_EQ(test::FilesIn(temp / folder), files) << folder;
        return manifest;
    };
    const CardSetFile plain = testing::PlainCardSet();
    const std::string text = unpacked(plain, "plain", {{"cards.bmp", plain.Bitmap}, {"open.wav", plain.Sound}});
    EXPECT_TRUE(text.starts_with("# KVT card set\nformat = 1\ntag = \"KVTC\"\ntitle = \"Four Corners                  \"\n"
                                 "author = \"The KVT developers\"\ntext1 = \"\"\ntext2 = \"\"\n"
                                 "bitmap = \"cards.bmp\"\nsound = \"open.wav\"\nbackground = \"\"\n"))
        << text;
    for (int d = 0; d < kCardDefCount; ++d)
        EXPECT_NE(text.find("\n[card " + std::to_string(d) + "]\n"), std::string::npos) << d;
    for (const char* part : {"[card 0]\n# group 1, value 1, 2 copies: plain card\ngroup = 1\nvalue = 1\n"
                             "action = discard\ncount = 0\ncopies = 2\nrow = 0\ncol = 0\n",
                             "[card 36]\n# wild, value 50, 4 copies: the next player draws 4 from the deck\n",
                             "[card 50]\n# empty\n\n[card 51]", "[card 80]\n# card back at row 4, column 9\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n--- in:\n" << text;
    // Rarely used fields are written only when set.
    for (const char* rare : {"reserved1", "playable", "sound-size"}) EXPECT_EQ(text.find(rare), std::string::npos);
    const CardSetFile odd_set = testing::OddCardSet();
    const std::string odd =
        unpacked(odd_set, "odd", {{"cards.bmp", odd_set.Bitmap}, {"background.bmp", odd_set.Background}});
    for (const char* set : {"col = 0\nreserved1 = -1\nreserved2 = -32768\n\n[card 1]",
                            "col = 2\nplayable = 1\n\n[card 3]", "tag = \"Z\\x01\\xFF\\x80\"\n",
                            "sound = \"\"\nsound-size = 1\nbackground = \"background.bmp\"\n"})
        EXPECT_NE(odd.find(set), std::string::npos) << set << "\n--- in:\n" << odd;
}

// Missing keys and sections are zero; sections come in any order; the title is
// padded and the header taken from the tag. (Every key given is read back by
// the round trips on the kvx program.)
TEST(CardManifestParseTest, ReadsWhatIsGivenAndLeavesTheRestZero) {
    CardManifest m;
    const std::string text = MinimalManifest("[card 80]\naction = card-back\n[card 9]\naction = 42\ncount = -3\n"
                                             "[card 2]\naction = pass-right\n  group=7   # lucky\nreserved2 = 5\n"
                                             "playable = 1\n[card 3]\n");
    Status s = ParseCardManifest(Replace(text, "\"KVTC\"", "\"AB\\x34\\x12\""), m);
    ASSERT_TRUE(s) << s.message();
    EXPECT_EQ(m.Def.CardDefs[0], kvt::test::Def(1, 1, kActionDiscard, 0, 30));
    EXPECT_EQ(std::tuple(m.Def.CardDefs[1], m.Def.CardDefs[3]), std::tuple(Card{}, Card{}));
    EXPECT_EQ(m.Def.CardDefs[80].Action, kActionCardBack);
    EXPECT_EQ(std::tuple(m.Def.CardDefs[9].Action, m.Def.CardDefs[9].ActionCount), std::tuple(42, -3));
    const Card& two = m.Def.CardDefs[2];
    EXPECT_EQ(std::tuple(two.Action, two.Group, two.Reserved2, two.Playable), std::tuple(kActionPassRight, 7, 5, 1));
    EXPECT_EQ(std::tuple(m.Def.AuthorName, m.SoundFile, m.SoundSizeWithoutSound, m.BackgroundFile), std::tuple("", "", 0, ""));
    EXPECT_EQ(std::tuple(m.Def.GameTitle, m.Def.Header), std::tuple("Minimal                       ", 0x1234));
    EXPECT_EQ(m.Tag, (std::array<char, 4>{'A', 'B', '\x34', '\x12'}));
}

TEST(ActionNameTest, NamesRoundTripAndUnknownCodesAreNumbers) {
    const std::pair<int, const char*> names[] = {{kActionNone, "again"}, {kActionDrawAcross, "draw-across"},
                                                 {kActionNeverDealt, "never-dealt"}, {11, "11"}, {-1, "-1"},
                                                 {kActionBackgroundCell, "background-cell"}, {kActionCardBack, "card-back"}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(ActionName(code), name);
    for (int code = -40; code <= 140; ++code) {
        std::int16_t back = -999;
        ASSERT_TRUE(ParseActionName(ActionName(code), back)) << code;
        EXPECT_EQ(back, code);
    }
    std::int16_t action = 0;
    for (const char* bad : {"Discard", "pass_left", "40000", ""}) EXPECT_FALSE(ParseActionName(bad, action)) << bad;
}

// MinimalManifest() has ten lines, so appended text starts on line 11.
constexpr int kFirstExtraLine = 11;

void ExpectRefused(const std::string& text, int line, std::string_view fragment) {
    CardManifest m;
    EXPECT_EQ(test::FaultMismatch(ParseCardManifest(text, m), "cardset.txt", line, fragment), "") << text;
}

// Each case replaces `from` in MinimalManifest() with `to`, or appends `to`
// (a card section) when `from` is empty; line 0 is a fault of the whole file.
TEST(HostileCardManifest, IsRefusedWithItsLineAndTheGivenSourceIsNamed) {
    constexpr int L = kFirstExtraLine;
    const std::string f = "format = 1\n";
    const std::tuple<std::string, std::string, int, std::string> cases[] = {
        {"", "colour = 3\n", L, "unknown key \"colour\""},
        {"", "group = 2\n", L, "\"group\" is given twice (first on line 7)"},
        {"", "col = 1x\n", L, "not a whole number"},
        {"", "[card 1]\nvalue = 40000\n", L + 1, "out of range"},
        {"", "row = -32769\n", L, "out of range"},
        {"", "[card 1]\naction = fly\n", L + 1, "unknown action \"fly\""},
        {"", "[card 1]\naction = \"skip\"\n", L + 1, "unknown action"},
        {"", "[card 81]\n", L, "card index 81 is out of range"},
        {"", "[card -1]\n", L, "card index"},
        {"", "[card 1e1]\n", L, "card index"},
        {"", "[card 0]\n", L, "[card 0] appears twice (first on line 6)"},
        {"", "[deck]\n", L, "unknown section [deck]"},
        {"", "[card]\n", L, "unknown section"},
        {"", "[cards 2]\n", L, "unknown section"},
        {"", "title = \"x\"\n", L, "belongs in the top section"},
        {"", "oops\n", L, "expected \"key = value\""},
        {"", "\n# fine\n[card 1]\ncount = \"2\"\n", L + 3, "not a whole number"},
        {"", "[card 2]\ngroup = 1\n[card 3]\ngroup = 1\ngroup = 2\n", L + 4, "given twice"},
        {"format = 1", "format = 2", 1, "format 2 is not known"},
        {"format = 1", "format = one", 1, "not a whole number"},
        {"\"KVTC\"", "\"KVT\"", 2, "exactly 4 bytes"},
        {"\"KVTC\"", "\"KVTCX\"", 2, "exactly 4 bytes"},
        {"\"KVTC\"", "KVTC", 2, "double-quoted"},
        {"\"Minimal\"", "\"" + std::string(31, 'x') + "\"", 3, "31 characters long; at most 30 fit"},
        {"\"Minimal\"", "\"caf\xE9\"", 3, "\\xE9"},
        {"\"Minimal\"", "\"bad \\q escape\"", 3, "unknown escape"},
        {"\"cards.bmp\"", "\"\"", 4, "bitmap: the file name is empty"},
        {"title = \"Minimal\"\n", "title = \"Minimal\"\ntitle = \"Other\"\n", 4,
         "\"title\" is given twice (first on line 3)"},
        {f, f + "group = 1\n", 2, "\"group\" belongs inside a [card N] section"},
        {f, f + "color = \"red\"\n", 2, "unknown key \"color\""},
        {f, f + "sound-size = 2\n", 2, "out of range"},
        {f, f + "sound = \"open.wav\"\nsound-size = 0\n", 3, "sound-size only applies when there is no sound"},
        {f, f + "text1 = \"" + std::string(32768, 'x') + "\"\n", 2, "at most 32767 fit"},
        {f, "", 0, "the top section has no \"format\" line"},
        {"tag = \"KVTC\"\n", "", 0, "the top section has no \"tag\" line"},
        {"title = \"Minimal\"\n", "", 0, "the top section has no \"title\" line"},
        {"bitmap = \"cards.bmp\"\n", "", 0, "the top section has no \"bitmap\" line"}};
    for (const auto& [from, to, line, fragment] : cases)
        ExpectRefused(from.empty() ? MinimalManifest(to) : Replace(MinimalManifest(), from, to), line, fragment);
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
    // The sound and the background may be empty (the bitmap may not: see HostileCardManifest).
    CardManifest m;
    const Status s = ParseCardManifest(
        Replace(MinimalManifest(), "format = 1\n", "format = 1\nsound = \"\"\nbackground = \"\"\n"), m);
    EXPECT_TRUE(s) << s.message();
}

}  // namespace
}  // namespace kvt::kvx
