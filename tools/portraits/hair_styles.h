#pragma once

class QPainter;

namespace kvt::portraits {

struct PortraitDescription;

// Hair behind the shoulders (the mass of long hair). Painted first of all,
// right after the background.
void PaintHairBehind(QPainter& p, const PortraitDescription& d);

// Hair behind the head (locks of long hair, buns, an afro's volume).
// Painted after the clothes and before the neck, ears and head.
void PaintHairBack(QPainter& p, const PortraitDescription& d);

// Hair over the top of the head: the cap, fringe and parting.
void PaintHairFront(QPainter& p, const PortraitDescription& d);

}  // namespace kvt::portraits
