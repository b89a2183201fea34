#include "tools/portraits/outfits.h"

#include <QPainter>

#include "tools/portraits/paint_kit.h"
#include "tools/portraits/portrait_description.h"

namespace kvt::portraits {

namespace {

void Fill(QPainter& p, const QPainterPath& shape, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(shape);
}

// The round opening of a tee: a U below the neck.
QPainterPath RoundNeckline(qreal half_width, qreal depth) {
    QPainterPath u(QPointF(kCentreX - half_width, kShoulderY - 2));
    u.cubicTo(kCentreX - half_width, kShoulderY + depth, kCentreX + half_width,
              kShoulderY + depth, kCentreX + half_width, kShoulderY - 2);
    return u;
}

QPainterPath VNeckline(qreal half_width, qreal depth) {
    QPainterPath v(QPointF(kCentreX - half_width, kShoulderY - 2));
    v.lineTo(kCentreX, kShoulderY + depth);
    v.lineTo(kCentreX + half_width, kShoulderY - 2);
    return v;
}

void Button(QPainter& p, QPointF at, const QColor& colour) {
    p.setPen(QPen(colour.darker(130), 0.6));
    p.setBrush(colour);
    p.drawEllipse(at, 1.3, 1.3);
}

}  // namespace

void PaintBody(QPainter& p, const PortraitDescription& d) {
    const QPainterPath body = BodyPath();
    QLinearGradient g(0, kShoulderY, 0, kBox);
    g.setColorAt(0, d.top.lighter(112));
    g.setColorAt(1, d.top.darker(112));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(body);

    // Where the arms meet the chest.
    for (int side : {-1, 1}) {
        QPainterPath arm(QPointF(kCentreX + side * 33, 102));
        arm.quadTo(kCentreX + side * 34, 112, kCentreX + side * 33, kBox + 2);
        StrokeLine(p, arm, WithAlpha(d.top.darker(135), 140), 1.2);
    }

    if (d.top_style == "hoodie") {
        // The hood lies around the back of the neck.
        QPainterPath hood;
        hood.addEllipse(QPointF(kCentreX, kShoulderY + 1), 21, 8.5);
        Fill(p, hood, d.top.darker(118));
    }
}

void PaintNeckAndCollar(QPainter& p, const PortraitDescription& d) {
    const QColor neck_colour = d.skin.darker(108);
    const QColor line_colour = d.top.darker(130);

    // The neck, closed at the bottom by the round neckline.
    QPainterPath neck(QPointF(51, 66));
    neck.lineTo(69, 66);
    neck.lineTo(69.5, kShoulderY - 2);
    neck.cubicTo(69.5, kShoulderY + 6, 50.5, kShoulderY + 6, 50.5, kShoulderY - 2);
    neck.closeSubpath();
    Fill(p, neck, neck_colour);
    // Shadow under the chin.
    QPainterPath chin_shadow;
    chin_shadow.addEllipse(QPointF(kCentreX, 76), 10, 5);
    Fill(p, chin_shadow.intersected(neck), d.skin.darker(125));

    const QString& s = d.top_style;
    if (s == "tee") {
        StrokeLine(p, RoundNeckline(10.5, 7.5), line_colour, 1.8);
    } else if (s == "vneck") {
        QPainterPath v = VNeckline(10, 14);
        v.closeSubpath();
        Fill(p, v, neck_colour);
        StrokeLine(p, VNeckline(10.5, 14.5), line_colour, 1.8);
    } else if (s == "collar") {
        QPainterPath v = VNeckline(9, 12);
        v.closeSubpath();
        Fill(p, v, neck_colour);
        // Two collar points in the trim colour, then the button placket.
        for (int side : {-1, 1}) {
            QPainterPath flap(QPointF(kCentreX + side * 10.5, kShoulderY - 4));
            flap.lineTo(kCentreX + side * 1.5, kShoulderY + 11);
            flap.lineTo(kCentreX + side * 14, kShoulderY + 7);
            flap.closeSubpath();
            Fill(p, flap, d.top_trim);
            StrokeLine(p, flap, d.top_trim.darker(125), 0.8);
        }
        QPainterPath placket(QPointF(kCentreX, kShoulderY + 12));
        placket.lineTo(kCentreX, kBox + 2);
        StrokeLine(p, placket, line_colour, 1);
        Button(p, {kCentreX + 2, kShoulderY + 17}, d.top_trim);
        Button(p, {kCentreX + 2, kShoulderY + 26}, d.top_trim);
    } else if (s == "cardigan") {
        // A shirt in the trim colour shows between the open fronts.
        QPainterPath shirt(QPointF(kCentreX - 13, kShoulderY - 2));
        shirt.lineTo(kCentreX + 13, kShoulderY - 2);
        shirt.lineTo(kCentreX + 5, kBox + 2);
        shirt.lineTo(kCentreX - 5, kBox + 2);
        shirt.closeSubpath();
        Fill(p, shirt, d.top_trim);
        // Its little collar, then the neck opening.
        QPainterPath open = RoundNeckline(9.5, 6.5);
        open.closeSubpath();
        Fill(p, open, neck_colour);
        StrokeLine(p, RoundNeckline(9.5, 6.5), d.top_trim.darker(120), 1.6);
        for (int side : {-1, 1}) {
            QPainterPath edge(QPointF(kCentreX + side * 13, kShoulderY - 2));
            edge.lineTo(kCentreX + side * 5, kBox + 2);
            StrokeLine(p, edge, line_colour, 1.6);
        }
        for (qreal y : {100.0, 108.0, 116.0})
            Button(p, {kCentreX + 8.5 + (116 - y) * 0.23, y}, d.top.lighter(150));
    } else if (s == "hoodie") {
        StrokeLine(p, RoundNeckline(10.5, 7), line_colour, 1.8);
        for (int side : {-1, 1}) {
            QPainterPath string(QPointF(kCentreX + side * 5, kShoulderY + 5));
            string.quadTo(kCentreX + side * 6, kShoulderY + 13, kCentreX + side * 5.5,
                          kShoulderY + 20);
            StrokeLine(p, string, d.top_trim, 1.4);
            p.setPen(Qt::NoPen);
            p.setBrush(d.top_trim.darker(115));
            p.drawRoundedRect(QRectF(kCentreX + side * 5.5 - 1.2, kShoulderY + 19.5, 2.4, 4),
                              0.8, 0.8);
        }
    } else if (s == "turtleneck") {
        QPainterPath tube;
        tube.addRoundedRect(QRectF(47, 74, 26, 19), 5.5, 5.5);
        QLinearGradient g(47, 0, 73, 0);
        g.setColorAt(0, d.top.darker(108));
        g.setColorAt(0.5, d.top.lighter(110));
        g.setColorAt(1, d.top.darker(108));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(tube);
        for (qreal y : {79.0, 84.0}) {
            QPainterPath fold(QPointF(48.5, y));
            fold.quadTo(kCentreX, y + 2.2, 71.5, y);
            StrokeLine(p, fold, line_colour, 0.9);
        }
    }
}

}  // namespace kvt::portraits
