#include "tools/cardart/ink.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>
#include <algorithm>

#include "tools/cardart/card_style.h"

namespace kvt::cardart {

void DrawInked(QPainter& painter, const QPainterPath& shape, const Ink& ink) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (!ink.shadow_offset.isNull() && ink.shadow_alpha > 0) {
        const QPainterPath shadow = shape.translated(ink.shadow_offset);
        const QColor shade(0, 0, 0, ink.shadow_alpha);
        painter.fillPath(shadow, shade);
        if (ink.outline.isValid())
            painter.strokePath(shadow, QPen(shade, ink.outline_width, Qt::SolidLine, Qt::RoundCap,
                                            Qt::RoundJoin));
    }
    if (ink.outline.isValid() && ink.outline_width > 0)
        painter.strokePath(shape, QPen(ink.outline, ink.outline_width, Qt::SolidLine, Qt::RoundCap,
                                       Qt::RoundJoin));
    painter.fillPath(shape, ink.fill);
    painter.restore();
}

QPainterPath Stroked(const QPainterPath& line, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line).simplified();
}

QPainterPath TextShape(const QString& text, qreal pixel_size, QPointF centre) {
    QPainterPath path;
    path.addText(0, 0, CardFont(pixel_size), text);
    const QRectF box = path.boundingRect();
    return path.translated(centre - box.center());
}

QPainterPath FitDesignBox(const QPainterPath& design, const QRectF& target) {
    const qreal scale = std::min(target.width(), target.height()) / 100.0;
    QTransform t;
    t.translate(target.center().x(), target.center().y());
    t.scale(scale, scale);
    t.translate(-50, -50);
    return t.map(design);
}

}  // namespace kvt::cardart
