#pragma once

#include <cstdint>
#include <vector>

#include "core/card_stack.h"
#include "core/move.h"
#include "hand/human_moves.h"
#include "hand/move_shows.h"
#include "match/match_driver.h"

namespace kvt {

class Game;

// The human's move while the clicks build it: the picked card and the cards
// chosen for it, kept as slots of the hand. The table does not change until
// the move is complete and applied; meanwhile the window shows the hand
// without the cards that are out, the picked card in its box and the chosen
// ones in the hold grid. So the table is always one between moves, to save,
// undo or compare, and every click that completes a move hands the match
// driver a Move (whose listener hears it as it hears every seat's).
class MoveBeingBuilt {
public:
    MoveBeingBuilt(Game& game, MatchDriver& driver, MoveShows& shows = MoveShows::Unseen())
        : game_(game), driver_(driver), shows_(shows) {}

    // The human's clicks, as the window's handlers pass them on. A hand
    // column counts in the hand as shown (ShownHand); every click that does
    // not fit the table is Ignored.
    HumanMove ClickHandCard(int column);
    HumanMove ClickPickedCard();
    HumanMove ClickHoldCard(int column);
    HumanMove ClickDiscardButton();
    HumanMove ClickDrawDeck();
    HumanMove ClickOpponentCard(int player, int column);

    // What the window shows of it. A move built on a table that has changed
    // since (a new deal, an undo, a game opened) is gone.
    bool Picking() const;
    const Card& PickedCard() const;  // while Picking
    CardStack ShownHand() const;     // the hand without the cards that are out
    CardStack Held() const;          // the cards chosen, in the order chosen
    bool HoldGridOpen() const { return Picking() && grid_open_; }
    bool DiscardShown() const { return Picking() && discard_shown_; }
    int HoldNeeded() const { return Picking() ? needed_ : 0; }

    // Everything goes back to the hand and the boxes close, as a click on
    // the picked card does; nothing on the table moves.
    void PutBack();

private:
    bool Locked();
    // The slot of the whole hand that a column of the hand as shown stands for.
    int WholeHandSlot(int column) const;
    void Pick(int slot, bool drawn);
    void Reset();
    void CloseBoxes();
    void ShowAll();
    void SetHoldGrid(bool open);
    void SetDiscardButton(bool shown);
    // Applies a move the clicks completed; false (the table as it was) when
    // the rules refuse it.
    bool Submit(const Move& move);

    Game& game_;
    MatchDriver& driver_;
    MoveShows& shows_;
    std::int16_t pick_ = -1;
    bool drawn_ = false;
    std::vector<std::int16_t> held_;
    int needed_ = 0;
    bool grid_open_ = false;
    bool discard_shown_ = false;
    // The table the move was built on: the hand its slots count in, and the pile.
    CardStack built_on_;
    int pile_count_ = 0;
    Card pile_top_;
};

}  // namespace kvt
