#include "shell/table_marks_qt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <algorithm>

namespace kvt {

SeatArrow::SeatArrow(Points points, QWidget* parent) : QWidget(parent), points_(points) {
    resize(kSize, kSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SeatArrow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
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

void TurnGlow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Rings of falling strength: a soft warm light round the hand.
    const int rings = std::max(1, kMargin);
    for (int i = 0; i < rings; ++i) {
        const qreal inset = i + 0.5;
        painter.setPen(QPen(QColor(255, 214, 90, 30 + 150 * i / rings), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), kMargin + 4 - i, kMargin + 4 - i);
    }
    painter.setPen(QPen(QColor(255, 226, 120), 2));
    painter.setBrush(QColor(255, 214, 90, 40));
    painter.drawRoundedRect(QRectF(rect()).adjusted(rings, rings, -rings, -rings), 6, 6);
}

}  // namespace kvt
