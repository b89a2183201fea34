#pragma once

#include <QDialog>
#include <cstdint>

class QPushButton;
class QScrollBar;

namespace kvt {

class Game;

// "Play Speed": the pause of one card flight, from Slow (left) to Fast (right).
class PlaySpdFrm : public QDialog {
    Q_OBJECT

public:
    // Milliseconds at the two ends of the bar; the left end is the slowest.
    static constexpr int kSlowest = 2000;
    static constexpr int kFastest = 20;
    static constexpr int kUnset = 1000;

    explicit PlaySpdFrm(Game& game, QWidget* parent = nullptr);

    // A game speed as the bar can take it.
    static int Clamped(std::int32_t speed);

    QScrollBar* HScroll1() const { return bar_; }
    QPushButton* OkBut() const { return ok_; }

private:
    void Ok();

    Game& game_;
    QScrollBar* bar_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace kvt
