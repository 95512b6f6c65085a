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
        Command{.name = "build",
                .summary = kBuildSummary,
                .usage = kBuildUsage,
                .options = kBuildOptions,
                .run = runBuild},
        Command{.name = "check",
                .summary = kCheckSummary,
                .usage = kCheckUsage,
                .options = kCheckOptions,
                .run = runCheck},
    };
    return commands;
}

}  // namespace cw::cli
