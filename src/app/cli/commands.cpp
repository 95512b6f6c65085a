#include "cli/commands.h"

#include "cli/project_command.h"

namespace cw::cli {

// Each command lives in its own file and adds one line here.
std::span<const Command> allCommands() {
    static const Command commands[] = {
        kProjectCommand,
    };
    return commands;
}

}  // namespace cw::cli
