#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QChartView;

namespace kvt::kvx {

// Puts a bar chart of `values`, one bar per category, into `view`
// (replacing what it showed); no categories leave it empty.
void ShowBarChart(QChartView& view, const QString& title, const QStringList& categories, const QList<qreal>& values);

}  // namespace kvt::kvx
