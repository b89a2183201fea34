#include "hand/move_being_built.h"

#include <algorithm>

#include "core/matching.h"
#include "core/seats.h"
#include "engine/game.h"

namespace kvt {

MoveShows& MoveShows::Unseen() {
    static MoveShows unseen;
    return unseen;
}

namespace {

// The same cards in the same slots; the playable marks may differ.
bool SameCards(const CardStack& a, const CardStack& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i) {
        Card x = a[i];
        x.Playable = b[i].Playable;
        if (!(x == b[i])) return false;
    }
    return true;
}

}  // namespace

bool MoveBeingBuilt::Picking() const {
    const CardStack& pile = game_.DiscardPile;
    return pick_ >= 0 && pile.Count() == pile_count_ && (pile.Empty() || pile.Top() == pile_top_) &&
           SameCards(built_on_, game_.Players[kHuman]);
}

const Card& MoveBeingBuilt::PickedCard() const { return built_on_[pick_]; }

CardStack MoveBeingBuilt::ShownHand() const {
    if (!Picking()) return game_.Players[kHuman];
    CardStack shown;
    for (int slot = 0; slot < built_on_.Count(); ++slot)
        if (slot != pick_ && std::find(held_.begin(), held_.end(), slot) == held_.end()) shown.Push(built_on_[slot]);
    return shown;
}

CardStack MoveBeingBuilt::Held() const {
    CardStack held;
    if (Picking())
        for (const std::int16_t slot : held_) held.Push(built_on_[slot]);
    return held;
}

int MoveBeingBuilt::WholeHandSlot(int column) const {
    std::vector<std::int16_t> out = held_;
    out.push_back(pick_);
    std::sort(out.begin(), out.end());
    int slot = column;
    for (const std::int16_t taken : out)
        if (taken <= slot) ++slot;
    return slot;
}

bool MoveBeingBuilt::Locked() {
    if (game_.HumanLocked()) return true;
    // A move built on a table that has changed since is gone.
    if (pick_ >= 0 && !Picking()) Reset();
    return false;
}

void MoveBeingBuilt::Reset() {
    // Picking a card sets the rest.
    pick_ = -1;
    held_.clear();
    grid_open_ = false;
}

void MoveBeingBuilt::SetHoldGrid(bool open) {
    grid_open_ = open;
    shows_.SetHoldGridVisible(open);
}

void MoveBeingBuilt::SetDiscardButton(bool shown) {
    discard_shown_ = shown;
    shows_.SetDiscardButtonVisible(shown);
}

void MoveBeingBuilt::CloseBoxes() {
    Reset();
    shows_.ShowHand(CardStack{}, 0);
    SetHoldGrid(false);
    SetDiscardButton(false);
    shows_.ClearPickedCard();
}

void MoveBeingBuilt::ShowAll() {
    if (Picking())
        shows_.ShowPickedCard(PickedCard());
    else
        shows_.ClearPickedCard();
    shows_.ShowHand(Held(), 0);
    shows_.SetHoldGridVisible(HoldGridOpen());
    shows_.SetDiscardButtonVisible(DiscardShown());
    shows_.ShowHand(ShownHand(), kHuman);
}

void MoveBeingBuilt::PutBack() {
    CloseBoxes();
    shows_.ShowHand(game_.Players[kHuman], kHuman);
}

void MoveBeingBuilt::Pick(int slot, bool drawn) {
    const CardStack& hand = game_.Players[kHuman];
    built_on_ = hand;
    pile_count_ = game_.DiscardPile.Count();
    if (pile_count_ > 0) pile_top_ = game_.DiscardPile.Top();
    pick_ = static_cast<std::int16_t>(slot);
    drawn_ = drawn;
    held_.clear();
    const Card& card = hand[slot];
    shows_.ShowPickedCard(card);
    const bool fits = PlayableOn(card, game_.DiscardPile);
    const Game::HoldAsk ask = Game::HoldFor(card, fits, drawn, hand.Count() - 1);
    needed_ = ask.cards;
    if (ask.opens) {
        shows_.ShowHand(CardStack{}, 0);
        SetHoldGrid(true);
    }
    SetDiscardButton(fits && needed_ == 0);
    shows_.ShowHand(ShownHand(), kHuman);
}

