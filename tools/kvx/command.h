#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/status.h"

namespace kvt::kvx {

// Arguments after the command name, split into operands and options.
struct CommandArgs {
    std::vector<std::string> operands;
    std::vector<std::string> options;

    bool Has(std::string_view option) const;
};

// A kvx command. Its action prints results to `out`; a failed Status is
// reported by the dispatcher as "kvx: <message>" with exit code 1.
struct Command {
    std::string_view name;
    std::string_view operands_synopsis;  // e.g. "[--force] FILE.cds DIR"
    std::string_view summary;            // one line for the help text
    std::size_t operand_count = 0;
    std::vector<std::string_view> options;
    Status (*run)(const CommandArgs& args, std::ostream& out) = nullptr;
};

// Sorts raw arguments into operands and the command's options; "--" ends the
// options. Fails (a usage error) on an unknown option or a wrong operand count.
Status ParseCommandArgs(const Command& command, const std::vector<std::string>& raw,
                        CommandArgs& out);

}  // namespace kvt::kvx
