#pragma once

#include <QImage>

namespace kvt::portraits {

struct PortraitDescription;

// Paints the character as a head-and-shoulders portrait, `size` pixels square
// (the shipped player pictures are 120). The image is opaque RGB.
QImage PaintPortrait(const PortraitDescription& d, int size = 120);

}  // namespace kvt::portraits
