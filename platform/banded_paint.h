#pragma once

#include <QPainter>
#include <QRect>
#include <functional>

namespace kvt {

// Qt's raster engine hands a fill that spans more than 95 rows to its GUI
// thread pool, in parts, and waits for them. With two cores, and on a busy
// machine above all, the hand-over costs more than the drawing: a resized
// table at full-screen size made some hundred of them per paint. Clipped to
// bands of fewer rows, each fill stays on the painting thread.
inline constexpr int kPaintBandRows = 64;

// Calls `draw` once per band of `area` (widget pixels), the painter clipped
// to the band within its present clip. While the painter does more than
// move (a scale for a high pixel ratio), `draw` runs once, unclipped.
void PaintInBands(QPainter& painter, const QRect& area, const std::function<void()>& draw);

}  // namespace kvt
