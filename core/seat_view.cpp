#include "core/seat.h"

namespace kvt {

SeatView ViewFor(const TableState& state, int seat) {
    SeatView view;
    view.seat = seat;
    view.asked = state.Pending();
    const int own = seat >= 1 && seat <= 4 ? seat : 0;
    view.hand = &state.Players[static_cast<std::size_t>(own)];
    view.pile = &state.DiscardPile;
    for (std::size_t p = 1; p <= 4; ++p) {
        view.hand_sizes[p] = state.Players[p].Count();
        view.scores[p] = state.Scores[p];
    }
    view.deck_size = state.DrawDeck.Count();
    view.reversed = state.PlayReversed;
    if (state.ChoosingCards) {
        view.take_from = state.ChooseFromPlayer;
        view.take_left = static_cast<std::int16_t>(state.ChooseTotal - state.ChooseDone);
    }
    return view;
}

}  // namespace kvt
