// The human's moves as the rules apply them. The window builds a Play from
// clicks without touching the table; laid here, the picked card and the
// cards chosen for it pass through the picked-card box and the hold grid,
// where the window showed them, and on to where the card sends them.
#include "engine/rules_support.h"

namespace kvt {

bool Game::HumanLocked() const {
    return MoveInProgress() || IsComputer(kHuman) || NamingGroup || (RoundEnded && RoundIsOver());
}

bool Game::PickToLay(int slot, bool drawn) {
    CardStack& hand = Players[kHuman];
    if (slot < 0 || slot >= hand.Count() || !PickStack.Empty()) return false;
    MoveScope scope(*this);
    const bool fits = CheckPlayable(hand[slot]) == 1;
    PickOrigin = static_cast<std::int16_t>(slot);
    MoveCard(hand, PickStack, slot, false);
    const HoldAsk ask = HoldFor(PickStack[0], fits, drawn, hand.Count());
    HoldNeeded = static_cast<std::int16_t>(ask.cards);
    if (ask.opens) PickAsksForCards = true;
    if (HoldNeeded == 0 && fits) PickComplete = true;
    return true;
}

bool Game::ChooseToLay(int slot) {
    // The grid opens only for a card that asks for cards, and holds as many as it asks for.
    if (PickStack.Empty() || !PickAsksForCards || HoldStack.Count() >= PickStack[0].ActionCount) return false;
    // The slot of the whole hand, in the hand without the cards already out.
    int column = slot;
    if (PickOrigin < slot) --column;
    for (const std::int16_t held : HoldOrigins)
        if (held < slot) --column;
    CardStack& hand = Players[kHuman];
    if (column < 0 || column >= hand.Count()) return false;
    MoveScope scope(*this);
    if (!MoveChecked(hand, HoldStack, column)) return false;
    HoldOrigins.push_back(static_cast<std::int16_t>(slot));
    if ((HoldStack.Count() == HoldNeeded && !ChoosingCards) || hand.Empty()) PickComplete = true;
    return true;
}

bool Game::LayPicked() {
    if (!PickComplete || PickStack.Empty() || ChoosingCards || CurPlayer != kHuman) return false;
    // The pile must have room for the discards and the card itself.
    if (DiscardPile.Count() + HoldStack.Count() + 1 > CardStack::Capacity) {
        ++RefusedMoves;
        return false;
    }
    MoveScope scope(*this);
    const Card picked = PickStack[0];

    if (picked.Action == kActionDiscard && picked.ActionCount >= 1) {
        // The first chosen card goes down first; the last ends under the picked card.
        const int chosen = HoldStack.Count();
        for (int i = 0; i < chosen; ++i) {
            if (!MoveChecked(HoldStack, DiscardPile, 0)) break;
            ForgetHeldSlot(0);
        }
    }

    // The card goes down before the cards it passes leave the hold grid;
    // its action follows them.
    MoveCard(PickStack, DiscardPile, 0, false);

    if (PickAsksForCards) {
        const int receiver = picked.Action == kActionPassLeft    ? 2
                             : picked.Action == kActionPassRight ? 4
                             : picked.Action == kActionPassAcross ? 3
                                                                  : 0;
        const int chosen = HoldStack.Count();
        for (int i = 0; i < chosen && receiver != 0; ++i) {
            if (!MoveChecked(HoldStack, Players[receiver], 0)) break;
            ForgetHeldSlot(0);
        }
        // Cards chosen for a card that neither passes nor discards (or that
        // found no room) go back to the hand rather than off the table.
        while (!HoldStack.Empty() && ReturnHeldToHand()) {
        }
        HoldStack.Clear();
        HoldOrigins.clear();
    }

    PassesInRow = 0;
    CurPlayer = ApplyCardAction(DiscardPile[DiscardPile.Count() - 1]);
    // A wild card waits here for its group to be named, a move of its own.
    if (!NamingGroup) AfterHumanPlay();
    return true;
}

bool Game::ReturnHeldToHand() {
    CardStack& hand = Players[kHuman];
    if (hand.Full()) {
        ++RefusedMoves;
        EmitMove(EventKind::CardRefused, HoldStack[0], HoldStack, hand, 0);
        return false;
    }
    // Among the cards still out, those from earlier slots are not in the hand.
    const std::int16_t origin = HoldOrigins.front();
    int at = origin;
    if (PickOrigin >= 0 && PickOrigin < origin) --at;  // the picked card has left the hand too
    for (std::size_t i = 1; i < HoldOrigins.size(); ++i)
        if (HoldOrigins[i] < origin) --at;
    const Card card = HoldStack.RemoveAt(0);
    HoldOrigins.erase(HoldOrigins.begin());
    hand.InsertAt(at, card);
    EmitMove(EventKind::CardMoved, card, HoldStack, hand, 0);
    return true;
}

void Game::ForgetHeldSlot(int index) {
    // The card has left the hand for good: the slots after its own close up.
    const std::int16_t gone = HoldOrigins[static_cast<std::size_t>(index)];
    HoldOrigins.erase(HoldOrigins.begin() + index);
    for (std::int16_t& slot : HoldOrigins)
        if (slot > gone) --slot;
    if (PickOrigin > gone) --PickOrigin;
}

void Game::AfterHumanPlay() {
    CardStack& hand = Players[kHuman];
    if (CurPlayer == -1) {
        RoundEnded = true;
        FinishHumanRound();
        return;
    }
    PickAsksForCards = false;
    PickComplete = false;
    if (!hand.Empty()) {
        HandOverToComputers();
    } else {
        RoundEnded = true;
        FinishHumanRound();
    }
}

Status Game::DrawForHuman() {
    if (ChoosingCards || CurPlayer != kHuman || !CanDraw()) return Status::Fail("the human cannot draw now");
    MoveScope scope(*this);
    CardStack& hand = Players[kHuman];
    const int before = hand.Count();
    DrawCard(hand, kHuman, true);
    // Only the card just drawn may be laid as drawn, by the next move.
    drawn_slot_ = hand.Count() > before ? hand.Count() - 1 : -1;
    return Status::Ok();
}

Status Game::PassForHuman() {
    // Deck and pile are used up: a human with a card to play must play it;
    // one without passes, and when nobody can move the round is scored.
    if (ChoosingCards || CurPlayer != kHuman || CanDraw()) return Status::Fail("the human cannot pass now");
    for (Card card : Players[kHuman])
        if (CheckPlayable(card) == 1) return Status::Fail("the human has a card to play");
    MoveScope scope(*this);
    if (PassTurn(kHuman) == TurnOutcome::RoundEnded)
        FinishHumanRound();
    else
        HandOverToComputers();
    return Status::Ok();
}

bool Game::TakeFrom(int player, int slot) {
    if (!ChoosingCards || ChooseFromPlayer != player || ChooseDone >= ChooseTotal) return false;
    // A table read from a file may name any seat; the person takes only from another's hand.
    if (player < 2 || player > 4) return false;
    CardStack& giver = Players[player];
    if (slot < 0 || slot >= giver.Count()) return false;
    MoveScope scope(*this);
    if (!MoveChecked(giver, Players[kHuman], slot)) return false;

    if (giver.Empty()) {
        RoundEnded = true;
        FinishHumanRound();
        return true;
    }
    ++ChooseDone;
    if (ChooseDone >= ChooseTotal) {
        CurPlayer = static_cast<std::int16_t>(NextSeat(kHuman, PlayReversed));
        ChoosingCards = false;
        HandOverToComputers();
    }
    return true;
}

}  // namespace kvt
