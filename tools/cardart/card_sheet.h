#pragma once

#include <QImage>

#include "engine/card_set.h"

namespace kvt::cardart {

// Whether a definition needs a picture in the card bitmap.
bool IsPictured(const Card& def);

// The card bitmap for a set: every pictured definition painted into its
// cell, the rest of the sheet the margin colour. The sheet is just large
// enough for the highest row and column used.
QImage PaintCardSheet(const CardSetDef& set);

}  // namespace kvt::cardart
