#include "tools/portraits/hair_styles.h"

#include <QPainter>
#include <QtMath>

#include "tools/portraits/paint_kit.h"
#include "tools/portraits/portrait_description.h"

namespace kvt::portraits {

namespace {

// Everything above `hairline` (a curve from the left edge of the box to the
// right edge) that lies inside `volume`.
QPainterPath CapAbove(const QPainterPath& hairline, const QPainterPath& volume) {
    QPainterPath above = hairline;
    above.lineTo(kBox + 4, -4);
    above.lineTo(-4, -4);
    above.closeSubpath();
    return above.intersected(volume).simplified();
}

void FillHair(QPainter& p, const QPainterPath& shape, const QColor& hair) {
    // A soft top light keeps flat hair from looking like a helmet.
    const QRectF box = shape.boundingRect();
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, hair.lighter(118));
    g.setColorAt(1, hair.darker(108));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(shape);
}

// A thin lighter arc: the sheen on the crown.
void Sheen(QPainter& p, const QColor& hair, QPointF from, QPointF via, QPointF to) {
    QPainterPath arc(from);
    arc.quadTo(via, to);
    StrokeLine(p, arc, WithAlpha(hair.lighter(170), 110), 1.6);
}

QPainterPath Curls(const QList<QPointF>& centres, qreal radius) {
    QPainterPath all;
    for (QPointF c : centres) all = all.united(Circle(c, radius));
    return all;
}

// Points on an ellipse arc around the head, for curls and afro bumps.
QList<QPointF> ArcPoints(QPointF centre, qreal rx, qreal ry, qreal from_deg, qreal to_deg,
                         int count) {
    QList<QPointF> out;
    for (int i = 0; i < count; ++i) {
        const qreal t = count == 1 ? 0.5 : static_cast<qreal>(i) / (count - 1);
        const qreal a = qDegreesToRadians(from_deg + (to_deg - from_deg) * t);
        out.append(QPointF(centre.x() + rx * qCos(a), centre.y() + ry * qSin(a)));
    }
    return out;
}

// --- back layers

void AfroBack(QPainter& p, const QColor& hair) {
    QPainterPath cloud = Circle(QPointF(kCentreX, 40), 27);
    cloud = cloud.united(Curls(ArcPoints(QPointF(kCentreX, 40), 27, 27, 140, 400, 15), 9.5));
    FillHair(p, cloud.simplified(), hair);
    // Texture: a few darker curl marks.
    for (QPointF c : ArcPoints(QPointF(kCentreX, 38), 22, 22, 160, 380, 9)) {
        QPainterPath curl;
        curl.addEllipse(c, 3, 2.2);
        StrokeLine(p, curl, WithAlpha(hair.darker(140), 110), 1);
    }
}

void CurlyBack(QPainter& p, const QColor& hair) {
    const QPainterPath puffs =
        Curls({{31, 44}, {89, 44}, {33, 34}, {87, 34}, {40, 24}, {80, 24}, {60, 18}}, 9);
    FillHair(p, puffs.simplified(), hair.darker(110));
}

void LongBehind(QPainter& p, const QColor& hair) {
    QPainterPath back;
    back.moveTo(kCentreX, 15);
    back.cubicTo(80, 15, 93, 28, 93, 48);
    back.cubicTo(93, 70, 97, 90, 98, 104);
    back.quadTo(90, 108, 82, 104);
    back.quadTo(74, 108, 66, 103);
    back.lineTo(54, 103);
    back.quadTo(46, 108, 38, 104);
    back.quadTo(30, 108, 22, 104);
    back.cubicTo(23, 90, 27, 70, 27, 48);
    back.cubicTo(27, 28, 40, 15, kCentreX, 15);
    back.closeSubpath();
    FillHair(p, back, hair.darker(112));
}

// Locks of long hair that fall in front of the shoulders, beside the neck.
void LongLocks(QPainter& p, const QColor& hair) {
    for (int side : {-1, 1}) {
        const auto at = [side](qreal dx, qreal y) { return QPointF(kCentreX + side * dx, y); };
        QPainterPath lock(at(33, 44));
        lock.cubicTo(at(34, 70), at(36, 88), at(37, 104));
        lock.quadTo(at(31.5, 108), at(27, 104));
        lock.quadTo(at(22.5, 107), at(19, 101));
        lock.cubicTo(at(25, 90), at(24, 70), at(22, 44));
        lock.closeSubpath();
        FillHair(p, lock, hair);
        QPainterPath strand(at(28, 60));
        strand.quadTo(at(29, 84), at(30, 100));
        StrokeLine(p, strand, WithAlpha(hair.darker(135), 130), 1);
    }
}

void BobBack(QPainter& p, const QColor& hair) {
    QPainterPath bob;
    bob.addRoundedRect(QRectF(28, 22, 64, 58), 24, 24);
    FillHair(p, bob, hair.darker(108));
}

void TwinBuns(QPainter& p, const QColor& hair) {
    for (QPointF c : {QPointF(36, 21), QPointF(84, 21)}) {
        FillHair(p, Circle(c, 11), hair);
        QPainterPath swirl;
        swirl.moveTo(c + QPointF(-6, 1));
        swirl.cubicTo(c + QPointF(-5, -7), c + QPointF(6, -6), c + QPointF(5, 1));
        swirl.quadTo(c + QPointF(3, 5), c + QPointF(-1, 3));
        StrokeLine(p, swirl, WithAlpha(hair.darker(135), 150), 1.1);
    }
    BobBack(p, hair);
}

// --- front layers

void ShortFront(QPainter& p, const QColor& hair) {
    QPainterPath line(QPointF(-4, 52));
    line.lineTo(34, 52);
    line.lineTo(36, 42);
    line.quadTo(42, 32, 52, 31);
    line.quadTo(60, 33, 68, 31);
    line.quadTo(78, 32, 84, 42);
    line.lineTo(86, 52);
    line.lineTo(kBox + 4, 52);
    FillHair(p, CapAbove(line, HeadPath(2.5)), hair);
    Sheen(p, hair, {48, 22}, {58, 18}, {70, 21});
}

void SidePartFront(QPainter& p, const QColor& hair) {
    QPainterPath line(QPointF(-4, 54));
    line.lineTo(34, 54);
    line.lineTo(35.5, 44);
    line.quadTo(38, 33, 45, 29);
    line.cubicTo(55, 33, 70, 35, 83, 43);
    line.lineTo(85.5, 53);
    line.lineTo(kBox + 4, 53);
    QPainterPath volume = HeadPath(3);
    volume.translate(0, -1);
    FillHair(p, CapAbove(line, volume), hair);
    // The parting, and the swept fringe.
    QPainterPath part(QPointF(45, 29));
    part.quadTo(45.5, 23, 48, 18.5);
    StrokeLine(p, part, WithAlpha(hair.lighter(160), 150), 1.1);
    QPainterPath sweep(QPointF(50, 27));
    sweep.cubicTo(60, 28, 72, 31, 80, 38);
    StrokeLine(p, sweep, WithAlpha(hair.lighter(150), 90), 1.2);
    Sheen(p, hair, {54, 21}, {64, 18}, {75, 23});
}

void AfroFront(QPainter& p, const QColor& hair) {
    QPainterPath line(QPointF(-4, 56));
    line.lineTo(34, 56);
    line.lineTo(35, 46);
    line.quadTo(40, 32, kCentreX, 31);
    line.quadTo(80, 32, 85, 46);
    line.lineTo(86, 56);
    line.lineTo(kBox + 4, 56);
    FillHair(p, CapAbove(line, HeadPath(3)), hair);
}

void CurlyFront(QPainter& p, const QColor& hair) {
    QPainterPath line(QPointF(-4, 50));
    line.lineTo(35, 50);
    line.quadTo(42, 34, kCentreX, 33);
    line.quadTo(78, 34, 85, 50);
    line.lineTo(kBox + 4, 50);
    QPainterPath shape = CapAbove(line, HeadPath(3));
    // Curls along the crown and a curly fringe.
    const QList<QPointF> crown = ArcPoints(QPointF(kCentreX, 47), 26, 28, 192, 348, 8);
    const QList<QPointF> fringe = {{42, 35}, {51, 32}, {60, 31.5}, {69, 32}, {78, 35}};
    shape = shape.united(Curls(crown, 6.5)).united(Curls(fringe, 5.2)).simplified();
    FillHair(p, shape, hair);
    for (QPointF c : fringe + crown) {
        QPainterPath curl(c + QPointF(-2.5, 1.5));
        curl.quadTo(c + QPointF(0, -3.2), c + QPointF(2.6, 0.6));
        StrokeLine(p, curl, WithAlpha(hair.lighter(165), 120), 1);
    }
}

void LongFront(QPainter& p, const QColor& hair) {
    QPainterPath line(QPointF(-4, 76));
    line.lineTo(30, 76);
    line.lineTo(32.5, 52);
    line.cubicTo(34, 36, 48, 29, kCentreX, 25);
    line.cubicTo(72, 29, 86, 36, 87.5, 52);
    line.lineTo(90, 76);
    line.lineTo(kBox + 4, 76);
    QPainterPath volume = HeadPath(3);
    QPainterPath sides;
    sides.addRoundedRect(QRectF(28.5, 40, 63, 38), 6, 6);
    volume = volume.united(sides);
    FillHair(p, CapAbove(line, volume), hair);
    QPainterPath part(QPointF(kCentreX, 19));
    part.lineTo(kCentreX, 25);
    StrokeLine(p, part, WithAlpha(hair.darker(130), 160), 1);
    Sheen(p, hair, {42, 28}, {48, 21}, {56, 19});
    Sheen(p, hair, {64, 19}, {72, 21}, {78, 28});
}

void BangsFront(QPainter& p, const QColor& hair) {
    // Blunt bangs with soft scallops, over a bob.
    QPainterPath line(QPointF(-4, 62));
    line.lineTo(31, 62);
    line.lineTo(33, 46);
    line.lineTo(37, 39);
    qreal x = 37;
    for (int i = 0; i < 5; ++i) {
        const qreal next = x + 9.2;
        line.quadTo((x + next) / 2, 41.5, next, 38.5);
        x = next;
    }
    line.lineTo(87, 46);
    line.lineTo(89, 62);
    line.lineTo(kBox + 4, 62);
    QPainterPath volume = HeadPath(3);
    QPainterPath sides;
    sides.addRoundedRect(QRectF(29, 40, 62, 24), 6, 6);
    FillHair(p, CapAbove(line, volume.united(sides)), hair);
    Sheen(p, hair, {46, 24}, {58, 19}, {72, 23});
}

void TousledFront(QPainter& p, const QColor& hair) {
    QPainterPath line(QPointF(-4, 52));
    line.lineTo(34, 48);
    line.quadTo(35, 42, 38, 39);
    // A jagged fringe.
    const QList<QPointF> zig = {{42, 43}, {46, 38}, {50, 44}, {55, 38}, {59, 43.5},
                                {64, 38}, {68, 43}, {73, 38}, {77, 42}, {81, 38}};
    for (QPointF z : zig) line.lineTo(z);
    line.quadTo(85, 42, 86, 48);
    line.lineTo(kBox + 4, 48);
    QPainterPath volume = HeadPath(3.5);
    // Tufts sticking up from the crown.
    QPainterPath tufts;
    tufts.moveTo(44, 24);
    tufts.lineTo(46, 12);
    tufts.lineTo(52, 19);
    tufts.lineTo(58, 9);
    tufts.lineTo(63, 18);
    tufts.lineTo(71, 11);
    tufts.lineTo(72, 21);
    tufts.lineTo(80, 20);
    tufts.lineTo(78, 30);
    tufts.closeSubpath();
    FillHair(p, CapAbove(line, volume.united(tufts)), hair);
    Sheen(p, hair, {50, 22}, {58, 18}, {66, 22});
}

}  // namespace

void PaintHairBehind(QPainter& p, const PortraitDescription& d) {
    if (d.hair_style == "long") LongBehind(p, d.hair);
}

void PaintHairBack(QPainter& p, const PortraitDescription& d) {
    const QString& s = d.hair_style;
    if (s == "afro") AfroBack(p, d.hair);
    else if (s == "curly") CurlyBack(p, d.hair);
    else if (s == "long") LongLocks(p, d.hair);
    else if (s == "twin-buns") TwinBuns(p, d.hair);
}

void PaintHairFront(QPainter& p, const PortraitDescription& d) {
    const QString& s = d.hair_style;
    if (s == "short") ShortFront(p, d.hair);
    else if (s == "side-part") SidePartFront(p, d.hair);
    else if (s == "afro") AfroFront(p, d.hair);
    else if (s == "curly") CurlyFront(p, d.hair);
    else if (s == "long") LongFront(p, d.hair);
    else if (s == "twin-buns") BangsFront(p, d.hair);
    else if (s == "tousled") TousledFront(p, d.hair);
    // "bald": a light sheen only.
    else Sheen(p, d.skin, {48, 26}, {58, 22}, {68, 25});
}

}  // namespace kvt::portraits
