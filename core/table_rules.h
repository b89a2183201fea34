#pragma once

#include "core/event.h"
#include "core/move.h"
#include "core/status.h"
#include "core/table_state.h"

namespace kvt {

// The rules of one table, with what they need beside the state (the card
// set, the computer players' traits). Apply plays one move on the state and
// says what happened; it never waits for anyone.
class TableRules {
public:
    virtual ~TableRules() = default;
    virtual const TableState& State() const = 0;
    // `events` is cleared first. A move the state does not allow is refused
    // with the reason, and the state is left as it was.
    virtual Status Apply(const Move& move, Events& events) = 0;
};

// The seat that must act now: the one on turn, or the human for the score
// sheet's OK at a round's end and for naming the group of its wild card
// (the turn has passed on by then).
inline int SeatToAct(const TableState& state) {
    const Decision asked = state.Pending();
    return asked == Decision::AcknowledgeScore || asked == Decision::NameGroup ? 1 : state.CurPlayer;
}

}  // namespace kvt
