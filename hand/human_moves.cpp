#include "actions/rules_support.h"

namespace kvt {

// The human's clicks. Each one first checks that it fits the state of the
// table; a click that arrives while a move is running (the window lets
// events through inside card flights) is refused, since the move in
// progress relies on the hands staying as they are.

// While a move runs, while a finished round waits for its score sheet, or
// when the computer plays seat 1, the human's clicks do nothing.
bool Game::HumanLocked() const {
    return MoveInProgress() || IsComputer(kHuman) || NamingGroup || (RoundEnded && RoundIsOver());
}

HumanMove Game::ClickHandCard(int column) {
    if (HumanLocked() || ChoosingCards) return HumanMove::Ignored;
    if (!PickStack.Empty() && PickStack[0].ActionCount > 0 && HoldStack.Count() == PickStack[0].ActionCount)
        return HumanMove::Ignored;  // the hold grid is full
    CardStack& hand = Players[kHuman];
    if (column < 0 || column >= hand.Count()) return HumanMove::Ignored;
    MoveScope scope(*this);
    // Without a picked card there is no hold grid, no Discard button and
    // nothing picked; a new deal in between may have left any of them behind.
    if (PickStack.Empty()) {
        if (HoldGridOpen) SetHoldGrid(false);
        if (DiscardButtonShown) SetDiscardButton(false);
        CardPicked = 0;
        HoldCount = 0;
    }

    if (!PickStack.Empty()) {
        if (!HoldGridOpen) {
            // Re-pick: the waiting card (and anything held) goes back to its
            // place, and the card clicked is picked from the whole hand.
            const int slot = WholeHandSlot(column);
            ReturnMoveBeingBuilt();
            if (!PickStack.Empty() || !HoldStack.Empty()) return HumanMove::Ignored;
            column = slot;
            view_.ShowHand(HoldStack, 0);
            SetHoldGrid(false);
            SetDiscardButton(false);
            view_.ClearPickedCard();
            CardPicked = 0;
            HoldCount = 0;
        } else {
            const int slot = WholeHandSlot(column);
            if (!MoveChecked(hand, HoldStack, column)) return HumanMove::Ignored;
            HoldOrigins.push_back(static_cast<std::int16_t>(slot));
            ++HoldCount;
            view_.ShowHand(HoldStack, 0);
            if ((HoldCount == HoldNeeded && !ChoosingCards) || hand.Empty()) SetDiscardButton(true);
            CardPicked = 1;
            ShowPlayerHand(kHuman);
            return HumanMove::Chosen;
        }
    }
    if (CardPicked != 0) {
        ShowPlayerHand(kHuman);
        return HumanMove::Ignored;
    }

    view_.ShowPickedCard(hand[column]);
    CardPicked = 1;
    const int mark_before = hand[column].Playable;
    const int playable = CheckPlayable(hand[column]);
    PickOrigin = static_cast<std::int16_t>(column);
    PickDrawn = false;
    MoveCard(hand, PickStack, column, false);
    // Put back, the card is as it was: looking at it changes nothing.
    PickMark = static_cast<std::int16_t>(mark_before);
    HoldNeeded = PrepareHold(PickStack, 0, playable, hand);
    // The last card of the hand may always be laid: there is nothing left to choose.
    if (hand.Empty()) HoldNeeded = 0;
    if (HoldNeeded == 0 && playable == 1) SetDiscardButton(true);
    ShowPlayerHand(kHuman);
    return HumanMove::Picked;
}

void Game::CancelPick() {
    ReturnMoveBeingBuilt();
    view_.ShowHand(HoldStack, 0);
    SetHoldGrid(false);
    SetDiscardButton(false);
    view_.SetHandVisible(kHuman, true);
    view_.ClearPickedCard();
    ShowPlayerHand(kHuman);
    CardPicked = 0;
    HoldCount = 0;
}

HumanMove Game::ClickPickedCard() {
    if (HumanLocked() || PickStack.Empty()) return HumanMove::Ignored;
    MoveScope scope(*this);
    CancelPick();
    return HumanMove::Cancelled;
}

HumanMove Game::ClickHoldCard(int column) {
    if (HumanLocked() || !HoldGridOpen) return HumanMove::Ignored;
    if (column < 0) column = 0;
    if (column >= HoldStack.Count()) return HumanMove::Ignored;
    MoveScope scope(*this);
    view_.SetHandVisible(kHuman, true);
    if (!ReturnToHand(HoldStack, column, HoldOrigins[static_cast<std::size_t>(column)])) return HumanMove::Ignored;
    ShowPlayerHand(kHuman);
    view_.ShowHand(HoldStack, 0);
    SetDiscardButton(false);
    --HoldCount;
    return HumanMove::GivenBack;
}

HumanMove Game::ClickDiscardButton() {
    if (HumanLocked() || !DiscardButtonShown || PickStack.Empty() ||
        ChoosingCards || CurPlayer != kHuman)
        return HumanMove::Ignored;
    // The pile must have room for the discards and the card itself.
    if (DiscardPile.Count() + HoldStack.Count() + 1 > CardStack::Capacity) {
        ++RefusedMoves;
        return HumanMove::Ignored;
    }
    MoveScope scope(*this);
    const Card picked = PickStack[0];
    const Move move{MoveKind::Play, kHuman, PickOrigin, 0, HoldOrigins, PickDrawn};
    const std::int64_t scored_before = rounds_scored_;

    if (picked.Action == kActionDiscard && picked.ActionCount >= 1) {
        // The first chosen card goes down first; the last ends under the picked card.
        const int chosen = HoldStack.Count();
        for (int i = 0; i < chosen; ++i) {
            view_.AnimateHoldDiscard(HoldStack[0]);
            if (!MoveChecked(HoldStack, DiscardPile, 0)) break;
            ForgetHeldSlot(0);
            view_.ShowHand(HoldStack, 0);
            view_.ShowDiscardTop();
        }
    }

    view_.AnimatePickedCard(picked);

    if (HoldGridOpen) {
        const int receiver = picked.Action == kActionPassLeft    ? 2
                             : picked.Action == kActionPassRight ? 4
                             : picked.Action == kActionPassAcross ? 3
                                                                  : 0;
        const int chosen = HoldStack.Count();
        for (int i = 0; i < chosen && receiver != 0; ++i) {
            view_.AnimateCardMove(receiver, 0, HoldStack[0]);
            if (!MoveChecked(HoldStack, Players[receiver], 0)) break;
            ForgetHeldSlot(0);
            view_.ShowHand(HoldStack, 0);
            ShowPlayerHand(receiver);
        }
        // Cards chosen for a card that neither passes nor discards (or that
        // found no room) go back to the hand rather than off the table.
        bool returned = false;
        while (!HoldStack.Empty() && ReturnToHand(HoldStack, 0, HoldOrigins.front())) returned = true;
        HoldStack.Clear();
        HoldOrigins.clear();
        if (returned) ShowPlayerHand(kHuman);
        HoldCount = 0;
    }

    PassesInRow = 0;
    CurPlayer = MoveCard(PickStack, DiscardPile, 0, true);
    // A wild card waits here for its group to be named, a move of its own.
    if (!NamingGroup) AfterHumanPlay();
    ReportHumanMove(move, scored_before);
    return HumanMove::Played;
}

void Game::AfterHumanPlay() {
    CardStack& hand = Players[kHuman];
    if (CurPlayer == -1) {
        RoundEnded = true;
        FinishHumanRound();
        return;
    }
    if (LastMover > 1) view_.SetSeatArrowVisible(LastMover, false);
    SetHoldGrid(false);
    SetDiscardButton(false);
    CardPicked = 0;
    if (!hand.Empty()) {
        HandOverToComputers();
    } else {
        RoundEnded = true;
        FinishHumanRound();
    }
}

HumanMove Game::ClickDrawDeck() {
    if (HumanLocked() || ChoosingCards || CurPlayer != kHuman) return HumanMove::Ignored;
    MoveScope scope(*this);
    const std::int64_t scored_before = rounds_scored_;
    if (CanDraw()) {
        DrawCard(Players[kHuman], kHuman, true);
        ReportHumanMove(Move{MoveKind::Draw, kHuman, -1, 0, {}}, scored_before);
        return HumanMove::Drew;
    }
    // Deck and pile are used up: a human with a card to play must play it;
    // one without passes, and when nobody can move the round is scored.
    if (!PickStack.Empty()) CancelPick();
    for (Card card : Players[kHuman]) {
        if (CheckPlayable(card) == 1) {
            view_.ShowNothingToDraw(kHuman, false);
            return HumanMove::NothingToDraw;
        }
    }
    if (PassTurn(kHuman) == TurnOutcome::RoundEnded)
        FinishHumanRound();
    else
        HandOverToComputers();
    ReportHumanMove(Move{MoveKind::Pass, kHuman, -1, 0, {}}, scored_before);
    return HumanMove::Passed;
}

HumanMove Game::ClickOpponentCard(int player, int column) {
    // The side grids are a single column: from them the first card is taken.
    return TakeFrom(player, player == 3 ? column : 0);
}

HumanMove Game::TakeFrom(int player, int slot) {
    if (HumanLocked()) return HumanMove::Ignored;
    if (!ChoosingCards || ChooseFromPlayer != player || ChooseDone >= ChooseTotal) return HumanMove::Ignored;
    if (player < 2 || player > 4) return HumanMove::Ignored;
    CardStack& giver = Players[player];
    if (slot < 0 || slot >= giver.Count()) return HumanMove::Ignored;
    MoveScope scope(*this);
    const std::int64_t scored_before = rounds_scored_;
    const Move move{MoveKind::Take, kHuman, static_cast<std::int16_t>(slot), static_cast<std::int16_t>(player), {}};
    view_.AnimateCardMove(kHuman, player, giver[slot]);
    if (!MoveChecked(giver, Players[kHuman], slot)) return HumanMove::Ignored;

    if (giver.Empty()) {
        RoundEnded = true;
        FinishHumanRound();
        ReportHumanMove(move, scored_before);
        return HumanMove::Took;
    }
    ShowPlayerHand(player);
    ShowPlayerHand(kHuman);
    ++ChooseDone;
    if (ChooseDone >= ChooseTotal) {
        ChooseMsgPending = true;
        CurPlayer = static_cast<std::int16_t>(NextSeat(kHuman, PlayReversed));
        ChoosingCards = false;
        HandOverToComputers();
    }
    ReportHumanMove(move, scored_before);
    return HumanMove::Took;
}

}  // namespace kvt
