#include "engine/card_text.h"

namespace kvt {

std::string ActionName(int action) {
    switch (action) {
        case kActionNone: return "again";
        case kActionPassLeft: return "pass-left";
        case kActionPassRight: return "pass-right";
        case kActionPassAcross: return "pass-across";
        case kActionDrawDeck: return "draw-deck";
        case kActionDrawRight: return "draw-right";
        case kActionDrawLeft: return "draw-left";
        case kActionDrawAcross: return "draw-across";
        case kActionDiscard: return "discard";
        case kActionSkip: return "skip";
        case kActionReverse: return "reverse";
        case kActionNeverDealt: return "never-dealt";
        case kActionBackgroundCell: return "background-cell";
        case kActionCardBack: return "card-back";
        default: return std::to_string(action);
    }
}

std::string ShortCardText(const Card& card) {
    const std::string group = card.IsWild() ? "wild" : std::to_string(card.Group);
    // A plain card (discard nothing) is known by its value.
    if (card.Action == kActionDiscard && card.ActionCount == 0)
        return group + ":" + std::to_string(card.Value);
    std::string text = group + ":" + ActionName(card.Action);
    if (card.ActionCount != 0) text += std::to_string(card.ActionCount);
    return text;
}

}  // namespace kvt
