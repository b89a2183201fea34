#pragma once

#include "core/event.h"

namespace kvt {

// The flight a card's move shows on the table, played before the move
// lands: a computer's card (from its hand, or the card it held aside) and
// a card of the hold grid fly to the pile. A refused card flies too; it
// just does not stay.
enum class CardFlight { None, ComputerDiscard, HoldDiscard };

inline CardFlight FlightOf(const Event& e) {
    if ((e.kind != EventKind::CardMoved && e.kind != EventKind::CardRefused) || e.to.place != Place::Pile)
        return CardFlight::None;
    if (e.from.place == Place::Hand || e.from.place == Place::Held) return CardFlight::ComputerDiscard;
    if (e.from.place == Place::HoldGrid) return CardFlight::HoldDiscard;
    return CardFlight::None;
}

}  // namespace kvt
