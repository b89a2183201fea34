#include "tools/portraits/accessories.h"

#include <QPainter>
#include <QtMath>

#include "tools/portraits/paint_kit.h"
#include "tools/portraits/portrait_description.h"

namespace kvt::portraits {

namespace {

void Fill(QPainter& p, const QPainterPath& shape, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(shape);
}

QPainterPath Star(QPointF centre, qreal outer, qreal inner) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + 36.0 * i);
        const qreal r = i % 2 == 0 ? outer : inner;
        const QPointF pt(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
        if (i == 0) star.moveTo(pt);
        else star.lineTo(pt);
    }
    star.closeSubpath();
    return star;
}

void Scarf(QPainter& p, const QColor& c) {
    QPainterPath wrap;
    wrap.addRoundedRect(QRectF(43, kShoulderY - 5, 34, 10), 5, 5);
    Fill(p, wrap, c);
    QPainterPath tail(QPointF(62, kShoulderY + 2));
    tail.lineTo(71, kShoulderY + 3);
    tail.lineTo(73, kBox - 4);
    tail.lineTo(65, kBox - 3);
    tail.closeSubpath();
    Fill(p, tail, c.darker(112));
    // Knitted stripes.
    for (qreal x : {50.0, 57.0, 64.0, 71.0}) {
        QPainterPath rib(QPointF(x, kShoulderY - 4));
        rib.lineTo(x - 1, kShoulderY + 4);
        StrokeLine(p, rib, WithAlpha(c.lighter(140), 140), 1.2);
    }
    for (qreal y : {104.0, 110.0}) {
        QPainterPath band(QPointF(64.5, y));
        band.lineTo(72.3, y - 0.5);
        StrokeLine(p, band, WithAlpha(c.lighter(150), 150), 1.6);
    }
}

void Bowtie(QPainter& p, const QColor& c) {
    const QPointF k(kCentreX, kShoulderY + 8);
    QPainterPath bow;
    bow.moveTo(k);
    bow.lineTo(k + QPointF(-8, -4.5));
    bow.lineTo(k + QPointF(-8, 4.5));
    bow.closeSubpath();
    bow.moveTo(k);
    bow.lineTo(k + QPointF(8, -4.5));
    bow.lineTo(k + QPointF(8, 4.5));
    bow.closeSubpath();
    Fill(p, bow, c);
    p.setBrush(c.darker(125));
    p.drawRoundedRect(QRectF(k.x() - 2, k.y() - 2.5, 4, 5), 1, 1);
}

void Headphones(QPainter& p, const QColor& c) {
    // Resting around the neck: a band round the front and two ear cups.
    QPainterPath band(QPointF(44, kShoulderY - 1));
    band.cubicTo(46, kShoulderY + 10, 74, kShoulderY + 10, 76, kShoulderY - 1);
    StrokeLine(p, band, c.darker(120), 3);
    for (int side : {-1, 1}) {
        const QPointF cup(kCentreX + side * 16, kShoulderY + 1);
        QPainterPath shell;
        shell.addRoundedRect(QRectF(cup.x() - 5, cup.y() - 6.5, 10, 13), 4.5, 4.5);
        Fill(p, shell, c);
        QPainterPath pad;
        pad.addRoundedRect(QRectF(cup.x() - 2.8, cup.y() - 4.5, 5.6, 9), 2.6, 2.6);
        Fill(p, pad, c.lighter(135));
    }
}

