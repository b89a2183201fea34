#pragma once

#include "core/card.h"
#include "core/table_state.h"

namespace kvt {

// The deck and the pile as the table shows them: their sizes and the pile's
// top card.
struct PilesShown {
    int deck = 0;
    int pile = 0;
    Card top;
    static PilesShown Of(const TableState& table) {
        PilesShown piles{table.DrawDeck.Count(), table.DiscardPile.Count(), {}};
        if (!table.DiscardPile.Empty()) piles.top = table.DiscardPile.Top();
        return piles;
    }
};

}  // namespace kvt
