// Runs the kvx program itself on card sets and player files in temporary folders.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "kvx_test_support.h"
#include "players/player_test_support.h"
#include "tools/kvx/card_manifest.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

using players_test::BarePlayer;
using players_test::OddPlayer;
using players_test::SamplePlayer;
using test::ReadBytes;
using test::WriteBytes;

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
        {Write("padded.cds", good + "xx"), "unpack-cards",
         fault(Path("padded.cds"), "2 unexpected bytes follow the table background")},
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
        std::vector<std::string> shown, not_shown;  // lines of info's description
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
        {Write("bare.dpf", EncodePlayerFile(BarePlayer())), {": ok (0 clips)"}},
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

// Each fault of an unpacked folder is named and nothing is written; the files
// are those the manifest names, whatever they are called.
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
        {[&] { fs::remove(set / "open.wav"); }, "open.wav"},
        {[&] { edit("sound = \"open.wav\"\nbackground = \"\"", "sound = \"\"\nbackground = \"table.bmp\""); },
         "table.bmp"},
        {[&] {
             WriteBytes(set / "empty.bmp", "");
             edit("background = \"\"", "background = \"empty.bmp\"");
         },
         "\"empty.bmp\" is empty"},
        {[&] { WriteBytes(set / "cards.bmp", ""); }, "\"cards.bmp\" is empty"},
        {[&] { fs::remove(set / "cards.bmp"); }, "cards.bmp"},
        {[&] { fs::remove(set / kCardManifestName); }, "cardset.txt"},
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
    fs::rename(set / "cards.bmp", set / "faces.bmp");
    edit("bitmap = \"cards.bmp\"", "bitmap = \"faces.bmp\"");
    EXPECT_EQ(Run({"pack-cards", set.string(), Path("out.cds")}).exit_code, 0);
    EXPECT_TRUE(ReadBytes(temp_ / "out.cds") == ReadBytes(cds));
}

}  // namespace
}  // namespace kvt::kvx
