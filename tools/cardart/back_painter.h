#pragma once

class QPainter;

namespace kvt::cardart {

// The card back: a four-coloured compass rose on an indigo lattice, with the
// KVT monogram at its heart. Painted at the painter's origin like a face.
void PaintCardBack(QPainter& painter);

}  // namespace kvt::cardart
