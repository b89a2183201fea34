#include <algorithm>

#include "engine/rules_support.h"

namespace kvt {

std::int16_t Game::CheckPlayable(Card& card) {
    const bool ok = PlayableOn(card, DiscardPile);
    card.Playable = ok ? 1 : 0;
    return ok ? 1 : -1;
}

std::int16_t Game::NeedsNoChoice(const Card& card) {
    if (IsTakeAction(card.Action) || card.Action == kActionDrawDeck) return 1;
    if (card.Action == kActionDiscard) return card.ActionCount <= 0 ? 1 : 0;
    return 0;
}

std::int16_t Game::GivesCardsAway(const Card& card) {
    if (IsPassAction(card.Action)) return 1;
    // A drawn Discard 1 asks for its card as a picked one does.
    if (card.Action == kActionDiscard) return card.ActionCount > 0 ? 1 : 0;
    return 0;
}

Game::HoldAsk Game::HoldFor(const Card& card, bool fits, bool drawn, int left) {
    // A drawn card asks for cards only when it gives some away; a negative
    // count asks for nothing, like 0.
    if (!fits || (drawn && GivesCardsAway(card) != 1)) return {};
    if (NeedsNoChoice(card) == 1 || card.ActionCount <= 0) return {};
    // With at most one card left after the play there is nothing to choose.
    return {true, left <= 1 ? 0 : card.ActionCount};
}

int Game::CardsToChoose(int slot) const {
    const CardStack& hand = Players[kHuman];
    if (slot < 0 || slot >= hand.Count()) return 0;
    const int left = hand.Count() - 1;
    // Asked for more than are left, the human gives what there is.
    return std::min(HoldFor(hand[slot], PlayableOn(hand[slot], DiscardPile), false, left).cards, left);
}

}  // namespace kvt
