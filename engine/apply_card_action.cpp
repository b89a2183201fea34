#include "engine/rules_support.h"

namespace kvt {

std::int16_t Game::SourcePlayer(int player, int action) {
    switch (action) {
    case kActionDrawRight: return static_cast<std::int16_t>(RightOf(player));
    case kActionDrawLeft: return static_cast<std::int16_t>(LeftOf(player));
    case kActionDrawAcross: return static_cast<std::int16_t>(AcrossFrom(player));
    default: return 0;
    }
}

std::int16_t Game::ApplyCardAction(Card& card) {
    MoveScope scope(*this);
    // The card lies on the pile; a deck rebuilt by a draw below may reuse
    // its slot, so work from a copy.
    const Card played = card;
    const int p = CurPlayer;
    const int n = played.ActionCount;
    int next = p;

    switch (played.Action) {
    case kActionPassLeft:
    case kActionPassRight:
    case kActionPassAcross: {
        const int target = played.Action == kActionPassLeft    ? LeftOf(p)
                           : played.Action == kActionPassRight ? RightOf(p)
                                                               : AcrossFrom(p);
        // The human chose the cards to pass before laying the card.
        if (IsComputer(p) && TransferRandomCards(target, played.Action, n) == -1) return -1;
        next = NextSeat(p, PlayReversed);
        break;
    }
    case kActionDrawDeck:
        next = NextSeat(p, PlayReversed);
        if (!PlayReversed) {
            int speaker = next;
            PlayPlayerSound(4, true, speaker);
        }
        for (int i = 0; i < n; ++i) DrawCard(Players[next], next, false);
        next = NextSeat(next, PlayReversed);  // who drew loses the turn
        break;
    case kActionDrawRight:
    case kActionDrawLeft:
    case kActionDrawAcross: {
        next = NextSeat(p, PlayReversed);
        const std::int16_t taken = TakeCards(next, played.Action, n);
        // A human taker keeps the turn only to pick the cards.
        if (ChoosingCards) break;
        if (taken == -1) return -1;
        next = NextSeat(next, PlayReversed);
        break;
    }
    case kActionDiscard:
        next = NextSeat(p, PlayReversed);
        break;
    case kActionSkip:
        next = NextSeat(NextSeat(p, PlayReversed), PlayReversed);
        break;
    case kActionReverse:
        PlayReversed = PlayReversed ? 0 : 1;
        next = NextSeat(p, PlayReversed);
        Emit(EventKind::DirectionChanged, p, PlayReversed);
        break;
    default:
        break;  // no action: the same player goes again
    }
    next = WrapSeat(next);

    if (!played.IsWild()) return static_cast<std::int16_t>(next);
    PlaceGroupCard(p);
    return static_cast<std::int16_t>(next);
}

std::vector<GroupChoice> Game::WildGroupChoices() const {
    std::vector<GroupChoice> choices;
    for (int g = 1; g <= kWildButtonGroups; ++g) {
        for (int d = 0; d < kCardDefCount; ++d) {
            const Card& def = CardSet.CardDefs[d];
            if (def.Group == g && !IsPictureOnly(def.Action)) {
                choices.push_back({static_cast<std::int16_t>(g), static_cast<std::int16_t>(d)});
                break;
            }
        }
    }
    return choices;
}

// After a wild card the player who laid it names a group, and a copy of a
// definition of that group goes on the pile for the next player to match.
void Game::PlaceGroupCard(int player) {
    if (!IsComputer(player)) {
        // The human names it by a move of its own; a card set of wild cards
        // only has nothing to name.
        if (!WildGroupChoices().empty()) NamingGroup = true;
        return;
    }
    const CardStack& hand = Players[player];
    // A hand emptied by the wild card names nothing; the round is over.
    if (hand.Empty()) return;
    const int group = hand[ChooseWildGroup(hand)].Group;
    int def_index = -1;
    int lowest = 9999;
    for (int d = 0; d <= kLastGroupDefinition; ++d) {
        const Card& def = CardSet.CardDefs[d];
        if (def.Group == group && !IsPictureOnly(def.Action) && def.Value < lowest) {
            lowest = def.Value;
            def_index = d;
        }
    }
    // No definition of that group: the wild card stays on top.
    if (def_index >= 0) LayGroupCard(player, def_index);
}

void Game::LayGroupCard(int player, int def_index) {
    if (DiscardPile.Full()) {
        ++RefusedMoves;
        return;
    }
    DiscardPile.Push(CardSet.CardDefs[def_index]);
    ++GroupCardsAdded;
    Emit(EventKind::GroupCardLaid, player, 0, [this](Event& laid) {
        laid.card = DiscardPile.Top();
        laid.to = {Place::Pile, 0};
    });
}

std::int16_t Game::TransferRandomCards(int target, int kind, int count) {
    MoveScope scope(*this);
    if (IsPassAction(kind)) {
        const int giver = kind == kActionPassLeft    ? RightOf(target)
                          : kind == kActionPassRight ? LeftOf(target)
                                                     : AcrossFrom(target);
        CardStack& from = Players[giver];
        for (int i = 0; i < count; ++i) {
            if (from.Empty()) return -1;
            const int slot = Rng().Slot(from.Count());
            if (!MoveChecked(from, Players[target], slot)) break;
        }
        return from.Empty() ? -1 : 0;
    }
    if (kind == kActionDiscard) {
        CardStack& hand = Players[target];
        for (int i = 0; i < count; ++i) {
            if (hand.Empty()) return -1;
            const int slot = Rng().Slot(hand.Count());
            if (!AnimateCompDiscard(target, slot, false)) break;
            if (hand.Empty()) return -1;
        }
        return hand.Empty() ? -1 : 0;
    }
    return 0;
}

}  // namespace kvt
