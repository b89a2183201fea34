// kvx: the KVT card-set designer and command-line tool. Without a command, or
// with only a card set, it opens the designer window; the commands need no display.

#include <iostream>
#include <string>
#include <vector>

#include "formats/text_fields.h"
#include "tools/kvx/cards_commands.h"
#include "tools/kvx/command.h"
#include "tools/kvx/designer/designer_main.h"
#include "tools/kvx/help_text.h"
#include "tools/kvx/player_commands.h"

namespace {

constexpr const char* kVersion = "0.1.0";
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Every command group adds its commands here.
std::vector<kvt::kvx::Command> CommandTable() {
    std::vector<kvt::kvx::Command> table;
    kvt::kvx::AddCardCommands(table);
    kvt::kvx::AddPlayerCommands(table);  // after the card commands: shares info and check
    return table;
}

int UsageError(const std::string& message) {
    std::cerr << "kvx: " << kvt::text_fields::ForTerminal(message) << "\n(kvx --help lists the commands)\n";
    return kExitUsage;
}

int RunCommand(const kvt::kvx::Command& command, const std::vector<std::string>& raw) {
    if (raw.size() == 1 && (raw[0] == "--help" || raw[0] == "-h")) {
        std::cout << "usage: " << kvt::kvx::CommandUsage(command) << "\n  " << command.summary
                  << "\n";
        return 0;
    }
    kvt::kvx::CommandArgs args;
    if (kvt::Status s = kvt::kvx::ParseCommandArgs(command, raw, args); !s)
        return UsageError(s.message() + "\nusage: " + kvt::kvx::CommandUsage(command));
    if (kvt::Status s = command.run(args, std::cout); !s) {
        std::cout.flush();
        std::cerr << "kvx: " << kvt::text_fields::ForTerminal(s.message()) << "\n";
        return kExitFailure;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::vector<kvt::kvx::Command> table = CommandTable();
    if (args.empty()) return kvt::kvx::RunDesigner(argc, argv, std::nullopt);
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        std::cout << kvt::kvx::HelpText(table) << "\n" << kvt::kvx::PlayerManifestHelp();
        return 0;
    }
    if (name == "--version") {
        std::cout << "kvx " << kVersion << "\n";
        return 0;
    }
    for (const kvt::kvx::Command& command : table)
        if (command.name == name)
            return RunCommand(command, std::vector<std::string>(args.begin() + 1, args.end()));
    if (args.size() == 1 && kvt::kvx::IsDesignerArgument(name)) return kvt::kvx::RunDesigner(argc, argv, name);
    return UsageError("unknown command \"" + name + "\"");
}
