#include <iostream>
#include <string>

#include "tools/soak/extreme_sets.h"

// kvt-soak-sets: writes the card sets of extreme shape that the soak plays.
int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--big") {
        if (kvt::Status s = kvt::soak::WriteBigSets(argv[3], std::stoi(argv[2])); !s) {
            std::cerr << "kvt-soak-sets: " << s.message() << "\n";
            return 1;
        }
        return 0;
    }
    if (argc != 2 || std::string(argv[1]).starts_with("-")) {
        std::cerr << "Usage: kvt-soak-sets FOLDER\n"
                     "Writes one-group, actions-only, deck-401, deck-29 and all-wild .cds files into FOLDER.\n"
                     "       kvt-soak-sets --big MEGABYTES FOLDER\n"
                     "Writes big-a.cds and big-b.cds with bitmaps of about MEGABYTES MB into FOLDER.\n";
        return 2;
    }
    if (kvt::Status s = kvt::soak::WriteExtremeSets(argv[1]); !s) {
        std::cerr << "kvt-soak-sets: " << s.message() << "\n";
        return 1;
    }
    for (const kvt::soak::ExtremeSet& set : kvt::soak::ExtremeSets())
        std::cout << set.Name << "\t" << set.What << "\n";
    return 0;
}
