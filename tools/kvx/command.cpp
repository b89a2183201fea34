#include "tools/kvx/command.h"

#include <algorithm>

namespace kvt::kvx {

bool CommandArgs::Has(std::string_view option) const {
    return std::find(options.begin(), options.end(), option) != options.end();
}

Status ParseCommandArgs(const Command& command, const std::vector<std::string>& raw,
                        CommandArgs& out) {
    CommandArgs args;
    bool options_ended = false;
    for (const std::string& arg : raw) {
        if (!options_ended && arg == "--") {
            options_ended = true;
        } else if (!options_ended && arg.size() > 1 && arg.front() == '-') {
            if (std::find(command.options.begin(), command.options.end(), arg) == command.options.end())
                return Status::Fail(std::string(command.name) + " has no option " + arg);
            args.options.push_back(arg);
        } else {
            args.operands.push_back(arg);
        }
    }
    if (args.operands.size() != command.operand_count)
        return Status::Fail(std::string(command.name) + " takes " +
                            std::to_string(command.operand_count) +
                            (command.operand_count == 1 ? " argument, " : " arguments, ") +
                            std::to_string(args.operands.size()) + " given");
    out = std::move(args);
    return Status::Ok();
}

}  // namespace kvt::kvx
