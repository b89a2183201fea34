// The manifests' shared syntax (strings, numbers, lines); cardset.txt and the player folders' player.txt: how
// they are written, how they are read, and the manifests that must be refused, each with the line that is at
// fault; then the kvx program itself, run on card sets and player files (where the round trips are pinned).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <tuple>

#include "kvx_test_support.h"
#include "players/player_test_support.h"
#include "tools/kvx/card_manifest.h"
#include "tools/kvx/manifest_syntax.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

using players_test::BarePlayer;
using players_test::OddPlayer;
using players_test::SamplePlayer;
using test::ReadBytes;
using test::WriteBytes;
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

// Missing keys and sections are zero, sections come in any order and the title is padded. (Every key given,
// and the tag with the header taken from it, are read back by the round trips on the kvx program.)
TEST(CardManifestParseTest, ReadsWhatIsGivenAndLeavesTheRestZero) {
    CardManifest m;
    const Status s =
        ParseCardManifest(MinimalManifest("[card 80]\naction = card-back\n[card 2]\ngroup = 7\n[card 3]\n"), m);
    ASSERT_TRUE(s) << s.message();
    EXPECT_EQ(m.Def.CardDefs[0], kvt::test::Def(1, 1, kActionDiscard, 0, 30));
    EXPECT_EQ(std::tuple(m.Def.CardDefs[1], m.Def.CardDefs[3]), std::tuple(Card{}, Card{}));
    EXPECT_EQ(std::tuple(m.Def.CardDefs[80].Action, m.Def.CardDefs[2].Group, m.Def.CardDefs[2].Value),
              std::tuple(kActionCardBack, 7, 0));
    EXPECT_EQ(std::tuple(m.Def.AuthorName, m.SoundFile, m.SoundSizeWithoutSound, m.BackgroundFile, m.Def.GameTitle),
              std::tuple("", "", 0, "", "Minimal                       "));
}

