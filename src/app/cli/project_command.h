#pragma once
// cairnwork-cli project FILE.cwp [--json] [--save OUT.cwp]
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace cw::cli {

int runProjectCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

inline constexpr Command kProjectCommand = {
    .name = "project",
    .summary = "Show a project file (any version) as a summary or JSON; --save writes it as version 3.",
    .usage = "project FILE.cwp [--json] [--save OUT.cwp]",
    .options = "--json          print one JSON object instead of the summary (texts in UTF-8)\n"
               "--save OUT.cwp  also write the project to OUT.cwp as a version-3 file, which upgrades older files",
    .run = runProjectCommand,
};

}  // namespace cw::cli
