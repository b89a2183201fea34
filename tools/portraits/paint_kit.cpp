#include "tools/portraits/paint_kit.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>

namespace kvt::portraits {

QColor Mix(const QColor& a, const QColor& b, qreal t) {
    const auto lerp = [t](qreal x, qreal y) { return x + (y - x) * t; };
    return QColor::fromRgbF(static_cast<float>(lerp(a.redF(), b.redF())),
                            static_cast<float>(lerp(a.greenF(), b.greenF())),
                            static_cast<float>(lerp(a.blueF(), b.blueF())),
                            static_cast<float>(lerp(a.alphaF(), b.alphaF())));
}

QColor WithAlpha(const QColor& c, int alpha) {
    QColor out = c;
    out.setAlpha(alpha);
    return out;
}

QPainterPath HeadPath(qreal grow) {
    const qreal top = kHeadTop - grow;
    const qreal bottom = kHeadBottom + grow;
    const qreal left = kHeadLeft - grow;
    const qreal right = kHeadRight + grow;
    const qreal mid = 48;  // the widest line of the head, a little above the ears
    QPainterPath p;
    p.moveTo(kCentreX, top);
    p.cubicTo(kCentreX + 17 + grow, top, right, top + 12, right, mid);
    p.cubicTo(right, mid + 19, kCentreX + 15 + grow, bottom, kCentreX, bottom);
    p.cubicTo(kCentreX - 15 - grow, bottom, left, mid + 19, left, mid);
    p.cubicTo(left, top + 12, kCentreX - 17 - grow, top, kCentreX, top);
    p.closeSubpath();
    return p;
}

QPainterPath BodyPath() {
    QPainterPath p;
    p.moveTo(4, kBox + 2);
    p.cubicTo(6, 102, 22, 92, 44, kShoulderY);
    p.quadTo(kCentreX, kShoulderY - 2, 76, kShoulderY);
    p.cubicTo(98, 92, 114, 102, 116, kBox + 2);
    p.closeSubpath();
    return p;
}

QPainterPath Circle(QPointF centre, qreal radius) {
    QPainterPath p;
    p.addEllipse(centre, radius, radius);
    return p;
}

QPainterPath Stroked(const QPainterPath& line, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line).simplified();
}

void StrokeLine(QPainter& p, const QPainterPath& line, const QColor& colour, qreal width) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
    p.restore();
}

}  // namespace kvt::portraits
