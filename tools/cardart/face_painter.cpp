#include "tools/cardart/face_painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "tools/cardart/card_style.h"
#include "tools/cardart/group_symbols.h"
#include "tools/cardart/ink.h"

namespace kvt::cardart {
namespace {

constexpr qreal kW = kFaceWidth;
constexpr qreal kH = kFaceHeight;

QColor OutlineFor(QColor panel) { return panel.darker(panel.lightness() > 100 ? 260 : 190); }

QPainterPath PanelPath() {
    QPainterPath path;
    path.addRoundedRect(PanelRect(), kPanelRadius, kPanelRadius);
    return path;
}

void PaintPanel(QPainter& p, QColor colour) {
    QLinearGradient fill(0, 0, kW * 0.55, kH);
    fill.setColorAt(0, colour.lighter(122));
    fill.setColorAt(0.55, colour);
    fill.setColorAt(1, colour.darker(128));
    p.fillPath(PanelPath(), fill);
}

// A faint oversized symbol behind the mark: texture, and a second colour cue.
void PaintWatermark(QPainter& p, int group) {
    const QPainterPath symbol = GroupSymbol(group);
    if (symbol.isEmpty()) return;
    p.save();
    p.setClipPath(PanelPath());
    const QRectF box(kW / 2 - 34, kH / 2 - 34, 68, 68);
    p.fillPath(FitDesignBox(symbol, box), QColor(255, 255, 255, 30));
    p.restore();
}

// Light falling from the top left, and a fine bright rim along the panel edge.
void PaintShine(QPainter& p) {
    p.save();
    p.setClipPath(PanelPath());
    QRadialGradient glow(QPointF(12, 8), 58);
    glow.setColorAt(0, QColor(255, 255, 255, 70));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(PanelRect(), glow);
    QPainterPath gloss;
    gloss.moveTo(PanelRect().topLeft());
    gloss.lineTo(kW * 0.92, 0);
    gloss.cubicTo(kW * 0.55, kH * 0.22, kW * 0.3, kH * 0.38, 0, kH * 0.42);
    gloss.closeSubpath();
    p.fillPath(gloss, QColor(255, 255, 255, 18));
    p.restore();
    p.save();
    p.setPen(QPen(QColor(255, 255, 255, 55), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(PanelRect().adjusted(0.5, 0.5, -0.5, -0.5), kPanelRadius - 0.5,
                      kPanelRadius - 0.5);
    p.restore();
}

void PaintCorner(QPainter& p, const Card& card, QColor panel) {
    PaintDrawing(p, CornerMark(card), QRectF(3.5, 5, 14, 14), panel, 1.4, false);
    PaintDrawing(p, CornerSymbol(card), QRectF(5, 21, 11, 11), panel, 1.1, false);
}

}  // namespace

QRectF PanelRect() { return QRectF(3, 3, kW - 6, kH - 6); }

void PaintCardBody(QPainter& p) {
    QPainterPath body;
    body.addRoundedRect(QRectF(0, 0, kW, kH), 6, 6);
    QLinearGradient paper(0, 0, 0, kH);
    paper.setColorAt(0, QColor(0xFF, 0xFE, 0xFA));
    paper.setColorAt(1, QColor(0xEC, 0xEA, 0xE4));
    p.fillPath(body, paper);
    p.save();
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, kW - 1, kH - 1), 5.5, 5.5);
    p.restore();
}

void PaintDrawing(QPainter& p, const Drawing& drawing, const QRectF& target, QColor panel,
                  qreal outline_width, bool shadow) {
    const QColor outline = OutlineFor(panel);
    for (const Layer& layer : drawing) {
        QColor fill = Qt::white;
        switch (layer.fill) {
            case Layer::Fill::Ink: break;
            case Layer::Fill::Tint: fill = panel; break;
            case Layer::Fill::Shade: fill = panel.darker(135); break;
            case Layer::Fill::Fixed: fill = layer.fixed; break;
        }
        Ink ink{fill, layer.outlined ? outline : QColor(), outline_width, {}, 0};
        if (shadow && layer.outlined) {
            ink.shadow_offset = QPointF(1.0, 1.4);
            ink.shadow_alpha = 80;
        }
        DrawInked(p, FitDesignBox(layer.shape, target), ink);
    }
}

void PaintFace(QPainter& p, const Card& card) {
    const QColor panel = GroupColor(card.Group);
    PaintCardBody(p);
    PaintPanel(p, panel);
    PaintWatermark(p, card.Group);
    PaintShine(p);

    const qreal size = IsNumberCard(card) ? 46 : 44;
    const QRectF centre(kW / 2 - size / 2, kH / 2 - size / 2, size, size);
    PaintDrawing(p, CentreMark(card), centre, panel, IsNumberCard(card) ? 2.6 : 2.0, true);

    PaintCorner(p, card, panel);
    p.save();
    p.translate(kW, kH);
    p.rotate(180);
    PaintCorner(p, card, panel);
    p.restore();
}

}  // namespace kvt::cardart
