#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/card.h"

namespace kvt {

inline constexpr int kCardDefCount = 81;
inline constexpr int kTitleLength = 30;
inline constexpr int kMaxGroup = 30;
inline constexpr int kHandSize = 7;
// Seven cards for each of the four players plus the first discard.
inline constexpr int kMinDeckSize = 4 * kHandSize + 1;

// What a card-set file carries besides its pictures and sounds. Texts are
// single-byte characters kept exactly as stored.
struct CardSetDef {
    std::int16_t Header = 0;
    std::array<Card, kCardDefCount> CardDefs{};
    std::string Text1;
    std::string Text2;
    std::string AuthorName;
    std::string GameTitle = std::string(kTitleLength, ' ');

    bool operator==(const CardSetDef&) const = default;
};

// Whether BuildDeck puts copies of this definition into the deck.
inline bool IsDealt(const Card& def) { return def.Action != kActionNeverDealt && def.Copies > 0; }

// The number of cards BuildDeck would put into the deck (may exceed a stack).
int DeckSize(const CardSetDef& set);

// Index of the first definition with the given action, or -1.
int FindDefinition(const CardSetDef& set, int action);

// Cuts or blank-pads a title to exactly kTitleLength characters.
std::string FitTitle(std::string title);

}  // namespace kvt
