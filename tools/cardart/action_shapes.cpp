#include "tools/cardart/action_shapes.h"

#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "tools/cardart/card_style.h"
#include "tools/cardart/group_symbols.h"
#include "tools/cardart/ink.h"

namespace kvt::cardart::shapes {
namespace {

constexpr qreal kDegree = std::numbers::pi / 180;

Layer Ink(QPainterPath shape, bool outlined = true) {
    return {std::move(shape), Layer::Fill::Ink, {}, outlined};
}

QPainterPath ArrowHead(QPointF base, QPointF direction, qreal length, qreal half_width) {
    const QPointF normal(-direction.y(), direction.x());
    QPainterPath head;
    head.moveTo(base + normal * half_width);
    head.lineTo(base + direction * length);
    head.lineTo(base - normal * half_width);
    head.closeSubpath();
    return head;
}

// An arc on a circle about (50, 50) run clockwise, with its head at the end.
QPainterPath ArcArrow(qreal radius, qreal start_deg, qreal sweep_deg, qreal width) {
    const QRectF circle(50 - radius, 50 - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(circle, start_deg);
    arc.arcTo(circle, start_deg, -sweep_deg);
    const qreal end = (start_deg - sweep_deg) * kDegree;
    const QPointF tip_base(50 + radius * std::cos(end), 50 - radius * std::sin(end));
    const QPointF clockwise(std::sin(end), std::cos(end));
    return Stroked(arc, width).united(ArrowHead(tip_base, clockwise, width * 2, width * 1.45));
}

// A playing card seen from the front: white with a panel in the card's colour.
Drawing CardIcon(QPointF centre, qreal angle, qreal width = 34, qreal height = 48) {
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(angle);
    QPainterPath body;
    body.addRoundedRect(QRectF(-width / 2, -height / 2, width, height), 5, 5);
    QPainterPath panel;
    const qreal inset = width * 0.14;
    panel.addRoundedRect(QRectF(-width / 2 + inset, -height / 2 + inset, width - 2 * inset,
                                height - 2 * inset),
                         3, 3);
    return {Ink(t.map(body)), Layer{t.map(panel), Layer::Fill::Tint, {}, false}};
}

Drawing Transformed(Drawing drawing, const QTransform& t) {
    for (Layer& layer : drawing) layer.shape = t.map(layer.shape);
    return drawing;
}

// The drawings are made for the left-hand player; the others are mirrored or turned.
Drawing Oriented(Drawing left_version, Side side) {
    QTransform t;
    t.translate(50, 50);
    if (side == Side::Right) t.scale(-1, 1);
    if (side == Side::Across) t.rotate(90);
    t.translate(-50, -50);
    return Transformed(std::move(left_version), t);
}

QPainterPath StraightArrow(QPointF tail, QPointF tip, qreal shaft, qreal head_length,
                           qreal head_half_width) {
    QPointF d = tip - tail;
    d /= std::hypot(d.x(), d.y());
    const QPointF head_base = tip - d * head_length;
    QPainterPath line;
    line.moveTo(tail);
    line.lineTo(head_base + d * 2);
    return Stroked(line, shaft).united(ArrowHead(head_base, d, head_length, head_half_width));
}

QPainterPath Hand() {
    // A mitten-like hand reaching left, fingers closed over what it holds.
    QPainterPath palm;
    palm.addRoundedRect(QRectF(56, 50, 30, 30), 12, 12);
    QPainterPath fingers;
    for (auto [from, to] : {std::pair{QPointF(62, 56), QPointF(41, 53)},
                            std::pair{QPointF(62, 64.5), QPointF(39, 63)},
                            std::pair{QPointF(62, 73), QPointF(43, 73)}}) {
        QPainterPath f;
        f.moveTo(from);
        f.lineTo(to);
        fingers.addPath(Stroked(f, 9));
    }
    QPainterPath thumb;
    thumb.moveTo(66, 54);
    thumb.quadTo(58, 42, 47, 40);
    QPainterPath sleeve;
    sleeve.addRoundedRect(QRectF(80, 54, 22, 26), 3, 3);
    return palm.united(fingers.simplified()).united(Stroked(thumb, 9)).united(sleeve);
}

}  // namespace

Drawing Skip() {
    QPainterPath ring;
    ring.addEllipse(QPointF(50, 50), 36, 36);
    QPainterPath bar;
    const qreal d = 36 * std::cos(45 * kDegree);
    bar.moveTo(50 - d, 50 - d);
    bar.lineTo(50 + d, 50 + d);
    return {Ink(Stroked(ring, 13).united(Stroked(bar, 13)))};
}

Drawing Reverse() {
    return {Ink(ArcArrow(32, 168, 118, 11).united(ArcArrow(32, 348, 118, 11)))};
}

Drawing PlayAgain(bool with_card) {
    // The turn comes round to the same player: one arrow all the way round.
    Drawing d{Ink(ArcArrow(35, 80, 292, 11))};
    if (with_card)
        for (Layer& l : CardIcon({50, 51}, 0, 24, 33)) d.push_back(std::move(l));
    return d;
}

Drawing PassArrow(Side toward) {
    return Oriented({Ink(StraightArrow({94, 50}, {6, 50}, 24, 42, 40))}, toward);
}

Drawing TakeArrow(Side from) {
    QPainterPath bend;
    bend.moveTo(8, 26);
    bend.lineTo(48, 26);
    bend.quadTo(66, 26, 66, 44);
    bend.lineTo(66, 56);
    return Oriented({Ink(Stroked(bend, 20).united(ArrowHead({66, 56}, {0, 1}, 40, 34)))}, from);
}

Drawing PassCard(Side toward) {
    Drawing d = CardIcon({70, 52}, 10);
    d.push_back(Ink(StraightArrow({58, 52}, {5, 52}, 15, 26, 22)));
    return Oriented(std::move(d), toward);
}

Drawing TakeCard(Side from) {
    Drawing d = CardIcon({30, 50}, -12);
    d.push_back(Ink(Hand()));
    return Oriented(std::move(d), from);
}

Drawing DiscardCards(int count) {
    const int n = std::clamp(count, 1, 3);
    Drawing d;
    for (int i = 0; i < n; ++i) {
        const qreal angle = n == 1 ? 0 : -16 + 32.0 * i / (n - 1);
        QTransform t;
        t.translate(44, 94);
        t.rotate(angle);
        t.translate(-44, -94);
        for (Layer& l : CardIcon({44, 46}, 0, 36, 52)) {
            l.shape = t.map(l.shape);
            d.push_back(std::move(l));
        }
    }
    QPainterPath badge;
    badge.addEllipse(QPointF(74, 76), 18, 18);
    d.push_back({badge, Layer::Fill::Shade, {}, true});
    QPainterPath minus;
    minus.moveTo(65, 76);
    minus.lineTo(83, 76);
    d.push_back(Ink(Stroked(minus, 7), false));
    return d;
}

Drawing FourColourWheel(QPointF centre, qreal radius, bool with_symbols) {
    Drawing d;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Groups 1..4 clockwise from the top left; Qt angles run counter-clockwise.
    const std::array<qreal, 4> start{90, 0, 270, 180};
    for (int g = 0; g < 4; ++g) {
        QPainterPath slice;
        slice.moveTo(centre);
        slice.arcTo(box, start[g], 90);
        slice.closeSubpath();
        d.push_back({slice, Layer::Fill::Fixed, GroupColor(g + 1), false});
    }
    QPainterPath rim;
    rim.addEllipse(centre, radius, radius);
    QPainterPath cross;
    cross.moveTo(centre.x() - radius, centre.y());
    cross.lineTo(centre.x() + radius, centre.y());
    cross.moveTo(centre.x(), centre.y() - radius);
    cross.lineTo(centre.x(), centre.y() + radius);
    const qreal line = std::max<qreal>(3, radius * 0.1);
    d.push_back(Ink(Stroked(rim, line).united(Stroked(cross, line).intersected(rim))));
    if (with_symbols) {
        const std::array<QPointF, 4> where{QPointF(-1, -1), QPointF(1, -1), QPointF(1, 1),
                                           QPointF(-1, 1)};
        const qreal size = radius * 0.62;
        for (int g = 0; g < 4; ++g) {
            const QPointF c = centre + where[g] * (radius * 0.43);
            const QRectF target(c.x() - size / 2, c.y() - size / 2, size, size);
            d.push_back(Ink(FitDesignBox(GroupSymbol(g + 1), target), false));
        }
    }
    return d;
}

Drawing Label(const QString& text, qreal size, QPointF centre) {
    QPainterPath shape = TextShape(text, size, centre);
    if (text == QLatin1String("6") || text == QLatin1String("9")) {
        const QRectF glyph = shape.boundingRect();
        const qreal w = glyph.width() * 0.62;
        const qreal h = size * 0.075;
        QPainterPath bar;
        bar.addRoundedRect(QRectF(glyph.center().x() - w / 2, glyph.bottom() + size * 0.07, w, h),
                           h / 2, h / 2);
        shape = shape.united(bar).translated(0, -(size * 0.07 + h) / 2);
    }
    // Long labels are narrowed to keep inside the box.
    const QRectF box = shape.boundingRect();
    if (box.width() > 94) {
        QTransform t;
        const qreal k = 94 / box.width();
        t.translate(centre.x(), centre.y());
        t.scale(k, k);
        t.translate(-centre.x(), -centre.y());
        shape = t.map(shape);
    }
    return {Ink(shape)};
}

}  // namespace kvt::cardart::shapes
