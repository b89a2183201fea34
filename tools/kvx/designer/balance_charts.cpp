#include "tools/kvx/designer/balance_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QValueAxis>
#include <algorithm>

namespace kvt::kvx {

void ShowBarChart(QChartView& view, const QString& title, const QStringList& categories, const QList<qreal>& values) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    if (!categories.isEmpty()) {
        // Bars lie down, so long category names stay readable.
        auto* set = new QBarSet(title);
        set->append(values);
        auto* series = new QHorizontalBarSeries;
        series->append(set);
        chart->addSeries(series);
        // The counts go with the names: bar labels do not fit short bars.
        auto* names = new QBarCategoryAxis;
        for (qsizetype i = 0; i < categories.size(); ++i)
            names->append(QStringLiteral("%1 (%2)").arg(categories[i]).arg(values.value(i), 0, 'f', 0));
        chart->addAxis(names, Qt::AlignLeft);
        series->attachAxis(names);
        auto* counts = new QValueAxis;
        counts->setLabelFormat(QStringLiteral("%.0f"));
        counts->setRange(0, std::max<qreal>(1, *std::max_element(values.begin(), values.end())));
        counts->applyNiceNumbers();
        chart->addAxis(counts, Qt::AlignBottom);
        series->attachAxis(counts);
    }
    QChart* old = view.chart();
    view.setChart(chart);
    delete old;
}

}  // namespace kvt::kvx
