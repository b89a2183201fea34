#pragma once

#include <filesystem>

namespace kvt {

// What a file named on kvt's command line is. The file manager hands over
// card sets, player files and shared deals alike.
enum class CommandLineFile { kCardSet, kPlayer, kDeal };

// A .dpf is a player, a .cds a card set and a .kvtdeal a shared deal.
// Another name is judged by its content: a shared deal starts with its own
// heading, and a player file the card-set reader refuses is a player;
// anything else goes to the card-set loader, which says what is wrong with it.
CommandLineFile KindOfCommandLineFile(const std::filesystem::path& path);

}  // namespace kvt
