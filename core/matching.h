#pragma once

#include "core/card.h"
#include "core/card_stack.h"

namespace kvt {

// The matching rule itself: same group; same action with a count (not for
// Discard); same action and value; or a wild card. Written without early
// returns: the cards come in no predictable order, so branches would mostly
// be guessed wrong.
inline bool Matches(const Card& card, const Card& top) {
    const bool same_group = card.Group == top.Group;
    const bool counted = (card.Action != kActionDiscard) & (card.ActionCount != 0);
    const bool same_action = (card.Action == top.Action) & (counted | (card.Value == top.Value));
    const bool wild = card.IsWild();
    return same_group | same_action | wild;
}

// Whether a card may go on the pile. The pile is never empty in play; should
// it be, anything may start it. Inline, as a hand is marked card by card.
inline bool PlayableOn(const Card& card, const CardStack& pile) {
    return pile.Empty() || Matches(card, pile.Top());
}

inline constexpr int kLastGroupDefinition = 77;  // the computer's group card comes from 0..77
inline constexpr int kWildButtonGroups = 10;     // groups the human's choice offers

inline bool IsPassAction(int action) {
    return action == kActionPassLeft || action == kActionPassRight || action == kActionPassAcross;
}
inline bool IsTakeAction(int action) {
    return action == kActionDrawRight || action == kActionDrawLeft || action == kActionDrawAcross;
}
inline bool IsPictureOnly(int action) {
    return action == kActionNeverDealt || action == kActionBackgroundCell || action == kActionCardBack;
}

}  // namespace kvt
