#pragma once

#include <string>

#include "engine/player_file.h"

namespace kvt::kvx {

// A readable account of a player file for `kvx info`: name, tag, the traits,
// sound chance, picture size and every clip with its slot and size.
std::string SummarizePlayer(const PlayerFileContents& file);

}  // namespace kvt::kvx
