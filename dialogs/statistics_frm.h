#pragma once

#include <QDialog>
#include <functional>

class QTabWidget;
class QTableWidget;

namespace kvt {

class StatisticsStore;
class TotalsChart;

// "Statistics": the figures per opponent, card set and seat, the human
// against each opponent, and the totals of the last games. Not modal: the
// table goes on beneath it, and Refresh() brings it up to date.
class StatisticsFrm : public QDialog {
    Q_OBJECT

public:
    // `store` outlives the window; `confirm` asks before the statistics are emptied.
    StatisticsFrm(StatisticsStore& store, std::function<bool()> confirm, QWidget* parent = nullptr);

    void Refresh();

    QTableWidget* Table(int tab) const;
    TotalsChart* Chart() const { return chart_; }

private:
    void ResetClicked();

    StatisticsStore& store_;
    std::function<bool()> confirm_;
    QTabWidget* tabs_ = nullptr;
    TotalsChart* chart_ = nullptr;
};

}  // namespace kvt
