#include "working_state.h"

namespace kvt::faults {

void WorkingState::SetUp() {
    first_set = test::SampleCardSet();
    first_set.GameTitle = FitTitle("In force");
    other_set = test::SampleCardSet();
    other_set.GameTitle = FitTitle("Other");
    ASSERT_TRUE(game.LoadCardSetCommand(WriteCardSet("first.cds", test::SampleCardSetFile(first_set, 2500, 300, 40))));
    ASSERT_TRUE(game.ExtractPlayer(WritePlayer("ada.dpf", players_test::SamplePlayer()), 2));
    seat2_before = game.PlayerInfo[2];
    // A child that gives up its rights must still read what the test wrote.
    std::error_code ec;
    const auto readable = fs::perms::others_read | fs::perms::others_exec;
    for (auto it = fs::recursive_directory_iterator(Root(), ec); !ec && it != fs::end(it); it.increment(ec))
        fs::permissions(it->path(), readable, fs::perm_options::add, ec);
    fs::permissions(Root(), readable, fs::perm_options::add, ec);
}

bool WorkingState::StateKept() const { return game.CardSet == first_set && game.PlayerInfo[2] == seat2_before; }

bool WorkingState::NextRoundDealt() {
    (void)game.NextRound(FirstDiscardRule::kWild);
    for (int p = 1; p <= 4; ++p)
        if (game.Players[p].Count() != kHandSize) return false;
    return !game.DiscardPile.Empty();
}

std::string Verdict(const Status& status, bool kept, bool dealt) {
    return (status.ok() ? std::string("ok") : status.message()) + "\nkept: " + (kept ? "yes" : "no") +
           "\ndealt: " + (dealt ? "yes" : "no");
}

}  // namespace kvt::faults
