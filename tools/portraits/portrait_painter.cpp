#include "tools/portraits/portrait_painter.h"

#include <QFont>
#include <QPainter>
#include <QtMath>

#include "tools/portraits/accessories.h"
#include "tools/portraits/hair_styles.h"
#include "tools/portraits/outfits.h"
#include "tools/portraits/paint_kit.h"
#include "tools/portraits/portrait_description.h"

namespace kvt::portraits {

namespace {

void Fill(QPainter& p, const QPainterPath& shape, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(shape);
}

void PaintBackground(QPainter& p, const PortraitDescription& d) {
    QRadialGradient g(QPointF(kCentreX, 48), 90);
    g.setColorAt(0, d.background.lighter(112));
    g.setColorAt(1, d.background.darker(110));
    p.fillRect(QRectF(0, 0, kBox, kBox), g);

    const QColor soft(255, 255, 255, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(soft);
    const QString& b = d.backdrop;
    if (b == "dots") {
        for (int row = 0; row < 11; ++row)
            for (int col = 0; col < 11; ++col)
                p.drawEllipse(QPointF(col * 12 + (row % 2) * 6 + 3, row * 12 + 4), 1.6, 1.6);
    } else if (b == "rays") {
        const QPointF c(kCentreX, 52);
        for (int i = 0; i < 16; i += 2) {
            QPainterPath wedge(c);
            for (int k = 0; k <= 4; ++k) {
                const qreal a = qDegreesToRadians(22.5 * (i + k / 4.0));
                wedge.lineTo(c + QPointF(120 * qCos(a), 120 * qSin(a)));
            }
            wedge.closeSubpath();
            p.drawPath(wedge);
        }
    } else if (b == "stripes") {
        for (int i = -12; i < 12; ++i) {
            QPainterPath stripe;
            const qreal x = i * 16;
            stripe.moveTo(x, 0);
            stripe.lineTo(x + 7, 0);
            stripe.lineTo(x + 7 + kBox, kBox);
            stripe.lineTo(x + kBox, kBox);
            stripe.closeSubpath();
            p.drawPath(stripe);
        }
    } else if (b == "bubbles") {
        const struct { qreal x, y, r; } bubbles[] = {
            {14, 18, 10}, {104, 14, 7}, {100, 52, 13}, {12, 70, 8}, {28, 40, 4}, {94, 86, 5},
            {20, 100, 6}};
        for (const auto& c : bubbles) p.drawEllipse(QPointF(c.x, c.y), c.r, c.r);
    }
}

void PaintEars(QPainter& p, const PortraitDescription& d) {
    for (int side : {-1, 1}) {
        const QPointF c(kCentreX + side * 26.5, kEarY);
        QPainterPath ear;
        ear.addEllipse(c, 4.6, 7);
        Fill(p, ear, d.skin.darker(104));
        QPainterPath inner(c + QPointF(side * -0.8, -3.5));
        inner.quadTo(c + QPointF(side * 2.8, 0), c + QPointF(side * -0.5, 3.5));
        StrokeLine(p, inner, d.skin.darker(125), 1.1);
    }
}

void PaintHead(QPainter& p, const PortraitDescription& d) {
    QRadialGradient g(QPointF(54, 44), 40);
    g.setColorAt(0, d.skin.lighter(106));
    g.setColorAt(1, d.skin.darker(106));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(HeadPath());
}

void PaintEyes(QPainter& p, const PortraitDescription& d) {
    for (int side : {-1, 1}) {
        const QPointF c(kCentreX + side * kEyeDx, kEyeY);
        if (d.eye_style == "happy") {
            // Closed, smiling eyes.
            QPainterPath arc(c + QPointF(-3.2, 1));
            arc.quadTo(c + QPointF(0, -3.6), c + QPointF(3.2, 1));
            StrokeLine(p, arc, d.eyes, 1.8);
            continue;
        }
        if (d.eye_style == "wide") {
            QPainterPath white;
            white.addEllipse(c, 4.4, 4.1);
            Fill(p, white, QColor("#fbfbf8"));
            Fill(p, Circle(c + QPointF(0, 0.3), 2.9), d.eyes);
            Fill(p, Circle(c + QPointF(0, 0.3), 1.4), d.eyes.darker(200));
            Fill(p, Circle(c + QPointF(1.1, -0.9), 1.0), Qt::white);
            StrokeLine(p, white, d.eyes.darker(150), 0.6);
            continue;
        }
        QPainterPath eye;
        eye.addEllipse(c, 2.7, 3.3);
        Fill(p, eye, d.eyes);
        Fill(p, Circle(c + QPointF(1.0, -1.3), 1.05), QColor(255, 255, 255, 235));
    }
}

void PaintBrows(QPainter& p, const PortraitDescription& d) {
    const QColor c = d.hair_style == "bald" ? d.skin.darker(150) : d.hair.darker(115);
    for (int side : {-1, 1}) {
        const qreal x = kCentreX + side * kEyeDx;
        QPainterPath brow;
        qreal width = 1.8;
        if (d.brows == "raised") {
            brow.moveTo(x - side * 4.2, kBrowY - 1);
            brow.quadTo(x, kBrowY - 4.5, x + side * 4.5, kBrowY - 1.5);
        } else if (d.brows == "bold") {
            // Lower at the inner end: a determined look.
            brow.moveTo(x - side * 4.5, kBrowY + 1);
            brow.quadTo(x, kBrowY - 2.2, x + side * 4.8, kBrowY - 1.2);
            width = 2.5;
        } else {
            brow.moveTo(x - side * 4.2, kBrowY);
            brow.quadTo(x, kBrowY - 2.5, x + side * 4.4, kBrowY - 0.5);
        }
        StrokeLine(p, brow, c, width);
    }
}

void PaintNoseAndCheeks(QPainter& p, const PortraitDescription& d) {
    QPainterPath nose(QPointF(kCentreX - 2.2, 59.5));
    nose.quadTo(kCentreX, 61.6, kCentreX + 2.2, 59.5);
    StrokeLine(p, nose, d.skin.darker(135), 1.3);
    QPainterPath bridge(QPointF(kCentreX + 1.2, 53));
    bridge.quadTo(kCentreX + 2.4, 56.5, kCentreX + 2.2, 58.5);
    StrokeLine(p, bridge, WithAlpha(d.skin.darker(125), 120), 0.9);

    const QColor blush = WithAlpha(Mix(d.skin, QColor("#ff5a6e"), 0.55), 80);
    for (int side : {-1, 1}) {
        QPainterPath cheek;
        cheek.addEllipse(QPointF(kCentreX + side * 15, 62.5), 4.8, 2.9);
        Fill(p, cheek, blush);
    }
}

void PaintMouth(QPainter& p, const PortraitDescription& d) {
    const QColor lips = Mix(d.skin.darker(150), QColor("#8c2e34"), 0.55);
    const QString& m = d.mouth;
    const qreal y = kMouthY;
    if (m == "grin") {
        QPainterPath open(QPointF(kCentreX - 7.5, y - 1));
        open.quadTo(kCentreX, y + 0.6, kCentreX + 7.5, y - 1);
        open.quadTo(kCentreX + 6.5, y + 7.5, kCentreX, y + 7.5);
        open.quadTo(kCentreX - 6.5, y + 7.5, kCentreX - 7.5, y - 1);
        open.closeSubpath();
        Fill(p, open, lips.darker(140));
        QPainterPath tongue;
        tongue.addEllipse(QPointF(kCentreX, y + 7), 4.2, 2.6);
        Fill(p, tongue.intersected(open), QColor("#e0707a"));
        QPainterPath teeth;
        teeth.addRect(QRectF(kCentreX - 8, y - 2, 16, 3.6));
        Fill(p, teeth.intersected(open), QColor("#fbfbf6"));
        return;
    }
    if (m == "open") {
        QPainterPath o;
        o.addEllipse(QPointF(kCentreX, y + 1.5), 3.4, 3.8);
        Fill(p, o, lips.darker(135));
        QPainterPath tongue;
        tongue.addEllipse(QPointF(kCentreX, y + 4.3), 2.6, 1.6);
        Fill(p, tongue.intersected(o), QColor("#e0707a"));
        return;
    }
    QPainterPath line;
    if (m == "calm") {
        line.moveTo(kCentreX - 4, y + 0.5);
        line.quadTo(kCentreX, y + 2.4, kCentreX + 4, y + 0.5);
    } else if (m == "smirk") {
        line.moveTo(kCentreX - 5, y + 1.2);
        line.quadTo(kCentreX + 1, y + 3.2, kCentreX + 6.5, y - 1.2);
    } else {  // smile
        line.moveTo(kCentreX - 6.5, y - 0.5);
        line.quadTo(kCentreX, y + 5.5, kCentreX + 6.5, y - 0.5);
    }
    StrokeLine(p, line, lips, 1.8);
}

// The neutral stand-in for the human player: a soft figure with a caption.
void PaintFigure(QPainter& p, const PortraitDescription& d) {
    const QColor body = d.top;
    QLinearGradient g(0, kShoulderY, 0, kBox);
    g.setColorAt(0, body.lighter(112));
    g.setColorAt(1, body.darker(110));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(BodyPath());

    QPainterPath neck;
    neck.addRoundedRect(QRectF(49.5, 66, 21, 26), 8, 8);
    Fill(p, neck, body.lighter(125));

    QRadialGradient hg(QPointF(52, 42), 42);
    hg.setColorAt(0, body.lighter(160));
    hg.setColorAt(1, body.lighter(128));
    p.setPen(Qt::NoPen);
    p.setBrush(hg);
    p.drawEllipse(QPointF(kCentreX, 51), 24.5, 27);

    if (!d.caption.isEmpty()) {
        QFont font("DejaVu Sans");
        font.setBold(true);
        font.setPixelSize(19);
        p.setFont(font);
        p.setPen(QColor(0, 0, 0, 60));
        p.drawText(QRectF(0, 95, kBox, 24).translated(0.8, 0.8), Qt::AlignCenter, d.caption);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 95, kBox, 24), Qt::AlignCenter, d.caption);
    }
}

}  // namespace

QImage PaintPortrait(const PortraitDescription& d, int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(d.background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / kBox, size / kBox);

    PaintBackground(p, d);
    if (d.figure == "figure") {
        PaintFigure(p, d);
        return image;
    }
    PaintHairBehind(p, d);
    PaintBody(p, d);
    PaintHairBack(p, d);
    PaintNeckAndCollar(p, d);
    PaintBodyAccessories(p, d);
    PaintEars(p, d);
    PaintEarAccessories(p, d);
    PaintHead(p, d);
    PaintNoseAndCheeks(p, d);
    PaintFreckles(p, d);
    PaintBeard(p, d);
    PaintMouth(p, d);
    PaintMoustache(p, d);
    PaintEyes(p, d);
    PaintBrows(p, d);
    PaintHairFront(p, d);
    PaintGlasses(p, d);
    PaintHeadwear(p, d);
    return image;
}

}  // namespace kvt::portraits
