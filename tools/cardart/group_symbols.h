#pragma once

#include <QPainterPath>

namespace kvt::cardart {

// The symbol printed with a group's colour, so the colour is never the only
// cue: flame, sun, leaf, crescent moon (then again for further groups).
// Drawn in a 100x100 design box; group 0 has no symbol. The plain version
// drops the inner cut-outs that would blur at corner-index size.
QPainterPath GroupSymbol(int group, bool detailed = true);

}  // namespace kvt::cardart
