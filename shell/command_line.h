#pragma once

#include <filesystem>

namespace kvt {

// What a file named on kvt's command line is. The file manager hands over
// card sets, player files and shared deals alike.
enum class CommandLineFile { kCardSet, kPlayer, kDeal, kGameRecord };

// A .dpf is a player, a .cds a card set, a .kvtdeal a shared deal and a
// .kvtgame a game record. Another name is judged by its content: a shared
// deal and a game record start with their own headings, and a player file the card-set reader refuses is a player;
// anything else goes to the card-set loader, which says what is wrong with it.
CommandLineFile KindOfCommandLineFile(const std::filesystem::path& path);

}  // namespace kvt
