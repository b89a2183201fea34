#pragma once

class QImage;

namespace kvt::cardart {

// Fills the whole face rectangle of `face` (kFaceWidth x kFaceHeight) with
// felt. The table tiles the 69x94 block starting one pixel in from the top
// left, so the texture repeats exactly on that period.
void PaintFeltTile(QImage& face);

}  // namespace kvt::cardart