TEST(ActionNameTest, NamesRoundTripAndUnknownCodesAreNumbers) {
    const std::pair<int, const char*> names[] = {{kActionNone, "again"}, {kActionDrawAcross, "draw-across"},
                                                 {kActionNeverDealt, "never-dealt"}, {11, "11"}, {-1, "-1"},
                                                 {kActionBackgroundCell, "background-cell"}, {kActionCardBack, "card-back"}};
    for (const auto& [code, name] : names) EXPECT_EQ(ActionName(code), name);
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
        {"", "[card 1]\nvalue = 40000\n", L + 1, "out of range"},
        {"", "row = -32769\n", L, "out of range"},
        {"", "[card 1]\naction = fly\n", L + 1, "unknown action \"fly\""},
        {"", "[card 1]\naction = \"skip\"\n", L + 1, "unknown action"},
        {"", "[card 81]\n", L, "card index 81 is out of range"},
        {"", "[card -1]\n", L, "card index"}, {"", "[card 1e1]\n", L, "card index"},
        {"", "[card 0]\n", L, "[card 0] appears twice (first on line 6)"},
        {"", "[deck]\n", L, "unknown section [deck]"},
        {"", "[card]\n", L, "unknown section"}, {"", "[cards 2]\n", L, "unknown section"},
        {"", "title = \"x\"\n", L, "belongs in the top section"},
        {"", "oops\n", L, "expected \"key = value\""},
        {"", "\n# fine\n[card 1]\ncount = \"2\"\n", L + 3, "not a whole number"},
        {"", "[card 2]\ngroup = 1\n[card 3]\ngroup = 1\ngroup = 2\n", L + 4, "given twice"},
        {"format = 1", "format = 2", 1, "format 2 is not known"},
        {"format = 1", "format = one", 1, "not a whole number"},
        {"\"KVTC\"", "\"KVT\"", 2, "exactly 4 bytes"}, {"\"KVTC\"", "\"KVTCX\"", 2, "exactly 4 bytes"},
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

// (That the sound and the background may be empty is pinned by the round trips of the odd and plain sets
// on the kvx program; that the bitmap may not, by HostileCardManifest.)
TEST(EmbeddedFileNameTest, UnsafeNamesAreRefusedForEveryFile) {
    for (const std::string name : {R"("../cards.bmp")", R"("../../etc/passwd")", R"("/etc/passwd")",
                                   R"("sub/cards.bmp")", R"("..")", R"(".")", R"(".hidden.bmp")", R"("cards..bmp")",
                                   R"("cards\x00.bmp")", R"("cards\n.bmp")", R"("cards\x7F.bmp")", R"("a\\..\\b")"}) {
        ExpectRefused(Replace(MinimalManifest(), "\"cards.bmp\"", name), 4, "bitmap: the file name");
        for (const std::string key : {"sound", "background"}) {
            const std::string line = "format = 1\n" + key + " = " + name + "\n";
            ExpectRefused(Replace(MinimalManifest(), "format = 1\n", line), 2, key + ": the file name");
        }
    }
}

constexpr const char* kSampleManifest =
    "# KVT player\nformat = 1\ntag = \"KVTP\"\nname = \"Ada\"\n"
    "trait-a = 100\ntrait-b = 0\ntrait-c = 50\ntrait-d = 2\nsound-chance = 30\npicture = \"Player.bmp\"\n"
    "\n[sound]\n# slot Sel1\nindex = 0\nfile = \"Sel1.wav\"\n"
    "\n[sound]\n# slot Comment1\nindex = 3\nfile = \"Comment1.wav\"\n"
    "\n[sound]\n# slot wg1\nindex = 33\nfile = \"wg1.wav\"\n";

// Reserved fields and free slots are written when they matter.
TEST(PlayerManifest, IsWrittenInTheDocumentedForm) {
    EXPECT_EQ(FormatPlayerManifest(ManifestForPlayer(players_test::SamplePlayer())), kSampleManifest);
    const std::string text = FormatPlayerManifest(ManifestForPlayer(players_test::OddPlayer()));
    for (const char* expected : {"tag = \"Z\\x01\\xFF\\x80\"\n", "reserved1 = 7\n", "reserved2 = -1\n",
                                 "reserved3 = -32768\n", "# slot 50\nindex = 50\nfile = \"caf\\xE9 \\xFF.wav\"\n",
                                 "# slot DrawL1\nindex = 12\n", "# slot lg1\nindex = 34\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n--- in:\n" << text;
}

// Each fault is refused with its line (0: a fault of the whole file).
TEST(HostilePlayerManifest, IsRefusedWithItsLine) {
    const std::string m = "format = 1\nname = \"M\"\npicture = \"p.bmp\"\n";
    constexpr int L = 4;  // the first line after `m`
    const std::tuple<std::string, int, std::string> cases[] = {
        {m + "colour = 3\n", L, "unknown key \"colour\""},
        {m + "name = \"Again\"\n", L, "\"name\" is given twice (first on line 2)"},
        {m + "trait-a = 40000\n", L, "out of range"},
        {m + "index = 3\n", L, "\"index\" belongs inside a [sound] section"},
        {m + "[sounds]\n", L, "unknown section [sounds]; expected [sound]"},
        {m + "[sound]\nindex = 51\nfile = \"a.wav\"\n", L + 1, "index: 51 is out of range (0 to 50)"},
        {m + "[sound]\nindex = -1\nfile = \"a.wav\"\n", L + 1, "out of range"},
        {m + "[sound]\nindex = 0\nfile = \"../x.wav\"\n", L + 2, "file: the file name contains '/'"},
        {m + "[sound]\nindex = 0\nfile = \"a.wav\"\n[sound]\nindex = 1\nfile = \"A.WAV\"\n", L + 5,
         "\"A.WAV\" repeats the file of line 6"},
        {m + "[sound]\nindex = 0\nfile = \"player.bmp\"\n", L + 2, "is reserved in a player's folder"},
        {m + "[sound]\nindex = 0\nfile = \"Player.txt\"\n", L + 2, "is reserved in a player's folder"},
        {m + "[sound]\nindex = 0\n", L, "the [sound] section has no \"file\" line"},
        {m + "[sound]\nfile = \"a.wav\"\n[sound]\n", L, "the [sound] section has no \"index\" line"},
        {m + "[sound]\nindex = 0\nindex = 1\n", L + 2, "\"index\" is given twice"},
        {m + "[sound]\nname = \"x\"\n", L + 1, "\"name\" belongs before the first [sound] section"},
        {m + "name = \"unterminated\n", L, "no closing quote"},
        {"name = \"a\"\npicture = \"p\"\n", 0, "the top section has no \"format\" line"},
        {"format = 1\npicture = \"p\"\n", 0, "the top section has no \"name\" line"},
        {"format = 1\nname = \"a\"\n", 0, "the top section has no \"picture\" line"}};
    for (const auto& [text, line, fragment] : cases) {
        PlayerManifest manifest;
        EXPECT_EQ(test::FaultMismatch(ParsePlayerManifest(text, manifest), "player.txt", line, fragment), "") << text;
    }
}

// Packing takes the entries in the manifest's order, their keys in any order,
// the tag and the numbers not given as defaults, and names a missing file, a link out of the folder or a
// file too large.
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
    test::WriteBytes(folder.parent_path() / "outside.wav", "a");
    fs::create_symlink(folder.parent_path() / "outside.wav", folder / "a.wav");
    EXPECT_NE(PackPlayer(folder, out).message().find("a link to a file outside its folder"), std::string::npos);
    fs::remove(folder / "a.wav");
    test::WriteBytes(folder / "a.wav", "a");
    fs::resize_file(folder / "Player.bmp", kMaxPlayerFileBytes + 1);  // sparse: nothing is written
    EXPECT_NE(PackPlayer(folder, out).message().find("too large"), std::string::npos);
}

// --- the kvx program itself, run on card sets and player files in temporary folders

class KvxProgramTest : public ::testing::Test, protected test::ProgramScratch {
protected:
    KvxProgramTest() : ProgramScratch(KVX_PROGRAM) {}
    using ProgramScratch::Run;
    std::string WriteCardSet(std::string_view name, const CardSetFile& f) { return Write(name, EncodeCardSetFile(f)); }
    // Whether kvx run with `args` fails with exit status 1 and says `fault`.
    ::testing::AssertionResult Refuses(const std::vector<std::string>& args, const std::string& fault) {
        const auto r = Run(args);
        if (r.exit_code == 1 && r.err.find(fault) != std::string::npos) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "exit status " << r.exit_code << ": " << r.err;
    }
};

TEST_F(KvxProgramTest, VersionAndHelpGoToTheOutputAndUsageErrorsExitWithTwo) {
    const auto version = Run({"--version"});
    EXPECT_EQ(std::tuple(version.exit_code, version.out), std::tuple(0, "kvx 0.1.0\n"));
    // The help and the usage of a command, and what each must name.
    const std::vector<std::string> topics{"unpack-player [--force] FILE.dpf DIR", "check FILE.cds|FILE.dpf", "[card 0]",
                                          "[sound]"};
    for (const auto& [args, parts] : {std::pair{std::vector<std::string>{"--help"}, topics}, {{"help"}, topics},
                                      {{"pack-cards", "--help"}, {"kvx pack-cards DIR FILE.cds"}},
                                      {{"unpack-player", "--help"}, {"kvx unpack-player [--force] FILE.dpf DIR"}}}) {
        const auto r = Run(args);
        EXPECT_EQ(r.exit_code, 0);
        for (const std::string& part : parts) EXPECT_NE(r.out.find(part), std::string::npos) << part << " in " << r.out;
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"frobnicate"}, {"check"}, {"check", "a", "b"}, {"pack-cards", "dir"},
          {"unpack-cards", "--forse", "a.cds", "dir"}, {"info", "--force", "a"}, {"unpack-player", "a.dpf"},
          {"pack-player", "dir"}, {"pack-player", "--force", "dir", "a.dpf"},
          {"unpack-player", "--forse", "a.dpf", "dir"}}) {
        const auto r = Run(args);
        EXPECT_TRUE(r.exit_code == 2 && r.err.starts_with("kvx: ") && r.out.empty()) << args[0] << ": " << r.err;
    }
}

