#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "desktop_support.h"
#include "dialogs/player_sel_frm.h"
#include "shell/command_line.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

const fs::path kShipped = KVT_TEST_DATA_DIR;

class CommandLine : public ::testing::Test {
protected:
    fs::path Scratch(const std::string& name) const { return fs::path(scratch_.path().toStdString()) / name; }

    fs::path CopyOf(const fs::path& from, const std::string& name) const {
        fs::copy_file(from, Scratch(name));
        return Scratch(name);
    }

    QTemporaryDir scratch_;
};

TEST_F(CommandLine, PrintDealOfABadCardSetFailsForScripts) {
    std::ofstream(Scratch("bad.cds")) << "not a card set";
    QProcess kvt;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(Scratch("config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString(Scratch("data").string()));
    env.insert("KVT_DATA_DIR", QString::fromStdString(kShipped.string()));
    kvt.setProcessEnvironment(env);
    kvt.start(KVT_PROGRAM, {"--print-deal", QString::fromStdString(Scratch("bad.cds").string())});
    ASSERT_TRUE(kvt.waitForFinished(60000));
    EXPECT_NE(kvt.exitCode(), 0);
    EXPECT_TRUE(kvt.readAllStandardError().contains("bad.cds"));
}

TEST_F(CommandLine, NamesDecideForPlayerFilesAndCardSets) {
    EXPECT_EQ(KindOfCommandLineFile("/nowhere/Ada.dpf"), CommandLineFile::kPlayer);
    EXPECT_EQ(KindOfCommandLineFile("/nowhere/ADA.DPF"), CommandLineFile::kPlayer);
    EXPECT_EQ(KindOfCommandLineFile("/nowhere/game.cds"), CommandLineFile::kCardSet);
    // A card set named like a player is still offered as a player: the
    // choice then says what is wrong with it.
    EXPECT_EQ(KindOfCommandLineFile(CopyOf(kShipped / "default.cds", "odd.dpf")), CommandLineFile::kPlayer);
}

TEST_F(CommandLine, OtherNamesAreJudgedByContent) {
    EXPECT_EQ(KindOfCommandLineFile(CopyOf(kShipped / "players" / "Amara.dpf", "Amara")), CommandLineFile::kPlayer);
    EXPECT_EQ(KindOfCommandLineFile(CopyOf(kShipped / "players" / "Amara.dpf", "amara.download")),
              CommandLineFile::kPlayer);
    EXPECT_EQ(KindOfCommandLineFile(CopyOf(kShipped / "default.cds", "game.bin")), CommandLineFile::kCardSet);
    std::ofstream(Scratch("notes.txt")) << "not a game file\n";
    EXPECT_EQ(KindOfCommandLineFile(Scratch("notes.txt")), CommandLineFile::kCardSet);
    EXPECT_EQ(KindOfCommandLineFile(Scratch("missing")), CommandLineFile::kCardSet);
}

// kvt started on a player file: the card set stays, the choice of opponents
// opens with that player shown, ready to be dragged onto a seat.
TEST_F(CommandLine, PlayerFileOpensTheChoiceWithIt) {
    PlayWin::Options options = desktop_test::TableOptions();
    options.folders.SettingsFile = Scratch("kvt.ini");
    options.folders.AppDir = Scratch("data");
    fs::create_directories(options.folders.AppDir);
    std::ofstream(options.folders.SettingsFile) << "[Misc]\nPlayerSounds=0\nBackMusic=0\n";
    const fs::path player = CopyOf(kShipped / "players" / "Amara.dpf", "Amara");
    options.player_file = player;

    PlayWin table(options);
    std::vector<QString> messages;
    table.SetMessageSink([&messages](const QString&, const QString& text) { messages.push_back(text); });
    ASSERT_TRUE(table.Start());
    QApplication::processEvents();

    PlayerSel* choice = table.PlayerSelWindow();
    ASSERT_NE(choice, nullptr);
    EXPECT_TRUE(choice->isVisible());
    EXPECT_EQ(fs::path(choice->SelectedFile().toStdString()), player);
    EXPECT_FALSE(choice->Image4()->pixmap().isNull());
    EXPECT_TRUE(messages.empty()) << messages.front().toStdString();
    EXPECT_EQ(table.GameState().CardSet.GameTitle.rfind("Four Winds", 0), 0u);
    std::ifstream settings(options.folders.SettingsFile);
    const std::string written((std::istreambuf_iterator<char>(settings)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written.find("CardFile"), std::string::npos) << written;
    table.close();
}

}  // namespace
}  // namespace kvt
