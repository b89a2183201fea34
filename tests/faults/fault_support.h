#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/working_files.h"
#include "tests/players/player_test_support.h"
#include "tests/test_support.h"

namespace kvt::faults {

namespace fs = std::filesystem;

// A table in the middle of a game: a card set in force, an opponent in seat 2 and a settings file, all on
// temporary folders. Faults are injected into it and the state before is kept for comparison.
class WorkingState : public ::testing::Test {
protected:
    void SetUp() override;

    fs::path Root() const { return folders().AppDir.parent_path().parent_path(); }
    const Folders& folders() const { return table.folders; }
    // A file of the test's own, beside the table's folders.
    fs::path File(const std::string& name) const { return Root() / "files" / name; }
    fs::path WriteCardSet(const std::string& name, const CardSetFile& file) const {
        return test::WriteCardSet(File(name), file);
    }
    fs::path WritePlayer(const std::string& name, const PlayerFileContents& file) const {
        test::WriteBytes(File(name), EncodePlayerFile(file));
        return File(name);
    }

    // The game state a fault must leave alone.
    bool StateKept() const { return game.CardSet == first_set && game.PlayerInfo[2] == seat2_before; }
    bool NextRoundDealt() {
        (void)game.NextRound(FirstDiscardRule::kWild);
        return test::HandCounts(game) == std::vector<int>(4, kHandSize) && !game.DiscardPile.Empty();
    }
    // Runs `operation`, then gives the Verdict on it: the state is judged before the next round is dealt.
    std::string VerdictAfter(const std::function<Status()>& operation);

    test::TableFixture table;
    Game& game = *table.game;
    CardSetDef first_set;   // the card set in force
    CardSetDef other_set;   // a set that a load tries to bring in
    PlayerRec seat2_before;
};

// Whether `text` holds every one of `parts`.
inline bool Contains(const std::string& text, const std::vector<std::string>& parts) {
    return std::ranges::all_of(parts,
                               [&](const std::string& part) { return text.find(part) != std::string::npos; });
}

// What a hampered child saw, as text for the parent to check: the message
// (or "ok"), then whether the game state was kept and the next round dealt.
inline std::string Verdict(const Status& status, bool kept, bool dealt) {
    return (status.ok() ? std::string("ok") : status.message()) + "\nkept: " + (kept ? "yes" : "no") +
           "\ndealt: " + (dealt ? "yes" : "no");
}
inline constexpr const char* kKeptAndDealt = "\nkept: yes\ndealt: yes";

// How a forked child is hampered before it runs the code under test.
enum class Hamper {
    // Writes fail with EFBIG once a file would grow past `limit_bytes`
    // (RLIMIT_FSIZE with SIGXFSZ ignored): a disk that fills up midway.
    kFileSizeLimit,
    // The child loses write access to `folder`: as root it drops to the
    // nobody user, otherwise the folder is made read-only for its run.
    kNoWriteAccess,
    // `folder` becomes a private tmpfs of `limit_bytes` (writes fail with
    // ENOSPC); needs a process that may mount, else the child reports a skip.
    kSmallDisk,
};

struct ChildRun {
    std::string output;   // what the body returned
    std::string skipped;  // why the hamper could not be set up, or ""
    std::string crashed;  // how the child ended abnormally, or ""
};

// Runs `body` in a forked child under the hamper and hands back what it
// returned. The body must not touch GoogleTest: it reports through its text.
ChildRun RunHampered(Hamper hamper, const std::string& folder, long limit_bytes,
                     const std::function<std::string()>& body);

}  // namespace kvt::faults
