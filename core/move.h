#pragma once

#include <cstdint>
#include <vector>

#include "core/table_state.h"

namespace kvt {

enum class MoveKind : std::int8_t {
    Play,         // lay hand slot `slot` on the pile, with the `chosen` cards for a Pass or Discard card
    Draw,         // take the deck's top card
    Take,         // take slot `slot` of the hand of `from_seat` (after a Draw-from-a-player card)
    NameGroup,    // name the group after a wild card: `slot` is the card definition standing for it
                  // (as LegalMoves lists it: -1, any group of the card set)
    Pass,         // nothing fits and nothing can be drawn
    Acknowledge,  // the score sheet's OK
    ViewScore,    // the person looked at the score sheet between moves: its OK moves the starting seat on
};

// A group that can be named after a wild card, and the card definition that
// stands for it: its picture, the card laid when it is named, and the slot
// of the NameGroup move that names it.
struct GroupChoice {
    std::int16_t Group = 0;
    std::int16_t CardIndex = 0;
};

// Anything a seat can do.
struct Move {
    MoveKind kind = MoveKind::Pass;
    std::int16_t seat = 0;
    std::int16_t slot = -1;
    std::int16_t from_seat = 0;
    std::vector<std::int16_t> chosen;  // hand slots, before the play
    // Play: the card the seat's draw just brought, laid from the picked-card
    // box as a drawn card is (it asks for cards only when it gives some away).
    bool drawn = false;

    bool operator==(const Move&) const = default;
};

// What `seat` may do in `state`. A Play of a card that gives cards away
// lists the card with no cards chosen; which cards go with it is the seat's
// choice among the rest of its hand. Nothing while another seat is on turn.
std::vector<Move> LegalMoves(const TableState& state, int seat);

}  // namespace kvt
