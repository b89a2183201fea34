#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "engine/game.h"
#include "shell/console_table.h"
#include "shell/startup.h"

// Headless dealer: deals seeded games of the card set in force at full speed.
int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    long games = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << "Usage: kvt-sim [--seed N] [--games N]\n"
                         "Deals N seeded games of the card set in force and prints the last one.\n";
            return 0;
        }
        if (arg == "--version") {
            std::cout << "kvt-sim 0.1.0\n";
            return 0;
        }
        if ((arg == "--seed" || arg == "--games") && i + 1 < argc) {
            const unsigned long long value = std::strtoull(argv[++i], nullptr, 10);
            if (arg == "--seed") seed = value;
            else games = static_cast<long>(value);
            continue;
        }
        std::cerr << "kvt-sim: unknown argument \"" << arg << "\" (try --help)\n";
        return 2;
    }
    kvt::TableView view;
    auto game = std::make_unique<kvt::Game>(kvt::DefaultFolders(), view, seed);
    if (kvt::Status s = kvt::StartTable(*game, std::nullopt); !s) {
        std::cerr << "kvt-sim: " << s.message() << "\n";
        return 1;
    }
    for (long g = 0; g < games; ++g) game->NewGame();
    std::cout << kvt::DescribeTable(*game);
    return 0;
}
