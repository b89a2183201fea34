#include <algorithm>
#include <array>
#include <limits>

#include "engine/rules_support.h"
#include "core/seats.h"

namespace kvt {

namespace {

constexpr int kCountedGroups = 30;
constexpr int kCommentEvent = 2;

// What the scores of one choice share: the player's traits as weights and
// the weighted size of the largest other hand.
struct ScoreWeights {
    ScoreWeights(const PlayerRec& info, int max_other_hand)
        : value(info.TraitA / 100.0),
          match(info.TraitC / 100.0),
          others(Sat16(static_cast<long long>(info.TraitB) * max_other_hand)),
          per_match(info.TraitD) {}
    double value;
    double match;
    std::int16_t others;
    std::int16_t per_match;
};

inline std::int16_t ValueScore(const Card& card, const ScoreWeights& w) {
    const std::int16_t diff = Sat16(static_cast<long long>(card.Value) - w.others);
    return Round16(w.value * diff);
}

double MatchScore(const Card& card, const CardStack& hand, const ScoreWeights& w) {
    // CountSameGroup + CountSameValue, in one pass over the hand.
    long long same = 0;
    for (const Card& c : hand) same += (c.Group == card.Group) + (c.Value == card.Value);
    const std::int16_t weighted = Sat16(same * w.per_match);
    return w.match * weighted;
}

// CountSameGroup + CountSameValue for the cards of one hand. The hand is
// counted once by group and by value when every group and value is small
// and a byte holds any count, as in any ordinary card set and hand;
// otherwise card against card. The tables are cleared for every choice:
// in bytes they are cleared by a few plain stores, where 16-bit counters
// took a string store whose start-up cost a fifteenth of the simulation.
class MatchCounts {
public:
    MatchCounts(const Card* cards, int n) : cards_(cards), n_(n) {
        if (n > 255) {
            tallied_ = false;
            return;
        }
        for (int i = 0; i < n; ++i) {
            const auto group = static_cast<std::uint16_t>(cards[i].Group);
            const auto value = static_cast<std::uint16_t>(cards[i].Value);
            if (group >= kSmall || value >= kSmall) {
                tallied_ = false;
                return;
            }
            ++groups_[group];
            ++values_[value];
        }
    }

