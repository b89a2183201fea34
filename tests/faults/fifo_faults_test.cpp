// A FIFO at every path the table reads: opening one with no writer would
// wait for ever, so each is refused at once with a message naming it.

#include <sys/stat.h>

#include "platform/files.h"
#include "platform/profile.h"
#include "shell/command_line.h"
#include "shell/settings_keys.h"
#include "working_state.h"

namespace kvt::faults {
namespace {

struct FifoCase {
    const char* what;
    // Where the FIFO goes, and what then reads it; the message it gives.
    std::function<fs::path()> place;
    std::function<std::string(Game&, const fs::path&)> read;
    bool replaced = false;  // the working copy is replaced by the shipped set
};

class FifoAtPath : public WorkingState {
protected:
    fs::path MakeFifo(const fs::path& path) {
        fs::remove(path);
        fs::create_directories(path.parent_path());
        EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
        return path;
    }
};

TEST_F(FifoAtPath, EveryReadIsRefusedAtOnceNamingTheFile) {
    const fs::path dir = Root() / "files";
    const std::vector<FifoCase> cases = {
        {"a card set", [&] { return dir / "fifo.cds"; },
         [](Game& g, const fs::path& p) { return g.LoadCardSetFile(p).message(); }},
        {"a player file", [&] { return dir / "fifo.dpf"; },
         [](Game& g, const fs::path& p) { return g.ExtractPlayer(p, 3).message(); }},
        {"a remembered player file", [&] { return dir / "seat.dpf"; },
         [](Game& g, const fs::path& p) {
             for (int seat = 2; seat <= 4; ++seat)
                 (void)g.Settings().WriteString(settings::kPlayersFile, "Player" + std::to_string(seat), p.string());
             return g.LoadPlayers().message();
         }},
        {"CurCards.cdf", [&] { return game.AppDir / files::kCardDefs; },
         [](Game& g, const fs::path&) { return g.ReloadCardSet().message(); }, true},
        {"kvt.ini", [&] { return folders().SettingsFile; },
         [](Game&, const fs::path& p) { return Profile(p).Problem(); }},
        {"a file named on the command line", [&] { return dir / "named"; },
         [](Game&, const fs::path& p) {
             (void)KindOfCommandLineFile(p);
             FileBytes bytes;
             return ReadFileBytes(p, bytes, 100).message();
         }},
    };
    for (const FifoCase& c : cases) {
        const fs::path fifo = MakeFifo(c.place());
        const std::string message = c.read(game, fifo);
        EXPECT_TRUE(Contains(message, fifo.string())) << c.what << ": " << message;
        EXPECT_EQ(fs::is_fifo(fifo), !c.replaced) << c.what;
        fs::remove(fifo);
    }
}

TEST_F(FifoAtPath, SettingsThatCannotBeReadAreNeverWrittenOver) {
    MakeFifo(folders().SettingsFile);
    Profile ini(folders().SettingsFile);
    EXPECT_FALSE(ini.WriteString(settings::kMisc, settings::kSort, " 0"));
    EXPECT_TRUE(fs::is_fifo(folders().SettingsFile));
}

}  // namespace
}  // namespace kvt::faults
