#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#include "engine/game.h"
#include "shell/console_table.h"
#include "shell/startup.h"

namespace {

void PrintUsage() {
    std::cout << "Usage: kvt [CARDSET.cds]\n"
                 "Deals a game of the card set in force (or of CARDSET.cds, which then stays in\n"
                 "force) and shows the table.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::filesystem::path> card_set;
    if (argc > 1) {
        if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
            PrintUsage();
            return 0;
        }
        if (std::strcmp(argv[1], "--version") == 0) {
            std::cout << "kvt 0.1.0\n";
            return 0;
        }
        card_set = argv[1];
    }
    kvt::TableView view;
    auto game = std::make_unique<kvt::Game>(kvt::DefaultFolders(), view);
    kvt::LoadOptions(*game);
    kvt::Status started = kvt::StartTable(*game, card_set);
    if (!started) std::cerr << "kvt: " << started.message() << "\n";
    if (game->DrawDeck.Empty()) return 1;
    game->DealForPlayers();
    std::cout << kvt::DescribeTable(*game);
    return 0;
}