TEST_F(KvxProgramTest, UnpackThenPackGivesTheSameBytes) {
    // The file, the commands' suffix, and what pack says it packed. (The
    // manifest's name is pinned by UnpackRefusesAnOccupiedFolderUnlessForced.)
    std::vector<std::tuple<std::string, std::string, std::string>> cases;
    for (const CardSetFile& set : {testing::PlainCardSet(), testing::OddCardSet(), testing::SparseCardSet()})
        cases.emplace_back(EncodeCardSetFile(set), "cards", std::to_string(DeckSize(set.Def)) + " cards in the deck");
    for (const PlayerFileContents& player : {SamplePlayer(), OddPlayer(), BarePlayer()})
        cases.emplace_back(EncodePlayerFile(player), "player", std::to_string(player.Clips.size()) + " clips");
    for (const auto& [bytes, kind, packed] : cases) {
        SCOPED_TRACE(kind + ", " + packed);
        const std::string in = Write(kind == "cards" ? "in.cds" : "in.dpf", bytes);
        fs::remove_all(temp_ / "unpacked");
        const auto unpack = Run({"unpack-" + kind, in, Path("unpacked")});
        ASSERT_EQ(std::tuple(unpack.exit_code, unpack.out, unpack.err),
                  std::tuple(0, in + ": unpacked into " + Path("unpacked") + "\n", ""));
        const auto pack = Run({"pack-" + kind, Path("unpacked"), Path("out")});
        EXPECT_EQ(std::tuple(pack.exit_code, pack.out), std::tuple(0, Path("out") + ": packed (" + packed + ")\n"))
            << pack.err;
        EXPECT_TRUE(ReadBytes(temp_ / "out") == ReadBytes(in)) << "the packed bytes differ";
    }
}

