#include "engine/game.h"
#include "engine/seats.h"

namespace kvt {

// For now a played card only hands the turn on: a card without action keeps
// the turn, every other card passes it to the next seat in the direction of
// play. The effects on hands, deck and direction come with the action handlers.
std::int16_t Game::ApplyCardAction(Card& card) {
    if (card.Action == kActionNone) return CurPlayer;
    return static_cast<std::int16_t>(NextSeat(CurPlayer, PlayReversed));
}

}  // namespace kvt
