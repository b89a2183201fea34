#pragma once

#include "core/card.h"
#include "core/card_stack.h"

namespace kvt {

// What the person's move being built shows on the table while the clicks
// build it. Every call has a do-nothing default, for a move built unseen.
class MoveShows {
public:
    virtual ~MoveShows() = default;
    // Grid 0 is the hold grid, 1 the person's hand as shown.
    virtual void ShowHand(const CardStack& /*stack*/, int /*grid*/) {}
    virtual void ShowPickedCard(const Card& /*card*/) {}
    virtual void ClearPickedCard() {}
    virtual void SetHoldGridVisible(bool /*visible*/) {}
    virtual void SetDiscardButtonVisible(bool /*visible*/) {}
    // Deck and pile are used up: `player` passed for want of a card to play
    // or draw (the Passed event shows it), or (not passed) the person must
    // play a card of the hand.
    virtual void ShowNothingToDraw(int /*player*/, bool /*passed*/) {}

    // Shows nothing, for a move that no table shows.
    static MoveShows& Unseen();
};

}  // namespace kvt
