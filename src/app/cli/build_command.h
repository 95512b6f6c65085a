#pragma once
// cairnwork-cli build PROJECT.cwp [--base PATH] [--items PATH] [--meshes PATH] [--out PATH]
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

extern const char* const kBuildUsage;
extern const char* const kBuildSummary;
extern const char* const kBuildOptions;

// The build command with the folder where "floor.dat" is looked up (the program's folder).
// args excludes the command name. Never writes the project file.
int runBuildCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const std::filesystem::path& programFolder);

// The command table's entry: runBuildCommand with the executable's folder.
int runBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The folder of the running executable (where "floor.dat" lies), or the working folder.
std::filesystem::path executableFolder();

// True when a level file name ends in ".phd", ".tub" or ".tr2", in any case.
bool hasLevelExtension(const std::string& name);

}  // namespace cw::cli
