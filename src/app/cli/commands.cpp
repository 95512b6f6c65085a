#include "cli/commands.h"

#include <array>

namespace cw::cli {

// Each command lives in its own file and adds one line here.
std::span<const Command> allCommands() {
    static const std::array<Command, 0> commands = {};
    return commands;
}

}  // namespace cw::cli
