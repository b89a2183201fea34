#include "tools/cardart/group_symbols.h"

#include <QTransform>
#include <cmath>
#include <numbers>

#include "tools/cardart/ink.h"

namespace kvt::cardart {
namespace {

QPainterPath Flame(bool detailed) {
    QPainterPath outer;
    outer.moveTo(50, 97);
    outer.cubicTo(27, 97, 12, 82, 14, 62);
    outer.cubicTo(15, 48, 23, 40, 19, 22);
    outer.cubicTo(30, 29, 36, 37, 38, 46);
    outer.cubicTo(42, 31, 57, 20, 50, 1);
    outer.cubicTo(63, 11, 69, 25, 65, 40);
    outer.cubicTo(72, 34, 79, 30, 83, 18);
    outer.cubicTo(91, 34, 89, 50, 87, 62);
    outer.cubicTo(85, 83, 71, 97, 50, 97);
    outer.closeSubpath();
    if (!detailed) return outer;
    // The inner tongue is cut out so the flame keeps its shape small.
    QPainterPath tongue;
    tongue.moveTo(50, 89);
    tongue.cubicTo(40, 89, 34, 81, 36, 72);
    tongue.cubicTo(38, 64, 46, 61, 48, 51);
    tongue.cubicTo(57, 58, 65, 67, 63, 78);
    tongue.cubicTo(62, 85, 57, 89, 50, 89);
    tongue.closeSubpath();
    return outer.subtracted(tongue);
}

QPainterPath Sun() {
    QPainterPath sun;
    sun.addEllipse(QPointF(50, 50), 23, 23);
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4;
        const double side = std::numbers::pi / 14;
        auto at = [a](double angle_offset, double radius) {
            return QPointF(50 + radius * std::cos(a + angle_offset),
                           50 + radius * std::sin(a + angle_offset));
        };
        QPainterPath ray;
        ray.moveTo(at(-side, 29));
        ray.lineTo(at(0, 49));
        ray.lineTo(at(side, 29));
        ray.closeSubpath();
        sun.addPath(ray);
    }
    return sun.simplified();
}

QPainterPath Leaf(bool detailed) {
    QPainterPath blade;
    blade.moveTo(50, 4);
    blade.cubicTo(80, 22, 86, 58, 50, 86);
    blade.cubicTo(14, 58, 20, 22, 50, 4);
    blade.closeSubpath();
    QPainterPath stem;
    stem.moveTo(50, 80);
    stem.lineTo(50, 97);
    QPainterPath vein;
    vein.moveTo(50, 20);
    vein.lineTo(50, 84);
    QPainterPath leaf = blade.united(Stroked(stem, detailed ? 7 : 12));
    if (detailed) leaf = leaf.subtracted(Stroked(vein, 5));
    // A slight lean reads as a living leaf rather than a spade-like token.
    QTransform lean;
    lean.translate(50, 50);
    lean.rotate(28);
    lean.scale(0.94, 0.94);
    lean.translate(-50, -50);
    return lean.map(leaf);
}

QPainterPath Moon() {
    QPainterPath disc;
    disc.addEllipse(QPointF(48, 52), 43, 43);
    QPainterPath bite;
    bite.addEllipse(QPointF(68, 38), 36, 36);
    return disc.subtracted(bite);
}

}  // namespace

QPainterPath GroupSymbol(int group, bool detailed) {
    if (group <= 0) return {};
    switch ((group - 1) % 4) {
        case 0: return Flame(detailed);
        case 1: return Sun();
        case 2: return Leaf(detailed);
        default: return Moon();
    }
}

}  // namespace kvt::cardart
