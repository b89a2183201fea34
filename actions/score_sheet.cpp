#include "actions/score_sheet.h"

#include <limits>

#include "actions/rules_support.h"

namespace kvt {

namespace {

constexpr int kGameEndsAbove = 500;

}  // namespace

void ScoreSheet::Clear() {
    for (auto& row : text_) row.fill(" ");
    for (auto& row : struck_) row.fill(false);
}

void ScoreSheet::Scroll() {
    for (int r = 0; r + 1 < kRows; ++r) text_[r] = text_[r + 1];
}

bool ScoreSheet::Blank() const {
    for (const auto& row : text_)
        for (const std::string& cell : row)
            if (cell != " ") return false;
    return true;
}

void Game::ClearScoreSheet() {
    Sheet.Clear();
    RoundNum = 0;
    view_.ClearScoreSheet();
}

bool Game::CountRound() {
    for (int p = 1; p <= 4; ++p) Sheet.Headings[p] = PlayerInfo[p].Name;
    if (ScoreViewOnly || Winner > 0) return false;
    // A new game clears the sheet along with RoundNum; a sheet still holding
    // rows when the count starts again from 0 belongs to the last game.
    if (RoundNum == 0) Sheet.Clear();

    if (RoundNum >= ScoreSheet::kRows - 1) {
        Sheet.Scroll();
        RoundNum = ScoreSheet::kRows - 1;
    } else {
        ++RoundNum;
    }
    const int row = RoundNum - 1;
    for (int p = 1; p <= 4; ++p) {
        Sheet.Headings[p] = PlayerInfo[p].Name;
        long long total = Scores[p];
        for (const Card& c : Players[p]) total += c.Value;
        Scores[p] = Sat16(total);
        if (RoundNum > 1) Sheet.Strike(row - 1, p);
        Sheet.SetCell(row, p, std::to_string(Scores[p]));
    }

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

void Game::ViewScore() {
    ScoreViewOnly = true;
    if (RoundNum == 0 && Winner == 0) Sheet.Clear();
    CountRound();
    view_.OpenScoreSheet(Sheet, Winner);
    view_.ShowScoreSheet(Sheet, Winner);
    ScoreSheetOk();
    ScoreViewOnly = false;
}

}  // namespace kvt
