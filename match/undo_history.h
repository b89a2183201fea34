#pragma once

#include <cstddef>
#include <vector>

#include "core/table_state.h"

namespace kvt {

// The tables of one round at each point where the human was to move, for
// Undo and Redo. Undo goes back to the table before the human's last move
// (with everything the computers did after it); Redo forward again. Since
// the state carries the generator, a move played again after an undo draws
// the same cards; a different move starts a new line and forgets the old
// one's later tables.
class UndoHistory {
public:
    // The table waits for the human: remembered, unless it is the table
    // remembered last (nothing was moved since, or the table is one Undo or
    // Redo brought back).
    // `tag` goes with the table (the match keeps the length of its record there).
    void Note(const TableState& state, std::size_t tag = 0);
    // Forgets every table: a round ended, or a new one was dealt.
    void Clear();

    bool CanUndo() const { return now_ > 0; }
    bool CanRedo() const { return now_ + 1 < tables_.size(); }
    // The table to bring back; nothing when there is none.
    const TableState* Undo();
    const TableState* Redo();
    // The tag of the table shown (0 while none is remembered).
    std::size_t Tag() const { return tags_.empty() ? 0 : tags_[now_]; }

private:
    std::vector<TableState> tables_;
    std::vector<std::size_t> tags_;  // one per table
    std::size_t now_ = 0;  // the table shown, while tables_ holds any
};

}  // namespace kvt
