#pragma once

#include <string>

#include "engine/game.h"

namespace kvt {

// The dealt table as text: title, author, the four hands, the pile and the deck.
std::string DescribeTable(const Game& game);

}  // namespace kvt
