#pragma once

#include <QColor>
#include <QFont>

namespace kvt::cardart {

// The bitmap background around the faces. It also shows outside the rounded
// corners, so it is a dark felt green that disappears on the table.
QColor MarginColor();

// The colour a group is printed in. Group 0 (wild) gets the dark wild panel;
// groups past the fourth reuse the palette with a shifted hue.
QColor GroupColor(int group);

// The one typeface on the cards: DejaVu Sans Bold at a pixel size.
QFont CardFont(qreal pixel_size);

}  // namespace kvt::cardart
