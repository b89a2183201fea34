#include "match/match_driver.h"

namespace kvt {

void MatchDriver::SetSeat(int seat, Seat* player) {
    if (seat >= 1 && seat <= 4) seats_[static_cast<std::size_t>(seat)] = player;
}

MatchDriver::Step MatchDriver::Advance(Events& events) {
    events.clear();
    const TableState& state = rules_.State();
    const int seat = SeatToAct(state);
    Seat* player = seat >= 1 && seat <= 4 ? seats_[static_cast<std::size_t>(seat)] : nullptr;
    if (!player) return Step::Waiting;
    const std::optional<Move> move = player->ChooseMove(ViewFor(state, seat));
    if (!move) return Step::Waiting;
    return Submit(*move, events);
}

MatchDriver::Step MatchDriver::Submit(const Move& move, Events& events) {
    if (move.seat != SeatToAct(rules_.State())) {
        events.clear();
        refusal_ = Status::Fail("seat " + std::to_string(move.seat) + " is not the one to act");
        return Step::Refused;
    }
    refusal_ = rules_.Apply(move, events);
    if (!refusal_) return Step::Refused;
    if (listener_) listener_(move, events);
    return Step::Applied;
}

}  // namespace kvt
