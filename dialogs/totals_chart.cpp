#include "dialogs/totals_chart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kvt {

TotalsChart::TotalsChart(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TotalsChart::SetTotals(std::vector<GameTotal> totals) {
    totals_ = std::move(totals);
    update();
}

void TotalsChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics(font());
    if (totals_.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, tr("No finished games yet."));
        return;
    }
    const auto [low_it, high_it] = std::minmax_element(totals_.begin(), totals_.end(),
                                                       [](const GameTotal& a, const GameTotal& b) { return a.total < b.total; });
    const int low = std::min(0, low_it->total);
    const int high = std::max(low + 1, high_it->total);
    // Room for the scale's figures on the left and a line of text below.
    const QRectF plot = QRectF(rect()).adjusted(metrics.horizontalAdvance(QString::number(high)) + 12, metrics.height(),
                                                -12, -metrics.height() - 4);
    if (plot.width() < 10 || plot.height() < 10) return;
    const auto y_of = [&](int total) { return plot.bottom() - plot.height() * (total - low) / (high - low); };
    const auto x_of = [&](std::size_t i) {
        return totals_.size() == 1 ? plot.center().x() : plot.left() + plot.width() * double(i) / double(totals_.size() - 1);
    };

    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.setPen(palette().color(QPalette::Text));
    for (int mark : {low, high}) {
        const QRectF label(0, y_of(mark) - metrics.height() / 2.0, plot.left() - 6, metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::number(mark));
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + 4, plot.width(), metrics.height()), Qt::AlignCenter,
                     tr("Your total per game (the last %1)").arg(totals_.size()));

    QPainterPath line;
    for (std::size_t i = 0; i < totals_.size(); ++i) {
        const QPointF point(x_of(i), y_of(totals_[i].total));
        i == 0 ? line.moveTo(point) : line.lineTo(point);
    }
    const QColor ink = palette().color(QPalette::Highlight);
    painter.setPen(QPen(ink, 2));
    painter.drawPath(line);
    for (std::size_t i = 0; i < totals_.size(); ++i) {
        painter.setBrush(totals_[i].undo_used ? palette().base() : QBrush(ink));
        painter.drawEllipse(QPointF(x_of(i), y_of(totals_[i].total)), 4, 4);
    }
}

}  // namespace kvt
