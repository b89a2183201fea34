#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/game.h"

namespace kvt::sim {

// Watches one table for broken invariants: every card kept (group cards of
// wild cards added), no stack over capacity, a seat on turn, each total
// moved by exactly the values left in that seat's hand (which may be
// negative). Each check returns "" or what broke.
class Checker {
public:
    // A round has just been dealt: its cards are the ones to keep.
    void StartRound(const Game& game);
    // A new game begins: scores may start again from zero.
    void StartGame(const Game& game);
    std::string AfterMove(const Game& game) const;
    // A round is over and about to be scored: what each hand will cost.
    void BeforeScoring(const Game& game);
    // The totals a round was scored with (before a game over clears them).
    std::string AfterScoring(const std::array<std::int16_t, 5>& totals);

    static int CardsOnTable(const Game& game);

private:
    int dealt_ = 0;
    std::int64_t group_cards_at_deal_ = 0;
    std::array<std::int16_t, 5> scores_{};
    std::array<long long, 5> round_scores_{};
};

}  // namespace kvt::sim
