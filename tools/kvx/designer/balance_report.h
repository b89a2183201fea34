#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "tools/kvx/designer/balance_figures.h"

class QChartView;
class QLabel;
class QLineEdit;
class QProcess;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace kvt::kvx {

// Plays computer-only games of a card set with kvt-sim in the background and
// shows its figures as a table and as charts; the window stays responsive
// and the run can be cancelled.
class BalanceReport : public QDialog {
    Q_OBJECT

public:
    // `card_set` is the encoded set as it stands in the designer; `simulator`
    // the kvt-sim program; `opponents` the player files of seats 2 to 4.
    BalanceReport(std::string card_set, QString simulator, QStringList opponents, QWidget* parent = nullptr);
    ~BalanceReport() override;

    void SetGames(int games);
    void SetSeed(int seed);
    void SetOpponent(int seat, const QString& path);  // seat 2..4
    void Start();
    void Cancel();
    bool IsRunning() const;
    const std::vector<BalanceFigure>& Figures() const { return figures_; }
    QProgressBar* ProgressBar() const { return progress_; }
    // Writes the figures as CSV; false (with a message shown) when it cannot.
    bool ExportCsv(const QString& path);

    std::function<void(const QString& text)> message_sink;

signals:
    void Finished();

private:
    QWidget* BuildChoices();
    void ProcessEnded();
    void ShowFigures(const QByteArray& json);
    void Report(const QString& text);
    // The names at the table of seats 1..4 for this run.
    QStringList SeatNames() const;

    std::string card_set_;
    QString simulator_;
    QTemporaryDir scratch_;
    QProcess* process_ = nullptr;
    QByteArray simulator_errors_;  // what the simulator said besides its progress
    QSpinBox* games_ = nullptr;
    QSpinBox* seed_ = nullptr;
    std::array<QLineEdit*, 3> opponents_{};
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* export_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QTableWidget* table_ = nullptr;
    QChartView* wins_chart_ = nullptr;
    QChartView* played_chart_ = nullptr;
    QTimer* clock_ = nullptr;
    QElapsedTimer elapsed_;
    std::vector<BalanceFigure> figures_;
};

}  // namespace kvt::kvx
