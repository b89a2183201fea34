#include "tools/cardart/card_sheet.h"

#include <QPainter>
#include <algorithm>

#include "tools/cardart/back_painter.h"
#include "tools/cardart/felt_tile.h"
#include "tools/cardart/card_style.h"
#include "tools/cardart/face_painter.h"

namespace kvt::cardart {
namespace {

QImage PaintCell(const Card& def) {
    QImage face(kFaceWidth, kFaceHeight, QImage::Format_ARGB32_Premultiplied);
    face.fill(MarginColor());
    if (def.Action == kActionBackgroundCell) {
        PaintFeltTile(face);
        return face;
    }
    QPainter p(&face);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    if (def.Action == kActionCardBack)
        PaintCardBack(p);
    else
        PaintFace(p, def);
    return face;
}

}  // namespace

bool IsPictured(const Card& def) {
    return IsDealt(def) || def.Action == kActionCardBack || def.Action == kActionBackgroundCell;
}

QImage PaintCardSheet(const CardSetDef& set) {
    int rows = 1;
    int cols = 1;
    for (const Card& def : set.CardDefs)
        if (IsPictured(def)) {
            rows = std::max(rows, def.PicRow + 1);
            cols = std::max(cols, def.PicCol + 1);
        }
    QImage sheet(cols * kCellPitchX, rows * kCellPitchY, QImage::Format_RGB32);
    sheet.fill(MarginColor());
    QPainter p(&sheet);
    for (const Card& def : set.CardDefs) {
        if (!IsPictured(def)) continue;
        const FaceRect r = FaceRectOf(def);
        p.drawImage(r.x, r.y, PaintCell(def));
    }
    return sheet;
}

}  // namespace kvt::cardart