TEST_F(KvxProgramTest, UnpackRefusesAnOccupiedFolderUnlessForced) {
    WriteBytes(temp_ / "plain-file", "x");
    for (const auto& [kind, file, manifest] :
         {std::tuple{"cards", WriteCardSet("set.cds", testing::PlainCardSet()), kCardManifestName},
          std::tuple{"player", Write("ada.dpf", EncodePlayerFile(SamplePlayer())), kPlayerManifestName}}) {
        SCOPED_TRACE(kind);
        const std::string unpack = std::string("unpack-") + kind;
        const fs::path busy = temp_ / (std::string("busy-") + kind);
        WriteBytes(busy / "notes.txt", "mine");
        EXPECT_TRUE(Refuses({unpack, file, busy.string()}, "is not empty (use --force"));
        EXPECT_FALSE(fs::exists(busy / manifest));
        EXPECT_TRUE(Refuses({unpack, "--force", file, Path("plain-file")}, "is not a folder"));
        fs::create_directories(temp_ / "empty" / kind);
        EXPECT_EQ(Run({unpack, file, Path("empty/") + kind}).exit_code, 0);
        if (std::string_view(kind) == "player") {
            // A hard link or a symbolic link to a file outside and a FIFO in the
            // way are replaced, not written through or waited on.
            WriteBytes(temp_ / "outside.wav", "not ours");
            fs::create_hard_link(temp_ / "outside.wav", busy / "Sel1.wav");
            fs::create_symlink(temp_ / "outside.wav", busy / "wg1.wav");
            ASSERT_EQ(::mkfifo((busy / "Comment1.wav").c_str(), 0644), 0);
        }
        const auto forced = Run({unpack, "--force", file, busy.string()});
        EXPECT_EQ(forced.exit_code, 0) << forced.err;
        EXPECT_TRUE(fs::exists(busy / manifest) && ReadBytes(busy / "notes.txt") == "mine");
    }
    const fs::path busy = temp_ / "busy-player";
    for (const PlayerClip& clip : SamplePlayer().Clips) EXPECT_EQ(ReadBytes(busy / clip.Entry.FileName), clip.Bytes);
    EXPECT_FALSE(fs::is_symlink(busy / "wg1.wav"));
    EXPECT_EQ(ReadBytes(temp_ / "outside.wav"), "not ours");
    for (const auto& [name, bytes] : test::FilesIn(busy)) EXPECT_FALSE(name.starts_with(".")) << name << " is left";
    // A dangling link is named, not followed.
    fs::create_symlink(Path("nowhere"), Path("dangling"));
    EXPECT_TRUE(Refuses({"unpack-player", Path("ada.dpf"), Path("dangling")},
                        "is a symbolic link to \"" + Path("nowhere") + "\", which does not exist"));
}

