#pragma once

class QPainter;

namespace kvt::portraits {

struct PortraitDescription;

// Shoulders and chest in the clothing colour (and a hood behind the neck).
void PaintBody(QPainter& p, const PortraitDescription& d);

// The neck and, over it, the neckline of the top: round, V, shirt collar,
// cardigan, hoodie strings or a turtleneck.
void PaintNeckAndCollar(QPainter& p, const PortraitDescription& d);

}  // namespace kvt::portraits
