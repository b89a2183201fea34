#include "engine/card_set.h"

namespace kvt {

int DeckSize(const CardSetDef& set) {
    int total = 0;
    for (const Card& def : set.CardDefs)
        if (IsDealt(def)) total += def.Copies;
    return total;
}

int FindDefinition(const CardSetDef& set, int action) {
    for (int d = 0; d < kCardDefCount; ++d)
        if (set.CardDefs[d].Action == action) return d;
    return -1;
}

std::string FitTitle(std::string title) {
    title.resize(kTitleLength, ' ');
    return title;
}

}  // namespace kvt
