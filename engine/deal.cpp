#include <vector>

#include "engine/game.h"

namespace kvt {

void Game::ResetHands() {
    for (int p = 1; p <= 4; ++p) Players[p].Clear();
    for (int seat = 2; seat <= 4; ++seat) view_.SetSeatArrowVisible(seat, false);
    view_.SetChooseMessageVisible(false);
    ChoosingCards = false;
    DiscardPile.Clear();
}

void Game::BuildDeck(const CardSetDef& set) {
    DrawDeck.Clear();
    for (const Card& def : set.CardDefs) {
        if (!IsDealt(def)) continue;
        for (int copy = 0; copy < def.Copies; ++copy)
            if (!DrawDeck.Push(def)) return;  // a loaded card set never gets here
    }
}

void Game::ShuffleStack(CardStack& stack) {
    const int n = stack.Count();
    if (n < 2) return;
    view_.ShowShuffling();
    // Each position takes one of the cards not yet taken, all equally likely.
    std::vector<Card> remaining(stack.begin(), stack.end());
    ScratchStack.Clear();
    while (!remaining.empty()) {
        const int k = random_.Slot(static_cast<int>(remaining.size()));
        ScratchStack.Push(remaining[k]);
        remaining.erase(remaining.begin() + k);
    }
    for (int i = 0; i < n; ++i) stack[i] = ScratchStack[i];
    view_.HideShuffling();
}

void Game::DealHands() {
    for (int round = 0; round < kHandSize; ++round)
        for (int p = 1; p <= 4; ++p) DrawFromDeck(Players[p]);
    TurnsWithoutProgress = 0;
    for (int p = 1; p <= 4; ++p) SmallestHands[p] = Players[p].Count();
    for (int p = 1; p <= 4; ++p) {
        view_.SetHandVisible(p, true);
        view_.ShowHand(Players[p], p);
    }
}

void Game::TurnUpFirstCard(FirstDiscardRule rule) {
    DrawFromDeck(DiscardPile);
    if (DiscardPile.Empty()) return;
    // The wild-or-plain deals follow the wild rule: only a wild first discard
    // is covered by a second card.
    const bool second = rule != FirstDiscardRule::kNoSecondCard && DiscardPile.Top().IsWild();
    if (second) DrawFromDeck(DiscardPile);
}

}  // namespace kvt
