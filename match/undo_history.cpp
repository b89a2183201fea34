#include "match/undo_history.h"

namespace kvt {

void UndoHistory::Note(const TableState& state, std::size_t tag) {
    if (!tables_.empty() && tables_[now_] == state) return;
    // The move played again as before: the later tables stay for Redo.
    if (CanRedo() && tables_[now_ + 1] == state) {
        ++now_;
        return;
    }
    if (!tables_.empty()) {
        tables_.resize(now_ + 1);
        tags_.resize(now_ + 1);
    }
    tables_.push_back(state);
    tags_.push_back(tag);
    now_ = tables_.size() - 1;
}

void UndoHistory::Clear() {
    tables_.clear();
    tags_.clear();
    now_ = 0;
}

const TableState* UndoHistory::Undo() {
    if (!CanUndo()) return nullptr;
    return &tables_[--now_];
}

const TableState* UndoHistory::Redo() {
    if (!CanRedo()) return nullptr;
    return &tables_[++now_];
}

}  // namespace kvt
