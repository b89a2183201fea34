#pragma once

#include <array>
#include <functional>

#include "core/event.h"
#include "core/seat.h"
#include "core/status.h"
#include "core/table_rules.h"

namespace kvt {

// Runs a match: asks the seat that must act for its move, applies it and
// hands the move and its events on. One step at a time and never waiting:
// a seat with nothing yet (a person still thinking) ends the step, and its
// owner steps again once the move is there.
class MatchDriver {
public:
    enum class Step { Applied, Waiting, Refused };

    explicit MatchDriver(TableRules& rules) : rules_(rules) {}

    // The seats are not owned; a seat without one waits for ever.
    void SetSeat(int seat, Seat* player);
    // Hears every applied move with its events, in order.
    void SetMoveListener(std::function<void(const Move&, const Events&)> listener) { listener_ = std::move(listener); }

    // One move of the seat that must act. `events` holds what it did.
    Step Advance(Events& events);
    // Applies a move made elsewhere (the human's, built in the window).
    Step Submit(const Move& move, Events& events);

    // Why the last move was refused.
    const Status& Refusal() const { return refusal_; }
    const TableState& State() const { return rules_.State(); }

private:
    TableRules& rules_;
    std::array<Seat*, 5> seats_{};
    std::function<void(const Move&, const Events&)> listener_;
    Status refusal_ = Status::Ok();
};

}  // namespace kvt
