#pragma once

#include <QString>

#include "core/card.h"

namespace kvt {

// The one wording of the card actions. The card viewer and the help's table
// of card actions both take their texts from here, so they cannot disagree.

// The viewer's line for a card ("Pass 2 Cards Left"); for a card of the hold
// grid the Discard line has no count. Empty for an action without a line.
QString ActionCaption(const Card& card, bool hold_grid = false);

// What the action does, as the help explains it. Empty for an action without a line.
QString ActionEffect(int action);

// The help's table of the described actions: each caption, with N for the
// count, beside its effect (HTML).
QString CardActionsTable();

}  // namespace kvt