void Beanie(QPainter& p, const QColor& c) {
    QPainterPath dome(QPointF(31, 37));
    dome.cubicTo(31, 16, 44, 9, kCentreX, 9);
    dome.cubicTo(76, 9, 89, 16, 89, 37);
    dome.closeSubpath();
    QLinearGradient g(0, 9, 0, 37);
    g.setColorAt(0, c.lighter(115));
    g.setColorAt(1, c.darker(105));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(dome);
    // Knit lines on the dome.
    for (qreal x : {40.0, 50.0, 60.0, 70.0, 80.0}) {
        QPainterPath knit(QPointF(x, 31));
        knit.quadTo(x + (x - kCentreX) * 0.15, 20, kCentreX + (x - kCentreX) * 0.55, 12);
        StrokeLine(p, knit, WithAlpha(c.darker(125), 110), 0.9);
    }
    // The folded band with ribs.
    QPainterPath band;
    band.addRoundedRect(QRectF(29, 30, 62, 10), 4, 4);
    Fill(p, band, c.darker(112));
    for (qreal x = 33; x < 89; x += 4) {
        QPainterPath rib(QPointF(x, 32));
        rib.lineTo(x, 38);
        StrokeLine(p, rib, WithAlpha(c.darker(140), 130), 0.9);
    }
    // Pompom.
    const QPointF top(kCentreX, 8);
    for (int i = 0; i < 10; ++i) {
        const qreal a = qDegreesToRadians(36.0 * i);
        Fill(p, Circle(top + QPointF(4 * qCos(a), 3.5 * qSin(a)), 3.2), c.lighter(150));
    }
    Fill(p, Circle(top, 4.5), c.lighter(165));
}

void Headband(QPainter& p, const QColor& c, const QString& hair_style) {
    // Lies across the hair just above the forehead.
    const qreal y = hair_style == "afro" ? 27 : 29;
    QPainterPath band(QPointF(33.5, y + 16));
    band.cubicTo(36, y - 2, 84, y - 2, 86.5, y + 16);
    StrokeLine(p, band, c, 5);
    QPainterPath shine(QPointF(40, y + 6));
    shine.cubicTo(48, y - 0.5, 72, y - 0.5, 80, y + 6);
    StrokeLine(p, shine, WithAlpha(c.lighter(150), 160), 1.2);
    // A knot on one side.
    Fill(p, Circle({80, y + 6}, 3.6), c.darker(110));
}

}  // namespace

void PaintBodyAccessories(QPainter& p, const PortraitDescription& d) {
    if (d.Has("headphones")) Headphones(p, d.AccessoryColour("headphones", {}));
    if (d.Has("scarf")) Scarf(p, d.AccessoryColour("scarf", {}));
    if (d.Has("bowtie")) Bowtie(p, d.AccessoryColour("bowtie", {}));
}

void PaintEarAccessories(QPainter& p, const PortraitDescription& d) {
    if (!d.Has("earrings")) return;
    const QColor c = d.AccessoryColour("earrings", {});
    for (int side : {-1, 1}) {
        QPainterPath hoop;
        hoop.addEllipse(QPointF(kCentreX + side * 26.5, kEarY + 11.5), 3.4, 3.8);
        StrokeLine(p, hoop, c, 1.7);
        StrokeLine(p, hoop, WithAlpha(c.lighter(150), 120), 0.6);
    }
}

void PaintFreckles(QPainter& p, const PortraitDescription& d) {
    if (!d.Has("freckles")) return;
    const QColor c = WithAlpha(d.AccessoryColour("freckles", d.skin.darker(145)), 170);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const QPointF dots[] = {{44, 60}, {47, 62.5}, {42.5, 63.5}, {46, 65.5}, {49.5, 60.5},
                            {76, 60}, {73, 62.5}, {77.5, 63.5}, {74, 65.5}, {70.5, 60.5},
                            {57.5, 57.5}, {62.5, 57.5}};
    for (QPointF dot : dots) p.drawEllipse(dot, 0.75, 0.75);
}