HumanMove MoveBeingBuilt::ClickHandCard(int column) {
    if (Locked() || game_.ChoosingCards) return HumanMove::Ignored;
    if (HoldGridOpen() && static_cast<int>(held_.size()) >= PickedCard().ActionCount)
        return HumanMove::Ignored;  // the hold grid is full
    if (column < 0 || column >= ShownHand().Count()) return HumanMove::Ignored;
    if (Picking() && grid_open_) {
        held_.push_back(static_cast<std::int16_t>(WholeHandSlot(column)));
        shows_.ShowHand(Held(), 0);
        const int left = ShownHand().Count();
        if ((static_cast<int>(held_.size()) == needed_ && !game_.ChoosingCards) || left == 0) SetDiscardButton(true);
        shows_.ShowHand(ShownHand(), kHuman);
        return HumanMove::Chosen;
    }
    // Re-pick: the waiting card goes back, and the card clicked is picked
    // from the whole hand.
    const int slot = Picking() ? WholeHandSlot(column) : column;
    if (Picking()) CloseBoxes();
    Pick(slot, false);
    return HumanMove::Picked;
}

HumanMove MoveBeingBuilt::ClickPickedCard() {
    if (Locked() || !Picking()) return HumanMove::Ignored;
    PutBack();
    return HumanMove::Cancelled;
}

HumanMove MoveBeingBuilt::ClickHoldCard(int column) {
    if (Locked() || !HoldGridOpen()) return HumanMove::Ignored;
    if (column < 0) column = 0;
    if (column >= static_cast<int>(held_.size())) return HumanMove::Ignored;
    held_.erase(held_.begin() + column);
    shows_.ShowHand(ShownHand(), kHuman);
    shows_.ShowHand(Held(), 0);
    SetDiscardButton(false);
    return HumanMove::GivenBack;
}

bool MoveBeingBuilt::Submit(const Move& move) {
    Events events;
    return driver_.Submit(move, events) == MatchDriver::Step::Applied;
}

HumanMove MoveBeingBuilt::ClickDiscardButton() {
    if (Locked() || !DiscardShown() || game_.ChoosingCards || game_.CurPlayer != kHuman) return HumanMove::Ignored;
    const Move move{MoveKind::Play, kHuman, pick_, 0, held_, drawn_};
    if (!Submit(move)) {
        // Refused (no room on the pile): the move stays as it was built.
        ShowAll();
        return HumanMove::Ignored;
    }
    Reset();
    return HumanMove::Played;
}

HumanMove MoveBeingBuilt::ClickDrawDeck() {
    if (Locked() || game_.ChoosingCards || game_.CurPlayer != kHuman) return HumanMove::Ignored;
    // A card waiting in the picked-card box goes back first.
    if (Picking()) PutBack();
    if (game_.CanDraw()) {
        const int before = game_.Players[kHuman].Count();
        if (!Submit(Move{MoveKind::Draw, kHuman, -1, 0, {}})) return HumanMove::Ignored;
        // The drawn card waits in the picked-card box.
        if (game_.Players[kHuman].Count() > before) Pick(game_.Players[kHuman].Count() - 1, true);
        return HumanMove::Drew;
    }
    // Deck and pile are used up: a card that fits must be played.
    for (const Card& card : game_.Players[kHuman]) {
        if (PlayableOn(card, game_.DiscardPile)) {
            shows_.ShowNothingToDraw(kHuman, false);
            return HumanMove::NothingToDraw;
        }
    }
    return Submit(Move{MoveKind::Pass, kHuman, -1, 0, {}}) ? HumanMove::Passed : HumanMove::Ignored;
}

HumanMove MoveBeingBuilt::ClickOpponentCard(int player, int column) {
    if (Locked() || !game_.ChoosingCards || game_.ChooseFromPlayer != player) return HumanMove::Ignored;
    // The side grids are a single column: from them the first card is taken.
    const int slot = player == 3 ? column : 0;
    if (player < 2 || player > 4 || slot < 0 || slot >= game_.Players[player].Count()) return HumanMove::Ignored;
    const Move move{MoveKind::Take, kHuman, static_cast<std::int16_t>(slot), static_cast<std::int16_t>(player), {}};
    return Submit(move) ? HumanMove::Took : HumanMove::Ignored;
}

}  // namespace kvt
