#pragma once

#include "engine/card_set.h"

namespace kvt::kvx {

// Edits of the 81 definition slots that keep their order meaningful: the
// first card back and background cell found are the ones the table uses.
// Each returns false and leaves the set as it was when the edit cannot be made.

// Definitions move only as far as the next empty slot, so a card back kept
// apart in the last slot stays where it is.
// Puts `card` at `at`, moving the definitions from there to the next empty slot down by one.
bool InsertDefinition(CardSetDef& set, int at, const Card& card);
// Removes the definition at `at`, moving those after it up to the next empty slot.
bool RemoveDefinition(CardSetDef& set, int at);
// Swaps the definition at `at` with its neighbour at `at + step` (step -1 or 1).
bool MoveDefinition(CardSetDef& set, int at, int step);

// A definition as a new row starts: one plain dealt card of group 1, value 1.
Card NewDefinition();

}  // namespace kvt::kvx
