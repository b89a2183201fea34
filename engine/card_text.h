#pragma once

#include <string>

#include "core/card.h"

namespace kvt {

// Short names of the action codes ("pass-left", "discard", ...); other codes as numbers.
std::string ActionName(int action);

// A one-word picture of a card for text output: "3:7", "2:skip", "wild:draw-deck4".
std::string ShortCardText(const Card& card);

}  // namespace kvt
