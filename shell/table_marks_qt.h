#pragma once

#include <QPainter>
#include <QWidget>

namespace kvt {

// The arrow beside a computer player's hand that points at the player on
// turn (or the target of an action).
class SeatArrow : public QWidget {
    Q_OBJECT

public:
    enum class Points { kLeft, kUp, kRight };
    static constexpr int kSize = 30;

    SeatArrow(Points points, QWidget* parent = nullptr);
    Points Direction() const { return points_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void Draw(QPainter& painter);

private:
    Points points_;
};

// The direction of play: a circular arrow, clockwise round the table in the
// normal direction (bottom, left, top, right), the other way when reversed.
class DirectionPicture : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSize = 46;

    DirectionPicture(bool reversed, QWidget* parent = nullptr);
    bool Reversed() const { return reversed_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void Draw(QPainter& painter);

private:
    bool reversed_;
};

// The light round the human's hand while it is the human's turn. It lies
// under the hand and reaches Margin() pixels beyond it on every side.
class TurnGlow : public QWidget {
    Q_OBJECT

public:
    // The margin at the table's design size.
    static constexpr int kMargin = 9;

    explicit TurnGlow(QWidget* parent = nullptr);
    void SetMargin(int margin);
    int Margin() const { return margin_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void Draw(QPainter& painter);

private:
    int margin_ = kMargin;
};

}  // namespace kvt
