#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/card.h"

namespace kvt {

// Where a card lies on the table.
enum class Place : std::int8_t {
    None,        // a stack of no place on the table (a scratch stack)
    Deck,
    Pile,        // the discard pile
    Hand,        // a player's hand; the event's seat says whose
    Held,        // a computer player's card held aside while it discards
    HoldGrid,    // the cards the human chose for the picked card
    PickedCard,  // the human's picked-card box
};

struct Spot {
    Place place = Place::None;
    std::int8_t seat = 0;  // 1..4 for Hand and Held
    bool operator==(const Spot&) const = default;
};

enum class EventKind : std::int8_t {
    CardMoved,         // card went from -> to, shown face up or not on the way
    CardRefused,       // card was to go from -> to, but `to` is full
    NothingDrawn,      // seat was to draw, but there was nothing to draw or no room
    CardChosen,        // a computer player chose slot `number` of its hand (-1: nothing playable)
    GroupCardLaid,     // after a wild card: `card`, of the group named, went on the pile
    DeckRebuilt,       // `number` cards of the pile, all but its top, went back into the deck
    DeckShuffled,      // a stack of `number` cards (the deck) was shuffled
    DirectionChanged,  // `number` is the new direction: 0 normal, 1 reversed
    SoundCue,          // seat's clip of kind `number` (1..11), variant `variant` (1..3)
    RoundEnded,        // the round was scored: `scores`, and `seat` the game's winner or 0
    GameEnded,         // `seat` won the game
    Dealt,             // the hands are about to be dealt from the deck; `seat` starts
    Passed,            // seat could neither play nor draw, and passed
};

// What happened on the table, in order. The rules report every change as
// one of these; a window animates them, the simulator counts them.
struct Event {
    EventKind kind = EventKind::CardMoved;
    Spot from;
    Spot to;
    std::int16_t seat = 0;
    std::int16_t number = 0;  // a moved or refused card: the slot of `from` it left (or was to leave)
    // A sound cue's variant. A player's draw (its card from the deck, or
    // nothing drawn): 1, or 2 for the human's own draw, which the table
    // offers in the picked-card box; a card dealt is 0.
    std::int16_t variant = 0;
    Card card;
    std::array<std::int16_t, 5> scores{};  // 1..4

    static Event Moved(EventKind kind, const Card& card, Spot from, Spot to) {
        Event e;
        e.kind = kind;
        e.card = card;
        e.from = from;
        e.to = to;
        return e;
    }
    static Event Of(EventKind kind, int seat, int number = 0) {
        Event e;
        e.kind = kind;
        e.seat = static_cast<std::int16_t>(seat);
        e.number = static_cast<std::int16_t>(number);
        return e;
    }
};

using Events = std::vector<Event>;

}  // namespace kvt
