#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/card_stack.h"
#include "core/move.h"
#include "core/table_state.h"

namespace kvt {

// What one seat may see of the table: its own hand, the pile, how many
// cards the others hold, and the public course of the game. No other hand
// and not the deck's order.
struct SeatView {
    int seat = 0;
    Decision asked = Decision::PlayOrDraw;
    const CardStack* hand = nullptr;  // the seat's own
    const CardStack* pile = nullptr;
    std::array<std::int16_t, 5> hand_sizes{};  // 1..4
    std::int16_t deck_size = 0;
    std::array<std::int16_t, 5> scores{};  // 1..4
    std::int16_t reversed = 0;
    std::int16_t take_from = 0;  // TakeFromHand: whose hand, and how many are left to take
    std::int16_t take_left = 0;
};

SeatView ViewFor(const TableState& state, int seat);

// One seat at the table: a computer player, the human at this table, a
// script in a test, later a player elsewhere. Asked for a move when the
// table waits for it; nothing yet (a person still thinking) is an answer.
class Seat {
public:
    virtual ~Seat() = default;
    virtual std::optional<Move> ChooseMove(const SeatView& view) = 0;
};

}  // namespace kvt
