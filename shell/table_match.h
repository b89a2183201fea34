#pragma once

#include <QObject>
#include <QTimer>
#include <optional>

#include "actions/computer_seat.h"
#include "core/table_state.h"
#include "match/match_driver.h"
#include "match/undo_history.h"

namespace kvt {

class Game;
class PlayWin;

// The table played as a match. The window is the human's seat: its clicks
// build the human's moves, and each move stops after itself. The computers
// are asked by the match driver one move per turn of the event loop, so no
// click runs the others' replies and the window stays responsive between
// moves; the group choice and the score sheet open without waiting and
// answer with a move of their own.
class TableMatch : public QObject {
public:
    TableMatch(PlayWin& window, Game& game);

    // Arranges what the table asks next: a computer's move on the next turn
    // of the event loop, the group choice or the score sheet's OK. Nothing
    // while the human plays or a move runs (the move calls this when it ends).
    void Continue();
    // True while a computer is on turn: the human's clicks wait.
    bool ComputerOnTurn() const;
    // True while the table goes on without the human's play: a computer is
    // on turn, or the group choice or the score sheet's OK is still to come.
    bool GoesOn() const;
    // The score sheet opened for a round that was just scored.
    void RoundScored() { sheet_awaits_ok_ = true; }

    // Undo and Redo of the human's moves within the round, while the table
    // waits for the human's play. False when there was nothing to take
    // back or bring again.
    bool CanUndo() const;
    bool CanRedo() const;
    bool Undo();
    bool Redo();
    // Undo was used in this game (cleared when a new game is dealt).
    bool UndoUsed() const { return undo_used_; }
    // A new deal: the moves of the last one cannot be taken back.
    void ForgetMoves() {
        history_.Clear();
        fresh_deal_ = true;
    }
    // The table as this round was dealt (or taken up at start), to share.
    const TableState* Dealt() const { return dealt_ ? &*dealt_ : nullptr; }

private:
    void StepComputer();
    void Answer(const Move& move);
    bool HumanToPlay() const;
    bool Stalled() const;
    bool BringBack(const TableState* table);

    PlayWin& window_;
    Game& game_;
    MatchDriver driver_;
    ComputerSeat computers_;
    QTimer step_;
    UndoHistory history_;
    bool sheet_awaits_ok_ = false;
    bool asking_ = false;
    // A computer's move the rules refused leaves the table here; the match
    // does not ask again until something else has changed it.
    std::optional<TableState> stalled_at_;
    std::optional<TableState> dealt_;
    bool fresh_deal_ = true;
    bool undo_used_ = false;
};

}  // namespace kvt
