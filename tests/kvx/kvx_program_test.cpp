// Runs the kvx program itself on temporary folders.

#include <gtest/gtest.h>

#include "kvx_test_support.h"
#include "tools/kvx/card_manifest.h"

namespace kvt::kvx {
namespace {

namespace fs = std::filesystem;

using test::ReadBytes;
using test::WriteBytes;

using RunResult = test::ProgramRun;

class KvxProgramTest : public ::testing::Test, protected test::ProgramScratch {
protected:
    KvxProgramTest() : ProgramScratch(KVX_PROGRAM) {}
    using ProgramScratch::Run;
    std::string WriteCardSet(std::string_view name, const CardSetFile& file) {
        return Write(name, EncodeCardSetFile(file));
    }
};

TEST_F(KvxProgramTest, VersionAndHelp) {
    const RunResult version = Run({"--version"});
    EXPECT_EQ(std::tuple(version.exit_code, version.out), std::tuple(0, "kvx 0.1.0\n"));
    for (const char* help : {"--help", "help"}) {
        const RunResult r = Run({help});
        EXPECT_EQ(r.exit_code, 0);
        for (const char* topic : {"unpack-player [--force] FILE.dpf DIR", "check FILE.cds|FILE.dpf", "[card 0]", "[sound]"})
            EXPECT_NE(r.out.find(topic), std::string::npos) << topic;
    }
    for (const auto& [command, usage] : {std::pair{"pack-cards", "kvx pack-cards DIR FILE.cds"},
                                         std::pair{"unpack-player", "kvx unpack-player [--force] FILE.dpf DIR"}}) {
        const RunResult r = Run({command, "--help"});
        EXPECT_EQ(r.exit_code, 0);
        EXPECT_NE(r.out.find(usage), std::string::npos) << r.out;
    }
}

TEST_F(KvxProgramTest, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"frobnicate"}, {"check"}, {"check", "a", "b"}, {"pack-cards", "dir"},
          {"unpack-cards", "--forse", "a.cds", "dir"}, {"info", "--force", "a"}, {"unpack-player", "a.dpf"},
          {"pack-player", "dir"}, {"pack-player", "--force", "dir", "a.dpf"},
          {"unpack-player", "--forse", "a.dpf", "dir"}}) {
        const RunResult r = Run(args);
        EXPECT_TRUE(r.exit_code == 2 && r.err.starts_with("kvx: ") && r.out.empty()) << args[0] << ": " << r.err;
    }
}

TEST_F(KvxProgramTest, UnpackThenPackGivesTheSameBytes) {
    for (const CardSetFile& crafted :
         {testing::PlainCardSet(), testing::OddCardSet(), testing::SparseCardSet()}) {
        const std::string cds = WriteCardSet("in.cds", crafted);
        fs::remove_all(temp_ / "unpacked");
        const RunResult unpack = Run({"unpack-cards", cds, Path("unpacked")});
        ASSERT_TRUE(unpack.exit_code == 0 && unpack.err.empty()) << unpack.err;
        EXPECT_TRUE(fs::exists(temp_ / "unpacked" / kCardManifestName));

        const RunResult pack = Run({"pack-cards", Path("unpacked"), Path("out.cds")});
        ASSERT_EQ(pack.exit_code, 0) << pack.err;
        EXPECT_EQ(pack.out, Path("out.cds") + ": packed (" + std::to_string(DeckSize(crafted.Def)) +
                                " cards in the deck)\n");
        EXPECT_TRUE(ReadBytes(temp_ / "out.cds") == ReadBytes(temp_ / "in.cds"))
            << "the packed bytes differ";
    }
}

TEST_F(KvxProgramTest, UnpackRefusesAnOccupiedFolderUnlessForced) {
    const std::string cds = WriteCardSet("set.cds", testing::PlainCardSet());
    fs::create_directories(temp_ / "busy");
    WriteBytes(temp_ / "busy/notes.txt", "mine");
    const RunResult refused = Run({"unpack-cards", cds, Path("busy")});
    EXPECT_TRUE(refused.exit_code == 1 && refused.err.find("is not empty (use --force") != std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(temp_ / "busy" / kCardManifestName));
    EXPECT_EQ(Run({"unpack-cards", "--force", cds, Path("busy")}).exit_code, 0);
    EXPECT_TRUE(fs::exists(temp_ / "busy" / kCardManifestName));
    EXPECT_EQ(ReadBytes(temp_ / "busy/notes.txt"), "mine");

    fs::create_directories(temp_ / "empty");
    EXPECT_EQ(Run({"unpack-cards", cds, Path("empty")}).exit_code, 0);
    WriteBytes(temp_ / "plain-file", "x");
    const RunResult not_folder = Run({"unpack-cards", "--force", cds, Path("plain-file")});
    EXPECT_TRUE(not_folder.exit_code == 1 && not_folder.err.find("is not a folder") != std::string::npos) << not_folder.err;
}

