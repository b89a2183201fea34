#pragma once

#include <string>
#include <vector>

#include "tools/kvx/command.h"

namespace kvt::kvx {

// "kvx NAME OPERANDS" for one command.
std::string CommandUsage(const Command& command);

// The full `kvx --help` text: every command in the table, then the manifest format.
std::string HelpText(const std::vector<Command>& table);

}  // namespace kvt::kvx
