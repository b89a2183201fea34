#include "engine/rules_support.h"

namespace kvt {

int Game::DrawCard(CardStack& hand, int player, bool human_click) {
    MoveScope scope(*this);
    const int before = hand.Count() - 1;
    // The draw's last event, the card drawn or nothing, is marked a draw:
    // the human's own lands in the picked-card box, where the window offers it.
    std::int16_t mark = 0;
    if (player >= 1 && player <= 4) mark = human_click && player == kHuman && !IsComputer(kHuman) ? 2 : 1;
    if (hand.Full() && CanDraw()) {
        ++RefusedMoves;
    } else {
        draw_mark_ = mark;
        DrawFromDeck(hand);
        draw_mark_ = 0;
    }
    // Something was drawn: the table has changed, so the passes start again.
    const bool drew = hand.Count() - 1 != before;
    if (drew) PassesInRow = 0;
    if (!drew) Emit(EventKind::NothingDrawn, player, 0, [mark](Event& e) { e.variant = mark; });
    return hand.Count() - 1;
}

std::int16_t Game::TakeCards(int taker, int action, int count) {
    if (!IsTakeAction(action) || taker < 1 || taker > 4) return 0;
    MoveScope scope(*this);
    const int giver = SourcePlayer(taker, action);
    if (!IsComputer(taker)) {
        // Nothing to take: no picking, the turn simply goes on.
        if (count <= 0) return 0;
        ChoosingCards = true;
        ChooseFromPlayer = static_cast<std::int16_t>(giver);
        ChooseDone = 0;
        ChooseTotal = static_cast<std::int16_t>(count);
        return 0;
    }
    CardStack& from = Players[giver];
    for (int i = 0; i < count; ++i) {
        if (from.Empty()) return -1;
        const int slot = Rng().Slot(from.Count());
        if (!MoveChecked(from, Players[taker], slot)) break;
    }
    return from.Empty() ? -1 : 0;
}

}  // namespace kvt
