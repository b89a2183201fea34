// FIFOs and links where the table expects its files. Opening a FIFO with no
// writer would wait for ever, so each read is refused at once with a message
// naming it; a link under one of our temporary names (an interrupted run, or
// put there by something else) must not lead a write out of our folders.

#include <sys/stat.h>

#include "platform/files.h"
#include "platform/profile.h"
#include "shell/command_line.h"
#include "platform/settings_keys.h"
#include "working_state.h"

namespace kvt::faults {
namespace {

struct FifoCase {
    const char* what;
    // Where the FIFO goes, and what then reads it; the message it gives.
    fs::path fifo;
    std::function<std::string(Game&, const fs::path&)> read;
    bool replaced = false;  // the working copy is replaced by the shipped set
};

using FifoAtPath = WorkingState;

TEST_F(FifoAtPath, EveryReadIsRefusedAtOnceNamingTheFile) {
    const std::vector<FifoCase> cases = {
        {"a card set", File("fifo.cds"), [](Game& g, const fs::path& p) { return g.LoadCardSetFile(p).message(); }},
        {"a player file", File("fifo.dpf"), [](Game& g, const fs::path& p) { return g.ExtractPlayer(p, 3).message(); }},
        {"a remembered player file", File("seat.dpf"),
         [](Game& g, const fs::path& p) {
             for (int seat = 2; seat <= 4; ++seat)
                 (void)g.Settings().WriteString(settings::kPlayersFile, "Player" + std::to_string(seat), p.string());
             return g.LoadPlayers().message();
         }},
        {"CurCards.cdf", game.AppDir / files::kCardDefs,
         [](Game& g, const fs::path&) { return g.ReloadCardSet().message(); }, true},
        // Settings that cannot be read are never written over.
        {"kvt.ini", folders().SettingsFile,
         [](Game&, const fs::path& p) {
             Profile ini(p);
             EXPECT_FALSE(ini.WriteString(settings::kMisc, settings::kSort, " 0"));
             return ini.Problem();
         }},
        {"a file named on the command line", File("named"),
         [](Game&, const fs::path& p) {
             (void)KindOfCommandLineFile(p);
             FileBytes bytes;
             return ReadFileBytes(p, bytes, 100).message();
         }},
    };
    for (const FifoCase& c : cases) {
        fs::remove(c.fifo);
        fs::create_directories(c.fifo.parent_path());
        ASSERT_EQ(::mkfifo(c.fifo.c_str(), 0644), 0) << c.fifo;
        const std::string message = c.read(game, c.fifo);
        EXPECT_TRUE(Contains(message, c.fifo.string())) << c.what << ": " << message;
        EXPECT_EQ(fs::is_fifo(c.fifo), !c.replaced) << c.what;
        fs::remove(c.fifo);
    }
}

TEST_F(WorkingState, ALinkUnderATemporaryNameIsNotFollowed) {
    const fs::path outside = Root() / "outside.txt";
    test::WriteBytes(outside, "not ours");
    for (const fs::path& target : {folders().AppDir / files::kCardBitmap, folders().SettingsFile}) {
        fs::path temporary = target;
        temporary += ".tmp";
        fs::create_symlink(outside, temporary);
    }
    EXPECT_TRUE(game.LoadCardSetCommand(WriteCardSet("other.cds", test::SampleCardSetFile(other_set))));
    EXPECT_TRUE(game.Settings().WriteString(settings::kMisc, settings::kSort, " 0"));
    EXPECT_EQ(test::ReadBytes(outside), "not ours");
    EXPECT_FALSE(fs::is_symlink(folders().AppDir / files::kCardBitmap) || fs::is_symlink(folders().SettingsFile));
    EXPECT_EQ(game.Settings().ReadInt(settings::kMisc, settings::kSort, -1), 0);
}

}  // namespace
}  // namespace kvt::faults