TEST_F(KvxProgramTest, CheckAcceptsAGoodFileAndWarnsAboutHighGroups) {
    const std::string cds = WriteCardSet("good.cds", testing::PlainCardSet());
    const RunResult r = Run({"check", cds});
    EXPECT_EQ(std::tuple(r.exit_code, r.out, r.err), std::tuple(0, cds + ": ok (78 cards in the deck)\n", ""));

    CardSetFile high = testing::PlainCardSet();
    high.Def.CardDefs[0].Group = 31;
    const std::string warned = WriteCardSet("group31.cds", high);
    const RunResult w = Run({"check", warned});
    EXPECT_EQ(w.exit_code, 0) << "a group above 30 is only warned about: " << w.err;
    EXPECT_EQ(w.out, warned + ": ok (78 cards in the deck)\n" + warned +
                         ": warning: card definition 0 has group 31; it plays, but a computer player naming a "
                         "group counts only groups 1 to 30\n");
}

// Check and unpack refuse a bad file with a message naming it; nothing is created.
TEST_F(KvxProgramTest, ABadFileIsRefusedAndNothingIsCreated) {
    const std::string good = EncodeCardSetFile(testing::PlainCardSet());
    const std::pair<std::string, std::string> cases[] = {
        {Write("short.cds", good.substr(0, 1000)), "short.cds: the file ends inside card definition 49\n"},
        {Write("truncated.cds", good.substr(0, good.size() - 10)),
         "the opening sound runs past the end of the file (500 bytes announced, 494 left)"},
        {Write("padded.cds", good + "xx"), "2 unexpected bytes follow the table background"},
        {Path("missing.cds"), ""},
    };
    for (const auto& [cds, fault] : cases) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"check", cds}, {"unpack-cards", cds, Path("out")}}) {
            const RunResult r = Run(args);
            EXPECT_TRUE(r.exit_code == 1 && r.out.empty() && r.err.starts_with("kvx: ") &&
                        r.err.find(cds) != std::string::npos && r.err.find(fault) != std::string::npos)
                << r.err;
        }
        EXPECT_FALSE(fs::exists(temp_ / "out"));
    }
}

TEST_F(KvxProgramTest, InfoDescribesTheCardSet) {
    CardSetFile file = testing::PlainCardSet();
    file.Def.Text1 = "First text";
    const std::string cds = WriteCardSet("set.cds", file);
    const RunResult r = Run({"info", cds});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    for (const char* expected :
         {"Title:           Four Corners\n", "Author:          The KVT developers\n",
          "Text 1:          First text\n", "Tag:             \"KVTC\" (header 0x4354)\n",
          "      0     1      1  discard             0      2    0    0\n",
          "     36     0     50  draw-deck           4      4    4    0\n",
          "     80     0      0  card-back           0      0    4    9\n",
          "Deck:            78 cards\n", "Card back:       definition 80, row 4, column 9\n",
          "Background cell: none\n", "Bitmap:          3000 bytes\n", "Sound:           500 bytes\n",
          "Background:      none\n"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n--- got:\n" << r.out;
    EXPECT_EQ(r.out.find("Text 2:"), std::string::npos);
    EXPECT_EQ(r.out.find("\n     50 "), std::string::npos) << "empty definitions are listed";

    const std::string odd = WriteCardSet("odd.cds", testing::OddCardSet());
    const RunResult o = Run({"info", odd});
    ASSERT_EQ(o.exit_code, 0) << o.err;
    for (const char* expected : {"Sound:           none\n", "Background:      1234 bytes\n",
                                 "Background cell: definition 79, row 4, column 8\n",
                                 "Author:          M\\xFCller & O'Brien\n"})
        EXPECT_NE(o.out.find(expected), std::string::npos) << expected << "\n--- got:\n" << o.out;
}

TEST_F(KvxProgramTest, PackReportsManifestFaultsAndWritesNothing) {
    const std::string cds = WriteCardSet("set.cds", testing::PlainCardSet());
    ASSERT_EQ(Run({"unpack-cards", cds, Path("set")}).exit_code, 0);
    std::string manifest = ReadBytes(temp_ / "set" / kCardManifestName);
    manifest.replace(manifest.find("bitmap = \"cards.bmp\""), 20, "bitmap = \"../set.cds\"");
    WriteBytes(temp_ / "set" / kCardManifestName, manifest);

    const RunResult r = Run({"pack-cards", Path("set"), Path("out.cds")});
    EXPECT_TRUE(r.exit_code == 1 && r.err.find("cardset.txt, line 8: bitmap: the file name contains '/'") != std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(temp_ / "out.cds") || fs::exists(temp_ / "out.cds.tmp"));
}

}  // namespace
}  // namespace kvt::kvx
