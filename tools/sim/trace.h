#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <vector>

#include "core/event.h"
#include "engine/game.h"

namespace kvt::sim {

// What the trace line of a computer move tells of the table before it.
struct MoveBefore {
    long Round = 0;
    int Seat = 0;
    std::array<std::int16_t, 4> Traits{};
    int Reversed = 0;
    std::optional<Card> Top;  // the pile's top card
    std::vector<Card> Hand;   // in slot order
    int MaxOtherHand = 0;

    static MoveBefore Of(const Game& game, long round);
};

// One JSON object per line (docs/simulator-trace.md): a computer move from
// the table before it, its events and the table after it; a round's end
// from its RoundEnded event.
void WriteMoveLine(std::ostream& out, const MoveBefore& before, const Events& events, const Game& after);
void WriteRoundLine(std::ostream& out, long round, const Event& ended);

}  // namespace kvt::sim
