#pragma once

#include <filesystem>

namespace kvt {

// What a file named on kvt's command line is. The file manager hands over
// card sets and player files alike.
enum class CommandLineFile { kCardSet, kPlayer };

// A .dpf is a player and a .cds a card set. Another name is judged by its
// content: a player file the card-set reader refuses is a player; anything
// else goes to the card-set loader, which says what is wrong with it.
CommandLineFile KindOfCommandLineFile(const std::filesystem::path& path);

}  // namespace kvt
