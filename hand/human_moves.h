#pragma once

namespace kvt {

// What one of the human's clicks did, so the window knows what to redraw or
// whether to beep. Every click that does not fit the state is Ignored.
enum class HumanMove {
    Ignored,        // does not fit the state, or a move is still running
    Picked,         // a hand card is now the picked card
    Chosen,         // a hand card went into the hold grid
    Cancelled,      // the picked card and the hold cards went back to the hand
    GivenBack,      // a hold-grid card went back to the hand
    Played,         // the picked card was laid; the turn went on
    Drew,           // a card from the deck waits in the picked-card box
    NothingToDraw,  // deck and pile are used up, but a hand card can be played
    Passed,         // nothing to draw and nothing to play: the turn went on
    Took,           // a card was taken from the opponent's hand
};

}  // namespace kvt
