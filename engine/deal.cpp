#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <numeric>

#include "core/seats.h"
#include "engine/game.h"

namespace kvt {

void Game::ResetHands() {
    for (int p = 1; p <= 4; ++p) Players[p].Clear();
    ChoosingCards = false;
    // A new deal names no group for a wild card of the last one.
    NamingGroup = false;
    DiscardPile.Clear();
}

void Game::BuildDeck(const CardSetDef& set) {
    // Unchanged definitions (every field, byte for byte) give the same deck.
    static_assert(std::is_trivially_copyable_v<Card> && sizeof(Card) == kCardRecordBytes);
    if (deck_built_ && std::memcmp(built_from_.data(), set.CardDefs.data(), sizeof built_from_) == 0) {
        DrawDeck = built_deck_;
        return;
    }
    DrawDeck.Clear();
    [&] {
        for (const Card& def : set.CardDefs) {
            if (!IsDealt(def)) continue;
            for (int copy = 0; copy < def.Copies; ++copy)
                if (!DrawDeck.Push(def)) return;  // a loaded card set never gets here
        }
    }();
    built_from_ = set.CardDefs;
    built_deck_ = DrawDeck;
    deck_built_ = true;
}

void Game::ShuffleStack(CardStack& stack) {
    const int n = stack.Count();
    if (n < 2) return;
    assert(&stack != &ScratchStack);  // the cards are gathered there
    Emit(EventKind::DeckShuffled, 0, n);
    // Each position takes one of the cards not yet taken, all equally likely;
    // the cards not yet taken keep their order. All the draws come first, in
    // the same order as ever: the loop moving the cards then never waits on
    // the generator. The list of cards not yet taken holds slot numbers
    // rather than cards, so taking one out moves a tenth of the bytes; the
    // gap is closed eight numbers (one 16-byte block) at a time, which is why
    // the list has a block's room past its end.
    constexpr int kBlock = 8;
    std::array<std::int16_t, CardStack::Capacity> picks;
    for (int i = 0; i < n; ++i) picks[i] = static_cast<std::int16_t>(Generator.Slot(n - i));
    std::array<std::int16_t, CardStack::Capacity + kBlock> remaining;
    std::iota(remaining.begin(), remaining.begin() + n + kBlock, std::int16_t{0});
    ScratchStack.Clear();
    ScratchStack.Resize(n);
    const Card* const from = stack.begin();
    Card* const to = ScratchStack.begin();
    for (int i = 0; i < n; ++i) {
        const int k = picks[i];
        to[i] = from[remaining[k]];
        // remaining[k..left-2] = remaining[k+1..left-1], block by block: a
        // block is read before it is written, and each block read lies past
        // the one written before it.
        std::int16_t* gap = remaining.data() + k;
        for (int rest = n - i - 1 - k; rest > 0; rest -= kBlock, gap += kBlock) {
            std::int16_t block[kBlock];
            std::memcpy(block, gap + 1, sizeof block);
            std::memcpy(gap, block, sizeof block);
        }
    }
    std::copy(ScratchStack.begin(), ScratchStack.end(), stack.begin());
}

void Game::DealHands() {
    Emit(EventKind::Dealt, StartPlayer);
    // The deck nearly always holds the whole deal and every hand has room:
    // then each draw is DrawFromDeck's move of the deck's top card, with no
    // pile to shuffle back, and is made here without the calls.
    bool room = DrawDeck.Count() >= kSeats * kHandSize;
    for (int p = 1; p <= 4; ++p) room = room && Players[p].Count() <= CardStack::Capacity - kHandSize;
    if (room) {
        for (int round = 0; round < kHandSize; ++round) {
            for (int p = 1; p <= 4; ++p) {
                const Card card = DrawDeck.RemoveAt(0);
                Players[p].Push(card);
                EmitMove(EventKind::CardMoved, card, DrawDeck, Players[p], 0);
            }
        }
    } else {
        for (int round = 0; round < kHandSize; ++round)
            for (int p = 1; p <= 4; ++p) DrawFromDeck(Players[p]);
    }
    TurnsWithoutProgress = 0;
    for (int p = 1; p <= 4; ++p) SmallestHands[p] = Players[p].Count();
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
