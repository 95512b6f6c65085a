#pragma once
// cairnwork-cli commands on level files: info (the counts of every list) and convert (read a
// level and write it again, in the layout the output name calls for).
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace cw::cli {

// info LEVEL [--json]
int runInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// convert IN OUT
int runConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

inline constexpr Command kInfoCommand = {
    .name = "info",
    .summary = "Show the version word, the game kind and the count of every list of a level file.",
    .usage = "info LEVEL [--json]",
    .options = "--json  print one JSON object instead of the text",
    .run = runInfoCommand,
};

inline constexpr Command kConvertCommand = {
    .name = "convert",
    .summary = "Read a level file and write it unchanged to OUT, in the layout OUT's name calls for "
               "(\".tub\": Tomb Raider 1 Gold).",
    .usage = "convert IN OUT",
    .options = "",
    .run = runConvertCommand,
};

}  // namespace cw::cli
