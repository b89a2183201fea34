#include <algorithm>

#include "actions/rules_support.h"

namespace kvt {

// The picked card and the cards chosen for it leave the hand only while
// the move is being built. Each remembers the slot it held in the whole
// hand and goes back to it, so picking and putting back never reorder the
// hand: the hand changes only by a move, and every move the clicks make is
// a Move that plays the same game when it is applied to the same table.

namespace {

// The slots that cards of the move being built were taken from.
std::vector<std::int16_t> TakenSlots(std::int16_t pick, const std::vector<std::int16_t>& held) {
    std::vector<std::int16_t> taken = held;
    if (pick >= 0) taken.push_back(pick);
    std::sort(taken.begin(), taken.end());
    return taken;
}

}  // namespace

int Game::WholeHandSlot(int column) const {
    int slot = column;
    for (const std::int16_t taken : TakenSlots(PickStack.Empty() ? -1 : PickOrigin, HoldOrigins))
        if (taken <= slot) ++slot;
    return slot;
}

bool Game::ReturnToHand(CardStack& from, int index, std::int16_t origin) {
    CardStack& hand = Players[kHuman];
    if (hand.Full()) {
        ++RefusedMoves;
        EmitMove(EventKind::CardRefused, from[index], from, hand);
        return false;
    }
    // Among the cards still out, those from earlier slots are not in the hand.
    int at = origin;
    if (!PickStack.Empty() && &from != &PickStack && PickOrigin < origin) --at;
    for (std::size_t i = 0; i < HoldOrigins.size(); ++i)
        if (!(&from == &HoldStack && static_cast<int>(i) == index) && HoldOrigins[i] < origin) --at;
    Card card = from.RemoveAt(index);
    if (&from == &PickStack) card.Playable = PickMark;
    if (&from == &HoldStack) HoldOrigins.erase(HoldOrigins.begin() + index);
    hand.InsertAt(at, card);
    EmitMove(EventKind::CardMoved, card, from, hand);
    return true;
}

void Game::ReturnMoveBeingBuilt() {
    // Lowest slot first: each card then goes back among cards that are all in place.
    for (;;) {
        int held = -1;
        for (std::size_t i = 0; i < HoldOrigins.size(); ++i)
            if (held < 0 || HoldOrigins[i] < HoldOrigins[static_cast<std::size_t>(held)]) held = static_cast<int>(i);
        const bool pick_first = !PickStack.Empty() && (held < 0 || PickOrigin < HoldOrigins[static_cast<std::size_t>(held)]);
        if (pick_first) {
            if (!ReturnToHand(PickStack, 0, PickOrigin)) return;
        } else if (held >= 0) {
            if (!ReturnToHand(HoldStack, held, HoldOrigins[static_cast<std::size_t>(held)])) return;
        } else {
            return;
        }
    }
}

void Game::ForgetHeldSlot(int index) {
    // The card has left the hand for good: the slots after its own close up.
    const std::int16_t gone = HoldOrigins[static_cast<std::size_t>(index)];
    HoldOrigins.erase(HoldOrigins.begin() + index);
    for (std::int16_t& slot : HoldOrigins)
        if (slot > gone) --slot;
    if (PickOrigin > gone) --PickOrigin;
}

void Game::ReportHumanMove(const Move& move, std::int64_t rounds_before) {
    if (applying_ || !human_move_listener_) return;
    // A round the move ended was scored in it.
    std::optional<std::array<std::int16_t, 4>> scored;
    if (rounds_scored_ != rounds_before) scored = last_totals_;
    human_move_listener_(move, scored);
}

}  // namespace kvt
