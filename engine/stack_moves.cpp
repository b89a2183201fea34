#include "engine/game.h"

namespace kvt {

std::int16_t Game::MoveCard(CardStack& from, CardStack& to, int slot, bool do_action) {
    if (from.Empty() || slot < 0 || slot >= from.Count() || to.Full()) return 0;
    const Card moved = from.RemoveAt(slot);
    to.Push(moved);
    EmitMove(EventKind::CardMoved, moved, from, to, slot);
    if (!do_action) return 0;
    return ApplyCardAction(to[to.Count() - 1]);
}

void Game::DrawFromDeck(CardStack& hand) {
    if (DrawDeck.Empty() && DiscardPile.Count() > 1) {
        // Every card but the top of the pile goes back into the deck.
        const int returned = DiscardPile.Count() - 1;
        for (int i = 0; i < returned; ++i) DrawDeck.Push(DiscardPile[i]);
        const Card top = DiscardPile.Top();
        DiscardPile.Clear();
        DiscardPile.Push(top);
        Emit(EventKind::DeckRebuilt, 0, returned);
        ShuffleStack(DrawDeck);
    }
    MoveCard(DrawDeck, hand, 0, false);
}

}  // namespace kvt
