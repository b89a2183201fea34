#pragma once

#include "core/seat.h"

namespace kvt {

class Game;

// A computer player at a seat of `game`: today's chooser with the player's
// traits. It reads its own hand, the pile's top and the sizes of the other
// hands; the chooser marks the playable cards of its hand as it always has.
class ComputerSeat : public Seat {
public:
    explicit ComputerSeat(Game& game) : game_(game) {}
    std::optional<Move> ChooseMove(const SeatView& view) override;

private:
    Game& game_;
};

}  // namespace kvt
