#include "tools/cardart/back_painter.h"

#include <QPainter>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

#include "core/card.h"
#include "tools/cardart/card_style.h"
#include "tools/cardart/face_painter.h"
#include "tools/cardart/ink.h"

namespace kvt::cardart {
namespace {

const QColor kGold(0xE9, 0xC7, 0x6E);
const QColor kIndigo(0x1A, 0x22, 0x5E);

QPainterPath PanelPath() {
    QPainterPath path;
    path.addRoundedRect(PanelRect(), kPanelRadius, kPanelRadius);
    return path;
}

void PaintLattice(QPainter& p) {
    p.save();
    p.setClipPath(PanelPath());
    QRadialGradient ground(QPointF(kFaceWidth / 2.0, kFaceHeight / 2.0), 60);
    ground.setColorAt(0, kIndigo.lighter(150));
    ground.setColorAt(1, kIndigo.darker(130));
    p.fillRect(PanelRect(), ground);
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 46), 0.8));
    const qreal step = 7;
    for (qreal s = -kFaceHeight; s < kFaceWidth + kFaceHeight; s += step) {
        p.drawLine(QPointF(s, 0), QPointF(s + kFaceHeight, kFaceHeight));
        p.drawLine(QPointF(s, kFaceHeight), QPointF(s + kFaceHeight, 0));
    }
    p.restore();
    p.save();
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 170), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(PanelRect().adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
    p.restore();
}

// One point of the rose, lit from the left: a light and a dark half.
void PaintRosePoint(QPainter& p, QPointF centre, qreal angle_deg, qreal length, qreal half_width,
                    QColor colour) {
    const qreal a = angle_deg * std::numbers::pi / 180;
    const QPointF dir(std::cos(a), std::sin(a));
    const QPointF side(-dir.y(), dir.x());
    const QPointF tip = centre + dir * length;
    const QPointF base = centre + dir * (length * 0.22);
    QPainterPath left;
    left.moveTo(centre);
    left.lineTo(base + side * half_width);
    left.lineTo(tip);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(centre);
    right.lineTo(base - side * half_width);
    right.lineTo(tip);
    right.closeSubpath();
    const QColor edge = colour.darker(250);
    p.save();
    p.setPen(QPen(edge, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour.lighter(125));
    p.drawPath(left);
    p.setBrush(colour.darker(135));
    p.drawPath(right);
    p.restore();
}

void PaintRose(QPainter& p, QPointF c) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 150), 1.1));
    p.drawEllipse(c, 21, 21);
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 80), 0.7));
    p.drawEllipse(c, 23.5, 23.5);
    p.restore();
    for (int i = 0; i < 4; ++i) PaintRosePoint(p, c, 45 + 90 * i, 23, 5, kGold);
    // The four winds in the four group colours, north first, clockwise. The
    // card is narrower than tall, so east and west are shorter.
    for (int i = 0; i < 4; ++i)
        PaintRosePoint(p, c, -90 + 90 * i, i % 2 == 0 ? 38 : 29, 7.5, GroupColor(i + 1));
}

// A small four-pointed gold star for the corners of the back.
void PaintStar(QPainter& p, QPointF c, qreal size) {
    QPainterPath star;
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * std::numbers::pi / 4 - std::numbers::pi / 2;
        const qreal r = i % 2 == 0 ? size : size * 0.3;
        const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * r;
        if (i == 0) star.moveTo(pt); else star.lineTo(pt);
    }
    star.closeSubpath();
    p.fillPath(star, kGold);
}

void PaintMonogram(QPainter& p, QPointF c) {
    p.save();
    QRadialGradient disc(c - QPointF(3, 3), 18);
    disc.setColorAt(0, kIndigo.lighter(170));
    disc.setColorAt(1, kIndigo.darker(120));
    p.setBrush(disc);
    p.setPen(QPen(kGold, 1.6));
    p.drawEllipse(c, 13.5, 13.5);
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 120), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 11.3, 11.3);
    p.restore();
    QPainterPath letters = TextShape(QStringLiteral("KVT"), 9.5, c);
    DrawInked(p, letters, Ink{QColor(0xFF, 0xF4, 0xD6), kIndigo.darker(200), 1.2, {0.6, 0.8}, 120});
}

}  // namespace

void PaintCardBack(QPainter& p) {
    PaintCardBody(p);
    PaintLattice(p);
    const QPointF centre(kFaceWidth / 2.0, kFaceHeight / 2.0);
    const QRectF inner = PanelRect().adjusted(7.5, 7.5, -7.5, -7.5);
    for (QPointF corner : {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()})
        PaintStar(p, corner, 3.6);
    PaintRose(p, centre);
    PaintMonogram(p, centre);
}

}  // namespace kvt::cardart
