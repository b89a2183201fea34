#pragma once

#include <string>
#include <vector>

#include "tools/kvx/command.h"

namespace kvt::kvx {

// unpack-player and pack-player, and player files for info and check: the
// entries already in the table keep card sets, a .dpf (or, with another
// extension, a file tagged "KVTP") goes to the player commands.
void AddPlayerCommands(std::vector<Command>& table);

// The player manifest's part of `kvx --help`.
std::string PlayerManifestHelp();

}  // namespace kvt::kvx
