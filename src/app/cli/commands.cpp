#include "cli/commands.h"

#include "cli/build_command.h"

#include <array>

namespace cw::cli {

// Each command lives in its own file and adds one line here.
std::span<const Command> allCommands() {
    static const std::array commands = {
        Command{"build", kBuildSummary, kBuildUsage, runBuild},
    };
    return commands;
}

}  // namespace cw::cli
