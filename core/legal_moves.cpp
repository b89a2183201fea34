#include "core/matching.h"
#include "core/move.h"

namespace kvt {

std::vector<Move> LegalMoves(const TableState& state, int seat) {
    std::vector<Move> moves;
    const auto add = [&](MoveKind kind, int slot = -1, int from_seat = 0) {
        moves.push_back({kind, static_cast<std::int16_t>(seat), static_cast<std::int16_t>(slot),
                         static_cast<std::int16_t>(from_seat), {}});
    };
    if (seat < 1 || seat > 4) return moves;
    switch (state.Pending()) {
    case Decision::AcknowledgeScore:
        add(MoveKind::Acknowledge);
        return moves;
    case Decision::TakeFromHand:
        if (seat != state.CurPlayer) return moves;
        for (int slot = 0; slot < state.Players[state.ChooseFromPlayer].Count(); ++slot)
            add(MoveKind::Take, slot, state.ChooseFromPlayer);
        return moves;
    case Decision::NameGroup:
        // Which groups there are is the card set's: -1 stands for any of them.
        if (seat == 1) add(MoveKind::NameGroup);
        return moves;
    case Decision::PlayOrDraw:
        break;
    }
    if (seat != state.CurPlayer) return moves;
    const CardStack& hand = state.Players[seat];
    for (int slot = 0; slot < hand.Count(); ++slot)
        if (PlayableOn(hand[slot], state.DiscardPile)) add(MoveKind::Play, slot);
    if (state.CanDraw() && !hand.Full()) add(MoveKind::Draw);
    if (moves.empty()) add(MoveKind::Pass);
    return moves;
}

}  // namespace kvt
