#pragma once

#include <QColor>
#include <QRectF>

#include "core/card.h"
#include "tools/cardart/pictograms.h"

class QPainter;

namespace kvt::cardart {

// Paints the face of `card` into the face rectangle at the painter's origin
// (kFaceWidth x kFaceHeight); the corners outside the rounded card are left alone.
void PaintFace(QPainter& painter, const Card& card);

// The white card with its thin edge, shared by the faces and the back.
void PaintCardBody(QPainter& painter);
// The coloured area inside the white border.
QRectF PanelRect();
inline constexpr qreal kPanelRadius = 4.5;

// Paints a design-box drawing into `target` on a panel of colour `panel`.
void PaintDrawing(QPainter& painter, const Drawing& drawing, const QRectF& target, QColor panel,
                  qreal outline_width, bool shadow);

}  // namespace kvt::cardart