// Check refuses what unpack refuses, with a message naming the file; nothing is created.
TEST_F(KvxProgramTest, ABadFileIsRefusedAndNothingIsCreated) {
    const std::string good = EncodeCardSetFile(testing::PlainCardSet());
    const std::string bare = EncodePlayerFile(BarePlayer());
    ASSERT_EQ(::mkfifo(Path("fifo.dpf").c_str(), 0644), 0);
    const auto fault = [](const std::string& file, const std::string& what) { return file + ": " + what; };
    // The file, the unpack command, what both say after "kvx: ".
    const std::tuple<std::string, const char*, std::string> cases[] = {
        {Write("short.cds", good.substr(0, 1000)), "unpack-cards",
         fault(Path("short.cds"), "the file ends inside card definition 49")},
        {Write("truncated.cds", good.substr(0, good.size() - 10)), "unpack-cards",
         fault(Path("truncated.cds"),
               "the opening sound runs past the end of the file (500 bytes announced, 494 left)")},
        {Path("missing.cds"), "unpack-cards", "Cannot open \"" + Path("missing.cds") + "\": No such file or directory"},
        {Write("manifest.dpf", bare + players_test::RawEntry(0, "PLAYER.TXT", 1, "x")), "unpack-player",
         fault(Path("manifest.dpf"),
               "the player file holds a clip named \"PLAYER.TXT\", which an unpacked folder keeps for its manifest")},
        {Path("fifo.dpf"), "unpack-player", "\"" + Path("fifo.dpf") + "\" is not a regular file"},
    };
    for (const auto& [file, unpack, message] : cases) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"check", file}, {unpack, file, Path("out")}}) {
            const auto r = Run(args);
            EXPECT_EQ(std::tuple(r.exit_code, r.out, r.err), std::tuple(1, "", "kvx: " + message + "\n")) << args[0];
        }
        EXPECT_FALSE(fs::exists(temp_ / "out"));
    }
}

// Check says a good file is good and info describes it; the kind of file comes
// from its extension, or else from its tag.
TEST_F(KvxProgramTest, CheckAndInfoTakeGoodFilesOfEitherKind) {
    CardSetFile plain = testing::PlainCardSet();
    plain.Def.Text1 = "First text";
    CardSetFile high = testing::PlainCardSet();
    high.Def.CardDefs[0].Group = 31;
    const std::string ada = EncodePlayerFile(SamplePlayer());
    const std::string odd = EncodePlayerFile(OddPlayer());
    const struct {
        std::string file;
        std::vector<std::string> checked;  // the lines check prints after the name; none for a refusal
        std::vector<std::string> shown = {}, not_shown = {};  // lines of info's description
    } cases[] = {
        {WriteCardSet("set.cds", plain), {": ok (78 cards in the deck)"},
         {"Title:           Four Corners\n", "Author:          The KVT developers\n", "Text 1:          First text\n",
          "Tag:             \"KVTC\" (header 0x4354)\n",
          "      0     1      1  discard             0      2    0    0\n",
          "     36     0     50  draw-deck           4      4    4    0\n",
          "     80     0      0  card-back           0      0    4    9\n", "Deck:            78 cards\n",
          "Card back:       definition 80, row 4, column 9\n", "Background cell: none\n",
          "Bitmap:          3000 bytes\n", "Sound:           500 bytes\n", "Background:      none\n"},
         {"Text 2:", "\n     50 "}},  // nor empty definitions
        {WriteCardSet("group31.cds", high),
         {": ok (78 cards in the deck)", ": warning: card definition 0 has group 31; it plays, but a computer player "
                                         "naming a group counts only groups 1 to 30"}},
        {WriteCardSet("odd.cds", testing::OddCardSet()), {": ok (78 cards in the deck)"},
         {"Sound:           none\n", "Background:      1234 bytes\n",
          "Background cell: definition 79, row 4, column 8\n", "Author:          M\\xFCller & O'Brien\n"}},
        {Write("ADA.DPF", ada), {": ok (3 clips)"}},
        {Write("ada.bin", ada), {": ok (3 clips)"},
         {"Name:            \"Ada\"\n", "Tag:             \"KVTP\"\n", "Trait A:         100\n", "Trait B:         0\n",
          "Trait C:         50\n", "Trait D:         2\n", "Sound chance:    30\n", "Picture:         1500 bytes\n",
          "Clips:           3\n", "      0  Sel1            700  \"Sel1.wav\"\n",
          "      3  Comment1        400  \"Comment1.wav\"\n", "     33  wg1             300  \"wg1.wav\"\n"},
         {"Reserved:"}},
        {Write("odd.dpf", odd), {": ok (5 clips)"},
         {"Tag:             \"Z\\x01\\xFF\\x80\"\n", "Reserved:        7, -1, -32768\n",
          "     50  -                10  \"caf\\xE9 \\xFF.wav\"\n"}},
        // A player file dressed as a card set, or with another tag and no telling
        // extension, is read as a card set and fails as one.
        {Write("ada.cds", ada), {}},
        {Write("odd.bin", odd), {}},
    };
    for (const auto& c : cases) {
        const auto r = Run({"check", c.file});
        std::string expected;
        for (const std::string& line : c.checked) expected += c.file + line + "\n";
        EXPECT_EQ(std::tuple(r.exit_code, r.out), std::tuple(c.checked.empty() ? 1 : 0, expected)) << r.err;
        EXPECT_EQ(r.err.find("sound entry"), std::string::npos) << r.err;
        if (c.shown.empty()) continue;
        const auto info = Run({"info", c.file});
        ASSERT_EQ(info.exit_code, 0) << info.err;
        for (const std::string& line : c.shown)
            EXPECT_NE(info.out.find(line), std::string::npos) << line << "\n--- got:\n" << info.out;
        for (const std::string& line : c.not_shown) EXPECT_EQ(info.out.find(line), std::string::npos) << line;
    }
}

