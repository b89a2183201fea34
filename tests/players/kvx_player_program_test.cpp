// Runs the kvx program itself on player files in temporary folders.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "player_test_support.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

using players_test::BarePlayer;
using players_test::OddPlayer;
using players_test::SamplePlayer;
using test::ReadBytes;
using test::WriteBytes;

using RunResult = test::ProgramRun;

class KvxPlayerProgram : public ::testing::Test, protected test::ProgramScratch {
protected:
    KvxPlayerProgram() : ProgramScratch(KVX_PROGRAM) {}
    using ProgramScratch::Run;
    std::string WritePlayer(const std::string& name, const PlayerFileContents& file) {
        return Write(name, EncodePlayerFile(file));
    }
};

TEST_F(KvxPlayerProgram, UnpackThenPackGivesTheSameBytes) {
    for (const PlayerFileContents& crafted : {SamplePlayer(), OddPlayer(), BarePlayer()}) {
        const std::string dpf = WritePlayer("in.dpf", crafted);
        fs::remove_all(Path("unpacked"));
        const RunResult unpack = Run({"unpack-player", dpf, Path("unpacked")});
        ASSERT_EQ(std::tuple(unpack.exit_code, unpack.out), std::tuple(0, dpf + ": unpacked into " + Path("unpacked") + "\n"))
            << unpack.err;
        EXPECT_TRUE(fs::exists(temp_.Path() / "unpacked" / kPlayerManifestName));

        const RunResult pack = Run({"pack-player", Path("unpacked"), Path("out.dpf")});
        ASSERT_EQ(pack.exit_code, 0) << pack.err;
        const std::size_t n = crafted.Clips.size();
        EXPECT_EQ(pack.out, Path("out.dpf") + ": packed (" + std::to_string(n) + (n == 1 ? " clip" : " clips") + ")\n");
        EXPECT_TRUE(ReadBytes(Path("out.dpf")) == ReadBytes(dpf)) << "the packed bytes differ";
    }
}

TEST_F(KvxPlayerProgram, UnpackRefusesAnOccupiedFolderUnlessForced) {
    const std::string dpf = WritePlayer("ada.dpf", SamplePlayer());
    WriteBytes(temp_.Path() / "busy" / "notes.txt", "mine");
    const RunResult refused = Run({"unpack-player", dpf, Path("busy")});
    EXPECT_TRUE(refused.exit_code == 1 && refused.err.find("is not empty (use --force") != std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(temp_.Path() / "busy" / kPlayerManifestName));

    // A hard link or a symbolic link to a file outside and a FIFO in the way
    // are replaced, not written through or waited on.
    WriteBytes(temp_.Path() / "outside.wav", "not ours");
    fs::create_hard_link(temp_.Path() / "outside.wav", temp_.Path() / "busy" / "Sel1.wav");
    fs::create_symlink(temp_.Path() / "outside.wav", temp_.Path() / "busy" / "wg1.wav");
    const fs::path fifo = temp_.Path() / "busy" / SamplePlayer().Clips[1].Entry.FileName;
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const RunResult forced = Run({"unpack-player", "--force", dpf, Path("busy")});
    EXPECT_EQ(forced.exit_code, 0) << forced.err;
    EXPECT_EQ(ReadBytes(temp_.Path() / "busy" / "Sel1.wav"), SamplePlayer().Clips[0].Bytes);
    EXPECT_EQ(ReadBytes(fifo), SamplePlayer().Clips[1].Bytes);
    EXPECT_FALSE(fs::is_symlink(temp_.Path() / "busy" / "wg1.wav"));
    EXPECT_EQ(ReadBytes(temp_.Path() / "busy" / "wg1.wav"), SamplePlayer().Clips[2].Bytes);
    EXPECT_EQ(ReadBytes(temp_.Path() / "outside.wav"), "not ours");
    EXPECT_EQ(ReadBytes(temp_.Path() / "busy" / "notes.txt"), "mine");
    for (const auto& [name, bytes] : test::FilesIn(temp_.Path() / "busy"))
        EXPECT_FALSE(name.starts_with(".")) << name << " is left behind";
}

TEST_F(KvxPlayerProgram, AFifoOrADanglingLinkIsNamedNotWaitedOn) {
    ASSERT_EQ(::mkfifo(Path("fifo.dpf").c_str(), 0644), 0);
    const RunResult check = Run({"check", Path("fifo.dpf")});
    EXPECT_TRUE(check.exit_code == 1 && check.err.find(Path("fifo.dpf") + "\" is not a regular file") != std::string::npos)
        << check.err;

    fs::create_symlink(Path("nowhere"), Path("dangling"));
    const RunResult unpack = Run({"unpack-player", WritePlayer("ada.dpf", SamplePlayer()), Path("dangling")});
    EXPECT_EQ(unpack.exit_code, 1);
    EXPECT_NE(unpack.err.find("is a symbolic link to \"" + Path("nowhere") + "\", which does not exist"),
              std::string::npos) << unpack.err;
}

