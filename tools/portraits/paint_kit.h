#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;

// Shared geometry and colour helpers of the portrait painter. Every portrait
// is designed in a 120 x 120 box; the painter scales that box to the image.
namespace kvt::portraits {

inline constexpr qreal kBox = 120;
inline constexpr qreal kCentreX = 60;
inline constexpr qreal kHeadTop = 20;
inline constexpr qreal kHeadBottom = 80;
inline constexpr qreal kHeadLeft = 34;
inline constexpr qreal kHeadRight = 86;
inline constexpr qreal kEyeY = 52;
inline constexpr qreal kEyeDx = 10.5;   // from the centre line to each eye
inline constexpr qreal kBrowY = 44.5;
inline constexpr qreal kMouthY = 67;
inline constexpr qreal kEarY = 54;
inline constexpr qreal kShoulderY = 89;

// Linear blend: t = 0 gives a, t = 1 gives b.
QColor Mix(const QColor& a, const QColor& b, qreal t);

// The same colour with another alpha (0..255).
QColor WithAlpha(const QColor& c, int alpha);

// The egg-shaped outline of the head; `grow` pushes it outwards evenly.
QPainterPath HeadPath(qreal grow = 0);

// The outline of the shoulders and chest.
QPainterPath BodyPath();

// A circle as a path.
QPainterPath Circle(QPointF centre, qreal radius);

// The area a round-capped pen of `width` would cover along `line`.
QPainterPath Stroked(const QPainterPath& line, qreal width);

// Draws `line` with a round-capped pen.
void StrokeLine(QPainter& p, const QPainterPath& line, const QColor& colour, qreal width);

}  // namespace kvt::portraits
