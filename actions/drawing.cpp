#include "actions/rules_support.h"

namespace kvt {

int Game::DrawCard(CardStack& hand, int player, bool human_click) {
    MoveScope scope(*this);
    const bool into_pick = human_click && player == kHuman && !IsComputer(kHuman);
    const int before = hand.Count() - 1;
    if (!into_pick) {
        if (hand.Full() && CanDraw())
            ++RefusedMoves;
        else
            DrawFromDeck(hand, false);
    } else {
        // A card still waiting in the picked-card box goes back first.
        if (!PickStack.Empty()) CancelPick();
        if (PickStack.Empty()) DrawFromDeck(hand, true);
        // Put back, the drawn card goes after the hand's last.
        PickOrigin = hand.Count();
        drawn_slot_ = PickStack.Empty() ? -1 : PickOrigin;
        OfferDrawnCard();
    }
    // Something was drawn: the table has changed, so the passes start again.
    const bool drew = into_pick ? !PickStack.Empty() : hand.Count() - 1 != before;
    if (drew) PassesInRow = 0;
    if (!drew) Emit(EventKind::NothingDrawn, player);
    const int slot = hand.Count() - 1;
    if (player >= 1 && player <= 4) {
        view_.AnimateDraw(player, into_pick);
        if (into_pick) {
            if (!PickStack.Empty()) view_.ShowPickedCard(PickStack[0]);
        } else {
            ShowPlayerHand(player);
        }
    }
    return slot;
}

void Game::OfferDrawnCard() {
    CardStack& hand = Players[kHuman];
    PickDrawn = true;
    // A card that gives cards away asks for them as a picked one does;
    // the Discard button waits until they are chosen.
    const bool playable = !PickStack.Empty() && CheckPlayable(PickStack[0]) == 1;
    if (!PickStack.Empty()) PickMark = PickStack[0].Playable;
    HoldCount = 0;
    HoldNeeded = playable && GivesCardsAway(PickStack[0]) == 1 ? PrepareHold(PickStack, 0, 1, hand) : 0;
    SetDiscardButton(playable && HoldNeeded == 0);
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
        view_.SetTakePrompt(giver);
        view_.SetChooseMessageVisible(true);
        return 0;
    }
    CardStack& from = Players[giver];
    for (int i = 0; i < count; ++i) {
        if (from.Empty()) return -1;
        const int slot = Rng().Slot(from.Count());
        view_.AnimateCardMove(taker, giver, from[slot]);
        if (!MoveChecked(from, Players[taker], slot)) break;
        ShowPlayerHand(taker);
        ShowPlayerHand(giver);
    }
    return from.Empty() ? -1 : 0;
}

}  // namespace kvt
