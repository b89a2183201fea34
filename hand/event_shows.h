#pragma once

#include <array>
#include <filesystem>

#include "core/card_stack.h"
#include "core/event.h"
#include "core/table_state.h"
#include "engine/game_over.h"
#include "hand/piles_shown.h"

namespace kvt {

class Game;

// What the table shows for an event of the rules by itself, in the order it
// is shown: a card's flight comes before the line that logs its move; the
// direction, the shuffle notice, a player's voice and a won game's
// presentation after it. The window queues these as steps of its show; the
// rules tests write them down.
class EventShows {
public:
    virtual ~EventShows() = default;
    // A card flies to the pile from a computer's hand or the card it held
    // aside, or from the hold grid; a refused card flies too.
    virtual void ComputerDiscardFlies(int player, const Card& card) = 0;
    virtual void HoldDiscardFlies(const Card& card) = 0;
    // A card passes to the hand of `to_player` from another hand (from_place
    // 1..4) or from the hold grid (0); a refused card flies too.
    virtual void CardFliesToHand(int to_player, int from_place, const Card& card) = 0;
    // A computer player holds a card back while it discards; the card is
    // hidden once it has left, to the pile or back to the hand, or with the
    // round that the player ended by discarding its last cards.
    virtual void HoldCardShown(int player, const Card& card) = 0;
    virtual void HoldCardHidden() = 0;
    // A stack a card has left or joined is drawn again as it now stands,
    // once the card's flight has landed, and all of them at a deal: grid 0
    // is the hold grid (also sized again for the picked card), 1..4 the
    // hands; the deck and the pile are drawn together.
    virtual void HandRedrawn(int grid, const CardStack& stack) = 0;
    virtual void PilesRedrawn(const PilesShown& piles) = 0;
    // The human's picked card flies from its box to the pile, which then shows it.
    virtual void PickedCardFlies(const Card& card) = 0;
    // A player's draw: a card back flies from the deck to its hand, or to
    // the picked-card box for the human's own draw, also when nothing came.
    virtual void DrawFlies(int player, bool to_picked_card) = 0;
    // The round is scored: the score sheet opens with its rows (a winner
    // above 0 blinks), before the round's line in the log.
    virtual void RoundScored(const ScoreRows& rows, int winner) = 0;
    virtual void Logged(const Event& event) = 0;
    virtual void DirectionTurns(int reversed) = 0;
    virtual void DeckShuffled() = 0;
    // A computer player that went out has its hand hidden with the round
    // (a hand drawn again with cards shows again).
    virtual void HandVisible(int player, bool visible) = 0;
    // The seat arrow points at `seat` alone (none for the person, seat 1):
    // the computer whose move is shown, or the seat its card passes cards to
    // or makes take them.
    virtual void ArrowAt(int seat) = 0;
    // A player could neither play nor draw, and passed.
    virtual void PlayerPassed(int player) = 0;
    virtual void PlayerSpeaks(const std::filesystem::path& clip) = 0;
    // The game-over window over the score sheet: each player 1..4 with its
    // picture and clip, then the sheet waits until the window is closed.
    virtual void GameOver(int winner, const std::array<GameOverFiles, 5>& files) = 0;
};

// Tells `shows` what `event` shows on `game`'s table. A voice is heard only
// with Player Sounds on and a clip to play.
void ShowEventOn(const Game& game, const Event& event, EventShows& shows);

}  // namespace kvt
