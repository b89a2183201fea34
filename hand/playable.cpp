#include <algorithm>

#include "actions/rules_support.h"

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

std::int16_t Game::PrepareHold(CardStack& stack, int slot, int playable, CardStack& hand) {
    const Card& card = stack[slot];
    // A negative count asks for nothing, like 0.
    if (NeedsNoChoice(card) == 1 || card.ActionCount <= 0) return 0;
    if (playable == -1) return 0;
    view_.ShowHand(HoldStack, 0);
    SetHoldGrid(true);
    // With one card left after the play there is nothing to choose.
    if (hand.Count() == 1) return 0;
    return card.ActionCount;
}

int Game::CardsToChoose(int slot) const {
    const CardStack& hand = Players[kHuman];
    if (slot < 0 || slot >= hand.Count()) return 0;
    const Card& card = hand[slot];
    if (!PlayableOn(card, DiscardPile) || NeedsNoChoice(card) == 1 || card.ActionCount <= 0) return 0;
    // As PrepareHold: with one card left after the play there is nothing to
    // choose; asked for more than are left, the human gives what there is.
    const int left = hand.Count() - 1;
    return left <= 1 ? 0 : std::min<int>(card.ActionCount, left);
}

void Game::ShowPlayerHand(int player) {
    if (player < 1 || player > 4) return;
    view_.ShowHand(Players[player], player);
}

void Game::SetHoldGrid(bool open) {
    HoldGridOpen = open;
    view_.SetHoldGridVisible(open);
}

void Game::SetDiscardButton(bool shown) {
    DiscardButtonShown = shown;
    view_.SetDiscardButtonVisible(shown);
}

}  // namespace kvt
