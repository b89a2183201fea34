#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <utility>

#include "core/seat.h"

namespace kvt {

// A seat that plays a script: the moves given, in order, then whatever the
// policy (if any) answers. For tests and replays.
class ScriptedSeat : public Seat {
public:
    using Policy = std::function<std::optional<Move>(const SeatView&)>;

    ScriptedSeat() = default;
    explicit ScriptedSeat(Policy policy) : policy_(std::move(policy)) {}

    void Add(Move move) { script_.push_back(std::move(move)); }

    std::optional<Move> ChooseMove(const SeatView& view) override {
        if (!script_.empty()) {
            Move next = std::move(script_.front());
            script_.pop_front();
            return next;
        }
        return policy_ ? policy_(view) : std::nullopt;
    }

private:
    std::deque<Move> script_;
    Policy policy_;
};

}  // namespace kvt
