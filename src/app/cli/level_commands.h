#pragma once
// cairnwork-cli commands on level files: info (the counts of every list) and convert (read a
// level and write it again, in the layout the output name calls for).
#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// info LEVEL [--json]
int runInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// convert IN OUT
int runConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cw::cli
