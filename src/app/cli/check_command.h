#pragma once
// cairnwork-cli check PROJECT.cwp [--json]
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

extern const char* const kCheckUsage;
extern const char* const kCheckSummary;
extern const char* const kCheckOptions;

// The check command with the folder where "floor.dat" is looked up (the program's folder).
// args excludes the command name. Lists every fault for which the build would refuse the project
// (exit 1; 0 when there is none) and the warnings of a level that would be built all the same.
// Reads no base level and no side file, and writes nothing.
int runCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const std::filesystem::path& programFolder);

// The command table's entry: runCheckCommand with the executable's folder.
int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cw::cli
