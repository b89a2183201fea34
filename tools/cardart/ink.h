#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QString>

class QPainter;

namespace kvt::cardart {

// How a printed shape is laid on a card: a soft drop shadow, a dark outline
// that keeps white shapes readable on light panels, then the fill.
struct Ink {
    QColor fill = Qt::white;
    QColor outline;          // invalid: no outline
    qreal outline_width = 0;
    QPointF shadow_offset;   // null: no shadow
    int shadow_alpha = 0;
};

void DrawInked(QPainter& painter, const QPainterPath& shape, const Ink& ink);

// Turns a centre line into the filled area a round-capped pen would cover.
QPainterPath Stroked(const QPainterPath& line, qreal width);

// Text as a path in the card typeface, centred on `centre` by its outline.
QPainterPath TextShape(const QString& text, qreal pixel_size, QPointF centre);

// Maps a path drawn in a 100x100 design box onto `target`, keeping its shape.
QPainterPath FitDesignBox(const QPainterPath& design, const QRectF& target);

}  // namespace kvt::cardart
