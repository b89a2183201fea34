#pragma once

#include <array>
#include <cstdint>

namespace kvt {

// How one computer turn ended.
enum class TurnOutcome {
    NotComputer,  // the player on turn is the human: nothing was done
    Played,       // a card was laid; CurPlayer is the next player
    Passed,       // nothing to play and nothing to draw
    RoundEnded,   // a hand ran out, or no player can move any more
};

// The round just scored, as the score sheet counted it.
struct RoundResult {
    std::int16_t Winner = 0;  // 1..4 when this round ended the game
    std::array<std::int16_t, 5> Totals{};  // 1..4, before a game over resets them
    std::int16_t RoundNum = 0;  // rows on the sheet after counting
};

}  // namespace kvt
