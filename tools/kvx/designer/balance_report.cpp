#include "tools/kvx/designer/balance_report.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/card_text.h"
#include "platform/files.h"

namespace kvt::kvx {
namespace {

// kvt-sim's figures in the order shown, with their names for people.
struct FigureName {
    const char* key;
    const char* name;
};
constexpr FigureName kFigureNames[] = {
    {"games", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Games")},
    {"rounds", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Rounds")},
    {"turns", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Turns")},
    {"meanRoundsPerGame", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Mean rounds per game")},
    {"meanTurnsPerRound", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Mean turns per round")},
    {"cardsDrawn", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Cards drawn")},
    {"deckRebuilds", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Deck rebuilds")},
    {"groupCardsAdded", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Group choices by wild cards")},
    {"passesNothingToDraw", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Passes with nothing to draw")},
    {"stuckRounds", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Rounds ended stuck")},
    {"longestTurnsWithoutProgress", QT_TRANSLATE_NOOP("kvt::kvx::BalanceReport", "Longest run of turns without progress")},
};

QString Number(const QJsonValue& value) {
    const double d = value.toDouble();
    return d == static_cast<double>(static_cast<long long>(d)) ? QString::number(static_cast<long long>(d))
                                                               : QString::number(d, 'f', 3);
}

}  // namespace

std::vector<BalanceFigure> BalanceFigures(const QByteArray& json) {
    const QJsonObject report = QJsonDocument::fromJson(json).object();
    if (!report.contains(QLatin1String("games"))) return {};
    std::vector<BalanceFigure> figures;
    for (const FigureName& f : kFigureNames)
        if (report.contains(QLatin1String(f.key)))
            figures.push_back({BalanceReport::tr(f.name), Number(report.value(QLatin1String(f.key)))});
    const QJsonObject wins = report.value(QLatin1String("wins")).toObject();
    for (auto it = wins.begin(); it != wins.end(); ++it)
        figures.push_back({BalanceReport::tr("Wins of seat %1").arg(it.key()), Number(it.value())});
    const QJsonObject played = report.value(QLatin1String("playedByAction")).toObject();
    for (auto it = played.begin(); it != played.end(); ++it)
        figures.push_back({BalanceReport::tr("Cards played: %1").arg(QString::fromStdString(ActionName(it.key().toInt()))),
                           Number(it.value())});
    return figures;
}

QString BalanceCsv(const std::vector<BalanceFigure>& figures) {
    const auto field = [](QString text) {
        if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))) return text;
        return QLatin1Char('"') + text.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    };
    QString csv = QStringLiteral("figure,value\n");
    for (const BalanceFigure& f : figures) csv += field(f.name) + QLatin1Char(',') + field(f.value) + QLatin1Char('\n');
    return csv;
}

BalanceReport::BalanceReport(std::string card_set, QString simulator, QWidget* parent)
    : QDialog(parent), card_set_(std::move(card_set)), simulator_(std::move(simulator)) {
    setWindowTitle(tr("Balance Report"));
    games_ = new QSpinBox;
    games_->setRange(1, 1000000);
    games_->setValue(1000);
    seed_ = new QSpinBox;
    seed_->setRange(0, 2147483647);
    seed_->setValue(1);
    auto* form = new QFormLayout;
    form->addRow(tr("&Games:"), games_);
    form->addRow(tr("&Seed:"), seed_);
    progress_ = new QProgressBar;
    progress_->setRange(0, 1);
    progress_->setValue(0);
    status_ = new QLabel(tr("The shipped opponents play every seat."));
    status_->setTextFormat(Qt::PlainText);
    table_ = new QTableWidget(0, 2);
    table_->setHorizontalHeaderLabels({tr("Figure"), tr("Value")});
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(480, 560);
}

BalanceReport::~BalanceReport() { Cancel(); }

void BalanceReport::SetGames(int games) { games_->setValue(games); }
void BalanceReport::SetSeed(int seed) { seed_->setValue(seed); }
bool BalanceReport::IsRunning() const { return process_ != nullptr; }

void BalanceReport::Start() {
    if (IsRunning()) return;
    const QString set = scratch_.filePath(QStringLiteral("designer.cds"));
    if (Status s = WriteFileAtomically(QFile::encodeName(set).toStdString(), card_set_); !s) {
        Report(tr("The card set cannot be handed to the simulator.\n%1").arg(QString::fromStdString(s.message())));
        return;
    }
    process_ = new QProcess(this);
    connect(process_, &QProcess::finished, this, &BalanceReport::ProcessEnded);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) ProcessEnded();
    });
    figures_.clear();
    ShowFigures();
    progress_->setRange(0, 0);  // kvt-sim reports only at the end
    status_->setText(tr("Playing %n game(s)...", nullptr, games_->value()));
    run_->setEnabled(false);
    cancel_->setEnabled(true);
    process_->start(simulator_, {QStringLiteral("--cards"), set, QStringLiteral("--games"),
                                 QString::number(games_->value()), QStringLiteral("--seed"),
                                 QString::number(seed_->value()), QStringLiteral("--json")});
}

void BalanceReport::Cancel() {
    if (!process_) return;
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    process->kill();
    process->waitForFinished(-1);
    process->deleteLater();
    progress_->setRange(0, 1);
    status_->setText(tr("Cancelled."));
    run_->setEnabled(true);
    cancel_->setEnabled(false);
}

void BalanceReport::ProcessEnded() {
    if (!process_) return;
    QProcess* process = std::exchange(process_, nullptr);
    process->disconnect(this);
    const bool ok = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    figures_ = ok ? BalanceFigures(process->readAllStandardOutput()) : std::vector<BalanceFigure>{};
    const QString error = ok ? QString() : process->error() == QProcess::FailedToStart
                                               ? tr("The simulator \"%1\" cannot be started.").arg(simulator_)
                                               : QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
    process->deleteLater();
    progress_->setRange(0, 1);
    progress_->setValue(ok ? 1 : 0);
    run_->setEnabled(true);
    cancel_->setEnabled(false);
    ShowFigures();
    status_->setText(figures_.empty() ? tr("No figures: %1").arg(error.isEmpty() ? tr("unexpected output") : error)
                                      : tr("Done."));
    emit Finished();
}

void BalanceReport::ShowFigures() {
    table_->setRowCount(static_cast<int>(figures_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        table_->setItem(row, 0, new QTableWidgetItem(figures_[row].name));
        auto* value = new QTableWidgetItem(figures_[row].value);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table_->setItem(row, 1, value);
    }
    export_->setEnabled(!figures_.empty());
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
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace kvt::kvx
