#include "platform/banded_paint.h"

#include <algorithm>

namespace kvt {

void PaintInBands(QPainter& painter, const QRect& area, const std::function<void()>& draw) {
    // Bands are cut in device rows; under a scale their edges would fall
    // between rows, so a scaled painter draws in one go.
    if (painter.deviceTransform().type() > QTransform::TxTranslate || area.height() <= kPaintBandRows) {
        draw();
        return;
    }
    for (int top = area.top(); top <= area.bottom(); top += kPaintBandRows) {
        painter.save();
        painter.setClipRect(QRect(area.left(), top, area.width(), std::min(kPaintBandRows, area.bottom() + 1 - top)),
                            painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        draw();
        painter.restore();
    }
}

}  // namespace kvt
