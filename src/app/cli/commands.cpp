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
        Command{.name = "info",
                .summary = "Show the version word, the game kind and the count of every list of a level file.",
                .usage = "info LEVEL [--json]",
                .run = runInfoCommand},
        Command{.name = "convert",
                .summary = "Read a level file and write it unchanged to OUT, in the layout OUT's name calls for "
                           "(\".tub\": Tomb Raider 1 Gold).",
                .usage = "convert IN OUT",
                .run = runConvertCommand},
        Command{.name = "build", .summary = kBuildSummary, .usage = kBuildUsage, .run = runBuild},
        Command{.name = "check", .summary = kCheckSummary, .usage = kCheckUsage, .run = runCheck},
    };
    return commands;
}

}  // namespace cw::cli
