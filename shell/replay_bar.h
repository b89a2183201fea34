#pragma once

#include <QToolBar>
#include <cstddef>
#include <functional>

class QAction;
class QLabel;

namespace kvt {

// The controls of a game record shown on the table: First, Back, Forward
// and Last (Home, Left, Right, End), where the record stands, and Close Replay.
class ReplayBar : public QToolBar {
    Q_OBJECT

public:
    explicit ReplayBar(QWidget* parent);

    // Asked for the step to show (0: as dealt, up to the number of moves),
    // and to close the replay.
    void SetHandlers(std::function<void(std::size_t step)> step, std::function<void()> close);
    // The step shown, of `moves`, with what it says about it (plain text).
    void ShowStep(std::size_t step, std::size_t moves, const QString& text);
    // Hidden, its keys go back to the table.
    void Stop();

    QAction* First() const { return first_; }
    QAction* Back() const { return back_; }
    QAction* Forward() const { return forward_; }
    QAction* Last() const { return last_; }
    QAction* Close() const { return close_; }
    QLabel* StepLabel() const { return label_; }

private:
    QAction* first_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* last_ = nullptr;
    QAction* close_ = nullptr;
    QLabel* label_ = nullptr;
    std::size_t step_ = 0;
    std::size_t moves_ = 0;
    std::function<void(std::size_t)> step_handler_;
};

}  // namespace kvt
