#pragma once

#include <filesystem>
#include <optional>

#include "engine/game.h"

namespace kvt {

// Reads the options of the last run from the settings into the game.
void LoadOptions(Game& game);

// Brings the table up: a card set named on the command line is loaded first
// and remembered; then the card set in force comes back from the working
// files (or the shipped default) and the card back is found.
Status StartTable(Game& game, const std::optional<std::filesystem::path>& command_line_card_set);

}  // namespace kvt
