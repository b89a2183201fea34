#pragma once

#include <QColor>
#include <QDialog>
#include <array>

#include "engine/score_sheet.h"

class QLabel;
class QPushButton;
class QTimer;

namespace kvt {

// "Score": the sheet of running totals, one column per player. The counting
// is the game's; this window shows the sheet it is given and blinks the
// winner's column once a game is over.
class ScoreFrm : public QDialog {
    Q_OBJECT

public:
    static inline const QColor kBlinkColour{192, 0, 0};

    explicit ScoreFrm(QWidget* parent = nullptr);

    // Fills the sheet; with a winner the blinking starts (and then keeps going).
    void ShowSheet(const ScoreSheet& sheet, int winner);
    // Shows the sheet over the application and returns at once; OK ends it
    // (finished).
    void AwaitOk(const ScoreSheet& sheet, int winner);

    QLabel* PlayerLabel(int player) const { return headings_.at(static_cast<std::size_t>(player)); }
    QLabel* ScoreCell(int row, int player) const {
        return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(player));
    }
    QColor CellColour(int row, int player) const;
    QTimer* Timer1() const { return timer_; }
    QPushButton* OkBut() const { return ok_; }

    // One tick of the blink timer.
    void Blink();

    // However the sheet is closed (OK, Escape, close box), it ends as OK.
    void done(int result) override;

private:
    void FillHiddenAndCentred(const ScoreSheet& sheet, int winner);
    void SetColumnColour(int player, const QColor& colour);

    std::array<QLabel*, ScoreSheet::kPlayers + 1> headings_{};
    std::array<std::array<QLabel*, ScoreSheet::kPlayers + 1>, ScoreSheet::kRows> cells_{};
    QTimer* timer_ = nullptr;
    QPushButton* ok_ = nullptr;
    int winner_ = 0;
    bool blink_on_ = false;
};

}  // namespace kvt
