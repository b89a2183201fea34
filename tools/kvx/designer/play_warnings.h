#pragma once

#include <vector>

#include "engine/card_set_codec.h"

namespace kvt::kvx {

// The groups the wild-card window offers.
inline constexpr int kWildCardWindowGroups = 10;
// Cards left to draw after four hands and the first discard below which
// rounds end in stalemates too often.
inline constexpr int kFewestCardsToDraw = 8;

// What a card set allows but plays badly: no wild card, a group with a single
// card, a deck that leaves little to draw after the deal, a picture cell
// outside the bitmap, groups the wild-card window cannot offer. The bitmap's
// size in pixels; 0 x 0 when there is no readable bitmap (then no cell check).
std::vector<CardSetProblem> ListPlayWarnings(const CardSetDef& set, int bitmap_width, int bitmap_height);

}  // namespace kvt::kvx
