#include "shell/table_marks_qt.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>

#include "platform/banded_paint.h"

namespace kvt {

SeatArrow::SeatArrow(Points points, QWidget* parent) : QWidget(parent), points_(points) {
    resize(kSize, kSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SeatArrow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintInBands(painter, rect(), [&] { Draw(painter); });
}

void SeatArrow::Draw(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn at the design size, scaled with the table.
    painter.scale(width() / static_cast<qreal>(kSize), height() / static_cast<qreal>(kSize));
    // Drawn pointing right, then turned.
    QPainterPath arrow;
    arrow.moveTo(4, 11.5);
    arrow.lineTo(15, 11.5);
    arrow.lineTo(15, 5);
    arrow.lineTo(27, 15);
    arrow.lineTo(15, 25);
    arrow.lineTo(15, 18.5);
    arrow.lineTo(4, 18.5);
    arrow.closeSubpath();

    const qreal turn = points_ == Points::kLeft ? 180 : points_ == Points::kUp ? -90 : 0;
    painter.translate(kSize / 2.0, kSize / 2.0);
    painter.rotate(turn);
    painter.translate(-kSize / 2.0, -kSize / 2.0);

    painter.save();
    painter.translate(1.2, 1.6);
    painter.fillPath(arrow, QColor(0, 0, 0, 80));
    painter.restore();

    QLinearGradient fill(0, 5, 0, 25);
    fill.setColorAt(0, QColor(255, 236, 150));
    fill.setColorAt(1, QColor(232, 170, 40));
    painter.setPen(QPen(QColor(90, 58, 8), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(arrow);
}

DirectionPicture::DirectionPicture(bool reversed, QWidget* parent) : QWidget(parent), reversed_(reversed) {
    resize(kSize, kSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setToolTip(reversed ? tr("Play goes to the right") : tr("Play goes to the left"));
}

void DirectionPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintInBands(painter, rect(), [&] { Draw(painter); });
}

void DirectionPicture::Draw(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width() / static_cast<qreal>(kSize), height() / static_cast<qreal>(kSize));
    const QPointF centre(kSize / 2.0, kSize / 2.0);
    const qreal disc = kSize / 2.0 - 1;
    painter.setPen(QPen(QColor(255, 255, 255, 45), 1));
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawEllipse(centre, disc, disc);

    // An arc of 290 degrees and a head at its end: clockwise on screen in the
    // normal direction, anticlockwise when reversed.
    const qreal radius = kSize / 2.0 - 10;
    const qreal start = reversed_ ? 240 : 300;
    const qreal span = reversed_ ? 290 : -290;
    const qreal end = qDegreesToRadians(start + span);
    const QPointF tip_base(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
    // Direction of travel at the end of the arc.
    QPointF along = reversed_ ? QPointF(-std::sin(end), -std::cos(end)) : QPointF(std::sin(end), std::cos(end));
    const QPointF across(-along.y(), along.x());

    const QColor ink = reversed_ ? QColor(255, 196, 170) : QColor(250, 236, 180);
    const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(ring, start);
    arc.arcTo(ring, start, span);

    QPolygonF head;
    head << tip_base + along * 7 << tip_base - along * 2 + across * 6.5 << tip_base - along * 2 - across * 6.5;

    // Outline first, then the colour, so the mark reads on any background.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(40, 30, 10, 200), 6, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(arc);
    painter.setPen(QPen(QColor(40, 30, 10, 200), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(ink);
    painter.drawPolygon(head);
    painter.setPen(QPen(ink, 3.6, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arc);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPolygon(head);
}

TurnGlow::TurnGlow(QWidget* parent) : QWidget(parent) {
    setObjectName("TurnGlow");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TurnGlow::SetMargin(int margin) {
    margin_ = std::max(1, margin);
    update();
}

void TurnGlow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintInBands(painter, rect(), [&] { Draw(painter); });
}

void TurnGlow::Draw(QPainter& painter) {
    // A warm light that grows stronger towards the hand, drawn as gradient
    // strips and corners (cheap at any size), then a clear edge.
    const int m = margin_;
    const int w = width();
    const int h = height();
    const QColor strong(255, 205, 60, 170);
    const QColor none(255, 205, 60, 0);
    const auto strip = [&](QRect area, QPointF from, QPointF to) {
        QLinearGradient light(from, to);
        light.setColorAt(0, none);
        light.setColorAt(1, strong);
        painter.fillRect(area, light);
    };
    strip(QRect(m, 0, w - 2 * m, m), QPointF(0, 0), QPointF(0, m));
    strip(QRect(m, h - m, w - 2 * m, m), QPointF(0, h), QPointF(0, h - m));
    strip(QRect(0, m, m, h - 2 * m), QPointF(0, 0), QPointF(m, 0));
    strip(QRect(w - m, m, m, h - 2 * m), QPointF(w, 0), QPointF(w - m, 0));
    for (const QPoint corner : {QPoint(m, m), QPoint(w - m, m), QPoint(m, h - m), QPoint(w - m, h - m)}) {
        QRadialGradient light(corner, m);
        light.setColorAt(0, strong);
        light.setColorAt(1, none);
        painter.fillRect(QRect(corner.x() < w / 2 ? 0 : w - m, corner.y() < h / 2 ? 0 : h - m, m, m), light);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 222, 110), 2));
    painter.setBrush(QColor(255, 205, 60, 70));
    painter.drawRoundedRect(QRectF(rect()).adjusted(m - 1, m - 1, 1 - m, 1 - m), 6, 6);
}

}  // namespace kvt
