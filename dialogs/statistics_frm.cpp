#include "dialogs/statistics_frm.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "dialogs/totals_chart.h"
#include "platform/plain_text.h"
#include "platform/statistics_store.h"

namespace kvt {
namespace {

QTableWidget* NewTable(const QStringList& headings) {
    auto* table = new QTableWidget(0, int(headings.size()));
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return table;
}

// Item text is never taken for rich text: names from files show as they are.
QTableWidgetItem* Cell(const QString& text, bool number) {
    auto* item = new QTableWidgetItem(text);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

void Fill(QTableWidget* table, const std::vector<QStringList>& rows) {
    table->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < int(rows[std::size_t(r)].size()); ++c)
            table->setItem(r, c, Cell(rows[std::size_t(r)][c], c > 0));
}

std::vector<QStringList> FigureRows(const std::vector<Figures>& figures, const std::function<QString(const Figures&)>& label) {
    std::vector<QStringList> rows;
    for (const Figures& f : figures)
        rows.push_back({label(f), QString::number(f.games), QString::number(f.wins), QString::number(f.rounds),
                        f.games ? QString::number(f.average_total, 'f', 1) : QStringLiteral("-"),
                        f.games ? QString::number(f.best_total) : QStringLiteral("-"), QString::number(f.games_with_undo)});
    return rows;
}

}  // namespace

StatisticsFrm::StatisticsFrm(StatisticsStore& store, std::function<bool()> confirm, QWidget* parent)
    : QDialog(parent), store_(store), confirm_(std::move(confirm)) {
    setObjectName("StatisticsFrm");
    setWindowTitle(tr("Statistics"));
    const QStringList figures = {tr("Name"), tr("Games"), tr("Wins"), tr("Rounds"), tr("Average"), tr("Best"), tr("With undo")};
    QStringList card_sets = figures;
    card_sets[0] = tr("Card set");
    QStringList seats = figures;
    seats[0] = tr("Seat");
    tabs_ = new QTabWidget(this);
    tabs_->addTab(NewTable(figures), tr("&Opponents"));
    tabs_->addTab(NewTable(card_sets), tr("&Card Sets"));
    tabs_->addTab(NewTable(seats), tr("S&eats"));
    tabs_->addTab(NewTable({tr("Opponent"), tr("Games"), tr("You lower"), tr("They lower"), tr("With undo")}), tr("&Head to Head"));
    chart_ = new TotalsChart(this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* reset = buttons->addButton(tr("&Reset..."), QDialogButtonBox::ResetRole);
    reset->setObjectName("StatisticsReset");
    connect(reset, &QPushButton::clicked, this, [this] { ResetClicked(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 3);
    layout->addWidget(chart_, 2);
    layout->addWidget(buttons);
    setMinimumSize(460, 360);
    resize(560, 460);
    Refresh();
}

QTableWidget* StatisticsFrm::Table(int tab) const { return static_cast<QTableWidget*>(tabs_->widget(tab)); }

void StatisticsFrm::Refresh() {
    const auto named = [](const Figures& f) { return QString::fromStdString(f.label); };
    Fill(Table(0), FigureRows(store_.PerOpponent(), named));
    Fill(Table(1), FigureRows(store_.PerCardSet(), named));
    Fill(Table(2), FigureRows(store_.PerSeat(), [](const Figures& f) {
             return f.label == "1" ? tr("1 (you)") : QString::fromStdString(f.label);
         }));
    std::vector<QStringList> rows;
    for (const HeadToHead& h : store_.HeadToHeads())
        rows.push_back({QString::fromStdString(h.opponent), QString::number(h.games), QString::number(h.you_lower),
                        QString::number(h.they_lower), QString::number(h.games_with_undo)});
    Fill(Table(3), rows);
    chart_->SetTotals(store_.LastTotals(20));
}

void StatisticsFrm::ResetClicked() {
    if (!confirm_()) return;
    if (const Status reset = store_.Reset(); !reset)
        PlainMessageBox(QMessageBox::Warning, windowTitle(),
                        tr("The statistics in \"%1\" cannot be reset: %2")
                            .arg(QFile::decodeName(store_.File().c_str()), QString::fromStdString(reset.message())),
                        QMessageBox::Ok, this)
            .exec();
    Refresh();
}

}  // namespace kvt