// Each fault of an unpacked folder is named and nothing is written (a missing bitmap stands for every missing
// file: all are read alike); the files are those the manifest names, whatever they are called.
TEST_F(KvxProgramTest, PackRefusesAFaultyFolderAndWritesNothing) {
    const std::string cds = WriteCardSet("set.cds", testing::PlainCardSet());
    const fs::path set = temp_ / "set";
    const auto edit = [&set](std::string_view from, std::string_view to) {
        WriteBytes(set / kCardManifestName, testing::Replace(ReadBytes(set / kCardManifestName), from, to));
    };
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { edit("\"cards.bmp\"", "\"../set.cds\""); }, "cardset.txt, line 8: bitmap: the file name contains '/'"},
        // A set the game would refuse.
        {[&] { edit("copies = 2\nrow = 0\ncol = 0", "copies = 2\nrow = -2\ncol = 0"); },
         "is not valid: card definition 0 has a negative picture position"},
        // The stored sound size cannot hold it.
        {[&] { WriteBytes(set / "open.wav", "R"); }, "holds only 1 bytes"},
        {[&] {
             WriteBytes(set / "empty.bmp", "");
             edit("background = \"\"", "background = \"empty.bmp\"");
         },
         "\"empty.bmp\" is empty"},
        {[&] { WriteBytes(set / "cards.bmp", ""); }, "\"cards.bmp\" is empty"},
        {[&] { fs::remove(set / "cards.bmp"); }, "cards.bmp"},
        {[&] { fs::remove(set / kCardManifestName); }, "cardset.txt"},
        {[&] {
             fs::remove(set / "cards.bmp");
             fs::create_symlink(cds, set / "cards.bmp");
         },
         "/cards.bmp\" is a link to a file outside its folder"},
        // The value is quoted with its control bytes spelled out.
        {[&] { edit("copies = 2\nrow = 0", "copies = 2\x1b[2J\x9b\nrow = 0"); }, "\"2\\x1B[2J\\x9B\" is not a whole number"},
    };
    for (const auto& [spoil, fault] : cases) {
        SCOPED_TRACE(fault);
        fs::remove_all(set);
        ASSERT_EQ(Run({"unpack-cards", cds, set.string()}).exit_code, 0);
        spoil();
        EXPECT_TRUE(Refuses({"pack-cards", set.string(), Path("out.cds")}, fault));
        EXPECT_FALSE(fs::exists(temp_ / "out.cds") || fs::exists(temp_ / "out.cds.tmp"));
    }
    fs::remove_all(set);
    ASSERT_EQ(Run({"unpack-cards", cds, set.string()}).exit_code, 0);
    fs::create_symlink("cards.bmp", set / "faces.bmp");  // a link inside the folder is followed
    edit("bitmap = \"cards.bmp\"", "bitmap = \"faces.bmp\"");
    EXPECT_EQ(Run({"pack-cards", set.string(), Path("out.cds")}).exit_code, 0);
    EXPECT_TRUE(ReadBytes(temp_ / "out.cds") == ReadBytes(cds));
}

}  // namespace
}  // namespace kvt::kvx
