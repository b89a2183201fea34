#include "tools/kvx/designer/balance_report.h"

#include <QChartView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/card_text.h"
#include "platform/files.h"
#include "platform/plain_text.h"
#include "platform/qt_text.h"
#include "tools/kvx/designer/balance_charts.h"
#include "tools/kvx/player_manifest.h"

namespace kvt::kvx {
namespace {

// kvt-sim's own player at seat 1 when it is given three opponents.
constexpr const char* kSeatOneName = "Computer";

QString PlayerName(const QString& path) {
    PlayerFileContents file;
    if (path.isEmpty() || !ReadPlayerFile(QFile::encodeName(path).toStdString(), file) || file.Header.Name.empty())
        return QFileInfo(path).completeBaseName();
    return ToQString(file.Header.Name);
}

}  // namespace

BalanceReport::BalanceReport(std::string card_set, QString simulator, QStringList opponents, QWidget* parent)
    : QDialog(parent), card_set_(std::move(card_set)), simulator_(std::move(simulator)) {
    setWindowTitle(tr("Balance Report"));
    progress_ = new QProgressBar;
    progress_->setRange(0, 1);
    progress_->setValue(0);
    status_ = NewLabel(nullptr, tr("Seat 1 is the simulator's own player; the opponents play seats 2 to 4."));
    status_->setWordWrap(true);
    table_ = new QTableWidget(0, 2);
    table_->setHorizontalHeaderLabels({tr("Figure"), tr("Value")});
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    wins_chart_ = new QChartView;
    played_chart_ = new QChartView;
    wins_chart_->setObjectName(QStringLiteral("winsChart"));
    played_chart_->setObjectName(QStringLiteral("playedChart"));
    for (QChartView* view : {wins_chart_, played_chart_}) view->setRenderHint(QPainter::Antialiasing);
    auto* tabs = new QTabWidget;
    tabs->addTab(table_, tr("&Figures"));
    tabs->addTab(wins_chart_, tr("&Wins"));
    tabs->addTab(played_chart_, tr("Cards &Played"));

    auto* buttons = new QDialogButtonBox;
    run_ = buttons->addButton(tr("&Run"), QDialogButtonBox::ActionRole);
    cancel_ = buttons->addButton(tr("&Cancel Run"), QDialogButtonBox::ActionRole);
    export_ = buttons->addButton(tr("&Export CSV..."), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    cancel_->setEnabled(false);
    export_->setEnabled(false);
    connect(run_, &QPushButton::clicked, this, &BalanceReport::Start);
    connect(cancel_, &QPushButton::clicked, this, &BalanceReport::Cancel);
    connect(export_, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, tr("Export CSV"), QString(), tr("CSV Files (*.csv)"));
        if (!path.isEmpty()) ExportCsv(path);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    clock_ = new QTimer(this);
    clock_->setInterval(500);
    connect(clock_, &QTimer::timeout, this, [this] {
        status_->setText(tr("Playing %n game(s)... %1 s", nullptr, games_->value()).arg(elapsed_.elapsed() / 1000));
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildChoices());
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(tabs, 1);
    layout->addWidget(buttons);
    for (int i = 0; i < 3; ++i) opponents_[i]->setText(opponents.value(i));
    ShowFigures({});
    resize(620, 680);
}

BalanceReport::~BalanceReport() { Cancel(); }

QWidget* BalanceReport::BuildChoices() {
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    games_ = new QSpinBox;
    games_->setRange(1, 10000000);
    games_->setValue(1000);
    seed_ = new QSpinBox;
    seed_->setRange(0, 2147483647);
    seed_->setValue(1);
    const auto row_label = [](const QString& text, QWidget* buddy) {
        QLabel* label = NewLabel(nullptr, text);
        label->setBuddy(buddy);
        return label;
    };
    form->addRow(row_label(tr("&Games:"), games_), games_);
    form->addRow(row_label(tr("&Seed:"), seed_), seed_);
    for (int i = 0; i < 3; ++i) {
        opponents_[i] = new QLineEdit;
        opponents_[i]->setAccessibleName(tr("Player file of seat %1").arg(i + 2));
        auto* choose = new QPushButton(tr("Choose..."));
        connect(choose, &QPushButton::clicked, this, [this, i] {
            const QString path = QFileDialog::getOpenFileName(this, tr("Opponent of Seat %1").arg(i + 2),
                                                              QFileInfo(opponents_[i]->text()).path(),
                                                              tr("Player Files (*.dpf);;All Files (*)"));
            if (!path.isEmpty()) opponents_[i]->setText(path);
        });
        auto* row = new QHBoxLayout;
        row->addWidget(opponents_[i], 1);
        row->addWidget(choose);
        form->addRow(row_label(tr("Seat &%1:").arg(i + 2), opponents_[i]), row);
    }
    return box;
}

void BalanceReport::SetGames(int games) { games_->setValue(games); }
void BalanceReport::SetSeed(int seed) { seed_->setValue(seed); }
void BalanceReport::SetOpponent(int seat, const QString& path) {
    if (seat >= 2 && seat <= 4) opponents_[seat - 2]->setText(path);
}
bool BalanceReport::IsRunning() const { return process_ != nullptr; }

QStringList BalanceReport::SeatNames() const {
    QStringList names{QString::fromLatin1(kSeatOneName)};
    for (const QLineEdit* opponent : opponents_) names << PlayerName(opponent->text());
    return names;
}

void BalanceReport::Start() {
    if (IsRunning()) return;
    const QString set = scratch_.filePath(QStringLiteral("designer.cds"));
    if (Status s = WriteFileAtomically(QFile::encodeName(set).toStdString(), card_set_); !s) {
        Report(tr("The card set cannot be handed to the simulator.\n%1").arg(QString::fromStdString(s.message())));
        return;
    }
    QStringList arguments{QStringLiteral("--cards"), set, QStringLiteral("--games"), QString::number(games_->value()),
                          QStringLiteral("--seed"), QString::number(seed_->value()), QStringLiteral("--json"),
                          QStringLiteral("--progress")};
    // Without chosen opponents the simulator takes the shipped ones.
    QStringList players;
    for (const QLineEdit* opponent : opponents_)
        if (!opponent->text().isEmpty()) players << opponent->text();
    if (players.size() == 3) arguments << QStringLiteral("--players") << players;
    process_ = new QProcess(this);
    connect(process_, &QProcess::finished, this, &BalanceReport::ProcessEnded);
    simulator_errors_.clear();
    // "progress DONE TOTAL" lines move the bar; anything else is kept for the message.
    connect(process_, &QProcess::readyReadStandardError, this, [this] {
        if (!process_) return;
        process_->setReadChannel(QProcess::StandardError);
        while (process_->canReadLine()) {
            const QByteArray line = process_->readLine();
            const QList<QByteArray> parts = line.trimmed().split(' ');
            if (parts.size() == 3 && parts[0] == "progress") {
                progress_->setRange(0, parts[2].toInt());
                progress_->setValue(parts[1].toInt());
            } else {
                simulator_errors_ += line;
            }
        }
        process_->setReadChannel(QProcess::StandardOutput);
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) ProcessEnded();
    });
    figures_.clear();
    ShowFigures({});
    progress_->setRange(0, 0);  // busy until the first games end
    elapsed_.start();
    clock_->start();
    status_->setText(tr("Playing %n game(s)...", nullptr, games_->value()));
    run_->setEnabled(false);
    cancel_->setEnabled(true);
    process_->start(simulator_, arguments);
}

void BalanceReport::Cancel() {
    if (!process_) return;
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    process->kill();
    process->waitForFinished(-1);
    process->deleteLater();
    clock_->stop();
    progress_->setRange(0, 1);
    status_->setText(tr("Cancelled."));
    run_->setEnabled(true);
    cancel_->setEnabled(false);
}

void BalanceReport::ProcessEnded() {
    if (!process_) return;
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    clock_->stop();
    const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    const QByteArray json = ok ? process->readAllStandardOutput() : QByteArray();
    const QString error = ok ? QString() : process->error() == QProcess::FailedToStart
                                               ? tr("The simulator \"%1\" cannot be started.").arg(simulator_)
                                               : QString::fromLocal8Bit(simulator_errors_ + process->readAllStandardError()).trimmed();
    process->deleteLater();
    progress_->setRange(0, 1);
    progress_->setValue(ok ? 1 : 0);
    run_->setEnabled(true);
    cancel_->setEnabled(false);
    ShowFigures(json);
    status_->setText(figures_.empty() ? tr("No figures: %1").arg(error.isEmpty() ? tr("unexpected output") : error)
                                      : tr("Done in %1 s.").arg(elapsed_.elapsed() / 1000.0, 0, 'f', 1));
    emit Finished();
}

void BalanceReport::ShowFigures(const QByteArray& json) {
    const QStringList seats = SeatNames();
    figures_ = BalanceFigures(json, seats);
    table_->setRowCount(static_cast<int>(figures_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        table_->setItem(row, 0, new QTableWidgetItem(figures_[row].name));
        auto* value = new QTableWidgetItem(figures_[row].value);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, 1, value);
    }
    export_->setEnabled(!figures_.empty());

    const BalanceCounts counts = BalanceCountsOf(json);
    QStringList seat_labels;
    QList<qreal> wins;
    QStringList actions;
    QList<qreal> played;
    if (!figures_.empty()) {
        for (int seat = 1; seat <= 4; ++seat) {
            seat_labels << tr("Seat %1: %2").arg(seat).arg(seats.value(seat - 1));
            wins << counts.wins[seat];
        }
        for (const auto& [action, n] : counts.played_by_action) {
            actions << QString::fromStdString(ActionName(action));
            played << n;
        }
    }
    ShowBarChart(*wins_chart_, tr("Games won by seat and opponent"), seat_labels, wins);
    ShowBarChart(*played_chart_, tr("Cards played by action"), actions, played);
}

bool BalanceReport::ExportCsv(const QString& path) {
    if (Status s = WriteFileAtomically(QFile::encodeName(path).toStdString(), BalanceCsv(figures_).toStdString()); !s) {
        Report(QString::fromStdString(s.message()));
        return false;
    }
    return true;
}

void BalanceReport::Report(const QString& text) {
    if (message_sink) {
        message_sink(text);
        return;
    }
    PlainMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.exec();
}

}  // namespace kvt::kvx
