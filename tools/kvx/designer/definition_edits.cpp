#include "tools/kvx/designer/definition_edits.h"

#include <algorithm>

namespace kvt::kvx {
namespace {

bool InRange(int index) { return index >= 0 && index < kCardDefCount; }

// The first empty slot at or after `from`; kCardDefCount when there is none.
int NextEmpty(const CardSetDef& set, int from) {
    const auto& defs = set.CardDefs;
    return static_cast<int>(std::find(defs.begin() + from, defs.end(), Card{}) - defs.begin());
}

}  // namespace

bool InsertDefinition(CardSetDef& set, int at, const Card& card) {
    if (!InRange(at)) return false;
    const int empty = NextEmpty(set, at);
    if (empty == kCardDefCount) return false;
    auto& defs = set.CardDefs;
    std::move_backward(defs.begin() + at, defs.begin() + empty, defs.begin() + empty + 1);
    defs[at] = card;
    return true;
}

bool RemoveDefinition(CardSetDef& set, int at) {
    if (!InRange(at)) return false;
    const int end = at + 1 < kCardDefCount ? NextEmpty(set, at + 1) : kCardDefCount;
    auto& defs = set.CardDefs;
    std::move(defs.begin() + at + 1, defs.begin() + end, defs.begin() + at);
    defs[end - 1] = Card{};
    return true;
}

bool MoveDefinition(CardSetDef& set, int at, int step) {
    if (!InRange(at) || !InRange(at + step) || (step != 1 && step != -1)) return false;
    std::swap(set.CardDefs[at], set.CardDefs[at + step]);
    return true;
}

Card NewDefinition() {
    Card card;
    card.Group = 1;
    card.Value = 1;
    card.Action = kActionDiscard;  // with a count of 0: a plain card
    card.Copies = 1;
    return card;
}

}  // namespace kvt::kvx