void PaintBeard(QPainter& p, const PortraitDescription& d) {
    if (!d.Has("beard")) return;
    const QColor c = d.AccessoryColour("beard", d.hair);
    // The jaw below the cheeks, with a clear space round the mouth.
    QPainterPath below(QPointF(-4, 56));
    below.lineTo(35, 56);
    below.quadTo(38, 64, 45, 66.5);
    below.quadTo(kCentreX, 63, 75, 66.5);
    below.quadTo(82, 64, 85, 56);
    below.lineTo(kBox + 4, 56);
    below.lineTo(kBox + 4, kBox + 4);
    below.lineTo(-4, kBox + 4);
    below.closeSubpath();
    QPainterPath mouth_room;
    mouth_room.addEllipse(QPointF(kCentreX, kMouthY + 2.5), 9, 5);
    QPainterPath beard = HeadPath(1).intersected(below).subtracted(mouth_room).simplified();
    Fill(p, beard, WithAlpha(c, 235));
    // A little texture.
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(c.lighter(150), 90));
    const QPointF flecks[] = {{42, 68}, {48, 73}, {55, 76.5}, {65, 76.5}, {72, 73},
                              {78, 68}, {60, 77.5}, {45, 70.5}, {75, 70.5}};
    for (QPointF f : flecks) p.drawEllipse(f, 0.9, 0.9);
}

void PaintMoustache(QPainter& p, const PortraitDescription& d) {
    if (!d.Has("moustache")) return;
    const QColor c = d.AccessoryColour("moustache", d.hair);
    QPainterPath m(QPointF(kCentreX, kMouthY - 3.6));
    m.cubicTo(kCentreX - 4, kMouthY - 5.5, kCentreX - 9, kMouthY - 4, kCentreX - 10, kMouthY - 0.5);
    m.cubicTo(kCentreX - 7, kMouthY - 2, kCentreX - 3, kMouthY - 1.5, kCentreX, kMouthY - 1.8);
    m.cubicTo(kCentreX + 3, kMouthY - 1.5, kCentreX + 7, kMouthY - 2, kCentreX + 10, kMouthY - 0.5);
    m.cubicTo(kCentreX + 9, kMouthY - 4, kCentreX + 4, kMouthY - 5.5, kCentreX, kMouthY - 3.6);
    m.closeSubpath();
    Fill(p, m, c);
}

void PaintGlasses(QPainter& p, const PortraitDescription& d) {
    if (!d.Has("glasses")) return;
    const QColor c = d.AccessoryColour("glasses", {});
    const qreal r = 6.8;
    for (int side : {-1, 1}) {
        const QPointF eye(kCentreX + side * kEyeDx, kEyeY);
        Fill(p, Circle(eye, r), QColor(255, 255, 255, 45));
        QPainterPath rim = Circle(eye, r);
        StrokeLine(p, rim, c, 1.5);
        // A glint on the lens.
        QPainterPath glint(eye + QPointF(-3.5, -2.5));
        glint.quadTo(eye + QPointF(-2.5, -4.5), eye + QPointF(0, -5));
        StrokeLine(p, glint, QColor(255, 255, 255, 170), 1);
        QPainterPath arm(QPointF(kCentreX + side * (kEyeDx + r), kEyeY - 1));
        arm.lineTo(kCentreX + side * 25.5, kEyeY - 2.5);
        StrokeLine(p, arm, c, 1.4);
    }
    QPainterPath bridge(QPointF(kCentreX - kEyeDx + r, kEyeY - 0.5));
    bridge.quadTo(kCentreX, kEyeY - 3.5, kCentreX + kEyeDx - r, kEyeY - 0.5);
    StrokeLine(p, bridge, c, 1.4);
}

void PaintHeadwear(QPainter& p, const PortraitDescription& d) {
    if (d.Has("headband")) Headband(p, d.AccessoryColour("headband", {}), d.hair_style);
    if (d.Has("beanie")) Beanie(p, d.AccessoryColour("beanie", {}));
    if (d.Has("hairclip")) {
        const QColor c = d.AccessoryColour("hairclip", {});
        const QPointF at(77, 33);
        Fill(p, Star(at, 5.2, 2.4), c);
        StrokeLine(p, Star(at, 5.2, 2.4), c.darker(130), 0.7);
        Fill(p, Circle(at + QPointF(-1, -1), 1), QColor(255, 255, 255, 200));
    }
}

}  // namespace kvt::portraits
