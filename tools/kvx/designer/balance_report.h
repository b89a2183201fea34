#pragma once

#include <QDialog>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QProcess;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace kvt::kvx {

// One figure of a balance report, as the simulator printed it.
struct BalanceFigure {
    QString name;
    QString value;
};

// The figures of kvt-sim's JSON report, named for people; machine figures
// (timings, memory) are left out. Empty when the text is no such report.
std::vector<BalanceFigure> BalanceFigures(const QByteArray& json);
// The figures as CSV: a header line, then one "name,value" line each.
QString BalanceCsv(const std::vector<BalanceFigure>& figures);

// Plays computer-only games of a card set with kvt-sim in the background and
// shows its figures; the window stays responsive and the run can be cancelled.
class BalanceReport : public QDialog {
    Q_OBJECT

public:
    // `card_set` is the encoded set as it stands in the designer; `simulator`
    // the kvt-sim program.
    BalanceReport(std::string card_set, QString simulator, QWidget* parent = nullptr);
    ~BalanceReport() override;

    void SetGames(int games);
    void SetSeed(int seed);
    void Start();
    void Cancel();
    bool IsRunning() const;
    const std::vector<BalanceFigure>& Figures() const { return figures_; }
    // Writes the figures as CSV; false (with a message shown) when it cannot.
    bool ExportCsv(const QString& path);

    std::function<void(const QString& text)> message_sink;

signals:
    void Finished();

private:
    void ProcessEnded();
    void ShowFigures();
    void Report(const QString& text);

    std::string card_set_;
    QString simulator_;
    QTemporaryDir scratch_;
    QProcess* process_ = nullptr;
    QSpinBox* games_ = nullptr;
    QSpinBox* seed_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* export_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::vector<BalanceFigure> figures_;
};

}  // namespace kvt::kvx
