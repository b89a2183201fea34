#pragma once

#include <QObject>
#include <QTimer>
#include <optional>

#include "engine/computer_seat.h"
#include "core/table_state.h"
#include "formats/game_record.h"
#include "hand/move_being_built.h"
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
    TableMatch(PlayWin& window, Game& game, MoveShows& shows);

    // Arranges what the table asks next: a computer's move on the next turn
    // of the event loop, the group choice or the score sheet's OK. Nothing
    // while the human plays or a move runs (the move calls this when it ends).
    void Continue();
    // True while a computer is on turn: the human's clicks wait.
    bool ComputerOnTurn() const;
    // True while the table goes on without the human's play: a computer is
    // on turn, or the group choice or the score sheet's OK is still to come.
    bool GoesOn() const;
    // The human's move as the window's clicks and keys build it; the driver
    // applies it when it is complete.
    MoveBeingBuilt& Building() { return building_; }
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
    // The record kept of the game taken up at start goes on from where it stood.
    void TakeUpRecord(GameRecord record) {
        record.end_table.clear();
        record_ = std::move(record);
        recorded_ = record_.moves.size();
        record_started_ = true;
    }
    // A move the window made without the driver, for the record.
    void Noted(const Move& move) { Record(move, std::nullopt); }
    // A new game was dealt (or a deal opened): its record starts afresh.
    void NewGameDealt() {
        ForgetMoves();
        record_started_ = false;
    }
    // The record of the game in progress, from its first deal (or the table
    // taken up at start) to the table now, without the moves an undo took
    // back; nothing before the first look at a deal. Seat 1 is the person's;
    // the identity of the card set and players is the caller's to fill in.
    std::optional<GameRecord> RecordSoFar() const;

private:
    void StepComputer();
    void Answer(const Move& move);
    bool HumanToPlay() const;
    void ShowWhoActs(Decision asked);
    bool Stalled() const;
    bool BringBack(const TableState* table);
    void Record(const Move& move, const std::optional<std::array<std::int16_t, 4>>& scores);

    PlayWin& window_;
    Game& game_;
    MatchDriver driver_;
    ComputerSeat computers_;
    MoveBeingBuilt building_;
    QTimer step_;
    UndoHistory history_;
    bool sheet_awaits_ok_ = false;
    bool asking_ = false;
    // A computer's move the rules refused leaves the table here; the match
    // does not ask again until something else has changed it.
    std::optional<TableState> stalled_at_;
    std::optional<TableState> dealt_;
    bool fresh_deal_ = true;
    bool computer_moved_ = false;  // since the table last asked what comes next
    bool undo_used_ = false;
    GameRecord record_;
    std::size_t recorded_ = 0;  // the moves of record_ in force; those after it were undone
    bool record_started_ = false;
    bool new_game_next_ = false;  // the game is won: the next deal starts another
};

}  // namespace kvt
