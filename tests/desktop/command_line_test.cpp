#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <iostream>

#include "dialogs/player_sel_frm.h"
#include "gui_support.h"
#include "shell/command_line.h"
#include "platform/settings_keys.h"
#include "shell/translations_qt.h"
#include "tests/test_support.h"

namespace kvt {
namespace {

namespace fs = std::filesystem;

const fs::path kShipped = KVT_TEST_DATA_DIR;

// Files in a scratch folder, and kvt run there through `env`.
class CommandLine : public ::testing::Test {
protected:
    fs::path CopyOf(const fs::path& from, const std::string& name) const {
        fs::copy_file(from, scratch.Path(name));
        return scratch.Path(name);
    }

    test::ProgramScratch scratch{"env"};
};

// A title's control bytes reach the terminal as text, never as commands to it.
TEST_F(CommandLine, PrintDealOfABadCardSetFailsForScriptsAndATitleCannotSteerTheTerminal) {
    const auto print_deal = [this](const std::string& card_set) {
        return scratch.Run({"XDG_CONFIG_HOME=" + scratch.Path("config"), "XDG_DATA_HOME=" + scratch.Path("data"),
                            "KVT_DATA_DIR=" + kShipped.string(), KVT_PROGRAM, "--print-deal", card_set});
    };
    const test::ProgramRun bad = print_deal(scratch.Write("bad.cds", "not a card set"));
    EXPECT_TRUE(bad.exit_code > 0 && bad.err.find("bad.cds") != std::string::npos) << bad.err;
    CardSetDef def = test::SampleCardSet();
    def.GameTitle = "Red\x1b[2J\x1b]0;owned\x07";
    const test::ProgramRun dealt = print_deal(test::WriteCardSet(scratch.Path("odd.cds"), test::SampleCardSetFile(def)));
    EXPECT_EQ(dealt.exit_code, 0) << dealt.err;
    EXPECT_NE(dealt.out.find("Red\\x1B[2J\\x1B]0;owned\\x07"), std::string::npos) << dealt.out;
}

// The extension decides (a card set named like a player is still offered as a player: the choice then says
// what is wrong with it); other names are judged by content.
TEST_F(CommandLine, TheNameOrElseTheContentDecidesTheKindOfFile) {
    const fs::path amara = kShipped / "players" / "Amara.dpf";
    const std::pair<CommandLineFile, std::vector<fs::path>> cases[] = {
        {CommandLineFile::kPlayer, {"/nowhere/Ada.dpf", "/nowhere/ADA.DPF", CopyOf(amara, "Amara"),
                                    CopyOf(amara, "amara.download"), CopyOf(kShipped / "default.cds", "odd.dpf")}},
        {CommandLineFile::kCardSet, {"/nowhere/game.cds", CopyOf(kShipped / "default.cds", "game.bin"),
                                     scratch.Write("notes.txt", "not a game file\n"), scratch.Path("missing")}},
        {CommandLineFile::kDeal, {"/nowhere/Friday.KVTDEAL", scratch.Write("deal.txt", "KVT table in progress 1\n")}},
        {CommandLineFile::kGameRecord, {"/nowhere/Friday.KvtGame", scratch.Write("game.txt", "KVT game record 1.0\n")}}};
    for (const auto& [kind, paths] : cases)
        for (const fs::path& path : paths) EXPECT_EQ(KindOfCommandLineFile(path), kind) << path;
}

// kvt started on a player file: the card set stays, the choice of opponents
// opens with that player shown, ready to be dragged onto a seat.
TEST_F(CommandLine, PlayerFileOpensTheChoiceWithIt) {
    gui_test::TableSetup setup;
    for (const char* sound : {settings::kPlayerSounds, settings::kBackMusic}) setup.WriteSetting(sound, "0");
    PlayWin::Options options = setup.Options();
    options.player_file = CopyOf(kShipped / "players" / "Amara.dpf", "Amara");
    PlayWin& table = setup.Open(options, false);
    QApplication::processEvents();

    PlayerSel* choice = table.PlayerSelWindow();
    ASSERT_TRUE(choice && choice->isVisible());
    EXPECT_EQ(std::tuple(fs::path(choice->SelectedFile().toStdString()), choice->Image4()->pixmap().isNull()),
              std::tuple(*options.player_file, false));
    EXPECT_TRUE(setup.messages.empty()) << setup.messages.front().second.toStdString();
    EXPECT_TRUE(table.GameState().CardSet.GameTitle.starts_with("Four Winds") && setup.RawSetting("CardFile") == "(missing)");
}

constexpr const char* kCaptionOption = "--new-game-caption";

// `desktop_tests --new-game-caption` prints the caption of File > New Game as
// kvt shows it for the language of the environment.
int PrintNewGameCaption() {
    InstallTranslations(KVT_TEST_DATA_DIR);
    gui_test::TableSetup setup;
    PlayWin table(setup.Options());
    std::cout << table.MenuEntry("MM_NEW_GAME")->text().toStdString() << std::endl;
    return 0;
}

[[maybe_unused]] const bool kCaptionOptionSet = [] {
    gui_test::ExtraMainOption() = {kCaptionOption, &PrintNewGameCaption};
    return true;
}();

// The caption of File > New Game as a table started in this environment
// shows it (every locale variable of the runner removed first).
QString NewGameCaption(const QStringList& locale_variables) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : environment.keys())
        if (name == "LANG" || name == "LANGUAGE" || name.startsWith("LC_")) environment.remove(name);
    for (const QString& variable : locale_variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    QProcess table;
    table.setProcessEnvironment(environment);
    table.start(QCoreApplication::applicationFilePath(), {kCaptionOption});
    if (!table.waitForFinished(60000) || table.exitCode() != 0) return QStringLiteral("<failed>");
    return QString::fromUtf8(table.readAllStandardOutput()).trimmed();
}

// German from the language variables, the original texts otherwise; English
// first wins over a later language we have.
TEST(Translation, TheCaptionFollowsTheLanguageVariables) {
    const std::pair<QStringList, QString> cases[] = {
        {{"LANGUAGE=de"}, "&Neues Spiel"},     {{"LC_ALL=de_DE.UTF-8"}, "&Neues Spiel"},
        {{"LANG=de_AT.UTF-8"}, "&Neues Spiel"}, {{}, "&New Game"},
        {{"LANG=fr_FR.UTF-8"}, "&New Game"},    {{"LANGUAGE=en_GB:de"}, "&New Game"}};
    for (const auto& [variables, caption] : cases)
        EXPECT_EQ(NewGameCaption(variables), caption) << variables.join(' ').toStdString();
}

}  // namespace
}  // namespace kvt