// Check refuses what unpack refuses, with a message naming the file; nothing
// is created.
TEST_F(KvxPlayerProgram, ABadFileIsRefusedAndNothingIsCreated) {
    const std::string bare = EncodePlayerFile(BarePlayer());
    const std::pair<std::string, std::string> cases[] = {
        {Write("bad.dpf", bare + players_test::RawEntry(0, "../x.wav", 1, "x")),
         "sound entry 1 (\"../x.wav\"): the file name contains '/'"},
        {Write("manifest.dpf", bare + players_test::RawEntry(0, "PLAYER.TXT", 1, "x")),
         "the player file holds a clip named \"PLAYER.TXT\", which an unpacked folder keeps for its manifest"},
    };
    for (const auto& [dpf, message] : cases) {
        const std::string expected = "kvx: " + dpf + ": " + message + "\n";
        const RunResult unpack = Run({"unpack-player", dpf, Path("out")});
        EXPECT_EQ(std::tuple(unpack.exit_code, unpack.err), std::tuple(1, expected));
        EXPECT_FALSE(fs::exists(temp_.Path() / "out") || fs::exists(temp_.Path() / "x.wav"));
        const RunResult check = Run({"check", dpf});
        EXPECT_EQ(std::tuple(check.exit_code, check.out, check.err), std::tuple(1, "", expected));
    }
}

TEST_F(KvxPlayerProgram, InfoDescribesThePlayer) {
    const RunResult r = Run({"info", WritePlayer("ada.dpf", SamplePlayer())});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    for (const char* expected :
         {"Name:            \"Ada\"\n", "Tag:             \"KVTP\"\n", "Trait A:         100\n",
          "Trait B:         0\n", "Trait C:         50\n", "Trait D:         2\n", "Sound chance:    30\n",
          "Picture:         1500 bytes\n", "Clips:           3\n", "      0  Sel1            700  \"Sel1.wav\"\n",
          "      3  Comment1        400  \"Comment1.wav\"\n", "     33  wg1             300  \"wg1.wav\"\n"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n--- got:\n" << r.out;
    EXPECT_EQ(r.out.find("Reserved:"), std::string::npos);

    const RunResult odd = Run({"info", WritePlayer("odd.dpf", OddPlayer())});
    ASSERT_EQ(odd.exit_code, 0) << odd.err;
    for (const char* expected : {"Tag:             \"Z\\x01\\xFF\\x80\"\n", "Reserved:        7, -1, -32768\n",
                                 "     50  -                10  \"caf\\xE9 \\xFF.wav\"\n"})
        EXPECT_NE(odd.out.find(expected), std::string::npos) << expected << "\n--- got:\n" << odd.out;
}

TEST_F(KvxPlayerProgram, TheKindOfFileComesFromTheExtensionOrElseTheTag) {
    const std::string bytes = EncodePlayerFile(SamplePlayer());
    WriteBytes(temp_.Path() / "ADA.DPF", bytes);
    EXPECT_EQ(Run({"check", Path("ADA.DPF")}).out, Path("ADA.DPF") + ": ok (3 clips)\n");
    WriteBytes(temp_.Path() / "ada.bin", bytes);
    EXPECT_EQ(Run({"check", Path("ada.bin")}).out, Path("ada.bin") + ": ok (3 clips)\n");
    EXPECT_NE(Run({"info", Path("ada.bin")}).out.find("Name:            \"Ada\""), std::string::npos);
    EXPECT_EQ(Run({"check", WritePlayer("bare.dpf", BarePlayer())}).out, Path("bare.dpf") + ": ok (0 clips)\n");

    // A player file dressed as a card set is read as a card set, and fails as one.
    WriteBytes(temp_.Path() / "ada.cds", bytes);
    const RunResult as_cards = Run({"check", Path("ada.cds")});
    EXPECT_TRUE(as_cards.exit_code == 1 && as_cards.err.find("sound entry") == std::string::npos) << as_cards.err;
    // A player file with another tag and no telling extension goes to the card sets too.
    PlayerFileContents odd = OddPlayer();
    WriteBytes(temp_.Path() / "odd.bin", EncodePlayerFile(odd));
    EXPECT_EQ(Run({"check", Path("odd.bin")}).exit_code, 1);
    EXPECT_EQ(Run({"check", WritePlayer("odd.dpf", odd)}).exit_code, 0);
}

}  // namespace
}  // namespace kvt::kvx
