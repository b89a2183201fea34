#pragma once

#include <vector>

#include "tools/kvx/command.h"

namespace kvt::kvx {

// unpack-cards, pack-cards, info and check: the card-set (.cds) commands.
void AddCardCommands(std::vector<Command>& table);

}  // namespace kvt::kvx
