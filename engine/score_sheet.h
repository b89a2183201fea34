#pragma once

#include <array>
#include <string>
#include <utility>

#include "core/table_state.h"

namespace kvt {

// The score sheet as the window shows it: ten rows of running totals, one
// column per player, with the rows a later round has overtaken struck
// through. It is drawn from the table's numbers (ScoreRows); the counting
// itself is done by Game (CountRound, ScoreSheetOk).
struct ScoreSheet {
    static constexpr int kRows = 10;
    static constexpr int kPlayers = 4;

    ScoreSheet() { Clear(); }
    // The sheet of a table's rows, without headings.
    explicit ScoreSheet(const ScoreRows& rows);

    // Column headings, players 1..4 (index 0 unused).
    std::array<std::string, kPlayers + 1> Headings;

    const std::string& Cell(int row, int player) const { return text_[row][player - 1]; }
    bool Struck(int row, int player) const { return struck_[row][player - 1]; }

    void SetCell(int row, int player, std::string text) { text_[row][player - 1] = std::move(text); }
    void Strike(int row, int player) { struck_[row][player - 1] = true; }

    // Every cell blank (" ") and unstruck.
    void Clear();

private:
    std::array<std::array<std::string, kPlayers>, kRows> text_;
    std::array<std::array<bool, kPlayers>, kRows> struck_{};
};

}  // namespace kvt
