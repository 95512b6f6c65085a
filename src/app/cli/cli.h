#pragma once
// cairnwork-cli: headless commands for builds, conversion and inspection.
// runCli is the whole program minus main(), so the tests drive it with captured streams.
#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // the input was refused or could not be read/written
inline constexpr int kExitUsage = 2;    // the command line was wrong

// args excludes the program name.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// One subcommand: its name, a one-line summary and usage text for --help, and its runner
// (args excludes the command name).
struct Command {
    const char* name;
    const char* summary;
    const char* usage;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

}  // namespace cw::cli
