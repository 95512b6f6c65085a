#include "cli/commands.h"

#include "cli/build_command.h"
#include "cli/check_command.h"
#include "cli/level_commands.h"
#include "cli/project_command.h"

namespace cw::cli {

// Each command lives in its own file and adds one line here.
std::span<const Command> allCommands() {
    static const Command commands[] = {
        kProjectCommand,
        kInfoCommand,
        kConvertCommand,
        Command{"build", kBuildSummary, kBuildUsage, kBuildOptions, runBuild},
        Command{"check", kCheckSummary, kCheckUsage, kCheckOptions, runCheck},
    };
    return commands;
}

}  // namespace cw::cli
