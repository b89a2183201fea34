#include "engine/score_sheet.h"

#include <algorithm>

#include "engine/rules_support.h"

namespace kvt {

namespace {

constexpr int kGameEndsAbove = 500;

}  // namespace

void ScoreSheet::Clear() {
    for (auto& row : text_) row.fill(" ");
    for (auto& row : struck_) row.fill(false);
}

ScoreSheet::ScoreSheet(const ScoreRows& rows_of_totals) {
    Clear();
    const int rows = rows_of_totals.count;
    for (int row = 0; row < rows; ++row)
        for (int p = 1; p <= kPlayers; ++p) {
            SetCell(row, p, std::to_string(rows_of_totals.totals[static_cast<std::size_t>(row)][static_cast<std::size_t>(p - 1)]));
            if (row + 1 < rows) Strike(row, p);
        }
}

ScoreSheet Game::SheetOf(const ScoreRows& rows) const {
    ScoreSheet sheet(rows);
    for (int p = 1; p <= 4; ++p) sheet.Headings[static_cast<std::size_t>(p)] = PlayerInfo[static_cast<std::size_t>(p)].Name;
    return sheet;
}

void Game::ClearScoreSheet() {
    SheetRows = {};
    RoundNum = 0;
}

bool Game::CountRound() {
    if (ScoreViewOnly || Winner > 0) return false;
    // A sheet still holding rows when the count starts again from 0 belongs
    // to the last game.
    if (RoundNum == 0) SheetRows = {};

    if (RoundNum >= ScoreRows::kMax) {
        // The oldest row scrolls off the top.
        std::move(SheetRows.totals.begin() + 1, SheetRows.totals.end(), SheetRows.totals.begin());
        RoundNum = ScoreRows::kMax;
    } else {
        ++RoundNum;
    }
    auto& row = SheetRows.totals[static_cast<std::size_t>(RoundNum - 1)];
    for (int p = 1; p <= 4; ++p) {
        long long total = Scores[p];
        for (const Card& c : Players[p]) total += c.Value;
        Scores[p] = Sat16(total);
        row[static_cast<std::size_t>(p - 1)] = Scores[p];
    }
    SheetRows.count = RoundNum;

    bool over = false;
    for (int p = 1; p <= 4; ++p) over = over || Scores[p] > kGameEndsAbove;
    if (!over) return false;
    // The lowest total wins; a tie goes to the lower seat.
    int winner = 1;
    for (int p = 2; p <= 4; ++p)
        if (Scores[p] < Scores[winner]) winner = p;
    Winner = static_cast<std::int16_t>(winner);
    return true;
}

void Game::ScoreSheetOk() {
    int start = StartPlayer == 0 ? 1 : StartPlayer;
    ++start;
    if (start > 4) start = 1;
    StartPlayer = static_cast<std::int16_t>(start);
    for (int p = 1; p <= 4; ++p) {
        if (Scores[p] > kGameEndsAbove) {
            for (int q = 1; q <= 4; ++q) Scores[q] = 0;
            ClearScoreSheet();
            Winner = 0;
        }
    }
}

Game::SheetRead Game::ViewScore() {
    ScoreViewOnly = true;
    if (RoundNum == 0 && Winner == 0) SheetRows = {};
    CountRound();
    const SheetRead read{SheetRows, Winner};
    ScoreSheetOk();
    ScoreViewOnly = false;
    return read;
}

}  // namespace kvt
