#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/card_stack.h"
#include "core/random.h"
#include "core/status.h"

namespace kvt {

// Which first-discard rule a deal follows.
enum class FirstDiscardRule : std::int8_t {
    kWildOrPlain,   // New Game, Load Card Set, the deal for the loaded opponents
    kWild,          // a round started from the computer players' turns
    kNoSecondCard,  // a round started from the human's play
};

// What the table waits for before the game can go on.
enum class Decision : std::int8_t {
    PlayOrDraw,       // the player on turn lays a card or draws
    TakeFromHand,     // the player on turn takes cards from another hand
    NameGroup,        // the player on turn names a group after laying a wild card
    AcknowledgeScore, // a round is over and waits for its score sheet
};

// The score sheet: the running totals after each of a game's last rounds,
// oldest first, seats 1..4 in columns 0..3. Older rounds scroll off the top;
// every row but the newest is shown struck through.
struct ScoreRows {
    static constexpr int kMax = 9;
    std::array<std::array<std::int16_t, 4>, kMax> totals{};
    std::int16_t count = 0;
    bool operator==(const ScoreRows&) const = default;
};

// The game on one table and nothing else: the stacks, the scores, whose turn
// it is and what is asked of whom, and the random generator. It is a value:
// copying it keeps a game (for undo, a resume or a replay), equal states play
// on identically, and its text form reads back into an equal state. The card
// set, the players' files, the settings and the window live beside it.
struct TableState {
    // --- the stacks; Players 1..4, 0 unused
    CardStack DrawDeck;
    CardStack DiscardPile;
    std::array<CardStack, 5> Players;
    std::array<std::int16_t, 5> Scores{};  // running totals, 1..4
    ScoreRows SheetRows;

    // --- turns
    std::int16_t CurPlayer = 1;
    std::int16_t StartPlayer = 0;
    std::int16_t PlayReversed = 0;
    std::int16_t RoundNum = 0;     // rows on the score sheet in this game
    std::int16_t WildGroup = -1;   // definition the human named after a wild card
    std::int16_t LastMover = 0;

    // --- the pending decision
    bool ChoosingCards = false;         // the human takes cards from ChooseFromPlayer
    std::int16_t ChooseFromPlayer = 0;
    std::int16_t ChooseTotal = 0;
    std::int16_t ChooseDone = 0;
    bool NamingGroup = false;           // the human's wild card waits for a group to be named
    bool RoundEnded = false;            // a round is over and not yet scored
    std::int16_t Winner = 0;            // 1..4 from a game's end until the score sheet's OK
    FirstDiscardRule NextDealRule = FirstDiscardRule::kWild;  // how the round after this one deals

    // --- the end of a round that goes nowhere
    std::int16_t PassesInRow = 0;  // turns passed in a row for want of a move
    // Computer turns since a hand last got smaller than it had been all
    // round. No round that is getting anywhere comes near the limit; one
    // that reaches it goes round in circles (two computers handing the same
    // cards back and forth through an otherwise empty deck) and ends as it stands.
    static constexpr std::int32_t kStuckTurns = 5000;
    std::int32_t TurnsWithoutProgress = 0;
    std::array<std::int16_t, 5> SmallestHands{};  // 1..4, since the deal

    // The only source of chance in the rules.
    Random Generator{0};

    // A card can be drawn: the deck has one, or the pile can be shuffled into a new deck.
    bool CanDraw() const { return !DrawDeck.Empty() || DiscardPile.Count() > 1; }

    Decision Pending() const {
        if (RoundEnded) return Decision::AcknowledgeScore;
        if (NamingGroup) return Decision::NameGroup;
        return ChoosingCards ? Decision::TakeFromHand : Decision::PlayOrDraw;
    }

    bool operator==(const TableState&) const = default;
};

// A stable text form: one "key values" line per field, one line of the ten
// card fields per card, and the generator's whole state. Reads back into an
// equal state.
std::string WriteTableState(const TableState& state);
// Fills `state` from text that WriteTableState wrote; on failure the message
// says which line is wrong and `state` is unchanged.
Status ReadTableState(const std::string& text, TableState& state);

}  // namespace kvt