    int Same(const Card& card) const {
        if (tallied_) return groups_[static_cast<std::uint16_t>(card.Group)] + values_[static_cast<std::uint16_t>(card.Value)];
        int same = 0;
        for (int j = 0; j < n_; ++j) same += (cards_[j].Group == card.Group) + (cards_[j].Value == card.Value);
        return same;
    }

private:
    static constexpr std::uint16_t kSmall = 64;
    const Card* cards_;
    int n_;
    bool tallied_ = true;
    std::array<std::uint8_t, kSmall> groups_{};
    std::array<std::uint8_t, kSmall> values_{};
};

// The playable cards of a hand: how many, and their slots in order.
struct Candidates {
    int count = 0;
    std::array<std::int16_t, CardStack::Capacity> slots;
    int First() const { return count > 0 ? slots[0] : -1; }
};

// The seats on the right of, on the left of and across from each seat 1..4.
constexpr std::array<std::array<std::int8_t, 3>, 5> kAround{{
    {0, 0, 0},
    {RightOf(1), LeftOf(1), AcrossFrom(1)},
    {RightOf(2), LeftOf(2), AcrossFrom(2)},
    {RightOf(3), LeftOf(3), AcrossFrom(3)},
    {RightOf(4), LeftOf(4), AcrossFrom(4)},
}};

// MarkPlayableCards, counting the playable cards on the way.
void MarkHand(const TableState& table, CardStack& hand, Candidates& found) {
    const int drawer = NextSeat(WrapSeat(table.CurPlayer), table.PlayReversed);
    // Whose hand each take card would draw from is the same for the whole
    // hand: the sizes of those hands, by action, are read once, 16 bits
    // each in one number; every other action reads the last 16 bits, a size
    // no count reaches. (SourcePlayer of each take action, in action order.)
    static_assert(kActionDrawLeft == kActionDrawRight + 1 && kActionDrawAcross == kActionDrawRight + 2);
    static_assert(CardStack::Capacity < 0xffff);
    const auto& players = table.Players;
    const auto size_of = [&](int nth, int shift) {
        return static_cast<std::uint64_t>(players[kAround[drawer][nth]].Count()) << shift;
    };
    const std::uint64_t giver_cards = size_of(0, 0) | size_of(1, 16) | size_of(2, 32) | (0xffffull << 48);
    // Never make the next player draw from a hand that would run out.
    const auto runs_out = [giver_cards](const Card& card) {
        const unsigned take = static_cast<unsigned>(card.Action - kActionDrawRight);
        const unsigned shift = take < 3u ? 16 * take : 48;
        return static_cast<int>((giver_cards >> shift) & 0xffff) <= card.ActionCount;
    };
    // PlayableOn (CheckPlayable), with the pile's top read once for the
    // hand. Without branches: whether a card is playable follows no pattern.
    const bool any_top = !table.DiscardPile.Empty();
    const Card top = any_top ? table.DiscardPile.Top() : Card{};
    // Each card's slot is written down and kept when the card is playable:
    // no branch on the mark, which follows no pattern.
    const int n = hand.Count();
    Card* const cards = hand.begin();
    for (int i = 0; i < n; ++i) {
        Card& card = cards[i];
        const int p = static_cast<int>(!runs_out(card)) & static_cast<int>(!any_top | Matches(card, top));
        card.Playable = static_cast<std::int16_t>(p);
        found.slots[found.count] = static_cast<std::int16_t>(i);
        found.count += p;
    }
}

}  // namespace

std::int16_t Game::MaxOtherHand() const {
    int most = 0;
    for (int p = 2; p <= 4; ++p)
        if (p != CurPlayer && Players[p].Count() > most) most = Players[p].Count();
    return static_cast<std::int16_t>(most);
}

std::int16_t Game::ScoreValue(const Card& card) {
    return ValueScore(card, ScoreWeights(PlayerInfo[WrapSeat(CurPlayer)], MaxOtherHand()));
}

double Game::ScoreMatch(const Card& card, const CardStack& hand) {
    return MatchScore(card, hand, ScoreWeights(PlayerInfo[WrapSeat(CurPlayer)], MaxOtherHand()));
}

std::int16_t Game::ScoreBonus(const Card& /*card*/) { return 0; }

void Game::MarkPlayableCards(CardStack& hand) {
    Candidates found;
    MarkHand(*this, hand, found);
}

std::int16_t Game::ChooseCompCard(CardStack& hand, int mode) {
    Candidates found;
    if (mode == 0) {
        MarkHand(*this, hand, found);
    } else {
        for (int i = 0; i < hand.Count(); ++i) {
            const int p = hand[i].Group > 0 ? 1 : 0;
            hand[i].Playable = static_cast<std::int16_t>(p);
            found.slots[found.count] = static_cast<std::int16_t>(i);
            found.count += p;
        }
    }
    // A lone candidate wins whatever it scores.
    if (found.count <= 1) return static_cast<std::int16_t>(found.First());

    // A card's score is ScoreValue + ScoreMatch + ScoreBonus; what they
    // share for every card of the hand is worked out once.
    const int n = hand.Count();
    const Card* cards = hand.begin();
    const ScoreWeights weights(PlayerInfo[WrapSeat(CurPlayer)], MaxOtherHand());
    const MatchCounts counts(cards, n);
    // Equal scores keep the earlier slot. Unlike a fixed floor, the first
    // candidate opens the contest, so the best card wins even when every
    // score is very low.
    // Which card leads follows no pattern either: chosen without a branch.
    int slot = found.slots[0];
    int best = 0;
    for (int c = 0; c < found.count; ++c) {
        const int i = found.slots[c];
        const long long same = counts.Same(cards[i]);
        const std::int16_t match = Round16(weights.match * Sat16(same * weights.per_match));
        const int score = Sat16(static_cast<long long>(ValueScore(cards[i], weights)) + match + ScoreBonus(cards[i]));
        const bool leads = (c == 0) | (score > best);
        best = leads ? score : best;
        slot = leads ? i : slot;
    }
    return static_cast<std::int16_t>(slot);
}

std::int16_t Game::ChooseWildGroup(const CardStack& hand) const {
    // 16 bits hold any hand's count, and clear in a few plain stores.
    static_assert(CardStack::Capacity <= 0xffff);
    std::array<std::uint16_t, kCountedGroups + 1> counts{};
    for (const Card& c : hand)
        if (c.Group >= 1 && c.Group <= kCountedGroups) ++counts[c.Group];
    int chosen = 0;
    int most = 0;
    for (int g = 1; g <= kCountedGroups; ++g) {
        if (counts[g] > most) {
            most = counts[g];
            chosen = g;
        }
    }
    for (int i = 0; i < hand.Count(); ++i)
        if (hand[i].Group == chosen) return static_cast<std::int16_t>(i);
    return 0;
}

bool Game::AnimateCompDiscard(int player, int slot, bool with_action) {
    CardStack& hand = Players[player];
    if (slot < 0 || slot >= hand.Count()) return false;
    MoveScope scope(*this);
    // The card flies to the pile (shown from its event), even when refused.
    if (DiscardPile.Full()) {
        ++RefusedMoves;
        EmitMove(EventKind::CardRefused, hand[slot], hand, DiscardPile, slot);
        return false;
    }
    if (with_action)
        CurPlayer = MoveCard(hand, DiscardPile, slot, true);
    else
        MoveCard(hand, DiscardPile, slot, false);
    return true;
}

std::int16_t Game::CompPlayDiscardCard(int player, int slot) {
    MoveScope scope(*this);
    CardStack& hand = Players[player];
    // Held aside so that it cannot be among its own discards.
    CompHeld.Clear();
    if (!MoveChecked(hand, CompHeld, slot)) return static_cast<std::int16_t>(NextSeat(player, PlayReversed));
    const Card card = CompHeld[0];
    if (TransferRandomCards(player, kActionDiscard, card.ActionCount) == -1) return -1;
    if (!MoveChecked(CompHeld, DiscardPile, 0)) MoveChecked(CompHeld, hand, 0);
    const int next = NextSeat(player, PlayReversed);
    if (card.IsWild()) PlaceGroupCard(player);
    return static_cast<std::int16_t>(next);
}

TurnOutcome Game::PassTurn(int player) {
    Emit(EventKind::Passed, player);
    LastMover = static_cast<std::int16_t>(player);
    ++PassesInRow;
    CurPlayer = static_cast<std::int16_t>(NextSeat(player, PlayReversed));
    // Four passes in a row: nobody can play and nothing can be drawn.
    if (PassesInRow >= kSeats) {
        RoundEnded = true;
        NextDealRule = IsComputer(player) ? FirstDiscardRule::kWild : FirstDiscardRule::kNoSecondCard;
        return TurnOutcome::RoundEnded;
    }
    return TurnOutcome::Passed;
}

bool Game::HandsGotSmaller() {
    bool smaller = false;
    for (int p = 1; p <= 4; ++p) {
        if (Players[p].Count() < SmallestHands[p]) {
            SmallestHands[p] = Players[p].Count();
            smaller = true;
        }
    }
    return smaller;
}

TurnOutcome Game::PlayComputerTurn() {
    if (RoundEnded) return TurnOutcome::RoundEnded;
    if (!IsComputer(CurPlayer)) return TurnOutcome::NotComputer;
    return PlayComputerTurnWith(ChooseCompCard(Players[CurPlayer], 0));
}

TurnOutcome Game::PlayComputerTurnWith(int slot) {
    const TurnOutcome outcome = PlayComputerMove(slot);
    if (RoundEnded) return outcome;
    TurnsWithoutProgress = HandsGotSmaller() ? 0 : TurnsWithoutProgress + 1;
    if (TurnsWithoutProgress < kStuckTurns) return outcome;
    // Stuck: scored as it stands, like a round that four passes end.
    RoundEnded = true;
    NextDealRule = FirstDiscardRule::kWild;
    return TurnOutcome::RoundEnded;
}

TurnOutcome Game::PlayComputerTurn(Events& events) {
    events.clear();
    return ReportInto(events, [this] { return PlayComputerTurn(); });
}

TurnOutcome Game::PlayComputerMove(int slot) {
    const int player = CurPlayer;
    MoveScope scope(*this);
    CardStack& hand = Players[player];
    if (slot < 0 || slot >= hand.Count()) slot = -1;

    Emit(EventKind::CardChosen, player, slot, [&](Event& chosen) {
        if (slot >= 0) chosen.card = hand[slot];
    });
    while (slot == -1) {
        // Draw until a card can be played; with nothing left to draw, pass.
        if (!CanDraw() || hand.Full()) {
            if (hand.Full()) ++RefusedMoves;
            return PassTurn(player);
        }
        const int before = hand.Count();
        const int drawn = DrawCard(hand, player, false);
        if (hand.Count() == before) return PassTurn(player);
        if (CheckPlayable(hand[drawn]) == 1) slot = drawn;
    }

    LastMover = static_cast<std::int16_t>(player);
    const Card& card = hand[slot];
    if (card.Action == kActionDiscard && card.ActionCount > 0) {
        PassesInRow = 0;
        CurPlayer = CompPlayDiscardCard(player, slot);
    } else if (AnimateCompDiscard(player, slot, true)) {
        PassesInRow = 0;
    } else {
        return PassTurn(player);  // the pile is full
    }

    if (!Players[LastMover].Empty() && CurPlayer != -1) return TurnOutcome::Played;
    // RoundEnded carries the end of the round; CurPlayer stays a seat.
    if (CurPlayer < 1 || CurPlayer > 4) CurPlayer = LastMover;
    RoundEnded = true;
    NextDealRule = FirstDiscardRule::kWild;
    return TurnOutcome::RoundEnded;
}

void Game::BeginComputerRun() {
    int speaker = 0;
    PlayPlayerSound(kCommentEvent, true, speaker);
}

void Game::HandOverToComputers() {
    MoveScope scope(*this);
    BeginComputerRun();
}

}  // namespace kvt

