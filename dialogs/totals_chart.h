#pragma once

#include <QWidget>
#include <vector>

#include "platform/statistics_store.h"

namespace kvt {

// The human's totals of the last games as a line of points, oldest on the
// left; a game with undo is drawn hollow. Drawn by hand: a chart library
// would cost the table's start-up more than this whole window.
class TotalsChart : public QWidget {
    Q_OBJECT

public:
    explicit TotalsChart(QWidget* parent = nullptr);
    void SetTotals(std::vector<GameTotal> totals);
    const std::vector<GameTotal>& Totals() const { return totals_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<GameTotal> totals_;
};

}  // namespace kvt
