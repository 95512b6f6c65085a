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
    "info",
    "Show the version word, the game kind and the count of every list of a level file.",
    "info LEVEL [--json]",
    "--json  print one JSON object instead of the text",
    runInfoCommand,
};

inline constexpr Command kConvertCommand = {
    "convert",
    "Read a level file and write it unchanged to OUT, in the layout OUT's name calls for "
    "(\".tub\": Tomb Raider 1 Gold).",
    "convert IN OUT",
    "",
    runConvertCommand,
};

}  // namespace cw::cli
